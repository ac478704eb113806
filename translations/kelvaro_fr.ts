<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n dossier</numerusform>
            <numerusform>%n dossiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n photo dans %1, datée du
%2 au
%3,
va être modifiée.

Voulez-vous continuer ?</numerusform>
            <numerusform>%n photos dans %1, datées du
%2 au
%3,
vont être modifiées.

Voulez-vous continuer ?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n photo dans %1, datée du
%2 au
%3,
a été modifiée.</numerusform>
            <numerusform>%n photos dans %1, datées du
%2 au
%3,
ont été modifiées.</numerusform>
        </translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Un décalage de %1 secondes ferait sortir %2 des années 1000 à 9999 ; rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Un décalage de %1 secondes porterait %2 au-delà de %3, la limite des heures que son fichier peut contenir ; rien n'a été modifié.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1 : ce dossier n&apos;existe pas ; rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>Un autre décalage, rétablissement ou reprise de %1 est en cours ; rien n&apos;a été modifié.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n photo %4 dans %1, datée du
%2 au
%3,
va être modifiée.

Voulez-vous continuer ?</numerusform>
            <numerusform>%n photos %4 dans %1, datées du
%2 au
%3,
vont être modifiées.

Voulez-vous continuer ?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n photo %4 dans %1, datée du
%2 au
%3,
a été modifiée.</numerusform>
            <numerusform>%n photos %4 dans %1, datées du
%2 au
%3,
ont été modifiées.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Toutes les dates de prise de vue seront décalées de %1 (soit du %2 au %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Laissées telles quelles (sans date exploitable ou en lecture seule) : %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Laissées telles quelles (sans date exploitable, non choisies ou en lecture seule) : %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>Illisibles : %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Toutes les dates de prise de vue ont été décalées de %1 (désormais du %2 au %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Annulé après %1 photos sur %2.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>Impossible de modifier %1 des %2 photos datées.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Modifiées : %1, non modifiées : %2, illisibles : %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>Les photos modifiées ont été décalées de %1.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>La nouvelle date est identique à la date actuelle : rien à modifier.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>Le journal est endommagé : %n de ses lignes n&apos;est pas fiable, et la photo qu&apos;elle désigne est laissée telle quelle.</numerusform>
            <numerusform>Le journal est endommagé : %n de ses lignes ne sont pas fiables, et les photos qu&apos;elles désignent sont laissées telles quelles.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>Le journal est incomplet : il s&apos;interrompt au milieu d&apos;une ligne, et des photos qu&apos;il ne mentionne pas ont peut-être été modifiées.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>Le journal est incomplet : il s&apos;arrête avant sa ligne de clôture.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>Fichiers RAW parmi les photos à modifier : %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Laissées telles quelles, format non pris en charge : %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>Fichiers RAW parmi les photos modifiées : %1.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   par les développeurs de Kelvaro</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Choisir le dossier principal des photos JPEG à décaler</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Choisir le dossier principal…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Dossier principal</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Nombre de photos</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Date actuelle de la photo la plus ancienne</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Nouvelle date de la photo la plus ancienne</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Saisir la date et l&apos;heure réelles de prise de vue de la photo la plus ancienne</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Décaler toutes les dates EXIF</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Si la case est cochée, la date de modification des fichiers suit aussi la nouvelle date EXIF (recommandé)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Ajuster aussi la date des fichiers</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Arrêter après la photo en cours : chaque photo est soit entièrement décalée, soit laissée telle quelle</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Année-mois-jour et heures:minutes:secondes</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Choisir le dossier principal</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Veuillez patienter…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (%2 datées)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>Aucune photo JPEG datée trouvée</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
    <message>
        <source>Undo last shift</source>
        <translation>Annuler le dernier décalage</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>Rétablir les dates d&apos;origine des photos du dernier décalage, et celles de leurs fichiers</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>Les photos sont en cours de modification.

Arrêter après la photo en cours ? Vous verrez ce qui a été modifié et pourrez le rétablir.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Ajoutées depuis la lecture des dates, laissées telles quelles : %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

Dates de fichier impossibles à modifier : %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Tout rétablir</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Rétablir la date d&apos;origine de chaque photo modifiée par ce décalage, et celle de son fichier</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>Le décalage de %1 a été annulé.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>Le décalage de %1 a été mené à terme.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Annulé.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Rétablies : %1, déjà comme avant : %2, non modifiées : %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Terminées : %1, déjà décalées : %2, non modifiées : %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>Le dernier décalage de %1 s&apos;est arrêté après %2 photos sur %3.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Terminez-le pour décaler les photos restantes, ou rétablissez celles déjà décalées.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Terminer</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Tout rétablir</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>Rétablir les dates d&apos;origine de toutes les photos du dernier décalage de %1, et celles de leurs fichiers ?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

%1 liens mènent hors du dossier ; ils ne sont pas suivis.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>Impossible de lire le journal %1.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Appareil :</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Appareil</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Tous les appareils (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

Également décalés : %1 dates XMP, %2 dates IPTC, %3 fichiers annexes.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Laissées telles quelles car leurs lignes du journal sont endommagées : %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (%2 datées, %3 au format non pris en charge)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Appareils photo</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Afficher la photo la plus ancienne</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>Ouvrir la photo la plus ancienne dans la visionneuse d&apos;images du bureau</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>Ouvrir %1 dans la visionneuse d&apos;images du bureau</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>La photo la plus ancienne : %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>La photo %1 n&apos;a pas pu être affichée.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Plus d&apos;outils</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>de %1</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>datant du %1 au %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>datant du %1 ou après</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>datant du %1 ou avant</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>de type %1</translation>
    </message>
</context>
</TS>
