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
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Um ajuste de %1 segundos levaria %2 para fora dos anos 1000 a 9999; nada foi alterado.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Deslocar %1 segundos levaria %2 além de %3, o limite dos horários que seu arquivo pode guardar; nada foi alterado.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: a pasta não existe; nada foi alterado.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>Outro ajuste, desfazer ou retomada de %1 já está em andamento; nada foi alterado.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto %4 em %1, datada de
%2 a
%3,
será alterada.

Deseja continuar?</numerusform>
            <numerusform>%n fotos %4 em %1, datadas de
%2 a
%3,
serão alteradas.

Deseja continuar?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto %4 em %1, datada de
%2 a
%3,
foi alterada.</numerusform>
            <numerusform>%n fotos %4 em %1, datadas de
%2 a
%3,
foram alteradas.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Todas as datas de captura serão ajustadas em %1 (novo intervalo: de %2 a %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Deixadas como estavam (sem data utilizável ou somente leitura): %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Deixadas como estavam (sem data utilizável, não escolhidas ou somente leitura): %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>Não foi possível ler: %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Todas as datas de captura foram ajustadas em %1 (agora de %2 a %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Cancelado após %1 de %2 fotos.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>Não foi possível alterar %1 de %2 fotos com data.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Alteradas: %1; não alteradas: %2; ilegíveis: %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>As fotos alteradas foram ajustadas em %1.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>A nova data é igual à atual: não há nada a alterar.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>O registro está danificado: %n de suas linhas não é confiável, e a foto que ela indica fica como estava.</numerusform>
            <numerusform>O registro está danificado: %n de suas linhas não são confiáveis, e as fotos que elas indicam ficam como estavam.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>O registro está incompleto: ele foi cortado no meio de uma linha, e fotos que ele não menciona podem ter sido alteradas.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>O registro está incompleto: ele termina antes da linha de encerramento.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>Arquivos RAW entre as fotos a alterar: %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Deixadas como estavam, formato não suportado: %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>Arquivos RAW entre as fotos alteradas: %1.</translation>
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
    <message>
        <source>Undo last shift</source>
        <translation>Desfazer o último ajuste</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>Voltar as fotos do último ajuste às datas e horários de arquivo anteriores</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>As fotos estão sendo alteradas.

Parar após a foto atual? Você verá o que foi alterado e poderá desfazer.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Adicionadas depois da leitura das datas, deixadas como estavam: %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

Não foi possível ajustar a data dos arquivos: %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Voltar cada foto alterada por este ajuste à data e aos horários de arquivo anteriores</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>O ajuste de %1 foi desfeito.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>O ajuste de %1 foi concluído.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Cancelado.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Restauradas: %1; já como antes: %2; não alteradas: %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Concluídas: %1; já ajustadas: %2; não alteradas: %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>O último ajuste de %1 parou após %2 de %3 fotos.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Conclua-o para ajustar as fotos restantes ou desfaça-o para voltar as já ajustadas.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Concluir</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Mais tarde</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>Voltar todas as fotos do último ajuste de %1 à data e aos horários de arquivo anteriores?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

%1 links apontam para fora da pasta; eles não são seguidos.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>Não é possível ler o registro %1.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Câmera:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Câmera</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Todas as câmeras (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

Também foram ajustados: %1 datas XMP, %2 datas IPTC, %3 arquivos sidecar.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Deixadas como estavam porque suas linhas no registro estão danificadas: %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (%2 com data, %3 em formato não suportado)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Câmeras</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Mostrar a foto mais antiga</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>Abrir a foto mais antiga no visualizador de imagens da área de trabalho</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>Abrir %1 no visualizador de imagens da área de trabalho</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>A foto mais antiga: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>Não foi possível mostrar a foto %1.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Mais ferramentas</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>de %1</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>com data de captura entre %1 e %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>com data de captura a partir de %1</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>com data de captura até %1</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>do tipo %1</translation>
    </message>
</context>
</TS>
