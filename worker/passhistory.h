#pragma once

#include "journal.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The passes that wrote pictures, as their journals tell them: what each
// did, and which later undo or resume set it back or finished it.
class PassHistory {
public:
    // A pass found in the journals.
    struct Pass {
        QString journal;
        Journal::Kind kind = Journal::Kind::Shift;
        QString folder;
        qint64 shiftSeconds = 0;
        int pictures = 0;
        int changed = 0;
        bool closed = false;
        bool began = false;      // it got beyond its first line
        bool cancelled = false;
        bool undone = false;     // a later undo set back every picture it changed
        int undoLeft = 0;        // a later undo left this many pictures as this pass made them (-1: some)
        bool damaged = false;    // its journal has lines that cannot be trusted, or is cut inside one
        int damagedLines = 0;    // of them, the lines that cannot be trusted
        bool cut = false;        // its journal ends inside a line
        int left = 0;            // pictures it set out to write and did not (its closing line)
        int alreadyDone = 0;     // undo, resume: pictures that held the wanted texts already
        bool sourceIncomplete = false;  // undo, resume: the journal it worked from was cut short
        bool resumed = false;    // a later resume finished it
        QDateTime started;
        QString source;
        bool isValid() const { return !journal.isEmpty(); }
        bool interrupted() const { return !closed || cancelled; }
        bool partlyUndone() const { return !undone && undoLeft != 0; }
    };

    // Every pass, oldest first.
    static QList<Pass> all();
    // The newest shift (with the resumes that finished it) not wholly undone,
    // of the folder of the newest shift.
    static Pass lastUndoable();
    // The newest shift that stopped before its end, was neither finished nor
    // undone since, and whose tree no pass holds now.
    static Pass interrupted();
};
