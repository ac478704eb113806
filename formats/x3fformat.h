#pragma once

#include "fileformat.h"

// Sigma's X3F RAW files, claimed by their "FOVb" mark. Their EXIF lives in an
// embedded JPEG or in a property list this program does not move in place, so
// a claimed file is always counted as not supported and never written.
class X3fFormat : public FileFormat {
public:
    const char *name() const override;
    const char *const *extensions() const override;
    FileKind kind(const char *, size_t) const override { return FileKind::Raw; }
    bool sniff(const unsigned char *head, size_t n) const override;
    bool locate(ByteSource &file, FoundDates *found) const override;
};
