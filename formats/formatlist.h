#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "datecodec.h"
#include "fileformat.h"

// Every format Kelvaro knows, in the order they are asked.
class FormatList {
public:
    static const std::vector<const FileFormat *> &all();
    // The format that claims a file by its first bytes; null when none does.
    static const FileFormat *forContent(const unsigned char *head, size_t n);
    // True when `extension` (without the dot, any letter case) is one a format declares.
    static bool isCandidate(const char *extension, size_t n);
    // The kind of a file by its name alone, before its content is read: as the
    // format that declares `extension` (without the dot, any letter case)
    // calls such a file. False when no format declares it.
    static bool kindOfName(const char *extension, size_t n, FileKind *kind);
    // Every kind the formats name their files, in the order of FileKind.
    static std::vector<FileKind> kinds();
    // The name of a kind, as --types and the listings spell it ("jpeg", "raw",
    // "tiff"), and the kind of such a name; false for none.
    static const char *kindName(FileKind kind);
    static bool kindNamed(const char *name, size_t n, FileKind *kind);
    // The fields of a sidecar file beside a picture (its bytes whole) that
    // spell the picture's capture time: today the date-times of an XMP packet.
    static std::vector<DateField> sidecarFields(const unsigned char *bytes, size_t n, const WallClock &capture);
};
