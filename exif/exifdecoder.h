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
    // Decodes a payload it may not write: a block that needs a write (a
    // UserComment with trailing spaces) is read on, but needsWritableCopy()
    // then says that the record is not to be trusted and the caller decodes
    // a copy of the payload instead. Most blocks need no copy.
    ExifDecoder(ConstByteView payload, ExifInfo *info);

    // True when the name, the TIFF header and IFD0 were decoded.
    bool decode();

    // The last error met, or null when there was none.
    const char *lastError() const { return error_; }
    // Where the tags lie, counted from the start of the TIFF structure.
    const TiffWalker &walker() const { return tiff; }
    // True when a read-only payload would have been written.
    bool needsWritableCopy() const { return wantedWrite; }

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
    bool writable = true;
    bool wantedWrite = false;
    int largestPixelDimension = 0;
    // The thumbnail offset and length of each directory being walked, by depth.
    int thumbnailOffset[TiffWalker::kMaxDepth + 1] = {};
    int thumbnailLength[TiffWalker::kMaxDepth + 1] = {};
};
