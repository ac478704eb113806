#include "aviformat.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "datecodec.h"

namespace {

constexpr size_t kHeadBytes = 12;        // "RIFF", its size, "AVI "
constexpr uint64_t kChunkHead = 8;       // an id and a size
constexpr int kMostDepth = 6;            // real files nest lists three deep (hdrl, strl, odml)
constexpr int kMostChunks = 4096;        // over every list walked: the media data is never walked
constexpr uint32_t kMostText = 64;       // an IDIT longer than this holds no text read here

uint32_t u32le(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool is(const unsigned char *id, const char *name)
{
    return std::memcmp(id, name, 4) == 0;
}

// One walk over the chunks of a file, its media data left out.
class ChunkWalk {
public:
    explicit ChunkWalk(ByteSource &file) : file(file) {}

    // Walks the chunks from `at` up to `end`, entering the lists within them;
    // `dated`: an IDIT chunk here holds the recording's time. False when a
    // chunk does not fit, bytes are left over, or a read failed.
    bool walk(uint64_t at, uint64_t end, int depth, bool dated);

    struct Chunk {
        uint64_t offset;   // of its data
        uint32_t size;
    };
    std::vector<Chunk> idits;
    bool readFailed = false;
    uint64_t end = 0;      // just past the last byte read

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

    ByteSource &file;
    int chunks = 0;
};

bool ChunkWalk::walk(uint64_t at, uint64_t stop, int depth, bool dated)
{
    if (depth > kMostDepth)
        return false;
    while (stop - at >= kChunkHead) {
        unsigned char h[12];
        if (++chunks > kMostChunks || !read(at, h, kChunkHead))
            return false;
        const uint32_t size = u32le(h + 4);
        const uint64_t data = at + kChunkHead;
        if (size > stop - data)
            return false;
        if (is(h, "LIST")) {
            if (size < 4 || !read(data, h + 8, 4))
                return false;
            // The media data holds no time and may be gigabytes of chunks.
            if (!is(h + 8, "movi") && !walk(data + 4, data + size, depth + 1, is(h + 8, "hdrl")))
                return false;
        } else if (dated && is(h, "IDIT")) {
            idits.push_back({data, size});
        }
        // A chunk of odd size is followed by a pad byte, which the last one
        // in a list may lack.
        at = std::min(stop, data + size + (size & 1));
    }
    return at == stop;
}

// The RiffText at the start of an IDIT's `text`; what follows it may only be
// the line's end and NULs.
bool readTime(const std::string &text, WallClock *time)
{
    const auto *b = reinterpret_cast<const unsigned char *>(text.data());
    const uint32_t width = DateCodec::width(DateEncoding::RiffText);
    if (text.size() < width || !DateCodec::decode(DateEncoding::RiffText, b, width, time))
        return false;
    return text.find_first_not_of(std::string("\r\n\0", 3), width) == std::string::npos;
}

} // namespace

const char *AviFormat::name() const
{
    return "AVI";
}

const char *const *AviFormat::extensions() const
{
    static const char *const list[] = {"avi", nullptr};
    return list;
}

bool AviFormat::sniff(const unsigned char *head, size_t n) const
{
    return n >= kHeadBytes && is(head, "RIFF") && is(head + 8, "AVI ");
}

bool AviFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[kHeadBytes];
    if (!file.readAt(0, head, sizeof head) || !sniff(head, sizeof head))
        return false;
    found->headerEnd = sizeof head;

    // The RIFF chunk must lie within the file; an OpenDML file's later
    // 'AVIX' chunks after it hold media data only.
    const uint64_t riffEnd = kChunkHead + u32le(head + 4);
    ChunkWalk chunks(file);
    const bool walked = riffEnd >= kHeadBytes && riffEnd <= file.size()
                        && chunks.walk(kHeadBytes, riffEnd, 0, true);
    found->headerEnd = std::max(found->headerEnd, chunks.end);
    if (!walked) {
        found->diagnostic = "damaged chunk structure";
        return !chunks.readFailed;
    }
    found->hasMetadata = true;

    std::vector<DateField> fields;
    WallClock capture;
    for (const ChunkWalk::Chunk &c : chunks.idits) {
        if (c.size > kMostText) {
            found->unsupported = true;
            continue;
        }
        std::string text(c.size, '\0');
        if (c.size > 0 && !file.readAt(c.offset, &text[0], text.size()))
            return false;
        found->headerEnd = std::max(found->headerEnd, c.offset + text.size());
        WallClock t;
        if (!readTime(text, &t)) {
            // A time this program would not spell back exactly as it was.
            found->unsupported = true;
            continue;
        }
        if (!fields.empty() && t != capture)
            continue;   // another time: not a copy of the capture time
        DateField f;
        f.offset = c.offset;
        f.width = DateCodec::width(DateEncoding::RiffText);
        f.encoding = DateEncoding::RiffText;
        f.role = fields.empty() ? DateRole::Capture : DateRole::Copy;
        f.value = text.substr(0, f.width);
        if (fields.empty())
            capture = t;
        fields.push_back(f);
    }
    if (found->unsupported || fields.empty())
        return true;
    unsigned char exif[19];
    DateCodec::encode(DateEncoding::ExifText, capture, exif);
    found->captureText.assign(reinterpret_cast<const char *>(exif), sizeof exif);
    found->fields = fields;   // in the order of the walk: by offset
    return true;
}
