#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "byteview.h"

// One piece of a picture's header to overwrite when its capture time moves:
// `length` bytes from `offset`, to become `newText` (always `length` bytes).
struct DateRun {
    enum Kind {
        Exif,         // "YYYY:MM:DD HH:MM:SS", anywhere in the header region
        Xmp,          // the "YYYY-MM-DDTHH:MM:SS" part of an XMP date-time value
        Iptc,         // the 8 digits of an IPTC date or the first 6 of its time
        IptcDigest,   // the 16-byte MD5 of the IPTC data, recomputed
    };
    uint64_t offset;
    uint32_t length;
    std::string newText;
    Kind kind;
};

// Finds every copy of a picture's capture time in its header bytes. A capture
// time is the text of DateTimeOriginal, "YYYY:MM:DD HH:MM:SS"; its copies are
// the texts that spell the same wall-clock time in the EXIF block, in XMP and
// in IPTC. Each copy keeps its length, so the runs change no other byte.
class HeaderDates {
public:
    static constexpr size_t kTextLength = 19;

    // What a search met; every field counts, none is reset by a search.
    struct Counts {
        int exif = 0;            // EXIF-form runs
        int xmp = 0;             // XMP date-time values moved
        int iptc = 0;            // IPTC date and time pairs moved (two runs each)
        int extendedXmp = 0;     // extended XMP segments met (left alone)
        int digestsUpdated = 0;  // IPTC digests rewritten
        int digestsLeft = 0;     // IPTC digests that did not match their data, left alone
    };

    // The runs in the header bytes [0, size) that spell `original` in EXIF,
    // XMP or IPTC form, each with the replacement for `shifted` in the same
    // form, sorted by offset and never overlapping.
    //
    // EXIF runs: every 19-byte run equal to `original`, searched blindly over
    // all of [0, size), one after the other (a match resumes the search after
    // its last byte). XMP and IPTC runs are searched only inside the segments
    // of the JPEG structure from its start-of-image marker to its start of
    // scan, each segment wholly inside [0, size). With `exifOnly`, the EXIF
    // runs alone. When the texts are no well-formed dates, EXIF runs only.
    static std::vector<DateRun> find(const unsigned char *bytes, size_t size,
                                     const char original[kTextLength],
                                     const char shifted[kTextLength], bool exifOnly,
                                     Counts *counts = nullptr);

    // The XMP date-time runs of a sidecar file, whose bytes are one XMP packet.
    static std::vector<DateRun> findInSidecar(const unsigned char *bytes, size_t size,
                                              const char original[kTextLength],
                                              const char shifted[kTextLength],
                                              Counts *counts = nullptr);

    // Writes the runs' new texts into the buffer; runs not wholly inside are skipped.
    static void apply(unsigned char *bytes, size_t size, const std::vector<DateRun> &runs);

    // True for "YYYY:MM:DD HH:MM:SS" with a digit in every digit place.
    static bool isDateText(const char text[kTextLength]);
};
