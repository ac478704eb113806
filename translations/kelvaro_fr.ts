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
        <source>Cancelled.</source>
        <translation>Annulé.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Modifiées : %1, non modifiées : %2.</translation>
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
</context>
</TS>
