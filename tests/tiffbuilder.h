// A tiny builder for TIFF files and the RAW files built like them, so that a
// test case reads as one line of intent:
//
//   Tiff t(Header::BigMotorola);
//   const int exif = t.addDirectory();
//   t.ascii(0, tag::Make, "Nikon").subDirectory(0, tag::ExifIfd, exif)
//       .ascii(exif, tag::DateTimeOriginal, "2012:05:06 10:00:00").image(0, 4096);
//   Bytes file = t.bytes();
//
// Layout: the header, then every directory in index order, each followed by
// the out-of-line values of its entries in insertion order, then the data
// pieces (image data, previews) in the order they were added; with
// dataFirst() the pieces come right after the header instead. Entries are
// written in insertion order, so a test decides where each value lands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpegbuilder.h"

namespace tifftest {

using jpegtest::Bytes;
namespace format = jpegtest::format;

namespace tag {
enum : uint16_t {
    PanasonicJpeg = 0x002E, Compression = 0x0103, Make = 0x010F, Model = 0x0110, StripOffsets = 0x0111,
    StripByteCounts = 0x0117, DateTime = 0x0132, SubIfds = 0x014A, Xmp = 700, ThumbnailOffset = 0x0201,
    ThumbnailLength = 0x0202, Iptc = 33723, ImageResources = 34377, ExifIfd = 0x8769, DateTimeOriginal = 0x9003,
    DateTimeDigitized = 0x9004, MakerNote = 0x927C, InteropIfd = 0xA005,
};
}

// The header variants: TIFF and BigTIFF in both byte orders, Panasonic's
// "IIU", Olympus's "IIRO", "IIRS" and "MMOR".
enum class Header { Intel, Motorola, BigIntel, BigMotorola, Panasonic, OlympusRO, OlympusRS, OlympusMM };

class Tiff {
public:
    explicit Tiff(Header header = Header::Intel);

    bool motorola() const;
    bool big() const;
    int addDirectory();   // returns its index; 0 is IFD0

    Tiff &ascii(int dir, uint16_t tag, const std::string &text);   // the text and its NUL
    Tiff &shortValue(int dir, uint16_t tag, uint16_t value);
    Tiff &longValue(int dir, uint16_t tag, uint32_t value);
    // Raw bytes (UNDEFINED by default, or BYTE, ASCII...), one component each.
    Tiff &bytes(int dir, uint16_t tag, const Bytes &data, uint16_t type = format::Undefined);
    // Any value: `count` components of `type`, already in the file's byte order.
    Tiff &value(int dir, uint16_t tag, uint16_t type, uint64_t count, const Bytes &value);
    // An entry whose value field is written verbatim (for broken offsets).
    Tiff &rawEntry(int dir, uint16_t tag, uint16_t type, uint64_t count, uint64_t field);
    // A link to directory `child` (EXIF, interoperability), and the SubIFDs list.
    Tiff &subDirectory(int dir, uint16_t tag, int child);
    Tiff &subIfds(int dir, const std::vector<int> &children);
    // The next-directory link of `dir`: to directory `child`, or a verbatim offset.
    Tiff &next(int dir, int child);
    Tiff &nextRaw(int dir, uint64_t offset);
    // The header's first-directory field, written verbatim.
    Tiff &headerOffset(uint64_t offset);
    // An entry whose value field holds the offset of data piece `piece` plus
    // `delta`, whatever its type and count: a link to a directory written by
    // hand, or a value inside (or across) a piece.
    Tiff &atData(int dir, uint16_t tag, uint16_t type, uint64_t count, int piece, int64_t delta = 0);
    // The next-directory link of `dir` to a data piece.
    Tiff &nextData(int dir, int piece);

    // A data piece: returns its index. image() adds `n` bytes of filler
    // (never 0xFF) as the single strip of `dir`.
    int addData(const Bytes &data);
    Tiff &image(int dir, uint64_t n, uint16_t compression = 1);
    // A piece as the single JPEG-compressed strip of `dir` (compression 7).
    Tiff &jpegStrip(int dir, const Bytes &jpeg);
    // A piece as the JPEG of `dir` (its offset and length tags).
    Tiff &jpeg(int dir, const Bytes &jpeg);
    // The pieces go right after the header, the directories after them.
    Tiff &dataFirst();

    // Numbers in the file's byte order.
    Bytes u16(uint16_t v) const;
    Bytes u32(uint32_t v) const;
    Bytes u64(uint64_t v) const;

    Bytes bytes() const;

private:
    struct Entry {
        Entry(uint16_t t, uint16_t ty, uint64_t n, const Bytes &v) : tag(t), type(ty), count(n), data(v) {}
        uint16_t tag;
        uint16_t type;
        uint64_t count;
        Bytes data;                 // the value (inline when it fits)
        bool verbatim = false;      // `field` written as is
        uint64_t field = 0;
        std::vector<int> children;  // directory links
        int piece = -1;             // the offset (or, with `length`, the size) of a data piece
        bool length = false;
        bool inField = false;       // the piece's offset + `delta` as the value field
        int64_t delta = 0;
    };
    struct Directory {
        std::vector<Entry> entries;
        int next = -1;
        int nextPiece = -1;
        bool nextVerbatim = false;
        uint64_t nextField = 0;
    };
    struct Piece {
        Bytes data;
        uint64_t filler = 0;   // or this many filler bytes
    };
    Tiff &pieceEntry(int dir, uint16_t tag, int piece, bool length);
    Tiff &retag(int dir, uint16_t tag);   // the tag of the last entry of `dir`
    void put(Bytes &out, uint64_t v, unsigned width) const;

    Header header;
    std::vector<Directory> dirs;
    std::vector<Piece> pieces;
    bool piecesFirst = false;
    bool headerVerbatim = false;
    uint64_t headerField = 0;
};

// Image resources holding only the IPTC digest resource (0x0425), as a TIFF's
// tag 34377 carries it beside the IPTC data of tag 33723.
Bytes digestResource(const Bytes &sixteen);

} // namespace tifftest
