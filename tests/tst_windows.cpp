// Windows only: kelvaro-cli.exe on trees that test what differs on Windows:
// names outside the ANSI code page, the read-only attribute, file times
// outside the C runtime's range (before 1970, after 2038, kept to the 100 ns),
// local time from the system's zone whatever TZ says, hard links told apart
// by file index, and no terminal behind NUL.
#include "capturedate.h"
#include "jpegbuilder.h"
#include "datereader.h"
#include "filerewrite.h"
#include "openedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <windows.h>

using namespace jpegtest;

namespace {

Bytes picture(const std::string &date)
{
    ExifBlock exif(ByteOrder::Intel);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::DateTime, date).subDirectory(0, tag::ExifIfd, sub)
        .ascii(sub, tag::DateTimeOriginal, date).ascii(sub, tag::DateTimeDigitized, date);
    return Jpeg::camera(exif).bytes();
}

bool put(const QString &path, const std::string &date)
{
    return QDir().mkpath(QFileInfo(path).path()) && writeFile(path.toUtf8().toStdString(), picture(date));
}

struct Run {
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run cli(const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());   // NUL: a character device, no console
    process.start(QStringLiteral(KELVARO_CLI), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString dateOf(const QString &path)
{
    return QString::fromLatin1(DateReader::read(path).oldText);
}

// The file's modification time as Windows holds it, in 100 ns steps since 1601.
qint64 fileTicks(const QString &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                              GetFileExInfoStandard, &data))
        return -1;
    return qint64((quint64(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
}

qint64 ticksOf(qint64 secondsSinceEpoch)
{
    return (secondsSinceEpoch + 11644473600LL) * 10000000LL;
}

// The instant a capture date names when read as local time.
qint64 localSeconds(const char *text)
{
    qint64 seconds = 0;
    CaptureDate::localInstant(CaptureDate::parse(text, CaptureDate::textLength), &seconds);
    return seconds;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void namesOutsideTheAnsiCodePage();
    void readOnlyAttribute();
    void fileTimes_data();
    void fileTimes();
    void keptFileTimesStayExact();
    void localTimeIsTheSystemZone_data();
    void localTimeIsTheSystemZone();
    void hardLinkIsShiftedOnce();
    void nulIsNoTerminal();
};

// The expected local times below follow the system's zone, as kelvaro-cli's do.
void TestWindows::initTestCase()
{
    CaptureDate::useSystemTimeZone();
}

void TestWindows::namesOutsideTheAnsiCodePage()
{
    QTemporaryDir temporary;
    const QString top = temporary.filePath(QString::fromUtf8("Ærøskøbing Ἀθῆναι 北京 😀"));
    const QString first = top + QString::fromUtf8("/Ωμέγα 日本 ✓.jpg");
    const QString second = top + QString::fromUtf8("/Привет/ß € 한국.JPG");
    QVERIFY(put(first, "2012:05:06 10:00:00"));
    QVERIFY(put(second, "2011:01:01 08:30:00"));
    QVERIFY(QFileInfo::exists(first) && QFileInfo::exists(second));

    const Run dates = cli({"dates", top, "--list", "--json"});
    QCOMPARE(dates.exitCode, 0);
    QCOMPARE(dates.json()["pictures"].toInt(), 2);
    QCOMPARE(dates.json()["valid"].toInt(), 2);
    QCOMPARE(dates.json()["oldest"].toString(), QStringLiteral("2011:01:01 08:30:00"));
    QStringList listed;
    for (const QJsonValue &entry : dates.json()["list"].toArray())
        listed << entry.toObject()["path"].toString();
    listed.sort();
    QCOMPARE(listed, QStringList({first, second}));   // the names come back in UTF-8, unchanged

    const Run shift = cli({"shift", top, "--by", "3600", "--yes", "--json"});
    QCOMPARE(shift.exitCode, 0);
    QCOMPARE(shift.json()["changed"].toInt(), 2);
    QCOMPARE(dateOf(first), QStringLiteral("2012:05:06 11:00:00"));
    QCOMPARE(dateOf(second), QStringLiteral("2011:01:01 09:30:00"));
}

void TestWindows::readOnlyAttribute()
{
    QTemporaryDir top;
    const QString open = top.filePath("open.jpg"), locked = top.filePath("locked.jpg");
    QVERIFY(put(open, "2012:05:06 10:00:00"));
    QVERIFY(put(locked, "2012:05:06 10:00:00"));
    QVERIFY(SetFileAttributesW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(locked).utf16()),
                               FILE_ATTRIBUTE_READONLY));
    const Bytes before = readFile(locked.toUtf8().toStdString());
    const qint64 ticks = fileTicks(locked);

    const Run run = cli({"shift", top.path(), "--by", "60", "--yes", "--json"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.json()["changed"].toInt(), 1);
    QCOMPARE(run.json()["not_changed"].toInt(), 1);
    QVERIFY2(run.err.contains("read-only, not changed : " + locked.toUtf8()), run.err.constData());
    QVERIFY(readFile(locked.toUtf8().toStdString()) == before);
    QCOMPARE(fileTicks(locked), ticks);
    QCOMPARE(dateOf(open), QStringLiteral("2012:05:06 10:01:00"));

    SetFileAttributesW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(locked).utf16()),
                       FILE_ATTRIBUTE_NORMAL);
}

void TestWindows::fileTimes_data()
{
    QTest::addColumn<QString>("date");       // the capture date before the shift
    QTest::addColumn<QString>("oldestTo");   // and after it
    QTest::newRow("before 1970") << "2012:05:06 10:00:00" << "1969:07:20 20:17:40";
    QTest::newRow("long before 1970") << "2012:05:06 10:00:00" << "1901:12:13 20:45:52";
    QTest::newRow("after 2038") << "2012:05:06 10:00:00" << "2040:02:29 12:00:00";
    QTest::newRow("far after 2038") << "1999:12:31 23:59:59" << "2200:12:31 23:59:59";
}

// The files' times follow the new capture dates wherever they lie: the C
// runtime's _utime64 would refuse those before 1970.
void TestWindows::fileTimes()
{
    QFETCH(QString, date);
    QFETCH(QString, oldestTo);
    QTemporaryDir top;
    const QString path = top.filePath("x.jpg");
    QVERIFY(put(path, date.toStdString()));

    const Run run = cli({"shift", top.path(), "--oldest-to", oldestTo, "--yes", "--json"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.json()["changed"].toInt(), 1);
    QCOMPARE(dateOf(path), oldestTo);
    const QByteArray text = oldestTo.toLatin1();
    QCOMPARE(fileTicks(path), ticksOf(localSeconds(text.constData())));
    QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), localSeconds(text.constData()));
}

void TestWindows::keptFileTimesStayExact()
{
    QTemporaryDir top;
    const QString path = top.filePath("kept.jpg");
    QVERIFY(put(path, "2012:05:06 10:00:00"));
    // 1955-11-05 06:15:00.1234567 UTC, a time the C runtime cannot even read.
    const qint64 ticks = ticksOf(QDateTime(QDate(1955, 11, 5), QTime(6, 15), Qt::UTC).toSecsSinceEpoch()) + 1234567;
    FILETIME time;
    time.dwLowDateTime = DWORD(quint64(ticks) & 0xffffffffu);
    time.dwHighDateTime = DWORD(quint64(ticks) >> 32);
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                      FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    QVERIFY(handle != INVALID_HANDLE_VALUE);
    QVERIFY(SetFileTime(handle, nullptr, &time, &time));
    CloseHandle(handle);
    QCOMPARE(fileTicks(path), ticks);

    const Run run = cli({"shift", top.path(), "--by", "-86400", "--keep-file-times", "--yes"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(dateOf(path), QStringLiteral("2012:05:05 10:00:00"));
    QCOMPARE(fileTicks(path), ticks);
}

void TestWindows::localTimeIsTheSystemZone_data()
{
    QTest::addColumn<QString>("tz");        // the TZ variable kelvaro-cli.exe is started with
    QTest::addColumn<QString>("date");      // the capture date, shifted by an hour
    QTest::addColumn<QDateTime>("utc");     // the shifted date in Berlin, as UTC
    const QDateTime summer(QDate(2012, 5, 6), QTime(9, 0), Qt::UTC), winter(QDate(2012, 1, 15), QTime(10, 0), Qt::UTC);
    // The C runtime reads "Europe/Berlin" as a zone an hour east without
    // summer time, "EST5EDT" as New York's.
    QTest::newRow("the zone's own name, summer") << "Europe/Berlin" << "2012:05:06 10:00:00" << summer;
    QTest::newRow("the zone's own name, winter") << "Europe/Berlin" << "2012:01:15 10:00:00" << winter;
    QTest::newRow("another zone") << "EST5EDT" << "2012:05:06 10:00:00" << summer;
    QTest::newRow("UTC") << "UTC" << "2012:01:15 10:00:00" << winter;
    QTest::newRow("the morning the clocks went forward")
        << "Europe/Berlin" << "2012:03:25 03:00:00" << QDateTime(QDate(2012, 3, 25), QTime(2, 0), Qt::UTC);
}

// The file times are the new capture time in the system's zone, whatever a TZ
// variable says. The test runs with the system's zone at Europe/Berlin (under
// Wine: started with that Unix TZ, see windows.cmake).
void TestWindows::localTimeIsTheSystemZone()
{
    QFETCH(QString, tz);
    QFETCH(QString, date);
    QFETCH(QDateTime, utc);
    TIME_ZONE_INFORMATION zone;
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID || zone.Bias != -60 || zone.DaylightBias != -60)
        QSKIP("the system's time zone is not Central European Time");
    QTemporaryDir top;
    const QString path = top.filePath("x.jpg");
    QVERIFY(put(path, date.toStdString()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), tz);

    const Run run = cli({"shift", top.path(), "--by", "3600", "--yes", "--json"}, environment);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.json()["changed"].toInt(), 1);
    QCOMPARE(fileTicks(path), ticksOf(utc.toSecsSinceEpoch()));
}

void TestWindows::hardLinkIsShiftedOnce()
{
    QTemporaryDir top;
    const QString original = top.filePath("a/x.jpg"), second = top.filePath("b/x2.jpg");
    QVERIFY(put(original, "2012:05:06 10:00:00"));
    QVERIFY(QDir().mkpath(top.filePath("b")));
    QVERIFY(CreateHardLinkW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(second).utf16()),
                            reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(original).utf16()),
                            nullptr));

    const Run dates = cli({"dates", top.path(), "--json"});
    QCOMPARE(dates.exitCode, 0);
    QCOMPARE(dates.json()["pictures"].toInt(), 1);

    const Run shift = cli({"shift", top.path(), "--by", "3600", "--yes", "--json"});
    QCOMPARE(shift.exitCode, 0);
    QCOMPARE(shift.json()["changed"].toInt(), 1);
    QCOMPARE(dateOf(original), QStringLiteral("2012:05:06 11:00:00"));   // once, not twice
}

// _isatty() says yes for NUL; the command must still see that nobody can answer.
void TestWindows::nulIsNoTerminal()
{
    QTemporaryDir top;
    const QString path = top.filePath("x.jpg");
    QVERIFY(put(path, "2012:05:06 10:00:00"));
    const Run run = cli({"shift", top.path(), "--by", "60"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("no terminal to ask for confirmation"), run.err.constData());
    QCOMPARE(dateOf(path), QStringLiteral("2012:05:06 10:00:00"));
    QVERIFY(!run.out.contains('\r'));   // LF line ends, as elsewhere
}

QTEST_GUILESS_MAIN(TestWindows)
#include "tst_windows.moc"
