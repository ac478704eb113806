#pragma once

#include "fileformat.h"

// HEIC, HEIF and AVIF pictures: ISO base media files claimed by an 'ftyp' box
// that names one of the image brands. The top-level 'meta' box (a picture's:
// its handler is 'pict') lists the items in 'iinf' and where their bytes lie
// in 'iloc' (in the file, or inside the 'idat' box of 'meta'). The 'Exif'
// item holds a 4-byte big-endian offset, then (after that many bytes, in
// practice "Exif\0\0" or none) a TIFF structure: the capture time, the
// camera and the fields, as TiffFormat reads such a block. The XMP item (a
// 'mime' item of type application/rdf+xml) adds its date-times that spell
// the capture time.
//
// Only box headers, 'meta' and the items used are read, never the image
// data. Damage anywhere on that path (a box that does not fit, an item past
// the end of the file, counts beyond their boxes) leaves the file with no
// fields. An Exif item whose TIFF structure is not in one piece of the file
// (extents that do not follow each other) is claimed but not supported: its
// dates cannot be moved in place with confidence, and it is never written.
class HeifFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Heif; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;

    // The largest 'meta' box read (it is read whole), and the largest XMP item.
    static constexpr size_t kMaxMeta = 8 * 1024 * 1024;
    static constexpr size_t kMaxXmp = 4 * 1024 * 1024;
};
