#pragma once

#include <cstdint>

#include "fileformat.h"

// Canon's CR3 RAW files: ISO base media files claimed by an 'ftyp' box whose
// major brand is "crx ". Inside 'moov', Canon's 'uuid' box holds the EXIF
// data as whole TIFF structures, one per box: CMT1 (IFD0: the camera and
// ModifyDate), CMT2 (the EXIF directory: DateTimeOriginal, CreateDate and the
// zone's offset), CMT3 (the maker notes; their TimeInfo tells the zone too)
// and CMT4 (GPS, not read). Each goes through TiffFormat::locateBlock; the
// capture time is DateTimeOriginal of CMT2, else of CMT1, and every text copy
// of it in the three blocks is a field. The XMP packet ('uuid' box, at the
// top level or in 'moov') adds its date-times.
//
// The movie, track and media headers ('mvhd', 'trak/tkhd', 'trak/mdia/mdhd')
// hold the capture time too, in UTC, as seconds since 1904: each creation or
// modification time that is the capture time in the camera's zone (the
// EXIF offset or Canon's TimeInfo when the file names one, else the distance
// of the movie's creation time to the capture text, a whole number of quarter
// hours up to 14 hours) is a field whose skew is that distance, give or take
// the minute a camera takes to write the file. Zero times and later edit
// times stay as they are.
//
// Only box headers and the boxes used are read, never the image data. Damage
// anywhere on that path (a box that does not fit, a TIFF structure whose
// links leave its box) leaves the file with no fields.
class Cr3Format : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Raw; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;

    // The largest XMP packet read.
    static constexpr size_t kMaxXmp = 4 * 1024 * 1024;
    // How far a header time may lie from the capture time in the camera's
    // zone: the time the camera takes to write the file.
    static constexpr int64_t kWritingDelay = 60;
    // The largest zone offset, either way.
    static constexpr int64_t kMaxZone = 14 * 3600;
};
