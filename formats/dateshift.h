#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bytesource.h"
#include "datecodec.h"
#include "datefield.h"

// Plans the move of a file's date fields by a number of seconds, knowing no
// format: each field that still spells the capture time in its encoding gets
// the shifted time in the same encoding and width; each derived field is
// recomputed over its data as it will read after the move.
class DateShift {
public:
    // The width of an MD5 digest, the one derived field there is.
    static constexpr uint32_t md5Width = 16;

    struct Run {
        uint64_t offset = 0;
        std::string from;   // the bytes it holds now
        std::string to;     // the bytes it is to hold (as many)
    };

    struct Plan {
        std::vector<Run> runs;                    // sorted by offset
        std::map<DateEncoding, int> moved;        // fields moved, by encoding
        bool captureMoved = false;                // among them the capture time itself
        int digestsUpdated = 0;
    };

    // Whether a field in `encoding` moves when only the camera's own metadata
    // is to move: every encoding but the XMP and IPTC ones.
    static bool isCameraField(DateEncoding encoding);

    // `capture` is the capture time the fields spell now. With `exifTextOnly`
    // only the camera's fields move (isCameraField) and no derived field is
    // recomputed. Reads the
    // fields' and the derived fields' bytes from `file`; false when a read
    // fails or the shifted time is not valid (outside the years 1000 to 9999).
    // A field whose bytes do not spell `capture` is left out.
    static bool plan(ByteSource &file, const std::vector<DateField> &fields,
                     const std::vector<DerivedField> &derived, const WallClock &capture,
                     int64_t seconds, bool exifTextOnly, Plan *plan);
};
