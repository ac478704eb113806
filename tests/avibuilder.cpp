#include "avibuilder.h"

#include <algorithm>

namespace avitest {

namespace {

constexpr size_t kFrameBytes = 1024;
constexpr uint32_t kWidth = 64, kHeight = 48;

void put(Bytes &out, const Bytes &more) { out.insert(out.end(), more.begin(), more.end()); }
void put(Bytes &out, const std::string &text) { out.insert(out.end(), text.begin(), text.end()); }

Bytes le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }
Bytes le16(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }

Bytes words(std::initializer_list<uint32_t> values)
{
    Bytes out;
    for (uint32_t v : values)
        put(out, le32(v));
    return out;
}

Bytes text(const std::string &s) { return Bytes(s.begin(), s.end()); }

// Frames of a motion JPEG: bytes without the marks any format looks for.
Bytes frame(size_t n, size_t index)
{
    Bytes out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = uint8_t((i * 13 + index * 5 + 3) % 241);
    return out;
}

} // namespace

Bytes riffChunk(const std::string &id, const Bytes &data)
{
    Bytes out;
    put(out, id.substr(0, 4));
    put(out, le32(uint32_t(data.size())));
    put(out, data);
    if (data.size() % 2)
        out.push_back(0);
    return out;
}

Bytes riffList(const std::string &type, const std::vector<Bytes> &children, bool riff)
{
    Bytes data = text(type.substr(0, 4));
    for (const Bytes &c : children)
        put(data, c);
    return riffChunk(riff ? "RIFF" : "LIST", data);
}

std::string iditText(const std::string &t)
{
    static const char *const weekdays[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    static const char *const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const int64_t seconds = rawtest::secondsSince1970(t);
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t weekday = ((days + 4) % 7 + 7) % 7;   // 1970-01-01 was a Thursday
    return std::string(weekdays[weekday]) + ' ' + months[std::stoi(t.substr(5, 2)) - 1] + ' ' + t.substr(8, 2) + ' '
           + t.substr(11, 8) + ' ' + t.substr(0, 4);
}

Avi::Avi(const std::string &t) : iditData(iditText(t) + std::string("\n\0", 2)) {}

Avi &Avi::iditAtTop()
{
    atTop = true;
    return *this;
}

Avi &Avi::idit(const std::string &data)
{
    iditData = data;
    return *this;
}

Avi &Avi::noIdit()
{
    hasIdit = false;
    return *this;
}

Avi &Avi::secondIdit(const std::string &data)
{
    second = data;
    return *this;
}

Avi &Avi::info(const std::string &date)
{
    created = date;
    return *this;
}

Avi &Avi::mediaBytes(size_t n)
{
    mediaSize = n;
    return *this;
}

Avi &Avi::riffSize(uint32_t size)
{
    sizeOverride = true;
    sizeValue = size;
    return *this;
}

Bytes Avi::layout(Span *media) const
{
    const uint32_t frames = uint32_t((mediaSize + kFrameBytes - 1) / kFrameBytes);
    const Bytes avih = words({200000, 25000, 0, 0x10 /* has an index */, frames, 0, 1, kFrameBytes, kWidth, kHeight,
                              0, 0, 0, 0});
    Bytes strh = text("vidsMJPG");
    put(strh, words({0}));
    put(strh, le16(0));
    put(strh, le16(0));
    put(strh, words({0, 1, 5, 0, frames, kFrameBytes, 0xFFFFFFFF, 0}));
    put(strh, le16(0));
    put(strh, le16(0));
    put(strh, le16(uint16_t(kWidth)));
    put(strh, le16(uint16_t(kHeight)));
    Bytes strf = words({40, kWidth, kHeight});
    put(strf, le16(1));
    put(strf, le16(24));
    put(strf, text("MJPG"));
    put(strf, words({kWidth * kHeight * 3, 0, 0, 0, 0}));

    const Bytes idit = riffChunk("IDIT", text(iditData));
    std::vector<Bytes> hdrl = {riffChunk("avih", avih), riffList("strl", {riffChunk("strh", strh), riffChunk("strf", strf)})};
    if (hasIdit && !atTop)
        hdrl.push_back(idit);
    std::vector<Bytes> top = {riffList("hdrl", hdrl)};
    if (hasIdit && atTop)
        top.push_back(idit);
    if (!second.empty())
        top.push_back(riffChunk("IDIT", text(second)));
    if (!created.empty())
        top.push_back(riffList("INFO", {riffChunk("ICRD", text(created + std::string(1, '\0'))),
                                        riffChunk("ISFT", text(std::string("CanonMVI06", 11)))}));
    top.push_back(riffChunk("JUNK", Bytes(120, 0)));

    std::vector<Bytes> movi;
    Bytes index;
    uint32_t at = 4;   // offsets in the index count from the 'movi' type
    for (uint32_t i = 0; i < frames; ++i) {
        const size_t n = std::min(kFrameBytes, mediaSize - i * kFrameBytes);
        movi.push_back(riffChunk("00dc", frame(n, i)));
        put(index, text("00dc"));
        put(index, words({0x10, at, uint32_t(n)}));
        at += uint32_t(movi.back().size());
    }
    size_t before = 12;
    for (const Bytes &b : top)
        before += b.size();
    top.push_back(riffList("movi", movi));
    top.push_back(riffChunk("idx1", index));
    if (media) {
        media->offset = before + 12;
        media->length = at - 4;
    }
    Bytes out = riffList("AVI ", top, true);
    if (sizeOverride) {
        const Bytes size = le32(sizeValue);
        std::copy(size.begin(), size.end(), out.begin() + 4);
    }
    return out;
}

Bytes Avi::bytes() const
{
    return layout(nullptr);
}

Span Avi::media() const
{
    Span s;
    layout(&s);
    return s;
}

Bytes mts(bool stamped, size_t packets)
{
    Bytes out;
    for (size_t i = 0; i < packets; ++i) {
        if (stamped)
            put(out, Bytes{uint8_t(0x00), uint8_t(0x01), uint8_t(i >> 8), uint8_t(i)});   // the arrival time
        Bytes p(188, 0xFF);
        p[0] = 0x47;
        if (i == 0) {
            // The program association table: program 1's map at id 0x100.
            const Bytes pat = {0x40, 0x00, 0x10, 0x00, 0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1,
                               0x00, 0x00, 0x00, 0x01, 0xE1, 0x00, 0xE8, 0xF9, 0x5E, 0x7D};
            std::copy(pat.begin(), pat.end(), p.begin() + 1);
        } else {
            // Video at id 0x1011, as AVCHD cameras number it.
            p[1] = i == 1 ? 0x50 : 0x10;
            p[2] = 0x11;
            p[3] = uint8_t(0x10 | (i & 0x0F));
            for (size_t j = 4; j < p.size(); ++j)
                p[j] = uint8_t((j * 11 + i) % 239 + 1);
        }
        put(out, p);
    }
    return out;
}

} // namespace avitest
