#include "exifdecoder.h"

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

constexpr double kLn2 = 0.6931471805599453;

enum Tag : int {
    Make = 0x010F, Model = 0x0110, Orientation = 0x0112, XResolution = 0x011A,
    YResolution = 0x011B, ResolutionUnit = 0x0128, ThumbnailOffset = 0x0201,
    ThumbnailLength = 0x0202, ExposureTime = 0x829A, FNumber = 0x829D,
    ExposureProgram = 0x8822, IsoSpeedRatings = 0x8827, ExifVersion = 0x9000,
    DateTimeOriginal = 0x9003, CompressedBitsPerPixel = 0x9102, ShutterSpeedValue = 0x9201,
    ApertureValue = 0x9202, BrightnessValue = 0x9203, ExposureBiasValue = 0x9204,
    MaxApertureValue = 0x9205, SubjectDistance = 0x9206, MeteringMode = 0x9207,
    LightSource = 0x9208, Flash = 0x9209, FocalLength = 0x920A, UserComment = 0x9286,
    PixelXDimension = 0xA002, PixelYDimension = 0xA003,
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
void copyText(char *dest, size_t limit, ConstByteView source)
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

ExifDecoder::ExifDecoder(ByteView payload, ExifInfo *info)
    : data(payload), block(payload.from(kTiffStart)), info(info), tiff(block)
{
}

// The view stays writable in type only: applyUserComment() checks `writable`
// before it writes.
ExifDecoder::ExifDecoder(ConstByteView payload, ExifInfo *info)
    : ExifDecoder(ByteView(const_cast<unsigned char *>(payload.data()), payload.size()), info)
{
    writable = false;
}

bool ExifDecoder::decode()
{
    info->flashFired = 0;
    info->commentText[0] = '\0';
    largestPixelDimension = 0;

    if (!data.startsWith("Exif\0\0", kTiffStart)) {
        error("Incorrect Exif header");
        return false;
    }
    if (!tiff.walk(*this))
        return false;
    if (info->focalPlaneXResolution != 0.0f)
        info->sensorWidth = float(largestPixelDimension) * info->focalPlaneUnitInches
            / info->focalPlaneXResolution;
    return true;
}

void ExifDecoder::enterDirectory(int depth)
{
    thumbnailOffset[depth] = 0;
    thumbnailLength[depth] = 0;
}

void ExifDecoder::leaveDirectory(int depth)
{
    // After the linked directories, so this directory's own thumbnail wins.
    const int offset = thumbnailOffset[depth], length = thumbnailLength[depth];
    if (offset > 0 && length > 0 && block.contains(uint64_t(offset), uint64_t(length))) {
        info->thumbnailData = block.data() + offset;
        info->thumbnailLength = length;
    }
}

void ExifDecoder::applyUserComment(uint64_t valueAt, uint64_t byteCount)
{
    // Trailing spaces of the value become NULs in the held buffer; the value
    // lies inside the block, so the writes do too.
    if (!writable) {
        if (byteCount > 0 && block[valueAt + byteCount - 1] == ' ')
            wantedWrite = true;
        if (wantedWrite)
            return;
    }
    for (uint64_t i = byteCount; i > 0 && block[valueAt + i - 1] == ' '; --i)
        block.set(valueAt + i - 1, '\0');

    const ConstByteView value = block.from(valueAt);
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

bool ExifDecoder::entry(const TiffEntry &e)
{
    // The first component is read from the value's offset whatever its
    // count: a value shorter than its format reads on into what follows.
    const ConstByteView value = block.from(e.valueOffset);
    const double v = tiff.number(value, e.format);
    ExifInfo &r = *info;
    switch (e.tag) {
    case Make:
        copyText(r.makeText, sizeof r.makeText - 1, value);
        break;
    case Model:
        copyText(r.modelText, sizeof r.modelText - 1, value);
        break;
    case Orientation:
        r.orientationCode = toInt(v);
        if (r.orientationCode < 1 || r.orientationCode > 8) {
            error("Undefined rotation value");
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
        thumbnailOffset[e.depth] = toInt(v);
        break;
    case ThumbnailLength:
        thumbnailLength[e.depth] = toInt(v);
        break;
    case ExposureTime:
        r.exposureSeconds = toFloat(v);
        break;
    case FNumber:
        r.apertureNumber = toFloat(v);
        break;
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
        applyUserComment(e.valueOffset, e.byteCount);
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
