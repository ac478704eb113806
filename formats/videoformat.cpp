#include "videoformat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "byteview.h"
#include "datecodec.h"
#include "isobmffreader.h"
#include "moviebox.h"
#include "quicktimetext.h"
#include "xmppacket.h"

namespace {

constexpr uint32_t box(const char (&s)[5])
{
    return IsobmffReader::fourcc(s);
}

// A time to be a field, or not: where it is, what it holds, how far it lies
// from the capture time.
struct Candidate {
    uint64_t offset = 0;
    DateEncoding encoding = DateEncoding::XmpText;
    std::string value;
    MovieTime::Kind kind = MovieTime::Kind::Header;
    bool movieCreation = false;
    ZonedTime time;
};

bool isBrand(const unsigned char *p, const char *const *list)
{
    for (const char *const *b = list; *b; ++b)
        if (std::memcmp(p, *b, 4) == 0)
            return true;
    return false;
}

// The XMP packet's date-times, each with the zone written after it.
void xmpTimes(const std::vector<unsigned char> &packet, uint64_t base, std::vector<Candidate> *out)
{
    // Every distinct wall-clock time in the packet, then its copies as the
    // packet reader delimits them (whole values only).
    std::vector<WallClock> seen;
    const unsigned char *p = packet.data();
    const size_t n = packet.size();
    for (size_t at = QuickTimeText::find(p, n, 0); at < n; at = QuickTimeText::find(p, n, at + 1)) {
        ZonedTime t;
        if (QuickTimeText::parseStart(p + at, n - at, &t)
            && std::find(seen.begin(), seen.end(), t.wall) == seen.end())
            seen.push_back(t.wall);
        if (seen.size() > 256)
            break;
    }
    for (const WallClock &wall : seen) {
        for (const DateField &f : XmpPacket::findCopies(ConstByteView(p, n), base, wall)) {
            Candidate c;
            c.offset = f.offset;
            c.encoding = f.encoding;
            c.value = f.value;
            c.kind = MovieTime::Kind::Xmp;
            if (!QuickTimeText::parseStart(p + (f.offset - base), n - size_t(f.offset - base), &c.time))
                continue;
            out->push_back(c);
        }
    }
}

std::string exifText(const WallClock &t)
{
    unsigned char out[32];
    if (!DateCodec::encode(DateEncoding::ExifText, t, out))
        return std::string();
    return std::string(reinterpret_cast<const char *>(out), DateCodec::width(DateEncoding::ExifText));
}

} // namespace

const char *VideoFormat::name() const
{
    return "Video";
}

const char *const *VideoFormat::extensions() const
{
    static const char *const list[] = {"mp4", "mov", "m4v", "3gp", "3g2", "lrv", nullptr};
    return list;
}

bool VideoFormat::sniff(const unsigned char *head, size_t n) const
{
    static const char *const video[] = {"isom", "iso2", "iso3", "iso4", "iso5", "iso6", "mp41", "mp42", "avc1",
                                        "qt  ", "M4V ", "M4VH", "M4VP", "3gp4", "3gp5", "3gp6", "3gp7", "3ge6",
                                        "3ge7", "3gg6", "3g2a", "3g2b", "3g2c", "MSNV", "XAVC", "mmp4", "f4v ",
                                        "dash", "NDAS", "NDXC", "niko", "sdv ", "CAEP", "caqv", nullptr};
    // Brands other formats claim: a picture's ftyp often names 'iso*' too.
    static const char *const image[] = {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1",
                                        "avif", "avis", "crx ", nullptr};
    // Audio files share the video brands among their compatible ones.
    static const char *const audio[] = {"M4A ", "M4B ", "M4P ", nullptr};
    if (n < 8)
        return false;
    const uint32_t size = uint32_t(head[0]) << 24 | uint32_t(head[1]) << 16 | uint32_t(head[2]) << 8 | head[3];
    if (std::memcmp(head + 4, "ftyp", 4) == 0) {
        if (n < 12 || isBrand(head + 8, audio))
            return false;
        const size_t end = size < 8 ? n : size_t(std::min<uint64_t>(size, n));
        bool found = false;
        for (size_t at = 8; at + 4 <= end; at += at == 8 ? 8 : 4) {
            if (isBrand(head + at, image))
                return false;
            found = found || isBrand(head + at, video);
        }
        return found;
    }
    // An old QuickTime file: no ftyp, one of the boxes such a file starts with.
    static const char *const first[] = {"moov", "mdat", "wide", "free", "skip", "pnot", nullptr};
    return (size == 0 || size == 1 || size >= 8) && isBrand(head + 4, first);
}

bool VideoFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[sniffBytes];
    const size_t n = size_t(std::min<uint64_t>(file.size(), sizeof head));
    if (!file.readAt(0, head, n) || !sniff(head, n))
        return false;
    found->headerEnd = n;

    // The top level, headers only: 'moov' wherever it is, XMP 'uuid' boxes.
    IsobmffReader reader(file);
    std::vector<IsoBox> boxes;
    const bool whole = reader.topLevel(&boxes);
    found->headerEnd = std::max(found->headerEnd, reader.readEnd());
    const IsoBox *moov = IsobmffReader::first(boxes, box("moov"));
    if (!whole || !moov) {
        found->diagnostic = whole ? "no movie box" : "damaged box structure";
        return true;
    }
    MovieContents movie;
    const bool read = MovieBox::read(reader, file, *moov, &movie);
    found->headerEnd = std::max(found->headerEnd, reader.readEnd());
    if (!read) {
        found->diagnostic = "damaged movie box";
        return true;
    }
    found->hasMetadata = true;
    found->make = movie.make;
    found->model = movie.model;

    std::vector<Candidate> all;
    for (const MovieTime &t : movie.times) {
        if (!t.valid)
            continue;   // zero: not set
        Candidate c;
        c.offset = t.offset;
        c.encoding = t.encoding;
        c.value = t.value;
        c.kind = t.kind;
        c.movieCreation = t.movieCreation;
        c.time = t.time;
        all.push_back(c);
    }
    std::vector<PacketSpan> packets = movie.xmp;
    for (const IsoBox &b : boxes)
        if (b.type == box("uuid") && std::memcmp(b.uuid, MovieBox::kXmpUuid, 16) == 0 && b.bodySize() > 0)
            packets.push_back({b.body, b.bodySize()});
    std::vector<unsigned char> packet;
    for (const PacketSpan &span : packets) {
        if (span.length > MovieBox::kMaxXmp)
            continue;
        packet.resize(size_t(span.length));
        if (!file.readAt(span.offset, packet.data(), packet.size()))
            continue;
        found->headerEnd = std::max(found->headerEnd, span.offset + span.length);
        xmpTimes(packet, span.offset, &all);
    }

    // The reference: the first copy with a zone offset, by the order Keys,
    // '©day', 'date', XMP; else the movie header's creation time, in UTC;
    // else the first other header time or "Z" text. A "Z" text names no
    // wall-clock time: it is UTC like the headers.
    const Candidate *reference = nullptr;
    bool utc = false;
    for (MovieTime::Kind kind : {MovieTime::Kind::Keys, MovieTime::Kind::Day, MovieTime::Kind::Date,
                               MovieTime::Kind::Xmp})
        for (const Candidate &c : all)
            if (!reference && c.kind == kind && c.time.zoned && !c.time.utc)
                reference = &c;
    if (!reference) {
        utc = true;
        for (const Candidate &c : all)
            if (!reference && c.movieCreation)
                reference = &c;
        for (const Candidate &c : all)
            if (!reference && (c.kind == MovieTime::Kind::Header || c.time.zoned))
                reference = &c;
    }
    if (!reference)
        return true;   // no time set

    const WallClock capture = reference->time.wall;
    const int64_t wallSeconds = DateCodec::toEpochSeconds(capture);
    const int64_t instant = reference->time.instant();
    const int64_t window = movie.durationSeconds + 60;
    found->captureText = exifText(capture);
    found->captureUtc = utc;

    std::map<uint64_t, DateField> fields;
    for (const Candidate &c : all) {
        const int64_t own = DateCodec::toEpochSeconds(c.time.wall);
        // A zoned text lies at its instant; a header time at its time as
        // UTC, or (beside a zoned copy) as the wall-clock time; a text with no
        // zone at its wall-clock time.
        bool belongs;
        if (c.kind == MovieTime::Kind::Header)
            belongs = std::llabs(own - instant) <= window || (!utc && std::llabs(own - wallSeconds) <= window);
        else if (c.time.zoned)
            belongs = std::llabs(c.time.instant() - instant) <= window;
        else
            belongs = std::llabs(own - wallSeconds) <= window;
        if (!belongs)
            continue;
        DateField f;
        f.offset = c.offset;
        f.encoding = c.encoding;
        f.width = DateCodec::width(c.encoding);
        f.role = &c == reference ? DateRole::Capture : DateRole::Copy;
        f.value = c.value;
        f.skew = own - wallSeconds;
        fields.emplace(f.offset, f);
    }
    // Sorted by offset; none overlaps another (each lies in a box of its own
    // or is a whole XMP value).
    for (const auto &entry : fields)
        found->fields.push_back(entry.second);
    return true;
}
