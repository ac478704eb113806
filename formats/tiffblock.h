#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytesource.h"
#include "datecodec.h"
#include "datefield.h"
#include "fieldset.h"
#include "tiffreader.h"

// The capture time of one TIFF structure and every copy of it there, read
// through a TiffReader (headers, directories and the values used, never the
// image data):
//
// - the capture time is DateTimeOriginal of the first EXIF directory that has
//   one, else of IFD0; the camera is IFD0's Make and Model;
// - fields: every ASCII value of 19 bytes or more, in any directory walked,
//   that starts with the capture time's text; the 19-byte runs equal to it
//   inside a maker note (its first kMaxMakerNote bytes); the XMP date-times
//   of the XMP packet (tag 700); the IPTC date and time pairs of the IPTC data
//   (tag 33723) and of the image resources (tag 34377), whose IPTC digest
//   becomes a derived field; and the fields of each embedded JPEG preview
//   that tells the same capture time.
//
// A structure whose directories are damaged, or whose date values overlap
// its directories or one another, gives no fields at all: what a shift would
// write there cannot be trusted.
class TiffBlock {
public:
    static constexpr uint64_t kMaxMakerNote = 256 * 1024;
    // An XMP packet, IPTC data or image resources larger than this are left alone.
    static constexpr uint64_t kMaxPacket = 16 * 1024 * 1024;
    static constexpr int kMaxPreviews = 8;

    // The structure starts `base` bytes into the file and is at most `length` bytes long.
    TiffBlock(ByteSource &file, uint64_t base, uint64_t length);

    // Fills `found` afresh, with the file's offsets. False when the header or
    // IFD0 cannot be read, or the structure is damaged (`found` then holds
    // no metadata).
    bool locate(FoundDates *found);

private:
    using Entry = TiffReader::Entry;
    struct Digest {
        bool current = false;
        DerivedField field;
    };

    const unsigned char *value(const Entry &entry, uint64_t n);
    std::string text(const Entry &entry, size_t limit);
    int captureEntry() const;
    bool dateCopies(int capture);
    void makerNote(const Entry &entry);
    void xmp(const Entry &entry);
    void iptc();
    void previews();
    void preview(uint64_t relative, uint64_t length);
    bool touchesStructure(uint64_t offset, uint64_t width) const;
    bool fail();

    ByteSource &file;
    TiffReader reader;
    uint64_t base;
    FoundDates *found = nullptr;
    WallClock capture;
    FieldSet fields;
    std::vector<Digest> digests;
    uint64_t previewEnd = 0;
};
