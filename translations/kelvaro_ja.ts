<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>JobMessages</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n 個のフォルダー</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%1にある %n 枚の写真
（%2 〜
%3）
の撮影日時を変更します。

続行しますか？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%1にある %n 枚の写真
（%2 〜
%3）
の撮影日時を変更しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>中止しました。</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2.</source>
        <translation>変更済み: %1 枚、未変更: %2 枚。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kelvaro 1.0   by the Kelvaro developers</source>
        <translation>Kelvaro 1.0   Kelvaro 開発チーム</translation>
    </message>
    <message>
        <source>Select the top folder of your JPGs to be shifted</source>
        <translation>撮影日時をずらす JPEG 写真が入っているフォルダーを選びます</translation>
    </message>
    <message>
        <source>Select top folder...</source>
        <translation>対象フォルダーを選択…</translation>
    </message>
    <message>
        <source>Top folder</source>
        <translation>対象フォルダー</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>進行状況</translation>
    </message>
    <message>
        <source>Number of pictures</source>
        <translation>写真の枚数</translation>
    </message>
    <message>
        <source>Current date of first picture</source>
        <translation>最も古い写真の現在の日時</translation>
    </message>
    <message>
        <source>New date of first picture</source>
        <translation>最も古い写真の正しい日時</translation>
    </message>
    <message>
        <source>Set the new date of first(oldest) picture</source>
        <translation>最も古い写真が実際に撮影された日時を入力します</translation>
    </message>
    <message>
        <source>Shift all time stamps in EXIF Info</source>
        <translation>すべての EXIF 撮影日時をずらす</translation>
    </message>
    <message>
        <source>If checked, not only the EXIF date is shifted but also the file attribute (recommended)</source>
        <translation>オンにすると、EXIF の日時だけでなくファイルの更新日時も合わせます（推奨）</translation>
    </message>
    <message>
        <source>Adapt also time stamps of files</source>
        <translation>ファイルの日時も合わせる</translation>
    </message>
    <message>
        <source>Stop after the picture in hand: every picture is either wholly shifted or left as it was</source>
        <translation>処理中の写真が終わったところで止めます。どの写真も、完全に変更済みか元のままのどちらかです</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Year-month-day and hours:minutes:seconds</source>
        <translation>年-月-日 時:分:秒</translation>
    </message>
    <message>
        <source>Select Top Folder</source>
        <translation>対象フォルダーの選択</translation>
    </message>
    <message>
        <source>please wait ...</source>
        <translation>お待ちください…</translation>
    </message>
    <message>
        <source>%1 (%2 valid)</source>
        <translation>%1 枚（日時あり %2 枚）</translation>
    </message>
    <message>
        <source>No jpgs found</source>
        <translation>日時のある JPEG 写真が見つかりません</translation>
    </message>
    <message>
        <source>Kelvaro</source>
        <translation>Kelvaro</translation>
    </message>
</context>
</TS>
