<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n map</numerusform>
            <numerusform>%n mappen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto in %1, gedateerd van
%2 tot
%3,
wordt aangepast.

Wilt u doorgaan?</numerusform>
            <numerusform>%n foto&apos;s in %1, gedateerd van
%2 tot
%3,
worden aangepast.

Wilt u doorgaan?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto in %1, gedateerd van
%2 tot
%3,
is aangepast.</numerusform>
            <numerusform>%n foto&apos;s in %1, gedateerd van
%2 tot
%3,
zijn aangepast.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Geannuleerd.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Aangepast: %1, niet aangepast: %2.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   door de Kelvaro-ontwikkelaars</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Kies de hoofdmap met de JPEG-foto&apos;s die u wilt verschuiven</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Hoofdmap kiezen…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Hoofdmap</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Voortgang</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Aantal foto&apos;s</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Huidige datum van de oudste foto</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Nieuwe datum van de oudste foto</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Voer de werkelijke datum en tijd in waarop de oudste foto is gemaakt</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Alle EXIF-tijden verschuiven</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Indien aangevinkt, volgt ook de wijzigingsdatum van de bestanden de nieuwe EXIF-datum (aanbevolen)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Ook de bestandsdatums aanpassen</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Stoppen na de foto die nu wordt bewerkt: elke foto is daarna ofwel helemaal verschoven ofwel ongewijzigd</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Jaar-maand-dag en uren:minuten:seconden</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Hoofdmap kiezen</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Even geduld…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (%2 met datum)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>Geen JPEG-foto&apos;s met datum gevonden</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
</context>
</TS>
