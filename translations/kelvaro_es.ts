<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n carpeta</numerusform>
            <numerusform>%n carpetas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto en %1, con fecha del
%2 al
%3,
va a cambiar.

¿Desea continuar?</numerusform>
            <numerusform>%n fotos en %1, con fechas del
%2 al
%3,
van a cambiar.

¿Desea continuar?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto en %1, con fecha del
%2 al
%3,
ha cambiado.</numerusform>
            <numerusform>%n fotos en %1, con fechas del
%2 al
%3,
han cambiado.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Cancelado.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>Cambiadas: %1; sin cambios: %2.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   por los desarrolladores de Kelvaro</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>Elegir la carpeta principal de las fotos JPEG que quiere corregir</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>Elegir carpeta principal…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>Carpeta principal</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>Número de fotos</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>Fecha actual de la foto más antigua</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>Fecha correcta de la foto más antigua</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>Introduzca la fecha y la hora reales en que se tomó la foto más antigua</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>Corregir todas las fechas EXIF</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>Si está marcada, la fecha de modificación de los archivos también sigue a la nueva fecha EXIF (recomendado)</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>Ajustar también la fecha de los archivos</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>Detener tras la foto en curso: cada foto queda o bien corregida del todo o bien sin cambios</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>Año-mes-día y horas:minutos:segundos</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>Elegir la carpeta principal</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>Espere, por favor…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 (%2 con fecha)</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>No hay fotos JPEG con fecha</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
</context>
</TS>
