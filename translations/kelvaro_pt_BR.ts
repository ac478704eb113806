<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n pasta</numerusform>
            <numerusform>%n pastas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto em %1, datada de
%2 a
%3,
será alterada.

Deseja continuar?</numerusform>
            <numerusform>%n fotos em %1, datadas de
%2 a
%3,
serão alteradas.

Deseja continuar?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto em %1, datada de
%2 a
%3,
foi alterada.</numerusform>
            <numerusform>%n fotos em %1, datadas de
%2 a
%3,
foram alteradas.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Cancelado.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Alteradas: %1; não alteradas: %2.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   pelos desenvolvedores do Kelvaro</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Escolher a pasta principal das fotos JPEG a ajustar</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Escolher pasta principal…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Pasta principal</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progresso</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Número de fotos</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Data atual da foto mais antiga</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Nova data da foto mais antiga</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Digite a data e a hora reais em que a foto mais antiga foi tirada</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Ajustar todas as datas EXIF</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Se marcada, a data de modificação dos arquivos também acompanha a nova data EXIF (recomendado)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Ajustar também a data dos arquivos</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Parar após a foto atual: cada foto fica totalmente ajustada ou exatamente como estava</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Ano-mês-dia e horas:minutos:segundos</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Escolher a pasta principal</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Aguarde…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (%2 com data)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>Nenhuma foto JPEG com data encontrada</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
</context>
</TS>
