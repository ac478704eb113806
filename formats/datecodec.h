#pragma once

#include <cstddef>
#include <cstdint>

#include "datefield.h"

// A wall-clock time: no zone, no fraction.
struct WallClock {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const WallClock &o) const;
    bool operator!=(const WallClock &o) const { return !(*this == o); }
};

// Every encoding of a wall-clock time a date field may use, in one place.
// Only the years 1000 to 9999 are dates here: a time outside them is neither
// read nor written, so a new value always takes the width of the old one.
class DateCodec {
public:
    // True for a real date and time within the years 1000 to 9999.
    static bool isValid(const WallClock &time);
    // The width in bytes of a field in `encoding`.
    static uint32_t width(DateEncoding encoding);
    // Reads `n` bytes in `encoding`; false unless they spell a valid time
    // (for IptcDate the time of day is 00:00:00; for IptcTime the date is
    // 1904-01-01). Zero seconds (since 1904 or 1970: "not set") is no time.
    static bool decode(DateEncoding encoding, const unsigned char *bytes, size_t n, WallClock *time);
    // Writes `time` in `encoding` into `out` (width(encoding) bytes); false,
    // writing nothing, when it is not valid or does not fit the encoding.
    static bool encode(DateEncoding encoding, const WallClock &time, unsigned char *out);
    // Whether `from` and `to` (`n` bytes each) spell `before` and `after` in
    // one and the same encoding: a date field's texts before and after a shift.
    static bool spellsPair(const unsigned char *from, const unsigned char *to, size_t n, const WallClock &before,
                           const WallClock &after);
    // Whether `from` and `to` (`n` bytes each) spell two times exactly
    // `seconds` apart in one and the same encoding that holds a whole time: a
    // field that keeps a distance from the capture time (a UTC copy, the end
    // of a recording) before and after a shift.
    // `was`, when given, receives the time `from` spells.
    static bool spellsShift(const unsigned char *from, const unsigned char *to, size_t n, int64_t seconds,
                            WallClock *was = nullptr);
    // The first and last times (as toEpochSeconds() counts them) a field in
    // `encoding` can hold, for the encodings that count seconds in a fixed
    // width; false for the texts, which hold the years 1000 to 9999 whole.
    static bool limits(DateEncoding encoding, int64_t *first, int64_t *last);
    // `time` moved by `seconds` (either way), across days, months and years.
    static WallClock addSeconds(const WallClock &time, int64_t seconds);
    // Seconds between 1970-01-01 00:00:00 and `time`, both read in the same zone.
    static int64_t toEpochSeconds(const WallClock &time);
    static WallClock fromEpochSeconds(int64_t seconds);
};
