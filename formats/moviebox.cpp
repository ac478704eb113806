#include "moviebox.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t box(const char (&s)[5])
{
    return IsobmffReader::fourcc(s);
}

// '©day': the copyright sign is 0xA9.
constexpr uint32_t kDay = uint32_t(0xA9) << 24 | uint32_t('d') << 16 | uint32_t('a') << 8 | 'y';

uint32_t be32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// A header's duration beyond this is read as unknown.
constexpr int64_t kLongestMovie = 7 * 24 * 3600;

// The creation and modification times of a movie, track or media header
// (version 0: 32-bit at 4 and 8; version 1: 64-bit at 4 and 12). With
// `duration`, the movie header's duration too.
bool headerTimes(IsobmffReader &reader, const IsoBox &header, bool movie, MovieContents *out)
{
    std::vector<unsigned char> body;
    if (!reader.contents(header, 0, 4096, &body) || body.size() < 4 || body[0] > 1)
        return false;
    const bool wide = body[0] == 1;
    const size_t width = wide ? 8 : 4;
    // Times, then for the movie header its time scale (4 bytes) and duration.
    const size_t needed = 4 + 2 * width + (movie ? 4 + width : 0);
    if (body.size() < needed)
        return false;
    for (int i = 0; i < 2; ++i) {
        MovieTime t;
        const size_t at = 4 + size_t(i) * width;
        t.offset = header.body + at;
        t.encoding = wide ? DateEncoding::Seconds1904x64 : DateEncoding::Seconds1904x32;
        t.movieCreation = movie && i == 0;
        t.value.assign(reinterpret_cast<const char *>(body.data() + at), width);
        t.valid = DateCodec::decode(t.encoding, body.data() + at, width, &t.time.wall);
        out->times.push_back(t);
    }
    if (movie) {
        const size_t at = 4 + 2 * width;
        const uint32_t scale = be32(body.data() + at);
        const uint64_t length = wide ? uint64_t(be32(body.data() + at + 4)) << 32 | be32(body.data() + at + 8)
                                     : be32(body.data() + at + 4);
        const bool unknown = wide ? length == ~uint64_t(0) : length == 0xFFFFFFFFu;
        if (scale != 0 && !unknown)
            out->durationSeconds = int64_t(std::min<uint64_t>(length / scale, kLongestMovie));
    }
    return true;
}

// A date text of `kind` held from `offset`, `n` bytes long.
void addText(const unsigned char *text, size_t n, uint64_t offset, MovieTime::Kind kind, MovieContents *out)
{
    MovieTime t;
    t.kind = kind;
    if (!QuickTimeText::parse(text, n, &t.time))
        return;
    t.offset = offset;
    t.encoding = DateEncoding::XmpText;
    t.valid = true;
    t.value.assign(reinterpret_cast<const char *>(text), QuickTimeText::kWallLength);
    out->times.push_back(t);
}

// The value of an ilst item: its 'data' box's contents after the type and
// the locale. False on damage; `*n` 0 when it holds no value.
bool itemValue(IsobmffReader &reader, const IsoBox &item, std::vector<unsigned char> *value, uint64_t *offset)
{
    std::vector<IsoBox> parts;
    value->clear();
    if (!reader.children(item, 0, &parts))
        return false;
    const IsoBox *data = IsobmffReader::first(parts, box("data"));
    if (!data || data->bodySize() < 8 || data->bodySize() > MovieBox::kMaxKeys)
        return true;
    if (!reader.contents(*data, 8, MovieBox::kMaxKeys, value))
        return false;
    *offset = data->body + 8;
    return true;
}

// Apple's 'meta': 'keys' names the values, 'ilst' holds them by the key's
// index (from 1). Some writers give 'meta' a version and flags, Apple's
// QuickTime files do not: its first child then starts at once.
bool readMeta(IsobmffReader &reader, ByteSource &file, const IsoBox &meta, MovieContents *out)
{
    unsigned char head[8];
    if (meta.bodySize() < 8)
        return meta.bodySize() == 0;
    if (!file.readAt(meta.body, head, 8))
        return false;
    const uint64_t skip = std::memcmp(head + 4, "hdlr", 4) == 0 ? 0 : 4;
    std::vector<IsoBox> parts;
    if (!reader.children(meta, skip, &parts))
        return false;
    const IsoBox *keysBox = IsobmffReader::first(parts, box("keys"));
    const IsoBox *ilst = IsobmffReader::first(parts, box("ilst"));
    if (!ilst)
        return true;
    std::vector<IsoBox> items;
    if (!reader.children(*ilst, 0, &items))
        return false;

    // The keys by index: 0 none, 1 the creation date, 2 make, 3 model.
    std::vector<unsigned char> keys;
    std::vector<int> meaning;
    if (keysBox) {
        if (!reader.contents(*keysBox, 0, MovieBox::kMaxKeys, &keys) || keys.size() < 8)
            return false;
        const uint32_t count = be32(keys.data() + 4);
        size_t at = 8;
        for (uint32_t i = 0; i < count; ++i) {
            if (keys.size() - at < 8)
                return false;
            const uint32_t size = be32(keys.data() + at);
            if (size < 8 || size > keys.size() - at)
                return false;
            const std::string name(reinterpret_cast<const char *>(keys.data() + at + 8), size - 8);
            meaning.push_back(name == "com.apple.quicktime.creationdate" ? 1
                              : name == "com.apple.quicktime.make"       ? 2
                              : name == "com.apple.quicktime.model"      ? 3 : 0);
            at += size;
        }
    }

    std::vector<unsigned char> value;
    for (const IsoBox &item : items) {
        // Keys' items are numbered; an iTunes-style list names its date '©day'.
        const int what = item.type == kDay ? 1 : item.type >= 1 && item.type <= meaning.size() ? meaning[item.type - 1] : 0;
        if (what == 0)
            continue;
        uint64_t offset = 0;
        if (!itemValue(reader, item, &value, &offset))
            return false;
        if (value.empty())
            continue;
        if (what == 1)
            addText(value.data(), value.size(), offset,
                    item.type == kDay ? MovieTime::Kind::Day : MovieTime::Kind::Keys, out);
        else {
            std::string text(value.begin(), std::find(value.begin(), value.end(), 0));
            (what == 2 ? out->make : out->model) = text.substr(0, 256);
        }
    }
    return true;
}

// A 'udta' text: QuickTime's (a 16-bit length and a language, then the
// text), one in a 'data' box, or the bare text.
void readUserText(IsobmffReader &reader, const IsoBox &text, MovieTime::Kind kind, MovieContents *out)
{
    std::vector<unsigned char> body;
    if (text.bodySize() > MovieBox::kMaxText || !reader.contents(text, 0, MovieBox::kMaxText, &body))
        return;
    const size_t n = body.size();
    if (n >= 4 && size_t(body[0] << 8 | body[1]) + 4 == n)
        addText(body.data() + 4, n - 4, text.body + 4, kind, out);
    else if (n >= 16 && be32(body.data()) == n && std::memcmp(body.data() + 4, "data", 4) == 0)
        addText(body.data() + 16, n - 16, text.body + 16, kind, out);
    else
        addText(body.data(), n, text.body, kind, out);
}

bool readUserData(IsobmffReader &reader, ByteSource &file, const IsoBox &udta, MovieContents *out)
{
    std::vector<IsoBox> parts;
    if (!reader.children(udta, 0, &parts))
        return false;
    for (const IsoBox &part : parts) {
        if (part.type == kDay)
            readUserText(reader, part, MovieTime::Kind::Day, out);
        else if (part.type == box("date"))
            readUserText(reader, part, MovieTime::Kind::Date, out);
        else if (part.type == box("XMP_") && part.bodySize() > 0)
            out->xmp.push_back({part.body, part.bodySize()});
        else if (part.type == box("meta") && !readMeta(reader, file, part, out))
            return false;
    }
    return true;
}

} // namespace

const unsigned char MovieBox::kXmpUuid[16] = {0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8,
                                              0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};

bool MovieBox::read(IsobmffReader &reader, ByteSource &file, const IsoBox &moov, MovieContents *out)
{
    *out = MovieContents();
    std::vector<IsoBox> parts;
    if (!reader.children(moov, 0, &parts))
        return false;
    const IsoBox *mvhd = IsobmffReader::first(parts, box("mvhd"));
    if (!mvhd || !headerTimes(reader, *mvhd, true, out))
        return false;
    std::vector<IsoBox> track, media;
    for (const IsoBox &part : parts) {
        if (part.type == box("trak")) {
            if (!reader.children(part, 0, &track))
                return false;
            const IsoBox *tkhd = IsobmffReader::first(track, box("tkhd"));
            if (tkhd && !headerTimes(reader, *tkhd, false, out))
                return false;
            const IsoBox *mdia = IsobmffReader::first(track, box("mdia"));
            if (mdia) {
                if (!reader.children(*mdia, 0, &media))
                    return false;
                const IsoBox *mdhd = IsobmffReader::first(media, box("mdhd"));
                if (mdhd && !headerTimes(reader, *mdhd, false, out))
                    return false;
            }
        } else if (part.type == box("meta")) {
            if (!readMeta(reader, file, part, out))
                return false;
        } else if (part.type == box("udta")) {
            if (!readUserData(reader, file, part, out))
                return false;
        } else if (part.type == box("uuid") && std::memcmp(part.uuid, kXmpUuid, 16) == 0 && part.bodySize() > 0) {
            out->xmp.push_back({part.body, part.bodySize()});
        }
    }
    std::sort(out->times.begin(), out->times.end(),
              [](const MovieTime &a, const MovieTime &b) { return a.offset < b.offset; });
    return true;
}
