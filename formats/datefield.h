#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How a date field spells a wall-clock time (see DateCodec).
enum class DateEncoding : uint8_t {
    ExifText,        // "yyyy:MM:dd hh:mm:ss", 19 bytes
    XmpText,         // "yyyy-MM-ddThh:mm:ss", the first 19 bytes of an XMP date-time
                     // (a fraction and a zone after them are not part of the field)
    IptcDate,        // "yyyyMMdd", 8 bytes
    IptcTime,        // "hhmmss", the first 6 bytes of an IPTC time (its zone is not part of it)
    Seconds1904x32,  // big-endian unsigned seconds since 1904-01-01 00:00:00, 4 bytes
    Seconds1904x64,  // the same in 8 bytes
    Seconds1970x32LE,  // little-endian unsigned seconds since 1970-01-01 00:00:00, 4 bytes
    RiffText,        // "WWW MMM dd hh:mm:ss yyyy", 24 bytes: an AVI's IDIT text, weekday and month
                     // names in upper case, the weekday the date's own, a day below 10 one digit
                     // after a space (as C's asctime() writes it)
};

// What a field is to the file: its capture time itself, or a copy of it.
enum class DateRole : uint8_t { Capture, Copy };

// One place in a file that holds the capture time: `width` bytes from
// `offset`, spelled in `encoding`; `value` is what those bytes held when the
// file was read.
struct DateField {
    uint64_t offset = 0;
    uint32_t width = 0;
    DateEncoding encoding = DateEncoding::ExifText;
    DateRole role = DateRole::Copy;
    std::string value;
    // The field holds the capture time moved by this many seconds: 0 for a
    // copy of it; for a copy in UTC the zone's offset taken away; for the end
    // of a recording its length added. A shift moves the field by the same
    // seconds as the capture time, so it keeps that distance.
    int64_t skew = 0;
};

// A field computed from others, recomputed when they change: today the MD5
// digest (`width` 16) that image resources keep of their IPTC data, which
// covers `coverLength` bytes from `coverOffset`.
struct DerivedField {
    enum class Kind : uint8_t { Md5 };
    uint64_t offset = 0;
    uint32_t width = 0;
    Kind kind = Kind::Md5;
    uint64_t coverOffset = 0;
    uint64_t coverLength = 0;
};

// What a format found in one file.
struct FoundDates {
    // The file is of the format that claimed it, but its structure does not
    // let its capture time be moved in place: it is counted as "format not
    // supported" and never written, whatever else was found.
    bool unsupported = false;
    // The metadata block that carries the capture time (the EXIF block) was
    // read without a fatal error.
    bool hasMetadata = false;
    // The capture time's text as stored (DateTimeOriginal), up to its first
    // NUL and at most 19 characters; empty when there is none.
    std::string captureText;
    // captureText is a time in UTC (a video's header with no copy that names
    // its zone): the worker reads it as the computer's local time, turning
    // captureText into that wall-clock time and taking the zone's offset from
    // every field's skew. False when captureText is the wall-clock time itself.
    bool captureUtc = false;
    std::string make, model;   // the camera, each up to its first NUL
    // Every field that spells the capture time, sorted by offset and never
    // overlapping. Empty unless captureText is a well-formed date.
    std::vector<DateField> fields;
    // The derived fields to recompute when the fields change (a digest that
    // did not match its data when read is not listed: see digestsLeft).
    std::vector<DerivedField> derived;
    int extendedXmp = 0;       // extended XMP parts met and left alone
    int digestsLeft = 0;       // digests that did not match their data, left alone
    // How far the format read the file: just past the last header byte it used.
    uint64_t headerEnd = 0;
    // A line about a damaged header, as the EXIF reader prints it ("No image
    // in jpeg!"); empty when there is none.
    std::string diagnostic;
};
