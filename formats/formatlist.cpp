#include "formatlist.h"

#include <algorithm>
#include <cstring>

#include "aviformat.h"
#include "cr3format.h"
#include "crwformat.h"
#include "heifformat.h"
#include "jpegformat.h"
#include "mrwformat.h"
#include "mtsformat.h"
#include "rafformat.h"
#include "tiffformat.h"
#include "videoformat.h"
#include "x3fformat.h"
#include "xmppacket.h"

const std::vector<const FileFormat *> &FormatList::all()
{
    static const JpegFormat jpeg;
    static const TiffFormat tiff;
    static const RafFormat raf;
    static const MrwFormat mrw;
    static const CrwFormat crw;
    static const X3fFormat x3f;
    static const HeifFormat heif;
    static const Cr3Format cr3;
    static const VideoFormat video;
    static const AviFormat avi;
    static const MtsFormat mts;
    static const std::vector<const FileFormat *> formats{&jpeg, &tiff, &raf, &mrw, &crw, &x3f, &heif, &cr3, &video,
                                                         &avi, &mts};
    return formats;
}

const FileFormat *FormatList::forContent(const unsigned char *head, size_t n)
{
    for (const FileFormat *format : all())
        if (format->sniff(head, n))
            return format;
    return nullptr;
}

// The first format that declares `extension` (any letter case); null when none does.
static const FileFormat *declaring(const char *extension, size_t n)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const FileFormat *format : FormatList::all()) {
        for (const char *const *e = format->extensions(); *e; ++e) {
            size_t i = 0;
            while (i < n && (*e)[i] != '\0' && lower(extension[i]) == (*e)[i])
                ++i;
            if (i == n && (*e)[i] == '\0')
                return format;
        }
    }
    return nullptr;
}

bool FormatList::isCandidate(const char *extension, size_t n)
{
    return declaring(extension, n) != nullptr;
}

bool FormatList::kindOfName(const char *extension, size_t n, FileKind *kind)
{
    const FileFormat *format = declaring(extension, n);
    if (!format)
        return false;
    *kind = format->kind(extension, n);
    return true;
}

std::vector<FileKind> FormatList::kinds()
{
    std::vector<FileKind> found;
    for (const FileFormat *format : all()) {
        for (const char *const *e = format->extensions(); *e; ++e) {
            const FileKind kind = format->kind(*e, std::strlen(*e));
            if (std::find(found.begin(), found.end(), kind) == found.end())
                found.push_back(kind);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

const char *FormatList::kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Jpeg: return "jpeg";
    case FileKind::Raw: return "raw";
    case FileKind::Tiff: return "tiff";
    case FileKind::Heif: return "heif";
    case FileKind::Video: return "video";
    }
    return "";
}

bool FormatList::kindNamed(const char *name, size_t n, FileKind *kind)
{
    for (FileKind k : {FileKind::Jpeg, FileKind::Raw, FileKind::Tiff, FileKind::Heif, FileKind::Video}) {
        const char *known = kindName(k);
        if (std::strlen(known) == n && std::memcmp(known, name, n) == 0) {
            *kind = k;
            return true;
        }
    }
    return false;
}

std::vector<DateField> FormatList::sidecarFields(const unsigned char *bytes, size_t n, const WallClock &capture)
{
    return XmpPacket::findCopies(ConstByteView(bytes, n), 0, capture);
}
