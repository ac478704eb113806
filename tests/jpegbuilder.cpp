#include "jpegbuilder.h"

#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

namespace jpegtest {

namespace {

void put(Bytes &out, const Bytes &more) { out.insert(out.end(), more.begin(), more.end()); }

} // namespace

ExifBlock::ExifBlock(ByteOrder order)
    : byteOrder(order), dirs(1), markText(order == ByteOrder::Intel ? "II" : "MM")
{
}

int ExifBlock::addDirectory()
{
    dirs.emplace_back();
    return int(dirs.size()) - 1;
}

Bytes ExifBlock::u16(uint16_t v) const
{
    if (byteOrder == ByteOrder::Intel)
        return {uint8_t(v), uint8_t(v >> 8)};
    return {uint8_t(v >> 8), uint8_t(v)};
}

Bytes ExifBlock::u32(uint32_t v) const
{
    if (byteOrder == ByteOrder::Intel)
        return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

ExifBlock &ExifBlock::value(int dir, uint16_t tag, uint16_t fmt, uint32_t count, const Bytes &v)
{
    dirs.at(size_t(dir)).entries.push_back({tag, fmt, count, v, false, 0, -1});
    return *this;
}

ExifBlock &ExifBlock::ascii(int dir, uint16_t tag, const std::string &text)
{
    Bytes v(text.begin(), text.end());
    v.push_back(0);
    return value(dir, tag, format::Ascii, uint32_t(v.size()), v);
}

ExifBlock &ExifBlock::shortValue(int dir, uint16_t tag, uint16_t v)
{
    return value(dir, tag, format::Short, 1, u16(v));
}

ExifBlock &ExifBlock::longValue(int dir, uint16_t tag, uint32_t v)
{
    return value(dir, tag, format::Long, 1, u32(v));
}

ExifBlock &ExifBlock::rational(int dir, uint16_t tag, int32_t num, int32_t den, uint16_t fmt)
{
    Bytes v = u32(uint32_t(num));
    put(v, u32(uint32_t(den)));
    return value(dir, tag, fmt, 1, v);
}

ExifBlock &ExifBlock::rawEntry(int dir, uint16_t tag, uint16_t fmt, uint32_t count, uint32_t field)
{
    dirs.at(size_t(dir)).entries.push_back({tag, fmt, count, {}, true, field, -1});
    return *this;
}

ExifBlock &ExifBlock::subDirectory(int dir, uint16_t tag, int child)
{
    dirs.at(size_t(dir)).entries.push_back({tag, format::Long, 1, {}, false, 0, child});
    return *this;
}

ExifBlock &ExifBlock::next(int dir, int child)
{
    dirs.at(size_t(dir)).next = child;
    return *this;
}

ExifBlock &ExifBlock::nextRaw(int dir, uint32_t offset)
{
    dirs.at(size_t(dir)).nextVerbatim = true;
    dirs.at(size_t(dir)).nextField = offset;
    return *this;
}

ExifBlock &ExifBlock::firstDirectoryAt(uint32_t offset)
{
    firstAt = offset < 8 ? 8 : offset;
    return *this;
}

ExifBlock &ExifBlock::headerOffset(uint32_t offset)
{
    headerOverride = true;
    headerField = offset;
    return *this;
}

ExifBlock &ExifBlock::mark(const std::string &twoBytes)
{
    markText = twoBytes;
    return *this;
}

ExifBlock &ExifBlock::magic(uint16_t v)
{
    magicValue = v;
    return *this;
}

Bytes ExifBlock::tiff() const
{
    // First pass: where each directory and its out-of-line data go.
    std::vector<uint32_t> dirOffset(dirs.size());
    uint32_t at = firstAt;
    for (size_t d = 0; d < dirs.size(); ++d) {
        dirOffset[d] = at;
        at += 2 + 12 * uint32_t(dirs[d].entries.size()) + 4;
        for (const Entry &e : dirs[d].entries)
            if (!e.verbatim && e.child < 0 && e.data.size() > 4)
                at += uint32_t(e.data.size()) + (e.data.size() & 1);
    }

    Bytes out(markText.begin(), markText.end());
    out.resize(2, 0);
    put(out, u16(magicValue));
    put(out, u32(headerOverride ? headerField : firstAt));
    out.resize(firstAt, 0);

    for (size_t d = 0; d < dirs.size(); ++d) {
        const Directory &dir = dirs[d];
        uint32_t dataAt = dirOffset[d] + 2 + 12 * uint32_t(dir.entries.size()) + 4;
        Bytes data;
        put(out, u16(uint16_t(dir.entries.size())));
        for (const Entry &e : dir.entries) {
            put(out, u16(e.tag));
            put(out, u16(e.fmt));
            put(out, u32(e.count));
            if (e.verbatim) {
                put(out, u32(e.field));
            } else if (e.child >= 0) {
                put(out, u32(dirOffset.at(size_t(e.child))));
            } else if (e.data.size() <= 4) {
                Bytes field = e.data;
                field.resize(4, 0);
                put(out, field);
            } else {
                put(out, u32(dataAt + uint32_t(data.size())));
                put(data, e.data);
                if (e.data.size() & 1)
                    data.push_back(0);
            }
        }
        uint32_t link = 0;
        if (dir.nextVerbatim)
            link = dir.nextField;
        else if (dir.next >= 0)
            link = dirOffset.at(size_t(dir.next));
        put(out, u32(link));
        put(out, data);
    }
    return out;
}

Bytes ExifBlock::app1Payload() const
{
    Bytes out = {'E', 'x', 'i', 'f', 0, 0};
    put(out, tiff());
    return out;
}

XmpPacket &XmpPacket::attribute(const std::string &name, const std::string &value)
{
    attributes.emplace_back(name, value);
    return *this;
}

XmpPacket &XmpPacket::element(const std::string &name, const std::string &value)
{
    elements += "   <" + name + ">" + value + "</" + name + ">\n";
    return *this;
}

XmpPacket &XmpPacket::raw(const std::string &text)
{
    elements += text;
    return *this;
}

XmpPacket &XmpPacket::padding(size_t spaces)
{
    paddingSpaces = spaces;
    return *this;
}

std::string XmpPacket::text() const
{
    std::string out = "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                      " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                      "  <rdf:Description rdf:about=\"\"\n"
                      "    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
                      "    xmlns:exif=\"http://ns.adobe.com/exif/1.0/\"\n"
                      "    xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\"\n"
                      "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";
    for (const auto &a : attributes)
        out += "\n    " + a.first + "=\"" + a.second + "\"";
    out += ">\n" + elements + "  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n";
    out += std::string(paddingSpaces, ' ');
    out += "<?xpacket end=\"w\"?>";
    return out;
}

Bytes XmpPacket::app1Payload() const
{
    const std::string name = "http://ns.adobe.com/xap/1.0/";
    Bytes out(name.begin(), name.end());
    out.push_back(0);
    const std::string t = text();
    put(out, Bytes(t.begin(), t.end()));
    return out;
}

Bytes extendedXmpPayload(const std::string &guid, uint32_t fullLength, uint32_t offset,
                         const std::string &chunk)
{
    const std::string name = "http://ns.adobe.com/xmp/extension/";
    Bytes out(name.begin(), name.end());
    out.push_back(0);
    put(out, Bytes(guid.begin(), guid.end()));
    for (uint32_t v : {fullLength, offset})
        put(out, {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    put(out, Bytes(chunk.begin(), chunk.end()));
    return out;
}

IptcBlock &IptcBlock::dataset(uint8_t record, uint8_t number, const std::string &data)
{
    put(datasets, {0x1C, record, number, uint8_t(data.size() >> 8), uint8_t(data.size())});
    put(datasets, Bytes(data.begin(), data.end()));
    return *this;
}

IptcBlock &IptcBlock::digest(const Bytes &sixteen)
{
    digestBytes = sixteen;
    return *this;
}

namespace {

void putResource(Bytes &out, uint16_t id, const std::string &name, const Bytes &data)
{
    put(out, {'8', 'B', 'I', 'M', uint8_t(id >> 8), uint8_t(id), uint8_t(name.size())});
    put(out, Bytes(name.begin(), name.end()));
    if ((name.size() + 1) & 1)
        out.push_back(0);
    const uint32_t n = uint32_t(data.size());
    put(out, {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
    put(out, data);
    if (n & 1)
        out.push_back(0);
}

} // namespace

IptcBlock &IptcBlock::resource(uint16_t id, const std::string &name, const Bytes &data)
{
    putResource(leading, id, name, data);
    return *this;
}

Bytes IptcBlock::iim() const { return datasets; }

Bytes IptcBlock::resources() const
{
    Bytes out = leading;
    putResource(out, 0x0404, "", datasets);
    if (!digestBytes.empty())
        putResource(out, 0x0425, "", digestBytes);
    return out;
}

Bytes IptcBlock::app13Payload() const
{
    Bytes out = {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p', ' ', '3', '.', '0', 0};
    put(out, resources());
    return out;
}

Jpeg &Jpeg::soi()
{
    put(data, {0xFF, 0xD8});
    return *this;
}

Jpeg &Jpeg::segment(uint8_t marker, const Bytes &payload)
{
    size_t length = payload.size() + 2;
    put(data, {0xFF, marker, uint8_t(length >> 8), uint8_t(length)});
    put(data, payload);
    return *this;
}

Jpeg &Jpeg::sof(uint16_t height, uint16_t width, uint8_t components, uint8_t marker)
{
    Bytes p = {8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width),
               components};
    for (uint8_t c = 1; c <= components; ++c)
        put(p, {c, uint8_t(c == 1 ? 0x22 : 0x11), uint8_t(c == 1 ? 0 : 1)});
    return segment(marker, p);
}

Jpeg &Jpeg::dqt()
{
    Bytes p(65, 0);
    for (size_t i = 1; i < p.size(); ++i)
        p[i] = uint8_t(1 + (i * 7) % 60);
    return segment(0xDB, p);
}

Jpeg &Jpeg::sos()
{
    return segment(0xDA, {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});
}

Jpeg &Jpeg::scanData(size_t n)
{
    for (size_t i = 0; i < n; ++i)
        data.push_back(uint8_t((i * 131 + 7) % 255));   // never 0xFF
    return *this;
}

Jpeg &Jpeg::eoi()
{
    put(data, {0xFF, 0xD9});
    return *this;
}

Jpeg &Jpeg::raw(const Bytes &bytes)
{
    put(data, bytes);
    return *this;
}

Jpeg Jpeg::camera(const ExifBlock &exif, size_t scanBytes)
{
    Jpeg j;
    j.soi().app1(exif).dqt().sof(480, 640).sos().scanData(scanBytes).eoi();
    return j;
}

Bytes Jpeg::shot(const std::string &date, const std::string &make, const std::string &model, ByteOrder order)
{
    ExifBlock exif(order);
    const int sub = exif.addDirectory();
    if (!make.empty())
        exif.ascii(0, tag::Make, make);
    if (!model.empty())
        exif.ascii(0, tag::Model, model);
    exif.ascii(0, tag::DateTime, date).subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, date);
    return camera(exif).bytes();
}

FILE *openMemory(const Bytes &bytes)
{
    // The stream reads the caller's buffer in place: keep `bytes` alive until fclose.
    // fmemopen refuses a zero-sized buffer, so an empty file is an empty temporary file.
#ifdef _WIN32
    // No fmemopen: a temporary file holding the bytes, read from its start.
    FILE *file = tmpfile();
    if (file && (fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || fseek(file, 0, SEEK_SET) != 0)) {
        fclose(file);
        return nullptr;
    }
    return file;
#else
    if (bytes.empty())
        return tmpfile();
    return fmemopen(const_cast<uint8_t *>(bytes.data()), bytes.size(), "rb");
#endif
}

#ifdef _WIN32
namespace {
// Paths are UTF-8 here; Windows opens files by UTF-16 names.
FILE *openUtf8(const std::string &path, const wchar_t *mode)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), n);
    return _wfopen(wide.c_str(), mode);
}
} // namespace

bool writeFile(const std::string &path, const Bytes &bytes)
{
    FILE *file = openUtf8(path, L"wb");
    if (!file)
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

Bytes readFile(const std::string &path)
{
    Bytes bytes;
    if (FILE *file = openUtf8(path, L"rb")) {
        uint8_t chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        fclose(file);
    }
    return bytes;
}
#else
bool writeFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

Bytes readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
#endif

} // namespace jpegtest
