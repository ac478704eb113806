// Every format's file, shifted by the built kelvaro-cli while a preloaded shim
// (faultshim.c) cuts the picture's one write inside each field in turn: once
// as a disk that fills up (the rest of the write fails), once as a kill that
// lands between the two parts. The picture must end as it was, bytes and
// times, or be finished by the journal; never a field half old, half new.
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "formatlist.h"
#include "isolatedhome.h"
#include "samplefiles.h"

using samples::Build;
using samples::Bytes;

Q_DECLARE_METATYPE(samples::Build)

namespace {

// A day from the 10th on: an AVI's IDIT text spells no earlier day.
const std::string capture = "2011:07:14 09:15:30";
const qint64 kOldMtimeNs = 1300000000LL * 1000000000LL;

struct Run {
    int exitCode = -1;
    bool crashed = false;
    QByteArray err;
    QString describe() const
    {
        return QStringLiteral("exit %1%2\n%3").arg(exitCode).arg(crashed ? " (killed)" : "", QString::fromUtf8(err));
    }
};

Run cli(const QStringList &arguments, const QList<QPair<QString, QString>> &environment = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!environment.isEmpty())
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KELVARO_FAULT_SHIM));
    for (const auto &pair : environment)
        env.insert(pair.first, pair.second);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(KELVARO_CLI), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = "timed out";
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = run.crashed ? -1 : process.exitCode();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray bytesOf(const Bytes &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size()));
}

bool writePicture(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    const struct timespec times[2] = {{kOldMtimeNs / 1000000000LL, 0}, {kOldMtimeNs / 1000000000LL, 0}};
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

qint64 mtimeNs(const QString &path)
{
    struct stat s;
    if (stat(QFile::encodeName(path).constData(), &s) != 0)
        return -1;
    return qint64(s.st_mtim.tv_sec) * 1000000000LL + s.st_mtim.tv_nsec;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where each written place of the file lies (fields and derived fields), as
// its format reports it: offset and width, sorted by offset.
QList<QPair<qint64, int>> placesOf(const Bytes &file)
{
    QList<QPair<qint64, int>> places;
    const FileFormat *format = FormatList::forContent(file.data(), std::min(file.size(), FileFormat::sniffBytes));
    if (!format)
        return places;
    MemorySource source(file);
    FoundDates found;
    if (!format->locate(source, &found))
        return places;
    for (const DateField &f : found.fields)
        places.append({qint64(f.offset), int(f.width)});
    for (const DerivedField &d : found.derived)
        places.append({qint64(d.offset), int(d.width)});
    std::sort(places.begin(), places.end());
    return places;
}

// A JPEG with a date field whose middle lies on byte 512, so that a write cut on
// a sector boundary leaves it half old, half new: a comment before the EXIF
// block pushes it there.
// The runs of a picture closer than this to each other are written as one piece.
constexpr qint64 kNearby = 65536;

// The first file name extension of the format named `format`.
const char *extensionOf(const char *format)
{
    for (const FileFormat *f : FormatList::all())
        if (qstrcmp(f->name(), format) == 0)
            return f->extensions()[0];
    return "jpg";
}

Bytes acrossASector(const std::string &t)
{
    for (size_t pad = 1; pad < 600; ++pad) {
        Bytes file = jpegtest::Jpeg().soi().comment(std::string(pad, 'x'))
                         .app1(samples::camera(samples::ByteOrder::Intel, t))
                         .dqt().sof(480, 640).sos().scanData(256).eoi().bytes();
        for (const auto &place : placesOf(file))
            if (place.first + place.second / 2 == 512)
                return file;
    }
    return {};
}

QStringList shiftJournals()
{
    QDir folder(jpegtest::isolatedHome.journalFolder());
    QStringList paths;
    for (const QString &name : folder.entryList({QStringLiteral("*-shift.jsonl")}, QDir::Files))
        paths << folder.filePath(name);
    return paths;
}

} // namespace

class TestCutWrites : public QObject {
    Q_OBJECT
private slots:
    void cutInsideEachField_data();
    void cutInsideEachField();
};

void TestCutWrites::cutInsideEachField_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("then");   // what the user does next: resume or undo
    QTest::addColumn<QString>("name");   // the picture's file name
    std::vector<samples::Sample> all = samples::all();
    // A shift that changes every part of the date, so that a field cut in
    // its middle is neither text.
    all.push_back({"JPEG whose capture time lies across a 512-byte boundary", "JPEG", acrossASector,
                   400LL * 86400 + 3 * 3600 + 61, 3});
    for (const samples::Sample &s : all) {
        const int places = int(placesOf(s.build(capture)).size());
        QVERIFY2(places >= s.fields, s.name);
        for (int place = 0; place < places; ++place)
            for (const char *action : {"short", "torn"})
                for (const char *then : {"resume", "undo"})
                    QTest::addRow("%s, field %d, %s, %s", s.name, place + 1, action, then)
                        << s.build << qint64(s.seconds) << place << QString(action) << QString(then)
                        << QStringLiteral("a.") + QString::fromLatin1(extensionOf(s.format));
    }
}

void TestCutWrites::cutInsideEachField()
{
    QFETCH(Build, build);
    QFETCH(qint64, seconds);
    QFETCH(int, place);
    QFETCH(QString, action);
    QFETCH(QString, then);
    QFETCH(QString, name);
    const Bytes file = build(capture);
    const QByteArray original = bytesOf(file);
    const QList<QPair<qint64, int>> places = placesOf(file);
    QVERIFY(place < places.size());

    QTemporaryDir dir;
    const QString clean = dir.filePath(QStringLiteral("clean")), cut = dir.filePath(QStringLiteral("cut"));
    QVERIFY(QDir().mkpath(clean) && QDir().mkpath(cut));
    const QString cleanPicture = clean + QLatin1Char('/') + name, picture = cut + QLatin1Char('/') + name;
    QVERIFY(writePicture(cleanPicture, original) && writePicture(picture, original));
    const QString by = QString::number(seconds);

    const Run reference = cli({"shift", clean, "--by", by, "--yes"});
    QVERIFY2(reference.exitCode == 0, qPrintable(reference.describe()));
    const QByteArray shifted = contents(cleanPicture);
    QVERIFY(shifted != original);

    // The places close to each other are written in one piece, from the
    // first to the last; pieces far apart (in a RAW file) one after the other.
    // A disk that fills up cuts the write of the chosen place's piece
    // anywhere: halfway into the place. A kill cuts it between two pages (a
    // power cut between two sectors): at the first multiple of 512 bytes past
    // the place's start.
    int write = 1;
    qint64 pieceStart = places.first().first, pieceEnd = pieceStart;
    for (int i = 0; i < places.size(); ++i) {
        if (places.at(i).first > pieceEnd + kNearby) {
            if (i > place)
                break;
            ++write;
            pieceStart = places.at(i).first;
        }
        pieceEnd = std::max(pieceEnd, places.at(i).first + places.at(i).second);
    }
    const qint64 fieldStart = places.at(place).first;
    const qint64 at = action == QLatin1String("short")
                          ? fieldStart - pieceStart + std::max(1, places.at(place).second / 2)
                          : (fieldStart / 512 + 1) * 512 - pieceStart;
    if (at >= pieceEnd - pieceStart)
        QSKIP("no sector boundary after this place within the write");
    const QStringList before = shiftJournals();
    const Run faulty = cli({"shift", cut, "--by", by, "--yes"},
                           {{"KELVARO_FAULT", QStringLiteral("write:%1:").arg(write) + action},
                            {"KELVARO_FAULT_PATH", name},
                            {"KELVARO_FAULT_CUT", QString::number(at)}});
    if (action == QLatin1String("short")) {
        // The rest of the write failed: the bytes written are put back, and
        // the picture keeps its times; the pass says it failed.
        QVERIFY2(!faulty.crashed && faulty.exitCode == 1, qPrintable(faulty.describe()));
        QVERIFY2(contents(picture) == original, "a failed write left the picture changed");
        QCOMPARE(mtimeNs(picture), kOldMtimeNs);
    } else {
        QVERIFY2(faulty.crashed, qPrintable(faulty.describe()));
    }

    // Its journal finishes the pass exactly, or sets it back exactly.
    QStringList left = shiftJournals();
    for (const QString &path : before)
        left.removeOne(path);
    QCOMPARE(left.size(), 1);
    const QString journal = left.first();
    const Run next = cli({then, journal, "--yes"});
    QVERIFY2(next.exitCode == 0, qPrintable(next.describe()));
    if (then == QLatin1String("resume")) {
        QVERIFY2(contents(picture) == shifted, qPrintable("not as a clean shift leaves it\n" + next.describe()));
    } else {
        QVERIFY2(contents(picture) == original, qPrintable("not as it was\n" + next.describe()));
        QCOMPARE(mtimeNs(picture), kOldMtimeNs);
    }
}

QTEST_GUILESS_MAIN(TestCutWrites)
#include "tst_cutwrites.moc"
