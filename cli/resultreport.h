#pragma once

#include "clioutput.h"
#include "journal.h"

#include <QByteArray>
#include <QString>

class ShiftJob;

// What kelvaro-cli reports at the end of `shift`, `undo` and `resume`, as
// text or as one JSON object: the counts of the pass, what it left alone and
// why, and its journal.
class ResultReport {
public:
    // How a shift ended (or why it did not start).
    struct Shift {
        int chosen = 0;              // the chosen pictures with a usable date
        bool shiftKnown = false;     // false: "shift_seconds" is null
        qint64 shiftSeconds = 0;
        int changed = 0;
        bool cancelled = false;
        bool dryRun = false;
    };

    ResultReport(CliOutput &output, const ShiftJob &job);

    // A shift's report: `text` for text lines, otherwise the dating pass's
    // `counts` followed by the shift's own fields.
    void shift(CliOutput::Fields counts, const QByteArray &text, const Shift &shift);
    // An undo's or a resume's report; `source` is the journal it worked from,
    // `header` that of the shift that started the pass.
    void fromJournal(const QString &source, const Journal::Header &header, bool undo, bool cancelled,
                     bool dryRun, const QString &journalState);

    // What a writing pass adds to its text report: the other copies of the
    // dates moved, pictures added since or left alone, times not set, a
    // failure of the pass itself, the journal.
    QByteArray writingText(bool dryRun) const;

private:
    CliOutput &output;
    const ShiftJob &job;
};
