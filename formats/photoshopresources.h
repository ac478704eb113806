#pragma once

#include <cstdint>
#include <vector>

#include "byteview.h"
#include "datecodec.h"
#include "datefield.h"

// A block of image resources (as a JPEG's APP13 segment or a TIFF tag holds
// it) and the copies of a capture time in its IPTC data: the date and time
// datasets of the application record, and the MD5 digest kept of that data.
class PhotoshopResources {
public:
    struct Copies {
        // IPTC date and time pairs that spell the time, each pair a date field
        // followed by its time field, in the order of the datasets.
        std::vector<DateField> pairs;
        // The IPTC data's digest resource, when there is one and the data is
        // not empty; `digestCurrent` tells whether it matched the data.
        bool hasDigest = false;
        bool digestCurrent = false;
        DerivedField digest;
    };

    // `resources` starts `base` bytes into the file and holds the resources
    // one after the other; anything that is no resource ends them.
    static Copies findCopies(ConstByteView resources, uint64_t base, const WallClock &time);

    // The date and time pairs of bare IPTC-IIM data (as the IPTC resource or
    // a TIFF tag holds it) that spell `time`; `iptc` starts `base` bytes into
    // the file.
    static std::vector<DateField> iptcPairs(ConstByteView iptc, uint64_t base, const WallClock &time);
    // Where the data of the block's IPTC digest resource (16 bytes) starts
    // in `resources`; false when there is none.
    static bool digestAt(ConstByteView resources, uint64_t *offset);
};
