<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n folderze</numerusform>
            <numerusform>%n folderach</numerusform>
            <numerusform>%n folderach</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n zdjęcie w %1, z datami od
%2 do
%3,
zostanie zmienione.

Czy kontynuować?</numerusform>
            <numerusform>%n zdjęcia w %1, z datami od
%2 do
%3,
zostaną zmienione.

Czy kontynuować?</numerusform>
            <numerusform>%n zdjęć w %1, z datami od
%2 do
%3,
zostanie zmienionych.

Czy kontynuować?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n zdjęcie w %1, z datami od
%2 do
%3,
zostało zmienione.</numerusform>
            <numerusform>%n zdjęcia w %1, z datami od
%2 do
%3,
zostały zmienione.</numerusform>
            <numerusform>%n zdjęć w %1, z datami od
%2 do
%3,
zostało zmienionych.</numerusform>
        </translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Przesunięcie o %1 s wyprowadziłoby %2 poza lata 1000–9999; niczego nie zmieniono.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Przesunięcie o %1 sekund przeniosłoby %2 poza %3, granicę czasów, które może przechować jego plik; niczego nie zmieniono.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: taki folder nie istnieje; niczego nie zmieniono.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>Trwa już inne przesuwanie, cofanie lub wznawianie dla %1; niczego nie zmieniono.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n zdjęcie %4 w %1, z datami od
%2 do
%3,
zostanie zmienione.

Czy kontynuować?</numerusform>
            <numerusform>%n zdjęcia %4 w %1, z datami od
%2 do
%3,
zostaną zmienione.

Czy kontynuować?</numerusform>
            <numerusform>%n zdjęć %4 w %1, z datami od
%2 do
%3,
zostanie zmienionych.

Czy kontynuować?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n zdjęcie %4 w %1, z datami od
%2 do
%3,
zostało zmienione.</numerusform>
            <numerusform>%n zdjęcia %4 w %1, z datami od
%2 do
%3,
zostały zmienione.</numerusform>
            <numerusform>%n zdjęć %4 w %1, z datami od
%2 do
%3,
zostało zmienionych.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Wszystkie daty wykonania zostaną przesunięte o %1 (nowy zakres: od %2 do %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Pozostawione bez zmian (bez poprawnej daty lub tylko do odczytu): %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Pozostawione bez zmian (bez poprawnej daty, niewybrane lub tylko do odczytu): %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>Nie udało się odczytać: %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Wszystkie daty wykonania zostały przesunięte o %1 (teraz od %2 do %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Przerwano po %1 z %2 zdjęć.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>Nie udało się zmienić %1 z %2 zdjęć z datą.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Zmienione: %1, niezmienione: %2, nieczytelne: %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>Zmienione zdjęcia przesunięto o %1.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>Nowa data jest taka sama jak obecna: nie ma nic do zmiany.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>Dziennik jest uszkodzony: %n wiersz nie jest wiarygodny, a zdjęcie, które wymienia, pozostaje bez zmian.</numerusform>
            <numerusform>Dziennik jest uszkodzony: %n wiersze nie są wiarygodne, a zdjęcia, które wymieniają, pozostają bez zmian.</numerusform>
            <numerusform>Dziennik jest uszkodzony: %n wierszy nie jest wiarygodnych, a zdjęcia, które wymieniają, pozostają bez zmian.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>Dziennik jest niekompletny: urywa się w środku wiersza, a zdjęcia, których nie wymienia, mogły zostać zmienione.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>Dziennik jest niekompletny: kończy się przed wierszem zamykającym.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>Pliki RAW wśród zdjęć do zmiany: %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Pozostawione bez zmian, nieobsługiwany format: %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>Pliki RAW wśród zmienionych zdjęć: %1.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   od twórców Kelvaro</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Wybierz folder główny ze zdjęciami JPEG do przesunięcia</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Wybierz folder główny…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Folder główny</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Postęp</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Liczba zdjęć</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Obecna data najstarszego zdjęcia</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Nowa data najstarszego zdjęcia</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Wpisz rzeczywistą datę i godzinę wykonania najstarszego zdjęcia</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Przesuń wszystkie daty EXIF</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Po zaznaczeniu także data modyfikacji plików przyjmie nową datę EXIF (zalecane)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Dostosuj też daty plików</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Zatrzymaj po bieżącym zdjęciu: każde zdjęcie jest albo w całości przesunięte, albo nietknięte</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Rok-miesiąc-dzień i godziny:minuty:sekundy</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Wybierz folder główny</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Proszę czekać…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (z datą: %2)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>Brak zdjęć JPEG z datą</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
    <message>
        <source>Undo last shift</source>
        <translation>Cofnij ostatnie przesunięcie</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>Przywróć zdjęciom z ostatniego przesunięcia wcześniejsze daty i czasy plików</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>Trwa zmienianie zdjęć.

Zatrzymać po bieżącym zdjęciu? Zobaczysz, co zostało zmienione, i będzie można to cofnąć.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Dodane po odczytaniu dat, pozostawione bez zmian: %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

Nie udało się ustawić czasu plików: %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Cofnij</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Przywróć każdemu zdjęciu zmienionemu przez to przesunięcie wcześniejszą datę i czasy pliku</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>Cofnięto przesunięcie w %1.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>Dokończono przesunięcie w %1.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Przerwano.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Przywrócone: %1, już jak wcześniej: %2, niezmienione: %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Dokończone: %1, już przesunięte: %2, niezmienione: %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>Ostatnie przesunięcie w %1 zatrzymało się po %2 z %3 zdjęć.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Dokończ je, aby przesunąć pozostałe zdjęcia, albo cofnij, aby przywrócić już przesunięte.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Dokończ</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Cofnij</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Później</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>Przywrócić wszystkim zdjęciom z ostatniego przesunięcia w %1 wcześniejsze daty i czasy plików?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

Dowiązania prowadzące poza folder (%1) są pomijane.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>Nie można odczytać dziennika %1.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Aparat:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Aparat</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Wszystkie aparaty (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

Przesunięto też daty XMP: %1, daty IPTC: %2, pliki sidecar: %3.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Pozostawione bez zmian, bo ich wiersze w dzienniku są uszkodzone: %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (z datą: %2, nieobsługiwany format: %3)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Aparaty</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Pokaż najstarsze zdjęcie</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>Otwórz najstarsze zdjęcie w przeglądarce obrazów pulpitu</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>Otwórz %1 w przeglądarce obrazów pulpitu</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>Najstarsze zdjęcie: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>Nie udało się pokazać zdjęcia %1.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Więcej narzędzi</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>z aparatu %1</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>z datą wykonania od %1 do %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>z datą wykonania od %1</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>z datą wykonania do %1</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>w formacie %1</translation>
    </message>
</context>
</TS>
