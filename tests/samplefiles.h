// Files of each format that hold one capture time in every field the format
// has, shared by the tests that take every format through the same steps.
#pragma once

#include <QByteArray>
#include <QCryptographicHash>

#include <functional>
#include <string>
#include <vector>

#include "jpegbuilder.h"

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

// A file of one format holding the capture time `t` ("yyyy:MM:dd hh:mm:ss")
// in every field it has.
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
    };
}

}   // namespace samples
