#include "jpegheader.h"

#include <algorithm>

#include "exifdecoder.h"
#include "exifreader.h"

namespace {

// Names that open the payload of the APP1 and APP13 segments noted here,
// each with its terminating NUL.
constexpr char kXmpName[] = "http://ns.adobe.com/xap/1.0/";
constexpr char kExtendedXmpName[] = "http://ns.adobe.com/xmp/extension/";
constexpr char kPhotoshopName[] = "Photoshop 3.0";

constexpr uint64_t kPage = 4096;

} // namespace

JpegHeader::JpegHeader(ByteSource &source) : file(source), size(source.size()), info{} {}

bool JpegHeader::ensure(uint64_t n)
{
    n = std::min(n, size);
    if (n <= loaded)
        return true;
    if (failed)
        return false;
    // A first read that holds most headers whole; after it, up to the end
    // of what is asked for and a page more, which usually holds the next
    // segment's marker and length.
    uint64_t want = loaded == 0 ? std::max(n, kFirstRead) : (n / kPage + 2) * kPage;
    want = std::min(want, size);
    if (loaded == 0 || direct) {
        // Where the source holds the bytes itself, they are read in place; a
        // source that held the first part and cannot hold more failed to read.
        const unsigned char *held = file.peek(0, size_t(want));
        if (held) {
            direct = held;
            loaded = want;
            return true;
        }
        if (direct) {
            failed = true;
            return false;
        }
    }
    buffer.resize(size_t(want));
    if (!file.readAt(loaded, buffer.data() + loaded, size_t(want - loaded))) {
        failed = true;
        buffer.resize(size_t(loaded));
        return false;
    }
    loaded = want;
    return true;
}

bool JpegHeader::byteAt(uint64_t offset, int *value)
{
    if (!ensure(offset + 1))
        return false;
    *value = bytes()[offset];
    return true;
}

void JpegHeader::readExif(ConstByteView payload, uint64_t at)
{
    // The first block that decodes is the picture's, as the reader takes it;
    // until one does, each starts without the date of a failed one. The
    // decoder reads the bytes where they lie; the rare block it would write
    // into (a UserComment ending in spaces) is decoded again from a copy,
    // from the record as it stood before.
    if (info.hasExif)
        return;
    info.originalDateText[0] = '\0';
    const ExifInfo before = info;
    ExifDecoder decoder(payload, &info);
    info.hasExif = decoder.decode();
    if (decoder.needsWritableCopy()) {
        info = before;
        std::vector<unsigned char> copy(payload.data(), payload.data() + payload.size());
        ExifDecoder writing(ByteView(copy.data(), copy.size()), &info);
        info.hasExif = writing.decode();
        info.thumbnailData = nullptr;   // it pointed into the copy
        noteDate(writing, at);
        return;
    }
    info.thumbnailData = nullptr;   // the bytes it points into are the caller's
    noteDate(decoder, at);
}

void JpegHeader::noteDate(const ExifDecoder &decoder, uint64_t at)
{
    const TiffWalker::Location &date = decoder.walker().location(TiffWalker::DateTimeOriginal);
    dateAt = date.found ? int64_t(at + ExifDecoder::kTiffStart + date.valueOffset) : -1;
}

void JpegHeader::note(int marker, ConstByteView payload, uint64_t at)
{
    if (marker == 0xE1 && payload.startsWith(kXmpName, sizeof kXmpName))
        xmp.push_back({at + sizeof kXmpName, payload.size() - sizeof kXmpName});
    else if (marker == 0xE1 && payload.startsWith(kExtendedXmpName, sizeof kExtendedXmpName))
        ++extended;
    else if (marker == 0xED && payload.startsWith(kPhotoshopName, sizeof kPhotoshopName))
        photoshop.push_back({at + sizeof kPhotoshopName, payload.size() - sizeof kPhotoshopName});
}

bool JpegHeader::read()
{
    // The reader takes the first byte, and the second only when the first is 0xFF.
    searchEnd = std::min(size, kMinimumRegion);
    int first = 0, second = 0;
    if (size == 0 || !byteAt(0, &first))
        return false;
    end = std::min<uint64_t>(size, first == 0xFF ? 2 : 1);
    if (first != 0xFF || !byteAt(1, &second) || second != 0xD8)
        return false;

    // While the reader walks (`reading`), a segment may reach up to the end
    // of the file and where the walk stops is headerEnd. Once the reader
    // holds all the segments it keeps, the search walks on alone inside
    // its region, which is then known.
    bool reading = true;
    int held = 0;
    bool commentSeen = false;
    uint64_t pos = 2;
    uint64_t limit = size;
    auto stopReading = [&](uint64_t at) {
        reading = false;
        end = std::min(at, size);
        searchEnd = std::min(size, std::max(end, kMinimumRegion));
        limit = searchEnd;
    };

    for (;;) {
        if (reading && held >= ExifReader::kMaxSections)
            stopReading(pos);

        int marker = 0xFF;
        int fill = 0;
        for (; fill < ExifReader::kMaxMarkerBytes && marker == 0xFF && pos < limit; ++fill) {
            if (!byteAt(pos++, &marker))
                return false;
        }
        // The file or region ended, or too many fill bytes: both walks stop.
        if (marker == 0xFF) {
            if (reading && fill == ExifReader::kMaxMarkerBytes)
                diagnosis = "too many padding unsigned chars";
            break;
        }
        const bool last = marker == 0xD9 || marker == 0xDA;
        if (last && !reading)
            break;   // the search stops before the end of image or the start of scan

        if (limit - pos < 2) {
            pos = limit;
            break;
        }
        if (!ensure(pos + 2))
            return false;
        const uint64_t length = bytes().bigEndian16(pos);
        if (length < 2) {
            pos += 2;
            break;
        }
        if (limit - pos < length) {
            pos = limit;   // the reader takes what there is
            break;
        }
        if (!ensure(pos + length))
            return false;
        const uint64_t at = pos + 2;
        const ConstByteView payload = bytes().sub(at, length - 2);
        pos += length;
        if (last) {
            if (reading && marker == 0xD9)
                diagnosis = "No image in jpeg!";
            break;   // the reader stops after it, the search before it
        }

        if (reading) {
            ++held;
            if (marker == 0xE0) {
                --held;
            } else if (marker == 0xE1) {
                if (payload.startsWith("Exif", 4))
                    readExif(payload, at);
                else
                    --held;
            } else if (marker == 0xFE) {
                if (commentSeen)
                    --held;
                commentSeen = true;
            }
        }
        note(marker, payload, at);
    }
    if (reading)
        stopReading(pos);
    return true;
}
