#pragma once

#include "jobmessages.h"
#include "shiftjob.h"

class QWidget;

// The questions the window asks before it writes a picture, and before it
// stops a pass that writes. Each one's safe answer is the default. Its texts
// are the window's (translation context MainWindow).
class PassQuestions
{
public:
    enum class Interrupted { Finish, Undo, Later };

    // Before a shift: the pictures, their dates and the shift, and the links
    // that are not followed.
    static bool confirmShift(QWidget *parent, const JobMessages::Pass &pass, int outsideLinks);
    // Closing the window while a pass writes: stop it after the picture in hand?
    static bool stopWriting(QWidget *parent);
    // A shift that stopped without its end: finish it, undo it, or later.
    static Interrupted askInterrupted(QWidget *parent, const ShiftJob::PassInfo &pass);
    // "Undo last shift": set the pictures of `pass` back?
    static bool confirmUndo(QWidget *parent, const ShiftJob::PassInfo &pass);
};
