#include "headerdates.h"

#include <map>

#include "md5.h"

namespace {

constexpr size_t kN = HeaderDates::kTextLength;

// Names that open the payload of the APP1 and APP13 segments searched here,
// each with its terminating NUL.
constexpr char kXmpName[] = "http://ns.adobe.com/xap/1.0/";
constexpr char kExtendedXmpName[] = "http://ns.adobe.com/xmp/extension/";
constexpr char kPhotoshopName[] = "Photoshop 3.0";

// Image resources: the IPTC-IIM data and the MD5 digest of that data.
constexpr uint32_t kIptcResource = 0x0404;
constexpr uint32_t kDigestResource = 0x0425;
constexpr size_t kDigestLength = 16;

// IPTC application record (2) datasets that hold a date or a time.
constexpr int kApplicationRecord = 2;
constexpr int kDateCreated = 55, kTimeCreated = 60;
constexpr int kDigitalCreationDate = 62, kDigitalCreationTime = 63;

// The capture time and its shifted value in every form searched for.
struct Forms {
    char exifOld[kN], exifNew[kN];
    char xmpOld[kN], xmpNew[kN];            // "YYYY-MM-DDTHH:MM:SS"
    char dateOld[8], dateNew[8];            // "YYYYMMDD"
    char timeOld[6], timeNew[6];            // "HHMMSS"
};

void isoForm(const char *exif, char *iso)
{
    std::memcpy(iso, exif, kN);
    iso[4] = iso[7] = '-';
    iso[10] = 'T';
}

void iptcForm(const char *exif, char *date, char *time)
{
    const char dateAt[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    const char timeAt[6] = {11, 12, 14, 15, 17, 18};
    for (size_t i = 0; i < 8; ++i)
        date[i] = exif[size_t(dateAt[i])];
    for (size_t i = 0; i < 6; ++i)
        time[i] = exif[size_t(timeAt[i])];
}

Forms makeForms(const char *original, const char *shifted)
{
    Forms f;
    std::memcpy(f.exifOld, original, kN);
    std::memcpy(f.exifNew, shifted, kN);
    isoForm(original, f.xmpOld);
    isoForm(shifted, f.xmpNew);
    iptcForm(original, f.dateOld, f.timeOld);
    iptcForm(shifted, f.dateNew, f.timeNew);
    return f;
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isXmlSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The runs found so far, by offset. A run that would overlap one already
// kept is refused: the EXIF runs come first and always stay, so the bytes
// that the rewrite has always changed are changed exactly as before.
class RunSet {
public:
    bool overlaps(uint64_t offset, uint64_t length) const
    {
        auto next = runs.lower_bound(offset);
        if (next != runs.end() && next->first < offset + length)
            return true;
        if (next == runs.begin())
            return false;
        --next;
        return next->first + next->second.length > offset;
    }

    bool add(uint64_t offset, const char *text, size_t length, DateRun::Kind kind)
    {
        if (length == 0 || overlaps(offset, length))
            return false;
        runs.emplace(offset, DateRun{offset, uint32_t(length), std::string(text, length), kind});
        return true;
    }

    // Copies into `out` (which holds the bytes [from, from + out.size())) the new
    // text of every run that reaches into that range.
    void patch(uint64_t from, std::vector<unsigned char> &out) const
    {
        const uint64_t to = from + out.size();
        auto it = runs.lower_bound(from);
        if (it != runs.begin())
            --it;
        for (; it != runs.end() && it->first < to; ++it) {
            const DateRun &run = it->second;
            for (uint64_t i = 0; i < run.length; ++i) {
                const uint64_t at = run.offset + i;
                if (at >= from && at < to)
                    out[size_t(at - from)] = static_cast<unsigned char>(run.newText[size_t(i)]);
            }
        }
    }

    std::vector<DateRun> list() const
    {
        std::vector<DateRun> out;
        out.reserve(runs.size());
        for (const auto &entry : runs)
            out.push_back(entry.second);
        return out;
    }

private:
    std::map<uint64_t, DateRun> runs;
};

// Every 19-byte run equal to the EXIF text, one after the other.
int findExifRuns(ConstByteView all, const Forms &f, RunSet &runs)
{
    int found = 0;
    const size_t size = all.size();
    for (size_t j = 0; size >= kN && j <= size - kN;) {
        j = all.indexOf(static_cast<unsigned char>(f.exifOld[0]), j);
        if (j > size - kN)
            break;
        if (all.equals(j, f.exifOld, kN)) {
            found += runs.add(j, f.exifNew, kN, DateRun::Exif);
            j += kN;
        } else {
            ++j;
        }
    }
    return found;
}

// The XMP date-time values in `packet` (which starts at `base` in the
// header) equal to the capture time. A value counts when it is the whole
// text of an attribute ("...") or ('...') or of an element (>...<), XML
// white space around it allowed: the date-time, then an optional fraction
// of a second (".5") and an optional zone ("Z", "+02:00", "-0400", "+02").
// Only its first 19 characters are replaced; fraction and zone stay.
int findXmpRuns(ConstByteView packet, uint64_t base, const Forms &f, RunSet &runs)
{
    int found = 0;
    const size_t size = packet.size();
    for (size_t t = packet.indexOf('T', 10); t < size; t = packet.indexOf('T', t + 1)) {
        const size_t start = t - 10;
        if (!packet.equals(start, f.xmpOld, kN))
            continue;

        size_t before = start;
        while (before > 0 && isXmlSpace(packet[before - 1]))
            --before;
        if (before == 0)
            continue;
        const unsigned char open = packet[before - 1];
        if (open != '"' && open != '\'' && open != '>')
            continue;

        size_t after = start + kN;
        if (packet[after] == '.' && isDigit(packet[after + 1])) {
            ++after;
            while (after < size && isDigit(packet[after]))
                ++after;
        }
        if (packet[after] == 'Z') {
            ++after;
        } else if ((packet[after] == '+' || packet[after] == '-') && isDigit(packet[after + 1])
                   && isDigit(packet[after + 2])) {
            after += 3;
            const size_t colon = packet[after] == ':' ? 1 : 0;
            if (isDigit(packet[after + colon]) && isDigit(packet[after + colon + 1]))
                after += colon + 2;
        }
        while (after < size && isXmlSpace(packet[after]))
            ++after;
        if (after >= size)
            continue;
        const unsigned char close = packet[after];
        if (close != (open == '>' ? '<' : open))
            continue;

        found += runs.add(base + start, f.xmpNew, kN, DateRun::Xmp);
        t = start + kN - 1;   // the next value starts after this one
    }
    return found;
}

// One IPTC dataset: where its data lies inside the IPTC block.
struct Dataset {
    bool present = false;
    uint64_t offset = 0;
    uint64_t length = 0;
};

// The application-record datasets of the IPTC-IIM data: 0x1C, record,
// dataset, a 16-bit length (or, with its top bit set, the count of the
// length bytes that follow) and the data. Anything else ends the data.
void readDatasets(ConstByteView iptc, Dataset (&wanted)[64])
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

// A date dataset and a time dataset together spell the capture time when the
// date's 8 digits and the time's first 6 equal it (the time's zone, when it
// has one, is left as it is).
int findIptcPair(ConstByteView iptc, uint64_t base, const Dataset &date, const Dataset &time,
                 const Forms &f, RunSet &runs)
{
    if (!date.present || !time.present || date.length != 8 || time.length < 6)
        return 0;
    if (!iptc.equals(date.offset, f.dateOld, 8) || !iptc.equals(time.offset, f.timeOld, 6))
        return 0;
    if (runs.overlaps(base + date.offset, 8) || runs.overlaps(base + time.offset, 6))
        return 0;
    runs.add(base + date.offset, f.dateNew, 8, DateRun::Iptc);
    runs.add(base + time.offset, f.timeNew, 6, DateRun::Iptc);
    return 1;
}

// The image resources of a Photoshop APP13 payload that starts at `base`:
// the IPTC dates, and the IPTC digest when the data it covers changes.
void searchPhotoshop(ConstByteView payload, uint64_t base, const Forms &f, RunSet &runs,
                     HeaderDates::Counts &counts)
{
    Dataset iptcBlock, digest;
    uint64_t at = sizeof kPhotoshopName;
    while (payload.contains(at, 12)) {
        // Signature, resource id, a name of even length (its length byte
        // counted), the data's size and the data, padded to an even length.
        const bool imageResource = payload.equals(at, "8BIM", 4);
        if (!imageResource && !payload.equals(at, "PHUT", 4) && !payload.equals(at, "AgHg", 4)
            && !payload.equals(at, "DCSR", 4) && !payload.equals(at, "MeSa", 4))
            break;
        const uint32_t id = payload.bigEndian16(at + 4);
        const uint64_t nameField = (uint64_t(payload[at + 6]) + 2) & ~uint64_t(1);
        const uint64_t sizeAt = at + 6 + nameField;
        if (!payload.contains(sizeAt, 4))
            break;
        const uint64_t size = payload.bigEndian32(sizeAt);
        const uint64_t dataAt = sizeAt + 4;
        if (!payload.contains(dataAt, size))
            break;
        if (imageResource && id == kIptcResource && !iptcBlock.present)
            iptcBlock = {true, dataAt, size};
        if (imageResource && id == kDigestResource && size == kDigestLength && !digest.present)
            digest = {true, dataAt, size};
        at = dataAt + size + (size & 1);
    }
    if (!iptcBlock.present)
        return;

    const ConstByteView iptc = payload.sub(iptcBlock.offset, iptcBlock.length);
    if (iptc.size() == 0)
        return;   // no datasets, nothing for a digest to cover
    const uint64_t iptcBase = base + iptcBlock.offset;
    Dataset datasets[64];
    readDatasets(iptc, datasets);
    counts.iptc += findIptcPair(iptc, iptcBase, datasets[kDateCreated], datasets[kTimeCreated], f, runs);
    counts.iptc += findIptcPair(iptc, iptcBase, datasets[kDigitalCreationDate],
                                datasets[kDigitalCreationTime], f, runs);

    if (!digest.present)
        return;
    // The IPTC data as it will read after the rewrite: the IPTC runs and any
    // EXIF-form text inside it (a caption, say) change it alike.
    std::vector<unsigned char> data(iptc.data(), iptc.data() + iptc.size());
    runs.patch(iptcBase, data);
    if (std::memcmp(data.data(), iptc.data(), data.size()) == 0)
        return;
    // A digest that did not match the data before is left alone: it already
    // tells other programs that the IPTC data was changed by a program that
    // does not keep the digest, and a fresh one would hide that.
    const Md5::Digest before = Md5::of(iptc);
    if (!payload.equals(digest.offset, reinterpret_cast<const char *>(before.data()), kDigestLength)) {
        ++counts.digestsLeft;
        return;
    }
    const Md5::Digest after = Md5::of(ConstByteView(data.data(), data.size()));
    if (runs.add(base + digest.offset, reinterpret_cast<const char *>(after.data()), kDigestLength,
                 DateRun::IptcDigest))
        ++counts.digestsUpdated;
}

// Walks the marker segments from the start-of-image marker up to the start
// of scan, the way the section reader does (up to six 0xFF fill bytes before
// a code; every code but the end of image and the start of scan opens a
// length-counted segment), and searches the XMP and Photoshop segments. A
// segment that does not lie wholly inside the bytes ends the walk.
void searchSegments(ConstByteView all, const Forms &f, RunSet &runs, HeaderDates::Counts &counts)
{
    if (!all.startsWith("\xFF\xD8", 2))
        return;
    uint64_t at = 2;
    for (;;) {
        int marker = 0xFF;
        for (int i = 0; i < 7 && marker == 0xFF; ++i) {
            if (!all.contains(at, 1))
                return;
            marker = all[at++];
        }
        if (marker == 0xFF || marker == 0xD9 || marker == 0xDA)
            return;
        const uint64_t length = all.bigEndian16(at);
        if (length < 2 || !all.contains(at, length))
            return;
        const ConstByteView payload = all.sub(at + 2, length - 2);
        const uint64_t base = at + 2;
        if (marker == 0xE1 && payload.startsWith(kXmpName, sizeof kXmpName))
            counts.xmp += findXmpRuns(payload.from(sizeof kXmpName), base + sizeof kXmpName, f, runs);
        else if (marker == 0xE1 && payload.startsWith(kExtendedXmpName, sizeof kExtendedXmpName))
            ++counts.extendedXmp;
        else if (marker == 0xED && payload.startsWith(kPhotoshopName, sizeof kPhotoshopName))
            searchPhotoshop(payload, base, f, runs, counts);
        at += length;
    }
}

} // namespace

bool HeaderDates::isDateText(const char text[kTextLength])
{
    for (size_t i = 0; i < kN; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool ok = (i == 4 || i == 7 || i == 13 || i == 16) ? c == ':'
                        : i == 10                                ? c == ' '
                                                                 : isDigit(c);
        if (!ok)
            return false;
    }
    return true;
}

std::vector<DateRun> HeaderDates::find(const unsigned char *bytes, size_t size,
                                       const char original[kTextLength],
                                       const char shifted[kTextLength], bool exifOnly,
                                       Counts *counts)
{
    Counts local;
    Counts &c = counts ? *counts : local;
    const ConstByteView all(bytes, size);
    const Forms f = makeForms(original, shifted);
    RunSet runs;
    c.exif += findExifRuns(all, f, runs);
    if (!exifOnly && isDateText(original) && isDateText(shifted))
        searchSegments(all, f, runs, c);
    return runs.list();
}

std::vector<DateRun> HeaderDates::findInSidecar(const unsigned char *bytes, size_t size,
                                                const char original[kTextLength],
                                                const char shifted[kTextLength], Counts *counts)
{
    Counts local;
    Counts &c = counts ? *counts : local;
    RunSet runs;
    if (isDateText(original) && isDateText(shifted))
        c.xmp += findXmpRuns(ConstByteView(bytes, size), 0, makeForms(original, shifted), runs);
    return runs.list();
}

void HeaderDates::apply(unsigned char *bytes, size_t size, const std::vector<DateRun> &runs)
{
    ByteView all(bytes, size);
    for (const DateRun &run : runs) {
        if (!all.contains(run.offset, run.length) || run.newText.size() != run.length)
            continue;
        for (uint32_t i = 0; i < run.length; ++i)
            all.set(run.offset + i, static_cast<unsigned char>(run.newText[i]));
    }
}
