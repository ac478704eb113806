// Files of each format that hold one capture time in every field the format
// has, shared by the tests that take every format through the same steps.
#pragma once

#include <QByteArray>
#include <QCryptographicHash>

#include <functional>
#include <string>
#include <vector>

#include "avibuilder.h"
#include "cr3builder.h"
#include "isobmffbuilder.h"
#include "jpegbuilder.h"
#include "moviebuilder.h"
#include "rawbuilder.h"
#include "tiffbuilder.h"

namespace samples {

using jpegtest::ByteOrder;
using jpegtest::Bytes;

// "yyyy:MM:dd hh:mm:ss" as XMP spells it ("yyyy-MM-ddThh:mm:ss").
inline std::string iso(std::string s)
{
    s[4] = s[7] = '-';
    s[10] = 'T';
    return s;
}

inline Bytes md5Of(const Bytes &data)
{
    const QByteArray d = QCryptographicHash::hash(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data.data()), int(data.size())), QCryptographicHash::Md5);
    return Bytes(d.begin(), d.end());
}

// A camera's EXIF block: Make, Model and ModifyDate in IFD0,
// DateTimeOriginal and DateTimeDigitized in the EXIF directory, a thumbnail's
// IFD1; every date `t`.
inline jpegtest::ExifBlock camera(ByteOrder order, const std::string &t, uint32_t firstAt = 8)
{
    namespace tag = jpegtest::tag;
    jpegtest::ExifBlock e(order);
    const int sub = e.addDirectory(), ifd1 = e.addDirectory();
    e.firstDirectoryAt(firstAt).ascii(0, tag::Make, "Maker").ascii(0, tag::Model, "Model 7").ascii(0, tag::DateTime, t)
        .subDirectory(0, tag::ExifIfd, sub).next(0, ifd1).ascii(sub, tag::DateTimeOriginal, t)
        .ascii(sub, tag::DateTimeDigitized, t).longValue(ifd1, tag::ThumbnailOffset, 8)
        .longValue(ifd1, tag::ThumbnailLength, 16);
    return e;
}

// A JPEG with every copy a JPEG can hold: the camera's EXIF block, an XMP
// packet (an attribute with a zone, an element with a fraction), IPTC date
// and time with the Photoshop digest over them, and a comment that merely
// mentions the date.
inline Bytes richJpeg(const std::string &t)
{
    jpegtest::XmpPacket x;
    x.attribute("xmp:CreateDate", iso(t) + "+01:00").element("exif:DateTimeOriginal", iso(t) + ".25").padding(100);
    jpegtest::IptcBlock i;
    i.dataset(2, 55, t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2))
        .dataset(2, 60, t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2) + "+0100")
        .dataset(2, 120, "taken " + t);
    i.digest(md5Of(i.iim()));
    jpegtest::Jpeg j;
    j.soi().segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}).app1(camera(ByteOrder::Intel, t))
        .xmp(x).app13(i).comment("shot at " + t).dqt().sof(480, 640).sos().scanData(256).eoi();
    return j.bytes();
}

// A TIFF picture from a camera: Make, Model and DateTime in IFD0,
// DateTimeOriginal and DateTimeDigitized in the EXIF directory, the image
// data after them; every date `t`.
inline Bytes cameraTiff(tifftest::Header header, const std::string &t)
{
    namespace tag = tifftest::tag;
    tifftest::Tiff f(header);
    const int exif = f.addDirectory();
    f.ascii(0, tag::Make, "Maker").ascii(0, tag::Model, "Model 7").ascii(0, tag::DateTime, t)
        .subDirectory(0, tag::ExifIfd, exif).image(0, 600)
        .ascii(exif, tag::DateTimeOriginal, t).ascii(exif, tag::DateTimeDigitized, t);
    return f.bytes();
}

// A RAW file with every copy a TIFF structure can hold: the three EXIF texts,
// a maker note with a plain copy among binary data, an XMP packet, IPTC data
// (padded to whole 32-bit words) with its digest in the image resources, a
// SubIFD whose JPEG preview carries its own EXIF block (three more), and the
// raw data in another SubIFD.
inline Bytes richTiff(const std::string &t, tifftest::Header header = tifftest::Header::Motorola)
{
    namespace tag = tifftest::tag;
    jpegtest::XmpPacket x;
    x.attribute("xmp:CreateDate", iso(t) + "+01:00").element("exif:DateTimeOriginal", iso(t) + ".25");
    const std::string packet = x.text();
    jpegtest::IptcBlock i;
    i.dataset(2, 55, t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2))
        .dataset(2, 60, t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2) + "+0100").dataset(2, 120, "a caption");
    Bytes iim = i.iim();
    iim.resize((iim.size() + 3) / 4 * 4, 0);
    const std::string noteText = std::string("Maker\0\0\x01\x7F\x12\x34\x56", 12) + t + std::string("\0\x01\x02\x03", 4);
    const Bytes note(noteText.begin(), noteText.end());

    tifftest::Tiff f(header);
    const int exif = f.addDirectory(), preview = f.addDirectory(), raw = f.addDirectory();
    f.ascii(0, tag::Make, "Maker").ascii(0, tag::Model, "Model 7").ascii(0, tag::DateTime, t)
        .subIfds(0, {preview, raw}).subDirectory(0, tag::ExifIfd, exif)
        .bytes(0, tag::Xmp, Bytes(packet.begin(), packet.end()), jpegtest::format::Byte)
        .value(0, tag::Iptc, jpegtest::format::Long, iim.size() / 4, iim)
        .bytes(0, tag::ImageResources, tifftest::digestResource(md5Of(iim)))
        .ascii(exif, tag::DateTimeOriginal, t).ascii(exif, tag::DateTimeDigitized, t)
        .bytes(exif, tag::MakerNote, note)
        .jpegStrip(preview, jpegtest::Jpeg::camera(camera(ByteOrder::Intel, t)).bytes()).image(raw, 2048);
    return f.bytes();
}

// A file of one format holding the capture time `t` ("yyyy:MM:dd hh:mm:ss")
// in every field it has. A sample of no fields is one its format claims but
// does not support: it is never written.
using Build = std::function<Bytes(const std::string &t)>;

struct Sample {
    const char *name;
    const char *format;   // the name of the format that is to claim it
    Build build;
    long long seconds;    // a shift worth trying on it
    int fields;           // the fields that spell the capture time
};

// Every format's builders.
inline std::vector<Sample> all()
{
    using jpegtest::Jpeg;
    return {
        {"JPEG, camera, Intel order, a day and a bit on", "JPEG", [](const std::string &t) {
             return Jpeg::camera(camera(ByteOrder::Intel, t)).bytes();
         }, 86400 + 3723, 3},
        {"JPEG, camera, Motorola order, back over a new year", "JPEG", [](const std::string &t) {
             return Jpeg::camera(camera(ByteOrder::Motorola, t)).bytes();
         }, -75 * 86400, 3},
        {"JPEG, IFD0 far into the block, back into a leap day", "JPEG", [](const std::string &t) {
             return Jpeg::camera(camera(ByteOrder::Motorola, t, 2000)).bytes();
         }, -(16 * 86400 + 10 * 3600 + 52 * 60 + 1), 3},
        {"JPEG with XMP, IPTC and its digest, a comment, ten years on", "JPEG", richJpeg, 3653LL * 86400,
         5 + 2 + 2},
        {"TIFF, Intel order, a day and a bit on", "TIFF", [](const std::string &t) {
             return cameraTiff(tifftest::Header::Intel, t);
         }, 86400 + 3723, 3},
        {"BigTIFF, Motorola order, back over a new year", "TIFF", [](const std::string &t) {
             return cameraTiff(tifftest::Header::BigMotorola, t);
         }, -75 * 86400, 3},
        {"RAW with a maker note, XMP, IPTC and its digest, a preview, ten years on", "TIFF", [](const std::string &t) {
             return richTiff(t);
         }, 3653LL * 86400, 3 + 1 + 2 + 2 + 3},
        {"Olympus RAW with every copy, back into a leap day", "TIFF", [](const std::string &t) {
             return richTiff(t, tifftest::Header::OlympusRO);
         }, -(16 * 86400 + 10 * 3600 + 52 * 60 + 1), 3 + 1 + 2 + 2 + 3},
        {"RAF, a camera's JPEG inside, a day and a bit on", "RAF", [](const std::string &t) {
             return rawtest::Raf(Jpeg::camera(camera(ByteOrder::Motorola, t)).bytes()).bytes();
         }, 86400 + 3723, 3},
        {"RAF whose JPEG has XMP, IPTC and its digest, back over a new year", "RAF", [](const std::string &t) {
             return rawtest::Raf(richJpeg(t)).bytes();
         }, -75 * 86400, 5 + 2 + 2},
        {"MRW, its TIFF block Motorola order, back into a leap day", "MRW", [](const std::string &t) {
             return rawtest::Mrw(camera(ByteOrder::Motorola, t)).bytes();
         }, -(16 * 86400 + 10 * 3600 + 52 * 60 + 1), 3},
        {"CRW, a PowerShot's heaps, ten years on", "CRW", [](const std::string &t) {
             return rawtest::Crw::camera(t).bytes();
         }, 3653LL * 86400, 1},
        {"X3F, claimed but not supported", "X3F", [](const std::string &) { return rawtest::x3f(); }, 86400, 0},
        {"HEIC, Motorola order, Exif\\0\\0, an XMP item, a day and a bit on", "HEIF", [](const std::string &t) {
             jpegtest::XmpPacket x;
             x.attribute("xmp:CreateDate", iso(t) + ".644").element("photoshop:DateCreated", iso(t));
             return isotest::Heif(camera(ByteOrder::Motorola, t).tiff()).xmp(x.text()).bytes();
         }, 86400 + 3723, 3 + 2},
        {"HEIC, Intel order in idat, meta after mdat, back over a new year", "HEIF", [](const std::string &t) {
             return isotest::Heif(camera(ByteOrder::Intel, t).tiff()).exifOffset(0).inIdat().metaAfterMdat().bytes();
         }, -75 * 86400, 3},
        {"AVIF, three extents, iloc version 2, ten years on", "HEIF", [](const std::string &t) {
             return isotest::Heif(camera(ByteOrder::Intel, t).tiff()).brand("avif", {"mif1", "avif"}).extents(3)
                 .iloc(2, 8, 4, 4, 0).infeVersion(3).bytes();
         }, 3653LL * 86400, 3},
        {"HEIC whose Exif item lies in pieces apart, claimed but not supported", "HEIF", [](const std::string &t) {
             return isotest::Heif(camera(ByteOrder::Motorola, t).tiff()).extents(2, 7).bytes();
         }, 86400, 0},
        {"MP4, version 0 headers, Keys, ©day and XMP all in UTC, a day and a bit on", "Video", [](const std::string &t) {
             jpegtest::XmpPacket x;
             x.attribute("xmp:CreateDate", iso(t) + "Z").element("xmp:ModifyDate", iso(t));
             return isotest::Movie(t).keys(iso(t) + "+0000", "Apple", "iPhone 8").day(iso(t) + "Z")
                 .uuidXmp(x.text()).bytes();
         }, 86400 + 3723, 6 + 1 + 1 + 2},
        {"MOV without ftyp, version 1 headers, two tracks, moov last, back over a new year", "Video",
         [](const std::string &t) {
             return isotest::Movie(t).quickTime().version(1).addTrack(t, t).moovLast().bytes();
         }, -75 * 86400, 2 + 4 + 4},
        {"3GP with a udta date and XMP_, ten years on", "Video", [](const std::string &t) {
             jpegtest::XmpPacket x;
             x.attribute("xmp:CreateDate", iso(t) + "+00:00");
             return isotest::Movie(t).brand("3gp4", {"isom", "3gp4"}).date(iso(t) + "+0000").udtaXmp(x.text())
                 .bytes();
         }, 3653LL * 86400, 6 + 1 + 1},
        {"CR3, Intel CMTs, zone +02:00 named, XMP, a day and a bit on", "CR3", [](const std::string &t) {
             jpegtest::XmpPacket x;
             x.attribute("xmp:CreateDate", iso(t) + "+02:00");
             return isotest::Cr3::camera(tifftest::Header::Intel, t, "+02:00", 7200).xmp(x.text()).bytes();
         }, 86400 + 3723, 3 + 10 + 1},
        {"CR3, Motorola CMTs, no zone named, 64-bit header times, back over a new year", "CR3",
         [](const std::string &t) {
             return isotest::Cr3::camera(tifftest::Header::Motorola, t, "", -19800).headerVersion(1).bytes();
         }, -75 * 86400, 3 + 10},
        {"AVI, IDIT in hdrl, a day and a bit on, the weekday with it", "AVI", [](const std::string &t) {
             return avitest::Avi(t).bytes();
         }, 86400 + 3723, 1},
        {"AVI, IDIT at the top level, ten years on", "AVI", [](const std::string &t) {
             return avitest::Avi(t).iditAtTop().bytes();
         }, 3653LL * 86400, 1},
        {"AVCHD MTS, claimed but not supported", "MTS", [](const std::string &) { return avitest::mts(); }, 86400, 0},
    };
}

}   // namespace samples
