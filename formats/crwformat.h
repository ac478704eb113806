#pragma once

#include "fileformat.h"

// Canon's CRW RAW files: a CIFF heap after a short header ("II" or "MM", the
// header's length, "HEAPCCDR"). A heap keeps its values first and, at its
// end, the offset of its table of entries; an entry's value lies in the heap
// (size and offset) or in the entry itself, and some values are heaps again.
//
// The capture time is the CaptureTime entry (0x180e): 32-bit seconds since
// 1970 as the camera's clock read them, then a zone code and zone
// information that a shift leaves alone. Its seconds are the field, in
// little-endian files only (no encoding spells them big-endian); the camera
// comes from the MakeModel entry (0x080a: two NUL-ended texts).
//
// A file whose heaps are damaged (a value outside its heap, a heap within
// itself, too many heaps or entries), whose time is missing or zero, or that
// is big-endian is claimed but not supported: it has no fields.
class CrwFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Raw; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
