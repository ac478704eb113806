// The per-picture steps: reading a capture date, and rewriting it in place.
#include "capturedate.h"
#include "isolatedhome.h"
#include "jpegbuilder.h"
#include "samplefiles.h"
#include "tiffbuilder.h"
#include "datereader.h"
#include "filerewrite.h"
#include "openedfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include <ctime>
#include <sys/stat.h>

using namespace jpegtest;
using Status = PictureStatus;

Q_DECLARE_METATYPE(jpegtest::Bytes)
Q_DECLARE_METATYPE(PictureStatus)

namespace {

struct Dates {
    std::string original = "2012:05:06 10:00:00";
    std::string dateTime = "2012:05:06 10:00:00";
    std::string digitized = "2012:05:06 10:00:00";
};

// A picture laid out like a camera's: IFD0 with Make and DateTime, an EXIF
// sub-directory with (optionally) a maker note before the two capture dates.
Bytes camera(ByteOrder order, const Dates &d = {}, size_t makerNote = 0, size_t scan = 256)
{
    ExifBlock exif(order);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::Make, "Camera").ascii(0, tag::DateTime, d.dateTime).subDirectory(0, tag::ExifIfd, sub);
    if (makerNote)
        exif.value(sub, tag::MakerNote, format::Undefined, uint32_t(makerNote), Bytes(makerNote, 0x4D));
    exif.ascii(sub, tag::DateTimeOriginal, d.original).ascii(sub, tag::DateTimeDigitized, d.digitized);
    return Jpeg::camera(exif, scan).bytes();
}

std::vector<size_t> find(const Bytes &bytes, const std::string &text)
{
    std::vector<size_t> at;
    for (size_t i = 0; i + text.size() <= bytes.size(); ++i)
        if (std::equal(text.begin(), text.end(), bytes.begin() + long(i)))
            at.push_back(i);
    return at;
}

// Every byte equal except the 19-byte runs at `runs`, which hold `text`.
void expectOnlyRuns(const Bytes &before, const Bytes &after, const std::vector<size_t> &runs,
                    const std::string &text)
{
    QCOMPARE(after.size(), before.size());
    Bytes expected = before;
    for (size_t at : runs)
        std::copy(text.begin(), text.end(), expected.begin() + long(at));
    QVERIFY(after == expected);
}

// A picture whose capture time `t` also stands in XMP (two values, one with a
// zone, one with a fraction) and in IPTC with its digest, behind an optional
// maker note; `staleDigest` gives it a digest that does not match its IPTC data.
Bytes withXmpAndIptc(const std::string &t, size_t makerNote, bool staleDigest)
{
    std::string iso = t;
    iso[4] = iso[7] = '-';
    iso[10] = 'T';
    ExifBlock exif(ByteOrder::Intel);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::DateTime, t).subDirectory(0, tag::ExifIfd, sub);
    if (makerNote)
        exif.value(sub, tag::MakerNote, format::Undefined, uint32_t(makerNote), Bytes(makerNote, 0x4D));
    exif.ascii(sub, tag::DateTimeOriginal, t).ascii(sub, tag::DateTimeDigitized, t);
    XmpPacket xmp;
    xmp.attribute("xmp:CreateDate", iso + "+02:00").attribute("xmp:MetadataDate", "2020-01-01T00:00:00Z")
        .element("exif:DateTimeOriginal", iso + ".07");
    IptcBlock iptc;
    iptc.dataset(2, 55, t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2))
        .dataset(2, 60, t.substr(11, 2) + t.substr(14, 2) + t.substr(17, 2) + "+0200");
    const Bytes iim = iptc.iim();
    const QByteArray md5 = QCryptographicHash::hash(
        QByteArray(reinterpret_cast<const char *>(iim.data()), int(iim.size())), QCryptographicHash::Md5);
    iptc.digest(staleDigest ? Bytes(16, 0x5A) : Bytes(md5.begin(), md5.end()));
    Jpeg j;
    j.soi().app1(exif).xmp(xmp).app13(iptc).dqt().sof(480, 640).sos().scanData(256).eoi();
    return j.bytes();
}

#ifdef _WIN32
// The C runtime's stat gives nothing before 1970 here; Qt reads the file's own times.
qint64 modificationTime(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.lastModified().toSecsSinceEpoch() : -1;
}

// Windows' C runtime takes no IANA zone names in TZ (and applies US rules to
// the names it takes): the zone is the system's, which under Wine is the
// host's. The cases that need Berlin run only where the system zone is Berlin.
bool inZone = false;
void setTimeZone(const char *zone)
{
    qunsetenv("TZ");
    _tzset();
    inZone = QTimeZone::systemTimeZoneId() == QByteArray(zone);
}
#else
qint64 modificationTime(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_mtime) : -1;
}

bool inZone = true;
void setTimeZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}
#endif

} // namespace

// The whole rewrite of one picture, as a pass does it without a journal:
// open, plan, commit, close.
PictureResult shiftPicture(const QString &path, qint64 seconds, bool adaptFileTimes)
{
    using Status = PictureStatus;
    PictureResult result;
    FileRewrite rewrite;
    result.status = rewrite.open(path);
    if (result.status != Status::Usable)
        return result;
    result.status = rewrite.planShift(seconds, &result);
    if (result.status != Status::Usable)
        return result;
    int64_t atime = rewrite.snapshot().accessNs, mtime = rewrite.snapshot().modificationNs;
    if (adaptFileTimes && FileRewrite::localInstantNs(result.newDate, &mtime))
        atime = mtime;
    result.status = rewrite.commit(atime, mtime, &result.timesSet);
    if (!rewrite.close() && result.status == Status::Changed)
        result.status = Status::CloseFailed;
    return result;
}

class TestPictureFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setTimeZone("Europe/Berlin"); }

    void readDate_data();
    void readDate();
    void cameraName_data();
    void cameraName();
    void shiftRewritesOnlyTheDateRuns_data();
    void shiftRewritesOnlyTheDateRuns();
    void shiftLeavesPicturesWithoutUsableDate_data();
    void shiftLeavesPicturesWithoutUsableDate();
    void shiftMovesXmpAndIptcCopies_data();
    void shiftMovesXmpAndIptcCopies();
    void readOnlyPictureIsNotChanged();
    void fileTimes_data();
    void fileTimes();
    void uncheckedKeepsFileTimes();
    void exiftoolReadsTheShiftedDates();
    void largeRawIsReadAndWrittenOnlyWhereItsDatesLie_data();
    void largeRawIsReadAndWrittenOnlyWhereItsDatesLie();

private:
    QTemporaryDir dir;
    QString write(const char *name, const Bytes &bytes)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        [&] { QVERIFY(writeFile(path.toUtf8().toStdString(), bytes)); }();
        return path;
    }
};

namespace {

// Bytes this process has read and written so far (Linux: /proc/self/io).
bool ioCounts(qint64 *read, qint64 *written)
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return false;
    *read = *written = -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("rchar: "))
            *read = line.mid(7).toLongLong();
        else if (line.startsWith("wchar: "))
            *written = line.mid(7).toLongLong();
    }
    return *read >= 0 && *written >= 0;
}

// A RAW file laid out as cameras do: IFD0 with the camera and DateTime, the
// EXIF directory, then `image` bytes of image data, then a preview JPEG with
// the camera's EXIF block, at the end of the file.
Bytes bigRaw(const std::string &t, uint64_t image)
{
    namespace tt = tifftest;
    tt::Tiff raw(tt::Header::Intel);
    const int exif = raw.addDirectory(), preview = raw.addDirectory();
    raw.ascii(0, tt::tag::Make, "NIKON").ascii(0, tt::tag::Model, "NIKON D90")
        .ascii(0, tt::tag::DateTime, t).subDirectory(0, tt::tag::ExifIfd, exif)
        .ascii(exif, tt::tag::DateTimeOriginal, t).ascii(exif, tt::tag::DateTimeDigitized, t)
        .image(0, image).next(0, preview);
    raw.jpeg(preview, Jpeg::camera(samples::camera(ByteOrder::Motorola, t)).bytes());
    return raw.bytes();
}

} // namespace

void TestPictureFile::largeRawIsReadAndWrittenOnlyWhereItsDatesLie_data()
{
    QTest::addColumn<bool>("fromRecord");   // planned from what the dating kept, or read again
    QTest::newRow("planned from the dating's record") << true;
    QTest::newRow("read again") << false;
}

// A 24 MB RAW costs the reads of its directories and its preview's header,
// and its shift writes the two places that hold dates, not the image between.
void TestPictureFile::largeRawIsReadAndWrittenOnlyWhereItsDatesLie()
{
    QFETCH(bool, fromRecord);
    qint64 read0 = 0, written0 = 0, read1 = 0, written1 = 0;
    if (!ioCounts(&read0, &written0))
        QSKIP("this system does not count a process's reads");
    const std::string t = "2012:05:06 10:00:00";
    const Bytes bytes = bigRaw(t, 24u << 20);
    const QString path = write("big.nef", bytes);
    const std::vector<size_t> at = find(bytes, t);
    QCOMPARE(int(at.size()), 6);
    QVERIFY(at.back() > (24u << 20));

    QVERIFY(ioCounts(&read0, &written0));
    DateRecord record;
    const PictureResult dated = DateReader::read(path, {}, false, &record);
    QVERIFY(ioCounts(&read1, &written1));
    QCOMPARE(dated.status, Status::Usable);
    QCOMPARE(dated.camera, QStringLiteral("NIKON D90"));
    QVERIFY2(read1 - read0 < (256 << 10), qPrintable(QString::number(read1 - read0)));

    PictureResult result;
    FileRewrite rewrite;
    QCOMPARE(rewrite.open(path), Status::Usable);
    Status status = Status::Usable;
    if (!fromRecord || !rewrite.planShiftFrom(record, dated.oldDate, 3600, &result, &status))
        status = rewrite.planShift(3600, &result);
    QCOMPARE(status, Status::Usable);
    QCOMPARE(result.runs, 6);
    bool timesSet = false;
    QCOMPARE(rewrite.commit(rewrite.snapshot().accessNs, rewrite.snapshot().modificationNs, &timesSet),
             Status::Changed);
    QVERIFY(rewrite.close());
    qint64 read2 = 0, written2 = 0;
    QVERIFY(ioCounts(&read2, &written2));
    QVERIFY2(read2 - read1 < (512 << 10), qPrintable(QString::number(read2 - read1)));
    QVERIFY2(written2 - written1 < (64 << 10), qPrintable(QString::number(written2 - written1)));
    expectOnlyRuns(bytes, readFile(path.toUtf8().toStdString()), at, "2012:05:06 11:00:00");
}

// The camera a picture names, read through the engine (an empty text leaves
// its tag out).
void TestPictureFile::cameraName_data()
{
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("name");

    QTest::newRow("joined") << "NIKON CORPORATION" << "NIKON D70" << "NIKON CORPORATION NIKON D70";
    QTest::newRow("model begins with make") << "Canon" << "Canon EOS 5D" << "Canon EOS 5D";
    QTest::newRow("model begins with make, other case") << "SONY" << "Sony A7" << "Sony A7";
    QTest::newRow("padded texts") << "  Apple " << " iPhone 12  " << "Apple iPhone 12";
    QTest::newRow("no make") << "" << "Pixel 7" << "Pixel 7";
    QTest::newRow("blank make") << "   " << "Pixel 7" << "Pixel 7";
    QTest::newRow("no model") << "GoPro" << "" << "GoPro";
    QTest::newRow("neither") << "" << "" << "Unknown camera";
}

void TestPictureFile::cameraName()
{
    QFETCH(QString, make);
    QFETCH(QString, model);
    QFETCH(QString, name);
    ExifBlock exif(ByteOrder::Intel);
    const int sub = exif.addDirectory();
    if (!make.isEmpty())
        exif.ascii(0, tag::Make, make.toStdString());
    if (!model.isEmpty())
        exif.ascii(0, tag::Model, model.toStdString());
    exif.subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, "0000:00:00 00:00:00");
    const PictureResult result = DateReader::read(write("camera.jpg", Jpeg::camera(exif).bytes()));
    QCOMPARE(result.status, Status::NotADate);   // the camera is known without a usable date
    QCOMPARE(result.camera, name);
    QCOMPARE(DateReader::read(write("plain.jpg", Jpeg().soi().sof(8, 8).sos().eoi().bytes())).camera, QString());
}

void TestPictureFile::readDate_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("date");

    const auto withOriginal = [](const std::string &text) { return camera(ByteOrder::Intel, {text}); };
    QTest::newRow("II") << camera(ByteOrder::Intel) << Status::Usable << "2012-05-06T10:00:00Z";
    QTest::newRow("MM") << camera(ByteOrder::Motorola) << Status::Usable << "2012-05-06T10:00:00Z";
    QTest::newRow("spring gap in Berlin") << withOriginal("2012:03:25 02:30:00") << Status::Usable
                                          << "2012-03-25T02:30:00Z";
    QTest::newRow("clock never set") << withOriginal("0000:00:00 00:00:00") << Status::NotADate << "";
    QTest::newRow("blanks and colons") << withOriginal("    :  :     :  :  ") << Status::NotADate << "";
    QTest::newRow("30 February") << withOriginal("2012:02:30 10:00:00") << Status::NotADate << "";
    QTest::newRow("three colons") << withOriginal("2012:05:06 10-00:00") << Status::NoDate << "";
    QTest::newRow("no DateTimeOriginal")
        << Jpeg::camera(ExifBlock().ascii(0, tag::Make, "Camera")).bytes() << Status::NoDate << "";
    QTest::newRow("no EXIF block") << Jpeg().soi().sof(8, 8).sos().eoi().bytes() << Status::NoExif << "";
    QTest::newRow("not a JPEG") << Bytes{'n', 'o', 't', 'e', 's'} << Status::NoExif << "";
}

void TestPictureFile::readDate()
{
    QFETCH(Bytes, bytes);
    QFETCH(Status, status);
    QFETCH(QString, date);
    const PictureResult result = DateReader::read(write("read.jpg", bytes));
    QCOMPARE(result.status, status);
    QCOMPARE(result.oldDate.toString(Qt::ISODate), date);
}

void TestPictureFile::shiftRewritesOnlyTheDateRuns_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<int>("runs");

    const QString may = "2012:05:06 10:00:00";
    const Dates edited{"2012:05:06 10:00:00", "2013:01:02 09:00:00", "2012:05:06 10:00:00"};
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        const QByteArray o = order == ByteOrder::Intel ? "II " : "MM ";
        QTest::newRow(o + "three equal dates") << camera(order) << qint64(3600) << may << "2012:05:06 11:00:00" << 3;
        QTest::newRow(o + "edited later: DateTime stays")
            << camera(order, edited) << qint64(3600) << may << "2012:05:06 11:00:00" << 2;
        QTest::newRow(o + "dates behind a maker note, past byte 4096")
            << camera(order, {}, 17000) << qint64(-86400) << may << "2012:05:05 10:00:00" << 3;
    }
    QTest::newRow("shift 0 still rewrites") << camera(ByteOrder::Intel) << qint64(0) << may << may << 3;
    QTest::newRow("back across a year")
        << camera(ByteOrder::Intel, {"2012:01:01 00:00:30", "2012:01:01 00:00:30", "2012:01:01 00:00:30"})
        << qint64(-60) << "2012:01:01 00:00:30" << "2011:12:31 23:59:30" << 3;
    QTest::newRow("a day across the spring gap")
        << camera(ByteOrder::Intel, {"2012:03:24 12:00:00", "x", "x"}) << qint64(86400)
        << "2012:03:24 12:00:00" << "2012:03:25 12:00:00" << 1;
    QTest::newRow("shorter than 4096 bytes") << camera(ByteOrder::Intel, {}, 0, 0) << qint64(60) << may
                                             << "2012:05:06 10:01:00" << 3;
    QTest::newRow("large shift over centuries") << camera(ByteOrder::Intel) << qint64(3155673600LL) << may
                                                << "2112:05:06 10:00:00" << 3;

    // A large segment before the EXIF block pushes every date past byte 4096.
    ExifBlock exif(ByteOrder::Motorola);
    exif.ascii(0, tag::DateTimeOriginal, may.toStdString());
    const Bytes late = Jpeg().soi().segment(0xE2, Bytes(6000, 0x11)).app1(exif).dqt().sof(8, 8).sos()
                           .scanData(5000).eoi().bytes();
    QTest::newRow("behind a large earlier segment") << late << qint64(1) << may << "2012:05:06 10:00:01" << 1;

    // A copy of the date that ends on the last byte of the searched region (the
    // first 4096 bytes, the header being shorter).
    Bytes tail = camera(ByteOrder::Intel, {}, 0, 6000);
    const std::string text = may.toStdString();
    std::copy(text.begin(), text.end(), tail.begin() + 4096 - 19);
    QTest::newRow("copy ending on byte 4095") << tail << qint64(3600) << may << "2012:05:06 11:00:00" << 4;
}

void TestPictureFile::shiftRewritesOnlyTheDateRuns()
{
    QFETCH(Bytes, bytes);
    QFETCH(qint64, seconds);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(int, runs);

    const QString path = write("shift.jpg", bytes);
    const std::vector<size_t> at = find(bytes, oldText.toStdString());
    const PictureResult result = shiftPicture(path, seconds, true);
    QCOMPARE(result.status, Status::Changed);
    QCOMPARE(result.runs, runs);
    QCOMPARE(int(at.size()), runs);
    expectOnlyRuns(bytes, readFile(path.toUtf8().toStdString()), at, newText.toStdString());
}

void TestPictureFile::shiftLeavesPicturesWithoutUsableDate_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<Status>("status");

    QTest::newRow("clock never set") << camera(ByteOrder::Intel, {"0000:00:00 00:00:00"}) << qint64(60)
                                     << Status::NotADate;
    QTest::newRow("no EXIF") << Jpeg().soi().sof(8, 8).sos().eoi().bytes() << qint64(60) << Status::NoExif;
    QTest::newRow("beyond year 9999") << camera(ByteOrder::Intel, {"9999:12:31 23:00:00"}) << qint64(7200)
                                      << Status::OutOfRange;
}

void TestPictureFile::shiftLeavesPicturesWithoutUsableDate()
{
    QFETCH(Bytes, bytes);
    QFETCH(qint64, seconds);
    QFETCH(Status, status);
    const QString path = write("leave.jpg", bytes);
    const qint64 mtime = modificationTime(path);
    QCOMPARE(shiftPicture(path, seconds, true).status, status);
    QVERIFY(readFile(path.toUtf8().toStdString()) == bytes);
    QCOMPARE(modificationTime(path), mtime);
}

void TestPictureFile::shiftMovesXmpAndIptcCopies_data()
{
    QTest::addColumn<size_t>("makerNote");
    QTest::addColumn<bool>("staleDigest");
    QTest::addColumn<int>("runs");
    QTest::newRow("XMP, IPTC and its digest") << size_t(0) << false << 8;
    QTest::newRow("behind a 20 KB maker note") << size_t(20000) << false << 8;
    QTest::newRow("a digest that did not match stays") << size_t(0) << true << 7;
}

void TestPictureFile::shiftMovesXmpAndIptcCopies()
{
    QFETCH(size_t, makerNote);
    QFETCH(bool, staleDigest);
    const Bytes before = withXmpAndIptc("2012:05:06 10:00:00", makerNote, staleDigest);
    const QString path = write("rich.jpg", before);
    const PictureResult result = shiftPicture(path, 86400 + 61, false);
    QCOMPARE(result.status, Status::Changed);
    QTEST(result.runs, "runs");
    QCOMPARE(result.xmpDates, 2);
    QCOMPARE(result.iptcDates, 1);
    // The picture now reads as if it had been made with the shifted time, and
    // the opposite shift gives back the very bytes it had.
    QVERIFY(readFile(QFile::encodeName(path).toStdString())
            == withXmpAndIptc("2012:05:07 10:01:01", makerNote, staleDigest));
    QCOMPARE(shiftPicture(path, -(86400 + 61), false).status, Status::Changed);
    QVERIFY(readFile(QFile::encodeName(path).toStdString()) == before);
}

void TestPictureFile::readOnlyPictureIsNotChanged()
{
    const Bytes bytes = camera(ByteOrder::Intel);
    const QString path = write("readonly.jpg", bytes);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const qint64 mtime = modificationTime(path);
    QCOMPARE(shiftPicture(path, 3600, true).status, Status::CannotOpen);
    QVERIFY(readFile(path.toUtf8().toStdString()) == bytes);
    QCOMPARE(modificationTime(path), mtime);
}

void TestPictureFile::fileTimes_data()
{
    QTest::addColumn<QString>("original");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("instant");   // the file time, in UTC, under TZ=Europe/Berlin

    QTest::newRow("summer") << "2012:05:06 10:00:00" << qint64(3600) << "2012-05-06T09:00:00Z";
    QTest::newRow("winter") << "2012:01:15 10:00:00" << qint64(0) << "2012-01-15T09:00:00Z";
    QTest::newRow("in the spring gap: just after it") << "2012:03:25 01:30:00" << qint64(3600)
                                                      << "2012-03-25T01:00:00Z";
    QTest::newRow("before 1970") << "1965:07:01 12:00:00" << qint64(0) << "1965-07-01T11:00:00Z";
}

void TestPictureFile::fileTimes()
{
    QFETCH(QString, original);
    QFETCH(qint64, seconds);
    QFETCH(QString, instant);
    if (!inZone)
        QSKIP("the system's time zone is not Europe/Berlin");
#ifdef _WIN32
    if (original.startsWith("1965"))
        QSKIP("Windows' time zones apply today's rules to 1965, when Germany kept no summer time");
#endif
    const std::string text = original.toStdString();
    const QString path = write("times.jpg", camera(ByteOrder::Intel, {text, text, text}));
    QCOMPARE(shiftPicture(path, seconds, true).status, Status::Changed);
    QCOMPARE(QDateTime::fromSecsSinceEpoch(modificationTime(path), Qt::UTC).toString(Qt::ISODate), instant);
    QCOMPARE(QFileInfo(path).lastRead().toUTC().toString(Qt::ISODate), instant);
}

// Sets a file's access and modification times, as another program would.
static bool setFileTimes(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime)
           && file.setFileTime(time, QFileDevice::FileAccessTime);
}

void TestPictureFile::uncheckedKeepsFileTimes()
{
    const QString path = write("keep.jpg", camera(ByteOrder::Motorola));
    QVERIFY(setFileTimes(path, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::LocalTime)));
    const qint64 mtime = modificationTime(path);
    QCOMPARE(shiftPicture(path, 3600, false).status, Status::Changed);
    QCOMPARE(modificationTime(path), mtime);
    QCOMPARE(DateReader::read(path).oldDate, QDateTime(QDate(2012, 5, 6), QTime(11, 0), Qt::UTC));
}

void TestPictureFile::exiftoolReadsTheShiftedDates()
{
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        QSKIP("exiftool is not installed");
    const Dates edited{"2012:05:06 10:00:00", "2013:01:02 09:00:00", "2012:05:06 10:00:00"};
    for (ByteOrder order : {ByteOrder::Intel, ByteOrder::Motorola}) {
        const QString path = write("exiftool.jpg", camera(order, edited, 9000));
        QCOMPARE(shiftPicture(path, -90061, true).status, Status::Changed);
        QProcess p;
        p.start(exiftool, {"-s3", "-d", "%Y:%m:%d %H:%M:%S", "-DateTimeOriginal", "-CreateDate", "-ModifyDate", path});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 QStringList({"2012:05:05 08:58:59", "2012:05:05 08:58:59", "2013:01:02 09:00:00"}));
    }
}

QTEST_GUILESS_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
