#pragma once

#include "fileformat.h"

// TIFF pictures and the RAW files built on a TIFF structure (CR2, NEF, ARW,
// DNG, ORF, RW2, PEF...), BigTIFF among them. Claimed by the header: the
// byte-order mark and a magic number of TIFF, BigTIFF, Panasonic or Olympus.
// The structure is read in small reads through the ByteSource: directories
// and the values they point to, never the image data (see TiffBlock for what
// counts as a field). A file named as a TIFF picture is a TIFF, any other a
// RAW file.
class TiffFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *extension, size_t n) const override;
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;

    // The capture time and fields of one TIFF structure that starts `base`
    // bytes into the file and is at most `length` bytes long (a RAW format
    // that embeds one calls this). `found` is filled afresh; its offsets are
    // the file's. False when the structure's header or IFD0 cannot be read
    // or the structure is damaged; `found` then has no metadata.
    static bool locateBlock(ByteSource &file, uint64_t base, uint64_t length, FoundDates *found);
};
