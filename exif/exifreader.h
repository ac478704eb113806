#pragma once

#include <cstdint>
#include <cstdio>

#include "byteview.h"
#include "exifinfo.h"
#include "jpegsection.h"

// Reads a JPEG file's header segments up to the start of scan, holds the
// useful ones and decodes the EXIF block of every "Exif" APP1 segment into an
// ExifInfo record. One reader serves one file: construct, readJpeg once, read
// the record, destroy. Errors are reported by bool results; the text of the
// last one stays in errorText.
class ExifReader {
public:
    static constexpr int kMaxSections = 20;      // segments held at most
    static constexpr int kMaxMarkerBytes = 7;    // 0xFF fill bytes + code read at most
    static constexpr int kMaxDirectoryDepth = 16;        // nesting of directory links
    static constexpr int kMaxDirectoriesPerBlock = 64;   // directories decoded in one block

    // Fills `info` when given (the caller clears it); otherwise allocates a
    // cleared record of its own and releases it on destruction.
    explicit ExifReader(ExifInfo *info);
    ~ExifReader();
    ExifReader(const ExifReader &) = delete;
    ExifReader &operator=(const ExifReader &) = delete;

    // Reads from the stream's current position up to and including the
    // start-of-scan segment, and not one byte further. True when that
    // segment was reached.
    bool readJpeg(FILE *file);

    // Start-of-frame segment (whole buffer, length bytes included): size,
    // components and marker. A segment too short for them sets nothing.
    void readFrameHeader(ByteView segment, int marker);
    // Comment segment (whole buffer, length bytes included) into commentText.
    void readComment(ByteView segment);
    // Unsigned big-endian 16-bit number at the start of `bytes`; 0 if short.
    static int readBigEndian16(ByteView bytes);

    // Decodes the payload of an "Exif" APP1 segment (the buffer after its two
    // length bytes, which holds segmentLength - 2 bytes). May write NULs into
    // the payload (trailing spaces of a UserComment). True when the headers
    // and the first directory were decoded.
    bool decodeExifBlock(unsigned char *payload, int segmentLength);
    // One directory at `offset` inside `block` (the TIFF structure, whose
    // start is the base of every offset). False when it is malformed.
    bool decodeDirectory(ByteView block, uint64_t offset, int depth = 0);
    // First component of a value of the given format, in the block's byte order.
    double numericValue(ByteView value, int format) const;
    uint16_t read16(ByteView bytes) const;
    uint32_t read32(ByteView bytes) const;
    int32_t read32Signed(ByteView bytes) const;

    ExifInfo *info;
    char errorText[256];
    int largestPixelDimension;
    int bigEndian;
    JpegSection sections[kMaxSections];
    int sectionCount;
    bool ownsInfo;

private:
    void setError(const char *text);
    void dropLastSection();
    bool decodeTag(ByteView block, uint64_t valueAt, uint64_t byteCount, int format, int tag,
                   int depth, int &thumbnailOffset, int &thumbnailLength);
    bool followLink(ByteView block, uint64_t offset, int depth);
    void applyUserComment(ByteView block, uint64_t valueAt, uint64_t byteCount);

    // Directory offsets already decoded in the current block.
    uint32_t visitedDirectories[kMaxDirectoriesPerBlock];
    int visitedCount;
};
