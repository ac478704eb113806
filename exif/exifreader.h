#pragma once

#include <cstdint>
#include <cstdio>

#include "byteview.h"
#include "exifinfo.h"
#include "jpegsection.h"
#include "tiffwalker.h"

// Reads a JPEG file's header segments up to the start of scan, holds the
// useful ones and decodes the EXIF block of every "Exif" APP1 segment into an
// ExifInfo record. One reader serves one file: construct, readJpeg once, read
// the record, destroy. Errors are reported by bool results; the text of the
// last one stays in errorText.
class ExifReader {
public:
    static constexpr int kMaxSections = 20;      // segments held at most
    static constexpr int kMaxMarkerBytes = 7;    // 0xFF fill bytes + code read at most
    static constexpr int kMaxDirectoryDepth = TiffWalker::kMaxDepth;              // nesting of directory links
    static constexpr int kMaxDirectoriesPerBlock = TiffWalker::kMaxDirectories;   // directories decoded in one block

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
    // length bytes, which holds segmentLength - 2 bytes) with an ExifDecoder.
    // May write NULs into the payload (trailing spaces of a UserComment).
    // True when the headers and the first directory were decoded.
    bool decodeExifBlock(unsigned char *payload, int segmentLength);

    ExifInfo *info;
    char errorText[256];
    JpegSection sections[kMaxSections];
    int sectionCount;
    bool ownsInfo;
    // Where the value of the DateTimeOriginal last decoded starts, counted
    // from the start of the payload given to decodeExifBlock (the "Exif"
    // name); -1 when that block held none.
    int64_t originalDateAt = -1;

private:
    void setError(const char *text);
    void dropLastSection();
};
