#include "exifreader.h"

#include <cstdlib>
#include <cstring>

#include "exifdecoder.h"

ExifReader::ExifReader(ExifInfo *info)
    : info(info), errorText{}, sections{}, sectionCount(0), ownsInfo(false)
{
    if (!this->info) {
        this->info = new ExifInfo();
        ownsInfo = true;
    }
}

ExifReader::~ExifReader()
{
    // A slot past sectionCount may still hold the buffer of a segment whose
    // reading failed, so every slot is looked at.
    for (JpegSection &section : sections)
        std::free(section.bytes);
    if (ownsInfo)
        delete info;
}

void ExifReader::setError(const char *text)
{
    std::strncpy(errorText, text, sizeof errorText - 1);
    errorText[sizeof errorText - 1] = '\0';
}

void ExifReader::dropLastSection()
{
    --sectionCount;
    std::free(sections[sectionCount].bytes);
    sections[sectionCount].bytes = nullptr;
}

bool ExifReader::readJpeg(FILE *file)
{
    if (std::fgetc(file) != 0xFF || std::fgetc(file) != 0xD8)
        return false;

    bool commentSeen = false;
    for (;;) {
        if (sectionCount >= kMaxSections) {
            setError("Too many sections in jpg file");
            return false;
        }

        // The marker code is the first byte that is not 0xFF. At end of
        // file fgetc's EOF becomes the code and the length test fails.
        int marker = 0xFF;
        for (int i = 0; i < kMaxMarkerBytes && marker == 0xFF; ++i)
            marker = std::fgetc(file);
        if (marker == 0xFF) {
            std::puts("too many padding unsigned chars");
            return false;
        }

        JpegSection &section = sections[sectionCount];
        section.marker = marker;

        const int high = std::fgetc(file);
        const int low = std::fgetc(file);
        const int length = (high == EOF || low == EOF) ? -1 : (high << 8) | low;
        if (length < 2) {
            setError("invalid marker");
            return false;
        }

        section.length = length;
        section.bytes = static_cast<unsigned char *>(std::malloc(size_t(length)));
        if (!section.bytes) {
            setError("Could not allocate memory");
            return false;
        }
        section.bytes[0] = static_cast<unsigned char>(high);
        section.bytes[1] = static_cast<unsigned char>(low);
        const size_t payloadSize = size_t(length) - 2;
        if (std::fread(section.bytes + 2, 1, payloadSize, file) != payloadSize) {
            setError("Premature end of file?");
            return false;
        }
        ++sectionCount;

        ByteView segment(section.bytes, size_t(length));
        ByteView payload = segment.from(2);
        switch (marker) {
        case 0xC0: case 0xC1: case 0xC2: case 0xC3:
        case 0xC5: case 0xC6: case 0xC7:
        case 0xC9: case 0xCA: case 0xCB:
        case 0xCD: case 0xCE: case 0xCF:
            readFrameHeader(segment, marker);
            break;
        case 0xD9:
            std::puts("No image in jpeg!");
            return false;
        case 0xDA:
            return true;
        case 0xE0:
            dropLastSection();
            break;
        case 0xE1:
            if (payload.startsWith("Exif", 4)) {
                // The first block that decodes is the picture's, as other
                // readers take it: a later one (a copy, a damaged or foreign
                // segment) neither replaces its values nor undoes it. Until
                // one decodes, each starts without the date of a failed one.
                if (!info->hasExif) {
                    info->originalDateText[0] = '\0';
                    info->hasExif = decodeExifBlock(section.bytes + 2, length);
                }
            } else
                dropLastSection();
            break;
        case 0xFE:
            if (commentSeen) {
                dropLastSection();
            } else {
                commentSeen = true;
                readComment(segment);
            }
            break;
        default:
            break;   // held unread
        }
    }
}

void ExifReader::readFrameHeader(ByteView segment, int marker)
{
    if (segment.size() < 8)
        return;
    info->imageHeight = readBigEndian16(segment.from(3));
    info->imageWidth = readBigEndian16(segment.from(5));
    info->colourImage = segment[7] == 3 ? 1 : 0;
    info->frameMarker = marker;
}

void ExifReader::readComment(ByteView segment)
{
    constexpr size_t kMaxEnd = sizeof(ExifInfo::commentText);   // 1000
    const size_t end = segment.size() < kMaxEnd ? segment.size() : kMaxEnd;
    char *out = info->commentText;
    size_t n = 0;
    for (size_t i = 2; i < end; ++i) {
        const unsigned char c = segment[i];
        if (c == '\r') {
            // CR LF becomes LF; a lone CR is not kept as it is.
            if (i + 1 < segment.size() && segment[i + 1] == '\n')
                continue;
            out[n++] = '?';
        } else if (c == '\t' || c == '\n' || c >= 0x20) {
            out[n++] = char(c);
        } else {
            out[n++] = '?';
        }
    }
    out[n] = '\0';   // n <= 997
}

int ExifReader::readBigEndian16(ByteView bytes)
{
    if (bytes.size() < 2)
        return 0;
    return bytes[0] * 256 + bytes[1];
}

bool ExifReader::decodeExifBlock(unsigned char *payload, int segmentLength)
{
    ExifDecoder decoder(ByteView(payload, segmentLength > 2 ? size_t(segmentLength) - 2 : 0), info);
    const bool decoded = decoder.decode();
    if (decoder.lastError())
        setError(decoder.lastError());
    const TiffWalker::Location &date = decoder.walker().location(TiffWalker::DateTimeOriginal);
    originalDateAt = date.found ? int64_t(date.valueOffset + ExifDecoder::kTiffStart) : -1;
    return decoded;
}
