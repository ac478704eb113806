#include "isobmffbuilder.h"

#include <algorithm>
#include <cstring>

namespace isotest {

namespace {

void put(Bytes &out, uint64_t v, unsigned n)
{
    // More than 8 bytes: zeros before the 64-bit value.
    for (unsigned i = n; i > 0; --i)
        out.push_back(i > 8 ? 0 : uint8_t(v >> (8 * (i - 1))));
}

void put(Bytes &out, const Bytes &more)
{
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

// --- Box -----------------------------------------------------------------

Box::Box(const std::string &t) : type(t) {}

Box Box::full(const std::string &type, uint8_t version, uint32_t flags)
{
    Box b(type);
    b.number(version, 1).number(flags, 3);
    return b;
}

Box &Box::number(uint64_t v, unsigned n)
{
    put(body, v, n);
    return *this;
}

Box &Box::add(const Bytes &data)
{
    put(body, data);
    return *this;
}

Box &Box::text(const std::string &s)
{
    body.insert(body.end(), s.begin(), s.end());
    body.push_back(0);
    return *this;
}

Box &Box::child(const Box &box)
{
    return add(box.bytes());
}

Box &Box::uuid(const Bytes &sixteen)
{
    extended = sixteen;
    return *this;
}

Box &Box::largeSize()
{
    large = true;
    return *this;
}

Box &Box::sizeZero()
{
    zero = true;
    return *this;
}

Box &Box::sizeField(uint32_t size)
{
    verbatim = true;
    verbatimSize = size;
    return *this;
}

Bytes Box::bytes() const
{
    const uint64_t size = 8 + (large ? 8 : 0) + extended.size() + body.size();
    Bytes out;
    put(out, verbatim ? verbatimSize : zero ? 0 : large ? 1 : size, 4);
    out.insert(out.end(), type.begin(), type.end());
    if (large)
        put(out, size, 8);
    put(out, extended);
    put(out, body);
    return out;
}

Box ftyp(const std::string &major, const std::vector<std::string> &compatible)
{
    Box b("ftyp");
    b.add(Bytes(major.begin(), major.end())).number(0, 4);
    for (const std::string &c : compatible)
        b.add(Bytes(c.begin(), c.end()));
    return b;
}

// --- Heif ------------------------------------------------------------------

Heif::Heif(Bytes tiff) : tiffBytes(std::move(tiff)) {}

Heif &Heif::brand(const std::string &m, const std::vector<std::string> &c)
{
    major = m;
    compatible = c;
    return *this;
}

Heif &Heif::exifOffset(uint32_t s) { skip = s; return *this; }
Heif &Heif::exifOffsetField(uint32_t f) { skipVerbatim = true; skipField = f; return *this; }
Heif &Heif::inIdat() { idat = true; return *this; }
Heif &Heif::extents(int n, uint64_t g) { pieces = n; gap = g; return *this; }
Heif &Heif::infeVersion(int v) { infe = v; return *this; }
Heif &Heif::xmp(const std::string &p) { packet = p; return *this; }
Heif &Heif::metaAfterMdat() { after = true; return *this; }
Heif &Heif::imageBytes(uint64_t n) { imageSize = n; return *this; }
Heif &Heif::largeMdat() { large = true; return *this; }
Heif &Heif::lastSizeZero() { zeroLast = true; return *this; }
Heif &Heif::noExif() { exif = false; return *this; }
Heif &Heif::skewExtent(int64_t length, int64_t offset) { lengthSkew = length; offsetSkew = offset; return *this; }

Heif &Heif::iloc(int version, unsigned o, unsigned l, unsigned b, unsigned i)
{
    ilocVersion = version;
    offsetSize = o;
    lengthSize = l;
    baseSize = b;
    indexSize = i;
    return *this;
}

Bytes Heif::exifItem() const
{
    Bytes out;
    put(out, skipVerbatim ? skipField : skip, 4);
    if (skip == 6)
        out.insert(out.end(), {'E', 'x', 'i', 'f', 0, 0});
    else
        out.resize(out.size() + skip, 0);
    put(out, tiffBytes);
    return out;
}

// The Exif item laid out in its pieces with filler between them, and where
// each piece starts in that run.
static Bytes placed(const Bytes &item, int pieces, uint64_t gap, std::vector<Span> *spans)
{
    Bytes out;
    spans->clear();
    const size_t each = item.size() / size_t(pieces);
    for (int i = 0; i < pieces; ++i) {
        const size_t from = each * size_t(i), to = i + 1 == pieces ? item.size() : from + each;
        if (i > 0)
            for (uint64_t g = 0; g < gap; ++g)
                out.push_back(uint8_t(0xA0 + g % 16));
        spans->push_back(Span{out.size(), to - from});
        out.insert(out.end(), item.begin() + long(from), item.begin() + long(to));
    }
    return out;
}

// 'meta' for a file whose 'mdat' contents start at `mdatBody`.
Box Heif::meta(uint64_t mdatBody) const
{
    Box hdlr = Box::full("hdlr", 0);
    hdlr.number(0, 4).add({'p', 'i', 'c', 't'}).number(0, 12).text("");

    Box iinf = Box::full("iinf", infe == 2 ? 0 : 1);
    iinf.number(1 + exif + !packet.empty(), infe == 2 ? 2 : 4);
    auto entry = [this](uint32_t id, const char *type) {
        Box e = Box::full("infe", uint8_t(infe));
        e.number(id, infe == 2 ? 2 : 4).number(0, 2).add(Bytes(type, type + 4)).text("");
        return e;
    };
    iinf.child(entry(1, "hvc1"));
    if (exif)
        iinf.child(entry(2, "Exif"));
    if (!packet.empty())
        iinf.child(entry(3, "mime").text("application/rdf+xml"));

    std::vector<Span> spans;
    const Bytes run = exif ? placed(exifItem(), pieces, gap, &spans) : Bytes();
    // In the file: after the image data, the XMP packet after it.
    const uint64_t exifAt = mdatBody + imageSize;
    const uint64_t xmpAt = exifAt + (idat ? 0 : run.size());

    // iloc's size does not depend on its values: built once to learn where
    // 'idat' starts, then with the values.
    auto ilocBox = [&](uint64_t origin) {
        Box b = Box::full("iloc", uint8_t(ilocVersion));
        b.number(offsetSize << 4 | lengthSize, 1).number(baseSize << 4 | (ilocVersion >= 1 ? indexSize : 0), 1);
        b.number(1 + exif + !packet.empty(), ilocVersion < 2 ? 2 : 4);
        auto location = [&](uint32_t id, unsigned method, const std::vector<Span> &at, bool skewed) {
            const uint64_t base = baseSize ? at.front().offset : 0;
            b.number(id, ilocVersion < 2 ? 2 : 4);
            if (ilocVersion >= 1)
                b.number(method, 2);
            b.number(0, 2).number(base, baseSize).number(at.size(), 2);
            for (size_t i = 0; i < at.size(); ++i) {
                const int64_t o = skewed && i == 0 ? offsetSkew : 0, l = skewed && i == 0 ? lengthSkew : 0;
                b.number(0, ilocVersion >= 1 ? indexSize : 0).number(at[i].offset - base + uint64_t(o), offsetSize)
                    .number(at[i].length + uint64_t(l), lengthSize);
            }
        };
        location(1, 0, {Span{mdatBody, imageSize}}, false);
        if (exif) {
            std::vector<Span> at = spans;
            for (Span &s : at)
                s.offset += origin;
            location(2, idat ? 1 : 0, at, true);
        }
        if (!packet.empty())
            location(3, 0, {Span{xmpAt, packet.size()}}, false);
        return b;
    };
    Box m = Box::full("meta", 0);
    m.child(hdlr).child(iinf).child(ilocBox(idat ? 0 : exifAt));
    if (idat && exif)
        m.child(Box("idat").add(run));
    if (zeroLast && after)
        m.sizeZero();
    return m;
}

Sparse Heif::sparse() const
{
    const Bytes type = ftyp(major, compatible).bytes();
    std::vector<Span> spans;
    const Bytes run = exif && !idat ? placed(exifItem(), pieces, gap, &spans) : Bytes();
    const uint64_t mdatContents = imageSize + run.size() + packet.size();
    const bool longForm = large || mdatContents + 8 > 0xFFFFFFFFu;
    const uint64_t mdatHeader = longForm ? 16 : 8;
    const uint64_t metaSize = meta(0).bytes().size();
    const uint64_t mdatAt = type.size() + (after ? 0 : metaSize);
    const Bytes metaBytes = meta(mdatAt + mdatHeader).bytes();

    Sparse out;
    out.head = type;
    if (!after)
        put(out.head, metaBytes);
    put(out.head, zeroLast && !after ? 0 : longForm ? 1 : mdatHeader + mdatContents, 4);
    out.head.insert(out.head.end(), {'m', 'd', 'a', 't'});
    if (longForm)
        put(out.head, mdatHeader + mdatContents, 8);
    out.zeros = imageSize;
    put(out.tail, run);
    out.tail.insert(out.tail.end(), packet.begin(), packet.end());
    if (after)
        put(out.tail, metaBytes);
    return out;
}

Bytes Heif::bytes() const
{
    const Sparse s = sparse();
    Bytes out = s.head;
    out.resize(out.size() + size_t(s.zeros), 0);
    put(out, s.tail);
    return out;
}

Span Heif::image() const
{
    const Sparse s = sparse();
    return Span{s.head.size(), s.zeros};
}

Span Heif::tiff() const
{
    // Where the item's first byte lies: in 'mdat' after the image data, or
    // at the start of the contents of 'idat', the last box of 'meta'.
    const Sparse s = sparse();
    uint64_t at = 0;
    if (!idat) {
        at = s.head.size() + s.zeros;
    } else {
        const uint64_t metaSize = meta(0).bytes().size();
        const uint64_t metaEnd = after ? s.head.size() + s.zeros + s.tail.size()
                                       : ftyp(major, compatible).bytes().size() + metaSize;
        at = metaEnd - exifItem().size() - uint64_t(pieces - 1) * gap;
    }
    return Span{at + 4 + skip, tiffBytes.size()};
}

} // namespace isotest
