#pragma once

#include "fileformat.h"

// AVCHD videos (.MTS, .M2TS): an MPEG transport stream of 188-byte packets,
// or of 192-byte packets that each start with a 4-byte time stamp. Claimed
// when the first packet is a table's (a program's or a service's) and the
// packets that follow keep the sync byte at their stride. The recording's
// time lies inside the H.264 stream, beside the stream's escape bytes: a new
// time may need a byte more, so it cannot be written in place, and a claimed
// file is always counted as not supported and never written.
class MtsFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Video; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
