<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n cartella</numerusform>
            <numerusform>%n cartelle</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto in %1, datata dal
%2 al
%3,
verrà modificata.

Vuoi procedere?</numerusform>
            <numerusform>%n foto in %1, datate dal
%2 al
%3,
verranno modificate.

Vuoi procedere?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto in %1, datata dal
%2 al
%3,
è stata modificata.</numerusform>
            <numerusform>%n foto in %1, datate dal
%2 al
%3,
sono state modificate.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Annullato.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Modificate: %1, non modificate: %2.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   dagli sviluppatori di Kelvaro</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Scegli la cartella principale delle foto JPEG da correggere</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Scegli cartella principale…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Cartella principale</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Avanzamento</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Numero di foto</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Data attuale della foto più vecchia</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Nuova data della foto più vecchia</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Inserisci la data e l&apos;ora reali di scatto della foto più vecchia</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Sposta tutte le date EXIF</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Se selezionata, anche la data di modifica dei file segue la nuova data EXIF (consigliato)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Aggiorna anche la data dei file</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Ferma dopo la foto in corso: ogni foto resta o del tutto spostata o com&apos;era</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Anno-mese-giorno e ore:minuti:secondi</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Scegli la cartella principale</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Attendere…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (%2 con data)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>Nessuna foto JPEG con data trovata</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
</context>
</TS>
