#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bytesource.h"
#include "byteview.h"
#include "exifinfo.h"

class ExifDecoder;

// The header of a JPEG file, read once through a ByteSource into one growing
// buffer (a first large read, then more as segments need) and walked segment
// by segment from the start-of-image marker:
//
// - as the EXIF reader walks it: up to six 0xFF fill bytes before a code, a
//   length-counted segment for every code, holding at most 20 segments (the
//   JFIF, non-EXIF APP1 and every comment but the first are not held), up to
//   and including the start of scan; the first EXIF block that decodes gives
//   the record. Where that walk stops is headerEnd.
// - as the date search walks it: the same segments, over the search region
//   (the header and at least its first 4096 bytes), past the reader's limit
//   on held segments, each segment wholly inside the region; it notes the
//   XMP packets, the extended XMP parts and the Photoshop image resources.
class JpegHeader {
public:
    static constexpr uint64_t kFirstRead = 16384;
    // The date search looks at least this far into the file.
    static constexpr uint64_t kMinimumRegion = 4096;

    // Where a piece of the header lies in the file.
    struct Span {
        uint64_t offset = 0;
        uint64_t length = 0;
    };

    explicit JpegHeader(ByteSource &file);

    // Walks the header. False when the file does not start with the
    // start-of-image marker or a read failed (readFailed() tells which).
    bool read();
    bool readFailed() const { return failed; }

    // The first `n` bytes of the file (fewer at its end) in the buffer;
    // false when a read failed.
    bool ensure(uint64_t n);
    // The bytes held so far, from the start of the file.
    // Valid until the next call of ensure() (or of anything that reads on).
    ConstByteView bytes() const { return ConstByteView(direct ? direct : buffer.data(), size_t(loaded)); }
    uint64_t fileSize() const { return size; }

    // The record of the first EXIF block that decoded (hasExif), or of the
    // last one that failed to.
    const ExifInfo &exif() const { return info; }
    // Where that block's DateTimeOriginal value starts in the file; -1 when none.
    int64_t originalDateAt() const { return dateAt; }
    // Just past the last byte the EXIF reader's walk read.
    uint64_t headerEnd() const { return end; }
    // The date search's region: [0, region()).
    uint64_t region() const { return searchEnd; }

    const std::vector<Span> &xmpPackets() const { return xmp; }                 // after the name
    const std::vector<Span> &photoshopResources() const { return photoshop; }   // after the name
    int extendedXmp() const { return extended; }
    // What the EXIF reader's walk says of a damaged header (as it prints it);
    // null when nothing.
    const char *diagnostic() const { return diagnosis; }

private:
    bool byteAt(uint64_t offset, int *value);
    void readExif(ConstByteView payload, uint64_t at);
    void noteDate(const ExifDecoder &decoder, uint64_t at);
    void note(int marker, ConstByteView payload, uint64_t at);

    ByteSource &file;
    uint64_t size;
    std::vector<unsigned char> buffer;
    const unsigned char *direct = nullptr;   // the source's own bytes, when it holds them
    uint64_t loaded = 0;
    bool failed = false;

    ExifInfo info;
    int64_t dateAt = -1;
    uint64_t end = 0;
    uint64_t searchEnd = 0;
    std::vector<Span> xmp, photoshop;
    int extended = 0;
    const char *diagnosis = nullptr;
};
