// The spellings of a wall-clock time in date fields, the calendar behind
// them, and the plan that moves a file's date fields knowing no format.
#include <QCryptographicHash>
#include <QDateTime>
#include <QRandomGenerator>
#include <QtTest>

#include "bytesource.h"
#include "datecodec.h"
#include "dateshift.h"

Q_DECLARE_METATYPE(DateEncoding)

namespace {

WallClock at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    WallClock t;
    t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
    return t;
}

QString show(const WallClock &t)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

WallClock parse(const QString &text)   // "yyyy-MM-dd hh:mm:ss"
{
    const QStringList p = text.split(QRegularExpression("[- :]"));
    return at(p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toInt(), p[4].toInt(), p[5].toInt());
}

QByteArray spelled(DateEncoding e, const WallClock &t)
{
    unsigned char out[32];
    return DateCodec::encode(e, t, out) ? QByteArray(reinterpret_cast<const char *>(out), int(DateCodec::width(e)))
                                        : QByteArray();
}

// A file with one field of every encoding and an MD5 digest over the two
// IPTC fields, at fixed offsets among filler bytes.
struct Sample {
    static constexpr uint64_t exif = 3, xmp = 30, date = 60, time = 70, s32 = 80, s64 = 90;
    static constexpr uint64_t digest = 110, coverFrom = 58, coverLength = 20;
    std::vector<unsigned char> bytes = std::vector<unsigned char>(140, '.');

    explicit Sample(const WallClock &t)
    {
        const std::pair<uint64_t, DateEncoding> all[] = {
            {exif, DateEncoding::ExifText}, {xmp, DateEncoding::XmpText}, {date, DateEncoding::IptcDate},
            {time, DateEncoding::IptcTime}, {s32, DateEncoding::Seconds1904x32}, {s64, DateEncoding::Seconds1904x64}};
        for (const auto &f : all)
            put(f.first, spelled(f.second, t));
        put(digest, md5());
    }
    void put(uint64_t offset, const QByteArray &b) { std::copy(b.begin(), b.end(), bytes.begin() + ptrdiff_t(offset)); }
    QByteArray md5() const
    {
        return QCryptographicHash::hash(QByteArray(reinterpret_cast<const char *>(bytes.data()) + coverFrom, coverLength),
                                        QCryptographicHash::Md5);
    }
    static std::vector<DateField> fields()
    {
        std::vector<DateField> out;
        const std::pair<uint64_t, DateEncoding> all[] = {
            {s64, DateEncoding::Seconds1904x64}, {exif, DateEncoding::ExifText}, {xmp, DateEncoding::XmpText},
            {date, DateEncoding::IptcDate}, {time, DateEncoding::IptcTime}, {s32, DateEncoding::Seconds1904x32}};
        for (const auto &f : all) {   // not in offset order: the plan sorts
            DateField d;
            d.offset = f.first;
            d.encoding = f.second;
            d.width = DateCodec::width(f.second);
            out.push_back(d);
        }
        return out;
    }
    static std::vector<DerivedField> derived()
    {
        DerivedField d;
        d.offset = digest;
        d.width = 16;
        d.coverOffset = coverFrom;
        d.coverLength = coverLength;
        return {d};
    }
};

std::vector<unsigned char> applied(std::vector<unsigned char> bytes, const DateShift::Plan &plan)
{
    for (const DateShift::Run &r : plan.runs) {
        if (r.to.size() != r.from.size() || r.offset + r.to.size() > bytes.size())
            return {};
        std::copy(r.to.begin(), r.to.end(), bytes.begin() + ptrdiff_t(r.offset));
    }
    return bytes;
}

QString describe(const DateShift::Plan &p)
{
    QStringList parts;
    const char *names[] = {"exif", "xmp", "date", "time", "s32", "s64"};
    for (const auto &m : p.moved)
        parts << QString("%1 %2").arg(names[int(m.first)]).arg(m.second);
    parts << QString("digests %1").arg(p.digestsUpdated);
    return parts.join(", ");
}

} // namespace

class TestDateCodec : public QObject {
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void calendar_data();
    void calendar();
    void epochAgreesWithQt();
    void plan_data();
    void plan();
    void memorySource();
};

void TestDateCodec::decode_data()
{
    QTest::addColumn<DateEncoding>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("time");   // empty: no time
    using E = DateEncoding;
    auto row = [](const char *name, E e, const QByteArray &b, const char *t) { QTest::newRow(name) << e << b << QString(t); };

    row("exif", E::ExifText, "2008:03:16 10:52:01", "2008-03-16 10:52:01");
    row("exif leap day", E::ExifText, "2000:02:29 23:59:59", "2000-02-29 23:59:59");
    row("exif no leap day in 1900", E::ExifText, "1900:02:29 12:00:00", "");
    row("exif no leap day in 2009", E::ExifText, "2009:02:29 12:00:00", "");
    row("exif April 31", E::ExifText, "2009:04:31 12:00:00", "");
    row("exif month 13, month 0, day 0", E::ExifText, "2009:13:01 12:00:00", "");
    row("exif month 0", E::ExifText, "2009:00:10 12:00:00", "");
    row("exif day 0", E::ExifText, "2009:01:00 12:00:00", "");
    row("exif hour 24", E::ExifText, "2009:01:01 24:00:00", "");
    row("exif second 60", E::ExifText, "2009:01:01 23:59:60", "");
    row("exif year 999", E::ExifText, "0999:12:31 23:59:59", "");
    row("exif year 1000", E::ExifText, "1000:01:01 00:00:00", "1000-01-01 00:00:00");
    row("exif blank", E::ExifText, "    :  :     :  :  ", "");
    row("exif sign in a digit place", E::ExifText, "2008:03:16 10:52:+1", "");
    row("exif with XMP separators", E::ExifText, "2008-03-16T10:52:01", "");
    row("exif one byte short", E::ExifText, "2008:03:16 10:52:0", "");
    row("exif with a NUL after it", E::ExifText, QByteArray("2008:03:16 10:52:01\0", 20), "");
    row("xmp", E::XmpText, "2008-03-16T10:52:01", "2008-03-16 10:52:01");
    row("xmp with a space", E::XmpText, "2008-03-16 10:52:01", "");
    row("iptc date", E::IptcDate, "20080316", "2008-03-16 00:00:00");
    row("iptc date not a day", E::IptcDate, "20080230", "");
    row("iptc date with a dash", E::IptcDate, "2008-316", "");
    row("iptc time", E::IptcTime, "105201", "1904-01-01 10:52:01");
    row("iptc time hour 24", E::IptcTime, "240000", "");
    row("s32 zero is not set", E::Seconds1904x32, QByteArray(4, '\0'), "");
    row("s32 one second", E::Seconds1904x32, QByteArray::fromHex("00000001"), "1904-01-01 00:00:01");
    row("s32 1970", E::Seconds1904x32, QByteArray::fromHex("7C25B080"), "1970-01-01 00:00:00");
    row("s32 last", E::Seconds1904x32, QByteArray::fromHex("FFFFFFFF"), "2040-02-06 06:28:15");
    row("s64 after 32 bits", E::Seconds1904x64, QByteArray::fromHex("0000000100000000"), "2040-02-06 06:28:16");
    row("s64 zero", E::Seconds1904x64, QByteArray(8, '\0'), "");
    row("s64 year 10000", E::Seconds1904x64, QByteArray::fromHex("0000003B7C19F200"), "");
    row("s64 all ones", E::Seconds1904x64, QByteArray::fromHex("FFFFFFFFFFFFFFFF"), "");
    row("s64 in 4 bytes", E::Seconds1904x64, QByteArray::fromHex("7C25B080"), "");
}

void TestDateCodec::decode()
{
    QFETCH(DateEncoding, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, time);
    WallClock t = at(1, 1, 1);
    const bool ok = DateCodec::decode(encoding, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                      size_t(bytes.size()), &t);
    QCOMPARE(ok, !time.isEmpty());
    QCOMPARE(show(t), ok ? time : QString("0001-01-01 00:00:00"));   // untouched when refused
    if (ok && encoding != DateEncoding::IptcDate && encoding != DateEncoding::IptcTime)
        QCOMPARE(spelled(encoding, t), bytes);
}

void TestDateCodec::encode_data()
{
    QTest::addColumn<DateEncoding>("encoding");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QByteArray>("bytes");   // empty: refused
    using E = DateEncoding;
    auto row = [](const char *name, E e, const char *t, const QByteArray &b) { QTest::newRow(name) << e << QString(t) << b; };

    row("exif last", E::ExifText, "9999-12-31 23:59:59", "9999:12:31 23:59:59");
    row("exif first", E::ExifText, "1000-01-01 00:00:00", "1000:01:01 00:00:00");
    row("exif year 999", E::ExifText, "0999-12-31 23:59:59", "");
    row("exif year 10000", E::ExifText, "10000-01-01 00:00:00", "");
    row("exif February 30", E::ExifText, "2008-02-30 00:00:00", "");
    row("xmp", E::XmpText, "2011-12-31 23:59:30", "2011-12-31T23:59:30");
    row("iptc date", E::IptcDate, "2011-12-31 23:59:30", "20111231");
    row("iptc time", E::IptcTime, "2011-12-31 23:59:30", "235930");
    row("s32 first second is not set", E::Seconds1904x32, "1904-01-01 00:00:00", "");
    row("s32 before 1904", E::Seconds1904x32, "1903-12-31 23:59:59", "");
    row("s32 last", E::Seconds1904x32, "2040-02-06 06:28:15", QByteArray::fromHex("FFFFFFFF"));
    row("s32 past 32 bits", E::Seconds1904x32, "2040-02-06 06:28:16", "");
    row("s64 past 32 bits", E::Seconds1904x64, "2040-02-06 06:28:16", QByteArray::fromHex("0000000100000000"));
    row("s64 last", E::Seconds1904x64, "9999-12-31 23:59:59", QByteArray::fromHex("0000003B7C19F1FF"));
}

void TestDateCodec::encode()
{
    QFETCH(DateEncoding, encoding);
    QFETCH(QString, time);
    QFETCH(QByteArray, bytes);
    unsigned char out[32];
    std::fill(std::begin(out), std::end(out), '#');
    const bool ok = DateCodec::encode(encoding, parse(time), out);
    QCOMPARE(ok, !bytes.isEmpty());
    const int width = int(DateCodec::width(encoding));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), width + 1),
             (ok ? bytes : QByteArray(width, '#')) + '#');   // nothing written past the width, nothing when refused
}

void TestDateCodec::calendar_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("to");   // empty: no valid time
    auto row = [](const char *name, const char *f, qint64 s, const char *t) { QTest::newRow(name) << QString(f) << s << QString(t); };
    row("into a leap day", "2008-02-28 23:59:59", 1, "2008-02-29 00:00:00");
    row("over 2100's missing leap day", "2100-02-28 12:00:00", 86400, "2100-03-01 12:00:00");
    row("over 2000's leap day", "2000-02-28 12:00:00", 86400, "2000-02-29 12:00:00");
    row("back over a year", "2009-01-01 00:00:30", -31, "2008-12-31 23:59:59");
    row("ten thousand days back", "2008-03-16 10:52:01", -864000000, "1980-10-29 10:52:01");
    row("to the last second", "9999-12-31 23:59:58", 1, "9999-12-31 23:59:59");
    row("past the last second", "9999-12-31 23:59:59", 1, "");
    row("before the first second", "1000-01-01 00:00:00", -1, "");
    row("as far as it goes", "2008-03-16 10:52:01", std::numeric_limits<qint64>::max(), "");
    row("as far back as it goes", "2008-03-16 10:52:01", std::numeric_limits<qint64>::min(), "");
}

void TestDateCodec::calendar()
{
    QFETCH(QString, from);
    QFETCH(qint64, seconds);
    QFETCH(QString, to);
    const WallClock t = DateCodec::addSeconds(parse(from), seconds);
    QCOMPARE(DateCodec::isValid(t), !to.isEmpty());
    if (!to.isEmpty())
        QCOMPARE(show(t), to);
}

void TestDateCodec::epochAgreesWithQt()
{
    QRandomGenerator random(20081316);
    for (int i = 0; i < 20000; ++i) {
        const QDateTime q = QDateTime(QDate(1000, 1, 1), QTime(0, 0), Qt::UTC)
                                .addSecs(qint64(random.bounded(quint64(9000) * 366 * 86400)));
        if (q.date().year() > 9999)
            continue;
        const WallClock t = at(q.date().year(), q.date().month(), q.date().day(), q.time().hour(), q.time().minute(),
                               q.time().second());
        QVERIFY(DateCodec::isValid(t));
        QCOMPARE(DateCodec::toEpochSeconds(t), q.toSecsSinceEpoch());
        QCOMPARE(show(DateCodec::fromEpochSeconds(q.toSecsSinceEpoch())), show(t));
    }
}

void TestDateCodec::plan_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("exifTextOnly");
    QTest::addColumn<QString>("change");     // what the file holds that differs from the sample
    QTest::addColumn<QString>("moved");      // empty: the plan fails
    const qint64 day = 86400;
    const QString all = "exif 1, xmp 1, date 1, time 1, s32 1, s64 1, digests 1";
    QTest::newRow("every field and the digest") << day + 3723 << false << "" << all;
    QTest::newRow("backwards over a year") << -200 * day << false << "" << all;
    QTest::newRow("EXIF text only") << day << true << "" << "exif 1, digests 0";
    QTest::newRow("a field no longer the time") << day << false << "xmp" << "exif 1, date 1, time 1, s32 1, s64 1, digests 1";
    QTest::newRow("a digest no longer current") << day << false << "digest" << "exif 1, xmp 1, date 1, time 1, s32 1, s64 1, digests 0";
    QTest::newRow("no IPTC field moves, the digest stays") << day << false << "iptc" << "exif 1, xmp 1, s32 1, s64 1, digests 0";
    QTest::newRow("past 32 bits of seconds") << 40 * 365 * day << false << "" << "";
    QTest::newRow("past the year 9999") << 8000 * 366 * day << false << "" << "";
    QTest::newRow("a field past the end") << day << false << "cut" << "";
}

void TestDateCodec::plan()
{
    QFETCH(qint64, seconds);
    QFETCH(bool, exifTextOnly);
    QFETCH(QString, change);
    QFETCH(QString, moved);
    const WallClock capture = at(2008, 3, 16, 10, 52, 1);
    const WallClock shifted = DateCodec::addSeconds(capture, seconds);
    Sample before(capture);
    if (change == "xmp")
        before.put(Sample::xmp, "2008-03-16T10:52:02");
    if (change == "digest")
        before.put(Sample::digest, QByteArray(16, 'x'));
    if (change == "iptc") {
        before.put(Sample::date, "20080317");
        before.put(Sample::time, "105200");
        before.put(Sample::digest, before.md5());
    }
    if (change == "cut")
        before.bytes.resize(Sample::s64 + 7);

    MemorySource file(before.bytes);
    DateShift::Plan plan;
    const bool ok = DateShift::plan(file, Sample::fields(), Sample::derived(), capture, seconds, exifTextOnly, &plan);
    QCOMPARE(ok, !moved.isEmpty());
    if (!ok)
        return;
    QCOMPARE(describe(plan), moved);
    for (size_t i = 1; i < plan.runs.size(); ++i)
        QVERIFY(plan.runs[i - 1].offset + plan.runs[i - 1].to.size() <= plan.runs[i].offset);

    // Each field that moved spells the shifted time (the IPTC fields their
    // part of it); every other byte, the digest aside, is as it was.
    const std::vector<unsigned char> after = applied(before.bytes, plan);
    Sample expected(shifted);
    for (const DateField &f : Sample::fields())
        if (!plan.moved.count(f.encoding))
            expected.put(f.offset, QByteArray(reinterpret_cast<const char *>(before.bytes.data() + f.offset), int(f.width)));
    expected.put(Sample::digest, plan.digestsUpdated ? expected.md5()
                                                     : QByteArray(reinterpret_cast<const char *>(before.bytes.data()) + Sample::digest, 16));
    QCOMPARE(after, expected.bytes);
}

void TestDateCodec::memorySource()
{
    // Bytes that stand 100 bytes into a file of 110.
    const unsigned char data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    MemorySource part(data, sizeof data, 100);
    QCOMPARE(part.size(), uint64_t(110));
    unsigned char out[4] = {};
    QVERIFY(part.readAt(106, out, 4));
    QCOMPARE(int(out[0]), 6);
    QVERIFY(part.readAt(110, out, 0));
    QVERIFY(!part.readAt(107, out, 4));   // one past the end
    QVERIFY(!part.readAt(99, out, 1));    // before the bytes held
    QVERIFY(!part.readAt(UINT64_MAX, out, 2));
}

QTEST_APPLESS_MAIN(TestDateCodec)
#include "tst_datecodec.moc"
