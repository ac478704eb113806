#include "mtsformat.h"

#include <algorithm>

namespace {

constexpr unsigned char kSync = 0x47;
constexpr uint64_t kPacket = 188;
constexpr uint64_t kStampedPacket = 192;     // a 4-byte time stamp, then a packet
constexpr uint64_t kPacketsChecked = 8;
constexpr uint16_t kLastTablePid = 0x1F;     // the ids reserved for tables

// A packet header that starts a table: no error flag, a table's id, the
// start of its payload, not scrambled, a payload present.
bool startsTable(const unsigned char *p)
{
    const unsigned pid = unsigned(p[1] & 0x1F) << 8 | p[2];
    return p[0] == kSync && (p[1] & 0x80) == 0 && (p[1] & 0x40) != 0 && pid <= kLastTablePid
           && (p[3] & 0xC0) == 0 && (p[3] & 0x10) != 0;
}

// The offset of the first packet's sync byte (0, or 4 after a time stamp);
// -1 when the first bytes are no transport stream's.
int firstSync(const unsigned char *head, size_t n)
{
    if (n >= 4 && startsTable(head))
        return 0;
    if (n >= 8 && startsTable(head + 4))
        return 4;
    return -1;
}

} // namespace

const char *MtsFormat::name() const
{
    return "MTS";
}

const char *const *MtsFormat::extensions() const
{
    static const char *const list[] = {"mts", "m2ts", nullptr};
    return list;
}

bool MtsFormat::sniff(const unsigned char *head, size_t n) const
{
    return firstSync(head, n) >= 0;
}

bool MtsFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[8];
    const size_t n = size_t(std::min<uint64_t>(file.size(), sizeof head));
    if (!file.readAt(0, head, n))
        return false;
    const int sync = firstSync(head, n);
    if (sync < 0)
        return false;
    // The packets that follow (a few of them, as many as the file has) keep
    // the sync byte at the stride its first bytes tell.
    const uint64_t stride = sync == 0 ? kPacket : kStampedPacket;
    const uint64_t packets = std::min(kPacketsChecked, file.size() / stride);
    if (packets == 0)
        return false;
    for (uint64_t i = 0; i < packets; ++i) {
        unsigned char b;
        if (!file.readAt(i * stride + uint64_t(sync), &b, 1) || b != kSync)
            return false;
    }
    found->headerEnd = std::max<uint64_t>(n, (packets - 1) * stride + uint64_t(sync) + 1);
    found->unsupported = true;
    found->hasMetadata = true;
    return true;
}
