#include "tiffwalker.h"

#include <cstring>

namespace {

// Component size of each format code 0..12.
constexpr unsigned kFormatSize[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

constexpr uint16_t kExifIfdTag = 0x8769;
constexpr uint16_t kInteropIfdTag = 0xA005;
constexpr uint16_t kSubIfdsTag = 0x014A;

} // namespace

unsigned TiffWalker::formatSize(int format)
{
    return format >= 0 && format <= kMaxFormat ? kFormatSize[format] : 0;
}

uint16_t TiffWalker::read16(ConstByteView b) const
{
    if (b.size() < 2)
        return 0;
    if (motorola)
        return uint16_t((b[0] << 8) | b[1]);
    return uint16_t((b[1] << 8) | b[0]);
}

uint32_t TiffWalker::read32(ConstByteView b) const
{
    if (b.size() < 4)
        return 0;
    if (motorola)
        return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    return (uint32_t(b[3]) << 24) | (uint32_t(b[2]) << 16) | (uint32_t(b[1]) << 8) | b[0];
}

double TiffWalker::number(ConstByteView value, int format) const
{
    switch (format) {
    case 1:
        return value[0];
    case 3:
        return read16(value);
    case 4:
        return read32(value);
    case 5:
    case 10: {
        // Both halves are taken as signed, for RATIONAL as for SRATIONAL.
        const int32_t numerator = read32Signed(value);
        const int32_t denominator = read32Signed(value.from(4));
        return denominator == 0 ? 0.0 : double(numerator) / double(denominator);
    }
    case 6:
        return static_cast<int8_t>(value[0]);
    case 8:
        return static_cast<int16_t>(read16(value));
    case 9:
        return read32Signed(value);
    case 11: {
        const uint32_t bits = read32(value);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case 12: {
        if (value.size() < 8)
            return 0.0;
        const uint64_t first = read32(value);
        const uint64_t second = read32(value.from(4));
        const uint64_t bits = motorola ? (first << 32) | second : (second << 32) | first;
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default:
        return 0.0;   // none, ASCII, UNDEFINED
    }
}

bool TiffWalker::walk(Visitor &v)
{
    visitor = &v;
    visitedCount = 0;
    for (Location &l : locations)
        l = Location();

    if (bytes.startsWith("II", 2)) {
        motorola = false;
    } else if (bytes.startsWith("MM", 2)) {
        motorola = true;
    } else {
        visitor->error("Invalid Exif alignment marker.");
        return false;
    }
    if (read16(bytes.from(2)) != 42) {
        visitor->error("Invalid Exif start (1)");
        return false;
    }
    // The first directory may stand anywhere after the 8-byte header, as
    // long as its entry count lies inside the block.
    const uint32_t first = read32(bytes.from(4));
    if (first < 8 || !bytes.contains(first, 2)) {
        visitor->error("Suspicious offset of first IFD value");
        return false;
    }
    return directory(first, 0, TiffDirectory::Image, 0);
}

bool TiffWalker::follow(uint64_t offset, int depth, TiffDirectory kind, int chainIndex)
{
    // Links that come back to a directory already walked in this block, or
    // that nest too deeply, are not followed: the block is malformed, but
    // what was walked so far stands.
    bool seen = false;
    for (int i = 0; i < visitedCount; ++i)
        seen = seen || visited[i] == offset;
    if (seen || depth + 1 > kMaxDepth || visitedCount >= kMaxDirectories) {
        visitor->error("Illegal subdirectory link");
        return false;
    }
    return directory(offset, depth + 1, kind, chainIndex);
}

void TiffWalker::followSubImages(const TiffEntry &entry)
{
    // An array of 32-bit offsets; one that points outside the block is
    // passed over.
    if (entry.format != 4)
        return;
    for (uint64_t i = 0; i < entry.count; ++i) {
        const uint32_t child = read32(bytes.sub(entry.valueOffset + 4 * i, 4));
        if (child != 0 && bytes.contains(child, 2))
            follow(child, entry.depth, TiffDirectory::SubImage, 0);
    }
}

void TiffWalker::record(const TiffEntry &entry)
{
    int which = -1;
    switch (entry.tag) {
    case 0x0132: which = DateTime; break;
    case 0x9003: which = DateTimeOriginal; break;
    case 0x9004: which = DateTimeDigitized; break;
    case 0x010F: which = Make; break;
    case 0x0110: which = Model; break;
    default: return;
    }
    Location &l = locations[which];
    l.found = true;
    l.valueOffset = entry.valueOffset;
    l.byteCount = entry.byteCount;
    l.directory = entry.directory;
}

bool TiffWalker::directory(uint64_t offset, int depth, TiffDirectory kind, int chainIndex)
{
    if (!bytes.contains(offset, 2)) {
        visitor->error("Illegally sized directory");
        return false;
    }
    const uint64_t count = read16(bytes.from(offset));
    const uint64_t entriesEnd = offset + 2 + 12 * count;
    if (entriesEnd > bytes.size()) {
        visitor->error("Illegally sized directory");
        return false;
    }
    if (visitedCount < kMaxDirectories)
        visited[visitedCount++] = uint32_t(offset);
    visitor->enterDirectory(depth);

    for (uint64_t i = 0; i < count; ++i) {
        TiffEntry e;
        e.entryOffset = offset + 2 + 12 * i;
        const ConstByteView field = bytes.sub(e.entryOffset, 12);
        e.tag = read16(field);
        e.format = read16(field.from(2));
        e.count = read32(field.from(4));
        e.directory = kind;
        e.chainIndex = chainIndex;
        e.depth = depth;
        if (e.format > kMaxFormat) {
            visitor->error("Illegal format code in EXIF dir");
            return false;
        }
        e.byteCount = uint64_t(kFormatSize[e.format]) * e.count;   // < 2^36
        e.valueOffset = e.entryOffset + 8;
        if (e.byteCount > 4) {
            e.valueOffset = read32(field.from(8));
            if (!bytes.contains(e.valueOffset, e.byteCount)) {
                visitor->error("Illegal pointer offset value in EXIF.");
                return false;
            }
        }
        record(e);
        if (!visitor->entry(e))
            return false;

        if (e.tag == kExifIfdTag || e.tag == kInteropIfdTag) {
            // The link is read as a 32-bit number whatever the entry's format.
            const uint32_t child = read32(bytes.from(e.valueOffset));
            if (!bytes.contains(child, 2)) {
                visitor->error("Illegal subdirectory link");
                return false;
            }
            // A broken sub-directory does not fail this one.
            follow(child, depth, e.tag == kExifIfdTag ? TiffDirectory::Exif : TiffDirectory::Interop, 0);
        } else if (e.tag == kSubIfdsTag && followSubIfds) {
            followSubImages(e);
        }
    }

    // A link field cut off by the end of the block counts as no link.
    const uint32_t link = read32(bytes.sub(entriesEnd, 4));
    if (link != 0) {
        if (!bytes.contains(link, 2)) {
            visitor->error("Illegal subdirectory link");
            return false;
        }
        follow(link, depth, kind, chainIndex + 1);
    }
    visitor->leaveDirectory(depth);
    return true;
}
