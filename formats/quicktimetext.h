#pragma once

#include <cstddef>
#include <cstdint>

#include "datecodec.h"

// A date text as videos write them: "yyyy-MM-ddThh:mm:ss", then an optional
// fraction of a second and an optional zone ("Z", "+0300", "+03:00", "-04").
// The first 19 characters are the wall-clock time (a field in XmpText covers
// them); the zone after them stays as written when the time moves.
struct ZonedTime {
    WallClock wall;
    bool zoned = false;     // a zone follows the time
    bool utc = false;       // ... and it is "Z"
    int64_t zoneSeconds = 0;   // east of UTC; 0 for "Z" and for no zone

    // Seconds since 1970-01-01 00:00:00 UTC; without a zone, of the wall-clock time itself.
    int64_t instant() const { return DateCodec::toEpochSeconds(wall) - zoneSeconds; }
};

class QuickTimeText {
public:
    // Reads a whole value of `n` bytes: the time, its fraction and zone, then
    // nothing but NULs. False when it is anything else.
    static bool parse(const unsigned char *text, size_t n, ZonedTime *out);
    // Reads the time at the start of `text` (at most `n` bytes), taking a
    // fraction and a zone after it when they are there, whatever follows.
    static bool parseStart(const unsigned char *text, size_t n, ZonedTime *out);
    // Where the next "dddd-dd-ddTdd:dd:dd" starts in `text` at or after
    // `from`; `n` when there is none.
    static size_t find(const unsigned char *text, size_t n, size_t from);

    static constexpr size_t kWallLength = 19;
};
