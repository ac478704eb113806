#pragma once

#include "pictureresult.h"
#include "shiftchoice.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <limits>

// What the dating pass learnt about the cameras of a tree, and about the
// pictures chosen to move: kept per camera, so that nothing grows with the
// number of pictures.
class CameraTally {
public:
    // The least room the pictures' fields leave their capture times, later
    // and earlier (PictureResult::roomLater), and the dates of the pictures
    // that leave it.
    struct Room {
        qint64 later = std::numeric_limits<qint64>::max();
        qint64 earlier = std::numeric_limits<qint64>::max();
        QDateTime leastLater, leastEarlier;
        // Keeps the less room of each way.
        void take(qint64 roomLater, const QDateTime &laterDate, qint64 roomEarlier, const QDateTime &earlierDate);
        void take(const Room &o) { take(o.later, o.leastLater, o.earlier, o.leastEarlier); }
    };

    // The pictures of one camera that the dating pass met.
    struct Camera {
        QString name;           // PictureResult::cameraName()
        int pictures = 0;       // pictures whose EXIF block could be read
        int valid = 0;          // of them, those with a usable capture date
        int raw = 0;            // of those, RAW files
        QDateTime oldest, newest;
        QString oldestPath, newestPath;   // the pictures that hold them
        Room room;
    };

    // The chosen pictures with a usable capture date.
    struct Tally {
        int valid = 0;
        int raw = 0;            // of them, RAW files
        QDateTime oldest, newest;
        QString oldestPath, newestPath;   // the pictures that hold them
        Room room;
    };

    // Every picture the dating pass met, by what it is: RAW files (whatever
    // their date), and files whose format is not supported.
    struct Kinds {
        int raw = 0;
        int unsupported = 0;
    };

    // Forgets every camera and the tally (the choice stays).
    void clear();
    // Forgets everything, the choice too (every picture is chosen).
    void reset();

    // One picture of the dating pass, found at `path`. Of pictures of equal
    // dates, the one whose path sorts first stands for the oldest or newest,
    // in whatever order they are counted or chosen.
    void count(const QString &path, const PictureResult &result);

    // The cameras met, most usable pictures first (then by name).
    QList<Camera> cameras() const;

    const Kinds &kinds() const { return kindTally; }

    // Chooses the pictures the next shift moves. A choice by camera alone may
    // be made before or after the dating pass; a choice with limits by date
    // or by kind must be made before it, since the dating pass tallies the
    // chosen pictures as it reads them.
    void choose(const ShiftChoice &choice);
    const ShiftChoice &choice() const { return selection; }
    const Tally &chosen() const { return tally; }

    // Empty when shifting every chosen date by `seconds` keeps it within the
    // years 1000 to 9999, and within what every field that counts seconds
    // can hold; otherwise what is wrong.
    QString rangeProblem(qint64 seconds) const;

private:
    QHash<QString, Camera> table;   // by name
    ShiftChoice selection;
    Tally tally;
    Kinds kindTally;
};
