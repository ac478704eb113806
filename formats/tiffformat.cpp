#include "tiffformat.h"

#include <cstring>

#include "tiffblock.h"

const char *TiffFormat::name() const
{
    return "TIFF";
}

const char *const *TiffFormat::extensions() const
{
    static const char *const list[] = {"tif", "tiff", "cr2", "nef", "nrw", "arw", "sr2", "srf", "dng", "orf", "rw2",
                                       "rwl", "pef", "srw", "erf", "3fr", "dcr", "kdc", "mos", "mef", "iiq", nullptr};
    return list;
}

FileKind TiffFormat::kind(const char *extension, size_t n) const
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const char *picture : {"tif", "tiff"}) {
        size_t i = 0;
        while (i < n && picture[i] != '\0' && lower(extension[i]) == picture[i])
            ++i;
        if (i == n && picture[i] == '\0')
            return FileKind::Tiff;
    }
    return FileKind::Raw;
}

bool TiffFormat::sniff(const unsigned char *head, size_t n) const
{
    // TIFF and BigTIFF in either byte order; Panasonic's "IIU"; Olympus's
    // "IIRO", "IIRS" and "MMOR".
    static const char *const marks[] = {"II*\0", "MM\0*", "II+\0", "MM\0+", "IIU\0", "IIRO", "IIRS", "MMOR"};
    if (n < 4)
        return false;
    for (const char *mark : marks)
        if (std::memcmp(head, mark, 4) == 0)
            return true;
    return false;
}

bool TiffFormat::locate(ByteSource &file, FoundDates *found) const
{
    return locateBlock(file, 0, file.size(), found);
}

bool TiffFormat::locateBlock(ByteSource &file, uint64_t base, uint64_t length, FoundDates *found)
{
    TiffBlock block(file, base, length);
    return block.locate(found);
}
