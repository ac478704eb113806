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
        <source>Cancelled.</source>
        <translation>Przerwano.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Zmienione: %1, niezmienione: %2.</translation>
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
</context>
</TS>
