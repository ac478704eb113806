// The JPEG section reader and the EXIF decoder, fed with generated files.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>
#include <unistd.h>

#include "exifreader.h"
#include "jpegbuilder.h"

using namespace jpegtest;
using Build = std::function<Jpeg()>;
using Edit = std::function<void(ExifBlock &)>;
Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(Edit)

namespace {

struct Outcome {
    bool ok = false;
    ExifInfo info{};          // thumbnailData cleared: it dies with the reader
    QByteArray error, printed, thumbnail;
    int sections = 0;
    long endOffset = 0;
};

// Reads the bytes with a fresh reader, capturing what it prints.
Outcome read(const Bytes &bytes)
{
    Outcome o;
    std::memset(&o.info, 0, sizeof o.info);
    FILE *in = openMemory(bytes), *capture = tmpfile();
    fflush(stdout);
    const int savedStdout = dup(1);
    dup2(fileno(capture), 1);
    {
        ExifReader reader(&o.info);
        o.ok = reader.readJpeg(in);
        o.endOffset = ftell(in);
        o.error = reader.errorText;
        o.sections = reader.sectionCount;
        if (o.info.thumbnailData)
            o.thumbnail = QByteArray(reinterpret_cast<const char *>(o.info.thumbnailData), o.info.thumbnailLength);
        o.info.thumbnailData = nullptr;
    }
    fflush(stdout);
    dup2(savedStdout, 1);
    close(savedStdout);
    char text[256] = {};
    rewind(capture);
    o.printed = QByteArray(text, int(fread(text, 1, sizeof text - 1, capture))).trimmed();
    fclose(capture);
    fclose(in);
    return o;
}

Outcome decode(const ExifBlock &exif) { return read(Jpeg::camera(exif).bytes()); }
Bytes text(const char *s, size_t n) { return Bytes(s, s + n); }

double field(const ExifInfo &i, const QByteArray &name)
{
    const QMap<QByteArray, double> all = {
        {"isoSpeed", i.isoSpeed}, {"exposureSeconds", i.exposureSeconds}, {"apertureNumber", i.apertureNumber},
        {"resolutionUnitInches", i.resolutionUnitInches}, {"flashFired", i.flashFired},
        {"horizontalResolution", i.horizontalResolution}, {"focalLengthMm", i.focalLengthMm},
        {"compressionBits", i.compressionBits},
        {"subjectDistance", i.subjectDistance}};
    return all.value(name, -12345);
}

} // namespace

class TestExifReader : public QObject {
    Q_OBJECT
private slots:
    void sections_data();
    void sections();
    void comment_data();
    void comment();
    void stopsAfterScanHeader();
    void byteOrdersAgree();
    void blockChecks_data();
    void blockChecks();
    void twoExifSegments_data();
    void twoExifSegments();
    void values_data();
    void values();
    void texts_data();
    void texts();
    void thumbnail();
    void exiftoolAgrees();
};

void TestExifReader::sections_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("error");
    QTest::addColumn<QByteArray>("printed");
    QTest::addColumn<int>("sections");
    auto row = [](const char *name, Build b, bool ok, const char *error, const char *printed, int sections) {
        QTest::newRow(name) << b << ok << QByteArray(error) << QByteArray(printed) << sections;
    };
    auto many = [](int n, uint8_t marker) {
        Jpeg j;
        j.soi();
        for (int i = 0; i < n; ++i)
            j.segment(marker, {1, 2, 3});
        return j.sos();
    };
    row("not a JPEG", [] { return Jpeg().raw({0xFF, 0xD9}).sos(); }, false, "", "", 0);
    row("six 0xFF before a code", [] { return Jpeg().soi().raw(Bytes(5, 0xFF)).sos(); }, true, "", "", 1);
    row("seven 0xFF", [] { return Jpeg().soi().raw(Bytes(6, 0xFF)).sos(); }, false, "", "too many padding unsigned chars", 0);
    row("25 APP0 dropped", [=] { return many(25, 0xE0); }, true, "", "", 1);
    row("19 held, then scan", [=] { return many(19, 0xDB); }, true, "", "", 20);
    row("20 held, then scan", [=] { return many(20, 0xDB); }, false, "Too many sections in jpg file", "", 20);
    row("second comment dropped", [] { return Jpeg().soi().comment("a").comment("b").sos(); }, true, "", "", 2);
    row("XMP APP1 dropped", [] { return Jpeg().soi().segment(0xE1, text("http:", 5)).sos(); }, true, "", "", 1);
    row("APP1 'Exif' alone held", [] { return Jpeg().soi().segment(0xE1, text("Exif", 4)).sos(); }, true,
        "Incorrect Exif header", "", 2);
    row("end of image first", [] { return Jpeg().soi().dqt().segment(0xD9, {}).sos(); }, false, "", "No image in jpeg!", 2);
    row("ends after frame", [] { return Jpeg().soi().sof(480, 640); }, false, "invalid marker", "", 1);
    row("length 1", [] { return Jpeg().soi().raw({0xFF, 0xDB, 0, 1}); }, false, "invalid marker", "", 0);
    row("cut payload", [] { return Jpeg().soi().raw({0xFF, 0xDB, 0, 9, 1}); }, false, "Premature end of file?", "", 0);
}

void TestExifReader::sections()
{
    QFETCH(Build, build);
    const Outcome o = read(build().bytes());
    QTEST(o.ok, "ok");
    QTEST(o.error, "error");
    QTEST(o.printed, "printed");
    QTEST(o.sections, "sections");
}

void TestExifReader::comment_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QByteArray>("expected");
    auto com = [](const Bytes &payload) { return Build([=] { return Jpeg().soi().segment(0xFE, payload).sos(); }); };
    QTest::newRow("CR LF, lone CR, NUL") << com(text("x\r\ny\rz", 7)) << QByteArray("x\ny?z?");
    QTest::newRow("tab, high bytes, control") << com({'\t', 0x7F, 0xE9, 0x01}) << QByteArray("\t\x7f\xe9?");
    QTest::newRow("CR at the very end") << com(text("a\r", 2)) << QByteArray("a?");
    QTest::newRow("1500 bytes cut at 998") << com(Bytes(1498, 'c')) << QByteArray(998, 'c');
    QTest::newRow("lost to a later EXIF block")
        << Build([] { return Jpeg().soi().comment("gone").app1(ExifBlock()).sos(); }) << QByteArray();
}

void TestExifReader::comment()
{
    QFETCH(Build, build);
    QTEST(QByteArray(read(build().bytes()).info.commentText), "expected");
}

void TestExifReader::stopsAfterScanHeader()
{
    // The caller relies on the stream standing right after the scan header.
    const Jpeg j = Jpeg::camera(ExifBlock(), 4096);
    const Outcome o = read(j.bytes());
    QVERIFY(o.ok);
    QCOMPARE(size_t(o.endOffset), j.bytes().size() - 4096 - 2);
    QCOMPARE(o.info.imageWidth * 10000 + o.info.imageHeight, 6400480);
    QCOMPARE(o.info.colourImage, 1);
    QCOMPARE(o.info.frameMarker, 0xC0);
    const Outcome grey = read(Jpeg().soi().sof(2, 3, 1, 0xC2).sos().bytes());
    QCOMPARE(grey.info.colourImage, 0);
    QCOMPARE(grey.info.imageWidth, 3);
    // A frame segment too short for its fields sets nothing.
    const Outcome shortFrame = read(Jpeg().soi().segment(0xC0, {8, 1, 2, 3}).sos().bytes());
    QVERIFY(shortFrame.ok);
    QCOMPARE(shortFrame.info.imageHeight + shortFrame.info.frameMarker, 0);
}

void TestExifReader::byteOrdersAgree()
{
    Outcome o[2];
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        ExifBlock e(order);
        const int sub = e.addDirectory(), interop = e.addDirectory(), ifd1 = e.addDirectory();
        e.ascii(0, tag::Make, "Maker").ascii(0, tag::Model, "Model X").shortValue(0, tag::Orientation, 6)
            .rational(0, tag::XResolution, 72, 1).subDirectory(0, tag::ExifIfd, sub).next(0, ifd1)
            .ascii(sub, tag::DateTimeOriginal, "2012:05:06 10:00:01")
            .rational(sub, tag::ExposureBiasValue, -2, 3, format::SRational)
            .value(sub, tag::ExifVersion, format::Undefined, 4, text("0230", 4))
            .longValue(sub, tag::PixelXDimension, 4000).shortValue(sub, tag::PixelYDimension, 3000)
            .rational(sub, tag::FocalPlaneXResolution, 4000, 10).shortValue(sub, tag::FocalPlaneResolutionUnit, 4)
            .value(sub, tag::FocalLength, format::Double, 1, order == ByteOrder::Intel
                   ? Bytes{0, 0, 0, 0, 0, 0, 0x12, 0x40} : Bytes{0x40, 0x12, 0, 0, 0, 0, 0, 0})
            .value(sub, tag::SubjectDistance, format::Float, 1, e.u32(0x40200000))
            .subDirectory(sub, tag::InteropIfd, interop).shortValue(interop, tag::Flash, 0x19)
            .longValue(ifd1, tag::ThumbnailOffset, 8).longValue(ifd1, tag::ThumbnailLength, 4);
        o[order == ByteOrder::Motorola] = decode(e);
    }
    QVERIFY(o[0].ok && o[0].info.hasExif);
    QCOMPARE(QByteArray(o[0].info.originalDateText), QByteArray("2012:05:06 10:00:01"));
    QCOMPARE(QByteArray(o[0].info.exifVersion), QByteArray("0230"));
    QCOMPARE(o[0].info.focalLengthMm, 4.5f);
    QCOMPARE(o[0].info.subjectDistance, 2.5f);
    QCOMPARE(o[0].info.sensorWidth, 4000 * float(1 / 25.4) / 400.0f);
    QCOMPARE(o[0].info.flashFired, 1);
    QCOMPARE(o[0].thumbnail.size() + o[1].thumbnail.size(), 8);
    QCOMPARE(std::memcmp(&o[0].info, &o[1].info, sizeof(ExifInfo)), 0);
}

void TestExifReader::blockChecks_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("hasExif");
    QTest::addColumn<QByteArray>("error");
    QTest::addColumn<QByteArray>("date");
    auto row = [](const QString &name, Edit edit, bool hasExif, const char *error, bool date) {
        QTest::newRow(qPrintable(name)) << edit << hasExif << QByteArray(error)
                                        << QByteArray(date ? "2001:02:03 04:05:06" : "");
    };
    auto header = [](uint32_t offset) { return Edit([=](ExifBlock &e) { e.headerOffset(offset); }); };
    // Every row's IFD0 holds the date first; the plain block is 46 bytes long.
    row("IFD0 at 8", [](ExifBlock &) {}, true, "", true);
    for (uint32_t at : {16u, 17u, 138u, 22496u})
        row(QString("IFD0 at %1").arg(at), [=](ExifBlock &e) { e.firstDirectoryAt(at); }, true, "", true);
    const char *suspicious = "Suspicious offset of first IFD value";
    row("offset 7", header(7), false, suspicious, false);
    row("count cut off", header(45), false, suspicious, false);
    row("offset at block end", header(46), false, suspicious, false);
    row("offset near 2^32", header(0xFFFFFFFFu), false, suspicious, false);
    row("bad mark", [](ExifBlock &e) { e.mark("IM"); }, false, "Invalid Exif alignment marker.", false);
    row("not 42", [](ExifBlock &e) { e.magic(43); }, false, "Invalid Exif start (1)", false);
    row("format 13", [](ExifBlock &e) { e.rawEntry(0, tag::Make, 13, 1, 0); }, false, "Illegal format code in EXIF dir", true);
    row("value ends at block end", [](ExifBlock &e) { e.rawEntry(0, tag::Model, 2, 20, 38); }, true, "", true);
    row("value one byte further", [](ExifBlock &e) { e.rawEntry(0, tag::Model, 2, 20, 39); }, false,
        "Illegal pointer offset value in EXIF.", true);
    row("size x count past 2^32", [](ExifBlock &e) { e.rawEntry(0, tag::Model, 5, 0x20000001u, 8); }, false,
        "Illegal pointer offset value in EXIF.", true);
    row("directory too long", header(44), false, "Illegally sized directory", false);
    row("link field cut off", [](ExifBlock &e) {
        e.value(0, 0x9999, format::Undefined, 6, {1, 2, 3, 4, 0, 0}).headerOffset(62);
    }, true, "", false);
    row("next link past end", [](ExifBlock &e) { e.nextRaw(0, 45); }, false, "Illegal subdirectory link", true);
    row("orientation 9", [](ExifBlock &e) { e.shortValue(0, tag::Orientation, 9); }, true, "Undefined rotation value", true);
    row("broken sub-directory", [](ExifBlock &e) {
        e.subDirectory(0, tag::ExifIfd, e.addDirectory()).rawEntry(1, tag::Make, 13, 1, 0);
    }, true, "Illegal format code in EXIF dir", true);
    row("date in GPS directory only", [](ExifBlock &e) {
        ExifBlock g(e.order());
        e = g.subDirectory(0, tag::GpsIfd, g.addDirectory()).ascii(1, tag::DateTimeOriginal, "2001:02:03 04:05:06");
    }, true, "", false);
    // Links that loop or nest without end are cut off; what was decoded stands.
    row("next link to itself", [](ExifBlock &e) { e.next(0, 0); }, true, "Illegal subdirectory link", true);
    row("sub-directory cycle", [](ExifBlock &e) {
        const int a = e.addDirectory(), b = e.addDirectory();
        e.subDirectory(0, tag::ExifIfd, a).subDirectory(a, tag::InteropIfd, b).subDirectory(b, tag::ExifIfd, a).next(b, 0);
    }, true, "Illegal subdirectory link", true);
    row("deep chain", [](ExifBlock &e) {
        for (int d = 0; d < 100; ++d)
            e.next(d, e.addDirectory());
        e.shortValue(99, tag::Orientation, 3);
    }, true, "Illegal subdirectory link", true);
}

void TestExifReader::blockChecks()
{
    QFETCH(Edit, edit);
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        ExifBlock e(order);
        e.ascii(0, tag::DateTimeOriginal, "2001:02:03 04:05:06");
        edit(e);
        const Outcome o = decode(e);
        QVERIFY(o.ok);
        QTEST(o.info.hasExif, "hasExif");
        QTEST(o.error, "error");
        QTEST(QByteArray(o.info.originalDateText), "date");
        QCOMPARE(o.info.orientationCode, 0);   // nothing past the depth limit
    }
}

// Pictures with two EXIF segments: the first one that decodes gives the
// values; a later one, good or damaged, changes nothing.
void TestExifReader::twoExifSegments_data()
{
    QTest::addColumn<QByteArray>("first");    // the DateTimeOriginal of each segment; "bad": malformed
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("hasExif");
    QTest::addColumn<QByteArray>("date");
    QTest::newRow("good, then malformed") << QByteArray("2001:02:03 04:05:06") << QByteArray("bad") << true
                                          << QByteArray("2001:02:03 04:05:06");
    QTest::newRow("malformed, then good") << QByteArray("bad") << QByteArray("2001:02:03 04:05:06") << true
                                          << QByteArray("2001:02:03 04:05:06");
    QTest::newRow("good, then another good") << QByteArray("2001:02:03 04:05:06") << QByteArray("2009:09:09 09:09:09")
                                             << true << QByteArray("2001:02:03 04:05:06");
    QTest::newRow("good without date, then one with") << QByteArray() << QByteArray("2009:09:09 09:09:09") << true
                                                      << QByteArray();
    QTest::newRow("malformed, then good without date") << QByteArray("bad") << QByteArray() << true << QByteArray();
}

void TestExifReader::twoExifSegments()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        auto block = [order](const QByteArray &date) {
            ExifBlock e(order);
            if (date == "bad")
                // Fails after its date was read: an entry of no known format.
                e.ascii(0, tag::DateTimeOriginal, "1999:09:09 09:09:09").rawEntry(0, tag::Make, 13, 1, 0);
            else if (!date.isEmpty())
                e.ascii(0, tag::DateTimeOriginal, date.toStdString());
            else
                e.shortValue(0, tag::Orientation, 1);
            return e;
        };
        const Outcome o = read(Jpeg().soi().app1(block(first)).app1(block(second)).sof(8, 8).sos().eoi().bytes());
        QVERIFY(o.ok);
        QTEST(o.info.hasExif, "hasExif");
        QTEST(QByteArray(o.info.originalDateText), "date");
    }
}

void TestExifReader::values_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<double>("expected");
    auto row = [](const char *name, Edit edit, const char *field, double expected) {
        QTest::newRow(name) << edit << QByteArray(field) << expected;
    };
    auto shortTag = [](uint16_t t, uint16_t v) { return Edit([=](ExifBlock &e) { e.shortValue(0, t, v); }); };
    auto ratio = [](uint16_t t, int32_t n, int32_t d) { return Edit([=](ExifBlock &e) { e.rational(0, t, n, d); }); };
    auto raw = [](uint16_t t, uint16_t fmt, uint32_t v) {
        return Edit([=](ExifBlock &e) { e.value(0, t, fmt, 1, fmt == format::SByte ? Bytes{uint8_t(v)} : e.u32(v)); });
    };
    row("ISO 49", shortTag(tag::IsoSpeed, 49), "isoSpeed", 9800);
    row("ISO 50", shortTag(tag::IsoSpeed, 50), "isoSpeed", 50);
    row("ISO most negative", raw(tag::IsoSpeed, format::SLong, 0x80000000u), "isoSpeed", INT_MIN);
    row("shutter 8", ratio(tag::ShutterSpeedValue, 8, 1), "exposureSeconds", 1 / 256.0);
    row("exposure time wins", [](ExifBlock &e) {
        e.rational(0, tag::ExposureTime, 1, 50).rational(0, tag::ShutterSpeedValue, 8, 1);
    }, "exposureSeconds", double(0.02f));
    row("aperture 4", ratio(tag::ApertureValue, 4, 1), "apertureNumber", 4);
    row("max aperture 2", ratio(tag::MaxApertureValue, 2, 1), "apertureNumber", 2);
    row("unit 3", shortTag(tag::ResolutionUnit, 3), "resolutionUnitInches", double(float(1 / 2.54)));
    row("unit 7 ignored", shortTag(tag::ResolutionUnit, 7), "resolutionUnitInches", 0);
    row("flash 0x18", shortTag(tag::Flash, 0x18), "flashFired", 0);
    row("zero denominator", ratio(tag::XResolution, 72, 0), "horizontalResolution", 0);
    row("RATIONAL read signed", ratio(tag::FocalLength, -7, 2), "focalLengthMm", -3.5);
    row("SBYTE", raw(tag::CompressedBitsPerPixel, format::SByte, 0xFD), "compressionBits", -3);
    row("FLOAT too big for int", raw(tag::CompressedBitsPerPixel, format::Float, 0x7F000000u), "compressionBits", INT_MAX);
}

void TestExifReader::values()
{
    QFETCH(Edit, edit);
    QFETCH(QByteArray, field);
    QFETCH(double, expected);
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        ExifBlock e(order);
        edit(e);
        const Outcome o = decode(e);
        QVERIFY(o.info.hasExif);
        QCOMPARE(::field(o.info, field), expected);
    }
}

void TestExifReader::texts_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QByteArray>("date");
    QTest::addColumn<QByteArray>("comment");
    auto date = [](const Bytes &v) { return Edit([=](ExifBlock &e) { e.value(0, tag::DateTimeOriginal, format::Ascii, uint32_t(v.size()), v); }); };
    auto comment = [](const Bytes &v) { return Edit([=](ExifBlock &e) { e.value(0, tag::UserComment, format::Undefined, uint32_t(v.size()), v); }); };
    const QByteArray none;
    QTest::newRow("date cut at 19") << date(text("2001:02:03 04:05:06789", 22)) << QByteArray("2001:02:03 04:05:06") << none;
    QTest::newRow("date at block end, no NUL") << date(text("1999:12:31", 10)) << QByteArray("1999:12:31") << none;
    QTest::newRow("ASCII, NULs, spaces") << comment(text("ASCII\0\0\0Hello   ", 16)) << none << QByteArray("Hello");
    QTest::newRow("ASCII blank") << comment(text("ASCII\0\0\0  ", 10)) << none << none;
    QTest::newRow("ASCII at block end") << comment(text("ASCII ", 6)) << none << none;
    QTest::newRow("UNICODE code") << comment(text("UNICODE\0h\0i", 11)) << none << QByteArray("UNICODE");
    QTest::newRow("comment cut at 199") << comment(Bytes(300, 'u')) << none << QByteArray(199, 'u');
}

void TestExifReader::texts()
{
    QFETCH(Edit, edit);
    ExifBlock e(ByteOrder::Motorola);
    edit(e);
    // A long JPEG comment first: none of it may show behind a cut UserComment.
    const Outcome o = read(Jpeg().soi().comment(std::string(500, 'j')).app1(e).sos().bytes());
    QVERIFY(o.info.hasExif);
    QTEST(QByteArray(o.info.originalDateText), "date");
    QTEST(QByteArray(o.info.commentText), "comment");
}

void TestExifReader::thumbnail()
{
    ExifBlock e;
    const int ifd1 = e.addDirectory(), other = e.addDirectory();
    e.next(0, ifd1).longValue(ifd1, tag::ThumbnailOffset, 2).longValue(ifd1, tag::ThumbnailLength, 2)
        .next(ifd1, other).longValue(other, tag::ThumbnailOffset, 4).longValue(other, tag::ThumbnailLength, 4);
    QCOMPARE(decode(e).thumbnail, QByteArray("\x2a\x00", 2));   // its own values win over the linked ones
    ExifBlock lone, outside;
    lone.longValue(0, tag::ThumbnailOffset, 8);
    QCOMPARE(decode(lone).thumbnail, QByteArray());
    outside.longValue(0, tag::ThumbnailOffset, 8).longValue(0, tag::ThumbnailLength, 1000);
    QCOMPARE(decode(outside).thumbnail, QByteArray());
}

void TestExifReader::exiftoolAgrees()
{
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        QSKIP("exiftool is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    int n = 0;
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        for (uint32_t at : {8u, 138u, 2000u}) {
            ExifBlock e(order);
            const std::string date = "20" + std::to_string(10 + n) + ":07:0" + std::to_string(n + 1) + " 12:34:56";
            e.firstDirectoryAt(at).ascii(0, tag::Make, "Maker").subDirectory(0, tag::ExifIfd, e.addDirectory())
                .ascii(1, tag::DateTimeOriginal, date);
            const QString path = dir.filePath(QString("p%1.jpg").arg(n++));
            QVERIFY(writeFile(path.toStdString(), Jpeg::camera(e).bytes()));
            QProcess p;
            p.start(exiftool, {"-s3", "-DateTimeOriginal", path});
            QVERIFY(p.waitForFinished(30000));
            QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray(date.c_str()));
            QCOMPARE(QByteArray(read(readFile(path.toStdString())).info.originalDateText), QByteArray(date.c_str()));
        }
    }
}

QTEST_APPLESS_MAIN(TestExifReader)
#include "tst_exifreader.moc"
