#include "heifformat.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "byteview.h"
#include "datecodec.h"
#include "isobmffreader.h"
#include "tiffformat.h"
#include "xmppacket.h"

namespace {

constexpr uint32_t box(const char (&s)[5])
{
    return IsobmffReader::fourcc(s);
}

// Items walked in 'iloc' and their extents, all told: with field sizes of
// zero an extent takes no bytes, so the box's size alone does not bound them.
constexpr uint64_t kMaxLocations = 1 << 20;
// Extents kept for one item of ours.
constexpr size_t kMaxExtents = 64;

// Big-endian numbers of 0, 2, 4 or 8 bytes read from a held box; a read past
// its end fails the cursor, and every later read with it.
class Cursor {
public:
    Cursor(const std::vector<unsigned char> &bytes, size_t at) : data(bytes), pos(at) {}

    uint64_t take(unsigned n)
    {
        if (!ok || pos > data.size() || data.size() - pos < n) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (unsigned i = 0; i < n; ++i)
            v = v << 8 | data[pos + i];
        pos += n;
        return v;
    }
    // A NUL-terminated string; fails when it has no NUL.
    std::string text()
    {
        const size_t from = std::min(pos, data.size());
        const auto nul = std::find(data.begin() + long(from), data.end(), 0);
        if (!ok || nul == data.end()) {
            ok = false;
            return std::string();
        }
        pos = size_t(nul - data.begin()) + 1;
        return std::string(data.begin() + long(from), nul);
    }

    bool ok = true;

private:
    const std::vector<unsigned char> &data;
    size_t pos;
};

struct Extent {
    uint64_t offset = 0, length = 0;
};

// Where one item's bytes lie, as 'iloc' says.
struct Item {
    uint32_t id = 0;
    bool wanted = false;
    bool located = false;
    unsigned method = 0;   // 0: in the file; 1: inside 'idat'
    uint64_t base = 0;
    std::vector<Extent> extents;
};

// The items 'iinf' lists: the first Exif item and the first XMP item.
bool readItemInfo(IsobmffReader &meta, const IsoBox &iinf, Item *exif, Item *xmp)
{
    uint8_t version = 0;
    uint32_t flags = 0;
    std::vector<IsoBox> entries;
    if (!meta.fullBox(iinf, &version, &flags) || !meta.children(iinf, version == 0 ? 6 : 8, &entries))
        return false;
    std::vector<unsigned char> body;
    for (const IsoBox &entry : entries) {
        if (entry.type != box("infe") || !meta.contents(entry, 0, HeifFormat::kMaxMeta, &body))
            continue;
        // Version 2 and 3 name the item's type; older ones do not.
        Cursor c(body, 0);
        const uint64_t entryVersion = c.take(1);
        c.take(3);
        if (entryVersion < 2 || entryVersion > 3)
            continue;
        const uint32_t id = uint32_t(c.take(entryVersion == 2 ? 2 : 4));
        c.take(2);   // protection index
        const uint32_t type = uint32_t(c.take(4));
        c.text();    // item name
        if (!c.ok)
            return false;
        if (type == box("Exif") && !exif->wanted) {
            exif->id = id;
            exif->wanted = true;
        } else if (type == box("mime") && !xmp->wanted && c.text() == "application/rdf+xml" && c.ok) {
            xmp->id = id;
            xmp->wanted = true;
        }
    }
    return true;
}

// The locations of the wanted items in 'iloc' (versions 0, 1 and 2).
bool readLocations(const std::vector<unsigned char> &iloc, Item *exif, Item *xmp)
{
    Cursor c(iloc, 0);
    const unsigned version = unsigned(c.take(1));
    c.take(3);
    const unsigned sizes = unsigned(c.take(2));
    const unsigned offsetSize = sizes >> 12, lengthSize = sizes >> 8 & 15, baseSize = sizes >> 4 & 15;
    const unsigned indexSize = version >= 1 ? sizes & 15 : 0;
    auto valid = [](unsigned n) { return n == 0 || n == 4 || n == 8; };
    if (!c.ok || version > 2 || !valid(offsetSize) || !valid(lengthSize) || !valid(baseSize) || !valid(indexSize))
        return false;
    const uint64_t count = c.take(version < 2 ? 2 : 4);
    uint64_t walked = 0;
    for (uint64_t i = 0; i < count && c.ok; ++i) {
        Item here;
        here.id = uint32_t(c.take(version < 2 ? 2 : 4));
        if (version >= 1)
            here.method = unsigned(c.take(2) & 15);
        const uint64_t reference = c.take(2);
        here.base = c.take(baseSize);
        const uint64_t extents = c.take(2);
        Item *item = exif->wanted && exif->id == here.id ? exif : xmp->wanted && xmp->id == here.id ? xmp : nullptr;
        for (uint64_t e = 0; e < extents && c.ok; ++e) {
            if (++walked > kMaxLocations)
                return false;
            c.take(indexSize);
            Extent extent;
            extent.offset = c.take(offsetSize);
            extent.length = c.take(lengthSize);
            if (item && here.extents.size() < kMaxExtents)
                here.extents.push_back(extent);
        }
        if (++walked > kMaxLocations)
            return false;
        // The first location of an item counts; one in another file, or
        // with too many extents, leaves it unlocated.
        if (item && !item->located && c.ok) {
            here.wanted = true;
            here.located = reference == 0 && extents <= kMaxExtents;
            *item = here;
        }
    }
    return c.ok;
}

// The file's span of an item in one piece: its extents in the file (up to
// `fileEnd`), each following the one before. `pieces` tells an item that
// lies in several.
bool span(const Item &item, const IsoBox *idat, uint64_t fileEnd, Extent *out, bool *pieces)
{
    *pieces = false;
    if (!item.located || item.extents.empty() || item.method > 1 || (item.method == 1 && !idat))
        return false;
    // Method 1 counts from the start of 'idat''s contents and stays inside them.
    const uint64_t origin = item.method == 1 ? idat->body : 0;
    const uint64_t limit = item.method == 1 ? idat->end : fileEnd;
    uint64_t end = 0;
    for (size_t i = 0; i < item.extents.size(); ++i) {
        const Extent &e = item.extents[i];
        const uint64_t room = limit - origin;
        if (e.length == 0 || item.base > room || e.offset > room - item.base || e.length > room - item.base - e.offset)
            return false;
        const uint64_t at = origin + item.base + e.offset;
        if (i == 0)
            out->offset = at;
        else if (at != end)
            *pieces = true;
        end = at + e.length;
    }
    out->length = end - out->offset;
    return !*pieces;
}

bool overlap(const Extent &a, uint64_t from, uint64_t to)
{
    return a.offset < to && from < a.offset + a.length;
}

} // namespace

const char *HeifFormat::name() const
{
    return "HEIF";
}

const char *const *HeifFormat::extensions() const
{
    static const char *const list[] = {"heic", "heif", "hif", "avif", nullptr};
    return list;
}

bool HeifFormat::sniff(const unsigned char *head, size_t n) const
{
    // 'ftyp' first: its size, the major brand at 8, the minor version, then
    // the compatible brands up to the box's end (as far as `head` holds them).
    static const char *const brands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                         "mif1", "msf1", "avif", "avis"};
    if (n < 12 || std::memcmp(head + 4, "ftyp", 4) != 0)
        return false;
    const uint64_t size = uint64_t(head[0]) << 24 | uint64_t(head[1]) << 16 | uint64_t(head[2]) << 8 | head[3];
    const size_t end = size < 8 ? n : size_t(std::min<uint64_t>(size, n));
    for (size_t at = 8; at + 4 <= end; at += at == 8 ? 8 : 4)
        for (const char *brand : brands)
            if (std::memcmp(head + at, brand, 4) == 0)
                return true;
    return false;
}

bool HeifFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[sniffBytes];
    const size_t n = size_t(std::min<uint64_t>(file.size(), sizeof head));
    if (!file.readAt(0, head, n) || !sniff(head, n))
        return false;
    found->headerEnd = n;

    // The top level, box headers only; then 'meta', read whole, and its boxes
    // read from memory (offsets stay the file's). Bytes that are no box after
    // the last sound one (a phone's trailer, or damage) hold no item of ours:
    // an item that reaches into them counts as damaged.
    IsobmffReader top(file);
    std::vector<IsoBox> boxes;
    const bool whole = top.topLevel(&boxes);
    const uint64_t sound = whole ? file.size() : boxes.empty() ? 0 : boxes.back().end;
    found->headerEnd = std::max(found->headerEnd, top.readEnd());
    const IsoBox *metaBox = IsobmffReader::first(boxes, box("meta"));
    std::vector<unsigned char> held;
    if (!metaBox || !top.contents(*metaBox, 0, kMaxMeta, &held))
        return true;
    found->headerEnd = std::max(found->headerEnd, metaBox->end);
    MemorySource metaSource(held.data(), held.size(), metaBox->body);
    IsobmffReader meta(metaSource);
    std::vector<IsoBox> parts;
    uint8_t version = 0;
    uint32_t flags = 0;
    if (!meta.fullBox(*metaBox, &version, &flags) || version != 0 || !meta.children(*metaBox, 4, &parts))
        return true;

    // A picture's 'meta': its handler is 'pict'.
    const IsoBox *hdlr = IsobmffReader::first(parts, box("hdlr"));
    unsigned char handler[4];
    if (!hdlr || hdlr->bodySize() < 12 || !metaSource.readAt(hdlr->body + 8, handler, 4)
        || std::memcmp(handler, "pict", 4) != 0)
        return true;

    Item exif, xmp;
    const IsoBox *iinf = IsobmffReader::first(parts, box("iinf"));
    const IsoBox *ilocBox = IsobmffReader::first(parts, box("iloc"));
    const IsoBox *idat = IsobmffReader::first(parts, box("idat"));
    std::vector<unsigned char> iloc;
    if (!iinf || !ilocBox || !readItemInfo(meta, *iinf, &exif, &xmp) || !exif.wanted
        || !meta.contents(*ilocBox, 0, kMaxMeta, &iloc) || !readLocations(iloc, &exif, &xmp))
        return true;

    // The Exif item: a 4-byte offset to the TIFF header, the TIFF structure
    // after it. An item in the file must not lie inside 'meta' itself.
    Extent item;
    bool pieces = false;
    if (!span(exif, idat, sound, &item, &pieces)) {
        found->unsupported = pieces;
        return true;
    }
    unsigned char lead[4];
    if (item.length < 4 || (exif.method == 0 && overlap(item, metaBox->offset, metaBox->end))
        || !file.readAt(item.offset, lead, 4))
        return true;
    const uint64_t skip = uint64_t(lead[0]) << 24 | uint64_t(lead[1]) << 16 | uint64_t(lead[2]) << 8 | lead[3];
    if (skip > item.length - 4)
        return true;
    const uint64_t walked = found->headerEnd;
    TiffFormat::locateBlock(file, item.offset + 4 + skip, item.length - 4 - skip, found);
    found->headerEnd = std::max({found->headerEnd, walked, item.offset + 4});
    if (!found->hasMetadata)
        return true;

    // The XMP item's date-times that spell the capture time, when it lies in
    // one piece apart from the EXIF item and from 'meta''s boxes.
    WallClock capture;
    Extent packet;
    std::vector<unsigned char> text;
    const auto *captureText = reinterpret_cast<const unsigned char *>(found->captureText.data());
    if (found->fields.empty() || !xmp.wanted
        || !DateCodec::decode(DateEncoding::ExifText, captureText, found->captureText.size(), &capture)
        || !span(xmp, idat, sound, &packet, &pieces) || packet.length > kMaxXmp
        || overlap(packet, item.offset, item.offset + item.length)
        || (xmp.method == 0 && overlap(packet, metaBox->offset, metaBox->end)))
        return true;
    text.resize(size_t(packet.length));
    if (!file.readAt(packet.offset, text.data(), text.size()))
        return true;
    found->headerEnd = std::max(found->headerEnd, packet.offset + packet.length);
    std::map<uint64_t, DateField> all;
    for (const DateField &f : found->fields)
        all.emplace(f.offset, f);
    for (const DateField &f : XmpPacket::findCopies(ConstByteView(text.data(), text.size()), packet.offset, capture))
        all.emplace(f.offset, f);
    found->fields.clear();
    for (const auto &entry : all)
        found->fields.push_back(entry.second);
    return true;
}
