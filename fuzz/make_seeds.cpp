// Writes the fuzzer's seed corpus into the directory given as argument:
// typical camera files in both byte orders and a few broken ones, each also
// as a bare TIFF structure for the fuzz target's direct decoder path; files
// with XMP and IPTC copies of the capture time, and the bare XMP packet,
// image resources and IPTC data for the target's wrapped paths; TIFF-based
// RAW files of each header variant with every copy a TIFF structure holds,
// and two broken ones; the RAW containers (RAF, MRW, CRW in both byte
// orders, X3F) with little image data; HEIC and AVIF files with the Exif
// item in the file, in 'idat', in several extents, after 'mdat', with an XMP
// item; videos with version 0 and 1 headers, 'moov' first and last, Keys,
// 'udta' texts and XMP; AVI files with the IDIT in 'hdrl', at the top level,
// twice, and spelled in lower case; AVCHD transport streams of both packet sizes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "avibuilder.h"
#include "cr3builder.h"
#include "isobmffbuilder.h"
#include "jpegbuilder.h"
#include "md5.h"
#include "moviebuilder.h"
#include "rawbuilder.h"
#include "tiffbuilder.h"

using namespace jpegtest;

namespace {

ExifBlock camera(ByteOrder order, uint32_t firstAt = 8)
{
    ExifBlock e(order);
    const int sub = e.addDirectory(), interop = e.addDirectory(), ifd1 = e.addDirectory();
    e.firstDirectoryAt(firstAt).ascii(0, tag::Make, "Maker").ascii(0, tag::Model, "Model 7")
        .shortValue(0, tag::Orientation, 1).rational(0, tag::XResolution, 72, 1)
        .rational(0, tag::YResolution, 72, 1).shortValue(0, tag::ResolutionUnit, 2)
        .subDirectory(0, tag::ExifIfd, sub).next(0, ifd1)
        .rational(sub, tag::ExposureTime, 1, 125).rational(sub, tag::FNumber, 28, 10)
        .shortValue(sub, tag::ExposureProgram, 2).shortValue(sub, tag::IsoSpeed, 200)
        .value(sub, tag::ExifVersion, format::Undefined, 4, {'0', '2', '3', '0'})
        .ascii(sub, tag::DateTimeOriginal, "2012:05:06 10:00:00")
        .rational(sub, tag::ShutterSpeedValue, 7, 1, format::SRational)
        .rational(sub, tag::ApertureValue, 3, 1).rational(sub, tag::ExposureBiasValue, -1, 3, format::SRational)
        .shortValue(sub, tag::MeteringMode, 5).shortValue(sub, tag::Flash, 1)
        .rational(sub, tag::FocalLength, 50, 1)
        .value(sub, tag::UserComment, format::Undefined, 16,
               {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'H', 'e', 'l', 'l', 'o', ' ', ' ', ' '})
        .longValue(sub, tag::PixelXDimension, 4000).longValue(sub, tag::PixelYDimension, 3000)
        .rational(sub, tag::FocalPlaneXResolution, 4000, 10).shortValue(sub, tag::FocalPlaneResolutionUnit, 3)
        .subDirectory(sub, tag::InteropIfd, interop)
        .ascii(interop, 0x0001, "R98")
        .longValue(ifd1, tag::ThumbnailOffset, 8).longValue(ifd1, tag::ThumbnailLength, 16);
    return e;
}

void write(const std::filesystem::path &dir, const std::string &name, const Bytes &bytes)
{
    if (!writeFile((dir / name).string(), bytes))
        std::fprintf(stderr, "cannot write %s\n", (dir / name).string().c_str());
}

void both(const std::filesystem::path &dir, const std::string &name, const ExifBlock &exif)
{
    write(dir, name + ".jpg", Jpeg::camera(exif, 32).bytes());
    write(dir, name + ".tiff", exif.tiff());
}

Bytes md5(const Bytes &data)
{
    const Md5::Digest d = Md5::of(ConstByteView(data.data(), data.size()));
    return Bytes(d.begin(), d.end());
}

// The capture time 2008:03:16 10:52:01 in XMP, with a zone, a fraction, a
// date of another second and one with minutes only.
XmpPacket xmpPacket()
{
    XmpPacket x;
    x.attribute("xmp:CreateDate", "2008-03-16T10:52:01-04:00")
        .attribute("xmp:MetadataDate", "2008-03-16T10:52:02Z")
        .element("exif:DateTimeOriginal", "2008-03-16T10:52:01.50")
        .element("xmp:ModifyDate", "2008-03-16T10:52")
        .element("photoshop:DateCreated", " 2008-03-16T10:52:01+0100 ")
        .padding(64);
    return x;
}

IptcBlock iptcBlock()
{
    IptcBlock i;
    i.resource(0x03ED, "res", {0, 72, 0, 1, 0, 1, 0, 72, 0, 1, 0, 1})
        .dataset(1, 90, "\x1B%G").dataset(2, 0, std::string("\x00\x04", 2))
        .dataset(2, 55, "20080316").dataset(2, 60, "105201-0400")
        .dataset(2, 62, "20080316").dataset(2, 63, "105201")
        .dataset(2, 120, "taken 2008:03:16 10:52:01");
    return i;
}

Bytes text(const std::string &s) { return Bytes(s.begin(), s.end()); }

// A RAW file with the capture time in its EXIF texts, a maker note, XMP,
// IPTC with its digest, and a preview JPEG in a SubIFD; the raw data small.
Bytes rawFile(tifftest::Header header, const IptcBlock &iptc)
{
    namespace ttag = tifftest::tag;
    const std::string t = "2008:03:16 10:52:01";
    tifftest::Tiff f(header);
    const int exif = f.addDirectory(), interop = f.addDirectory(), preview = f.addDirectory(),
              raw = f.addDirectory(), ifd1 = f.addDirectory();
    const Bytes iim = iptc.iim();
    f.ascii(0, ttag::Make, "Maker").ascii(0, ttag::Model, "Model 7").ascii(0, ttag::DateTime, t)
        .subIfds(0, {preview, raw}).subDirectory(0, ttag::ExifIfd, exif).next(0, ifd1)
        .bytes(0, ttag::Xmp, text(xmpPacket().text()), format::Byte).bytes(0, ttag::Iptc, iim)
        .bytes(0, ttag::ImageResources, tifftest::digestResource(md5(iim)))
        .ascii(exif, ttag::DateTimeOriginal, t).ascii(exif, ttag::DateTimeDigitized, t)
        .bytes(exif, ttag::MakerNote, text("IIII\x01" + t + "Z"))
        .subDirectory(exif, ttag::InteropIfd, interop).ascii(interop, 0x0001, "R98")
        .jpegStrip(preview, Jpeg::camera(camera(ByteOrder::Intel), 16).bytes()).image(raw, 64)
        .ascii(ifd1, ttag::DateTime, t).jpeg(ifd1, Jpeg().soi().sof(8, 8, 1).sos().scanData(8).eoi().bytes());
    return f.bytes();
}

Bytes tagged(uint8_t kind, const Bytes &rest)
{
    Bytes out = {kind};
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);

    both(dir, "camera-ii", camera(ByteOrder::Intel));
    both(dir, "camera-mm", camera(ByteOrder::Motorola));
    both(dir, "first-at-138", camera(ByteOrder::Intel, 138));

    ExifBlock cycle(ByteOrder::Motorola);
    const int a = cycle.addDirectory();
    cycle.subDirectory(0, tag::ExifIfd, a).subDirectory(a, tag::InteropIfd, 0).next(a, a);
    both(dir, "cycle", cycle);

    ExifBlock broken(ByteOrder::Intel);
    broken.ascii(0, tag::DateTimeOriginal, "2001:02:03 04:05:06").rawEntry(0, tag::Model, 13, 1, 0)
        .rawEntry(0, tag::Make, format::Ascii, 40, 0xFFFFFFF0u).nextRaw(0, 0xFFFF);
    both(dir, "broken", broken);

    Jpeg full;
    full.soi().segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0})
        .comment("first\r\ncomment\r").app1(camera(ByteOrder::Intel)).comment("second")
        .segment(0xE1, {'h', 't', 't', 'p', ':'}).dqt().raw({0xFF, 0xFF, 0xFF})
        .sof(1080, 1920, 3, 0xC2).sos().scanData(16).eoi();
    write(dir, "segments.jpg", full.bytes());
    write(dir, "grey-eoi.jpg", Jpeg().soi().sof(8, 8, 1).segment(0xD9, {}).bytes());
    write(dir, "truncated.jpg", Bytes(full.bytes().begin(), full.bytes().begin() + 60));

    ExifBlock dated(ByteOrder::Intel);
    const int sub = dated.addDirectory();
    dated.ascii(0, tag::DateTime, "2008:03:16 10:52:01").subDirectory(0, tag::ExifIfd, sub)
        .ascii(sub, tag::DateTimeOriginal, "2008:03:16 10:52:01");
    IptcBlock current = iptcBlock();
    current.digest(md5(current.iim()));
    IptcBlock stale = iptcBlock();
    stale.digest(Bytes(16, 0xAB));
    Jpeg all;
    all.soi().app1(dated).xmp(xmpPacket())
        .segment(0xE1, extendedXmpPayload("0123456789ABCDEF0123456789ABCDEF", 40, 0,
                                          "<x:xmpmeta>2008-03-16T10:52:01</x:xmpmeta>"))
        .app13(current).dqt().sof(8, 8).sos().scanData(16).eoi();
    write(dir, "xmp-iptc.jpg", all.bytes());
    write(dir, "iptc-stale.jpg", Jpeg().soi().app1(dated).app13(stale).sos().bytes());
    write(dir, "sidecar.xmp", text(xmpPacket().text()));
    write(dir, "wrapped-xmp.bin", tagged(1, text(xmpPacket().text())));
    write(dir, "wrapped-resources.bin", tagged(2, current.resources()));
    write(dir, "wrapped-iim.bin", tagged(3, current.iim()));

    using tifftest::Header;
    write(dir, "raw-ii.nef", rawFile(Header::Intel, iptcBlock()));
    write(dir, "raw-mm.pef", rawFile(Header::Motorola, iptcBlock()));
    write(dir, "raw-big.tif", rawFile(Header::BigMotorola, iptcBlock()));
    write(dir, "raw-panasonic.rw2", rawFile(Header::Panasonic, iptcBlock()));
    write(dir, "raw-olympus.orf", rawFile(Header::OlympusMM, iptcBlock()));
    tifftest::Tiff loop(Header::BigIntel);
    const int page = loop.addDirectory();
    loop.ascii(0, tifftest::tag::DateTimeOriginal, "2008:03:16 10:52:01").next(0, page).next(page, 0);
    write(dir, "tiff-loop.tif", loop.bytes());
    tifftest::Tiff far(Header::Intel);
    far.ascii(0, tifftest::tag::DateTimeOriginal, "2008:03:16 10:52:01")
        .rawEntry(0, tifftest::tag::SubIfds, format::Long, 3, 0xFFFFFF00u).nextRaw(0, 0x7FFFFFF0);
    write(dir, "tiff-far.tif", far.bytes());

    write(dir, "camera.raf", rawtest::Raf(Jpeg::camera(dated, 32).bytes()).sensorBytes(64).bytes());
    write(dir, "camera.mrw", rawtest::Mrw(camera(ByteOrder::Motorola)).imageBytes(64).bytes());
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola})
        write(dir, order == ByteOrder::Intel ? "camera-ii.crw" : "camera-mm.crw",
              rawtest::Crw::camera("2008:03:16 10:52:01", order, 64).bytes());
    write(dir, "camera.x3f", rawtest::x3f(64));

    using isotest::Heif;
    const Bytes mm = camera(ByteOrder::Motorola).tiff(), ii = camera(ByteOrder::Intel).tiff();
    write(dir, "camera-mm.heic", Heif(mm).imageBytes(64).xmp(xmpPacket().text()).bytes());
    write(dir, "camera-ii-idat.heic", Heif(ii).exifOffset(0).inIdat().imageBytes(64).bytes());
    write(dir, "camera-extents.heif", Heif(mm).extents(3).iloc(2, 8, 4, 4, 4).infeVersion(3).imageBytes(64).bytes());
    write(dir, "camera-late.avif",
          Heif(ii).brand("avif", {"mif1", "avif"}).metaAfterMdat().largeMdat().imageBytes(64).bytes());
    write(dir, "camera-pieces.heic", Heif(mm).extents(2, 5).iloc(0, 4, 4, 0).imageBytes(64).bytes());

    using isotest::Cr3;
    const std::string t = "2008:03:16 10:52:01";
    write(dir, "camera-zoned.cr3", Cr3::camera(tifftest::Header::Intel, t, "+02:00", 7200).xmp(xmpPacket().text())
                                       .imageBytes(64).bytes());
    write(dir, "camera-v1.cr3",
          Cr3::camera(tifftest::Header::Motorola, t, "", -19800).headerVersion(1).tracks(1).imageBytes(64).bytes());

    using isotest::Movie;
    write(dir, "keys-zoned.mov", Movie("2008:03:16 08:52:18").keys("2008-03-16T10:52:01+0200", "Maker", "Model 7")
                                     .day("2008-03-16T08:52:01Z").mdatBytes(64).bytes());
    write(dir, "udta-last.mp4", Movie(t).version(1).addTrack(t, t).date("2008-03-16T10:52:01+0000")
                                    .udtaXmp(xmpPacket().text()).moovLast().mdatBytes(64).bytes());
    write(dir, "quicktime-xmp.mov", Movie(t).quickTime().uuidXmp(xmpPacket().text()).mdatBytes(64).bytes());

    using avitest::Avi;
    write(dir, "idit-hdrl.avi", Avi(t).info("2008-03-16").mediaBytes(64).bytes());
    write(dir, "idit-top.avi", Avi(t).iditAtTop().idit("SUN MAR 16 10:52:01 2008\n").mediaBytes(64).bytes());
    write(dir, "idit-twice.avi", Avi(t).secondIdit(std::string("SUN MAR 16 10:52:01 2008\n\0", 26)).mediaBytes(64)
                                     .bytes());
    write(dir, "idit-lower.avi", Avi(t).idit("Sun Mar 16 10:52:01 2008\n").mediaBytes(64).bytes());
    write(dir, "stamped.m2ts", avitest::mts(true, 4));
    write(dir, "plain.mts", avitest::mts(false, 4));
    return 0;
}
