#pragma once

#include "fileformat.h"

// Videos: MP4, MOV, M4V, 3GP, 3G2 and GoPro's LRV previews. ISO base media
// files claimed by an 'ftyp' box naming a video brand, or QuickTime files
// that start with a 'moov', 'mdat', 'wide', 'free', 'skip' or 'pnot' box.
//
// The times of 'moov' (see MovieBox): the movie, track and media headers'
// creation and modification times (seconds since 1904, meant as UTC,
// local time by some cameras), Apple's Keys creation date and the 'udta'
// texts with their zones, and XMP (a 'uuid' box, 'udta/XMP_').
//
// The capture time: the wall-clock time of a copy that names its zone by an
// offset (Keys, then '©day', 'date', XMP); without one, the movie header's
// creation time, in UTC (captureUtc). Every time that lies within the
// movie's duration and a minute of it, either way, belongs to the recording
// and is a field, with the distance from the capture time as its skew
// (cameras write the start in one header and the end in another; a header
// in UTC lies the zone's offset away from the wall-clock time). Zoned texts
// are compared as instants; a header time both as UTC and as the wall-clock
// time. Zero times, and edits made long after (a movie header modified years
// later, XMP MetadataDate), are no fields.
//
// Only box headers, 'moov''s small boxes and XMP boxes are read, never the
// media data. A damaged box structure leaves the file with no fields.
class VideoFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Video; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
