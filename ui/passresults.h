#pragma once

#include "jobmessages.h"

#include <QString>

class QMessageBox;
class QWidget;
class ShiftJob;
struct WalkState;

// The boxes that tell what a writing pass of the window did: a shift, an
// undo or a resume. A box is a warning when the pass did not do all it set
// out to do, and lists the pictures it left alone in its details. Its texts
// are the window's (translation context MainWindow).
class PassResults
{
public:
    // After a shift that started: the result of `dated` shifted, what else
    // moved and what was left alone. A shift that did not reach every chosen
    // picture offers to undo it. The box is made now, while the pass's counts
    // are at hand, and shown later with show().
    static QMessageBox *shiftBox(QWidget *parent, const ShiftJob &job, const WalkState &state,
                                 const JobMessages::Pass &dated);
    // After an undo or a resume that started.
    static QMessageBox *journalBox(QWidget *parent, const ShiftJob &job, bool undo, bool cancelled);
    // Shows a box made above and deletes it. Returns the journal to undo when
    // the user asked for it, an empty text otherwise.
    static QString show(QMessageBox *box);
};
