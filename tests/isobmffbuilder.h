// Builders for ISO base media files, so that a test case reads as one line
// of intent:
//
//   Bytes heic = isotest::Heif(samples::camera(ByteOrder::Motorola, t).tiff()).exifOffset(0).inIdat().bytes();
//
// Heif lays out 'ftyp', 'meta' (hdlr 'pict', iinf, iloc, idat) and 'mdat'
// (the image data, then the items stored in the file), and tells where the
// TIFF structure and the image data lie. Box builds any box by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpegbuilder.h"

namespace isotest {

using jpegtest::Bytes;

struct Span {
    uint64_t offset = 0;
    uint64_t length = 0;
};

// One box: its type, its contents, then its children.
class Box {
public:
    explicit Box(const std::string &type);
    // A full box: version and flags first.
    static Box full(const std::string &type, uint8_t version, uint32_t flags = 0);

    // A big-endian number of `n` bytes (any n: beyond 8, zeros lead).
    Box &number(uint64_t v, unsigned n);
    Box &add(const Bytes &data);
    Box &text(const std::string &s);   // and its NUL
    Box &child(const Box &box);
    Box &uuid(const Bytes &sixteen);   // a 'uuid' box's extended type
    Box &largeSize();                  // the size as 1 and a 64-bit size after the type
    Box &sizeZero();                   // size 0: to the end of its parent
    Box &sizeField(uint32_t size);     // the 32-bit size written verbatim

    Bytes bytes() const;

private:
    std::string type;
    Bytes body;
    Bytes extended;
    bool large = false, zero = false, verbatim = false;
    uint32_t verbatimSize = 0;
};

// 'ftyp' with a major brand and compatible brands.
Box ftyp(const std::string &major, const std::vector<std::string> &compatible);

// A file of which a long run of zeros is not held in memory: `head`, then
// `zeros` zero bytes, then `tail`.
struct Sparse {
    Bytes head;
    uint64_t zeros = 0;
    Bytes tail;
};

// A HEIF picture (HEIC unless told otherwise) whose Exif item holds `tiff`.
class Heif {
public:
    explicit Heif(Bytes tiff);

    Heif &brand(const std::string &major, const std::vector<std::string> &compatible);
    // The Exif item's offset to its TIFF header: 6 puts "Exif\0\0" before it
    // (the default), any other value that many zeros.
    Heif &exifOffset(uint32_t skip);
    // The offset field written verbatim, whatever the layout.
    Heif &exifOffsetField(uint32_t field);
    Heif &inIdat();   // construction method 1: the Exif item inside 'idat'
    // The Exif item in `n` extents, with `gap` bytes of filler between them.
    Heif &extents(int n, uint64_t gap = 0);
    // iloc's version and field sizes (offset, length, base offset, index).
    Heif &iloc(int version, unsigned offsetSize, unsigned lengthSize, unsigned baseSize, unsigned indexSize = 0);
    Heif &infeVersion(int version);   // 2 (16-bit item ids, the default) or 3
    Heif &xmp(const std::string &packet);
    Heif &metaAfterMdat();
    Heif &imageBytes(uint64_t n);     // default 4096; not held in memory (see sparse())
    Heif &largeMdat();                // the 64-bit size form for 'mdat'
    Heif &lastSizeZero();             // the last box (mdat or meta) with size 0
    Heif &noExif();                   // the Exif item left out
    // Added to the Exif item's extent lengths and offsets, as iloc states them.
    Heif &skewExtent(int64_t length, int64_t offset = 0);

    Sparse sparse() const;
    Bytes bytes() const;
    Span tiff() const;    // where the TIFF structure lies (the first extent's part when in pieces)
    Span image() const;   // where the image data lies

private:
    Box meta(uint64_t mdatBody) const;
    Bytes exifItem() const;

    Bytes tiffBytes;
    std::string major = "heic";
    std::vector<std::string> compatible{"mif1", "heic"};
    uint32_t skip = 6;
    bool skipVerbatim = false;
    uint32_t skipField = 0;
    bool idat = false;
    int pieces = 1;
    uint64_t gap = 0;
    int ilocVersion = 1;
    unsigned offsetSize = 4, lengthSize = 4, baseSize = 0, indexSize = 0;
    int infe = 2;
    std::string packet;
    bool after = false, large = false, zeroLast = false, exif = true;
    uint64_t imageSize = 4096;
    int64_t lengthSkew = 0, offsetSkew = 0;
};

} // namespace isotest
