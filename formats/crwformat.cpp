#include "crwformat.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "datecodec.h"

namespace {

constexpr size_t kHeadBytes = 14;        // byte order, header length, "HEAPCCDR"
constexpr uint64_t kEntryBytes = 10;     // tag, size, offset
constexpr int kMostDepth = 8;            // real files nest heaps three deep
constexpr int kMostHeaps = 256;
constexpr uint64_t kMostEntries = 8192;  // over every heap walked
constexpr uint32_t kMakeModelBytes = 128;

// The parts of an entry's tag.
constexpr uint16_t kLocation = 0xC000;   // where the value lies
constexpr uint16_t kInHeap = 0x0000;
constexpr uint16_t kInEntry = 0x4000;    // the 8 bytes of size and offset hold it
constexpr uint16_t kType = 0x3800;
constexpr uint16_t kHeapTypeA = 0x2800;
constexpr uint16_t kHeapTypeB = 0x3000;
constexpr uint16_t kId = 0x3FFF;         // type and number
constexpr uint16_t kCaptureTime = 0x180E;
constexpr uint16_t kMakeModel = 0x080A;

// One walk over the heaps of a file.
class HeapWalk {
public:
    HeapWalk(ByteSource &file, bool bigEndian) : file(file), bigEndian(bigEndian) {}

    // Walks the heap of `length` bytes at `start` and the heaps within it.
    // False when it is damaged or a read failed.
    bool walk(uint64_t start, uint64_t length, int depth);

    bool readFailed = false;
    uint64_t end = 0;                  // just past the last byte read
    std::vector<uint64_t> times;       // where each capture time's seconds lie
    std::string makeModel;             // the MakeModel value, up to its first bytes

    uint32_t u32(const unsigned char *p) const
    {
        return bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                         : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    uint16_t u16(const unsigned char *p) const
    {
        return uint16_t(bigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }

private:
    bool read(uint64_t offset, void *to, size_t n)
    {
        if (!file.readAt(offset, to, n)) {
            readFailed = true;
            return false;
        }
        end = std::max(end, offset + n);
        return true;
    }
    bool entry(const unsigned char *e, uint64_t at, uint64_t start, uint64_t length, int depth);

    ByteSource &file;
    bool bigEndian;
    int heaps = 0;
    uint64_t entries = 0;
};

bool HeapWalk::walk(uint64_t start, uint64_t length, int depth)
{
    // The table's offset in the heap's last 4 bytes; the table (a count and
    // the entries) lies before them.
    unsigned char b[4];
    if (depth > kMostDepth || ++heaps > kMostHeaps || length < 6 || !read(start + length - 4, b, 4))
        return false;
    const uint64_t table = u32(b);
    if (table > length - 6 || !read(start + table, b, 2))
        return false;
    const uint64_t count = u16(b);
    entries += count;
    if (entries > kMostEntries || count * kEntryBytes > length - 6 - table)
        return false;
    std::vector<unsigned char> bytes(size_t(count * kEntryBytes));
    if (count && !read(start + table + 2, bytes.data(), bytes.size()))
        return false;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t at = start + table + 2 + i * kEntryBytes;
        if (!entry(bytes.data() + i * kEntryBytes, at, start, length, depth))
            return false;
    }
    return true;
}

bool HeapWalk::entry(const unsigned char *e, uint64_t at, uint64_t start, uint64_t length, int depth)
{
    const uint16_t tag = u16(e);
    const uint32_t size = u32(e + 2), offset = u32(e + 6);
    if ((tag & kLocation) == kInEntry) {
        // The value is the entry's last 8 bytes: only the time's seconds matter.
        if ((tag & kId) == kCaptureTime)
            times.push_back(at + 2);
        return true;
    }
    if ((tag & kLocation) != kInHeap || offset > length || size > length - offset)
        return false;
    const uint64_t value = start + offset;
    if ((tag & kType) == kHeapTypeA || (tag & kType) == kHeapTypeB) {
        // A heap is strictly within its parent: one that is its parent again
        // would be walked for ever.
        if (offset == 0 && size == length)
            return false;
        return walk(value, size, depth + 1);
    }
    if ((tag & kId) == kCaptureTime) {
        if (size < 4)
            return false;
        times.push_back(value);
    } else if ((tag & kId) == kMakeModel && makeModel.empty() && size > 0) {
        makeModel.assign(std::min(size, kMakeModelBytes), '\0');
        if (!read(value, &makeModel[0], makeModel.size()))
            return false;
    }
    return true;
}

} // namespace

const char *CrwFormat::name() const
{
    return "CRW";
}

const char *const *CrwFormat::extensions() const
{
    static const char *const list[] = {"crw", nullptr};
    return list;
}

bool CrwFormat::sniff(const unsigned char *head, size_t n) const
{
    return n >= kHeadBytes && ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))
           && std::memcmp(head + 6, "HEAPCCDR", 8) == 0;
}

bool CrwFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[kHeadBytes];
    if (!file.readAt(0, head, sizeof head) || !sniff(head, sizeof head))
        return false;
    found->headerEnd = sizeof head;
    const bool bigEndian = head[0] == 'M';
    HeapWalk heaps(file, bigEndian);

    // The root heap runs from the end of the header to the end of the file.
    const uint64_t start = heaps.u32(head + 2), size = file.size();
    found->unsupported = true;
    const bool walked = start >= kHeadBytes && start < size && heaps.walk(start, size - start, 0);
    found->headerEnd = std::max(found->headerEnd, heaps.end);
    if (!walked)
        return !heaps.readFailed;
    found->hasMetadata = true;

    // "Make\0Model\0", either cut at the end of the value.
    const std::string &mm = heaps.makeModel;
    const size_t makeEnd = std::min(mm.find('\0'), mm.size());
    found->make = mm.substr(0, makeEnd);
    if (makeEnd < mm.size())
        found->model = mm.substr(makeEnd + 1, std::min(mm.find('\0', makeEnd + 1), mm.size()) - makeEnd - 1);

    if (heaps.times.empty())
        return true;
    unsigned char seconds[4];
    if (!file.readAt(heaps.times.front(), seconds, 4))
        return false;
    found->headerEnd = std::max(found->headerEnd, heaps.times.front() + 4);
    const uint32_t count = heaps.u32(seconds);
    unsigned char text[19];
    if (count == 0 || !DateCodec::encode(DateEncoding::ExifText, DateCodec::fromEpochSeconds(count), text))
        return true;
    found->captureText.assign(reinterpret_cast<const char *>(text), sizeof text);
    if (bigEndian)
        return true;

    // Every copy of the time that holds the same seconds, the first one met
    // the capture time. Two entries may share a value (it is listed once);
    // values that half overlap are not a structure to write into.
    std::vector<DateField> fields;
    for (size_t i = 0; i < heaps.times.size(); ++i) {
        const uint64_t at = heaps.times[i];
        unsigned char copy[4];
        if (!file.readAt(at, copy, 4))
            return false;
        found->headerEnd = std::max(found->headerEnd, at + 4);
        if (std::memcmp(copy, seconds, 4) != 0)
            continue;
        DateField f;
        f.offset = at;
        f.width = 4;
        f.encoding = DateEncoding::Seconds1970x32LE;
        f.role = i == 0 ? DateRole::Capture : DateRole::Copy;
        f.value.assign(reinterpret_cast<const char *>(copy), 4);
        fields.push_back(f);
    }
    std::sort(fields.begin(), fields.end(), [](const DateField &a, const DateField &b) {
        return a.offset != b.offset ? a.offset < b.offset : a.role == DateRole::Capture && b.role != DateRole::Capture;
    });
    for (const DateField &f : fields) {
        if (!found->fields.empty() && found->fields.back().offset == f.offset)
            continue;
        if (!found->fields.empty() && found->fields.back().offset + 4 > f.offset) {
            found->fields.clear();
            return true;
        }
        found->fields.push_back(f);
    }
    found->unsupported = false;
    return true;
}
