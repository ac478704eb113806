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
    static constexpr uint64_t exif = 3, xmp = 30, date = 60, time = 70, s32 = 80, s64 = 90, s70 = 130, riff = 140;
    static constexpr uint64_t digest = 110, coverFrom = 58, coverLength = 20;
    std::vector<unsigned char> bytes = std::vector<unsigned char>(170, '.');

    explicit Sample(const WallClock &t)
    {
        const std::pair<uint64_t, DateEncoding> all[] = {
            {exif, DateEncoding::ExifText}, {xmp, DateEncoding::XmpText}, {date, DateEncoding::IptcDate},
            {time, DateEncoding::IptcTime}, {s32, DateEncoding::Seconds1904x32}, {s64, DateEncoding::Seconds1904x64},
            {s70, DateEncoding::Seconds1970x32LE}, {riff, DateEncoding::RiffText}};
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
            {date, DateEncoding::IptcDate}, {time, DateEncoding::IptcTime}, {s70, DateEncoding::Seconds1970x32LE},
            {riff, DateEncoding::RiffText}, {s32, DateEncoding::Seconds1904x32}};
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
    const char *names[] = {"exif", "xmp", "date", "time", "s32", "s64", "s70", "riff"};
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
    void spellsPair_data();
    void spellsPair();
    void calendar_data();
    void calendar();
    void epochAgreesWithQt();
    void plan_data();
    void plan();
    void memorySource();
    void spellsShift_data();
    void spellsShift();
    void planKeepsEachFieldsDistance_data();
    void planKeepsEachFieldsDistance();
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
    row("s70 zero is not set", E::Seconds1970x32LE, QByteArray(4, '\0'), "");
    row("s70 one second", E::Seconds1970x32LE, QByteArray::fromHex("01000000"), "1970-01-01 00:00:01");
    row("s70 low byte first", E::Seconds1970x32LE, QByteArray::fromHex("DC8B6A42"), "2005-04-23 17:54:36");
    row("s70 last", E::Seconds1970x32LE, QByteArray::fromHex("FFFFFFFF"), "2106-02-07 06:28:15");
    row("s70 in 8 bytes", E::Seconds1970x32LE, QByteArray::fromHex("DC8B6A4200000000"), "");
    row("riff", E::RiffText, "MON SEP 10 20:52:00 2012", "2012-09-10 20:52:00");
    row("riff leap day", E::RiffText, "TUE FEB 29 23:59:59 2000", "2000-02-29 23:59:59");
    row("riff first year", E::RiffText, "WED JAN 15 00:00:00 1000", "1000-01-15 00:00:00");
    row("riff last year", E::RiffText, "FRI DEC 31 23:59:59 9999", "9999-12-31 23:59:59");
    row("riff a weekday not the date's", E::RiffText, "SUN SEP 10 20:52:00 2012", "");
    row("riff mixed case", E::RiffText, "Mon Sep 10 20:52:00 2012", "");
    row("riff no such month", E::RiffText, "MON SPT 10 20:52:00 2012", "");
    row("riff no such weekday", E::RiffText, "MOO SEP 10 20:52:00 2012", "");
    row("riff February 30", E::RiffText, "SAT FEB 30 20:52:00 2012", "");
    row("riff a day padded with a zero", E::RiffText, "SUN SEP 09 20:52:00 2012", "");
    row("riff a day padded with a space, as asctime() writes it", E::RiffText, "SUN SEP  9 20:52:00 2012",
        "2012-09-09 20:52:00");
    row("riff a space before a zero", E::RiffText, "SUN SEP  0 20:52:00 2012", "");
    row("riff a day of one digit, the text a byte short", E::RiffText, "SUN SEP 9 20:52:00 2012", "");
    row("riff hour 24", E::RiffText, "MON SEP 10 24:52:00 2012", "");
    row("riff EXIF text in its place", E::RiffText, "2012:09:10 20:52:00     ", "");
    row("riff with its line's end", E::RiffText, "MON SEP 10 20:52:00 2012\n", "");
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
    row("s70 first second is not set", E::Seconds1970x32LE, "1970-01-01 00:00:00", "");
    row("s70 before 1970", E::Seconds1970x32LE, "1969-12-31 23:59:59", "");
    row("s70", E::Seconds1970x32LE, "2005-04-23 17:54:36", QByteArray::fromHex("DC8B6A42"));
    row("s70 last", E::Seconds1970x32LE, "2106-02-07 06:28:15", QByteArray::fromHex("FFFFFFFF"));
    row("s70 past 32 bits", E::Seconds1970x32LE, "2106-02-07 06:28:16", "");
    row("riff", E::RiffText, "2012-09-10 20:52:00", "MON SEP 10 20:52:00 2012");
    row("riff every month's name", E::RiffText, "2019-11-30 01:02:03", "SAT NOV 30 01:02:03 2019");
    row("riff a Sunday", E::RiffText, "2008-03-16 10:52:01", "SUN MAR 16 10:52:01 2008");
    row("riff a day below 10, a space before its digit", E::RiffText, "2012-09-09 20:52:00", "SUN SEP  9 20:52:00 2012");
    row("riff year 10000", E::RiffText, "10000-01-11 00:00:00", "");
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

void TestDateCodec::spellsPair_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("pair");
    const WallClock a = at(2005, 4, 23, 17, 54, 36), b = at(2005, 4, 24, 18, 54, 36);
    auto row = [](const char *name, DateEncoding ef, const WallClock &f, DateEncoding et, const WallClock &t, bool pair) {
        QTest::newRow(name) << spelled(ef, f) << spelled(et, t) << pair;
    };
    using E = DateEncoding;
    row("exif texts", E::ExifText, a, E::ExifText, b, true);
    row("seconds since 1904", E::Seconds1904x32, a, E::Seconds1904x32, b, true);
    row("seconds since 1970, low byte first", E::Seconds1970x32LE, a, E::Seconds1970x32LE, b, true);
    row("the pair the wrong way round", E::Seconds1970x32LE, b, E::Seconds1970x32LE, a, false);
    row("two encodings of one width", E::Seconds1970x32LE, a, E::Seconds1904x32, b, false);
    row("IDIT texts, the weekday moved with the day", E::RiffText, a, E::RiffText, b, true);
    row("the same time twice", E::Seconds1970x32LE, a, E::Seconds1970x32LE, a, false);
}

void TestDateCodec::spellsPair()
{
    // A journal's run is taken back only when its bytes are the shift's two times.
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, pair);
    const WallClock a = at(2005, 4, 23, 17, 54, 36), b = at(2005, 4, 24, 18, 54, 36);
    QCOMPARE(DateCodec::spellsPair(reinterpret_cast<const unsigned char *>(from.constData()),
                                   reinterpret_cast<const unsigned char *>(to.constData()), size_t(from.size()), a, b),
             pair);
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
    const QString all = "exif 1, xmp 1, date 1, time 1, s32 1, s64 1, s70 1, riff 1, digests 1";
    QTest::newRow("every field and the digest") << day + 3723 << false << "" << all;
    QTest::newRow("backwards over a year") << -200 * day << false << "" << all;
    QTest::newRow("the camera's fields only") << day << true << "" << "exif 1, s32 1, s64 1, s70 1, riff 1, digests 0";
    QTest::newRow("a field no longer the time") << day << false << "xmp" << "exif 1, date 1, time 1, s32 1, s64 1, s70 1, riff 1, digests 1";
    QTest::newRow("a digest no longer current") << day << false << "digest" << "exif 1, xmp 1, date 1, time 1, s32 1, s64 1, s70 1, riff 1, digests 0";
    QTest::newRow("no IPTC field moves, the digest stays") << day << false << "iptc" << "exif 1, xmp 1, s32 1, s64 1, s70 1, riff 1, digests 0";
    QTest::newRow("past 32 bits of seconds") << 40 * 365 * day << false << "" << "";
    QTest::newRow("before 1970, where seconds since 1970 end") << -40 * 365 * day << false << "" << "";
    QTest::newRow("past the year 9999") << 8000 * 366 * day << false << "" << "";
    QTest::newRow("onto a day below 10") << -7 * day << false << ""
                                         << "exif 1, xmp 1, date 1, time 1, s32 1, s64 1, s70 1, riff 1, digests 1";
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

void TestDateCodec::spellsShift_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("shift");   // the two are an hour apart
    const WallClock a = at(2019, 7, 24, 8, 25, 57), b = at(2019, 7, 24, 9, 25, 57);
    auto row = [](const char *name, const QByteArray &f, const QByteArray &t, bool shift) {
        QTest::newRow(name) << f << t << shift;
    };
    using E = DateEncoding;
    row("exif texts", spelled(E::ExifText, a), spelled(E::ExifText, b), true);
    row("seconds since 1904", spelled(E::Seconds1904x32, a), spelled(E::Seconds1904x32, b), true);
    row("64-bit seconds", spelled(E::Seconds1904x64, a), spelled(E::Seconds1904x64, b), true);
    row("the wrong way round", spelled(E::ExifText, b), spelled(E::ExifText, a), false);
    row("an hour and a second", spelled(E::ExifText, a), spelled(E::ExifText, at(2019, 7, 24, 9, 25, 58)), false);
    row("two encodings mixed", spelled(E::ExifText, a), spelled(E::XmpText, b), false);
    row("a date only (IPTC)", "20190724", "20190725", false);
    row("IDIT texts", spelled(E::RiffText, a), spelled(E::RiffText, b), true);
    row("IDIT texts, one weekday wrong", "WED JUL 24 08:25:57 2019", "THU JUL 24 09:25:57 2019", false);
    row("no date", "2019:07:24 08:25:5x", spelled(E::ExifText, b), false);
}

void TestDateCodec::spellsShift()
{
    // A run of a field that keeps its distance from the capture time (a UTC
    // copy) is taken back only when it is two times the shift apart.
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, shift);
    QCOMPARE(DateCodec::spellsShift(reinterpret_cast<const unsigned char *>(from.constData()),
                                    reinterpret_cast<const unsigned char *>(to.constData()), size_t(from.size()), 3600),
             shift);
}

void TestDateCodec::planKeepsEachFieldsDistance_data()
{
    QTest::addColumn<qint64>("skew");      // of the second field, which holds the capture time moved by it
    QTest::addColumn<qint64>("holds");     // what it holds, from the capture time
    QTest::addColumn<bool>("moves");
    QTest::newRow("a UTC copy three hours behind") << qint64(-3 * 3600) << qint64(-3 * 3600) << true;
    QTest::newRow("the end of a recording 17 s later") << qint64(17) << qint64(17) << true;
    QTest::newRow("a copy that is the capture time itself, taken for a UTC copy") << qint64(-3 * 3600) << qint64(0)
                                                                                  << false;
    QTest::newRow("a plain copy") << qint64(0) << qint64(0) << true;
}

void TestDateCodec::planKeepsEachFieldsDistance()
{
    QFETCH(qint64, skew);
    QFETCH(qint64, holds);
    QFETCH(bool, moves);
    const WallClock capture = at(2019, 7, 24, 11, 25, 40);
    const qint64 seconds = 86400 + 61;
    std::vector<unsigned char> bytes(40, '.');
    const QByteArray first = spelled(DateEncoding::ExifText, capture);
    const QByteArray second = spelled(DateEncoding::Seconds1904x32, DateCodec::addSeconds(capture, holds));
    std::copy(first.begin(), first.end(), bytes.begin());
    std::copy(second.begin(), second.end(), bytes.begin() + 30);
    DateField f1, f2;
    f1.offset = 0;
    f1.width = 19;
    f1.role = DateRole::Capture;
    f2.offset = 30;
    f2.width = 4;
    f2.encoding = DateEncoding::Seconds1904x32;
    f2.skew = skew;
    MemorySource file(bytes);
    DateShift::Plan plan;
    QVERIFY(DateShift::plan(file, {f1, f2}, {}, capture, seconds, false, &plan));
    QVERIFY(plan.captureMoved);
    QCOMPARE(int(plan.runs.size()), moves ? 2 : 1);
    if (moves)
        QCOMPARE(QByteArray::fromStdString(plan.runs[1].to),
                 spelled(DateEncoding::Seconds1904x32, DateCodec::addSeconds(capture, holds + seconds)));
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
