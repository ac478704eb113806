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
        <source>shifting by %1 seconds would move %2 outside the years 1000 to 9999; nothing was changed</source>
        <translation>%1 秒ずらすと %2 が 1000 年〜9999 年の範囲外になります。何も変更していません。</translation>
    </message>
    <message>
        <source>shifting by %1 seconds would move %2 past %3, the limit of the times its file can hold; nothing was changed</source>
        <translation>%1 秒ずらすと %2 が %3 を越えます。これはそのファイルが保持できる時刻の限界です。何も変更していません。</translation>
    </message>
    <message>
        <source>%1: no such folder; nothing was changed</source>
        <translation>%1: フォルダーが存在しません。何も変更していません。</translation>
    </message>
    <message>
        <source>another shift, undo or resume of %1 is running; nothing was changed</source>
        <translation>%1 では別のずらし・取り消し・再開の処理が実行中です。何も変更していません。</translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
will be changed.

Do you want to proceed?</source>
        <translation>
            <numerusform>%1にある %4 %n 枚の写真
（%2 〜
%3）
の撮影日時を変更します。

続行しますか？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pictures %4 in %1, dated from
%2 to 
%3
have been changed.</source>
        <translation>
            <numerusform>%1にある %4 %n 枚の写真
（%2 〜
%3）
の撮影日時を変更しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Every capture time moves by %1 (new range %2 to %3).</source>
        <translation>すべての撮影日時を %1 ずらします（変更後: %2 〜 %3）。</translation>
    </message>
    <message>
        <source>Left alone (no usable date or read-only): %1.</source>
        <translation>変更しない写真（有効な日時がない、または読み取り専用）: %1 枚。</translation>
    </message>
    <message>
        <source>Left alone (no usable date, not chosen or read-only): %1.</source>
        <translation>変更しない写真（有効な日時がない、選択対象外、または読み取り専用）: %1 枚。</translation>
    </message>
    <message>
        <source>Could not be read: %1.</source>
        <translation>読み込めなかった項目: %1 件。</translation>
    </message>
    <message>
        <source>Every capture time moved by %1 (now %2 to %3).</source>
        <translation>すべての撮影日時を %1 ずらしました（現在: %2 〜 %3）。</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 pictures.</source>
        <translation>%2 枚中 %1 枚を処理したところで中止しました。</translation>
    </message>
    <message>
        <source>%1 of %2 pictures with a usable date could not be changed.</source>
        <translation>日時のある写真 %2 枚のうち %1 枚を変更できませんでした。</translation>
    </message>
    <message>
        <source>Changed: %1, not changed: %2, could not be read: %3.</source>
        <translation>変更: %1 枚、未変更: %2 枚、読み込めず: %3 件。</translation>
    </message>
    <message>
        <source>The changed pictures moved by %1.</source>
        <translation>変更した写真の撮影日時を %1 ずらしました。</translation>
    </message>
    <message>
        <source>The new date equals the current one: nothing to change.</source>
        <translation>新しい日時が現在の日時と同じです。変更するものはありません。</translation>
    </message>
    <message numerus="yes">
        <source>The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.</source>
        <translation>
            <numerusform>記録ファイルが壊れています。%n 行が信頼できないため、それらの行に記された写真は変更しません。</numerusform>
        </translation>
    </message>
    <message>
        <source>The journal is incomplete: it was cut short inside a line, and pictures it does not name may have been changed.</source>
        <translation>記録ファイルが不完全です。行の途中で途切れているため、記録にない写真も変更されている可能性があります。</translation>
    </message>
    <message>
        <source>The journal is incomplete: it ends before its closing line.</source>
        <translation>記録ファイルが不完全です。終わりを示す行がありません。</translation>
    </message>
    <message>
        <source>RAW files among the pictures to change: %1.</source>
        <translation>変更する写真のうち RAW ファイル: %1 枚。</translation>
    </message>
    <message>
        <source>Left alone, format not supported: %1.</source>
        <translation>変更しないファイル（非対応の形式）: %1 件。</translation>
    </message>
    <message>
        <source>RAW files among the changed pictures: %1.</source>
        <translation>変更した写真のうち RAW ファイル: %1 枚。</translation>
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
    <message>
        <source>Undo last shift</source>
        <translation>前回のずらしを元に戻す</translation>
    </message>
    <message>
        <source>Set the pictures of the last shift back to their earlier dates and file times</source>
        <translation>前回ずらした写真の日時とファイルの日時を元に戻します</translation>
    </message>
    <message>
        <source>Pictures are being changed.

Stop after the picture in hand? You will see what was changed and can undo it.</source>
        <translation>写真を変更しています。

処理中の写真が終わったところで止めますか？変更された内容が表示され、元に戻すこともできます。</translation>
    </message>
    <message>
        <source>

Added since the dates were read, left alone: %1.</source>
        <translation>

日時の読み込み後に追加され、変更しなかった写真: %1 枚。</translation>
    </message>
    <message>
        <source>

File times could not be set: %1.</source>
        <translation>

ファイルの日時を設定できなかった写真: %1 枚。</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Set every picture this shift changed back to its earlier date and file times</source>
        <translation>今回ずらした写真をすべて、元の日時とファイルの日時に戻します</translation>
    </message>
    <message>
        <source>The shift of %1 was undone.</source>
        <translation>%1 のずらしを元に戻しました。</translation>
    </message>
    <message>
        <source>The shift of %1 was finished.</source>
        <translation>%1 のずらしを最後まで完了しました。</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>中止しました。</translation>
    </message>
    <message>
        <source>Set back: %1, already as before: %2, not changed: %3.</source>
        <translation>元に戻した: %1 枚、すでに元どおり: %2 枚、未変更: %3 枚。</translation>
    </message>
    <message>
        <source>Finished: %1, already shifted: %2, not changed: %3.</source>
        <translation>完了: %1 枚、ずらし済み: %2 枚、未変更: %3 枚。</translation>
    </message>
    <message>
        <source>The last shift of %1 stopped after %2 of %3 pictures.</source>
        <translation>%1 の前回のずらしは、%3 枚中 %2 枚で止まりました。</translation>
    </message>
    <message>
        <source>Finish it to shift the remaining pictures, or undo it to set back those already shifted.</source>
        <translation>最後まで実行して残りの写真をずらすか、元に戻してずらし済みの写真を戻してください。</translation>
    </message>
    <message>
        <source>Finish it</source>
        <translation>最後まで実行</translation>
    </message>
    <message>
        <source>Undo it</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>後で</translation>
    </message>
    <message>
        <source>Set every picture of the last shift of %1 back to its earlier date and file times?</source>
        <translation>%1 で前回ずらしたすべての写真を、元の日時とファイルの日時に戻しますか？</translation>
    </message>
    <message>
        <source>

%1 links lead outside the folder; they are not followed.</source>
        <translation>

フォルダーの外を指すリンクが %1 個あります。これらはたどりません。</translation>
    </message>
    <message>
        <source>The journal %1 cannot be read.</source>
        <translation>記録ファイル %1 を読み込めません。</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>カメラ:</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>カメラ</translation>
    </message>
    <message>
        <source>All cameras (%1)</source>
        <translation>すべてのカメラ (%1)</translation>
    </message>
    <message>
        <source>

Also moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.</source>
        <translation>

同時にずらしたもの: XMP の日時 %1 件、IPTC の日時 %2 件、サイドカーファイル %3 件。</translation>
    </message>
    <message>
        <source>Left alone because their journal lines are damaged: %1.</source>
        <translation>記録ファイルの行が壊れているため変更しなかった写真: %1 枚。</translation>
    </message>
    <message>
        <source>%1 (%2 valid, %3 format not supported)</source>
        <translation>%1 枚（日時あり %2 枚、非対応の形式 %3 件）</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>カメラ一覧</translation>
    </message>
    <message>
        <source>Show oldest picture</source>
        <translation>最も古い写真を表示</translation>
    </message>
    <message>
        <source>Open the oldest picture in the desktop&apos;s picture viewer</source>
        <translation>最も古い写真をデスクトップの画像ビューアーで開く</translation>
    </message>
    <message>
        <source>Open %1 in the desktop&apos;s picture viewer</source>
        <translation>%1 をデスクトップの画像ビューアーで開く</translation>
    </message>
    <message>
        <source>The oldest picture: %1</source>
        <translation>最も古い写真: %1</translation>
    </message>
    <message>
        <source>The picture %1 could not be shown.</source>
        <translation>写真 %1 を表示できませんでした。</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>その他のツール</translation>
    </message>
</context>
<context>
    <name>ShiftJob</name>
    <message>
        <source>of %1</source>
        <translation>%1 の</translation>
    </message>
    <message>
        <source>taken from %1 until %2</source>
        <translation>%1 〜 %2 に撮影された</translation>
    </message>
    <message>
        <source>taken from %1</source>
        <translation>%1 以降に撮影された</translation>
    </message>
    <message>
        <source>taken until %1</source>
        <translation>%1 以前に撮影された</translation>
    </message>
    <message>
        <source>of kind %1</source>
        <translation>%1 形式の</translation>
    </message>
</context>
</TS>
