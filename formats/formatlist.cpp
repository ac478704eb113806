#include "formatlist.h"

#include <cstring>

#include "jpegformat.h"
#include "xmppacket.h"

const std::vector<const FileFormat *> &FormatList::all()
{
    static const JpegFormat jpeg;
    static const std::vector<const FileFormat *> formats{&jpeg};
    return formats;
}

const FileFormat *FormatList::forContent(const unsigned char *head, size_t n)
{
    for (const FileFormat *format : all())
        if (format->sniff(head, n))
            return format;
    return nullptr;
}

bool FormatList::isCandidate(const char *extension, size_t n)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const FileFormat *format : all()) {
        for (const char *const *e = format->extensions(); *e; ++e) {
            size_t i = 0;
            while (i < n && (*e)[i] != '\0' && lower(extension[i]) == (*e)[i])
                ++i;
            if (i == n && (*e)[i] == '\0')
                return true;
        }
    }
    return false;
}

const char *FormatList::kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Jpeg: return "jpeg";
    case FileKind::Raw: return "raw";
    case FileKind::Tiff: return "tiff";
    }
    return "";
}

bool FormatList::kindNamed(const char *name, size_t n, FileKind *kind)
{
    for (FileKind k : {FileKind::Jpeg, FileKind::Raw, FileKind::Tiff}) {
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
