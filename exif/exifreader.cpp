#include "exifreader.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double kLn2 = 0.6931471805599453;

// Component size of each format code 0..12.
constexpr unsigned kFormatSize[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
constexpr int kMaxFormat = 12;

enum Tag : int {
    Make = 0x010F, Model = 0x0110, Orientation = 0x0112, XResolution = 0x011A,
    YResolution = 0x011B, ResolutionUnit = 0x0128, ThumbnailOffset = 0x0201,
    ThumbnailLength = 0x0202, ExposureTime = 0x829A, FNumber = 0x829D, ExifIfd = 0x8769,
    ExposureProgram = 0x8822, IsoSpeedRatings = 0x8827, ExifVersion = 0x9000,
    DateTimeOriginal = 0x9003, CompressedBitsPerPixel = 0x9102, ShutterSpeedValue = 0x9201,
    ApertureValue = 0x9202, BrightnessValue = 0x9203, ExposureBiasValue = 0x9204,
    MaxApertureValue = 0x9205, SubjectDistance = 0x9206, MeteringMode = 0x9207,
    LightSource = 0x9208, Flash = 0x9209, FocalLength = 0x920A, UserComment = 0x9286,
    PixelXDimension = 0xA002, PixelYDimension = 0xA003, InteropIfd = 0xA005,
    FocalPlaneXResolution = 0xA20E, FocalPlaneYResolution = 0xA20F,
    FocalPlaneResolutionUnit = 0xA210,
};

// Truncates towards zero; values beyond the int range (and NaN) are clamped
// instead of being converted with undefined behaviour.
int toInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(INT_MAX))
        return INT_MAX;
    if (v <= double(INT_MIN))
        return INT_MIN;
    return int(v);
}

// Rounds to single precision; values beyond its range become infinite.
float toFloat(double v)
{
    if (v > double(FLT_MAX))
        return HUGE_VALF;
    if (v < -double(FLT_MAX))
        return -HUGE_VALF;
    return float(v);
}

// Copies the text at the start of `source` into `dest`: characters up to the
// first NUL or the end of `source`, at most `limit`, and NULs in the rest of
// the first `limit` positions.
void copyText(char *dest, size_t limit, ByteView source)
{
    bool ended = false;
    for (size_t i = 0; i < limit; ++i) {
        if (i >= source.size() || source[i] == 0)
            ended = true;
        dest[i] = ended ? '\0' : char(source[i]);
    }
}

// The length of a unit in inches, by the EXIF unit code; 0 for an unknown code.
float unitInches(int code)
{
    switch (code) {
    case 1:
    case 2:
        return 1.0f;
    case 3:
        return float(1 / 2.54);
    case 4:
        return float(1 / 25.4);
    case 5:
        return float(1 / 25400.0);
    default:
        return 0.0f;
    }
}

} // namespace

ExifReader::ExifReader(ExifInfo *info)
    : info(info), errorText{}, largestPixelDimension(0), bigEndian(0), sections{},
      sectionCount(0), ownsInfo(false), visitedDirectories{}, visitedCount(0)
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

uint16_t ExifReader::read16(ByteView b) const
{
    if (b.size() < 2)
        return 0;
    if (bigEndian)
        return uint16_t((b[0] << 8) | b[1]);
    return uint16_t((b[1] << 8) | b[0]);
}

uint32_t ExifReader::read32(ByteView b) const
{
    if (b.size() < 4)
        return 0;
    if (bigEndian)
        return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    return (uint32_t(b[3]) << 24) | (uint32_t(b[2]) << 16) | (uint32_t(b[1]) << 8) | b[0];
}

int32_t ExifReader::read32Signed(ByteView b) const
{
    return static_cast<int32_t>(read32(b));
}

double ExifReader::numericValue(ByteView value, int format) const
{
    switch (format) {
    case 1:
        return value[0];
    case 3:
        return read16(value);
    case 4:
        return read32(value);
    case 5:
    case 10: {
        // Both halves are taken as signed, for RATIONAL as for SRATIONAL.
        const int32_t numerator = read32Signed(value);
        const int32_t denominator = read32Signed(value.from(4));
        return denominator == 0 ? 0.0 : double(numerator) / double(denominator);
    }
    case 6:
        return static_cast<int8_t>(value[0]);
    case 8:
        return static_cast<int16_t>(read16(value));
    case 9:
        return read32Signed(value);
    case 11: {
        const uint32_t bits = read32(value);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case 12: {
        if (value.size() < 8)
            return 0.0;
        const uint64_t first = read32(value);
        const uint64_t second = read32(value.from(4));
        const uint64_t bits = bigEndian ? (first << 32) | second : (second << 32) | first;
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default:
        return 0.0;   // none, ASCII, UNDEFINED
    }
}

bool ExifReader::decodeExifBlock(unsigned char *payload, int segmentLength)
{
    info->flashFired = 0;
    info->commentText[0] = '\0';
    largestPixelDimension = 0;

    const ByteView data(payload, segmentLength > 2 ? size_t(segmentLength) - 2 : 0);
    if (!data.startsWith("Exif\0\0", 6)) {
        setError("Incorrect Exif header");
        return false;
    }

    // The TIFF structure: its first byte is the base of every offset.
    const ByteView block = data.from(6);
    if (block.startsWith("II", 2)) {
        bigEndian = 0;
    } else if (block.startsWith("MM", 2)) {
        bigEndian = 1;
    } else {
        setError("Invalid Exif alignment marker.");
        return false;
    }
    if (read16(block.from(2)) != 42) {
        setError("Invalid Exif start (1)");
        return false;
    }

    // The first directory may stand anywhere after the 8-byte header, as
    // long as its entry count lies inside the block.
    const uint32_t first = read32(block.from(4));
    if (first < 8 || !block.contains(first, 2)) {
        setError("Suspicious offset of first IFD value");
        return false;
    }

    visitedCount = 0;
    if (!decodeDirectory(block, first))
        return false;

    if (info->focalPlaneXResolution != 0.0f)
        info->sensorWidth = float(largestPixelDimension) * info->focalPlaneUnitInches
            / info->focalPlaneXResolution;
    return true;
}

bool ExifReader::followLink(ByteView block, uint64_t offset, int depth)
{
    // Links that come back to a directory already decoded in this block, or
    // that nest too deeply, are not followed: the file is malformed, but
    // what was decoded so far stands.
    bool seen = false;
    for (int i = 0; i < visitedCount; ++i)
        seen = seen || visitedDirectories[i] == offset;
    if (seen || depth + 1 > kMaxDirectoryDepth || visitedCount >= kMaxDirectoriesPerBlock) {
        setError("Illegal subdirectory link");
        return false;
    }
    return decodeDirectory(block, offset, depth + 1);
}

bool ExifReader::decodeDirectory(ByteView block, uint64_t offset, int depth)
{
    if (!block.contains(offset, 2)) {
        setError("Illegally sized directory");
        return false;
    }
    const uint64_t count = read16(block.from(offset));
    const uint64_t entriesEnd = offset + 2 + 12 * count;
    if (entriesEnd > block.size()) {
        setError("Illegally sized directory");
        return false;
    }
    if (visitedCount < kMaxDirectoriesPerBlock)
        visitedDirectories[visitedCount++] = uint32_t(offset);

    int thumbnailOffset = 0;
    int thumbnailLength = 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t entryAt = offset + 2 + 12 * i;
        const ByteView entry = block.sub(entryAt, 12);
        const int tag = read16(entry);
        const int format = read16(entry.from(2));
        const uint64_t components = read32(entry.from(4));
        if (format > kMaxFormat) {
            setError("Illegal format code in EXIF dir");
            return false;
        }
        const uint64_t byteCount = kFormatSize[format] * components;   // < 2^36
        uint64_t valueAt = entryAt + 8;
        if (byteCount > 4) {
            valueAt = read32(entry.from(8));
            if (!block.contains(valueAt, byteCount)) {
                setError("Illegal pointer offset value in EXIF.");
                return false;
            }
        }
        if (!decodeTag(block, valueAt, byteCount, format, tag, depth, thumbnailOffset,
                       thumbnailLength))
            return false;
    }

    // A link field cut off by the end of the block counts as no link.
    const ByteView linkField = block.sub(entriesEnd, 4);
    const uint32_t link = read32(linkField);
    if (link != 0) {
        if (!block.contains(link, 2)) {
            setError("Illegal subdirectory link");
            return false;
        }
        followLink(block, link, depth);
    }

    // After the linked directory, so this directory's own thumbnail wins.
    if (thumbnailOffset > 0 && thumbnailLength > 0
        && block.contains(uint64_t(thumbnailOffset), uint64_t(thumbnailLength))) {
        info->thumbnailData = block.data() + thumbnailOffset;
        info->thumbnailLength = thumbnailLength;
    }
    return true;
}

void ExifReader::applyUserComment(ByteView block, uint64_t valueAt, uint64_t byteCount)
{
    // Trailing spaces of the value become NULs in the held buffer; the value
    // lies inside the block, so the writes do too.
    for (uint64_t i = byteCount; i > 0 && block[valueAt + i - 1] == ' '; --i)
        block.set(valueAt + i - 1, '\0');

    const ByteView value = block.from(valueAt);
    constexpr size_t kLimit = 199;
    char *out = info->commentText;
    if (value.startsWith("ASCII", 5)) {
        // The text follows the character code after any NULs or spaces;
        // positions past the end of the block end the search.
        for (size_t i = 5; i < 10 && i < value.size(); ++i) {
            if (value[i] != 0 && value[i] != ' ') {
                copyText(out, kLimit, value.from(i));
                out[kLimit] = '\0';
                return;
            }
        }
        return;
    }
    copyText(out, kLimit, value);
    out[kLimit] = '\0';   // a longer earlier comment must not show through
}

bool ExifReader::decodeTag(ByteView block, uint64_t valueAt, uint64_t byteCount, int format,
                           int tag, int depth, int &thumbnailOffset, int &thumbnailLength)
{
    const ByteView value = block.from(valueAt);
    const double v = numericValue(value, format);
    ExifInfo &r = *info;
    switch (tag) {
    case Make:
        copyText(r.makeText, sizeof r.makeText - 1, value);
        break;
    case Model:
        copyText(r.modelText, sizeof r.modelText - 1, value);
        break;
    case Orientation:
        r.orientationCode = toInt(v);
        if (r.orientationCode < 1 || r.orientationCode > 8) {
            setError("Undefined rotation value");
            r.orientationCode = 0;
        }
        break;
    case XResolution:
        r.horizontalResolution = toFloat(v);
        break;
    case YResolution:
        r.verticalResolution = toFloat(v);
        break;
    case ResolutionUnit:
        if (const float u = unitInches(toInt(v)))
            r.resolutionUnitInches = u;
        break;
    case ThumbnailOffset:
        thumbnailOffset = toInt(v);
        break;
    case ThumbnailLength:
        thumbnailLength = toInt(v);
        break;
    case ExposureTime:
        r.exposureSeconds = toFloat(v);
        break;
    case FNumber:
        r.apertureNumber = toFloat(v);
        break;
    case ExifIfd:
    case InteropIfd: {
        const uint32_t child = read32(value);
        if (!block.contains(child, 2)) {
            setError("Illegal subdirectory link");
            return false;
        }
        followLink(block, child, depth);   // a broken sub-directory does not fail this one
        break;
    }
    case ExposureProgram:
        r.exposureProgramCode = toInt(v);
        break;
    case IsoSpeedRatings: {
        const long long iso = toInt(v);
        const long long scaled = iso <= 49 ? iso * 200 : iso;
        r.isoSpeed = scaled < INT_MIN ? INT_MIN : int(scaled);
        break;
    }
    case ExifVersion:
        copyText(r.exifVersion, sizeof r.exifVersion - 1, value);
        break;
    case DateTimeOriginal:
        copyText(r.originalDateText, sizeof r.originalDateText - 1, value);
        break;
    case CompressedBitsPerPixel:
        r.compressionBits = toInt(v);
        break;
    case ShutterSpeedValue:
        if (r.exposureSeconds == 0.0f)
            r.exposureSeconds = toFloat(1 / std::exp(v * kLn2));
        break;
    case ApertureValue:
    case MaxApertureValue:
        if (r.apertureNumber == 0.0f)
            r.apertureNumber = toFloat(std::exp(v * kLn2 * 0.5));
        break;
    case BrightnessValue:
        r.brightnessValue = toFloat(v);
        break;
    case ExposureBiasValue:
        r.exposureBiasValue = toFloat(v);
        break;
    case SubjectDistance:
        r.subjectDistance = toFloat(v);
        break;
    case MeteringMode:
        r.meteringModeCode = toInt(v);
        break;
    case LightSource:
        r.lightSourceCode = toInt(v);
        break;
    case Flash:
        r.flashFired = (toInt(v) & 7) ? 1 : 0;
        break;
    case FocalLength:
        r.focalLengthMm = toFloat(v);
        break;
    case UserComment:
        applyUserComment(block, valueAt, byteCount);
        break;
    case PixelXDimension:
    case PixelYDimension:
        if (toInt(v) > largestPixelDimension)
            largestPixelDimension = toInt(v);
        break;
    case FocalPlaneXResolution:
        r.focalPlaneXResolution = toFloat(v);
        break;
    case FocalPlaneYResolution:
        r.focalPlaneYResolution = toFloat(v);
        break;
    case FocalPlaneResolutionUnit:
        if (const float u = unitInches(toInt(v)))
            r.focalPlaneUnitInches = u;
        break;
    default:
        break;
    }
    return true;
}
