#pragma once

#include "datecodec.h"

#include <QByteArray>
#include <QDateTime>

// EXIF capture date texts: 19 characters "yyyy:MM:dd hh:mm:ss", no time zone.
class CaptureDate {
public:
    static constexpr int textLength = 19;
    static const char *const pattern;   // "yyyy:MM:dd hh:mm:ss"

    // The number of ':' in the text; a text is worth parsing only with exactly four.
    static int colonCount(const char *text, int length);

    // Parses a capture date as a zone-less (Qt::UTC) value. Invalid unless the
    // text is exactly the 19-character pattern and names a real date and time.
    static QDateTime parse(const char *text, int length);
    static QDateTime parse(const QByteArray &text) { return parse(text.constData(), int(text.size())); }

    // The 19-character text of a date; empty when the date is invalid or its
    // year lies outside 1000..9999 (it would not fit in place of the old text).
    static QByteArray format(const QDateTime &date);

    // The instant at which a wall-clock capture time happened on this machine,
    // read as local time, in seconds since 1970-01-01 UTC. A time that falls in a
    // spring-forward gap gives the instant just after the gap. False for an
    // invalid date.
    static bool localInstant(const QDateTime &wallClock, qint64 *secondsSinceEpoch);

    // Makes local time the system's time zone. On Windows the C runtime, and
    // Qt's local time through it, would follow a TZ variable (as Unix-like
    // shells set it) before the system's zone, and read "Europe/Berlin" as a
    // zone at UTC: the variable is dropped. Called at the start of main(),
    // before anything reads local time. Elsewhere TZ is how the system names
    // the zone, and it stays.
    static void useSystemTimeZone();

    // The same zone-less value as the engine's wall-clock time, and back.
    static WallClock wallClock(const QDateTime &date);
    static QDateTime fromWallClock(const WallClock &time);
};
