#pragma once

#include "fileformat.h"

// AVI videos: a RIFF file of form "AVI ". The chunks and lists are walked by
// their headers, every list but the media data's 'movi'; only 'IDIT' chunks
// are read. An 'IDIT' in the header list 'hdrl' or at the top level holds the
// recording's wall-clock time as "MON SEP 10 20:52:00 2012\n\0": its first 24
// bytes are a field (DateEncoding::RiffText), the first such chunk the
// capture time, any other one that spells the same time a copy. An 'IDIT'
// this program cannot spell again exactly (another letter case, a day below
// 10 written with a zero, another form of text) makes the file not supported. The date alone in
// 'ICRD' is no field. A chunk or list that does not fit the one around it,
// lists nested too deep or too many chunks leave the file with no fields.
class AviFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Video; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
