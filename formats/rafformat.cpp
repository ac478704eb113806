#include "rafformat.h"

#include <algorithm>
#include <cstring>

#include "jpegformat.h"

namespace {

constexpr char kMark[] = "FUJIFILMCCD-RAW ";
constexpr size_t kMarkBytes = sizeof kMark - 1;
constexpr uint64_t kJpegOffsetAt = 84;     // then its length at 88
constexpr size_t kHeaderBytes = 92;

uint32_t be32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace

const char *RafFormat::name() const
{
    return "RAF";
}

const char *const *RafFormat::extensions() const
{
    static const char *const list[] = {"raf", nullptr};
    return list;
}

bool RafFormat::sniff(const unsigned char *head, size_t n) const
{
    return n >= kMarkBytes && std::memcmp(head, kMark, kMarkBytes) == 0;
}

bool RafFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    // The whole header in one read; a file cut short within it is claimed
    // by its mark alone and has nothing to be had.
    unsigned char head[kHeaderBytes];
    const size_t n = file.size() < sizeof head ? kMarkBytes : sizeof head;
    if (!file.readAt(0, head, n) || !sniff(head, n))
        return false;
    found->headerEnd = n;
    if (n < sizeof head)
        return true;

    // The JPEG lies after the header and wholly inside the file.
    const uint64_t base = be32(head + kJpegOffsetAt), length = be32(head + kJpegOffsetAt + 4);
    const uint64_t size = file.size();
    if (base < kHeaderBytes || base > size || length > size - base)
        return true;
    OffsetSource jpeg(file, base, length);
    FoundDates inner;
    const bool read = JpegFormat().locate(jpeg, &inner);
    found->headerEnd = std::max(found->headerEnd, base + inner.headerEnd);
    if (!read)
        return true;   // no JPEG where the header says

    // The JPEG's findings, its offsets moved to the file's.
    found->hasMetadata = inner.hasMetadata;
    found->captureText = inner.captureText;
    found->make = inner.make;
    found->model = inner.model;
    found->extendedXmp = inner.extendedXmp;
    found->digestsLeft = inner.digestsLeft;
    found->fields = inner.fields;
    for (DateField &f : found->fields)
        f.offset += base;
    found->derived = inner.derived;
    for (DerivedField &d : found->derived) {
        d.offset += base;
        d.coverOffset += base;
    }
    return true;
}
