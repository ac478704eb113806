#include "jpegformat.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "fieldset.h"
#include "jpegheader.h"
#include "photoshopresources.h"
#include "xmppacket.h"

namespace {

constexpr size_t kTextLength = 19;
static_assert(JpegFormat::minimumRegion == JpegHeader::kMinimumRegion, "one region for the search");

// Every 19-byte run of `region` equal to `text`, one after the other (a match
// resumes the search after its last byte), searched blindly: inside the EXIF
// block or not. The run at `captureAt` is the capture time itself; when no
// run stands there, the first one is taken for it.
void findExifText(ConstByteView region, const std::string &text, int64_t captureAt, FieldSet &fields)
{
    const size_t size = region.size();
    bool captureFound = false;
    std::vector<DateField> runs;
    for (size_t j = 0; size >= kTextLength && j <= size - kTextLength;) {
        j = region.indexOf(static_cast<unsigned char>(text[0]), j);
        if (j > size - kTextLength)
            break;
        if (!region.equals(j, text.data(), kTextLength)) {
            ++j;
            continue;
        }
        DateField f;
        f.offset = j;
        f.width = uint32_t(kTextLength);
        f.encoding = DateEncoding::ExifText;
        f.role = int64_t(j) == captureAt ? DateRole::Capture : DateRole::Copy;
        f.value = text;
        captureFound = captureFound || f.role == DateRole::Capture;
        runs.push_back(f);
        j += kTextLength;
    }
    if (!captureFound && !runs.empty())
        runs.front().role = DateRole::Capture;
    for (const DateField &f : runs)
        fields.add(f);
}

} // namespace

const char *JpegFormat::name() const
{
    return "JPEG";
}

const char *const *JpegFormat::extensions() const
{
    // "thm": the small JPEG with a video's EXIF that Canon's cameras write beside it.
    static const char *const list[] = {"jpg", "jpeg", "jpe", "jfif", "thm", nullptr};
    return list;
}

bool JpegFormat::sniff(const unsigned char *head, size_t n) const
{
    // The start-of-image marker is all the reader asks for.
    return n >= 2 && head[0] == 0xFF && head[1] == 0xD8;
}

bool JpegFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    JpegHeader header(file);
    const bool read = header.read();
    found->headerEnd = header.headerEnd();
    if (header.diagnostic())
        found->diagnostic = header.diagnostic();
    found->extendedXmp = header.extendedXmp();
    if (!read)
        return false;

    const ExifInfo &info = header.exif();
    found->captureText.assign(info.originalDateText, strnlen(info.originalDateText, kTextLength));
    found->make.assign(info.makeText, strnlen(info.makeText, sizeof info.makeText));
    found->model.assign(info.modelText, strnlen(info.modelText, sizeof info.modelText));
    if (!info.hasExif)
        return true;
    found->hasMetadata = true;

    WallClock capture;
    if (!DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(found->captureText.data()),
                           found->captureText.size(), &capture))
        return true;

    if (!header.ensure(header.region()))
        return false;
    const ConstByteView region = header.bytes().sub(0, header.region());

    FieldSet fields;
    findExifText(region, found->captureText, header.originalDateAt(), fields);
    for (const JpegHeader::Span &p : header.xmpPackets())
        for (const DateField &f : XmpPacket::findCopies(region.sub(p.offset, p.length), p.offset, capture))
            fields.add(f);
    std::vector<PhotoshopResources::Copies> resources;
    for (const JpegHeader::Span &p : header.photoshopResources()) {
        resources.push_back(PhotoshopResources::findCopies(region.sub(p.offset, p.length), p.offset, capture));
        fields.addPairs(resources.back().pairs);
    }
    found->fields = fields.list();

    // A digest matters only when a field lies in the data it covers. One that
    // did not match that data is left alone: it already tells other programs
    // that the data was changed by one that does not keep the digest, and a
    // fresh one would hide that.
    for (const PhotoshopResources::Copies &r : resources) {
        if (!r.hasDigest)
            continue;
        const DerivedField &d = r.digest;
        const bool covers = std::any_of(found->fields.begin(), found->fields.end(), [&d](const DateField &f) {
            return f.offset < d.coverOffset + d.coverLength && d.coverOffset < f.offset + f.width;
        });
        if (!covers)
            continue;
        if (r.digestCurrent)
            found->derived.push_back(d);
        else
            ++found->digestsLeft;
    }
    return true;
}
