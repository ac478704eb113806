#pragma once

#include "pictureresult.h"

#include <QByteArray>
#include <QString>

// How a journal records what happened to each picture: a fixed code per
// outcome ("changed", "already_done", ...), whatever the texts the faces
// show; journals of Kelvaro 1.0 recorded the English text of the log instead,
// and those texts still read.
class JournalOutcome {
public:
    // The code for an outcome.
    static QByteArray code(PictureStatus outcome);
    // An outcome as a journal recorded it: a code, or the text of 1.0. False
    // when it is neither.
    static bool read(const QString &recorded, PictureStatus *outcome);
};
