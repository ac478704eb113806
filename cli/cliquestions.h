#pragma once

#include "jobmessages.h"
#include "journal.h"

#include <QByteArray>

class ProgressLine;

// The yes-or-no questions kelvaro-cli asks on the terminal before it writes,
// when --yes did not answer them beforehand.
class CliQuestions {
public:
    explicit CliQuestions(ProgressLine &progress);

    // Before a shift: the pictures, their dates and the shift, as the window
    // asks it, and the links that are not followed.
    bool confirmShift(const JobMessages::Pass &pass, int outsideLinks);
    // Before an undo or a resume: the shift it works on, from the header of
    // the journal that started it.
    bool confirmFromJournal(bool undo, const Journal::Header &header, const QString &journalState);

private:
    // Only "y" or "yes" (any letter case) is a yes.
    bool askYesNo(const QByteArray &question);

    ProgressLine &progress;
};
