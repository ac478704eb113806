// libFuzzer target for the engine and the file formats. Every input is:
//
// - read as a whole file through ExifReader::readJpeg, and handed as a TIFF
//   structure behind an "Exif\0\0" name straight to decodeExifBlock;
// - claimed by its first bytes (FormatList::forContent), located by the
//   format that claims it, and its fields moved by a shift taken from the
//   input through DateShift::plan; a JPEG's header must read the same to the
//   format as to the reader (the record's date, where the walk stopped);
// - searched as an XMP sidecar and as a block of image resources.
//
// An input whose first byte is 1, 2 or 3 is also wrapped, from its second
// byte on, into a small JPEG that carries the capture time in EXIF and the
// rest as an XMP packet (1), image resources after the Photoshop name (2) or
// the IPTC data of an image resource block with a matching digest (3), so
// that the fuzzer reaches the inner parsers without having to find the outer
// layers first. The buffers have exactly the input's size (or the wrapped
// file's), so AddressSanitizer catches any read past them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dateshift.h"
#include "exifreader.h"
#include "formatlist.h"
#include "md5.h"
#include "photoshopresources.h"
#include "xmppacket.h"

// Keeps the thumbnail reads from being optimised away.
volatile unsigned thumbnailChecksum;

namespace {

using Bytes = std::vector<unsigned char>;

// The capture time the seeds and the wrapped files carry.
const char kCapture[] = "2008:03:16 10:52:01";
const WallClock kClock{2008, 3, 16, 10, 52, 1};

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every text must stay terminated, and the thumbnail must lie in a held buffer.
void checkRecord(const ExifInfo &info)
{
    const auto terminated = [](const char *text, size_t size) { return std::memchr(text, 0, size) != nullptr; };
    check(terminated(info.exifVersion, sizeof info.exifVersion) && terminated(info.makeText, sizeof info.makeText)
          && terminated(info.modelText, sizeof info.modelText)
          && terminated(info.originalDateText, sizeof info.originalDateText)
          && terminated(info.commentText, sizeof info.commentText));
    unsigned sum = 0;
    for (int i = 0; info.thumbnailData && i < info.thumbnailLength; ++i)
        sum += info.thumbnailData[i];
    thumbnailChecksum = sum;
}

// A field spells `time` when its bytes are its encoding of it, moved by the
// field's skew (an IPTC date or time the part of it they hold).
bool spells(const DateField &f, const WallClock &time)
{
    unsigned char text[32];
    const WallClock held = f.skew ? DateCodec::addSeconds(time, f.skew) : time;
    return f.width == DateCodec::width(f.encoding) && f.value.size() == f.width
           && DateCodec::encode(f.encoding, held, text) && std::memcmp(text, f.value.data(), f.width) == 0;
}

// A field lies inside the file and holds what it says.
void checkField(const Bytes &bytes, const DateField &f, const WallClock &time)
{
    check(f.offset <= bytes.size() && f.width <= bytes.size() - f.offset);
    check(spells(f, time) && std::memcmp(bytes.data() + f.offset, f.value.data(), f.width) == 0);
}

// A format's fields: each sound, sorted and apart, at most one the capture.
void checkFields(const Bytes &bytes, const std::vector<DateField> &fields, const WallClock &time)
{
    uint64_t end = 0;
    int captures = 0;
    for (const DateField &f : fields) {
        checkField(bytes, f, time);
        check(f.offset >= end);
        captures += f.role == DateRole::Capture;
        end = f.offset + f.width;
    }
    check(captures <= 1);
}

// Runs lie inside the file, sorted and apart, each replacing the bytes it
// says with as many; every run is a field moved or a digest recomputed.
void checkPlan(const Bytes &bytes, const DateShift::Plan &plan)
{
    uint64_t end = 0;
    int moved = 0;
    for (const DateShift::Run &r : plan.runs) {
        check(r.offset >= end && r.offset <= bytes.size() && r.to.size() <= bytes.size() - r.offset);
        check(!r.to.empty() && r.from.size() == r.to.size());
        check(std::memcmp(bytes.data() + r.offset, r.from.data(), r.from.size()) == 0);
        end = r.offset + r.to.size();
    }
    for (const auto &m : plan.moved)
        moved += m.second;
    check(size_t(moved + plan.digestsUpdated) == plan.runs.size());
}

// A shift from the input's last bytes: mostly within a few years either way,
// now and then far past the years a date may have.
int64_t shiftOf(const uint8_t *data, size_t size)
{
    uint32_t v = 0;
    for (size_t i = size > 4 ? size - 4 : 0; i < size; ++i)
        v = v << 8 | data[i];
    const int64_t seconds = int64_t(v % (8u * 366 * 86400)) - int64_t(4) * 366 * 86400;
    return (v & 0xF0000000u) == 0xF0000000u ? seconds * 3000 : seconds;
}

// The reader's view of the file: its record and where it stopped.
long readWithReader(const Bytes &bytes, ExifInfo *info)
{
    Bytes copy = bytes;
    FILE *stream = fmemopen(copy.data(), copy.size(), "rb");
    if (!stream)
        return -1;
    long end = -1;
    {
        ExifReader reader(info);
        reader.readJpeg(stream);
        end = std::ftell(stream);
        checkRecord(*info);
        info->thumbnailData = nullptr;   // it dies with the reader
    }
    std::fclose(stream);
    return end;
}

void locateAndShift(const Bytes &bytes, int64_t seconds, bool exifTextOnly)
{
    const FileFormat *format =
        FormatList::forContent(bytes.data(), bytes.size() < FileFormat::sniffBytes ? bytes.size() : FileFormat::sniffBytes);
    ExifInfo info{};
    const long readerEnd = bytes.empty() ? 0 : readWithReader(bytes, &info);
    if (!format)
        return;

    MemorySource file(bytes);
    FoundDates found;
    const bool located = format->locate(file, &found);
    check(found.headerEnd <= bytes.size());
    if (std::strcmp(format->name(), "JPEG") == 0 && readerEnd >= 0) {
        // One walk of the header, two readers: they must agree.
        check(located && found.headerEnd == uint64_t(readerEnd) && found.hasMetadata == info.hasExif);
        check(found.captureText == std::string(info.originalDateText, strnlen(info.originalDateText, 19)));
    }

    WallClock capture;
    const bool dated = found.hasMetadata
                       && DateCodec::decode(DateEncoding::ExifText,
                                            reinterpret_cast<const unsigned char *>(found.captureText.data()),
                                            found.captureText.size(), &capture);
    check(dated || found.fields.empty());
    if (!dated)
        capture = kClock;
    checkFields(bytes, found.fields, capture);
    for (const DerivedField &d : found.derived)
        check(d.coverOffset <= bytes.size() && d.coverLength <= bytes.size() - d.coverOffset
              && d.offset <= bytes.size() && d.width <= bytes.size() - d.offset);

    DateShift::Plan plan;
    const bool planned = DateShift::plan(file, found.fields, found.derived, capture, seconds, exifTextOnly, &plan);
    // A valid shifted time plans, unless a field's encoding cannot hold it
    // (a count of seconds in 32 bits ends in 2040 or 2106): then nothing is planned.
    check(!planned || DateCodec::isValid(DateCodec::addSeconds(capture, seconds)));
    if (DateCodec::isValid(DateCodec::addSeconds(capture, seconds))) {
        bool canFail = false;
        for (const DateField &f : found.fields)
            canFail = canFail || f.skew != 0 || f.encoding == DateEncoding::Seconds1970x32LE
                      || f.encoding == DateEncoding::Seconds1904x32 || f.encoding == DateEncoding::Seconds1904x64;
        check(planned || canFail);
    }
    if (!planned)
        return;
    checkPlan(bytes, plan);

    // Written and shifted back, the runs give the original bytes.
    Bytes moved = bytes;
    for (const DateShift::Run &r : plan.runs)
        std::memcpy(moved.data() + r.offset, r.to.data(), r.to.size());
    for (const DateShift::Run &r : plan.runs)
        std::memcpy(moved.data() + r.offset, r.from.data(), r.from.size());
    check(moved == bytes);
}

void append(Bytes &out, const void *bytes, size_t n)
{
    const auto *p = static_cast<const unsigned char *>(bytes);
    out.insert(out.end(), p, p + n);
}

void appendSegment(Bytes &out, uint8_t marker, const Bytes &payload)
{
    const size_t n = payload.size() > 65533 ? 65533 : payload.size();
    const unsigned char head[] = {0xFF, marker, uint8_t((n + 2) >> 8), uint8_t(n + 2)};
    append(out, head, sizeof head);
    append(out, payload.data(), n);
}

void appendResource(Bytes &out, unsigned id, const unsigned char *data, size_t n)
{
    const unsigned char head[] = {'8', 'B', 'I', 'M', uint8_t(id >> 8), uint8_t(id), 0, 0,
                                  uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
    append(out, head, sizeof head);
    append(out, data, n);
    if (n & 1)
        out.push_back(0);
}

// A JPEG with the capture time in a minimal EXIF block, then one APP1 or
// APP13 segment that carries the data.
Bytes wrap(int kind, const uint8_t *data, size_t size)
{
    Bytes exif;
    append(exif, "Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x90\x03\0\x02\0\0\0\x14\0\0\0\x1a\0\0\0\0", 32);
    append(exif, kCapture, sizeof kCapture);

    Bytes payload;
    uint8_t marker = 0xED;
    if (kind == 1) {
        marker = 0xE1;
        append(payload, "http://ns.adobe.com/xap/1.0/", 29);
        append(payload, data, size);
    } else if (kind == 2) {
        append(payload, "Photoshop 3.0", 14);
        append(payload, data, size);
    } else {
        append(payload, "Photoshop 3.0", 14);
        const size_t n = size < 60000 ? size : 60000;
        appendResource(payload, 0x0404, data, n);
        const Md5::Digest digest = Md5::of(ConstByteView(data, n));
        appendResource(payload, 0x0425, digest.data(), digest.size());
    }
    Bytes file = {0xFF, 0xD8};
    appendSegment(file, 0xE1, exif);
    appendSegment(file, marker, payload);
    append(file, "\xFF\xDA\x00\x02", 4);
    return file;
}

} // namespace

// The reader's two standard-output lines would drown the fuzzer's report
// (which goes to standard error).
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Bytes input(data, data + size);
    const int64_t seconds = shiftOf(data, size);
    const bool exifTextOnly = size > 0 && (data[size - 1] & 1);

    // The EXIF decoder straight on the input; the largest APP1 payload a
    // segment can carry is 65533 bytes.
    if (size + 6 <= 65533) {
        Bytes payload(6 + size);
        std::memcpy(payload.data(), "Exif\0\0", 6);
        if (size > 0)
            std::memcpy(payload.data() + 6, data, size);
        ExifReader reader(nullptr);
        reader.decodeExifBlock(payload.data(), int(payload.size() + 2));
        checkRecord(*reader.info);
    }

    locateAndShift(input, seconds, exifTextOnly);

    // The input as an XMP sidecar and as a block of image resources.
    const ConstByteView view(input.data(), input.size());
    checkFields(input, XmpPacket::findCopies(view, 0, kClock), kClock);
    const PhotoshopResources::Copies copies = PhotoshopResources::findCopies(view, 0, kClock);
    for (const DateField &f : copies.pairs)   // in the order of the datasets
        checkField(input, f, kClock);
    check(copies.pairs.size() % 2 == 0);

    if (size > 0 && data[0] >= 1 && data[0] <= 3)
        locateAndShift(wrap(data[0], data + 1, size - 1), seconds, exifTextOnly);
    return 0;
}
