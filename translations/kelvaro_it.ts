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
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Uno spostamento di %1 secondi porterebbe %2 fuori dagli anni 1000–9999; non è stato modificato nulla.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Uno spostamento di %1 secondi porterebbe %2 oltre %3, il limite degli orari che il suo file può contenere; non è stato modificato nulla.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: la cartella non esiste; non è stato modificato nulla.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>È già in corso un altro spostamento, ripristino o ripresa di %1; non è stato modificato nulla.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto %4 in %1, datata dal
%2 al
%3,
verrà modificata.

Vuoi procedere?</numerusform>
            <numerusform>%n foto %4 in %1, datate dal
%2 al
%3,
verranno modificate.

Vuoi procedere?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto %4 in %1, datata dal
%2 al
%3,
è stata modificata.</numerusform>
            <numerusform>%n foto %4 in %1, datate dal
%2 al
%3,
sono state modificate.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Tutte le date di scatto verranno spostate di %1 (nuovo intervallo: dal %2 al %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Lasciate invariate (senza data utilizzabile o di sola lettura): %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Lasciate invariate (senza data utilizzabile, non scelte o di sola lettura): %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>Non leggibili: %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Tutte le date di scatto sono state spostate di %1 (ora dal %2 al %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Annullato dopo %1 foto su %2.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>Impossibile modificare %1 delle %2 foto con data.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Modificate: %1, non modificate: %2, non leggibili: %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>Le foto modificate sono state spostate di %1.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>La nuova data coincide con quella attuale: non c&apos;è nulla da modificare.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>Il registro è danneggiato: %n delle sue righe non è affidabile e la foto che indica viene lasciata invariata.</numerusform>
            <numerusform>Il registro è danneggiato: %n delle sue righe non sono affidabili e le foto che indicano vengono lasciate invariate.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>Il registro è incompleto: si interrompe a metà di una riga, e alcune foto che non vi compaiono potrebbero essere state modificate.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>Il registro è incompleto: termina prima della sua riga di chiusura.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>File RAW tra le foto da modificare: %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Lasciate invariate, formato non supportato: %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>File RAW tra le foto modificate: %1.</translation>
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
    <message>
        <source>Undo last shift</source>
        <translation>Annulla l&apos;ultimo spostamento</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>Riporta le foto dell&apos;ultimo spostamento alle date e agli orari dei file precedenti</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>Le foto sono in corso di modifica.

Fermarsi dopo la foto in corso? Vedrai cosa è stato modificato e potrai ripristinarlo.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Aggiunte dopo la lettura delle date, lasciate invariate: %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

Data dei file non impostata: %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Ripristina</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Riporta ogni foto modificata da questo spostamento alla data e all&apos;ora dei file precedenti</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>Lo spostamento di %1 è stato annullato.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>Lo spostamento di %1 è stato completato.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Annullato.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Ripristinate: %1, già come prima: %2, non modificate: %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Completate: %1, già spostate: %2, non modificate: %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>L&apos;ultimo spostamento di %1 si è interrotto dopo %2 foto su %3.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Completalo per spostare le foto rimanenti, oppure annullalo per ripristinare quelle già spostate.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Completa</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Ripristina</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Più tardi</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>Riportare tutte le foto dell&apos;ultimo spostamento di %1 alla data e all&apos;ora dei file precedenti?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

%1 collegamenti portano fuori dalla cartella; non vengono seguiti.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>Impossibile leggere il registro %1.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Fotocamera:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Fotocamera</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Tutte le fotocamere (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

Spostati anche: %1 date XMP, %2 date IPTC, %3 file sidecar.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Lasciate invariate perché le loro righe nel registro sono danneggiate: %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (%2 con data, %3 in formato non supportato)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Fotocamere</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Mostra la foto più vecchia</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>Apri la foto più vecchia nel visualizzatore di immagini del desktop</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>Apri %1 nel visualizzatore di immagini del desktop</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>La foto più vecchia: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>Non è stato possibile mostrare la foto %1.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Altri strumenti</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>di %1</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>con data di scatto dal %1 al %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>con data di scatto dal %1 in poi</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>con data di scatto fino al %1</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>di tipo %1</translation>
    </message>
</context>
</TS>
