#pragma once

#include <cstddef>

#include "bytesource.h"
#include "datefield.h"

// What a user calls a kind of file: chosen with --types, shown in listings.
enum class FileKind : uint8_t { Jpeg, Raw, Tiff, Heif, Video };

// One kind of file: tells whether content is its own (by its first bytes)
// and where such a file keeps its capture time. A format holds no state
// between calls and may be used from several threads at once.
class FileFormat {
public:
    virtual ~FileFormat() = default;
    // A short name ("JPEG").
    virtual const char *name() const = 0;
    // The file name extensions of candidates, lower case, without the dot;
    // the list ends with a null pointer.
    virtual const char *const *extensions() const = 0;
    // The kind of a file this format claimed, named `extension` (without the
    // dot, any letter case, `n` bytes): a TIFF structure is a RAW file or a
    // TIFF picture by its name.
    virtual FileKind kind(const char *extension, size_t n) const = 0;
    // True when the file's first bytes (`n` of them, as many as the file has
    // up to sniffBytes) are this format's.
    virtual bool sniff(const unsigned char *head, size_t n) const = 0;
    // Reads the file and fills `found`. False when the file is not of this
    // format after all or cannot be read; `found` then still tells what was read.
    virtual bool locate(ByteSource &file, FoundDates *found) const = 0;

    static constexpr size_t sniffBytes = 64;
};
