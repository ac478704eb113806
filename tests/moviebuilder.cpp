#include "moviebuilder.h"

namespace isotest {

namespace {

const Bytes kXmpUuid{0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8, 0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};

Bytes textBytes(const std::string &s)
{
    return Bytes(s.begin(), s.end());
}

// An ilst value: a 'data' box, UTF-8 (type 1), no locale.
Box item(uint32_t index, const std::string &value)
{
    const char type[] = {char(index >> 24), char(index >> 16), char(index >> 8), char(index), 0};
    return Box(std::string(type, 4)).child(Box("data").number(1, 4).number(0, 4).add(textBytes(value)));
}

} // namespace

Movie::Movie(const std::string &time) : created(since1904(time)), modified(since1904(time))
{
    tracks.push_back({created, modified, created, modified});
}

uint64_t Movie::since1904(const std::string &t)
{
    if (t.empty())
        return 0;
    const int y = std::stoi(t.substr(0, 4)), mo = std::stoi(t.substr(5, 2)), d = std::stoi(t.substr(8, 2));
    // Days since 1970-01-01 (a civil-calendar count), then 1904's lead of 24107 days.
    const int yy = y - (mo <= 2);
    const int era = (yy >= 0 ? yy : yy - 399) / 400;
    const int yoe = yy - era * 400;
    const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t days = int64_t(era) * 146097 + doe - 719468 + 24107;
    return uint64_t(days * 86400 + std::stoi(t.substr(11, 2)) * 3600 + std::stoi(t.substr(14, 2)) * 60
                    + std::stoi(t.substr(17, 2)));
}

Movie &Movie::brand(const std::string &m, const std::vector<std::string> &c)
{
    major = m;
    compatible = c;
    return *this;
}

Movie &Movie::quickTime() { qt = true; return *this; }
Movie &Movie::version(int v) { headerVersion = v; return *this; }
Movie &Movie::duration(uint32_t seconds) { length = seconds; return *this; }
Movie &Movie::moovLast() { last = true; return *this; }
Movie &Movie::mdatBytes(uint64_t n) { mdatSize = n; return *this; }
Movie &Movie::largeMdat() { large = true; return *this; }
Movie &Movie::day(const std::string &text) { dayText = text; return *this; }
Movie &Movie::date(const std::string &text) { dateText = text; return *this; }
Movie &Movie::udtaXmp(const std::string &packet) { udtaPacket = packet; return *this; }
Movie &Movie::uuidXmp(const std::string &packet) { uuidPacket = packet; return *this; }

Movie &Movie::movieTimes(const std::string &c, const std::string &m)
{
    created = since1904(c);
    modified = since1904(m);
    return *this;
}

Movie &Movie::addTrack(const std::string &c, const std::string &m)
{
    tracks.push_back({since1904(c), since1904(m), since1904(c), since1904(m)});
    return *this;
}

Movie &Movie::trackTimes(int track, const std::string &c, const std::string &m)
{
    tracks.at(size_t(track)).created = since1904(c);
    tracks.at(size_t(track)).modified = since1904(m);
    return *this;
}

Movie &Movie::mediaTimes(int track, const std::string &c, const std::string &m)
{
    tracks.at(size_t(track)).mediaCreated = since1904(c);
    tracks.at(size_t(track)).mediaModified = since1904(m);
    return *this;
}

Movie &Movie::keys(const std::string &date, const std::string &mk, const std::string &md)
{
    keyDate = date;
    make = mk;
    model = md;
    return *this;
}

Box Movie::header(const std::string &type, uint64_t c, uint64_t m, bool movie) const
{
    const unsigned w = headerVersion == 1 ? 8 : 4;
    Box b = Box::full(type, uint8_t(headerVersion));
    b.number(c, w).number(m, w);
    if (type == "tkhd")
        b.number(1, 4).number(0, 4).number(uint64_t(length) * 1000, w).add(Bytes(60, 0));
    else   // a time scale of 1000 and the duration in it
        b.number(1000, 4).number(uint64_t(length) * 1000, w);
    if (movie)
        b.add(Bytes(76, 0)).number(2, 4);   // rate, volume, matrix, predefined; next track id
    else if (type == "mdhd")
        b.number(0x55C4, 2).number(0, 2);   // language, quality
    return b;
}

Box Movie::moov() const
{
    Box m("moov");
    m.child(header("mvhd", created, modified, true));
    for (const Track &t : tracks) {
        Box mdia("mdia");
        mdia.child(header("mdhd", t.mediaCreated, t.mediaModified, false))
            .child(Box::full("hdlr", 0).number(0, 4).add(textBytes("vide")).add(Bytes(12, 0)).text("Video"))
            .child(Box("minf").child(Box("stbl").child(Box::full("stco", 0).number(0, 4))));
        m.child(Box("trak").child(header("tkhd", t.created, t.modified, false)).child(mdia));
    }
    if (!keyDate.empty()) {
        std::vector<std::string> names{"com.apple.quicktime.creationdate"};
        if (!make.empty())
            names.push_back("com.apple.quicktime.make");
        if (!model.empty())
            names.push_back("com.apple.quicktime.model");
        Box k = Box::full("keys", 0);
        k.number(names.size(), 4);
        for (const std::string &n : names)
            k.number(8 + n.size(), 4).add(textBytes("mdta")).add(textBytes(n));
        Box ilst("ilst");
        ilst.child(item(1, keyDate));
        if (!make.empty())
            ilst.child(item(2, make));
        if (!model.empty())
            ilst.child(item(uint32_t(names.size()), model));
        // Apple's QuickTime 'meta': no version and flags.
        m.child(Box("meta").child(Box::full("hdlr", 0).number(0, 4).add(textBytes("mdta")).add(Bytes(12, 0)).number(0, 1))
                    .child(k).child(ilst));
    }
    if (!dayText.empty() || !dateText.empty() || !udtaPacket.empty()) {
        Box u("udta");
        if (!dayText.empty())
            u.child(Box("\xA9" "day").number(dayText.size(), 2).number(0x55C4, 2).add(textBytes(dayText)));
        if (!dateText.empty())
            u.child(Box("date").add(textBytes(dateText)));
        if (!udtaPacket.empty())
            u.child(Box("XMP_").add(textBytes(udtaPacket)));
        m.child(u);
    }
    return m;
}

Sparse Movie::sparse() const
{
    Sparse out;
    if (qt)
        out.head = Box("wide").bytes();
    else
        out.head = ftyp(major, compatible).bytes();
    const Bytes movie = moov().bytes();
    const Bytes xmp = uuidPacket.empty() ? Bytes() : Box("uuid").uuid(kXmpUuid).add(textBytes(uuidPacket)).bytes();
    if (!last)
        out.head.insert(out.head.end(), movie.begin(), movie.end());
    const bool longForm = large || mdatSize + 8 > 0xFFFFFFFFu;
    const uint64_t size = mdatSize + (longForm ? 16 : 8);
    for (int i = 3; i >= 0; --i)
        out.head.push_back(longForm ? (i == 0 ? 1 : 0) : uint8_t(size >> (8 * i)));
    out.head.insert(out.head.end(), {'m', 'd', 'a', 't'});
    if (longForm)
        for (int i = 7; i >= 0; --i)
            out.head.push_back(uint8_t(size >> (8 * i)));
    out.zeros = mdatSize;
    if (last)
        out.tail = movie;
    out.tail.insert(out.tail.end(), xmp.begin(), xmp.end());
    return out;
}

Bytes Movie::bytes() const
{
    const Sparse s = sparse();
    Bytes out = s.head;
    out.resize(out.size() + size_t(s.zeros), 0);
    out.insert(out.end(), s.tail.begin(), s.tail.end());
    return out;
}

} // namespace isotest
