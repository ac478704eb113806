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
        <source>Cancelled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>已更改：%1 张，未更改：%2 张。</translation>
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
</context>
</TS>
