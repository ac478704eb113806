#pragma once

#include <cstddef>

#include "byteview.h"
#include "exifinfo.h"
#include "tiffwalker.h"

// Decodes the payload of one "Exif" APP1 segment into an ExifInfo record:
// the "Exif\0\0" name, then a TIFF structure whose directories a TiffWalker
// walks. The record keeps what earlier blocks put there, except the values
// each block starts afresh (flash, comment). One decoder serves one block.
class ExifDecoder : private TiffWalker::Visitor {
public:
    // The TIFF structure starts this many bytes into the payload.
    static constexpr size_t kTiffStart = 6;

    // `payload` is the segment's payload (after its two length bytes). The
    // decoder may write NULs into it (the trailing spaces of a UserComment),
    // and the record's thumbnail points into it.
    ExifDecoder(ByteView payload, ExifInfo *info);

    // True when the name, the TIFF header and IFD0 were decoded.
    bool decode();

    // The last error met, or null when there was none.
    const char *lastError() const { return error_; }
    // Where the tags lie, counted from the start of the TIFF structure.
    const TiffWalker &walker() const { return tiff; }

private:
    void enterDirectory(int depth) override;
    bool entry(const TiffEntry &entry) override;
    void leaveDirectory(int depth) override;
    void error(const char *text) override { error_ = text; }
    void applyUserComment(uint64_t valueAt, uint64_t byteCount);

    ByteView data;
    ByteView block;   // the TIFF structure inside `data`
    ExifInfo *info;
    TiffWalker tiff;
    const char *error_ = nullptr;
    int largestPixelDimension = 0;
    // The thumbnail offset and length of each directory being walked, by depth.
    int thumbnailOffset[TiffWalker::kMaxDepth + 1] = {};
    int thumbnailLength[TiffWalker::kMaxDepth + 1] = {};
};
