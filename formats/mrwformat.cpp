#include "mrwformat.h"

#include <algorithm>
#include <cstring>

#include "tiffformat.h"

namespace {

constexpr char kMark[] = {'\0', 'M', 'R', 'M'};
constexpr char kTiffBlock[] = {'\0', 'T', 'T', 'W'};
constexpr uint64_t kBlockHead = 8;   // name and length
constexpr int kMostBlocks = 64;      // cameras write five

uint32_t be32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace

const char *MrwFormat::name() const
{
    return "MRW";
}

const char *const *MrwFormat::extensions() const
{
    static const char *const list[] = {"mrw", nullptr};
    return list;
}

bool MrwFormat::sniff(const unsigned char *head, size_t n) const
{
    return n >= sizeof kMark && std::memcmp(head, kMark, sizeof kMark) == 0;
}

bool MrwFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[kBlockHead];
    const size_t n = file.size() < sizeof head ? sizeof kMark : sizeof head;
    if (!file.readAt(0, head, n) || !sniff(head, n))
        return false;
    found->headerEnd = n;
    if (n < sizeof head)
        return true;   // cut short within the mark's block head

    // The blocks within the "\0MRM" block, up to the image data; the first
    // "\0TTW" block is the one read. A block that runs past the end of its
    // parent is damage: nothing is taken from such a file.
    const uint64_t end = kBlockHead + be32(head + 4);
    if (end > file.size())
        return true;
    uint64_t at = kBlockHead, tiff = 0, tiffLength = 0;
    for (int blocks = 0; at < end && tiff == 0; ++blocks) {
        if (blocks == kMostBlocks || end - at < kBlockHead || !file.readAt(at, head, sizeof head))
            return true;
        found->headerEnd = at + kBlockHead;
        const uint64_t length = be32(head + 4);
        if (length > end - at - kBlockHead)
            return true;
        if (std::memcmp(head, kTiffBlock, sizeof kTiffBlock) == 0) {
            tiff = at + kBlockHead;
            tiffLength = length;
        }
        at += kBlockHead + length;
    }
    if (tiff == 0)
        return true;

    const uint64_t walked = found->headerEnd;
    TiffFormat::locateBlock(file, tiff, tiffLength, found);
    found->headerEnd = std::max(found->headerEnd, walked);
    return true;
}
