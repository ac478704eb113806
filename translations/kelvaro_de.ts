<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n Ordner</numerusform>
            <numerusform>%n Ordnern</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n Foto in %1, aufgenommen zwischen
%2 und
%3,
wird geändert.

Möchten Sie fortfahren?</numerusform>
            <numerusform>%n Fotos in %1, aufgenommen zwischen
%2 und
%3,
werden geändert.

Möchten Sie fortfahren?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n Foto in %1, aufgenommen zwischen
%2 und
%3,
wurde geändert.</numerusform>
            <numerusform>%n Fotos in %1, aufgenommen zwischen
%2 und
%3,
wurden geändert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Geändert: %1, nicht geändert: %2.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   von den Kelvaro-Entwicklern</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Den obersten Ordner der JPEG-Fotos wählen, deren Aufnahmezeit verschoben werden soll</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Obersten Ordner wählen …</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Oberster Ordner</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Anzahl der Fotos</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Bisheriges Datum des ältesten Fotos</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Neues Datum des ältesten Fotos</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Das Datum und die Uhrzeit eingeben, zu denen das älteste Foto wirklich aufgenommen wurde</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Alle EXIF-Aufnahmezeiten verschieben</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Wenn gesetzt, folgen auch die Änderungszeiten der Dateien dem neuen Aufnahmedatum (empfohlen)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Auch die Dateizeiten anpassen</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Nach dem Foto anhalten, das gerade bearbeitet wird: Jedes Foto ist danach entweder ganz verschoben oder unverändert</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Jahr-Monat-Tag und Stunden:Minuten:Sekunden</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Obersten Ordner wählen</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Bitte warten …</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (%2 mit Datum)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>Keine JPEG-Fotos mit Datum gefunden</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
</context>
</TS>
