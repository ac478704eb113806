#include "photoshopresources.h"

#include <cstring>

#include "md5.h"

namespace {

// Image resources: the IPTC-IIM data and the MD5 digest of that data.
constexpr uint32_t kIptcResource = 0x0404;
constexpr uint32_t kDigestResource = 0x0425;
constexpr uint32_t kDigestLength = 16;

// IPTC application record (2) datasets that hold a date or a time.
constexpr int kApplicationRecord = 2;
constexpr int kDateCreated = 55, kTimeCreated = 60;
constexpr int kDigitalCreationDate = 62, kDigitalCreationTime = 63;

// Where a piece of data lies inside the bytes it was found in.
struct Span {
    bool present = false;
    uint64_t offset = 0;
    uint64_t length = 0;
};

// The first of each application-record dataset of the IPTC-IIM data: 0x1C,
// record, dataset, a 16-bit length (or, with its top bit set, the count of
// the length bytes that follow) and the data. Anything else ends the data.
void readDatasets(ConstByteView iptc, Span (&wanted)[64])
{
    uint64_t at = 0;
    while (iptc.contains(at, 5) && iptc[at] == 0x1C) {
        const int record = iptc[at + 1];
        const int number = iptc[at + 2];
        uint64_t length = iptc.bigEndian16(at + 3);
        uint64_t header = 5;
        if (length & 0x8000) {
            const uint64_t count = length & 0x7FFF;
            if (count == 0 || count > 4 || !iptc.contains(at + 5, count))
                return;
            length = 0;
            for (uint64_t i = 0; i < count; ++i)
                length = length << 8 | iptc[at + 5 + i];
            header += count;
        }
        if (!iptc.contains(at + header, length))
            return;
        if (record == kApplicationRecord && number < 64 && !wanted[number].present)
            wanted[number] = {true, at + header, length};
        at += header + length;
    }
}

DateField field(uint64_t offset, DateEncoding encoding, const unsigned char *text)
{
    DateField f;
    f.offset = offset;
    f.width = DateCodec::width(encoding);
    f.encoding = encoding;
    f.role = DateRole::Copy;
    f.value.assign(reinterpret_cast<const char *>(text), f.width);
    return f;
}

// A date dataset and a time dataset together spell the time when the date's
// 8 digits and the time's first 6 do (the time's zone, when it has one, is
// not part of the field).
void addPair(ConstByteView iptc, uint64_t base, const Span &date, const Span &time, const WallClock &t,
             std::vector<DateField> *pairs)
{
    unsigned char ymd[8], hms[6];
    if (!date.present || !time.present || date.length != 8 || time.length < 6
        || !DateCodec::encode(DateEncoding::IptcDate, t, ymd) || !DateCodec::encode(DateEncoding::IptcTime, t, hms))
        return;
    if (!iptc.equals(date.offset, reinterpret_cast<const char *>(ymd), 8)
        || !iptc.equals(time.offset, reinterpret_cast<const char *>(hms), 6))
        return;
    pairs->push_back(field(base + date.offset, DateEncoding::IptcDate, ymd));
    pairs->push_back(field(base + time.offset, DateEncoding::IptcTime, hms));
}

// The first IPTC resource and the first digest resource of a block, each
// where its data lies in the block; anything that is no resource ends them.
void findResources(ConstByteView resources, Span *iptcBlock, Span *digest)
{
    uint64_t at = 0;
    while (resources.contains(at, 12)) {
        // Signature, resource id, a name of even length (its length byte
        // counted), the data's size and the data, padded to an even length.
        const bool imageResource = resources.equals(at, "8BIM", 4);
        if (!imageResource && !resources.equals(at, "PHUT", 4) && !resources.equals(at, "AgHg", 4)
            && !resources.equals(at, "DCSR", 4) && !resources.equals(at, "MeSa", 4))
            break;
        const uint32_t id = resources.bigEndian16(at + 4);
        const uint64_t nameField = (uint64_t(resources[at + 6]) + 2) & ~uint64_t(1);
        const uint64_t sizeAt = at + 6 + nameField;
        if (!resources.contains(sizeAt, 4))
            break;
        const uint64_t size = resources.bigEndian32(sizeAt);
        const uint64_t dataAt = sizeAt + 4;
        if (!resources.contains(dataAt, size))
            break;
        if (imageResource && id == kIptcResource && !iptcBlock->present)
            *iptcBlock = {true, dataAt, size};
        if (imageResource && id == kDigestResource && size == kDigestLength && !digest->present)
            *digest = {true, dataAt, size};
        at = dataAt + size + (size & 1);
    }
}

} // namespace

std::vector<DateField> PhotoshopResources::iptcPairs(ConstByteView iptc, uint64_t base, const WallClock &time)
{
    std::vector<DateField> pairs;
    Span datasets[64];
    readDatasets(iptc, datasets);
    addPair(iptc, base, datasets[kDateCreated], datasets[kTimeCreated], time, &pairs);
    addPair(iptc, base, datasets[kDigitalCreationDate], datasets[kDigitalCreationTime], time, &pairs);
    return pairs;
}

bool PhotoshopResources::digestAt(ConstByteView resources, uint64_t *offset)
{
    Span iptcBlock, digest;
    findResources(resources, &iptcBlock, &digest);
    if (digest.present)
        *offset = digest.offset;
    return digest.present;
}

PhotoshopResources::Copies PhotoshopResources::findCopies(ConstByteView resources, uint64_t base,
                                                          const WallClock &time)
{
    Copies copies;
    Span iptcBlock, digest;
    findResources(resources, &iptcBlock, &digest);

    const ConstByteView iptc = resources.sub(iptcBlock.offset, iptcBlock.length);
    if (!iptcBlock.present || iptc.size() == 0)
        return copies;   // no datasets, nothing for a digest to cover
    const uint64_t iptcBase = base + iptcBlock.offset;
    copies.pairs = iptcPairs(iptc, iptcBase, time);

    if (digest.present) {
        const Md5::Digest now = Md5::of(iptc);
        copies.hasDigest = true;
        copies.digestCurrent = resources.equals(digest.offset, reinterpret_cast<const char *>(now.data()), kDigestLength);
        copies.digest.offset = base + digest.offset;
        copies.digest.width = kDigestLength;
        copies.digest.kind = DerivedField::Kind::Md5;
        copies.digest.coverOffset = iptcBase;
        copies.digest.coverLength = iptc.size();
    }
    return copies;
}
