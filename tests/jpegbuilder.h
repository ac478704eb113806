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
#include <utility>
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

// An XMP packet as cameras and editors write it: one rdf:Description whose
// properties are attributes or elements, in the order they were added.
//
//   XmpPacket xmp;
//   xmp.attribute("xmp:CreateDate", "2008-03-15T09:52:01-04:00")
//       .element("exif:DateTimeOriginal", "2008-03-15T09:52:01.50");
//   Jpeg().soi().xmp(xmp) ...
class XmpPacket {
public:
    XmpPacket &attribute(const std::string &name, const std::string &value);
    XmpPacket &element(const std::string &name, const std::string &value);
    // Text placed verbatim inside the rdf:Description element.
    XmpPacket &raw(const std::string &text);
    // With the xpacket wrapper and `padding` spaces before its end (default 0).
    XmpPacket &padding(size_t spaces);

    std::string text() const;
    Bytes app1Payload() const;   // "http://ns.adobe.com/xap/1.0/", NUL, text()

private:
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string elements;
    size_t paddingSpaces = 0;
};

// The payload of one extended-XMP APP1 segment: its name, NUL, the 32-character
// GUID, the full length and this chunk's offset (big-endian), and the chunk.
Bytes extendedXmpPayload(const std::string &guid, uint32_t fullLength, uint32_t offset,
                         const std::string &chunk);

// IPTC-IIM datasets in a Photoshop image-resource block, as carried by APP13:
//
//   IptcBlock iptc;
//   iptc.dataset(2, 55, "20080315").dataset(2, 60, "095201-0400");
//   Jpeg().soi().app13(iptc.digest(md5Of(iptc.iim()))) ...
class IptcBlock {
public:
    IptcBlock &dataset(uint8_t record, uint8_t number, const std::string &data);
    // A digest resource (0x0425) holding these 16 bytes, after the IPTC resource.
    IptcBlock &digest(const Bytes &sixteen);
    // Another image resource before the IPTC one (with a name, of odd or even length).
    IptcBlock &resource(uint16_t id, const std::string &name, const Bytes &data);

    Bytes iim() const;             // the datasets as the 0x0404 resource holds them
    Bytes resources() const;       // every 8BIM resource, padded to even lengths
    Bytes app13Payload() const;    // "Photoshop 3.0", NUL, resources()

private:
    Bytes datasets;
    Bytes digestBytes;
    Bytes leading;
};

class Jpeg {
public:
    Jpeg &soi();
    // A marker segment: 0xFF, marker, big-endian length (payload + 2), payload.
    Jpeg &segment(uint8_t marker, const Bytes &payload);
    Jpeg &app1(const ExifBlock &exif) { return segment(0xE1, exif.app1Payload()); }
    Jpeg &sof(uint16_t height, uint16_t width, uint8_t components = 3, uint8_t marker = 0xC0);
    Jpeg &dqt();                     // a plausible 67-byte quantisation table
    Jpeg &xmp(const XmpPacket &packet) { return segment(0xE1, packet.app1Payload()); }
    Jpeg &app13(const IptcBlock &iptc) { return segment(0xED, iptc.app13Payload()); }
    Jpeg &comment(const std::string &text) { return segment(0xFE, Bytes(text.begin(), text.end())); }
    Jpeg &sos();                     // a 3-component scan header
    Jpeg &scanData(size_t n);        // entropy-coded filler (no 0xFF bytes)
    Jpeg &eoi();
    Jpeg &raw(const Bytes &bytes);

    // A file laid out like a camera's: SOI, APP1 (EXIF), DQT, SOF0, SOS, data, EOI.
    static Jpeg camera(const ExifBlock &exif, size_t scanBytes = 256);
    // A camera's picture taken at `date` (DateTime and DateTimeOriginal) by
    // `make` and `model` (an empty text leaves its tag out).
    static Bytes shot(const std::string &date, const std::string &make, const std::string &model,
                      ByteOrder order = ByteOrder::Intel);

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
