#include "rawbuilder.h"

#include <cstdlib>

namespace rawtest {

namespace {

void put(Bytes &out, const Bytes &more) { out.insert(out.end(), more.begin(), more.end()); }
void put(Bytes &out, const std::string &text) { out.insert(out.end(), text.begin(), text.end()); }

Bytes u16(ByteOrder order, uint16_t v)
{
    if (order == ByteOrder::Intel)
        return {uint8_t(v), uint8_t(v >> 8)};
    return {uint8_t(v >> 8), uint8_t(v)};
}

Bytes u32(ByteOrder order, uint32_t v)
{
    if (order == ByteOrder::Intel)
        return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

Bytes be32(uint32_t v) { return u32(ByteOrder::Motorola, v); }

// `text` padded with NULs to `n` bytes.
Bytes padded(const std::string &text, size_t n)
{
    Bytes out(text.begin(), text.end());
    out.resize(n, 0);
    return out;
}

// Bytes that stand for image data: a pattern without the marks any format looks for.
Bytes filler(size_t n, uint8_t seed)
{
    Bytes out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = uint8_t((i * 7 + seed) % 251);
    return out;
}

} // namespace

int64_t secondsSince1970(const std::string &t)
{
    auto num = [&t](size_t at, size_t n) { return std::atoi(t.substr(at, n).c_str()); };
    int64_t y = num(0, 4);
    const int64_t m = num(5, 2), d = num(8, 2);
    // Days from 1970-01-01 to the civil date, in 400-year eras beginning in March.
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    return days * 86400 + num(11, 2) * 3600 + num(14, 2) * 60 + num(17, 2);
}

// --- RAF ---------------------------------------------------------------

namespace {
constexpr uint32_t kRafHeader = 148;
}

Raf::Raf(Bytes jpeg) : jpegBytes(std::move(jpeg)) {}

Raf &Raf::model(const std::string &name)
{
    modelName = name;
    return *this;
}

Raf &Raf::sensorBytes(size_t n)
{
    sensorSize = n;
    return *this;
}

Raf &Raf::jpegField(uint32_t offset, uint32_t length)
{
    fieldOverride = true;
    fieldOffset = offset;
    fieldLength = length;
    return *this;
}

Span Raf::jpeg() const
{
    return {kRafHeader, jpegBytes.size()};
}

Span Raf::sensor() const
{
    // After the JPEG (padded to 4 bytes), the sensor's directory: a count and two entries of 8 bytes.
    const uint64_t directory = (kRafHeader + jpegBytes.size() + 3) / 4 * 4;
    return {directory + 4 + 2 * 8, sensorSize};
}

Bytes Raf::bytes() const
{
    const Span j = jpeg(), s = sensor();
    const uint32_t directory = uint32_t((j.offset + j.length + 3) / 4 * 4);
    Bytes out;
    put(out, std::string("FUJIFILMCCD-RAW 0201FF129502"));
    put(out, padded(modelName, 32));
    put(out, std::string("0100"));
    out.resize(84, 0);
    put(out, be32(fieldOverride ? fieldOffset : uint32_t(j.offset)));
    put(out, be32(fieldOverride ? fieldLength : uint32_t(j.length)));
    put(out, be32(directory));
    put(out, be32(uint32_t(s.offset - directory)));
    put(out, be32(uint32_t(s.offset)));
    put(out, be32(uint32_t(s.length)));
    out.resize(kRafHeader, 0);
    put(out, jpegBytes);
    out.resize(directory, 0);
    // The sensor's directory: its full size and the size it is stored at (height, width).
    put(out, be32(2));
    put(out, Bytes{0x01, 0x00, 0x00, 0x04, 0x00, 0x40, 0x00, 0x40});
    put(out, Bytes{0x01, 0x21, 0x00, 0x04, 0x00, 0x40, 0x00, 0x40});
    put(out, filler(sensorSize, 3));
    return out;
}

// --- MRW ---------------------------------------------------------------

Mrw::Mrw(const jpegtest::ExifBlock &exif) : tiffBytes(exif.tiff()) {}

Mrw &Mrw::imageBytes(size_t n)
{
    imageSize = n;
    return *this;
}

Mrw &Mrw::block(const std::string &name, const Bytes &payload)
{
    extra.emplace_back(name, payload);
    return *this;
}

Mrw &Mrw::lengthField(uint32_t length)
{
    lengthOverride = true;
    lengthValue = length;
    return *this;
}

Bytes Mrw::layout(Span *tiff, Span *image) const
{
    const ByteOrder mm = ByteOrder::Motorola;
    Bytes blocks;
    auto add = [&blocks](const std::string &name, const Bytes &payload) {
        put(blocks, name);
        put(blocks, be32(uint32_t(payload.size())));
        put(blocks, payload);
    };
    // The picture's sizes: sensor 64 x 64, image 64 x 64, 12 bits packed, an RGGB pattern.
    Bytes prd;
    put(prd, std::string("21810002"));
    for (int i = 0; i < 4; ++i)
        put(prd, u16(mm, 64));
    put(prd, Bytes{12, 12, 0x59, 0, 0, 0, 0, 1});
    add(std::string("\0PRD", 4), prd);
    *tiff = {8 + blocks.size() + 8, tiffBytes.size()};
    add(std::string("\0TTW", 4), tiffBytes);
    add(std::string("\0WBG", 4), Bytes{0, 0, 0, 0, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00});
    add(std::string("\0RIF", 4), Bytes(40, 0));
    for (const auto &b : extra)
        add(b.first, b.second);

    Bytes out;
    put(out, std::string("\0MRM", 4));
    put(out, be32(lengthOverride ? lengthValue : uint32_t(blocks.size())));
    put(out, blocks);
    *image = {out.size(), imageSize};
    put(out, filler(imageSize, 5));
    return out;
}

Bytes Mrw::bytes() const
{
    Span t, i;
    return layout(&t, &i);
}

Span Mrw::tiff() const
{
    Span t, i;
    layout(&t, &i);
    return t;
}

Span Mrw::image() const
{
    Span t, i;
    layout(&t, &i);
    return i;
}

// --- CIFF heaps and CRW --------------------------------------------------

CiffHeap &CiffHeap::value(uint16_t tag, const Bytes &data)
{
    Entry e;
    e.tag = tag;
    e.data = data;
    entries.push_back(e);
    return *this;
}

CiffHeap &CiffHeap::inEntry(uint16_t tag, const Bytes &eight)
{
    Entry e;
    e.tag = uint16_t(tag | 0x4000);
    e.data = eight;
    e.data.resize(8, 0);
    e.inEntry = true;
    entries.push_back(e);
    return *this;
}

CiffHeap &CiffHeap::heap(uint16_t tag, const CiffHeap &child)
{
    Entry e;
    e.tag = tag;
    e.child.push_back(child);
    entries.push_back(e);
    return *this;
}

CiffHeap &CiffHeap::rawEntry(uint16_t tag, uint32_t size, uint32_t offset)
{
    Entry e;
    e.tag = tag;
    e.verbatim = true;
    e.size = size;
    e.offset = offset;
    entries.push_back(e);
    return *this;
}

CiffHeap &CiffHeap::tableField(uint32_t offset)
{
    tableOverride = true;
    tableValue = offset;
    return *this;
}

uint32_t CiffHeap::valueAt(size_t index) const
{
    uint32_t at = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry &e = entries[i];
        if (e.inEntry || e.verbatim)
            continue;
        if (i == index)
            return at;
        at += uint32_t(e.child.empty() ? e.data.size() : e.child.front().bytes(ByteOrder::Intel).size());
    }
    return at;
}

Bytes CiffHeap::bytes(ByteOrder order) const
{
    Bytes values, table = u16(order, uint16_t(entries.size()));
    for (const Entry &e : entries) {
        put(table, u16(order, e.tag));
        if (e.inEntry) {
            put(table, e.data);
            continue;
        }
        if (e.verbatim) {
            put(table, u32(order, e.size));
            put(table, u32(order, e.offset));
            continue;
        }
        const Bytes data = e.child.empty() ? e.data : e.child.front().bytes(order);
        put(table, u32(order, uint32_t(data.size())));
        put(table, u32(order, uint32_t(values.size())));
        put(values, data);
    }
    const uint32_t tableAt = uint32_t(values.size());
    put(values, table);
    put(values, u32(order, tableOverride ? tableValue : tableAt));
    return values;
}

Crw::Crw(ByteOrder order, CiffHeap root) : order(order), root(std::move(root)) {}

Crw &Crw::headerField(uint32_t length)
{
    headerOverride = true;
    headerValue = length;
    return *this;
}

Bytes Crw::bytes() const
{
    Bytes out;
    put(out, std::string(order == ByteOrder::Intel ? "II" : "MM"));
    put(out, u32(order, headerOverride ? headerValue : 26));
    put(out, std::string("HEAPCCDR"));
    put(out, u32(order, 0x00010002));   // the version
    out.resize(26, 0);
    put(out, root.bytes(order));
    return out;
}

Bytes Crw::captureTime(ByteOrder order, uint32_t seconds, int32_t zone, uint32_t zoneInfo)
{
    Bytes out = u32(order, seconds);
    put(out, u32(order, uint32_t(zone)));
    put(out, u32(order, zoneInfo));
    return out;
}

Bytes Crw::makeModel(const std::string &make, const std::string &model)
{
    return padded(make + std::string(1, '\0') + model, 32);
}

Crw Crw::camera(const std::string &t, ByteOrder order, size_t rawBytes)
{
    using namespace ciff;
    const uint32_t seconds = uint32_t(secondsSince1970(t));
    CiffHeap details, object, exif, props, root;
    details.value(FirmwareVersion, padded("Firmware Version 1.10", 32));
    object.value(OwnerName, padded("Owner", 32)).value(MakeModel, makeModel("Canon", "Canon PowerShot S40"))
        .heap(CameraDetails, details);
    exif.value(0x0001, Bytes(12, 0x5D)).value(ShotInfo, Bytes(54, 0));
    props.value(ImageFormat, u32(order, 0x20001)).value(ImageInfo, Bytes(28, 0))
        .inEntry(TargetImageType, Bytes(8, 0)).inEntry(RecordId, u32(order, 0))
        .value(CaptureTime, captureTime(order, seconds)).value(OriginalFileName, padded("CRW_3050.CRW", 32))
        .heap(CameraObject, object).heap(ExifInformation, exif);
    Bytes thumbnail = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0x00, 0x00};
    put(thumbnail, filler(64, 9));
    put(thumbnail, Bytes{0xFF, 0xD9});
    root.value(RawData, filler(rawBytes, 1)).value(ThumbnailImage, thumbnail).heap(ImageProps, props);
    return Crw(order, root);
}

Span Crw::cameraRawData(size_t rawBytes)
{
    return {26, rawBytes};
}

// --- X3F ---------------------------------------------------------------

Bytes x3f(size_t imageBytes)
{
    const ByteOrder ii = ByteOrder::Intel;
    Bytes out;
    put(out, std::string("FOVb"));
    put(out, u32(ii, 0x00020002));   // version 2.2: the 232-byte header
    put(out, filler(16, 11));        // the file's identifier
    put(out, u32(ii, 0));            // mark bits
    put(out, u32(ii, 64));           // columns, rows, rotation
    put(out, u32(ii, 64));
    put(out, u32(ii, 0));
    put(out, padded("Auto", 32));    // the white balance's name
    out.resize(232, 0);              // no extended data
    put(out, filler(imageBytes, 13));
    const uint32_t directory = uint32_t(out.size());
    put(out, std::string("SECd"));
    put(out, u32(ii, 0x00020000));
    put(out, u32(ii, 0));            // no sections
    put(out, u32(ii, directory));
    return out;
}

} // namespace rawtest
