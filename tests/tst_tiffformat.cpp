// The TIFF format: which headers it claims, every copy of the capture time it
// lists in a TIFF structure (the EXIF texts of every directory, a maker note's
// text, XMP, IPTC and its digest, embedded JPEG previews), what a damaged
// structure gives (nothing to write), and how little of a large file it reads.
// Most cases build a file twice, once with the capture time and once with the
// shifted time, and expect the fields of the first, moved, to turn it into the
// second, byte for byte.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "dateshift.h"
#include "formatlist.h"
#include "samplefiles.h"
#include "tiffbuilder.h"
#include "tiffformat.h"

using jpegtest::Bytes;
using jpegtest::ByteOrder;
using jpegtest::Jpeg;
using samples::md5Of;
using tifftest::Header;
using tifftest::Tiff;
namespace tag = tifftest::tag;
namespace format = jpegtest::format;

namespace {

const std::string kOriginal = "2008:03:16 10:52:01";
const std::string kShifted = "2011:12:31 23:59:30";   // every digit differs
const std::string kEdited = "2015:01:02 03:04:05";    // a later edit's time, never moved

WallClock clockOf(const std::string &text)
{
    WallClock t;
    DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(text.data()), text.size(), &t);
    return t;
}

const int64_t kSeconds = DateCodec::toEpochSeconds(clockOf(kShifted)) - DateCodec::toEpochSeconds(clockOf(kOriginal));

FoundDates locate(const Bytes &bytes, bool *ok = nullptr)
{
    MemorySource file(bytes);
    FoundDates found;
    const bool read = TiffFormat().locate(file, &found);
    if (ok)
        *ok = read;
    return found;
}

// The file with its fields moved by `seconds`; empty when the plan fails.
Bytes shifted(const Bytes &bytes, const FoundDates &found, int64_t seconds)
{
    MemorySource file(bytes);
    DateShift::Plan plan;
    if (!DateShift::plan(file, found.fields, found.derived, clockOf(found.captureText), seconds, false, &plan))
        return {};
    Bytes out = bytes;
    for (const DateShift::Run &r : plan.runs)
        std::copy(r.to.begin(), r.to.end(), out.begin() + ptrdiff_t(r.offset));
    return out;
}

// Fields lie inside the file, hold what they say, are sorted and apart.
bool sound(const Bytes &bytes, const FoundDates &found)
{
    uint64_t end = 0;
    for (const DateField &f : found.fields) {
        if (f.offset < end || f.offset + f.width > bytes.size()
            || std::string(bytes.begin() + ptrdiff_t(f.offset), bytes.begin() + ptrdiff_t(f.offset + f.width)) != f.value)
            return false;
        end = f.offset + f.width;
    }
    return found.headerEnd <= bytes.size();
}

Bytes text(const std::string &s) { return Bytes(s.begin(), s.end()); }

// A JPEG preview whose EXIF block holds `t` three times.
Bytes previewJpeg(const std::string &t) { return Jpeg::camera(samples::camera(ByteOrder::Intel, t)).bytes(); }

// IPTC date and time, and the digital creation date and time, of `t`.
Bytes iptcOf(const std::string &t, size_t padTo = 1)
{
    const std::string ymd = t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2);
    const std::string hms = t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2);
    jpegtest::IptcBlock i;
    i.dataset(2, 55, ymd).dataset(2, 60, hms + "+0000").dataset(2, 62, ymd).dataset(2, 63, hms);
    Bytes iim = i.iim();
    iim.resize((iim.size() + padTo - 1) / padTo * padTo, 0);
    return iim;
}

} // namespace

using Build = std::function<Bytes(const std::string &)>;
Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(Bytes)

class TestTiffFormat : public QObject {
    Q_OBJECT
private slots:
    void sniff_data();
    void sniff();
    void kind_data();
    void kind();
    void copies_data();
    void copies();
    void noUsableDate_data();
    void noUsableDate();
    void damaged_data();
    void damaged();
    void everyCutStaysInside();
    void readsLittleOfALargeFile_data();
    void readsLittleOfALargeFile();
    void blockInsideAFile();
    void exiftoolReadsTheShiftedCopies();
};

void TestTiffFormat::sniff_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("claimedBy");
    for (const char *mark : {"II*\0", "MM\0*", "II+\0", "MM\0+", "IIU\0", "IIRO", "IIRS", "MMOR"})
        QTest::newRow(qPrintable(QByteArray(mark, 4).toHex())) << QByteArray(mark, 4) << "TIFF";
    QTest::newRow("three bytes of a TIFF") << QByteArray("II*", 3) << "";
    QTest::newRow("BigTIFF's number in the other order") << QByteArray("II\0+", 4) << "";
    QTest::newRow("Olympus's mark in the other order") << QByteArray("MMRO", 4) << "";
    QTest::newRow("a JPEG named .nef is the JPEG format's") << QByteArray("\xFF\xD8\xFF\xE1", 4) << "JPEG";
}

void TestTiffFormat::sniff()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, claimedBy);
    const FileFormat *f = FormatList::forContent(reinterpret_cast<const unsigned char *>(head.constData()),
                                                 size_t(head.size()));
    QCOMPARE(f ? QString(f->name()) : QString(), claimedBy);
}

void TestTiffFormat::kind_data()
{
    QTest::addColumn<QByteArray>("extension");
    QTest::addColumn<bool>("picture");
    for (const char *e : {"tif", "TIF", "tiff", "Tiff"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"nef", "CR2", "dng", "iiq", "ti", "tifff"})
        QTest::newRow(e) << QByteArray(e) << false;
}

void TestTiffFormat::kind()
{
    QFETCH(QByteArray, extension);
    QFETCH(bool, picture);
    QCOMPARE(TiffFormat().kind(extension.constData(), size_t(extension.size())),
             picture ? FileKind::Tiff : FileKind::Raw);
}

void TestTiffFormat::copies_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("digests");

    const std::vector<std::pair<const char *, Header>> headers = {
        {"TIFF, Intel", Header::Intel}, {"TIFF, Motorola", Header::Motorola},
        {"BigTIFF, Intel", Header::BigIntel}, {"BigTIFF, Motorola", Header::BigMotorola},
        {"Panasonic IIU", Header::Panasonic}, {"Olympus IIRO", Header::OlympusRO},
        {"Olympus IIRS", Header::OlympusRS}, {"Olympus MMOR", Header::OlympusMM}};
    for (const auto &h : headers) {
        const Header header = h.second;
        QTest::newRow(h.first) << Build([header](const std::string &t) { return samples::cameraTiff(header, t); })
                               << 3 << 0;
    }
    QTest::newRow("every copy a RAW holds, BigTIFF") << Build([](const std::string &t) {
        return samples::richTiff(t, Header::BigIntel);
    }) << 3 + 1 + 2 + 2 + 3 << 1;

    QTest::newRow("NEF-like: DateTimeOriginal in IFD0, none in EXIF") << Build([](const std::string &t) {
        Tiff f(Header::Motorola);
        const int exif = f.addDirectory();
        f.ascii(0, tag::Make, "NIKON").ascii(0, tag::DateTime, t).ascii(0, tag::DateTimeOriginal, t)
            .subDirectory(0, tag::ExifIfd, exif).ascii(exif, tag::DateTimeDigitized, t).image(0, 64);
        return f.bytes();
    }) << 3 << 0;
    QTest::newRow("the EXIF directory's time wins over IFD0's") << Build([](const std::string &t) {
        Tiff f;
        const int exif = f.addDirectory();
        f.ascii(0, tag::DateTimeOriginal, kEdited).ascii(0, tag::DateTime, kEdited)
            .subDirectory(0, tag::ExifIfd, exif).ascii(exif, tag::DateTimeOriginal, t);
        return f.bytes();
    }) << 1 << 0;
    QTest::newRow("Panasonic: a second EXIF directory, JPEG from the raw") << Build([](const std::string &t) {
        Tiff f(Header::Panasonic);
        const int exif = f.addDirectory(), ifd1 = f.addDirectory(), second = f.addDirectory();
        f.subDirectory(0, tag::ExifIfd, exif).bytes(0, tag::PanasonicJpeg, previewJpeg(t)).next(0, ifd1)
            .ascii(exif, tag::DateTimeOriginal, t).subDirectory(ifd1, tag::ExifIfd, second)
            .ascii(second, tag::DateTimeOriginal, t).ascii(second, tag::DateTimeDigitized, t);
        return f.bytes();
    }) << 3 + 3 << 0;
    QTest::newRow("ARW-like: IFD1 with its own DateTime and a plain thumbnail") << Build([](const std::string &t) {
        Tiff f;
        const int exif = f.addDirectory(), ifd1 = f.addDirectory();
        f.ascii(0, tag::DateTime, t).subDirectory(0, tag::ExifIfd, exif).next(0, ifd1)
            .ascii(exif, tag::DateTimeOriginal, t).ascii(ifd1, tag::DateTime, t)
            .jpeg(ifd1, Jpeg().soi().dqt().sof(8, 8).sos().scanData(32).eoi().bytes());
        return f.bytes();
    }) << 3 << 0;
    QTest::newRow("multi-page TIFF, a DateTime on each page, a later edit's left") << Build([](const std::string &t) {
        Tiff f(Header::Motorola);
        const int exif = f.addDirectory(), p2 = f.addDirectory(), p3 = f.addDirectory();
        f.ascii(0, tag::DateTime, t).subDirectory(0, tag::ExifIfd, exif).image(0, 100).next(0, p2)
            .ascii(exif, tag::DateTimeOriginal, t).ascii(p2, tag::DateTime, t).image(p2, 100).next(p2, p3)
            .ascii(p3, tag::DateTime, kEdited).image(p3, 100);
        return f.bytes();
    }) << 3 << 0;
    QTest::newRow("DNG-like: IFD0 preview strip with EXIF; a raw SubIFD; another time's preview")
        << Build([](const std::string &t) {
               Tiff f;
               const int exif = f.addDirectory(), raw = f.addDirectory(), other = f.addDirectory();
               f.ascii(0, tag::DateTime, t).jpegStrip(0, previewJpeg(t)).subIfds(0, {raw, other})
                   .subDirectory(0, tag::ExifIfd, exif).ascii(exif, tag::DateTimeOriginal, t)
                   .image(raw, 256, 7).jpegStrip(other, previewJpeg(kEdited));
               return f.bytes();
           }) << 2 + 3 << 0;
    QTest::newRow("IIQ-like: the maker note's text copies; its UTC time and binary stay")
        << Build([](const std::string &t) {
               const Bytes note = text("IIII\x01" + t + std::string(1, '\0') + kEdited + "Z" + t + "\x20\x08\x03\x16");
               Tiff f(Header::Motorola);
               const int exif = f.addDirectory();
               f.subDirectory(0, tag::ExifIfd, exif).ascii(exif, tag::DateTimeOriginal, t)
                   .bytes(exif, tag::MakerNote, note);
               return f.bytes();
           }) << 1 + 2 << 0;
    auto iptc = [](size_t padTo, const std::string &digest) {
        return Build([padTo, digest](const std::string &t) {
            const Bytes iim = iptcOf(t, padTo);
            Bytes sum = digest == "bare" ? md5Of(iptcOf(t)) : digest == "stale" ? Bytes(16, 0xAB) : md5Of(iim);
            Tiff f;
            const int exif = f.addDirectory();
            f.ascii(0, tag::DateTime, t).bytes(0, tag::Iptc, iim)
                .bytes(0, tag::ImageResources, tifftest::digestResource(sum)).subDirectory(0, tag::ExifIfd, exif)
                .ascii(exif, tag::DateTimeOriginal, t);
            return f.bytes();
        });
    };
    QTest::newRow("IPTC with its digest over the data as stored") << iptc(4, "stored") << 2 + 4 << 1;
    QTest::newRow("IPTC with its digest over the data without its padding") << iptc(4, "bare") << 2 + 4 << 1;
    QTest::newRow("IPTC whose digest did not match: left alone") << iptc(1, "stale") << 2 + 4 << 0;
    QTest::newRow("IPTC inside the image resources, XMP as UNDEFINED") << Build([](const std::string &t) {
        jpegtest::IptcBlock i;
        i.dataset(2, 55, t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2))
            .dataset(2, 60, t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2));
        i.digest(md5Of(i.iim()));
        jpegtest::XmpPacket x;
        x.attribute("xmp:CreateDate", samples::iso(t));
        Tiff f;
        f.ascii(0, tag::DateTimeOriginal, t).bytes(0, tag::ImageResources, i.resources())
            .bytes(0, tag::Xmp, text(x.text()));
        return f.bytes();
    }) << 1 + 2 + 1 << 1;
    QTest::newRow("two entries sharing one value: one field") << Build([](const std::string &t) {
        Tiff f;
        const int exif = f.addDirectory(), shared = f.addData(text(t + std::string(1, '\0')));
        f.subDirectory(0, tag::ExifIfd, exif).atData(0, tag::DateTime, format::Ascii, 20, shared)
            .ascii(exif, tag::DateTimeOriginal, t).atData(exif, tag::DateTimeDigitized, format::Ascii, 20, shared);
        return f.bytes();
    }) << 2 << 0;
    QTest::newRow("IFD0 after the image data") << Build([](const std::string &t) {
        Tiff f(Header::BigMotorola);
        f.dataFirst().ascii(0, tag::DateTimeOriginal, t).image(0, 5000).jpeg(0, previewJpeg(t));
        return f.bytes();
    }) << 1 + 3 << 0;
}

void TestTiffFormat::copies()
{
    QFETCH(Build, build);
    QFETCH(int, fields);
    QFETCH(int, digests);
    const Bytes original = build(kOriginal), expected = build(kShifted);
    QCOMPARE(original.size(), expected.size());

    bool ok = false;
    const FoundDates found = locate(original, &ok);
    QVERIFY(ok && found.hasMetadata);
    QCOMPARE(found.captureText, kOriginal);
    QCOMPARE(int(found.fields.size()), fields);
    QCOMPARE(int(found.derived.size()), digests);
    QVERIFY(sound(original, found));
    QCOMPARE(std::count_if(found.fields.begin(), found.fields.end(),
                           [](const DateField &f) { return f.role == DateRole::Capture; }),
             ptrdiff_t(1));
    QVERIFY2(shifted(original, found, kSeconds) == expected, "the moved fields do not give the shifted file");
}

void TestTiffFormat::noUsableDate_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<QString>("captureText");
    Tiff onlyModified;
    onlyModified.ascii(0, tag::Make, "Scanner").ascii(0, tag::DateTime, kOriginal).image(0, 64);
    QTest::newRow("a scan with only DateTime") << onlyModified.bytes() << "";
    Tiff blank;
    blank.ascii(0, tag::DateTime, kOriginal).ascii(0, tag::DateTimeOriginal, "    :  :     :  :  ");
    QTest::newRow("a blank DateTimeOriginal") << blank.bytes() << "    :  :     :  :  ";
    Tiff zeros(Header::Motorola);
    const int exif = zeros.addDirectory();
    zeros.subDirectory(0, tag::ExifIfd, exif).ascii(exif, tag::DateTimeOriginal, "0000:00:00 00:00:00");
    QTest::newRow("DateTimeOriginal of zeros") << zeros.bytes() << "0000:00:00 00:00:00";
    Tiff elsewhere;
    const int ifd1 = elsewhere.addDirectory();
    elsewhere.next(0, ifd1).ascii(ifd1, tag::DateTimeOriginal, kOriginal);
    QTest::newRow("DateTimeOriginal in IFD1 only") << elsewhere.bytes() << "";
}

void TestTiffFormat::noUsableDate()
{
    QFETCH(Bytes, file);
    bool ok = false;
    const FoundDates found = locate(file, &ok);
    QVERIFY(ok && found.hasMetadata);
    QTEST(QString::fromStdString(found.captureText), "captureText");
    QVERIFY(found.fields.empty());
}

void TestTiffFormat::damaged_data()
{
    QTest::addColumn<Bytes>("file");
    const std::string t = kOriginal;
    auto camera = [&t](std::function<void(Tiff &, int exif)> harm, Header h = Header::Intel) {
        Tiff f(h);
        const int exif = f.addDirectory();
        f.ascii(0, tag::DateTime, t).subDirectory(0, tag::ExifIfd, exif).ascii(exif, tag::DateTimeOriginal, t);
        harm(f, exif);
        return f.bytes();
    };
    QTest::newRow("IFD1 links back to IFD0") << camera([](Tiff &f, int) {
        const int ifd1 = f.addDirectory();
        f.next(0, ifd1).next(ifd1, 0);
    });
    QTest::newRow("the EXIF directory links to itself") << camera([](Tiff &f, int exif) {
        f.subDirectory(exif, tag::InteropIfd, exif);
    });
    QTest::newRow("a directory past the end") << camera([](Tiff &f, int) { f.nextRaw(0, 0x7FFFFFF0); });
    QTest::newRow("a date's value past the end") << camera([](Tiff &f, int exif) {
        f.rawEntry(exif, tag::DateTimeDigitized, format::Ascii, 20, 0xFFFFFF00u);
    });
    QTest::newRow("SubIFDs listed past the end") << camera([](Tiff &f, int) {
        f.rawEntry(0, tag::SubIfds, format::Long, 4, 0xFFFFFF00u);
    });
    QTest::newRow("an entry count larger than the file") << camera([](Tiff &f, int) {
        f.nextData(0, f.addData({0xFF, 0x7F, 0, 0}));
    });
    QTest::newRow("a BigTIFF count of 2^40") << camera([](Tiff &f, int exif) {
        f.rawEntry(exif, tag::DateTimeDigitized, format::Ascii, uint64_t(1) << 40, 16);
    }, Header::BigIntel);
    QTest::newRow("a directory inside another") << camera([](Tiff &f, int) {
        f.rawEntry(0, tag::InteropIfd, format::Long, 1, 8 + 2 + 12);
    });
    QTest::newRow("more directories than the limit") << camera([](Tiff &f, int) {
        int last = 0;
        for (int i = 0; i < 300; ++i) {
            const int page = f.addDirectory();
            f.next(last, page);
            last = page;
        }
    });
    const Bytes whole = camera([](Tiff &f, int exif) { f.ascii(exif, tag::DateTimeDigitized, kOriginal); });
    QTest::newRow("cut inside the EXIF values") << Bytes(whole.begin(), whole.end() - 10);
    QTest::newRow("IFD0 past the end") << camera([](Tiff &f, int) { f.headerOffset(0x10000); });
    QTest::newRow("IFD0 inside the header") << camera([](Tiff &f, int) { f.headerOffset(4); });
    Bytes wide = camera([](Tiff &, int) {}, Header::BigMotorola);
    wide[5] = 4;
    QTest::newRow("BigTIFF with 4-byte offsets") << wide;
}

void TestTiffFormat::damaged()
{
    QFETCH(Bytes, file);
    bool ok = true;
    const FoundDates found = locate(file, &ok);
    QVERIFY(!ok);
    QVERIFY(!found.hasMetadata);
    QVERIFY(found.fields.empty() && found.derived.empty());
    QVERIFY(found.headerEnd <= file.size());
}

void TestTiffFormat::everyCutStaysInside()
{
    // A file cut anywhere gives fields that lie in what is left and spell the
    // capture time, or none.
    const Bytes whole = samples::richTiff(kOriginal, Header::BigMotorola);
    for (size_t n = 0; n <= whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + ptrdiff_t(n));
        const FoundDates found = locate(cut);
        QVERIFY2(sound(cut, found), qPrintable(QString("cut at %1").arg(n)));
        QVERIFY(found.fields.empty() || found.captureText == kOriginal);
    }
}

namespace {

// Counts the reads that reach the file; holds no bytes of its own to peek at.
class CountingSource : public ByteSource {
public:
    explicit CountingSource(const Bytes &bytes) : inner(bytes) {}
    uint64_t size() const override { return inner.size(); }
    bool readAt(uint64_t offset, void *to, size_t n) override
    {
        ++reads;
        bytes += n;
        return inner.readAt(offset, to, n);
    }
    int reads = 0;
    uint64_t bytes = 0;

private:
    MemorySource inner;
};

} // namespace

void TestTiffFormat::readsLittleOfALargeFile_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<int>("fields");
    constexpr uint64_t kLarge = 50 * 1024 * 1024;
    QTest::newRow("directories first") << Build([](const std::string &t) {
        Tiff f(Header::Motorola);
        const int exif = f.addDirectory();
        f.ascii(0, tag::DateTime, t).subDirectory(0, tag::ExifIfd, exif).image(0, kLarge)
            .ascii(exif, tag::DateTimeOriginal, t);
        return f.bytes();
    }) << 2;
    QTest::newRow("directories after the data, a preview between") << Build([](const std::string &t) {
        Tiff f(Header::BigIntel);
        const int exif = f.addDirectory(), raw = f.addDirectory(), preview = f.addDirectory();
        f.dataFirst().image(raw, kLarge / 2).jpegStrip(preview, previewJpeg(t)).image(0, kLarge / 2)
            .ascii(0, tag::DateTime, t).subDirectory(0, tag::ExifIfd, exif).subIfds(0, {raw, preview})
            .ascii(exif, tag::DateTimeOriginal, t);
        return f.bytes();
    }) << 2 + 3;
}

void TestTiffFormat::readsLittleOfALargeFile()
{
    QFETCH(Build, build);
    QFETCH(int, fields);
    const Bytes file = build(kOriginal);
    CountingSource source(file);
    FoundDates found;
    QVERIFY(TiffFormat().locate(source, &found));
    QCOMPARE(int(found.fields.size()), fields);
    qInfo("%d reads, %llu bytes of %zu", source.reads, static_cast<unsigned long long>(source.bytes), file.size());
    QVERIFY2(source.reads <= 10, qPrintable(QString("%1 reads").arg(source.reads)));
    QVERIFY2(source.bytes <= 64 * 1024, qPrintable(QString("%1 bytes read").arg(source.bytes)));
}

void TestTiffFormat::blockInsideAFile()
{
    // A structure 1000 bytes into a file: the offsets found are the file's,
    // and nothing past the structure's end is taken for its own.
    const Bytes tiff = samples::cameraTiff(Header::Motorola, kOriginal);
    Bytes file(1000 + tiff.size() + 500, 'y');
    std::fill_n(file.begin(), 1000, 'x');
    std::copy(tiff.begin(), tiff.end(), file.begin() + 1000);
    MemorySource source(file);
    FoundDates found;
    QVERIFY(TiffFormat::locateBlock(source, 1000, tiff.size(), &found));
    QCOMPARE(found.fields.size(), size_t(3));
    QVERIFY(sound(file, found));
    QVERIFY(found.fields.front().offset > 1000 && found.headerEnd <= 1000 + tiff.size());

    QVERIFY(!TiffFormat::locateBlock(source, 1000, tiff.size() - 600 - 5, &found));   // its EXIF values cut off
    QVERIFY(!found.hasMetadata && found.fields.empty());
    QVERIFY(!TiffFormat::locateBlock(source, file.size() + 10, 100, &found));
}

namespace {

// exiftool's view of a file's dates and IPTC digests: "[Group] Tag" -> value.
QMap<QString, QString> exiftoolDates(const QString &exiftool, const QString &path)
{
    QProcess p;
    p.start(exiftool, {"-a", "-G1", "-s", "-time:all", "-IPTCDigest", "-CurrentIPTCDigest", "-warning", path});
    p.waitForFinished(30000);
    QMap<QString, QString> out;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && !line.startsWith("[System]"))
            out.insert(line.left(colon).simplified(), line.mid(colon + 1).trimmed());
    }
    return out;
}

} // namespace

void TestTiffFormat::exiftoolReadsTheShiftedCopies()
{
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        QSKIP("exiftool is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("raw.tif");
    const Bytes original = samples::richTiff(kOriginal, Header::Intel);
    QVERIFY(jpegtest::writeFile(path.toStdString(), original));
    const QMap<QString, QString> before = exiftoolDates(exiftool, path);
    QCOMPARE(before.value("[ExifIFD] DateTimeOriginal"), QString::fromStdString(kOriginal));

    QVERIFY(jpegtest::writeFile(path.toStdString(), shifted(original, locate(original), kSeconds)));
    const QMap<QString, QString> after = exiftoolDates(exiftool, path);
    QCOMPARE(after.keys(), before.keys());   // no tag lost, no warning added
    for (const char *key : {"[IFD0] ModifyDate", "[ExifIFD] DateTimeOriginal", "[ExifIFD] CreateDate"})
        QCOMPARE(after.value(key), QString::fromStdString(kShifted));
    QCOMPARE(after.value("[XMP-xmp] CreateDate"), QString::fromStdString(kShifted) + "+01:00");
    QCOMPARE(after.value("[IPTC] DateCreated"), QString::fromStdString(kShifted.substr(0, 10)));
    QCOMPARE(after.value("[Photoshop] IPTCDigest"), after.value("[File] CurrentIPTCDigest"));
    QVERIFY(after.value("[Photoshop] IPTCDigest") != before.value("[Photoshop] IPTCDigest"));
}

QTEST_APPLESS_MAIN(TestTiffFormat)
#include "tst_tiffformat.moc"
