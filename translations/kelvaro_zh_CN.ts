<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n 个文件夹</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>将更改 %1中的 %n 张照片，拍摄时间从
%2 到
%3。

是否继续？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>已更改 %1中的 %n 张照片，拍摄时间从
%2 到
%3。</numerusform>
        </translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>偏移 %1 秒会使 %2 超出 1000 年至 9999 年的范围；未做任何更改。</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>平移 %1 秒会使 %2 超出 %3，即其文件所能保存的时间的极限；未做任何更改。</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1：文件夹不存在；未做任何更改。</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>%1 的另一个调整、撤销或继续操作正在进行；未做任何更改。</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>将更改 %1中 %4 %n 张照片，拍摄时间从
%2 到
%3。

是否继续？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>已更改 %1中 %4 %n 张照片，拍摄时间从
%2 到
%3。</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>所有拍摄时间将调整 %1（调整后为 %2 至 %3）。</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>未作改动的照片（无有效拍摄时间或只读）：%1 张。</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>未作改动的照片（无有效拍摄时间、未选中或只读）：%1 张。</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>无法读取的项目：%1 个。</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>所有拍摄时间已调整 %1（现为 %2 至 %3）。</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>处理完 %2 张照片中的 %1 张后已取消。</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>有拍摄时间的 %2 张照片中，有 %1 张无法更改。</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>已更改：%1 张，未更改：%2 张，无法读取：%3 个。</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>已更改的照片调整了 %1。</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>新时间与当前时间相同：无需更改。</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>记录文件已损坏：其中 %n 行不可信，这些行所记的照片不作改动。</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>记录文件不完整：它在某一行中间被截断，未记录在内的照片可能已被更改。</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>记录文件不完整：在结束行之前就中断了。</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>待更改照片中的 RAW 文件：%1 个。</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>未作改动的文件（格式不受支持）：%1 个。</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>已更改照片中的 RAW 文件：%1 个。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   Kelvaro 开发者</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>选择要调整时间的 JPEG 照片所在的顶层文件夹</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>选择顶层文件夹…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>顶层文件夹</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>照片数量</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>最早照片的当前时间</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>最早照片的正确时间</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>输入最早那张照片的实际拍摄时间</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>调整所有 EXIF 拍摄时间</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>勾选后，除了 EXIF 时间，文件的修改时间也一并调整（推荐）</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>同时调整文件时间</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>处理完当前照片后停止：每张照片要么已完整调整，要么保持原样</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>年-月-日 时:分:秒</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>选择顶层文件夹</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>请稍候…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 张（有拍摄时间 %2 张）</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>未找到带拍摄时间的 JPEG 照片</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
    <message>
        <source>Undo last shift</source>
        <translation>撤销上次调整</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>将上次调整的照片恢复到原来的拍摄时间和文件时间</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>正在修改照片。

处理完当前照片后停止吗？你将看到已更改的内容，并可以撤销。</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

读取时间后新增、未作改动的照片：%1 张。</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

无法设置文件时间的照片：%1 张。</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>将本次调整改动过的每张照片恢复到原来的时间和文件时间</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>已撤销对 %1 的调整。</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>已完成对 %1 的调整。</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>已恢复：%1 张，原本如此：%2 张，未更改：%3 张。</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>已完成：%1 张，之前已调整：%2 张，未更改：%3 张。</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>上次对 %1 的调整在 %3 张照片中完成 %2 张后中断。</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>可以继续完成以调整其余照片，或撤销以恢复已调整的照片。</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>继续完成</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>稍后</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>要将上次对 %1 调整的所有照片恢复到原来的时间和文件时间吗？</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

有 %1 个链接指向文件夹之外，不会跟随。</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>无法读取记录文件 %1。</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>相机：</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>相机</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>所有相机 (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

同时调整了：%1 个 XMP 时间、%2 个 IPTC 时间、%3 个附属文件。</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>因记录文件中的对应行已损坏而未作改动的照片：%1 张。</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 张（有拍摄时间 %2 张，格式不受支持 %3 个）</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>相机列表</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>显示最早的照片</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>在桌面的图片查看器中打开最早的照片</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>在桌面的图片查看器中打开 %1</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>最早的照片：%1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>无法显示照片 %1。</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>更多工具</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>来自 %1 的</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>拍摄于 %1 至 %2 之间的</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>拍摄于 %1 或之后的</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>拍摄于 %1 或之前的</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>%1 格式的</translation>
    </message>
</context>
</TS>
