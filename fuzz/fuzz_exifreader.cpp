// libFuzzer target for the JPEG/EXIF engine. Every input is read three
// times: as a whole file through readJpeg, as a TIFF structure behind an
// "Exif\0\0" header handed straight to decodeExifBlock, and as a header whose
// capture-time copies HeaderDates looks for (and as a sidecar file). An input
// whose first byte is 1, 2 or 3 is also wrapped, from its second byte on, into
// a small JPEG as an XMP packet (1), a Photoshop APP13 payload after its name
// (2) or the IPTC data of an APP13 block with a matching digest (3), so that
// the fuzzer reaches the inner parsers without having to find the outer
// layers first. The buffers have exactly the input's size (or the wrapped
// file's), so AddressSanitizer catches any read past them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "exifreader.h"
#include "headerdates.h"
#include "md5.h"

// Keeps the thumbnail reads from being optimised away.
volatile unsigned thumbnailChecksum;

namespace {

// Every text must stay terminated, and the thumbnail must lie in a held buffer.
void checkRecord(const ExifInfo &info)
{
    const auto terminated = [](const char *text, size_t size) {
        return std::memchr(text, 0, size) != nullptr;
    };
    if (!terminated(info.exifVersion, sizeof info.exifVersion)
        || !terminated(info.makeText, sizeof info.makeText)
        || !terminated(info.modelText, sizeof info.modelText)
        || !terminated(info.originalDateText, sizeof info.originalDateText)
        || !terminated(info.commentText, sizeof info.commentText))
        std::abort();
    unsigned sum = 0;
    for (int i = 0; info.thumbnailData && i < info.thumbnailLength; ++i)
        sum += info.thumbnailData[i];
    thumbnailChecksum = sum;
}

// The dates searched for; the seeds carry them in every form.
const char kOriginal[] = "2008:03:16 10:52:01";
const char kShifted[] = "2008:03:17 09:00:59";

bool sameRuns(const DateRun &a, const DateRun &b)
{
    return a.offset == b.offset && a.length == b.length && a.newText == b.newText && a.kind == b.kind;
}

// Runs must lie inside the bytes, in rising order without overlaps, each
// with a new text of its own length over an old text of the searched form.
void checkRuns(const std::vector<unsigned char> &bytes, const std::vector<DateRun> &runs)
{
    uint64_t end = 0;
    for (const DateRun &run : runs) {
        if (run.offset < end || run.length == 0 || run.offset > bytes.size()
            || run.length > bytes.size() - run.offset || run.newText.size() != run.length)
            std::abort();
        end = run.offset + run.length;
        const char *old = reinterpret_cast<const char *>(bytes.data() + run.offset);
        switch (run.kind) {
        case DateRun::Exif:
            if (run.length != 19 || std::memcmp(old, kOriginal, 19) != 0)
                std::abort();
            break;
        case DateRun::Xmp:
            if (run.length != 19 || std::memcmp(old, "2008-03-16T10:52:01", 19) != 0)
                std::abort();
            break;
        case DateRun::Iptc:
            if (!(run.length == 8 && std::memcmp(old, "20080316", 8) == 0)
                && !(run.length == 6 && std::memcmp(old, "105201", 6) == 0))
                std::abort();
            break;
        case DateRun::IptcDigest:
            if (run.length != 16)
                std::abort();
            break;
        }
    }
}

// Searches the bytes in both modes: the EXIF runs must not depend on the mode.
void searchHeader(std::vector<unsigned char> &bytes)
{
    HeaderDates::Counts counts;
    const std::vector<DateRun> all =
        HeaderDates::find(bytes.data(), bytes.size(), kOriginal, kShifted, false, &counts);
    const std::vector<DateRun> exifOnly =
        HeaderDates::find(bytes.data(), bytes.size(), kOriginal, kShifted, true);
    checkRuns(bytes, all);
    size_t k = 0;
    for (const DateRun &run : all)
        if (run.kind == DateRun::Exif && !(k < exifOnly.size() && sameRuns(run, exifOnly[k++])))
            std::abort();
    if (k != exifOnly.size() || counts.exif != int(k))
        std::abort();
    const std::vector<DateRun> sidecar =
        HeaderDates::findInSidecar(bytes.data(), bytes.size(), kOriginal, kShifted);
    checkRuns(bytes, sidecar);
    HeaderDates::apply(bytes.data(), bytes.size(), all);
}

void append(std::vector<unsigned char> &out, const void *bytes, size_t n)
{
    const auto *p = static_cast<const unsigned char *>(bytes);
    out.insert(out.end(), p, p + n);
}

void appendResource(std::vector<unsigned char> &out, unsigned id, const unsigned char *data, size_t n)
{
    const unsigned char head[] = {'8', 'B', 'I', 'M', uint8_t(id >> 8), uint8_t(id), 0, 0,
                                  uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
    append(out, head, sizeof head);
    append(out, data, n);
    if (n & 1)
        out.push_back(0);
}

// A JPEG whose one APP1 or APP13 segment carries `payload`, cut to what a segment holds.
std::vector<unsigned char> wrap(int kind, const uint8_t *data, size_t size)
{
    std::vector<unsigned char> payload;
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
    if (payload.size() > 65533)
        payload.resize(65533);
    std::vector<unsigned char> file = {0xFF, 0xD8, 0xFF, marker, uint8_t((payload.size() + 2) >> 8),
                                       uint8_t(payload.size() + 2)};
    append(file, payload.data(), payload.size());
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
    if (size > 0) {
        std::vector<unsigned char> file(data, data + size);
        if (FILE *stream = fmemopen(file.data(), file.size(), "rb")) {
            ExifInfo info{};
            ExifReader reader(&info);
            reader.readJpeg(stream);
            checkRecord(info);
            std::fclose(stream);
        }
    }

    // The largest APP1 payload a segment can carry is 65533 bytes.
    const size_t header = 6;
    if (size + header <= 65533) {
        std::vector<unsigned char> payload(header + size);
        std::memcpy(payload.data(), "Exif\0\0", header);
        if (size > 0)
            std::memcpy(payload.data() + header, data, size);
        ExifReader reader(nullptr);
        reader.decodeExifBlock(payload.data(), int(payload.size() + 2));
        checkRecord(*reader.info);
    }

    if (size > 0) {
        std::vector<unsigned char> header(data, data + size);
        searchHeader(header);
    }
    if (size > 0 && data[0] >= 1 && data[0] <= 3) {
        std::vector<unsigned char> wrapped = wrap(data[0], data + 1, size - 1);
        searchHeader(wrapped);
    }
    return 0;
}
