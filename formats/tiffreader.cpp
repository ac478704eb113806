#include "tiffreader.h"

#include <algorithm>

namespace {

// Bytes per component of each type code 0..18 (13 is a 32-bit directory
// offset; 16 to 18 are BigTIFF's 64-bit numbers and directory offsets).
constexpr unsigned kTypeSize[19] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};

constexpr uint16_t kExifIfdTag = 0x8769;
constexpr uint16_t kInteropIfdTag = 0xA005;
constexpr uint16_t kSubIfdsTag = 0x014A;

// The magic numbers after the byte-order mark: TIFF, BigTIFF, Panasonic
// ("IIU\0"), Olympus ("IIRO" and "MMOR", "IIRS").
constexpr uint16_t kClassic = 42, kBig = 43, kPanasonic = 0x55, kOlympusRO = 0x4F52, kOlympusRS = 0x5352;

// A SubIFDs entry lists at most this many directories that are followed.
constexpr uint64_t kMaxSubIfds = 32;

// A count beyond this has no value any file holds: its byte count is taken
// as one that fits nowhere.
constexpr uint64_t kMaxCount = uint64_t(1) << 48;

} // namespace

TiffReader::TiffReader(ByteSource &source, uint64_t base, uint64_t length) : file(source), start(base), size(0)
{
    const uint64_t total = source.size();
    if (base <= total)
        size = std::min(length, total - base);
}

unsigned TiffReader::typeSize(uint16_t type)
{
    return type < sizeof kTypeSize / sizeof kTypeSize[0] ? kTypeSize[type] : 0;
}

bool TiffReader::inside(uint64_t offset, uint64_t n) const
{
    return offset >= start && offset - start <= size && n <= size - (offset - start);
}

const unsigned char *TiffReader::fetch(uint64_t offset, uint64_t n)
{
    if (!inside(offset, n))
        return nullptr;
    if (!(offset >= windowAt && offset - windowAt <= window.size() && n <= window.size() - (offset - windowAt))) {
        // A new window from `offset`: what was asked and what follows it, up
        // to the structure's end.
        const uint64_t want = std::min(std::max<uint64_t>(n, kWindow), start + size - offset);
        window.resize(size_t(want));
        if (want && !file.readAt(offset, window.data(), size_t(want))) {
            window.clear();
            windowAt = 0;
            return nullptr;
        }
        windowAt = offset;
    }
    furthest = std::max(furthest, offset + n);
    return window.data() + (offset - windowAt);
}

uint64_t TiffReader::unsignedAt(const unsigned char *bytes, unsigned width) const
{
    uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i)
        v = motorola ? v << 8 | bytes[i] : v | uint64_t(bytes[i]) << (8 * i);
    return v;
}

bool TiffReader::isInteger(uint16_t type)
{
    switch (type) {
    case 1: case 3: case 4: case 13: case 16: case 18:
        return true;
    default:
        return false;
    }
}

bool TiffReader::number(const Entry &entry, uint64_t index, uint64_t *value)
{
    if (!isInteger(entry.type))
        return false;
    const unsigned width = typeSize(entry.type);
    if (index >= entry.count || entry.byteCount == UINT64_MAX)
        return false;
    const unsigned char *p = fetch(entry.valueOffset + index * width, width);
    if (!p)
        return false;
    *value = unsignedAt(p, width);
    return true;
}

bool TiffReader::readHeader(uint64_t *first)
{
    const unsigned char *p = fetch(start, 8);
    if (!p || !((p[0] == 'I' && p[1] == 'I') || (p[0] == 'M' && p[1] == 'M')))
        return false;
    motorola = p[0] == 'M';
    magicNumber = uint16_t(unsignedAt(p + 2, 2));
    switch (magicNumber) {
    case kClassic: case kPanasonic: case kOlympusRO: case kOlympusRS:
        *first = unsignedAt(p + 4, 4);
        break;
    case kBig:
        // Offsets are 8 bytes wide (and the header says so), then a zero.
        if (unsignedAt(p + 4, 2) != 8 || unsignedAt(p + 6, 2) != 0 || !(p = fetch(start, 16)))
            return false;
        big = true;
        *first = unsignedAt(p + 8, 8);
        break;
    default:
        return false;
    }
    return true;
}

bool TiffReader::read()
{
    uint64_t first = 0;
    if (!readHeader(&first) || !walkDirectory(first, Kind::Image, 0))
        return false;
    // The linked directories, in the order their links were met. The first
    // one that cannot be read ends the walk: the structure is damaged.
    for (size_t i = 0; !broken && i < pending.size(); ++i) {
        const Pending next = pending[i];
        if (!walkDirectory(next.relative, next.kind, next.page)) {
            broken = true;
            break;
        }
    }
    return true;
}

bool TiffReader::overlapsDirectory(uint64_t offset, uint64_t end) const
{
    return std::any_of(dirs.begin(), dirs.end(),
                       [&](const Directory &d) { return offset < d.end && d.offset < end; });
}

void TiffReader::queueChild(uint64_t relative, Kind kind, int page)
{
    // Each link becomes a directory walked after IFD0: more links than the
    // limit on directories is a damaged structure, whatever they point to.
    if (pending.size() + 1 >= size_t(kMaxDirectories))
        broken = true;
    else
        pending.push_back({relative, kind, page});
}

bool TiffReader::walkDirectory(uint64_t relative, Kind kind, int page)
{
    const uint64_t countSize = big ? 8 : 2, entrySize = big ? 20 : 12, linkSize = big ? 8 : 4;
    if (int(dirs.size()) >= kMaxDirectories || relative < headerSize() || relative >= size)
        return false;
    const uint64_t at = start + relative;
    const unsigned char *p = fetch(at, countSize);
    if (!p)
        return false;
    const uint64_t count = unsignedAt(p, unsigned(countSize));
    if (count > kMaxEntries || list.size() + count > kMaxTotalEntries)
        return false;
    const uint64_t tableEnd = at + countSize + entrySize * count;
    if (!inside(at, tableEnd - at))
        return false;
    // A next link cut off by the end of the structure counts as none.
    const bool hasLink = inside(tableEnd, linkSize);
    Directory dir;
    dir.offset = at;
    dir.end = tableEnd + (hasLink ? linkSize : 0);
    dir.kind = kind;
    dir.page = page;
    if (overlapsDirectory(dir.offset, dir.end) || !(p = fetch(at, dir.end - at)))
        return false;
    const uint64_t link = hasLink ? unsignedAt(p + (tableEnd - at), unsigned(linkSize)) : 0;
    dirs.push_back(dir);

    const size_t firstEntry = list.size();
    for (uint64_t i = 0; i < count; ++i) {
        const unsigned char *e = p + countSize + entrySize * i;
        Entry entry;
        entry.tag = uint16_t(unsignedAt(e, 2));
        entry.type = uint16_t(unsignedAt(e + 2, 2));
        entry.count = unsignedAt(e + 4, big ? 8 : 4);
        entry.directory = int(dirs.size()) - 1;
        const unsigned width = typeSize(entry.type);
        entry.byteCount = entry.count > kMaxCount ? UINT64_MAX : width * entry.count;
        const uint64_t field = at + countSize + entrySize * i + (big ? 12 : 8);
        if (entry.byteCount <= linkSize) {
            entry.valueOffset = field;
        } else {
            const uint64_t value = unsignedAt(e + (big ? 12 : 8), unsigned(linkSize));
            entry.valueOffset = value > UINT64_MAX - start ? UINT64_MAX : start + value;
        }
        list.push_back(entry);
    }

    // The links this directory holds; their values may lie outside the
    // window that held the table, so they are read after it.
    // A link of another type is no link; one whose value cannot be read
    // leaves the structure damaged.
    for (size_t i = firstEntry; i < list.size(); ++i) {
        const Entry entry = list[i];
        const bool exif = entry.tag == kExifIfdTag, interop = entry.tag == kInteropIfdTag;
        if (!(exif || interop || entry.tag == kSubIfdsTag) || !isInteger(entry.type))
            continue;
        const uint64_t links = exif || interop ? std::min<uint64_t>(entry.count, 1) : std::min(entry.count, kMaxSubIfds);
        for (uint64_t j = 0; j < links; ++j) {
            uint64_t child = 0;
            if (!number(entry, j, &child))
                broken = true;
            else if (child != 0)
                queueChild(child, exif ? Kind::Exif : interop ? Kind::Interop : Kind::SubImage, 0);
        }
    }
    // Only images chain on to further images; the EXIF and interoperability
    // directories have no next directory, whatever their link field holds.
    if (link != 0 && (kind == Kind::Image || kind == Kind::SubImage))
        queueChild(link, kind, page + 1);
    return true;
}
