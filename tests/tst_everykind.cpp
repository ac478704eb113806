// Every kind of file in one tree, shifted by kelvaro-cli in one pass: each
// file's times read by an outside reader (exiftool) move by exactly the shift,
// and undo gives every byte back. Videos that keep their time in UTC are shown
// in local time, and a shift past what a 32-bit header can hold is refused.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "cameratally.h"
#include "capturedate.h"
#include "formatlist.h"
#include "isolatedhome.h"
#include "moviebuilder.h"
#include "samplefiles.h"
#include "triptree.h"

namespace {

using samples::Bytes;
using trip::outsideTimes;
using trip::wallClock;

struct Run {
    int exitCode = -2;
    QByteArray out, err;
    QString describe() const { return QString("exit %1\n%2\n%3").arg(exitCode).arg(QString(out), QString(err)); }
};

// kelvaro-cli in Berlin's zone (summer: UTC+2), so that a UTC header reads as
// a known local time.
Run cli(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(KELVARO_CLI), arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

bool put(const QString &path, const Bytes &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
           && f.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const char *extensionOf(const char *format)
{
    for (const FileFormat *f : FormatList::all())
        if (qstrcmp(f->name(), format) == 0)
            return f->extensions()[0];
    return "jpg";
}

} // namespace

class TestEveryKind : public QObject {
    Q_OBJECT
private slots:
    void oneShiftMovesEveryKind();
    void aTripMovesByAnHour();
    void aVideoInUtcIsShownInLocalTime();
    void aShiftPastA32BitHeaderIsRefused();
    void aCameraChoiceKeepsTheHeadersLimit();
};

void TestEveryKind::oneShiftMovesEveryKind()
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        QSKIP("exiftool is not installed");
    const std::string t = "2019:07:24 11:25:40";
    const qint64 shift = 86400 + 5400;
    QTemporaryDir top;
    QHash<QString, QByteArray> originals;
    int pictures = 0;
    for (const samples::Sample &s : samples::all()) {
        if (s.fields == 0)
            continue;   // claimed but not supported: tested apart
        const QString name = QStringLiteral("%1.%2").arg(pictures++).arg(QString::fromLatin1(extensionOf(s.format)));
        const Bytes bytes = s.build(t);
        QVERIFY(put(top.filePath(name), bytes));
        originals.insert(name, QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())));
    }
    const auto before = outsideTimes(top.path());
    QCOMPARE(before.size(), pictures);

    const Run shifted = cli({"shift", top.path(), "--by", QString::number(shift), "--yes", "--json"});
    QVERIFY2(shifted.exitCode == 0, qPrintable(shifted.describe()));
    QVERIFY2(shifted.out.contains(QByteArray("\"changed\": ") + QByteArray::number(pictures)),
             qPrintable(shifted.describe()));

    // Each time the outside reader finds moved by exactly the shift; a time
    // that was no date stays as it was.
    const auto after = outsideTimes(top.path());
    const QDateTime capture = wallClock(QString::fromStdString(t));
    QCOMPARE(after.size(), before.size());
    int total = 0;
    for (auto file = before.cbegin(); file != before.cend(); ++file) {
        const QHash<QString, QString> &now = after.value(file.key());
        QCOMPARE(now.size(), file.value().size());
        int moved = 0;
        for (auto tag = file.value().cbegin(); tag != file.value().cend(); ++tag) {
            const QDateTime was = wallClock(tag.value()), is = wallClock(now.value(tag.key()));
            const QString where = file.key() + QLatin1Char(' ') + tag.key() + QLatin1String(": ") + tag.value()
                                  + QLatin1String(" -> ") + now.value(tag.key());
            // IPTC keeps the date and the time apart: each part as the shifted time has it.
            if (tag.value() == capture.toString(QStringLiteral("yyyy:MM:dd"))) {
                QCOMPARE(now.value(tag.key()), capture.addSecs(shift).toString(QStringLiteral("yyyy:MM:dd")));
                continue;
            }
            if (tag.value().startsWith(capture.toString(QStringLiteral("HH:mm:ss")))) {
                QCOMPARE(now.value(tag.key()).left(8), capture.addSecs(shift).toString(QStringLiteral("HH:mm:ss")));
                continue;
            }
            if (!was.isValid()) {
                QVERIFY2(now.value(tag.key()) == tag.value(), qPrintable(where));
                continue;
            }
            QVERIFY2(was.secsTo(is) == shift, qPrintable(where));
            QCOMPARE(now.value(tag.key()).mid(19), tag.value().mid(19));   // its zone as written
            ++moved;
        }
        // exiftool reads no EXIF item stored inside the HEIF's 'idat': such a
        // file is checked by the undo below alone.
        QVERIFY2(moved > 0 || file.value().isEmpty(), qPrintable(file.key()));
        total += moved;
    }

    qInfo("%d files, %d times moved as the outside reader reads them", pictures, total);
    const QString journal = QRegularExpression(QStringLiteral("\"journal\": \"([^\"]+)\""))
                                .match(QString::fromUtf8(shifted.out))
                                .captured(1);
    QVERIFY(!journal.isEmpty());
    const Run undone = cli({"undo", journal, "--yes"});
    QVERIFY2(undone.exitCode == 0, qPrintable(undone.describe()));
    for (auto o = originals.cbegin(); o != originals.cend(); ++o)
        QVERIFY2(contents(top.filePath(o.key())) == o.value(), qPrintable(o.key()));
}

// RAW+JPEG pairs of several makers, a HEIC and two videos shifted by +1 h:
// every copy of each file's capture time moves by the hour as the outside
// reader reads it, a later edit time stays, both files of a pair tell the
// same time, no file changes its length, and undo gives every byte back.
void TestEveryKind::aTripMovesByAnHour()
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        QSKIP("exiftool is not installed");
    const std::string t = "2019:07:24 11:25:40";
    const std::vector<trip::File> files = trip::files(t);
    QTemporaryDir top;
    for (const trip::File &f : files)
        QVERIFY(put(top.filePath(f.name), f.bytes));
    const auto before = outsideTimes(top.path());

    const Run shifted = cli({"shift", top.path(), "--by", "3600", "--yes", "--json"});
    QVERIFY2(shifted.exitCode == 0, qPrintable(shifted.describe()));
    QVERIFY2(shifted.out.contains(QByteArray("\"changed\": ") + QByteArray::number(int(files.size()))),
             qPrintable(shifted.describe()));
    const auto after = outsideTimes(top.path());
    int moved = 0;
    const QString problem = trip::shiftProblem(before, after, t, 3600, files, &moved);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    qInfo("%d files, %d times moved by the hour as the outside reader reads them", int(files.size()), moved);

    for (const trip::File &f : files) {
        QCOMPARE(QFileInfo(top.filePath(f.name)).size(), qint64(f.bytes.size()));
        if (!f.name.endsWith(QLatin1String(".JPG")))
            continue;
        // Its RAW file tells the same capture time.
        // The EXIF DateTimeOriginal (a CR3 keeps it in its own group; XMP's has a fraction).
        auto original = [](const QHash<QString, QString> &times) {
            QStringList keys;
            for (auto i = times.cbegin(); i != times.cend(); ++i)
                if (i.key().endsWith(QLatin1String("] DateTimeOriginal #0")) && !i.key().startsWith(QLatin1String("[XMP")))
                    keys << i.key();
            keys.sort();
            return keys.isEmpty() ? QString() : times.value(keys.contains("[ExifIFD] DateTimeOriginal #0")
                                                                ? QStringLiteral("[ExifIFD] DateTimeOriginal #0")
                                                                : keys.first());
        };
        const QString jpegTime = original(after.value(f.name));
        QCOMPARE(jpegTime, QStringLiteral("2019:07:24 12:25:40"));
        for (const trip::File &raw : files)
            if (raw.name != f.name && raw.name.section(QLatin1Char('.'), 0, 0) == f.name.section(QLatin1Char('.'), 0, 0))
                QCOMPARE(original(after.value(raw.name)), jpegTime);
    }

    const QString journal = QRegularExpression(QStringLiteral("\"journal\": \"([^\"]+)\""))
                                .match(QString::fromUtf8(shifted.out))
                                .captured(1);
    const Run undone = cli({"undo", journal, "--yes"});
    QVERIFY2(undone.exitCode == 0, qPrintable(undone.describe()));
    for (const trip::File &f : files)
        QVERIFY2(contents(top.filePath(f.name)) == QByteArray(reinterpret_cast<const char *>(f.bytes.data()),
                                                               int(f.bytes.size())),
                 qPrintable(f.name));
}

void TestEveryKind::aVideoInUtcIsShownInLocalTime()
{
    // A header alone is UTC: 09:00 UTC is 11:00 in Berlin's summer. A header
    // beside a zoned copy is that copy's wall-clock time.
    QTemporaryDir top;
    QVERIFY(put(top.filePath("utc.mp4"), isotest::Movie("2019:07:24 09:00:00").bytes()));
    QVERIFY(put(top.filePath("zoned.mov"),
                isotest::Movie("2019:07:24 08:25:57").keys("2019-07-24T11:25:40+0300").bytes()));
    const Run list = cli({"dates", top.path(), "--list"});
    QVERIFY2(list.exitCode == 0, qPrintable(list.describe()));
    QVERIFY2(list.out.contains(QFile::encodeName(top.filePath("utc.mp4"))
                               + "\t2019:07:24 11:00:00\tvideo\t(kept in UTC, shown in local time)\n"),
             list.out.constData());
    QVERIFY2(list.out.contains(QFile::encodeName(top.filePath("zoned.mov")) + "\t2019:07:24 11:25:40\tvideo\t(also"),
             list.out.constData());

    // Both move by the shift, each in its own terms, and come back.
    const QByteArray utc = contents(top.filePath("utc.mp4")), zoned = contents(top.filePath("zoned.mov"));
    QVERIFY(cli({"shift", top.path(), "--by", "3600", "--yes"}).exitCode == 0);
    const Run moved = cli({"dates", top.path(), "--list"});
    QVERIFY2(moved.out.contains("\t2019:07:24 12:00:00\tvideo") && moved.out.contains("\t2019:07:24 12:25:40\tvideo"),
             moved.out.constData());
    QVERIFY(cli({"shift", top.path(), "--by", "-3600", "--yes"}).exitCode == 0);
    QVERIFY(contents(top.filePath("utc.mp4")) == utc);
    QVERIFY(contents(top.filePath("zoned.mov")) == zoned);
}

void TestEveryKind::aShiftPastA32BitHeaderIsRefused()
{
    // 32-bit header seconds since 1904 end at 2040-02-06 06:28:15 UTC.
    QTemporaryDir top;
    const Bytes video = isotest::Movie("2040:02:06 05:00:00").bytes();
    QVERIFY(put(top.filePath("late.mp4"), video));
    const QByteArray before = contents(top.filePath("late.mp4"));
    const Run refused = cli({"shift", top.path(), "--by", "7200", "--yes"});
    QVERIFY2(refused.exitCode != 0 && refused.err.contains("the limit of the times its file can hold; nothing was changed"),
             qPrintable(refused.describe()));
    QVERIFY(contents(top.filePath("late.mp4")) == before);
    // An hour fits.
    const Run fits = cli({"shift", top.path(), "--by", "3600", "--yes"});
    QVERIFY2(fits.exitCode == 0, qPrintable(fits.describe()));
    QVERIFY(contents(top.filePath("late.mp4")) != before);
}

// Choosing a camera in the window, after the dates were read, tallies the
// chosen pictures again: a video's header limit must stay with them.
void TestEveryKind::aCameraChoiceKeepsTheHeadersLimit()
{
    CameraTally tally;
    PictureResult video, photo;
    video.status = photo.status = PictureStatus::Usable;
    video.camera = QStringLiteral("Phone");
    photo.camera = QStringLiteral("Camera");
    video.oldDate = CaptureDate::parse(QByteArray("2040:02:06 07:00:00"));
    photo.oldDate = CaptureDate::parse(QByteArray("2012:05:06 10:00:00"));
    video.roomLater = 3600;
    video.roomEarlier = 1000;
    tally.count(QStringLiteral("late.mp4"), video);
    tally.count(QStringLiteral("early.jpg"), photo);
    QVERIFY(!tally.rangeProblem(7200).isEmpty());
    QVERIFY(!tally.rangeProblem(-2000).isEmpty());
    QVERIFY(tally.rangeProblem(1800).isEmpty());
    ShiftChoice phone;
    phone.cameras << QStringLiteral("Phone");
    tally.choose(phone);
    QVERIFY(tally.rangeProblem(7200).contains(QLatin1String("2040:02:06 07:00:00 past 2040:02:06 08:00:00")));
    tally.choose(ShiftChoice());
    QVERIFY(!tally.rangeProblem(7200).isEmpty());
    ShiftChoice camera;
    camera.cameras << QStringLiteral("Camera");
    tally.choose(camera);
    QVERIFY(tally.rangeProblem(7200).isEmpty());   // the video is not among the chosen
}

QTEST_GUILESS_MAIN(TestEveryKind)
#include "tst_everykind.moc"
