#pragma once

#include "fileformat.h"

// Minolta's MRW RAW files: a "\0MRM" block (its big-endian length, then the
// blocks within it, each a 4-byte name and a big-endian length) followed by
// the image data. The "\0TTW" block holds a TIFF structure, the camera's EXIF
// block, read as TiffFormat reads one embedded in a file; the other blocks
// (the picture's sizes, white balance, settings) hold no date.
class MrwFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Raw; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
