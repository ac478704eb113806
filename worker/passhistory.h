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
        bool undone = false;     // a later undo set it back
        bool resumed = false;    // a later resume finished it
        QDateTime started;
        QString source;
        bool isValid() const { return !journal.isEmpty(); }
        bool interrupted() const { return !closed || cancelled; }
    };

    // Every pass, oldest first.
    static QList<Pass> all();
    // The newest shift (with the resumes that finished it) not yet undone.
    static Pass lastUndoable();
    // The newest shift that stopped before its end, was neither finished nor
    // undone since, and whose tree no pass holds now.
    static Pass interrupted();
};
