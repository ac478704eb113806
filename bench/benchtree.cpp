// Writes a tree of N JPEG pictures laid out like cameras' files, for the
// benchmark:  kelvaro-benchtree DIR N [KB]
//
// DIR/DCIM/100CAM00/IMG_00001.JPG ..., 500 pictures a folder, each about KB
// kilobytes (default 100). Four kinds take turns:
//   0  little-endian, a 30 KB maker note stored before DateTimeOriginal (its
//      text lands past byte 30000, as in some cameras' files);
//   1  big-endian, dates early in the block, a 6 KB maker note after them;
//   2  little-endian, DateTime differs (edited later), 12 KB maker note after;
//   3  big-endian, a 4.5 KB maker note before DateTimeOriginal (past byte 4096).
#include "jpegbuilder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

using namespace jpegtest;

namespace {

std::string dateText(long long secondsAfter2012)
{
    std::time_t t = std::time_t(1336298400LL + secondsAfter2012);   // 2012-05-06 10:00:00 UTC
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &tm);
    return text;
}

Bytes filler(size_t size, unsigned seed)
{
    Bytes note(size);
    for (size_t i = 0; i < size; ++i)
        note[i] = uint8_t((i * 2654435761u + seed) >> 13);
    return note;
}

// A valid, mostly empty XMP packet padded to `size` bytes, as editors leave
// room to grow it in place.
Bytes xmpPacket(size_t size)
{
    const std::string head =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/></x:xmpmeta>\n";
    const std::string tail = "<?xpacket end=\"w\"?>";
    Bytes packet(head.begin(), head.end());
    while (packet.size() + tail.size() < size)
        packet.push_back(packet.size() % 100 == 99 ? '\n' : ' ');
    packet.insert(packet.end(), tail.begin(), tail.end());
    return packet;
}

Bytes picture(int index, size_t targetSize)
{
    const int kind = index % 4;
    ExifBlock exif(kind % 2 == 0 ? ByteOrder::Intel : ByteOrder::Motorola);
    const int sub = exif.addDirectory();
    const std::string original = dateText(index * 613LL);
    const std::string edited = kind == 2 ? dateText(index * 613LL + 86400 * 40) : original;

    // Entries in rising tag order, as cameras write them. An XMP packet in
    // IFD0 (tag 0x02BC, as editing programs add) stores its bytes before the
    // EXIF sub-directory, which pushes DateTimeOriginal back.
    const size_t xmpSize[] = {30000, 0, 0, 4500};
    const size_t noteSize[] = {8000, 6000, 12000, 3000};
    exif.ascii(0, tag::Make, kind % 2 ? "Morvane" : "Kelvaro Optics")
        .ascii(0, tag::Model, "Bench " + std::to_string(kind))
        .shortValue(0, tag::Orientation, 1)
        .rational(0, tag::XResolution, 72, 1)
        .rational(0, tag::YResolution, 72, 1)
        .shortValue(0, tag::ResolutionUnit, 2)
        .ascii(0, tag::DateTime, edited);
    if (xmpSize[kind])
        exif.value(0, 0x02BC, format::Byte, uint32_t(xmpSize[kind]), xmpPacket(xmpSize[kind]));
    exif.subDirectory(0, tag::ExifIfd, sub)
        .rational(sub, tag::ExposureTime, 1, 125)
        .rational(sub, tag::FNumber, 56, 10)
        .shortValue(sub, tag::IsoSpeed, 200)
        .value(sub, tag::ExifVersion, format::Undefined, 4, {'0', '2', '3', '0'})
        .ascii(sub, tag::DateTimeOriginal, original)
        .ascii(sub, tag::DateTimeDigitized, original)
        .shortValue(sub, tag::Flash, 0)
        .rational(sub, tag::FocalLength, 50, 1)
        .value(sub, tag::MakerNote, format::Undefined, uint32_t(noteSize[kind]),
               filler(noteSize[kind], unsigned(index)))
        .longValue(sub, tag::PixelXDimension, 4000)
        .longValue(sub, tag::PixelYDimension, 3000);

    Jpeg jpeg;
    jpeg.soi().app1(exif).dqt().sof(3000, 4000).sos();
    const size_t header = jpeg.bytes().size() + 2;
    const size_t jitter = size_t(index * 7919 % 8192);
    const size_t size = targetSize + jitter > header + 4096 ? targetSize + jitter - 4096 : header + 1024;
    jpeg.scanData(size - header).eoi();
    return jpeg.bytes();
}

bool makeFolder(const std::string &path)
{
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIR N [KB]\n", argv[0]);
        return 2;
    }
    const std::string top = argv[1];
    const int count = std::atoi(argv[2]);
    const size_t targetSize = size_t(argc > 3 ? std::atoi(argv[3]) : 100) * 1024;
    if (!makeFolder(top) || !makeFolder(top + "/DCIM"))
        return 1;
    std::string folder;
    for (int i = 0; i < count; ++i) {
        if (i % 500 == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/DCIM/%03dCAM%02d", 100 + i / 500 % 900, i / 500 / 900);
            folder = top + name;
            if (!makeFolder(folder))
                return 1;
        }
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%05d.JPG", i + 1);
        if (!writeFile(folder + name, picture(i, targetSize)))
            return 1;
    }
    return 0;
}
