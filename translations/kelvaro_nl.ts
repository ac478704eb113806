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
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Een verschuiving van %1 seconden zou %2 buiten de jaren 1000 tot 9999 brengen; er is niets gewijzigd.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Een verschuiving van %1 seconden zou %2 voorbij %3 brengen, de grens van de tijden die het bestand kan bevatten; er is niets gewijzigd.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: deze map bestaat niet; er is niets gewijzigd.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>Er loopt al een andere verschuiving, ongedaanmaking of hervatting van %1; er is niets gewijzigd.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto %4 in %1, gedateerd van
%2 tot
%3,
wordt aangepast.

Wilt u doorgaan?</numerusform>
            <numerusform>%n foto&apos;s %4 in %1, gedateerd van
%2 tot
%3,
worden aangepast.

Wilt u doorgaan?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto %4 in %1, gedateerd van
%2 tot
%3,
is aangepast.</numerusform>
            <numerusform>%n foto&apos;s %4 in %1, gedateerd van
%2 tot
%3,
zijn aangepast.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Alle opnametijden verschuiven met %1 (nieuw: %2 tot %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Ongemoeid gelaten (geen bruikbare datum of alleen-lezen): %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Ongemoeid gelaten (geen bruikbare datum, niet gekozen of alleen-lezen): %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>Niet leesbaar: %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Alle opnametijden zijn met %1 verschoven (nu %2 tot %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Geannuleerd na %1 van de %2 foto&apos;s.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>Aanpassen mislukt bij %1 van de %2 foto&apos;s met datum.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Aangepast: %1, niet aangepast: %2, niet leesbaar: %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>De aangepaste foto&apos;s zijn met %1 verschoven.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>De nieuwe datum is gelijk aan de huidige: er valt niets aan te passen.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>Het logboek is beschadigd: %n regel is niet betrouwbaar, en de foto die erin staat, wordt ongemoeid gelaten.</numerusform>
            <numerusform>Het logboek is beschadigd: %n regels zijn niet betrouwbaar, en de foto&apos;s die erin staan, worden ongemoeid gelaten.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>Het logboek is onvolledig: het breekt midden in een regel af, en foto&apos;s die er niet in staan, kunnen zijn aangepast.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>Het logboek is onvolledig: het eindigt vóór de afsluitende regel.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>RAW-bestanden onder de aan te passen foto&apos;s: %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Ongemoeid gelaten, indeling niet ondersteund: %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>RAW-bestanden onder de aangepaste foto&apos;s: %1.</translation>
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
    <message>
        <source>Undo last shift</source>
        <translation>Laatste verschuiving ongedaan maken</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>De foto&apos;s van de laatste verschuiving terugzetten naar hun eerdere datums en bestandstijden</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>De foto&apos;s worden nu aangepast.

Stoppen na de huidige foto? U ziet dan wat er is aangepast en kunt het ongedaan maken.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Toegevoegd na het inlezen van de datums, ongemoeid gelaten: %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

Bestandstijden niet ingesteld: %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Ongedaan maken</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Elke foto die deze verschuiving heeft aangepast terugzetten naar zijn eerdere datum en bestandstijden</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>De verschuiving van %1 is ongedaan gemaakt.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>De verschuiving van %1 is voltooid.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Geannuleerd.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Teruggezet: %1, al zoals eerst: %2, niet aangepast: %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Voltooid: %1, al verschoven: %2, niet aangepast: %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>De laatste verschuiving van %1 is gestopt na %2 van de %3 foto&apos;s.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Maak de verschuiving af om de overige foto&apos;s te verschuiven, of maak haar ongedaan om de al verschoven foto&apos;s terug te zetten.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Afmaken</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Ongedaan maken</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>Alle foto&apos;s van de laatste verschuiving van %1 terugzetten naar hun eerdere datum en bestandstijden?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

%1 koppelingen wijzen buiten de map; die worden niet gevolgd.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>Het logboek %1 kan niet worden gelezen.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Camera:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Alle camera&apos;s (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

Ook verschoven: %1 XMP-datums, %2 IPTC-datums, %3 sidecarbestanden.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Ongemoeid gelaten omdat hun regels in het logboek beschadigd zijn: %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (%2 met datum, %3 indeling niet ondersteund)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Camera&apos;s</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Oudste foto tonen</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>De oudste foto openen in de fotoviewer van het bureaublad</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>%1 openen in de fotoviewer van het bureaublad</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>De oudste foto: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>De foto %1 kon niet worden getoond.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Meer hulpmiddelen</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>van %1</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>gemaakt tussen %1 en %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>gemaakt vanaf %1</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>gemaakt tot en met %1</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>van het type %1</translation>
    </message>
</context>
</TS>
