// libFuzzer target for the JPEG/EXIF engine. Every input is read twice:
// as a whole file through readJpeg, and as a TIFF structure behind an
// "Exif\0\0" header handed straight to decodeExifBlock. The buffers have
// exactly the input's size, so AddressSanitizer catches any read past them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "exifreader.h"

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
    return 0;
}
