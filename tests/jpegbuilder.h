// A tiny builder for JPEG files and their EXIF blocks, so that a test case
// reads as one line of intent:
//
//   ExifBlock exif(ByteOrder::Motorola);
//   int sub = exif.addDirectory();
//   exif.ascii(0, tag::Make, "Canon").subDirectory(0, tag::ExifIfd, sub)
//       .ascii(sub, tag::DateTimeOriginal, "2012:05:06 10:00:00");
//   std::vector<uint8_t> file = Jpeg::camera(exif).bytes();
//
// Layout: the 8-byte TIFF header, then every directory in index order, each
// followed by the out-of-line values of its entries in insertion order.
// Entries are written in insertion order (not sorted), so a test decides
// where each value lands.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace jpegtest {

using Bytes = std::vector<uint8_t>;

enum class ByteOrder { Intel, Motorola };   // "II" little-endian, "MM" big-endian

namespace tag {
enum : uint16_t {
    Make = 0x010F, Model = 0x0110, Orientation = 0x0112, XResolution = 0x011A,
    YResolution = 0x011B, ResolutionUnit = 0x0128, DateTime = 0x0132,
    ThumbnailOffset = 0x0201, ThumbnailLength = 0x0202, ExposureTime = 0x829A,
    FNumber = 0x829D, ExifIfd = 0x8769, GpsIfd = 0x8825, ExposureProgram = 0x8822,
    IsoSpeed = 0x8827, ExifVersion = 0x9000, DateTimeOriginal = 0x9003,
    DateTimeDigitized = 0x9004, CompressedBitsPerPixel = 0x9102,
    ShutterSpeedValue = 0x9201, ApertureValue = 0x9202, BrightnessValue = 0x9203,
    ExposureBiasValue = 0x9204, MaxApertureValue = 0x9205, SubjectDistance = 0x9206,
    MeteringMode = 0x9207, LightSource = 0x9208, Flash = 0x9209, FocalLength = 0x920A,
    MakerNote = 0x927C, UserComment = 0x9286, PixelXDimension = 0xA002,
    PixelYDimension = 0xA003, InteropIfd = 0xA005, FocalPlaneXResolution = 0xA20E,
    FocalPlaneYResolution = 0xA20F, FocalPlaneResolutionUnit = 0xA210,
};
}

namespace format {
enum : uint16_t { Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5, SByte = 6,
                  Undefined = 7, SShort = 8, SLong = 9, SRational = 10, Float = 11, Double = 12 };
}

class ExifBlock {
public:
    explicit ExifBlock(ByteOrder order = ByteOrder::Intel);

    ByteOrder order() const { return byteOrder; }
    int addDirectory();                                   // returns its index; 0 is IFD0

    ExifBlock &ascii(int dir, uint16_t tag, const std::string &text);   // text and its NUL
    ExifBlock &shortValue(int dir, uint16_t tag, uint16_t value);
    ExifBlock &longValue(int dir, uint16_t tag, uint32_t value);
    ExifBlock &rational(int dir, uint16_t tag, int32_t numerator, int32_t denominator,
                        uint16_t fmt = format::Rational);
    // Any value: `value` holds `count` components of `fmt`, already in the block's byte
    // order; it goes inline when it fits in 4 bytes, otherwise out of line.
    ExifBlock &value(int dir, uint16_t tag, uint16_t fmt, uint32_t count, const Bytes &value);
    // An entry whose 4-byte value field is written verbatim (for broken offsets and links).
    ExifBlock &rawEntry(int dir, uint16_t tag, uint16_t fmt, uint32_t count, uint32_t field);
    // An EXIF/interoperability sub-directory link to directory `child`.
    ExifBlock &subDirectory(int dir, uint16_t tag, int child);
    // The next-directory link of `dir`: to directory `child`, or a verbatim offset.
    ExifBlock &next(int dir, int child);
    ExifBlock &nextRaw(int dir, uint32_t offset);
    // Place IFD0 at this offset (zero filler before it); default 8.
    ExifBlock &firstDirectoryAt(uint32_t offset);
    // Write this value into the header's first-directory field, whatever the layout.
    ExifBlock &headerOffset(uint32_t offset);
    // Replace the byte-order mark or the 42 (for broken headers).
    ExifBlock &mark(const std::string &twoBytes);
    ExifBlock &magic(uint16_t value);

    // Helpers for the block's byte order.
    Bytes u16(uint16_t v) const;
    Bytes u32(uint32_t v) const;

    Bytes tiff() const;          // from the byte-order mark on
    Bytes app1Payload() const;   // "Exif\0\0" followed by tiff()

private:
    struct Entry {
        uint16_t tag;
        uint16_t fmt;
        uint32_t count;
        Bytes data;          // out-of-line or inline value
        bool verbatim;       // `field` written as is
        uint32_t field;
        int child;           // >= 0: value is the offset of that directory
    };
    struct Directory {
        std::vector<Entry> entries;
        int next = -1;
        bool nextVerbatim = false;
        uint32_t nextField = 0;
    };
    ByteOrder byteOrder;
    std::vector<Directory> dirs;
    uint32_t firstAt = 8;
    bool headerOverride = false;
    uint32_t headerField = 0;
    std::string markText;
    uint16_t magicValue = 42;
};

class Jpeg {
public:
    Jpeg &soi();
    // A marker segment: 0xFF, marker, big-endian length (payload + 2), payload.
    Jpeg &segment(uint8_t marker, const Bytes &payload);
    Jpeg &app1(const ExifBlock &exif) { return segment(0xE1, exif.app1Payload()); }
    Jpeg &sof(uint16_t height, uint16_t width, uint8_t components = 3, uint8_t marker = 0xC0);
    Jpeg &dqt();                     // a plausible 67-byte quantisation table
    Jpeg &comment(const std::string &text) { return segment(0xFE, Bytes(text.begin(), text.end())); }
    Jpeg &sos();                     // a 3-component scan header
    Jpeg &scanData(size_t n);        // entropy-coded filler (no 0xFF bytes)
    Jpeg &eoi();
    Jpeg &raw(const Bytes &bytes);

    // A file laid out like a camera's: SOI, APP1 (EXIF), DQT, SOF0, SOS, data, EOI.
    static Jpeg camera(const ExifBlock &exif, size_t scanBytes = 256);

    const Bytes &bytes() const { return data; }

private:
    Bytes data;
};

// The bytes as a read-only stream; close with fclose.
FILE *openMemory(const Bytes &bytes);
// Writes the bytes to a file; returns false on failure.
// Paths are in the encoding of QFile::encodeName on POSIX systems and UTF-8 on Windows
// (tests pass QString::toUtf8(), which is the same on POSIX systems for Qt 6).
bool writeFile(const std::string &path, const Bytes &bytes);
Bytes readFile(const std::string &path);

} // namespace jpegtest
