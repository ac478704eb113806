#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "datecodec.h"
#include "datefield.h"
#include "isobmffreader.h"
#include "quicktimetext.h"

// One time in a movie: a header's count of seconds since 1904, or a date
// text (Apple's Keys, a 'udta' text, an XMP value).
struct MovieTime {
    enum class Kind : uint8_t { Header, Keys, Day, Date, Xmp };
    Kind kind = Kind::Header;
    uint64_t offset = 0;
    DateEncoding encoding = DateEncoding::Seconds1904x32;
    bool movieCreation = false;   // the movie header's creation time
    bool valid = false;           // a time: not zero, within the years 1000 to 9999
    ZonedTime time;               // headers: their time, no zone
    std::string value;            // the field's bytes as read
};

// Where an XMP packet lies in the file.
struct PacketSpan {
    uint64_t offset = 0, length = 0;
};

// What 'moov' says about when a movie was recorded.
struct MovieContents {
    std::vector<MovieTime> times;
    int64_t durationSeconds = 0;   // the movie header's duration, whole seconds
    std::string make, model;       // Apple's Keys, when there
    std::vector<PacketSpan> xmp;   // 'udta/XMP_' and 'uuid' XMP boxes inside 'moov'
};

// Reads a movie's 'moov' box through the box reader (on `file`), header by header: the
// movie header, every track's header and media header, Apple's 'meta' (keys
// and ilst), 'udta' texts. Never the sample tables, never the media data.
class MovieBox {
public:
    static constexpr size_t kMaxText = 4096;          // one date text box
    static constexpr size_t kMaxKeys = 1024 * 1024;   // 'keys', and one ilst value
    static constexpr size_t kMaxXmp = 4 * 1024 * 1024;
    static const unsigned char kXmpUuid[16];

    // False when the box structure is damaged: `out` then tells nothing.
    static bool read(IsobmffReader &reader, ByteSource &file, const IsoBox &moov, MovieContents *out);
};
