#include "tiffblock.h"

#include <algorithm>
#include <cstring>

#include "jpegformat.h"
#include "md5.h"
#include "photoshopresources.h"
#include "xmppacket.h"

namespace {

constexpr size_t kTextLength = 19;   // "yyyy:MM:dd hh:mm:ss"

enum Tag : uint16_t {
    PanasonicJpeg = 0x002E, Compression = 0x0103, Make = 0x010F, Model = 0x0110, StripOffsets = 0x0111,
    StripByteCounts = 0x0117, XmpPacketTag = 700, JpegOffset = 0x0201, JpegLength = 0x0202,
    IptcData = 33723, ImageResources = 34377, DateTimeOriginal = 0x9003, MakerNote = 0x927C,
};

constexpr uint16_t kAscii = 2;
constexpr uint16_t kPanasonicMagic = 0x55;

// The camera's texts are cut where the JPEG reader cuts them.
constexpr size_t kMakeLength = 31, kModelLength = 39;

} // namespace

TiffBlock::TiffBlock(ByteSource &source, uint64_t start, uint64_t length)
    : file(source), reader(source, start, length), base(start)
{
}

bool TiffBlock::fail()
{
    // Nothing found in a damaged structure is kept but how far it was read.
    const uint64_t end = found->headerEnd;
    *found = FoundDates();
    found->headerEnd = end;
    return false;
}

const unsigned char *TiffBlock::value(const Entry &entry, uint64_t n)
{
    // A value the format uses must lie wholly inside the structure, or the
    // structure is damaged.
    const unsigned char *p = reader.inside(entry.valueOffset, entry.byteCount) ? reader.fetch(entry.valueOffset, n)
                                                                                : nullptr;
    if (!p)
        reader.setDamaged();
    return p;
}

std::string TiffBlock::text(const Entry &entry, size_t limit)
{
    const size_t n = size_t(std::min<uint64_t>(entry.byteCount, limit));
    const unsigned char *p = value(entry, n);
    if (!p)
        return std::string();
    const char *c = reinterpret_cast<const char *>(p);
    return std::string(c, strnlen(c, n));
}

int TiffBlock::captureEntry() const
{
    // DateTimeOriginal of the first EXIF directory that holds one; else of IFD0.
    const std::vector<Entry> &entries = reader.entries();
    const auto &dirs = reader.directories();
    int inFirst = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].tag != DateTimeOriginal)
            continue;
        if (dirs[size_t(entries[i].directory)].kind == TiffReader::Kind::Exif)
            return int(i);
        if (entries[i].directory == 0 && inFirst < 0)
            inFirst = int(i);
    }
    return inFirst;
}

bool TiffBlock::touchesStructure(uint64_t offset, uint64_t width) const
{
    if (offset < base + reader.headerSize() && base < offset + width)
        return true;
    const auto &dirs = reader.directories();
    return std::any_of(dirs.begin(), dirs.end(), [&](const TiffReader::Directory &d) {
        return offset < d.end && d.offset < offset + width;
    });
}

bool TiffBlock::dateCopies(int captureAt)
{
    // Every ASCII value that starts with the capture time's text, and the
    // capture time's own value whatever its type. Two of them that share
    // some bytes but not their start make the structure damaged.
    const std::vector<Entry> &entries = reader.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry &e = entries[i];
        const bool isCapture = int(i) == captureAt;
        if ((e.type != kAscii && !isCapture) || e.byteCount < kTextLength)
            continue;
        const unsigned char *p = value(e, kTextLength);
        if (!p)
            return false;
        if (std::memcmp(p, found->captureText.data(), kTextLength) != 0)
            continue;
        if (DateField *same = fields.at(e.valueOffset)) {
            if (isCapture)
                same->role = DateRole::Capture;
            continue;
        }
        if (fields.overlaps(e.valueOffset, kTextLength))
            return false;
        DateField f;
        f.offset = e.valueOffset;
        f.width = uint32_t(kTextLength);
        f.encoding = DateEncoding::ExifText;
        f.role = isCapture ? DateRole::Capture : DateRole::Copy;
        f.value = found->captureText;
        fields.add(f);
    }
    return true;
}

void TiffBlock::makerNote(const Entry &entry)
{
    // Plain copies of the capture time's text; binary and UTC times stay.
    const size_t n = size_t(std::min<uint64_t>(entry.byteCount, kMaxMakerNote));
    const unsigned char *p = value(entry, n);
    if (!p || n < kTextLength)
        return;
    const ConstByteView note(p, n);
    for (size_t j = 0; j <= n - kTextLength;) {
        j = note.indexOf(static_cast<unsigned char>(found->captureText[0]), j);
        if (j > n - kTextLength)
            break;
        if (!note.equals(j, found->captureText.data(), kTextLength)) {
            ++j;
            continue;
        }
        DateField f;
        f.offset = entry.valueOffset + j;
        f.width = uint32_t(kTextLength);
        f.encoding = DateEncoding::ExifText;
        f.value = found->captureText;
        fields.add(f);
        j += kTextLength;
    }
}

void TiffBlock::xmp(const Entry &entry)
{
    if (entry.byteCount > kMaxPacket)
        return;
    if (const unsigned char *p = value(entry, entry.byteCount))
        for (const DateField &f : XmpPacket::findCopies(ConstByteView(p, size_t(entry.byteCount)), entry.valueOffset,
                                                        capture))
            fields.add(f);
}

void TiffBlock::iptc()
{
    const Entry *data = nullptr, *resources = nullptr;
    for (const Entry &e : reader.entries()) {
        if (e.tag == IptcData && !data && e.byteCount <= kMaxPacket)
            data = &e;
        if (e.tag == ImageResources && !resources && e.byteCount <= kMaxPacket)
            resources = &e;
    }
    // The bare IPTC datasets, held while the resources are read.
    std::vector<unsigned char> iim;
    if (data) {
        const unsigned char *p = value(*data, data->byteCount);
        if (!p)
            return;
        iim.assign(p, p + data->byteCount);
        fields.addPairs(PhotoshopResources::iptcPairs(ConstByteView(iim.data(), iim.size()), data->valueOffset, capture));
    }
    if (!resources)
        return;
    const unsigned char *p = value(*resources, resources->byteCount);
    if (!p)
        return;
    const ConstByteView block(p, size_t(resources->byteCount));
    const PhotoshopResources::Copies copies = PhotoshopResources::findCopies(block, resources->valueOffset, capture);
    fields.addPairs(copies.pairs);
    if (copies.hasDigest) {
        digests.push_back({copies.digestCurrent, copies.digest});
        return;
    }
    // The resources keep the digest of the IPTC data of tag 33723. Some
    // writers take it over the data as stored, some without the zeros that
    // pad it to a whole number of 32-bit words.
    uint64_t at = 0;
    if (!data || iim.empty() || !PhotoshopResources::digestAt(block, &at))
        return;
    Digest d;
    d.field.offset = resources->valueOffset + at;
    d.field.width = 16;
    d.field.kind = DerivedField::Kind::Md5;
    d.field.coverOffset = data->valueOffset;
    d.field.coverLength = iim.size();
    for (size_t strip = 0; strip <= 3 && strip < iim.size(); ++strip) {
        if (strip > 0 && iim[iim.size() - strip] != 0)
            break;
        const Md5::Digest sum = Md5::of(ConstByteView(iim.data(), iim.size() - strip));
        if (block.equals(at, reinterpret_cast<const char *>(sum.data()), sum.size())) {
            d.current = true;
            d.field.coverLength = iim.size() - strip;
            break;
        }
    }
    digests.push_back(d);
}

void TiffBlock::preview(uint64_t relative, uint64_t length)
{
    // Only a JPEG is read, and only its header: its own locate finds its fields.
    if (relative >= reader.length())
        return;
    length = std::min(length, reader.length() - relative);
    unsigned char soi[2];
    if (length < 4 || !file.readAt(base + relative, soi, 2) || soi[0] != 0xFF || soi[1] != 0xD8)
        return;
    OffsetSource piece(file, base + relative, length);
    FoundDates inner;
    JpegFormat().locate(piece, &inner);
    previewEnd = std::max(previewEnd, base + relative + std::max<uint64_t>(inner.headerEnd, 2));
    if (!inner.hasMetadata || inner.captureText != found->captureText)
        return;
    const uint64_t at = base + relative;
    for (DateField f : inner.fields) {
        f.offset += at;
        f.role = DateRole::Copy;
        fields.add(f);
    }
    for (DerivedField d : inner.derived) {
        d.offset += at;
        d.coverOffset += at;
        digests.push_back({true, d});
    }
    found->digestsLeft += inner.digestsLeft;
}

void TiffBlock::previews()
{
    // Per directory: a JPEG by its offset and length tags, or a single strip
    // of a JPEG-compressed image; and Panasonic's JPEG held as a value of IFD0.
    struct Image {
        uint64_t jpegAt = 0, jpegLength = 0, compression = 0, stripAt = 0, stripLength = 0;
        bool jpeg = false, strip = false;
    };
    std::vector<Image> images(reader.directories().size());
    std::vector<std::pair<uint64_t, uint64_t>> spots;   // offset in the structure, length
    for (const Entry &e : reader.entries()) {
        Image &image = images[size_t(e.directory)];
        uint64_t v = 0;
        if (e.count != 1 && e.tag != PanasonicJpeg)
            continue;
        if (e.tag == JpegOffset && reader.number(e, 0, &v)) {
            image.jpegAt = v;
            image.jpeg = true;
        } else if (e.tag == JpegLength && reader.number(e, 0, &v)) {
            image.jpegLength = v;
        } else if (e.tag == Compression && reader.number(e, 0, &v)) {
            image.compression = v;
        } else if (e.tag == StripOffsets && reader.number(e, 0, &v)) {
            image.stripAt = v;
            image.strip = true;
        } else if (e.tag == StripByteCounts && reader.number(e, 0, &v)) {
            image.stripLength = v;
        } else if (e.tag == PanasonicJpeg && e.directory == 0 && reader.magic() == kPanasonicMagic && e.type == 7) {
            spots.emplace_back(e.valueOffset - base, e.byteCount);
        }
    }
    for (const Image &image : images) {
        if (image.jpeg)
            spots.emplace_back(image.jpegAt, image.jpegLength);
        if (image.strip && (image.compression == 6 || image.compression == 7))
            spots.emplace_back(image.stripAt, image.stripLength);
    }
    std::vector<uint64_t> seen;
    for (const auto &p : spots) {
        if (int(seen.size()) >= kMaxPreviews || std::find(seen.begin(), seen.end(), p.first) != seen.end())
            continue;
        seen.push_back(p.first);
        preview(p.first, p.second);
    }
}

bool TiffBlock::locate(FoundDates *out)
{
    found = out;
    *found = FoundDates();
    const bool read = reader.read();
    found->headerEnd = reader.readEnd();
    if (!read || reader.damaged())
        return fail();
    found->hasMetadata = true;

    for (const Entry &e : reader.entries()) {
        if (e.directory == 0 && e.tag == Make)
            found->make = text(e, kMakeLength);
        else if (e.directory == 0 && e.tag == Model)
            found->model = text(e, kModelLength);
    }
    const int captureAt = captureEntry();
    if (captureAt >= 0)
        found->captureText = text(reader.entries()[size_t(captureAt)], kTextLength);
    found->headerEnd = reader.readEnd();
    if (reader.damaged())
        return fail();
    if (!DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(found->captureText.data()),
                           found->captureText.size(), &capture))
        return true;   // no usable date, nothing to move

    if (!dateCopies(captureAt))
        return fail();
    for (const Entry &e : reader.entries()) {
        if (e.tag == MakerNote)
            makerNote(e);
        else if (e.tag == XmpPacketTag && (e.type == 1 || e.type == 2 || e.type == 7))
            xmp(e);
    }
    iptc();
    previews();
    found->headerEnd = std::max(reader.readEnd(), previewEnd);
    if (reader.damaged())
        return fail();

    bool hasCapture = false;
    for (const DateField &f : fields.list()) {
        if (touchesStructure(f.offset, f.width))
            return fail();
        found->fields.push_back(f);
        hasCapture = hasCapture || f.role == DateRole::Capture;
    }
    if (!hasCapture && !found->fields.empty())
        found->fields.front().role = DateRole::Capture;

    // A digest matters only when a field lies in the data it covers; one
    // that did not match its data is left alone (as in a JPEG).
    for (const Digest &d : digests) {
        const DerivedField &f = d.field;
        const bool covers = std::any_of(found->fields.begin(), found->fields.end(), [&f](const DateField &x) {
            return x.offset < f.coverOffset + f.coverLength && f.coverOffset < x.offset + x.width;
        });
        if (!covers)
            continue;
        if (touchesStructure(f.offset, f.width))
            return fail();
        if (d.current)
            found->derived.push_back(f);
        else
            ++found->digestsLeft;
    }
    return true;
}
