// Videos: which header times and texts belong to the recording, the capture
// time each file gives (its wall-clock time, or UTC), the skews that keep
// every field's distance through a shift, and damaged files that must give
// no fields.
#include <QtTest>

#include <algorithm>

#include "dateshift.h"
#include "moviebuilder.h"
#include "samplefiles.h"
#include "sparsesource.h"
#include "videoformat.h"

using isotest::Box;
using isotest::Movie;
using jpegtest::Bytes;

Q_DECLARE_METATYPE(Bytes)

namespace {

const std::string kTime = "2008:03:16 10:52:01";
const std::string kIso = samples::iso(kTime);

std::string xmp(const std::string &name, const std::string &value, const std::string &later = "")
{
    jpegtest::XmpPacket x;
    x.attribute(name, value);
    if (!later.empty())
        x.element("xmp:MetadataDate", later);
    return x.text();
}

FoundDates locate(const Bytes &file, bool *claimed = nullptr)
{
    MemorySource source(file);
    FoundDates found;
    const bool read = VideoFormat().locate(source, &found);
    if (claimed)
        *claimed = read;
    return found;
}

WallClock clockOf(const std::string &text)
{
    WallClock t;
    DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(text.data()), text.size(), &t);
    return t;
}

bool shifted(const Bytes &bytes, const FoundDates &found, int64_t seconds, Bytes *out, DateShift::Plan *plan)
{
    MemorySource file(bytes);
    if (!DateShift::plan(file, found.fields, found.derived, clockOf(found.captureText), seconds, false, plan))
        return false;
    *out = bytes;
    for (const DateShift::Run &r : plan->runs)
        std::copy(r.to.begin(), r.to.end(), out->begin() + ptrdiff_t(r.offset));
    return true;
}

// The 32-bit big-endian value `at` bytes after the start of the first `type`
// in `file` replaced (4: a box's first bytes, -4: its size).
Bytes patched(Bytes file, const std::string &type, long at, uint32_t value)
{
    const auto it = std::search(file.begin(), file.end(), type.begin(), type.end());
    const size_t p = size_t(it - file.begin()) + size_t(at);
    for (int i = 0; i < 4; ++i)
        file[p + size_t(i)] = uint8_t(value >> (24 - 8 * i));
    return file;
}

Bytes bytesOf(const std::string &s)
{
    return Bytes(s.begin(), s.end());
}

} // namespace

class TestVideoFormat : public QObject {
    Q_OBJECT

private slots:
    void sniff_data();
    void sniff();
    void fields_data();
    void fields();
    void cameraFromKeys();
    void shiftKeepsZonesAndSkews();
    void damaged_data();
    void damaged();
    void hugeMdatCostsFewReads();
    void past2040_data();
    void past2040();
};

void TestVideoFormat::sniff_data()
{
    QTest::addColumn<Bytes>("head");
    QTest::addColumn<bool>("claimed");
    auto ftyp = [](const std::string &major, const std::vector<std::string> &compatible) {
        return isotest::ftyp(major, compatible).bytes();
    };
    QTest::newRow("MP4") << ftyp("isom", {"isom", "iso2", "avc1", "mp41"}) << true;
    QTest::newRow("MOV") << ftyp("qt  ", {"qt  "}) << true;
    QTest::newRow("M4V") << ftyp("M4V ", {"M4V ", "M4A ", "mp42", "isom"}) << true;
    QTest::newRow("3GP") << ftyp("3gp4", {"isom", "3gp4"}) << true;
    QTest::newRow("3G2") << ftyp("3g2a", {"3g2a"}) << true;
    QTest::newRow("Sony XAVC") << ftyp("XAVC", {"XAVC", "mp42", "iso2"}) << true;
    QTest::newRow("a video brand among the compatible ones") << ftyp("abcd", {"mp42"}) << true;
    QTest::newRow("QuickTime starting with moov") << Box("moov").bytes() << true;
    QTest::newRow("QuickTime starting with wide") << Box("wide").bytes() << true;
    QTest::newRow("QuickTime starting with mdat") << Box("mdat").add(Bytes(8, 0)).bytes() << true;
    QTest::newRow("QuickTime starting with a preview's pnot") << Box("pnot").add(Bytes(12, 0)).bytes() << true;
    QTest::newRow("HEIC naming iso brands too") << ftyp("heic", {"mif1", "heic", "iso8"}) << false;
    QTest::newRow("AVIF naming mp41 too") << ftyp("avif", {"avif", "mif1", "mp41"}) << false;
    QTest::newRow("CR3") << ftyp("crx ", {"crx ", "isom"}) << false;
    QTest::newRow("an audio file") << ftyp("M4A ", {"M4A ", "mp42"}) << false;
    QTest::newRow("an unknown brand") << ftyp("abcd", {"efgh"}) << false;
    QTest::newRow("moov with a size smaller than a header") << patched(Box("moov").bytes(), "moov", -4, 5) << false;
    QTest::newRow("text") << bytesOf("2008:03:16 10:52:01\n") << false;
}

void TestVideoFormat::sniff()
{
    QFETCH(Bytes, head);
    QTEST(VideoFormat().sniff(head.data(), head.size()), "claimed");
}

void TestVideoFormat::fields_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<QString>("capture");
    QTest::addColumn<bool>("utc");
    QTest::addColumn<int>("width");                // of the capture field
    QTest::addColumn<QList<qint64>>("skews");      // of the fields, by offset

    const QList<qint64> six{0, 0, 0, 0, 0, 0};
    const qint64 east3 = -3 * 3600;
    QTest::newRow("version 0 headers, no zoned copy: UTC") << Movie(kTime).bytes() << "2008:03:16 10:52:01" << true
                                                           << 4 << six;
    QTest::newRow("version 1 headers") << Movie(kTime).version(1).bytes() << "2008:03:16 10:52:01" << true << 8
                                       << six;
    QTest::newRow("QuickTime without ftyp, moov at the end after a 64-bit mdat")
        << Movie(kTime).quickTime().moovLast().largeMdat().bytes() << "2008:03:16 10:52:01" << true << 4 << six;
    QTest::newRow("start in one header, end in others 17 s later: all move")
        << Movie(kTime).movieTimes(kTime, "2008:03:16 10:52:18").trackTimes(0, "2008:03:16 10:52:18", "2008:03:16 10:52:18")
               .bytes()
        << "2008:03:16 10:52:01" << true << 4 << QList<qint64>{0, 17, 17, 17, 0, 0};
    QTest::newRow("an 85 s movie's header 36 s on moves, one past its length and a minute stays")
        << Movie(kTime).duration(85).movieTimes(kTime, "2008:03:16 10:54:27").trackTimes(0, "2008:03:16 10:52:37", "2008:03:16 10:52:37")
               .bytes()
        << "2008:03:16 10:52:01" << true << 4 << QList<qint64>{0, 36, 36, 0, 0};
    QTest::newRow("a movie header modified years later stays")
        << Movie(kTime).movieTimes(kTime, "2015:01:02 03:04:05").bytes() << "2008:03:16 10:52:01" << true << 4
        << QList<qint64>{0, 0, 0, 0, 0};
    QTest::newRow("zero times stay") << Movie(kTime).movieTimes(kTime, "").trackTimes(0, "", "").bytes()
                                     << "2008:03:16 10:52:01" << true << 4 << QList<qint64>{0, 0, 0};
    QTest::newRow("all times zero: no date") << Movie("").bytes() << "" << false << 0 << QList<qint64>{};
    QTest::newRow("Keys +0300, headers in UTC 17 s on: the wall-clock time, skews of the zone and the 17 s")
        << Movie("2019:07:24 08:25:57").keys("2019-07-24T11:25:40+0300").bytes() << "2019:07:24 11:25:40" << false << 19
        << QList<qint64>{east3 + 17, east3 + 17, east3 + 17, east3 + 17, east3 + 17, east3 + 17, 0};
    QTest::newRow("Keys +0300, headers in local time")
        << Movie("2019:07:24 11:25:57").keys("2019-07-24T11:25:40+0300").bytes() << "2019:07:24 11:25:40" << false << 19
        << QList<qint64>{17, 17, 17, 17, 17, 17, 0};
    QTest::newRow("Keys -0400 with a fraction, ©day with Z compared as an instant")
        << Movie("2019:07:24 15:25:40").keys("2019-07-24T11:25:40.250-0400").day("2019-07-24T15:25:40Z").bytes()
        << "2019:07:24 11:25:40" << false << 19 << QList<qint64>{14400, 14400, 14400, 14400, 14400, 14400, 0, 14400};
    QTest::newRow("a text a day off stays")
        << Movie(kTime).keys(kIso + "+0000").day("2008-03-17T10:52:01+0000").bytes() << "2008:03:16 10:52:01" << false
        << 19 << QList<qint64>{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("©day with Z alone names no wall-clock time: UTC")
        << Movie(kTime).day(kIso + "Z").bytes() << "2008:03:16 10:52:01" << true << 4
        << QList<qint64>{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("©day +0100 alone gives the wall-clock time")
        << Movie("2021:05:16 18:27:55").day("2021-05-16T19:27:55+0100").bytes() << "2021:05:16 19:27:55" << false << 19
        << QList<qint64>{-3600, -3600, -3600, -3600, -3600, -3600, 0};
    QTest::newRow("udta date +0100")
        << Movie("2020:11:20 14:04:02").date("2020-11-20T15:04:02+0100").bytes() << "2020:11:20 15:04:02" << false
        << 19 << QList<qint64>{-3600, -3600, -3600, -3600, -3600, -3600, 0};
    QTest::newRow("XMP in a uuid box with a zone; its MetadataDate a year later stays")
        << Movie("2019:07:24 08:25:40")
               .uuidXmp(xmp("xmp:CreateDate", "2019-07-24T11:25:40+03:00", "2020-07-24T11:25:40+03:00"))
               .bytes()
        << "2019:07:24 11:25:40" << false << 19 << QList<qint64>{east3, east3, east3, east3, east3, east3, 0};
    QTest::newRow("XMP with its zone spelled +1:00, as some cameras write it")
        << Movie("2008:03:16 09:52:01").uuidXmp(xmp("xmp:CreateDate", "2008-03-16T10:52:01.0+1:00")).bytes()
        << "2008:03:16 10:52:01" << false << 19 << QList<qint64>{-3600, -3600, -3600, -3600, -3600, -3600, 0};
    QTest::newRow("XMP in udta/XMP_ with no zone beside UTC headers")
        << Movie(kTime).udtaXmp(xmp("xmp:CreateDate", kIso)).bytes() << "2008:03:16 10:52:01" << true << 4
        << QList<qint64>{0, 0, 0, 0, 0, 0, 0};
}

void TestVideoFormat::fields()
{
    QFETCH(Bytes, file);
    QFETCH(QString, capture);
    QFETCH(bool, utc);
    QFETCH(int, width);
    QFETCH(QList<qint64>, skews);
    bool claimed = false;
    const FoundDates found = locate(file, &claimed);
    QVERIFY(claimed && found.hasMetadata && !found.unsupported);
    QCOMPARE(QString::fromStdString(found.captureText), capture);
    QCOMPARE(found.captureUtc, utc);
    QList<qint64> got;
    for (const DateField &f : found.fields)
        got << f.skew;
    QCOMPARE(got, skews);
    if (skews.isEmpty())
        return;
    // One capture field, spelling the capture time itself; the fields in
    // order, none over another.
    const auto captureField = std::find_if(found.fields.begin(), found.fields.end(),
                                           [](const DateField &f) { return f.role == DateRole::Capture; });
    QCOMPARE(std::count_if(found.fields.begin(), found.fields.end(),
                           [](const DateField &f) { return f.role == DateRole::Capture; }), ptrdiff_t(1));
    QCOMPARE(int(captureField->width), width);
    QCOMPARE(captureField->skew, qint64(0));
    for (size_t i = 1; i < found.fields.size(); ++i)
        QVERIFY(found.fields[i - 1].offset + found.fields[i - 1].width <= found.fields[i].offset);
}

void TestVideoFormat::cameraFromKeys()
{
    const FoundDates found = locate(Movie(kTime).keys(kIso + "+0100", "Apple", "iPhone 8").bytes());
    QCOMPARE(found.make, std::string("Apple"));
    QCOMPARE(found.model, std::string("iPhone 8"));
}

void TestVideoFormat::shiftKeepsZonesAndSkews()
{
    // Headers in UTC and 17 s on, Keys in +0300, ©day in UTC: an hour on,
    // every field an hour on, every zone as written, and back to the very bytes.
    const Bytes original = Movie("2019:07:24 08:25:57").keys("2019-07-24T11:25:40+0300").day("2019-07-24T08:25:40Z")
                               .moovLast().bytes();
    const FoundDates before = locate(original);
    QCOMPARE(int(before.fields.size()), 8);
    Bytes moved, back;
    DateShift::Plan there, home;
    QVERIFY(shifted(original, before, 3600, &moved, &there));
    QCOMPARE(int(there.runs.size()), 8);
    const FoundDates after = locate(moved);
    QCOMPARE(after.captureText, std::string("2019:07:24 12:25:40"));
    QCOMPARE(int(after.fields.size()), 8);
    for (size_t i = 0; i < after.fields.size(); ++i)
        QCOMPARE(after.fields[i].skew, before.fields[i].skew);
    const std::string text(moved.begin(), moved.end());
    QVERIFY(text.find("2019-07-24T12:25:40+0300") != std::string::npos);
    QVERIFY(text.find("2019-07-24T09:25:40Z") != std::string::npos);
    QVERIFY(shifted(moved, after, -3600, &back, &home));
    QVERIFY(back == original);
}

void TestVideoFormat::damaged_data()
{
    QTest::addColumn<Bytes>("file");
    const Bytes good = Movie(kTime).keys(kIso + "+0100").bytes();
    const Bytes last = Movie(kTime).moovLast().bytes();
    QTest::newRow("mdat's size past the end") << patched(good, "mdat", -4, 0x7FFFFFF0);
    QTest::newRow("moov cut short at the end of the file") << Bytes(last.begin(), last.end() - 40);
    QTest::newRow("mvhd larger than moov") << patched(good, "mvhd", -4, 0x10000);
    QTest::newRow("a track box smaller than its own header") << patched(good, "trak", -4, 4);
    QTest::newRow("a media header box that does not fit its parent") << patched(good, "mdia", -4, 0xFFFF);
    QTest::newRow("mvhd of an unknown version") << patched(good, "mvhd", 4, 0x02000000);
    QTest::newRow("mvhd too short for its times") << [] {
        Bytes f = isotest::ftyp("isom", {"isom"}).bytes();
        const Bytes m = Box("moov").child(Box::full("mvhd", 0).number(Movie::since1904(kTime), 4)).bytes();
        f.insert(f.end(), m.begin(), m.end());
        return f;
    }();
    QTest::newRow("keys counting more entries than it holds") << patched(good, "keys", 8, 0xFFFFFFFF);
    QTest::newRow("a key of size past its box") << patched(good, "keys", 12, 0x7FFFFFFF);
    QTest::newRow("a 64-bit mdat past the end") << [] {
        Bytes f = Movie(kTime).largeMdat().bytes();
        return patched(f, "mdat", 4, 0x7FFFFFFF);
    }();
    QTest::newRow("no moov") << isotest::ftyp("isom", {"isom"}).bytes();
}

void TestVideoFormat::damaged()
{
    QFETCH(Bytes, file);
    bool claimed = false;
    const FoundDates found = locate(file, &claimed);
    QVERIFY(claimed);
    QVERIFY(!found.hasMetadata);
    QVERIFY(found.fields.empty() && found.captureText.empty());
}

void TestVideoFormat::hugeMdatCostsFewReads()
{
    // 5 GB of media data before moov: a few small reads, never the media.
    isotest::SparseSource file(Movie(kTime).keys(kIso + "+0100").day(kIso + "+0100").moovLast().mdatBytes(5ULL << 30).sparse());
    FoundDates found;
    QVERIFY(VideoFormat().locate(file, &found));
    QCOMPARE(int(found.fields.size()), 8);
    QVERIFY2(file.bytesRead < 16 * 1024, qPrintable(QString::number(file.bytesRead)));
    QVERIFY2(file.reads < 100, qPrintable(QString::number(file.reads)));
}

void TestVideoFormat::past2040_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("planned");
    // 2040-02-06 06:28:15 UTC is the last time 32 bits hold.
    const qint64 toLast = DateCodec::toEpochSeconds({2040, 2, 6, 6, 28, 15}) - DateCodec::toEpochSeconds({2040, 1, 1, 0, 0, 0});
    QTest::newRow("version 0, to the last second 32 bits hold") << 0 << toLast << true;
    QTest::newRow("version 0, a second past it: refused") << 0 << toLast + 1 << false;
    QTest::newRow("version 1, years past it") << 1 << 10 * 365 * 86400LL << true;
}

void TestVideoFormat::past2040()
{
    QFETCH(int, version);
    QFETCH(qint64, seconds);
    const Bytes file = Movie("2040:01:01 00:00:00").version(version).bytes();
    const FoundDates found = locate(file);
    QCOMPARE(int(found.fields.size()), 6);
    MemorySource source(file);
    DateShift::Plan plan;
    QTEST(DateShift::plan(source, found.fields, found.derived, clockOf(found.captureText), seconds, false, &plan),
          "planned");
}

QTEST_APPLESS_MAIN(TestVideoFormat)
#include "tst_videoformat.moc"
