#include "cr3format.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "byteview.h"
#include "datecodec.h"
#include "isobmffreader.h"
#include "tiffformat.h"
#include "tiffreader.h"
#include "xmppacket.h"

namespace {

constexpr uint32_t box(const char (&s)[5])
{
    return IsobmffReader::fourcc(s);
}

constexpr unsigned char kCanonUuid[16] = {0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                                          0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
constexpr unsigned char kXmpUuid[16] = {0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8,
                                        0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};

constexpr size_t kTextLength = 19;   // "yyyy:MM:dd hh:mm:ss"
constexpr uint16_t kAscii = 2;
constexpr uint16_t kOffsetTime = 0x9010, kOffsetTimeOriginal = 0x9011, kCanonTimeInfo = 0x0035;
constexpr int64_t kQuarterHour = 15 * 60;
// Tracks whose headers are read: a camera writes four or five.
constexpr int kMaxTracks = 64;

const IsoBox *uuidBox(const std::vector<IsoBox> &boxes, const unsigned char (&id)[16])
{
    for (const IsoBox &b : boxes)
        if (b.type == box("uuid") && std::memcmp(b.uuid, id, 16) == 0)
            return &b;
    return nullptr;
}

// The copies of the capture time's text among the ASCII values of a TIFF
// structure that has no DateTimeOriginal of its own (CMT1's ModifyDate).
// False when the structure is damaged or a copy lies on its directories.
bool textCopies(ByteSource &file, const IsoBox &block, const std::string &capture, std::vector<DateField> *out,
                uint64_t *readEnd)
{
    TiffReader reader(file, block.body, block.bodySize());
    const bool read = reader.read();
    *readEnd = std::max(*readEnd, reader.readEnd());
    if (!read || reader.damaged())
        return false;
    for (const TiffReader::Entry &e : reader.entries()) {
        if (e.type != kAscii || e.byteCount < kTextLength)
            continue;
        const unsigned char *p = reader.inside(e.valueOffset, e.byteCount) ? reader.fetch(e.valueOffset, kTextLength)
                                                                            : nullptr;
        if (!p)
            return false;
        if (std::memcmp(p, capture.data(), kTextLength) != 0)
            continue;
        const uint64_t at = e.valueOffset;
        const auto &dirs = reader.directories();
        if (at < block.body + reader.headerSize() || std::any_of(dirs.begin(), dirs.end(), [at](const auto &d) {
                return at < d.end && d.offset < at + kTextLength;
            }))
            return false;
        DateField f;
        f.offset = at;
        f.width = uint32_t(kTextLength);
        f.encoding = DateEncoding::ExifText;
        f.value = capture;
        out->push_back(f);
    }
    *readEnd = std::max(*readEnd, reader.readEnd());
    return true;
}

// The zone's offset in seconds that a text "+hh:mm" or "-hh:mm" names.
bool offsetOf(const unsigned char *p, size_t n, int64_t *seconds)
{
    auto digit = [p](size_t i) { return p[i] >= '0' && p[i] <= '9'; };
    if (n < 6 || (p[0] != '+' && p[0] != '-') || !digit(1) || !digit(2) || p[3] != ':' || !digit(4) || !digit(5))
        return false;
    const int64_t v = ((p[1] - '0') * 10 + (p[2] - '0')) * 3600 + ((p[4] - '0') * 10 + (p[5] - '0')) * 60;
    if (v > Cr3Format::kMaxZone)
        return false;
    *seconds = p[0] == '-' ? -v : v;
    return true;
}

// The zone the EXIF data names: OffsetTimeOriginal, else OffsetTime (in the
// EXIF directory, CMT2), else the zone of Canon's TimeInfo (in CMT3, signed
// minutes in its second 32-bit value).
bool zoneOf(ByteSource &file, const IsoBox *exif, const IsoBox *notes, int64_t *seconds, uint64_t *readEnd)
{
    if (exif) {
        TiffReader reader(file, exif->body, exif->bodySize());
        if (reader.read() && !reader.damaged()) {
            for (uint16_t tag : {kOffsetTimeOriginal, kOffsetTime}) {
                for (const TiffReader::Entry &e : reader.entries()) {
                    if (e.tag != tag || e.type != kAscii || e.byteCount < 6 || !reader.inside(e.valueOffset, 6))
                        continue;
                    const unsigned char *p = reader.fetch(e.valueOffset, 6);
                    if (p && offsetOf(p, 6, seconds)) {
                        *readEnd = std::max(*readEnd, reader.readEnd());
                        return true;
                    }
                }
            }
        }
        *readEnd = std::max(*readEnd, reader.readEnd());
    }
    if (!notes)
        return false;
    TiffReader reader(file, notes->body, notes->bodySize());
    if (!reader.read() || reader.damaged())
        return false;
    for (const TiffReader::Entry &e : reader.entries()) {
        if (e.tag != kCanonTimeInfo || e.directory != 0 || e.byteCount < 8 || !reader.inside(e.valueOffset, 8))
            continue;
        const unsigned char *p = reader.fetch(e.valueOffset + 4, 4);
        *readEnd = std::max(*readEnd, reader.readEnd());
        if (!p)
            return false;
        const auto minutes = int64_t(int32_t(uint32_t(reader.unsignedAt(p, 4))));
        if (minutes % 15 != 0 || minutes * 60 > Cr3Format::kMaxZone || minutes * 60 < -Cr3Format::kMaxZone)
            return false;
        *seconds = minutes * 60;
        return true;
    }
    return false;
}

// A creation or modification time of a movie, track or media header.
struct HeaderTime {
    DateField field;
    int64_t seconds = 0;   // since 1970, read as UTC
    bool creation = false;
};

// The two times of a full box that starts with them after its version and
// flags: 32 bits each in version 0, 64 bits in version 1. Zero ("not set")
// is no time. A box too short for its times, or of another version, holds none.
void headerTimes(ByteSource &file, IsobmffReader &reader, const IsoBox &header, std::vector<HeaderTime> *out,
                 uint64_t *readEnd)
{
    uint8_t version = 0;
    uint32_t flags = 0;
    if (!reader.fullBox(header, &version, &flags) || version > 1)
        return;
    const unsigned width = version == 0 ? 4 : 8;
    unsigned char bytes[16];
    if (header.bodySize() < 4 + 2 * width || !file.readAt(header.body + 4, bytes, 2 * width))
        return;
    *readEnd = std::max(*readEnd, header.body + 4 + 2 * width);
    for (unsigned i = 0; i < 2; ++i) {
        HeaderTime t;
        t.field.offset = header.body + 4 + i * width;
        t.field.width = width;
        t.field.encoding = version == 0 ? DateEncoding::Seconds1904x32 : DateEncoding::Seconds1904x64;
        t.field.value.assign(reinterpret_cast<const char *>(bytes + i * width), width);
        t.creation = i == 0;
        WallClock clock;
        if (!DateCodec::decode(t.field.encoding, bytes + i * width, width, &clock))
            continue;
        t.seconds = DateCodec::toEpochSeconds(clock);
        out->push_back(t);
    }
}

// The times of 'mvhd' and of each track's 'tkhd' and 'mdia/mdhd' (of the
// first kMaxTracks tracks), in file order. False when a track's boxes are
// damaged.
bool movieTimes(ByteSource &file, IsobmffReader &reader, const std::vector<IsoBox> &movie,
                std::vector<HeaderTime> *out, uint64_t *readEnd)
{
    std::vector<IsoBox> track, media;
    int tracks = 0;
    for (const IsoBox &b : movie) {
        if (b.type == box("mvhd")) {
            headerTimes(file, reader, b, out, readEnd);
        } else if (b.type == box("trak") && ++tracks <= kMaxTracks) {
            if (!reader.children(b, 0, &track))
                return false;
            if (const IsoBox *tkhd = IsobmffReader::first(track, box("tkhd")))
                headerTimes(file, reader, *tkhd, out, readEnd);
            const IsoBox *mdia = IsobmffReader::first(track, box("mdia"));
            if (mdia && !reader.children(*mdia, 0, &media))
                return false;
            if (const IsoBox *mdhd = mdia ? IsobmffReader::first(media, box("mdhd")) : nullptr)
                headerTimes(file, reader, *mdhd, out, readEnd);
        }
    }
    return true;
}

int64_t distance(int64_t a, int64_t b)
{
    return a > b ? a - b : b - a;
}

// Nothing found in a damaged file is kept but how far it was read.
bool damaged(FoundDates *found, uint64_t readEnd)
{
    *found = FoundDates();
    found->headerEnd = readEnd;
    return true;
}

} // namespace

const char *Cr3Format::name() const
{
    return "CR3";
}

const char *const *Cr3Format::extensions() const
{
    static const char *const list[] = {"cr3", nullptr};
    return list;
}

bool Cr3Format::sniff(const unsigned char *head, size_t n) const
{
    return n >= 12 && std::memcmp(head + 4, "ftyp", 4) == 0 && std::memcmp(head + 8, "crx ", 4) == 0;
}

bool Cr3Format::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[sniffBytes];
    const size_t n = size_t(std::min<uint64_t>(file.size(), sizeof head));
    if (!file.readAt(0, head, n) || !sniff(head, n))
        return false;
    uint64_t readEnd = n;

    // The whole top level must be sound (a file cut short inside a box is
    // damaged), then 'moov' and Canon's box in it, box headers only.
    IsobmffReader reader(file);
    std::vector<IsoBox> top, movie, canon;
    const bool whole = reader.topLevel(&top);
    const IsoBox *moov = whole ? IsobmffReader::first(top, box("moov")) : nullptr;
    const bool sound = moov && reader.children(*moov, 0, &movie);
    const IsoBox *canonBox = sound ? uuidBox(movie, kCanonUuid) : nullptr;
    const bool held = canonBox && reader.children(*canonBox, 0, &canon);
    readEnd = std::max(readEnd, reader.readEnd());
    if (!held)
        return damaged(found, readEnd);

    // The TIFF structures, each read on its own; any of them damaged, no field.
    const IsoBox *blocks[3] = {IsobmffReader::first(canon, box("CMT1")), IsobmffReader::first(canon, box("CMT2")),
                               IsobmffReader::first(canon, box("CMT3"))};
    FoundDates read[3];
    for (int i = 0; i < 3; ++i) {
        if (!blocks[i])
            continue;
        const bool ok = TiffFormat::locateBlock(file, blocks[i]->body, blocks[i]->bodySize(), &read[i]);
        readEnd = std::max(readEnd, read[i].headerEnd);
        if (!ok)
            return damaged(found, readEnd);
    }
    if (!blocks[0] && !blocks[1])
        return damaged(found, readEnd);
    found->hasMetadata = true;
    found->headerEnd = readEnd;
    found->make = read[0].make;
    found->model = read[0].model;
    const int source = !read[1].captureText.empty() ? 1 : 0;
    found->captureText = read[source].captureText;
    const std::string &capture = found->captureText;
    WallClock clock;
    if (!DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(capture.data()),
                           capture.size(), &clock))
        return true;

    // The text copies: a block that names the same capture time found its
    // own; in the others, the ASCII values that spell it.
    std::vector<DateField> fields;
    for (int i = 0; i < 3; ++i) {
        if (!blocks[i])
            continue;
        if (read[i].captureText == capture) {
            for (DateField f : read[i].fields) {
                if (i != source)
                    f.role = DateRole::Copy;
                fields.push_back(f);
            }
        } else if (!textCopies(file, *blocks[i], capture, &fields, &readEnd)) {
            return damaged(found, readEnd);
        }
    }

    // The header times that are the capture time in the camera's zone.
    std::vector<HeaderTime> times;
    if (!movieTimes(file, reader, movie, &times, &readEnd))
        return damaged(found, readEnd);
    const int64_t local = DateCodec::toEpochSeconds(clock);
    int64_t zone = 0;
    bool zoned = zoneOf(file, blocks[1], blocks[2], &zone, &readEnd);
    for (size_t i = 0; i < times.size() && !zoned; ++i) {
        // Without a named zone, the first creation time a whole number of
        // quarter hours from the capture text tells it.
        const int64_t d = times[i].seconds - local;
        const int64_t quarters = (d >= 0 ? d + kQuarterHour / 2 : d - kQuarterHour / 2) / kQuarterHour;
        if (times[i].creation && distance(d, quarters * kQuarterHour) <= kWritingDelay
            && distance(quarters * kQuarterHour, 0) <= kMaxZone) {
            zone = -quarters * kQuarterHour;
            zoned = true;
        }
    }
    for (HeaderTime &t : times) {
        // In UTC by the zone, or (as some cameras write) the wall-clock time.
        const int64_t d = t.seconds - local;
        if (zoned && (distance(d, -zone) <= kWritingDelay || distance(d, 0) <= kWritingDelay)) {
            t.field.skew = d;
            fields.push_back(t.field);
        }
    }
    readEnd = std::max(readEnd, reader.readEnd());

    // The XMP packet, at the top level or in 'moov'.
    const IsoBox *xmp = uuidBox(top, kXmpUuid);
    if (!xmp)
        xmp = uuidBox(movie, kXmpUuid);
    std::vector<unsigned char> packet;
    if (xmp && reader.contents(*xmp, 0, kMaxXmp, &packet)) {
        readEnd = std::max(readEnd, xmp->end);
        for (const DateField &f : XmpPacket::findCopies(ConstByteView(packet.data(), packet.size()), xmp->body, clock))
            fields.push_back(f);
    }

    // Sorted; two fields that share a byte tell a file not to be trusted.
    std::sort(fields.begin(), fields.end(), [](const DateField &a, const DateField &b) { return a.offset < b.offset; });
    for (size_t i = 1; i < fields.size(); ++i)
        if (fields[i - 1].offset + fields[i - 1].width > fields[i].offset)
            return damaged(found, readEnd);
    found->fields = std::move(fields);
    found->headerEnd = readEnd;
    return true;
}
