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
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Eine Verschiebung um %1 Sekunden brächte %2 aus den Jahren 1000 bis 9999 heraus; es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Eine Verschiebung um %1 Sekunden brächte %2 über %3 hinaus, die Grenze der Zeiten, die seine Datei fassen kann; es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: Diesen Ordner gibt es nicht; es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>Für %1 läuft bereits eine Verschiebung, Rücknahme oder Fortsetzung; es wurde nichts geändert.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n Foto %4 in %1, aufgenommen zwischen
%2 und
%3,
wird geändert.

Möchten Sie fortfahren?</numerusform>
            <numerusform>%n Fotos %4 in %1, aufgenommen zwischen
%2 und
%3,
werden geändert.

Möchten Sie fortfahren?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n Foto %4 in %1, aufgenommen zwischen
%2 und
%3,
wurde geändert.</numerusform>
            <numerusform>%n Fotos %4 in %1, aufgenommen zwischen
%2 und
%3,
wurden geändert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Alle Aufnahmezeiten verschieben sich um %1 (neu: %2 bis %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Nicht angetastet (ohne brauchbares Datum oder schreibgeschützt): %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Nicht angetastet (ohne brauchbares Datum, nicht gewählt oder schreibgeschützt): %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>Nicht lesbar: %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Alle Aufnahmezeiten wurden um %1 verschoben (jetzt %2 bis %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Abgebrochen nach %1 von %2 Fotos.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>Änderung fehlgeschlagen bei %1 von %2 Fotos mit brauchbarem Datum.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Geändert: %1, nicht geändert: %2, nicht lesbar: %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>Die geänderten Fotos wurden um %1 verschoben.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>Das neue Datum entspricht dem bisherigen: Es gibt nichts zu ändern.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>Das Protokoll ist beschädigt: %n Zeile darin ist nicht verlässlich; das Foto, das sie nennt, wird nicht angetastet.</numerusform>
            <numerusform>Das Protokoll ist beschädigt: %n Zeilen darin sind nicht verlässlich; die Fotos, die sie nennen, werden nicht angetastet.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>Das Protokoll ist unvollständig: Es bricht mitten in einer Zeile ab, und Fotos, die es nicht nennt, wurden möglicherweise geändert.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>Das Protokoll ist unvollständig: Es endet vor seiner Schlusszeile.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>RAW-Dateien unter den zu ändernden Fotos: %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Nicht angetastet, Format nicht unterstützt: %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>RAW-Dateien unter den geänderten Fotos: %1.</translation>
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
    <message>
        <source>Undo last shift</source>
        <translation>Letzte Verschiebung rückgängig machen</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>Die Fotos der letzten Verschiebung auf ihre früheren Aufnahme- und Dateizeiten zurücksetzen</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>Die Fotos werden gerade geändert.

Nach dem aktuellen Foto anhalten? Sie sehen dann, was geändert wurde, und können es rückgängig machen.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Seit dem Einlesen hinzugekommen, nicht angetastet: %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

Dateizeiten konnten nicht gesetzt werden: %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Jedes Foto, das diese Verschiebung geändert hat, auf seine früheren Aufnahme- und Dateizeiten zurücksetzen</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>Die Verschiebung in %1 wurde rückgängig gemacht.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>Die Verschiebung in %1 wurde zu Ende geführt.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Zurückgesetzt: %1, schon wie vorher: %2, nicht geändert: %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Fertig verschoben: %1, schon verschoben: %2, nicht geändert: %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>Die letzte Verschiebung in %1 wurde nach %2 von %3 Fotos unterbrochen.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Führen Sie sie zu Ende, um die übrigen Fotos zu verschieben, oder machen Sie sie rückgängig, um die schon verschobenen zurückzusetzen.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Zu Ende führen</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Rückgängig machen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>Alle Fotos der letzten Verschiebung in %1 auf ihre früheren Aufnahme- und Dateizeiten zurücksetzen?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

%1 Verknüpfungen führen aus dem Ordner hinaus; ihnen wird nicht gefolgt.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>Das Protokoll %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Alle Kameras (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

Ebenfalls verschoben: %1 XMP-Datumsangaben, %2 IPTC-Datumsangaben, %3 Sidecar-Dateien.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Nicht angetastet, weil ihre Protokollzeilen beschädigt sind: %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (%2 mit Datum, %3 Format nicht unterstützt)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Kameras</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Ältestes Foto zeigen</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>Das älteste Foto im Bildbetrachter des Desktops öffnen</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>%1 im Bildbetrachter des Desktops öffnen</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>Das älteste Foto: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>Das Foto %1 konnte nicht gezeigt werden.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Weitere Werkzeuge</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>von %1</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>mit Aufnahmezeit von %1 bis %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>mit Aufnahmezeit ab %1</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>mit Aufnahmezeit bis %1</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>vom Typ %1</translation>
    </message>
</context>
</TS>
