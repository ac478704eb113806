#pragma once

#include <QDateTime>
#include <QString>

// The texts that close a job, shared by the window and the command line.
class JobMessages {
public:
    // What the dating pass found, and the shift the user asked for.
    struct Pass {
        int pictures = 0;       // pictures found
        int valid = 0;          // of them, with a usable capture date
        int raw = 0;            // of those, RAW files
        int unsupported = 0;    // pictures whose format is not supported
        int folders = 0;
        QDateTime oldest, newest;
        qint64 shiftSeconds = 0;
        int readOnly = 0;       // usable pictures nobody may write
        int unreadable = 0;     // folders and pictures that could not be read
        QString chosen;         // names the chosen pictures ("of Canon EOS 5D"); empty: every picture
    };

    // The question's first part: the pictures and their date range. `chosen`
    // names the chosen pictures ("of Canon EOS 5D"); empty when every picture moves.
    static QString confirmation(int validCount, int folderCount, const QDateTime &oldest,
                                const QDateTime &newest, const QString &chosen = QString());
    // The question asked before any picture is written: the first part, the
    // shift with the new date range, how many of the pictures are RAW files
    // (when any are), and how many pictures are left alone.
    static QString confirmation(const Pass &pass);

    // The report at the end of the shifting pass. A complete pass that changed
    // every usable picture reads as before, with the shift, the new range and
    // how many of the pictures are RAW files (when any are);
    // otherwise it leads with what happened (cancelled after how many
    // pictures, or how many could not be changed) and counts the pictures
    // changed, not changed and not read. `done` is the number of the usable
    // (chosen) pictures whose write, or whose look before leaving them alone,
    // had ended when the pass stopped.
    static QString result(const Pass &pass, bool cancelled, int done, int changedCount);

    // What an undo or a resume must say about the journal it works from
    // (read with Journal::summarize()): damaged lines, or no closing line;
    // empty when the journal is whole.
    static QString journalState(int damagedLines, bool cut, bool closed);

    // Said instead of the question when the new date equals the current one.
    static QString nothingToShift();

    // A shift as "+1:00:00" or "-2:03:00:00" (signed [days:]hours:minutes:seconds).
    static QString shiftText(qint64 seconds);
};
