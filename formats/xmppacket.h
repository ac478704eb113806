#pragma once

#include <cstdint>
#include <vector>

#include "byteview.h"
#include "datecodec.h"
#include "datefield.h"

// The date-time values of an XMP packet that spell a given wall-clock time: a
// value counts when it is the whole text of an attribute ("..." or '...') or
// of an element (>...<), XML white space around it allowed: the date-time,
// then an optional fraction of a second and an optional zone ("Z", "+02:00",
// "-0400", "+02"). Each field covers its first 19 characters.
class XmpPacket {
public:
    // The packet's bytes start `base` bytes into the file.
    static std::vector<DateField> findCopies(ConstByteView packet, uint64_t base, const WallClock &time);
};
