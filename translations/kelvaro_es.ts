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
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>Un desplazamiento de %1 segundos llevaría %2 fuera de los años 1000 a 9999; no se ha cambiado nada.</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>Desplazar %1 segundos llevaría %2 más allá de %3, el límite de las horas que su archivo puede guardar; no se ha cambiado nada.</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: la carpeta no existe; no se ha cambiado nada.</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>Ya hay otra corrección, deshacer o reanudación de %1 en curso; no se ha cambiado nada.</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%n foto %4 en %1, con fecha del
%2 al
%3,
va a cambiar.

¿Desea continuar?</numerusform>
            <numerusform>%n fotos %4 en %1, con fechas del
%2 al
%3,
van a cambiar.

¿Desea continuar?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%n foto %4 en %1, con fecha del
%2 al
%3,
ha cambiado.</numerusform>
            <numerusform>%n fotos %4 en %1, con fechas del
%2 al
%3,
han cambiado.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>Todas las fechas de toma se desplazarán %1 (quedarán del %2 al %3).</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>Sin tocar (sin fecha utilizable o de solo lectura): %1.</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>Sin tocar (sin fecha utilizable, no elegidas o de solo lectura): %1.</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>No se pudieron leer: %1.</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>Todas las fechas de toma se han desplazado %1 (ahora van del %2 al %3).</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>Cancelado tras %1 de %2 fotos.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>No fue posible cambiar %1 de las %2 fotos con fecha.</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>Cambiadas: %1; sin cambios: %2; no se pudieron leer: %3.</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>Las fotos cambiadas se han desplazado %1.</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>La nueva fecha es igual a la actual: no hay nada que cambiar.</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>El registro está dañado: %n de sus líneas no es fiable, y la foto que menciona queda sin tocar.</numerusform>
            <numerusform>El registro está dañado: %n de sus líneas no son fiables, y las fotos que mencionan quedan sin tocar.</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>El registro está incompleto: se cortó a mitad de una línea, y es posible que hayan cambiado fotos que no menciona.</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>El registro está incompleto: termina antes de su línea de cierre.</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>Archivos RAW entre las fotos que se van a cambiar: %1.</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>Sin tocar, formato no compatible: %1.</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>Archivos RAW entre las fotos cambiadas: %1.</translation>
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
    <message>
        <source>Undo last shift</source>
        <translation>Deshacer la última corrección</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>Devolver las fotos de la última corrección a sus fechas y horas de archivo anteriores</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>Se están cambiando las fotos.

¿Detener tras la foto en curso? Verá lo que se ha cambiado y podrá deshacerlo.</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

Añadidas después de leer las fechas, sin tocar: %1.</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

No se pudo cambiar la fecha del archivo: %1.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>Devolver cada foto que cambió esta corrección a su fecha y hora de archivo anteriores</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>Se ha deshecho la corrección de %1.</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>Se ha completado la corrección de %1.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Cancelado.</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>Restauradas: %1; ya como antes: %2; sin cambios: %3.</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>Completadas: %1; ya corregidas: %2; sin cambios: %3.</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>La última corrección de %1 se detuvo tras %2 de %3 fotos.</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>Complétela para corregir las fotos restantes o deshágala para devolver las ya corregidas a su estado anterior.</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>Completar</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Más tarde</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>¿Devolver todas las fotos de la última corrección de %1 a su fecha y hora de archivo anteriores?</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

%1 enlaces apuntan fuera de la carpeta; no se siguen.</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>No se puede leer el registro %1.</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Cámara:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Cámara</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>Todas las cámaras (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

También se han desplazado: %1 fechas XMP, %2 fechas IPTC y %3 archivos sidecar.</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>Sin tocar porque sus líneas del registro están dañadas: %1.</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 (%2 con fecha, %3 con formato no compatible)</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Cámaras</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>Mostrar la foto más antigua</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>Abrir la foto más antigua en el visor de imágenes del escritorio</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>Abrir %1 en el visor de imágenes del escritorio</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>La foto más antigua: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>No se pudo mostrar la foto %1.</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Más herramientas</translation>
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
        <translation>con fecha de toma del %1 al %2</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>con fecha de toma desde el %1</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>con fecha de toma hasta el %1</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>de tipo %1</translation>
    </message>
</context>
</TS>
