#pragma once

#include <cstdint>
#include <vector>

#include "byteview.h"
#include "datecodec.h"
#include "datefield.h"

// The date-time values of an XMP packet that spell a given wall-clock time: a
// value counts when it is the whole text of an attribute ("..." or '...') or
// of an element (>...<), XML white space before it allowed, and starts with
// the date-time. Whatever follows the seconds up to the value's end (a
// fraction, a zone, a zone spelled oddly such as "+1:00", white space) is
// kept as written. Each field covers the first 19 characters.
class XmpPacket {
public:
    // The packet's bytes start `base` bytes into the file.
    static std::vector<DateField> findCopies(ConstByteView packet, uint64_t base, const WallClock &time);
};
