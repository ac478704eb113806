#pragma once

#include "fileformat.h"

// JPEG pictures. The header is read from the start-of-image marker up to the
// start of scan, segment by segment, the way the EXIF reader takes it; the
// first EXIF block that decodes gives the capture time and the camera.
//
// Fields: every 19-byte copy of the capture time's EXIF text, searched
// blindly over the header (and at least its first 4096 bytes), the
// DateTimeOriginal value itself among them; then the XMP date-times of the
// XMP segments and the IPTC date and time pairs of the Photoshop segments
// that spell the same time and do not overlap a field found before them.
class JpegFormat : public FileFormat {
public:
    // The blind search for EXIF text looks at least this far into the file.
    static constexpr uint64_t minimumRegion = 4096;

    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Jpeg; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
