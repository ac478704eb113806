#include "cr3builder.h"

namespace isotest {

namespace {

const Bytes kCanonUuid = {0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                          0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
const Bytes kXmpUuid = {0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8,
                        0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};

void append(Bytes &out, const Bytes &more)
{
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

Cr3::Cr3(Bytes one, Bytes two) : cmt1(std::move(one)), cmt2(std::move(two)) {}

Cr3 Cr3::camera(tifftest::Header header, const std::string &t, const std::string &zone, int64_t utcOffset)
{
    namespace tag = tifftest::tag;
    tifftest::Tiff one(header), two(header);
    one.ascii(0, tag::Make, "Canon").ascii(0, tag::Model, "Canon EOS R6").ascii(0, tag::DateTime, t);
    two.ascii(0, tag::DateTimeOriginal, t).ascii(0, tag::DateTimeDigitized, t);
    if (!zone.empty())
        two.ascii(0, 0x9011, zone);
    Cr3 c(one.bytes(), two.bytes());
    const uint64_t utc = uint64_t(int64_t(seconds1904(t)) - utcOffset);
    return c.times(utc, utc);
}

uint64_t Cr3::seconds1904(const std::string &t)
{
    auto number = [&t](size_t at, size_t n) { return std::stoi(t.substr(at, n)); };
    int y = number(0, 4);
    const int m = number(5, 2), d = number(8, 2);
    // Days since 1970-01-01 of a proleptic Gregorian date.
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t days = int64_t(era) * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    const int64_t since1970 = days * 86400 + number(11, 2) * 3600 + number(14, 2) * 60 + number(17, 2);
    return uint64_t(since1970 + 2082844800);
}

Cr3 &Cr3::makerNotes(const Bytes &c) { cmt3 = c; return *this; }
Cr3 &Cr3::times(uint64_t c, uint64_t m) { created = c; modified = m; return *this; }
Cr3 &Cr3::mediaTimes(uint64_t c, uint64_t m) { mediaCreated = c; mediaModified = m; mediaOwn = true; return *this; }
Cr3 &Cr3::headerVersion(int v) { version = v; return *this; }
Cr3 &Cr3::tracks(int n) { trackCount = n; return *this; }
Cr3 &Cr3::xmp(const std::string &p, bool inMoov) { packet = p; packetInMoov = inMoov; return *this; }
Cr3 &Cr3::imageBytes(uint64_t n) { imageSize = n; return *this; }

Box Cr3::header(const char *type, uint64_t creation, uint64_t modification, unsigned rest) const
{
    // Version and flags, the two times, then the header's other values
    // (time scale, duration...) as zeros but for a 1 here and there.
    Box b = Box::full(type, uint8_t(version));
    const unsigned width = version == 0 ? 4 : 8;
    b.number(creation, width).number(modification, width).number(1, 4).number(1, width).number(0, rest);
    return b;
}

Sparse Cr3::sparse() const
{
    Box canon("uuid");
    canon.uuid(kCanonUuid).child(Box("CNCV").add(Bytes{'C', 'a', 'n', 'o', 'n', 'C', 'R', '3', '_', '0', '0', '1'}))
        .child(Box("CMT1").add(cmt1)).child(Box("CMT2").add(cmt2));
    if (!cmt3.empty())
        canon.child(Box("CMT3").add(cmt3));
    canon.child(Box("CMT4").add(Bytes{'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    Box moov("moov");
    moov.child(canon).child(header("mvhd", created, modified, 80));
    for (int i = 0; i < trackCount; ++i) {
        Box mdia("mdia");
        mdia.child(header("mdhd", mediaOwn ? mediaCreated : created, mediaOwn ? mediaModified : modified, 4))
            .child(Box::full("hdlr", 0).number(0, 4).add(Bytes{'v', 'i', 'd', 'e'}).number(0, 12).text(""));
        moov.child(Box("trak").child(header("tkhd", created, modified, 60)).child(mdia));
    }
    Box xmpBox("uuid");
    xmpBox.uuid(kXmpUuid).add(Bytes(packet.begin(), packet.end()));
    if (!packet.empty() && packetInMoov)
        moov.child(xmpBox);

    Sparse out;
    out.head = ftyp("crx ", {"crx ", "isom"}).bytes();
    append(out.head, moov.bytes());
    if (!packet.empty() && !packetInMoov)
        append(out.head, xmpBox.bytes());
    // 'mdat' last, in the 64-bit form when it must.
    const uint64_t size = 8 + imageSize;
    const bool large = size > 0xFFFFFFFFu;
    Bytes h = {uint8_t(large ? 0 : size >> 24), uint8_t(large ? 0 : size >> 16), uint8_t(large ? 0 : size >> 8),
               uint8_t(large ? 1 : size), 'm', 'd', 'a', 't'};
    if (large)
        for (int i = 7; i >= 0; --i)
            h.push_back(uint8_t((size + 8) >> (8 * i)));
    append(out.head, h);
    out.zeros = imageSize;
    return out;
}

Bytes Cr3::bytes() const
{
    const Sparse s = sparse();
    Bytes out = s.head;
    out.resize(out.size() + size_t(s.zeros), 0);
    append(out, s.tail);
    return out;
}

} // namespace isotest
