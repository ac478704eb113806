// Writes a tree of N files from one trip, as a camera and a phone leave them,
// for the benchmark:  kelvaro-triptree DIR N [RAW_MB [VIDEO_MB]]
//
// DIR/DCIM/100TRIP00/..., 500 files a folder. Of every ten files:
//   6  three RAW+JPEG pairs of the same name and capture time: DSC_nnnnn.NEF,
//      a big-endian TIFF RAW of RAW_MB megabytes (default 20) whose raw data
//      lies between its directories and a full-size JPEG preview with its own
//      EXIF block at the end of the file, and DSC_nnnnn.JPG (4 MB);
//   2  HEIC pictures (IMG_nnnnn.HEIC, 3 MB): the image data in 'mdat', then
//      the Exif item and an XMP item, then 'meta';
//   2  MP4 videos (MOV_nnnnn.MP4) of VIDEO_MB megabytes (default 50), 'moov'
//      at the end after the 'mdat', a video and a sound track: a phone's
//      (Apple's Keys with the zone), then a camera's.
// The image and video data are holes: the files are sparse, so that a tree of
// a few GB is written in seconds and takes little disk; reading the holes
// costs no disk time, only the copying to the reader.
#include "isobmffbuilder.h"
#include "jpegbuilder.h"
#include "moviebuilder.h"
#include "tiffbuilder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using jpegtest::ByteOrder;
using jpegtest::Bytes;
using jpegtest::ExifBlock;
using jpegtest::Jpeg;

namespace {

constexpr uint64_t kMB = 1024 * 1024;

// The capture time of file `index`, a pair sharing one, plus `offset` seconds.
std::string dateText(long long index, long long offset = 0, bool iso = false)
{
    std::time_t t = std::time_t(1561968000LL + index * 613 + offset);   // 2019-07-01 08:00:00 UTC
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, iso ? "%Y-%m-%dT%H:%M:%S" : "%Y:%m:%d %H:%M:%S", &tm);
    return text;
}

// A camera's EXIF block: make, model and DateTime in IFD0, both capture texts
// in the EXIF directory, a thumbnail's IFD1.
ExifBlock cameraExif(ByteOrder order, const std::string &make, const std::string &model, const std::string &t)
{
    namespace tag = jpegtest::tag;
    ExifBlock e(order);
    const int sub = e.addDirectory(), ifd1 = e.addDirectory();
    e.ascii(0, tag::Make, make).ascii(0, tag::Model, model).ascii(0, tag::DateTime, t)
        .subDirectory(0, tag::ExifIfd, sub).next(0, ifd1)
        .rational(sub, tag::ExposureTime, 1, 250).rational(sub, tag::FNumber, 8, 1)
        .shortValue(sub, tag::IsoSpeed, 100)
        .ascii(sub, tag::DateTimeOriginal, t).ascii(sub, tag::DateTimeDigitized, t)
        .rational(sub, tag::FocalLength, 35, 1)
        .longValue(ifd1, tag::ThumbnailOffset, 8).longValue(ifd1, tag::ThumbnailLength, 16);
    return e;
}

std::string xmpText(const std::string &t)
{
    jpegtest::XmpPacket x;
    x.attribute("xmp:CreateDate", t.substr(0, 4) + "-" + t.substr(5, 2) + "-" + t.substr(8, 2) + "T" + t.substr(11))
        .padding(2048);
    return x.text();
}

// Writes head, then `hole` bytes never written, then tail.
bool writeSparse(const std::string &path, const Bytes &head, uint64_t hole, const Bytes &tail)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const off_t end = off_t(head.size() + hole + tail.size());
    bool ok = write(fd, head.data(), head.size()) == ssize_t(head.size())
        && (tail.empty() || pwrite(fd, tail.data(), tail.size(), off_t(head.size() + hole)) == ssize_t(tail.size()))
        && ftruncate(fd, end) == 0;
    return close(fd) == 0 && ok;
}

bool writeSparse(const std::string &path, const isotest::Sparse &s)
{
    return writeSparse(path, s.head, s.zeros, s.tail);
}

// A NEF-like RAW: IFD0 (make, model, DateTime, XMP) with two SubIFDs, the
// full-size JPEG preview's and the raw data's, and the EXIF directory; the raw
// data after the directories, the preview at the end.
bool writeRaw(const std::string &path, const std::string &t, uint64_t size)
{
    namespace tag = tifftest::tag;
    const Bytes preview = Jpeg::camera(cameraExif(ByteOrder::Motorola, "NIKON CORPORATION", "NIKON D750", t),
                                       256 * 1024).bytes();
    const std::string packet = xmpText(t);
    // The raw data's length: what is left of `size` after the rest, even.
    const uint64_t rawBytes = (std::max(size, uint64_t(kMB)) - preview.size() - 8192) & ~uint64_t(1);

    tifftest::Tiff f(tifftest::Header::Motorola);
    const int exif = f.addDirectory(), previewIfd = f.addDirectory(), raw = f.addDirectory();
    f.ascii(0, tag::Make, "NIKON CORPORATION").ascii(0, tag::Model, "NIKON D750").ascii(0, tag::DateTime, t)
        .subIfds(0, {previewIfd, raw}).subDirectory(0, tag::ExifIfd, exif)
        .bytes(0, tag::Xmp, Bytes(packet.begin(), packet.end()), jpegtest::format::Byte)
        .ascii(exif, tag::DateTimeOriginal, t).ascii(exif, tag::DateTimeDigitized, t)
        .image(raw, rawBytes, 34713).jpeg(previewIfd, preview);
    const Bytes file = f.bytes();

    // The raw data is the builder's filler: find its first bytes and leave
    // the whole run out as a hole.
    Bytes start(64);
    for (size_t j = 0; j < start.size(); ++j)
        start[j] = uint8_t((j * 131 + 7) % 255);
    const auto at = std::search(file.begin(), file.end(), start.begin(), start.end());
    if (at == file.end() || uint64_t(file.end() - at) < rawBytes) {
        std::fprintf(stderr, "triptree: no raw data in %s\n", path.c_str());
        return false;
    }
    const Bytes head(file.begin(), at), tail(at + std::ptrdiff_t(rawBytes), file.end());
    return writeSparse(path, head, rawBytes, tail);
}

// The camera's JPEG of a pair: its EXIF block, then a hole for the scan data.
bool writeJpeg(const std::string &path, const std::string &t)
{
    Jpeg j;
    j.soi().app1(cameraExif(ByteOrder::Motorola, "NIKON CORPORATION", "NIKON D750", t)).dqt().sof(4016, 6016).sos();
    Jpeg end;
    end.eoi();
    return writeSparse(path, j.bytes(), 4 * kMB - j.bytes().size() - 2, end.bytes());
}

uint32_t be32(const Bytes &b, size_t at)
{
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// A phone's HEIC, 'meta' after 'mdat'. The builder's 'meta' names no primary
// item and no item links, without which exiftool writes nothing: 'pitm' (the
// picture, item 1) and 'iref' (the Exif item 2 and the XMP item 3 describe
// it) go in after 'hdlr'. 'meta' is the last box, so nothing else moves.
bool writeHeic(const std::string &path, const std::string &t)
{
    using isotest::Box;
    const Bytes tiff = cameraExif(ByteOrder::Motorola, "Apple", "iPhone 12", t).tiff();
    isotest::Sparse s = isotest::Heif(tiff).xmp(xmpText(t)).imageBytes(3 * kMB).metaAfterMdat().sparse();
    size_t meta = s.tail.size();
    for (size_t at = 0; at + 8 <= s.tail.size(); ++at)
        if (std::equal(s.tail.begin() + std::ptrdiff_t(at) + 4, s.tail.begin() + std::ptrdiff_t(at) + 8, "meta")
            && be32(s.tail, at) == s.tail.size() - at)
            meta = at;
    if (meta + 16 > s.tail.size())
        return false;
    const size_t afterHdlr = meta + 12 + be32(s.tail, meta + 12);
    Box reference = Box::full("iref", 0);
    reference.child(Box("cdsc").number(2, 2).number(1, 2).number(1, 2))
        .child(Box("cdsc").number(3, 2).number(1, 2).number(1, 2));
    Bytes added = Box::full("pitm", 0).number(1, 2).bytes();
    const Bytes links = reference.bytes();
    added.insert(added.end(), links.begin(), links.end());
    s.tail.insert(s.tail.begin() + std::ptrdiff_t(afterHdlr), added.begin(), added.end());
    const uint32_t size = be32(s.tail, meta) + uint32_t(added.size());
    for (int i = 0; i < 4; ++i)
        s.tail[meta + size_t(i)] = uint8_t(size >> (8 * (3 - i)));
    return writeSparse(path, s);
}

// A movie, track or media header of version 0 (32-bit seconds since 1904),
// created and modified at `t`, of `seconds` in a time scale of 1000.
isotest::Box header(const std::string &type, uint64_t t, uint32_t seconds)
{
    isotest::Box b = isotest::Box::full(type, 0);
    b.number(t, 4).number(t, 4);
    if (type == "tkhd")
        return b.number(1, 4).number(0, 4).number(seconds * 1000u, 4).add(Bytes(60, 0));
    b.number(1000, 4).number(seconds * 1000u, 4);
    if (type == "mvhd")
        return b.add(Bytes(76, 0)).number(3, 4);   // rate, volume, matrix, predefined; next track id
    return b.number(0x55C4, 2).number(0, 2);       // language, quality
}

// A track whose media lie in this file ('dref' holds one self-contained 'url ',
// which a writer that moves 'mdat' needs to know) with an empty sample table.
isotest::Box track(const std::string &handler, uint64_t t, uint32_t seconds)
{
    using isotest::Box;
    Box table("stbl");
    // One sample description, of media in the first data reference.
    const Box entry = Box(handler == "vide" ? "avc1" : "mp4a").add(Bytes(6, 0)).number(1, 2);
    table.child(Box::full("stsd", 0).number(1, 4).child(entry)).child(Box::full("stts", 0).number(0, 4))
        .child(Box::full("stsc", 0).number(0, 4)).child(Box::full("stsz", 0).number(0, 4).number(0, 4))
        .child(Box::full("stco", 0).number(0, 4));
    Box info("minf");
    info.child(Box("dinf").child(Box::full("dref", 0).number(1, 4).child(Box::full("url ", 0, 1)))).child(table);
    Box media("mdia");
    media.child(header("mdhd", t, seconds))
        .child(Box::full("hdlr", 0).number(0, 4).add(Bytes(handler.begin(), handler.end())).add(Bytes(12, 0))
                   .text(handler == "vide" ? "Video" : "Sound"))
        .child(info);
    return Box("trak").child(header("tkhd", t, seconds)).child(media);
}

// A video of `size` bytes, 'moov' after 'mdat': a phone's (Apple's Keys with
// the local time, two hours east) or a camera's; every header time `t` (UTC),
// a video and a sound track.
bool writeVideo(const std::string &path, long long index, bool phone, uint64_t size)
{
    using isotest::Box;
    const uint64_t t = isotest::Movie::since1904(dateText(index));
    const uint32_t seconds = 30;
    Box moov("moov");
    moov.child(header("mvhd", t, seconds)).child(track("vide", t, seconds)).child(track("soun", t, seconds));
    if (phone) {
        const std::vector<std::pair<std::string, std::string>> keys{
            {"com.apple.quicktime.creationdate", dateText(index, 7200, true) + "+0200"},
            {"com.apple.quicktime.make", "Apple"}, {"com.apple.quicktime.model", "iPhone 12"}};
        Box names = Box::full("keys", 0);
        Box items("ilst");
        names.number(keys.size(), 4);
        for (size_t i = 0; i < keys.size(); ++i) {
            names.number(8 + keys[i].first.size(), 4).add(Bytes{'m', 'd', 't', 'a'})
                .add(Bytes(keys[i].first.begin(), keys[i].first.end()));
            const char type[] = {0, 0, 0, char(i + 1), 0};
            items.child(Box(std::string(type, 4)).child(Box("data").number(1, 4).number(0, 4)
                .add(Bytes(keys[i].second.begin(), keys[i].second.end()))));
        }
        // Apple's QuickTime 'meta': no version and flags.
        moov.child(Box("meta").child(Box::full("hdlr", 0).number(0, 4).add(Bytes{'m', 'd', 't', 'a'})
                                         .add(Bytes(12, 0)).number(0, 1))
                       .child(names).child(items));
    }
    Bytes head = isotest::ftyp(phone ? "qt  " : "isom", phone ? std::vector<std::string>{"qt  "}
                                                              : std::vector<std::string>{"isom", "mp42"}).bytes();
    const uint64_t data = std::max(size, uint64_t(kMB));
    for (int i = 3; i >= 0; --i)
        head.push_back(uint8_t((data + 8) >> (8 * i)));
    head.insert(head.end(), {'m', 'd', 'a', 't'});
    return writeSparse(path, head, data, moov.bytes());
}

bool makeFolder(const std::string &path)
{
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIR N [RAW_MB [VIDEO_MB]]\n", argv[0]);
        return 2;
    }
    const std::string top = argv[1];
    const int count = std::atoi(argv[2]);
    const uint64_t rawSize = uint64_t(argc > 3 ? std::atoi(argv[3]) : 20) * kMB;
    const uint64_t videoSize = uint64_t(argc > 4 ? std::atoi(argv[4]) : 50) * kMB;
    if (!makeFolder(top) || !makeFolder(top + "/DCIM"))
        return 1;
    std::string folder;
    for (int i = 0; i < count; ++i) {
        if (i % 500 == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/DCIM/%03dTRIP%02d", 100 + i / 500 % 900, i / 500 / 900);
            folder = top + name;
            if (!makeFolder(folder))
                return 1;
        }
        const int slot = i % 10;
        const int pairOf = slot < 6 ? i - slot % 2 : i;   // both files of a pair: the first's number and time
        char name[48];
        bool ok = false;
        if (slot < 6) {
            std::snprintf(name, sizeof name, "/DSC_%05d.%s", pairOf + 1, slot % 2 ? "JPG" : "NEF");
            const std::string t = dateText(pairOf);
            ok = slot % 2 ? writeJpeg(folder + name, t) : writeRaw(folder + name, t, rawSize);
        } else if (slot < 8) {
            std::snprintf(name, sizeof name, "/IMG_%05d.HEIC", i + 1);
            ok = writeHeic(folder + name, dateText(i));
        } else {
            std::snprintf(name, sizeof name, "/MOV_%05d.MP4", i + 1);
            ok = writeVideo(folder + name, i, slot == 8, videoSize);
        }
        if (!ok) {
            std::fprintf(stderr, "triptree: cannot write %s%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
