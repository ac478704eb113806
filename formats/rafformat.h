#pragma once

#include "fileformat.h"

// Fujifilm's RAF RAW files, claimed by their "FUJIFILMCCD-RAW " mark. The
// header gives the offset and the length of an embedded JPEG (big-endian, at
// bytes 84 and 88) whose EXIF block holds the capture time and the camera:
// that JPEG is read as JpegFormat reads a file of its own, and its fields are
// the file's. The rest of the file (the sensor's data and its own directory)
// holds no date and is not read.
class RafFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Raw; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
