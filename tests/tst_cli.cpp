// kelvaro-cli end to end: the built program on trees made in a temporary
// folder, run without a terminal.
#include "capturedate.h"
#include "folderwalk.h"
#include "formatlist.h"
#include "isolatedhome.h"
#include "journal.h"
#include "journalline.h"
#include "jpegbuilder.h"
#include "samplefiles.h"
#include "shiftjob.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace jpegtest;

namespace {

// A picture whose DateTime, DateTimeOriginal and DateTimeDigitized are `date`
// ("!exif": a JPEG without EXIF block).
Bytes picture(const std::string &date, ByteOrder order = ByteOrder::Intel)
{
    if (date == "!exif")
        return Jpeg().soi().sof(8, 8).sos().eoi().bytes();
    ExifBlock exif(order);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::DateTime, date).subDirectory(0, tag::ExifIfd, sub)
        .ascii(sub, tag::DateTimeOriginal, date).ascii(sub, tag::DateTimeDigitized, date);
    return Jpeg::camera(exif).bytes();
}

// A usable picture taken by a camera that writes `make` and `model` (an empty
// text leaves its tag out).
Bytes cameraPicture(const std::string &date, const std::string &make, const std::string &model)
{
    ExifBlock exif(ByteOrder::Motorola);
    const int sub = exif.addDirectory();
    if (!make.empty())
        exif.ascii(0, tag::Make, make);
    if (!model.empty())
        exif.ascii(0, tag::Model, model);
    exif.ascii(0, tag::DateTime, date).subDirectory(0, tag::ExifIfd, sub)
        .ascii(sub, tag::DateTimeOriginal, date).ascii(sub, tag::DateTimeDigitized, date);
    return Jpeg::camera(exif).bytes();
}

struct Shot {
    QString path;
    std::string date, make, model;
};

// A trip's folder: a camera, a phone without a Make, a second camera, and a
// picture whose camera wrote neither.
const QList<Shot> tripTree = {
    {"cam/1.jpg", "2012:05:06 10:00:00", "Canon", "Canon EOS 5D"},
    {"cam/2.jpg", "2012:05:06 12:00:00", "Canon", "Canon EOS 5D"},
    {"cam/3.jpg", "2012:05:07 09:00:00", "Canon", "Canon EOS 5D"},
    {"cam/4.jpg", "0000:00:00 00:00:00", "Canon", "Canon EOS 5D"},
    {"phone/1.jpg", "2012:05:06 11:00:00", "", "Pixel 7"},
    {"phone/2.jpg", "2012:05:06 13:00:00", "", "Pixel 7"},
    {"cam/n.jpg", "2012:05:05 08:00:00", " NIKON CORPORATION ", "NIKON D70 "},
    {"misc/x.jpg", "2012:05:08 08:00:00", "", ""},
};

bool makeTrip(const QString &top)
{
    for (const Shot &s : tripTree) {
        const QString path = top + '/' + s.path;
        if (!QDir().mkpath(QFileInfo(path).path())
            || !writeFile(QFile::encodeName(path).toStdString(), cameraPicture(s.date, s.make, s.model)))
            return false;
    }
    return true;
}

// The tree used by most cases: two folders, five pictures, three usable.
const QList<QPair<QString, std::string>> standardTree = {
    {"a.jpg", "2012:05:06 10:00:00"},
    {"sub/b.JPG", "2011:01:01 08:30:00"},
    {"sub/c.jpg", "2013:07:08 09:10:11"},
    {"sub/zero.jpg", "0000:00:00 00:00:00"},
    {"none.jpg", "!exif"},
};

bool makeTree(const QString &top, const QList<QPair<QString, std::string>> &pictures)
{
    for (const auto &p : pictures) {
        const QString path = top + '/' + p.first;
        if (!QDir().mkpath(QFileInfo(path).path()))
            return false;
        if (!writeFile(path.toUtf8().toStdString(), picture(p.second, ByteOrder(path.size() % 2))))
            return false;
    }
    return true;
}

// Every file's bytes and modification time, by relative path.
QMap<QString, QPair<QByteArray, qint64>> snapshot(const QString &top)
{
    QMap<QString, QPair<QByteArray, qint64>> files;
    QDirIterator it(top, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(path.mid(top.size()), {file.readAll(), it.fileInfo().lastModified().toMSecsSinceEpoch()});
    }
    return files;
}

struct Run {
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run cli(const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(KELVARO_CLI), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Runs kelvaro-cli with its standard output on `output` (a file), or, when
// `output` is empty, with standard output closed.
Run cliWithOutput(const QStringList &arguments, const QString &output)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    if (output.isEmpty()) {
        process.start(QStringLiteral("/bin/sh"),
                      QStringList{"-c", "exec \"$0\" \"$@\" >&-", QStringLiteral(KELVARO_CLI)} + arguments);
    } else {
        process.setStandardOutputFile(output);
        process.start(QStringLiteral(KELVARO_CLI), arguments);
    }
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = process.readAllStandardError();
    return run;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

QString dateOf(const QString &path)
{
    return QString::fromLatin1(DateReader::read(path).oldText);
}

} // namespace

Q_DECLARE_METATYPE(QList<Shot>)

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void sidecarsMoveWithTheirPicture_data();
    void sidecarsMoveWithTheirPicture();
    void sidecarLinkLeadingOutside_data();
    void sidecarLinkLeadingOutside();
    void repeatedUndoChangesNothing();
    void partlyEditedDateIsLeftAlone();
    void badInputTouchesNothing_data();
    void badInputTouchesNothing();
    void dryRunWritesNothing();
    void jsonShape();
    void shiftMovesEveryUsableDate_data();
    void shiftMovesEveryUsableDate();
    void readOnlyPictureGivesStatus1();
    void countsAndDatesMatchTheWalk();
    void listNamesEveryPicture();
    void undoSetsBackXmpIptcAndDigest();
    void reportThatCannotBeWrittenFails_data();
    void reportThatCannotBeWrittenFails();
    void closedStandardOutputStartsNothing();
    void controlBytesAreEscapedInTextLines();
    void unreadableFoldersAndPicturesAreCounted();
    void zeroShiftWritesNothing_data();
    void zeroShiftWritesNothing();
    void namesThatAreNotUtf8AreShifted();
    void deepTreesAreWalked();
    void camerasAreListed();
    void countsReadAsEnglish_data();
    void countsReadAsEnglish();
    void oneUnchangedPictureReadsAsEnglish();
    void shiftMovesOnlyTheChosen_data();
    void shiftMovesOnlyTheChosen();
    void resumeAndUndoKeepToTheChoice();
    void picturesAddedSinceAndNotChosen();
    void journalsOfTheFirstReleaseStillServe_data();
    void journalsOfTheFirstReleaseStillServe();
    void kindsAreListed_data();
    void kindsAreListed();
    void kindsAreCounted();
    void shiftChoosesKinds_data();
    void shiftChoosesKinds();
    void resumeKeepsToTheKinds();
};

// A sidecar file as photo managers write one beside a picture: the capture
// time as an attribute with a zone and as an element with a fraction.
QByteArray sidecarText(const std::string &date)
{
    std::string iso = date;
    iso[4] = iso[7] = '-';
    iso[10] = 'T';
    XmpPacket xmp;
    xmp.attribute("xmp:CreateDate", iso + "+02:00").element("exif:DateTimeOriginal", iso + ".25");
    return QByteArray::fromStdString(xmp.padding(40).text());
}

void TestCli::sidecarsMoveWithTheirPicture_data()
{
    QTest::addColumn<QString>("pictureName");
    QTest::addColumn<QString>("sidecarName");
    QTest::addColumn<QString>("pictureDate");
    QTest::addColumn<QString>("sidecarDate");
    QTest::addColumn<bool>("exifOnly");
    QTest::addColumn<bool>("moves");

    const QString d = "2012:05:06 10:00:00";
    QTest::newRow("NAME.xmp") << "a.jpg" << "a.xmp" << d << d << false << true;
    QTest::newRow("NAME.EXT.xmp, upper case") << "b.JPG" << "b.JPG.XMP" << d << d << false << true;
    QTest::newRow("mixed case, .jpeg") << "c.jpeg" << "C.Xmp" << d << d << false << true;
    QTest::newRow("picture without usable date") << "d.jpg" << "d.xmp" << "0000:00:00 00:00:00" << d << false << false;
    QTest::newRow("--exif-only") << "e.jpg" << "e.xmp" << d << d << true << false;
    QTest::newRow("another picture's name") << "f.jpg" << "g.xmp" << d << d << false << false;
    QTest::newRow("sidecar of another time") << "h.jpg" << "h.xmp" << d << "2012:05:06 10:00:01" << false << false;
}

void TestCli::sidecarsMoveWithTheirPicture()
{
    QFETCH(QString, pictureName);
    QFETCH(QString, sidecarName);
    QFETCH(QString, pictureDate);
    QFETCH(QString, sidecarDate);
    QFETCH(bool, exifOnly);
    QFETCH(bool, moves);
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), {{pictureName, pictureDate.toStdString()}, {"other.jpg", "2012:01:01 00:00:00"}}));
    const QString sidecar = top.filePath(sidecarName);
    const QByteArray before = sidecarText(sidecarDate.toStdString());
    {
        QFile file(sidecar);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    }
    QStringList arguments{"shift", top.path(), "--by", "3600", "--yes", "--json"};
    if (exifOnly)
        arguments << "--exif-only";
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.json()["sidecars"].toInt(), moves ? 1 : 0);
    QFile file(sidecar);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    // Same length; only the two dates' first 19 characters change.
    QCOMPARE(after.size(), before.size());
    const QByteArray expected = moves ? QByteArray(before).replace("2012-05-06T10:00:00", "2012-05-06T11:00:00") : before;
    QCOMPARE(after, expected);
    // The pictures themselves move whatever happens to the sidecar.
    if (pictureDate != "0000:00:00 00:00:00")
        QCOMPARE(dateOf(top.filePath(pictureName)), QString("2012:05:06 11:00:00"));

    // Undo gives the sidecar back byte for byte.
    QCOMPARE(cli({"undo", "--yes"}).exitCode, 0);
    QVERIFY(file.seek(0));
    QCOMPARE(file.readAll(), before);
}

// A sidecar that is a link to a file outside the folder is left alone, as a
// picture behind such a link is, unless links are to be followed.
void TestCli::sidecarLinkLeadingOutside_data()
{
    QTest::addColumn<bool>("follow");
    QTest::newRow("not followed") << false;
    QTest::newRow("--follow-outside-links") << true;
}

void TestCli::sidecarLinkLeadingOutside()
{
#ifdef Q_OS_WIN
    QSKIP("symbolic links need rights a test does not have on Windows");
#endif
    QFETCH(bool, follow);
    QTemporaryDir top, outside;
    QVERIFY(makeTree(top.path(), {{"a.jpg", "2012:05:06 10:00:00"}}));
    const QString target = outside.filePath("precious.xmp");
    const QByteArray before = sidecarText("2012:05:06 10:00:00");
    {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    }
    QVERIFY(QFile::link(target, top.filePath("a.xmp")));
    QStringList arguments{"shift", top.path(), "--by", "3600", "--yes", "--json"};
    if (follow)
        arguments << "--follow-outside-links";
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(dateOf(top.filePath("a.jpg")), QString("2012:05:06 11:00:00"));
    QCOMPARE(run.json()["sidecars"].toInt(), follow ? 1 : 0);
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == before, !follow);
}

// An undo run twice finds every picture as before the second time, the IPTC
// date that a shift of an hour left as it was included: nothing is written
// or counted as set back.
void TestCli::repeatedUndoChangesNothing()
{
    QTemporaryDir top;
    const QString path = top.filePath("a.jpg");
    const Bytes original = samples::richJpeg("2012:05:06 10:00:00");
    QVERIFY(writeFile(QFile::encodeName(path).toStdString(), original));
    const Run shift = cli({"shift", top.path(), "--by", "3600", "--yes", "--json"});
    QCOMPARE(shift.exitCode, 0);
    const QString journal = shift.json()["journal"].toString();
    const Run first = cli({"undo", journal, "--yes", "--json"});
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.json()["changed"].toInt(), 1);
    const QDateTime written = QFileInfo(path).lastModified();
    const Run again = cli({"undo", journal, "--yes", "--json"});
    QVERIFY2(again.exitCode == 0, again.err.constData());
    QCOMPARE(again.json()["changed"].toInt(), 0);
    QCOMPARE(again.json()["already_done"].toInt(), 1);
    QVERIFY(readFile(QFile::encodeName(path).toStdString()) == original);
    QCOMPARE(QFileInfo(path).lastModified(), written);
}

// After a shift of a day and an hour, another program puts the day back and
// keeps the hour: the date now holds the start of its old text and the rest
// of its new one, not where a cut write ends. Undo leaves it alone.
void TestCli::partlyEditedDateIsLeftAlone()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), {{"a.jpg", "2021:06:12 09:00:00"}}));
    const QString path = top.filePath("a.jpg");
    const Run shift = cli({"shift", top.path(), "--by", "90000", "--yes", "--json"});
    QCOMPARE(shift.exitCode, 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    QCOMPARE(bytes.count("2021:06:13 10:00:00"), 3);
    bytes.replace("2021:06:13 10:00:00", "2021:06:12 10:00:00");
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const Run undo = cli({"undo", shift.json()["journal"].toString(), "--yes", "--json"});
    QVERIFY2(undo.exitCode == 1, undo.err.constData());
    QCOMPARE(undo.json()["changed"].toInt(), 0);
    QCOMPARE(dateOf(path), QString("2021:06:12 10:00:00"));
}

void TestCli::badInputTouchesNothing_data()
{
    QTest::addColumn<QStringList>("arguments");   // %1 stands for the tree
    QTest::addColumn<QString>("message");

    QTest::newRow("no such folder") << QStringList{"dates", "%1/nope"} << "no such folder";
    QTest::newRow("a file, not a folder") << QStringList{"shift", "%1/a.jpg", "--by", "60", "--yes"} << "not a folder";
    QTest::newRow("shift that does not parse") << QStringList{"shift", "%1", "--by", "1:2", "--yes"} << "invalid shift";
    QTest::newRow("date that does not parse")
        << QStringList{"shift", "%1", "--oldest-to", "2012:13:01 00:00:00", "--yes"} << "invalid date";
    QTest::newRow("both") << QStringList{"shift", "%1", "--by", "5", "--oldest-to", "2012:01:01 00:00:00", "--yes"}
                          << "not both";
    QTest::newRow("neither") << QStringList{"shift", "%1", "--yes"} << "--by SHIFT or --oldest-to";
    QTest::newRow("newest beyond 9999")
        << QStringList{"shift", "%1", "--by", "2917100:00:00:00", "--yes"} << "outside the years 1000 to 9999";
    QTest::newRow("oldest before 1000")
        << QStringList{"shift", "%1", "--by", "-740000:00:00:00", "--yes"} << "would move 2011:01:01 08:30:00";
    QTest::newRow("oldest-to pushes the newest past 9999")
        << QStringList{"shift", "%1", "--oldest-to", "9999:01:01 00:00:00", "--yes"} << "would move 2013:07:08 09:10:11";
    QTest::newRow("no terminal and no --yes") << QStringList{"shift", "%1", "--by", "60"} << "add --yes";
    QTest::newRow("a camera the tree does not hold")
        << QStringList{"shift", "%1", "--camera", "Leica M6", "--by", "60", "--yes"}
        << "no picture of camera 'Leica M6' with a usable date; the cameras are: Unknown camera";
    QTest::newRow("limits that take no picture")
        << QStringList{"shift", "%1", "--from", "2013:07:08 09:10:12", "--by", "60", "--yes"}
        << "none of the 3 pictures with a usable date is chosen";
    QTest::newRow("picture without a usable date")
        << QStringList{"shift", "%1", "--picture", "%1/sub/zero.jpg", "--to", "2012:01:01 00:00:00", "--yes"}
        << "DateTimeOriginal is not a date";
    QTest::newRow("a kind that is none")
        << QStringList{"shift", "%1", "--types", "jpeg,png", "--by", "60", "--yes"} << "unknown kind 'png' for --types";
    QTest::newRow("a kind the tree does not hold")
        << QStringList{"shift", "%1", "--types", "tiff", "--by", "60", "--yes"}
        << "none of the 3 pictures with a usable date is chosen";
    QTest::newRow("picture that does not exist")
        << QStringList{"shift", "%1", "--picture", "%1/nope.jpg", "--to", "2012:01:01 00:00:00", "--yes"}
        << "no such picture";
    // The range check names the newest chosen picture, not the tree's newest.
    QTest::newRow("range of the chosen pictures")
        << QStringList{"shift", "%1", "--to", "2012:12:31 00:00:00", "--oldest-to", "9999:01:01 00:00:00", "--yes"}
        << "would move 2012:05:06 10:00:00";
}

void TestCli::badInputTouchesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const auto before = snapshot(top.path());
    for (QString &a : arguments)
        a.replace("%1", top.path());

    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QCOMPARE(run.err.count("kelvaro-cli: "), 1);
    QCOMPARE(snapshot(top.path()), before);
}

void TestCli::dryRunWritesNothing()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const auto before = snapshot(top.path());
    const Run run = cli({"shift", top.path(), "--oldest-to", "2011:01:02 08:30:00", "--dry-run", "--json"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(snapshot(top.path()), before);
    const QJsonObject o = run.json();
    QCOMPARE(o["shift_seconds"].toInteger(), 86400);
    QCOMPARE(o["dry_run"].toBool(), true);
    QCOMPARE(o["changed"].toInt(), 0);
    const QJsonArray list = o["list"].toArray();
    QCOMPARE(list.size(), 5);
    for (const QJsonValue &v : list) {
        const QJsonObject e = v.toObject();
        if (e["path"].toString().endsWith("sub/b.JPG")) {
            QCOMPARE(e["old"].toString(), "2011:01:01 08:30:00");
            QCOMPARE(e["new"].toString(), "2011:01:02 08:30:00");
        }
        QCOMPARE(e["new"].isNull(), e.contains("reason"));
    }
}

void TestCli::jsonShape()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const QStringList datesKeys{"folders", "pictures", "valid", "raw", "unsupported", "oldest", "newest",
                                "oldest_path", "newest_path", "outside_links", "unreadable"};
    const QJsonObject dates = cli({"dates", top.path(), "--json"}).json();
    QCOMPARE(sorted(dates.keys()), sorted(datesKeys));
    QCOMPARE(dates["folders"].toInt(), 2);
    QCOMPARE(dates["pictures"].toInt(), 5);
    QCOMPARE(dates["valid"].toInt(), 3);
    QCOMPARE(dates["oldest"].toString(), "2011:01:01 08:30:00");
    QCOMPARE(dates["newest"].toString(), "2013:07:08 09:10:11");
    QCOMPARE(dates["oldest_path"].toString(), top.filePath("sub/b.JPG"));
    QCOMPARE(dates["newest_path"].toString(), top.filePath("sub/c.jpg"));

    const Run shifted = cli({"shift", top.path(), "--by", "-1:00:00", "--yes", "--json"});
    QCOMPARE(shifted.exitCode, 0);
    QStringList shiftKeys = datesKeys;
    shiftKeys << "shift_seconds" << "chosen" << "changed" << "not_changed" << "added_since" << "times_not_set"
              << "problem" << "xmp_dates" << "iptc_dates" << "sidecars"
              << "cancelled" << "dry_run" << "journal";
    const QJsonObject o = shifted.json();
    QCOMPARE(sorted(o.keys()), sorted(shiftKeys));
    QCOMPARE(o["shift_seconds"].toInteger(), -3600);
    QCOMPARE(o["chosen"].toInt(), 3);   // nothing chosen: every usable picture
    QCOMPARE(o["changed"].toInt(), 3);
    QCOMPARE(o["not_changed"].toInt(), 0);
    QCOMPARE(o["cancelled"].toBool(), false);
    QCOMPARE(o["oldest"].toString(), "2011:01:01 08:30:00");   // the range before the shift

    // No usable picture: dates are null, nothing to do is no failure.
    QTemporaryDir empty;
    QVERIFY(makeTree(empty.path(), {{"x.jpg", "!exif"}}));
    // A damaged picture makes the engine print a diagnostic line: it goes to
    // standard error and the JSON on standard output stays whole.
    QVERIFY(writeFile(empty.filePath("padded.jpg").toUtf8().toStdString(),
                      Bytes{0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    const Run damaged = cli({"dates", empty.path(), "--json"});
    QVERIFY(damaged.err.contains("too many padding unsigned chars"));
    const QJsonObject none = damaged.json();
    QCOMPARE(none["pictures"].toInt(), 2);
    QVERIFY(none["oldest"].isNull());
    QVERIFY(none["newest"].isNull());
    QVERIFY(none["oldest_path"].isNull());
    QVERIFY(none["newest_path"].isNull());
    const Run nothing = cli({"shift", empty.path(), "--oldest-to", "2012:01:01 00:00:00", "--yes", "--json"});
    QCOMPARE(nothing.exitCode, 0);
    QVERIFY(nothing.json()["shift_seconds"].isNull());
}

void TestCli::shiftMovesEveryUsableDate_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("oldest");   // DateTimeOriginal of sub/b.JPG afterwards
    QTest::addColumn<bool>("fileTimes");
    QTest::addColumn<QString>("moved");    // the shift as the result tells it

    QTest::newRow("by seconds") << QStringList{"--by", "3600"} << "2011:01:01 09:30:00" << true << "+1:00:00";
    QTest::newRow("back across a year") << QStringList{"--by", "-1:08:30:01"} << "2010:12:30 23:59:59" << true
                                        << "-1:08:30:01";
    QTest::newRow("oldest-to, file times kept")
        << QStringList{"--oldest-to", "2020:02:29 12:00:00", "--keep-file-times"} << "2020:02:29 12:00:00" << false
        << "+3346:03:30:00";
}

void TestCli::shiftMovesEveryUsableDate()
{
    QFETCH(QStringList, options);
    QFETCH(QString, oldest);
    QFETCH(bool, fileTimes);
    QFETCH(QString, moved);
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const auto before = snapshot(top.path());

    const Run run = cli(QStringList{"shift", top.path(), "--yes"} + options);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith("3 pictures in 2 folders, dated from 2011:01:01 08:30:00 to "
                                "2013:07:08 09:10:11, have been changed.\n"), run.out.constData());
    const QString b = top.filePath("sub/b.JPG");
    // The shift and the new range, as the oldest and newest dates now read.
    const QString newest = QString(CaptureDate::format(
        CaptureDate::parse(QByteArray("2013:07:08 09:10:11"))
            .addSecs(CaptureDate::parse(QByteArray("2011:01:01 08:30:00")).secsTo(CaptureDate::parse(oldest.toLatin1())))));
    QVERIFY2(run.out.contains(QString("have been changed.\n\nEvery capture time moved by %1 (now %2 to %3).\n")
                                  .arg(moved, oldest, newest).toUtf8()),
             run.out.constData());
    QCOMPARE(dateOf(b), oldest);
    const qint64 shift = CaptureDate::parse(QByteArray("2011:01:01 08:30:00")).secsTo(CaptureDate::parse(oldest.toLatin1()));
    QCOMPARE(dateOf(top.filePath("sub/c.jpg")),
             QString(CaptureDate::format(CaptureDate::parse(QByteArray("2013:07:08 09:10:11")).addSecs(shift))));
    // Pictures without a usable date stay as they were, bytes and times.
    for (const char *name : {"/sub/zero.jpg", "/none.jpg"})
        QCOMPARE(snapshot(top.path()).value(name), before.value(name));
    qint64 instant = 0;
    QVERIFY(CaptureDate::localInstant(CaptureDate::parse(oldest.toLatin1()), &instant));
    const qint64 mtime = QFileInfo(b).lastModified().toSecsSinceEpoch();
    QCOMPARE(mtime == instant, fileTimes);
    if (!fileTimes)
        QCOMPARE(QFileInfo(b).lastModified().toMSecsSinceEpoch(), before.value("/sub/b.JPG").second);
}

void TestCli::readOnlyPictureGivesStatus1()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const QString locked = top.filePath("sub/c.jpg");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray bytes = snapshot(top.path()).value("/sub/c.jpg").first;

    const Run run = cli({"shift", top.path(), "--by", "60", "--yes", "--json"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.json()["changed"].toInt(), 2);
    QCOMPARE(run.json()["not_changed"].toInt(), 1);
    QVERIFY(run.err.contains(QFile::encodeName(locked)));   // the log line names it
    QCOMPARE(snapshot(top.path()).value("/sub/c.jpg").first, bytes);

    const Run text = cli({"shift", top.path(), "--by", "60", "--yes"});
    QCOMPARE(text.exitCode, 1);
    // It leads with what happened, and never says "have been changed".
    QVERIFY2(text.out.startsWith("1 of 3 pictures with a usable date could not be changed.\n\n"
                                 "Changed: 2, not changed: 1, could not be read: 0.\n"
                                 "The changed pictures moved by +0:01:00.\n"),
             text.out.constData());
    QVERIFY2(!text.out.contains("have been changed"), text.out.constData());
    QVERIFY2(text.out.contains("\nJournal: "), text.out.constData());
}

void TestCli::countsAndDatesMatchTheWalk()
{
    // The command line and the window drive the same walk: the same tree gives
    // the same counts and dates.
    QTemporaryDir top;
    QList<QPair<QString, std::string>> tree = standardTree;
    for (int i = 0; i < 40; ++i)
        tree.append({QStringLiteral("deep/%1/p%2.jpg").arg(i % 7).arg(i),
                     "2014:0" + std::to_string(1 + i % 9) + ":1" + std::to_string(i % 10) + " 12:00:00"});
    QVERIFY(makeTree(top.path(), tree));

    WalkState state;
    state.phase = WalkState::Dating;
    state.oldestDate = QDateTime::currentDateTimeUtc().addYears(100);
    state.newestDate = QDateTime::currentDateTimeUtc().addYears(-100);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("no valid EXIF"));
    FolderWalk(state).scanFolder(QDir(top.path()));

    const QJsonObject o = cli({"dates", top.path(), "--json"}).json();
    QCOMPARE(o["folders"].toInt(), state.folderCount.load());
    QCOMPARE(o["pictures"].toInt(), state.pictureCount.load());
    QCOMPARE(o["valid"].toInt(), state.validCount.load());
    QCOMPARE(o["oldest"].toString(), QString(CaptureDate::format(state.oldestDate)));
    QCOMPARE(o["newest"].toString(), QString(CaptureDate::format(state.newestDate)));
    QCOMPARE(o["oldest_path"].toString(), state.oldestPath);
    QCOMPARE(o["newest_path"].toString(), state.newestPath);
}

void TestCli::listNamesEveryPicture()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const Run run = cli({"dates", top.path(), "--list"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains(QFile::encodeName(top.filePath("sub/b.JPG")) + "\t2011:01:01 08:30:00\n"));
    QVERIFY(run.out.contains(QFile::encodeName(top.filePath("none.jpg")) + "\tno EXIF block\n"));
    QVERIFY(run.out.contains("zero.jpg\tDateTimeOriginal is not a date \"0000:00:00 00:00:00\"\n"));
    QVERIFY2(run.out.endsWith("Folders:  2\nPictures: 5\nUsable:   3\nOldest:   2011:01:01 08:30:00\n"
                              "Newest:   2013:07:08 09:10:11\nOldest picture: "
                              + QFile::encodeName(top.filePath("sub/b.JPG")) + "\nNewest picture: "
                              + QFile::encodeName(top.filePath("sub/c.jpg")) + '\n'),
             run.out.constData());
    QVERIFY(run.err.contains("no valid EXIF : "));   // the walk's log lines stay on standard error
}

void TestCli::undoSetsBackXmpIptcAndDigest()
{
    // The IPTC digest is binary: its run goes through the journal and back.
    IptcBlock iptc;
    iptc.dataset(2, 55, "20120506").dataset(2, 60, "100000+0200");
    const Bytes iim = iptc.iim();
    const QByteArray md5 = QCryptographicHash::hash(
        QByteArray(reinterpret_cast<const char *>(iim.data()), int(iim.size())), QCryptographicHash::Md5);
    iptc.digest(Bytes(md5.begin(), md5.end()));
    XmpPacket xmp;
    xmp.attribute("xmp:CreateDate", "2012-05-06T10:00:00+02:00");
    ExifBlock exif;
    const int sub = exif.addDirectory();
    exif.subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, "2012:05:06 10:00:00");
    QTemporaryDir top;
    const QString path = top.filePath("rich.jpeg");
    const Bytes before = Jpeg().soi().app1(exif).xmp(xmp).app13(iptc).dqt().sof(8, 8).sos().eoi().bytes();
    QVERIFY(writeFile(QFile::encodeName(path).toStdString(), before));

    QCOMPARE(cli({"shift", top.path(), "--by", "-1:00:00:01", "--yes"}).exitCode, 0);
    const Bytes shifted = readFile(QFile::encodeName(path).toStdString());
    const std::string text(shifted.begin(), shifted.end());
    QVERIFY(text.find("2012:05:05 09:59:59") != std::string::npos);
    QVERIFY(text.find("2012-05-05T09:59:59+02:00") != std::string::npos);
    QVERIFY(text.find("20120505") != std::string::npos && text.find("095959+0200") != std::string::npos);
    QVERIFY(text.find(std::string(md5.constData(), 16)) == std::string::npos);

    QCOMPARE(cli({"undo", "--yes"}).exitCode, 0);
    QVERIFY(readFile(QFile::encodeName(path).toStdString()) == before);
}

// A report that cannot be written is a failure, not a success: the output
// error is found at the last flush as at any write before it.
void TestCli::reportThatCannotBeWrittenFails_data()
{
    QTest::addColumn<QStringList>("arguments");   // the folder goes after the first
    QTest::newRow("dates --json") << QStringList{"dates", "--json"};
    QTest::newRow("dates --list") << QStringList{"dates", "--list"};
    QTest::newRow("shift --json") << QStringList{"shift", "--by", "60", "--yes", "--json"};
    QTest::newRow("shift text") << QStringList{"shift", "--by", "60", "--yes"};
}

void TestCli::reportThatCannotBeWrittenFails()
{
    QFETCH(QStringList, arguments);
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full here");
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    arguments.insert(1, top.path());
    const Run run = cliWithOutput(arguments, "/dev/full");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("kelvaro-cli: cannot write the report: "), run.err.constData());
}

// Without a standard output of its own the engine's diagnostic lines would
// mix with the report: the command starts nothing.
void TestCli::closedStandardOutputStartsNothing()
{
#ifdef _WIN32
    QSKIP("a program started without a standard output is a POSIX test (a closed descriptor 1)");
#endif
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const auto before = snapshot(top.path());
    const Run run = cliWithOutput({"shift", top.path(), "--by", "60", "--yes"}, QString());
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("kelvaro-cli: cannot use standard output: "), run.err.constData());
    QCOMPARE(snapshot(top.path()), before);
}

// Bytes from a picture or its name never split a text line or reach the
// terminal raw; JSON carries them exactly.
void TestCli::controlBytesAreEscapedInTextLines()
{
#ifdef _WIN32
    QSKIP("Windows allows no control characters in file names");
#endif
    QTemporaryDir top;
    const QString odd = top.filePath(QStringLiteral("odd\nname\x1b[2J.jpg"));
    QVERIFY(writeFile(QFile::encodeName(odd).toStdString(), picture("2010:12:12\n\x1b[2J1:35")));
    QVERIFY(writeFile(QFile::encodeName(top.filePath("good.jpg")).toStdString(), picture("2012:05:06 10:00:00")));

    const Run run = cli({"dates", top.path(), "--list"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(!run.out.contains('\x1b') && !run.err.contains('\x1b'), run.out.constData());
    const QByteArray escaped = QFile::encodeName(top.path()) + "/odd\\nname\\u001b[2J.jpg\t";
    QVERIFY2(run.out.contains(escaped), run.out.constData());
    QVERIFY2(run.out.contains("\"2010:12:12\\x0a\\x1b[2J1:35\""), run.out.constData());
    // One line per picture, then the counts and the oldest and newest
    // picture: the odd name splits none.
    QCOMPARE(run.out.count('\t'), 2);
    QCOMPARE(run.out.count('\n'), 2 + 7);
    QVERIFY2(run.err.contains("odd\\nname\\u001b[2J.jpg"), run.err.constData());   // the log line too

    const QJsonArray list = cli({"dates", top.path(), "--list", "--json"}).json()["list"].toArray();
    QStringList paths;
    for (const QJsonValue &entry : list)
        paths << entry.toObject()["path"].toString();
    QCOMPARE(sorted(paths), sorted({odd, top.filePath("good.jpg")}));
}

// A folder that cannot be listed and a picture that cannot be opened are
// counted, named and make a shift fail. Run as another user when the tests
// run as root, who may read anything.
void TestCli::unreadableFoldersAndPicturesAreCounted()
{
#ifdef _WIN32
    QSKIP("Windows has no permission bits that keep a folder or a picture from being read");
#else
    QStringList prefix;
    if (::geteuid() == 0) {
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("running as root without setpriv: nothing is unreadable to root");
        prefix = {"--reuid=65534", "--regid=65534", "--clear-groups", QStringLiteral(KELVARO_CLI)};
    }
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    QVERIFY(makeTree(top.path(), {{"locked/x.jpg", "2012:05:06 10:00:00"}}));
    QVERIFY(QDir().mkpath(top.filePath("home/data")));
    // Open to the other user, but for the two that must stay unreadable.
    QDirIterator all(top.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList everything{top.path()};
    while (all.hasNext())
        everything << all.next();
    for (const QString &path : everything)
        QVERIFY(::chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0777 : 0666) == 0);
    QVERIFY(::chmod(QFile::encodeName(top.filePath("locked")).constData(), 0) == 0);
    QVERIFY(::chmod(QFile::encodeName(top.filePath("sub/c.jpg")).constData(), 0) == 0);

    auto run = [&](const QStringList &arguments) {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", top.filePath("home"));
        environment.insert("XDG_DATA_HOME", top.filePath("home/data"));
        process.setProcessEnvironment(environment);
        if (prefix.isEmpty())
            process.start(QStringLiteral(KELVARO_CLI), arguments);
        else
            process.start(QStringLiteral("setpriv"), prefix + arguments);
        Run r;
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
            r.exitCode = process.exitCode();
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    };
    const Run dates = run({"dates", top.path(), "--json", "--list"});
    QCOMPARE(dates.exitCode, 0);
    QCOMPARE(dates.json()["unreadable"].toInt(), 2);
    QCOMPARE(dates.json()["valid"].toInt(), 2);
    QStringList reasons;
    for (const QJsonValue &entry : dates.json()["list"].toArray())
        if (entry.toObject()["path"].toString().contains(QRegularExpression("locked|c\\.jpg")))
            reasons << entry.toObject()["reason"].toString();
    QCOMPARE(sorted(reasons), sorted({"folder cannot be read", "cannot be opened"}));
    QVERIFY2(dates.err.contains("folder cannot be read : ") && dates.err.contains("cannot be opened : "),
             dates.err.constData());

    const Run json = run({"shift", top.path(), "--by", "60", "--yes", "--json"});
    QCOMPARE(json.exitCode, 1);
    QCOMPARE(json.json()["unreadable"].toInt(), 2);
    QCOMPARE(json.json()["changed"].toInt(), 2);
    const Run text = run({"shift", top.path(), "--by", "60", "--yes"});
    QCOMPARE(text.exitCode, 1);
    QVERIFY2(text.out.contains("\n\nCould not be read: 2.\n"), text.out.constData());
#endif
}

// A shift of zero asks nothing and writes nothing, and says so.
void TestCli::zeroShiftWritesNothing_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("--by 0") << QStringList{"--by", "0"};
    QTest::newRow("--oldest-to the oldest") << QStringList{"--oldest-to", "2011:01:01 08:30:00"};
}

void TestCli::zeroShiftWritesNothing()
{
    QFETCH(QStringList, options);
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const auto before = snapshot(top.path());
    const QStringList journalsBefore = QDir(isolatedHome.journalFolder()).entryList(QDir::Files);
    const Run run = cli(QStringList{"shift", top.path(), "--yes"} + options);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("The new date equals the current one: nothing to change.\n"));
    QCOMPARE(snapshot(top.path()), before);
    QCOMPARE(QDir(isolatedHome.journalFolder()).entryList(QDir::Files), journalsBefore);
}

#ifndef _WIN32
// Runs kelvaro-cli through the shell, so that arguments can carry bytes that
// are not UTF-8: `arguments` go through printf's %b (write such a byte as \0351).
Run cliBytes(const QStringList &arguments)
{
    QString script = QStringLiteral("exec \"$0\"");
    for (int i = 0; i < arguments.size(); ++i)
        script += QStringLiteral(" \"$(printf '%b' \"$%1\")\"").arg(i + 1);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral("/bin/sh"), QStringList{"-c", script, QStringLiteral(KELVARO_CLI)} + arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray readRaw(const QByteArray &path)
{
    QByteArray bytes;
    FILE *file = fopen(path.constData(), "rb");
    if (!file)
        return bytes;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, qsizetype(n));
    fclose(file);
    return bytes;
}

#endif

// Names that are not valid UTF-8 (old archives, cards written elsewhere) are
// walked, dated, shifted and undone by their own bytes, and named with
// escapes: \xHH in text, \udcHH in JSON.
void TestCli::namesThatAreNotUtf8AreShifted()
{
#ifdef _WIN32
    QSKIP("Windows names files in UTF-16: there are no names that are not valid UTF-8");
#else
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), standardTree));
    const QByteArray base = QFile::encodeName(top.path());
    const QList<QByteArray> odd = {base + "/bad\xe9.jpg", base + "/M\xfc" "nchen/x.jpg",
                                   base + "/\xf0\x9f\x93\xb7\xe9.jpg"};   // a character beyond U+FFFF, then a bad byte
    // The temporary folder's own removal cannot reach these names.
    const auto removeOddNames = qScopeGuard([&] {
        for (const QByteArray &name : odd)
            ::unlink(name);
        ::unlink(base + "/notes\xe9.txt");
        ::rmdir(base + "/M\xfc" "nchen");
    });
    QVERIFY(writeFile(odd[0].toStdString(), picture("2012:05:06 10:00:00")));
    QVERIFY(::mkdir(base + "/M\xfc" "nchen", 0755) == 0);
    QVERIFY(writeFile(odd[1].toStdString(), picture("2012:05:06 10:00:00")));
    QVERIFY(writeFile(odd[2].toStdString(), picture("2012:05:06 10:00:00")));
    QVERIFY(writeFile((base + "/notes\xe9.txt").toStdString(), Bytes{'x'}));   // no picture: not counted
    const QByteArray before = readRaw(odd[1]);
    const int usable = cli({"dates", top.path(), "--json"}).json()["valid"].toInt();

    const Run text = cli({"dates", top.path(), "--list"});
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.contains("/bad\\xe9.jpg\t2012:05:06 10:00:00\n"), text.out.constData());
    QVERIFY2(text.out.contains("/M\\xfcnchen/x.jpg\t2012:05:06 10:00:00\n"), text.out.constData());
    const Run json = cli({"dates", top.path(), "--list", "--json"});
    QCOMPARE(json.json()["unreadable"].toInt(), 0);
    QVERIFY2(json.out.contains("/bad\\udce9.jpg\""), json.out.constData());
    QVERIFY(json.out.contains("/M\\udcfcnchen/x.jpg\""));
    QVERIFY(json.out.contains("/\xf0\x9f\x93\xb7\\udce9.jpg\""));
    QVERIFY(text.out.contains("/\xf0\x9f\x93\xb7\\xe9.jpg\t"));

    // The odd folder named on the command line by its own bytes.
    const Run inside = cliBytes({"dates", top.path() + "/M\\0374nchen", "--json"});
    QVERIFY2(inside.exitCode == 0, inside.err.constData());
    QCOMPARE(inside.json()["valid"].toInt(), 1);

    const Run shift = cli({"shift", top.path(), "--by", "60", "--yes", "--json"});
    QCOMPARE(shift.exitCode, 0);
    QCOMPARE(shift.json()["changed"].toInt(), usable);
    for (const QByteArray &name : odd)
        QVERIFY2(readRaw(name).contains("2012:05:06 10:01:00"), name.constData());
    const Run undo = cli({"undo", "--yes", "--json"});
    QVERIFY2(undo.exitCode == 0, undo.err.constData());
    QCOMPARE(readRaw(odd[1]), before);
#endif
}

#ifndef _WIN32
// Makes `depth` nested folders "dd" below `top` (one at a time, relative to
// the folder above, since the whole path outgrows PATH_MAX) and puts `bytes`
// as "p.jpg" in the deepest and in the one at `middle`, which also gets four
// more folders "e1".."e4" with a picture each (made before its "dd", so that
// a listing newest first walks the long chain before them).
bool makeDeepTree(const QByteArray &top, int depth, int middle, const Bytes &bytes)
{
    int at = ::open(top.constData(), O_RDONLY | O_DIRECTORY);
    bool ok = at >= 0;
    for (int level = 1; ok && level <= depth; ++level) {
        const int next = ::mkdirat(at, "dd", 0755) == 0 ? ::openat(at, "dd", O_RDONLY | O_DIRECTORY) : -1;
        ::close(at);
        at = next;
        ok = at >= 0;
        auto put = [&](int folder) {
            const int fd = ::openat(folder, "p.jpg", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
            ok = ::close(fd) == 0 && ok;
        };
        if (ok && (level == depth || level == middle))
            put(at);
        for (const char *sibling : {"e1", "e2", "e3", "e4"}) {
            if (!ok || level != middle)
                break;
            const int fd = ::mkdirat(at, sibling, 0755) == 0 ? ::openat(at, sibling, O_RDONLY | O_DIRECTORY) : -1;
            ok = fd >= 0;
            if (ok)
                put(fd);
            ::close(fd);
        }
    }
    if (at >= 0)
        ::close(at);
    return ok;
}

// The deepest picture's bytes (read one folder at a time), or the removal of
// the whole chain, from the bottom up.
QByteArray deepestPicture(const QByteArray &top, int depth, bool remove = false)
{
    std::vector<int> chain{::open(top.constData(), O_RDONLY | O_DIRECTORY)};
    while (chain.back() >= 0 && int(chain.size()) <= depth)
        chain.push_back(::openat(chain.back(), "dd", O_RDONLY | O_DIRECTORY));
    QByteArray bytes;
    if (chain.back() >= 0 && !remove) {
        const int fd = ::openat(chain.back(), "p.jpg", O_RDONLY);
        char buffer[65536];
        ssize_t n;
        while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, qsizetype(n));
        ::close(fd);
    }
    for (size_t i = chain.size(); i-- > 0;) {
        if (remove && chain[i] >= 0) {
            ::unlinkat(chain[i], "p.jpg", 0);
            ::unlinkat(chain[i], "dd", AT_REMOVEDIR);
            for (const char *sibling : {"e1", "e2", "e3", "e4"}) {
                const int fd = ::openat(chain[i], sibling, O_RDONLY | O_DIRECTORY);
                if (fd < 0)
                    continue;
                ::unlinkat(fd, "p.jpg", 0);
                ::close(fd);
                ::unlinkat(chain[i], sibling, AT_REMOVEDIR);
            }
        }
        if (chain[i] >= 0)
            ::close(chain[i]);
    }
    return bytes;
}

#endif

// A tree far deeper than a path may be long: every folder is counted and every
// picture dated, shifted and undone, whatever its depth.
void TestCli::deepTreesAreWalked()
{
#ifdef _WIN32
    QSKIP("the deep tree is made with POSIX calls");
#else
    QTemporaryDir top;
    const QByteArray base = QFile::encodeName(top.path());
    const int depth = 3000;   // some 9,000 bytes of path
    const auto removeChain = qScopeGuard([&] { deepestPicture(base, depth, true); });
    const Bytes bytes = picture("2012:05:06 10:00:00");
    QVERIFY(makeDeepTree(base, depth, 100, bytes));

    const Run dates = cli({"dates", top.path(), "--json"});
    QVERIFY2(dates.exitCode == 0, dates.err.constData());
    QCOMPARE(dates.json()["folders"].toInt(), depth + 1 + 4);
    QCOMPARE(dates.json()["pictures"].toInt(), 6);
    QCOMPARE(dates.json()["valid"].toInt(), 6);
    QCOMPARE(dates.json()["unreadable"].toInt(), 0);

    const Run shift = cli({"shift", top.path(), "--by", "60", "--yes", "--json"});
    QVERIFY2(shift.exitCode == 0, shift.err.constData());
    QCOMPARE(shift.json()["changed"].toInt(), 6);
    QVERIFY(deepestPicture(base, depth).contains("2012:05:06 10:01:00"));
    const Run undo = cli({"undo", "--yes", "--json"});
    QVERIFY2(undo.exitCode == 0, undo.err.constData());
    QCOMPARE(undo.json()["changed"].toInt(), 6);
    QCOMPARE(deepestPicture(base, depth), QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())));
#endif
}

void TestCli::camerasAreListed()
{
    QTemporaryDir top;
    QVERIFY(makeTrip(top.path()));
    const Run run = cli({"dates", top.path(), "--cameras", "--json"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject o = run.json();
    QCOMPARE(o["valid"].toInt(), 7);
    const QJsonArray cameras = o["cameras"].toArray();
    // Most usable pictures first, then by name; a Model that begins with the
    // Make stands alone; the texts are trimmed.
    const QStringList expected{
        "Canon EOS 5D|4|3|2012:05:06 10:00:00|2012:05:07 09:00:00|cam/1.jpg|cam/3.jpg",
        "Pixel 7|2|2|2012:05:06 11:00:00|2012:05:06 13:00:00|phone/1.jpg|phone/2.jpg",
        "NIKON CORPORATION NIKON D70|1|1|2012:05:05 08:00:00|2012:05:05 08:00:00|cam/n.jpg|cam/n.jpg",
        "Unknown camera|1|1|2012:05:08 08:00:00|2012:05:08 08:00:00|misc/x.jpg|misc/x.jpg"};
    QStringList listed;
    for (const QJsonValue &v : cameras) {
        const QJsonObject c = v.toObject();
        QCOMPARE(sorted(c.keys()),
                 sorted({"name", "pictures", "valid", "oldest", "newest", "oldest_path", "newest_path"}));
        listed << QStringList{c["name"].toString(), QString::number(c["pictures"].toInt()),
                              QString::number(c["valid"].toInt()), c["oldest"].toString(), c["newest"].toString(),
                              QDir(top.path()).relativeFilePath(c["oldest_path"].toString()),
                              QDir(top.path()).relativeFilePath(c["newest_path"].toString())}
                      .join('|');
    }
    QCOMPARE(listed, expected);

    const Run text = cli({"dates", top.path(), "--cameras"});
    QVERIFY2(text.out.contains("Cameras:\n  Canon EOS 5D: 4 pictures, 3 usable, 2012:05:06 10:00:00 to "
                               "2012:05:07 09:00:00\n  Pixel 7: 2 pictures, 2 usable,"),
             text.out.constData());
}

// A shift whose one picture could not be changed (the user protected it):
// the total is one picture, not "1 pictures".
void TestCli::oneUnchangedPictureReadsAsEnglish()
{
    QTemporaryDir top;
    const QString path = top.filePath(QStringLiteral("a.jpg"));
    QVERIFY(writeFile(QFile::encodeName(path).toStdString(), cameraPicture("2008:05:30 15:56:01", "Canon", "Canon EOS 40D")));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const Run run = cli({"shift", top.path(), "--by", "60", "--yes"});
    QVERIFY2(run.exitCode != 0, run.out.constData());
    QVERIFY2(run.out.contains("1 of 1 picture with a usable date could not be changed."), run.out.constData());
    QVERIFY2(!run.out.contains("1 pictures"), run.out.constData());
}

void TestCli::countsReadAsEnglish_data()
{
    QTest::addColumn<QList<Shot>>("shots");
    QTest::addColumn<QStringList>("sidecars");    // sidecar files, beside their pictures
    QTest::addColumn<QStringList>("arguments");   // after the command and the folder
    QTest::addColumn<QStringList>("expected");    // texts the report holds
    const Shot canon{"a.jpg", "2008:05:30 15:56:01", "Canon", "Canon EOS 40D"};
    const Shot phone{"b/p.jpg", "2008:05:31 09:00:00", "", "Pixel 7"};
    const Shot phone2{"b/q.jpg", "2008:05:31 10:00:00", "", "Pixel 7"};
    const Shot unset{"c.jpg", "0000:00:00 00:00:00", "Canon", "Canon EOS 40D"};
    const QStringList shift{"shift", "--by", "60", "--yes"};

    QTest::newRow("shift, one picture in one folder")
        << QList<Shot>{canon} << QStringList() << shift
        << QStringList{"1 picture in 1 folder, dated from 2008:05:30 15:56:01 to 2008:05:30 15:56:01, has been changed.\n"};
    QTest::newRow("shift, one picture of a camera")
        << QList<Shot>{canon, phone} << QStringList() << shift + QStringList{"--camera", "Canon EOS 40D"}
        << QStringList{"1 picture of Canon EOS 40D in 2 folders, dated from 2008:05:30 15:56:01 to "
                       "2008:05:30 15:56:01, has been changed.\n"};
    QTest::newRow("shift, two pictures in two folders")
        << QList<Shot>{canon, phone} << QStringList() << shift
        << QStringList{"2 pictures in 2 folders, dated from 2008:05:30 15:56:01 to 2008:05:31 09:00:00, have been "
                       "changed.\n\nEvery capture time moved by +0:01:00"};
    QTest::newRow("shift, one sidecar")
        << QList<Shot>{canon} << QStringList{"a.xmp"} << shift << QStringList{", 0 IPTC dates, 1 sidecar file."};
    QTest::newRow("shift, two sidecars")
        << QList<Shot>{canon, phone} << QStringList{"a.xmp", "b/p.xmp"} << shift
        << QStringList{", 0 IPTC dates, 2 sidecar files."};
    QTest::newRow("cameras with none, one and two pictures")
        << QList<Shot>{unset, phone, phone2} << QStringList() << QStringList{"dates", "--cameras"}
        << QStringList{"  Pixel 7: 2 pictures, 2 usable, ", "  Canon EOS 40D: 1 picture, 0 usable\n"};
    QTest::newRow("cameras with one usable picture")
        << QList<Shot>{canon} << QStringList() << QStringList{"dates", "--cameras"}
        << QStringList{"  Canon EOS 40D: 1 picture, 1 usable, "};
}

// kelvaro-cli's texts: each count with its singular or plural, and the
// result as whole sentences, broken only where a sentence ends.
void TestCli::countsReadAsEnglish()
{
    QFETCH(QList<Shot>, shots);
    QFETCH(QStringList, sidecars);
    QFETCH(QStringList, arguments);
    QTemporaryDir top;
    for (const Shot &s : shots) {
        const QString path = top.filePath(s.path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(writeFile(QFile::encodeName(path).toStdString(), cameraPicture(s.date, s.make, s.model)));
    }
    for (const QString &name : sidecars) {
        QFile file(top.filePath(name));
        const QByteArray text = sidecarText(shots.at(sidecars.indexOf(name)).date);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    arguments.insert(1, top.path());
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 0);
    QFETCH(QStringList, expected);
    for (const QString &text : expected)
        QVERIFY2(run.out.contains(text.toUtf8()), run.out.constData());
    const QRegularExpression wrongPlural(QStringLiteral("(^|[^0-9,])1 (pictures|folders|XMP dates|IPTC dates|sidecar files)\\b"));
    QVERIFY2(!wrongPlural.match(QString::fromUtf8(run.out)).hasMatch(), run.out.constData());
    if (arguments.first() == QLatin1String("shift")) {
        // Every line of the result ends a sentence, but the journal's path.
        for (const QByteArray &line : run.out.trimmed().split('\n'))
            QVERIFY2(line.isEmpty() || line.endsWith('.') || line.startsWith("Journal: "), line.constData());
    }
}

void TestCli::shiftMovesOnlyTheChosen_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("moved");   // the pictures that move; every other file keeps its bytes
    QTest::addColumn<qint64>("shift");

    const QStringList canon{"cam/1.jpg", "cam/2.jpg", "cam/3.jpg"};
    QTest::newRow("one camera") << QStringList{"--camera", "Canon EOS 5D", "--by", "3600"} << canon << qint64(3600);
    QTest::newRow("a camera without a Make")
        << QStringList{"--camera", "Pixel 7", "--by", "-60"} << QStringList{"phone/1.jpg", "phone/2.jpg"} << qint64(-60);
    QTest::newRow("two cameras, names in any letter case")
        << QStringList{"--camera", "Pixel 7", "--camera", " unknown CAMERA", "--by", "60"}
        << QStringList{"phone/1.jpg", "phone/2.jpg", "misc/x.jpg"} << qint64(60);
    // Both limits take a picture that stands exactly on them.
    QTest::newRow("limits are inclusive")
        << QStringList{"--from", "2012:05:06 11:00:00", "--to", "2012:05:06 13:00:00", "--by", "60"}
        << QStringList{"phone/1.jpg", "cam/2.jpg", "phone/2.jpg"} << qint64(60);
    QTest::newRow("camera and a lower limit")
        << QStringList{"--camera", "Canon EOS 5D", "--from", "2012:05:06 12:00:00", "--by", "60"}
        << QStringList{"cam/2.jpg", "cam/3.jpg"} << qint64(60);
    QTest::newRow("oldest-to is the oldest chosen picture")
        << QStringList{"--camera", "Pixel 7", "--oldest-to", "2012:05:06 10:30:00"}
        << QStringList{"phone/1.jpg", "phone/2.jpg"} << qint64(-1800);
    // The Nikon's picture, a day older, would leave the years 1000 to 9999; it
    // is not chosen, so it does not stand in the way.
    QTest::newRow("range check of the chosen only")
        << QStringList{"--camera", "Pixel 7", "--oldest-to", "1000:01:01 00:00:00"}
        << QStringList{"phone/1.jpg", "phone/2.jpg"}
        << CaptureDate::parse("2012:05:06 11:00:00").secsTo(CaptureDate::parse("1000:01:01 00:00:00"));
    // The photo of a clock: it says 10:00 but was taken at 10:02:03.
    QTest::newRow("picture with its true time")
        << QStringList{"--camera", "Canon EOS 5D", "--picture", "%1/cam/1.jpg", "--to", "2012:05:06 10:02:03"}
        << canon << qint64(123);
    QTest::newRow("picture of another camera sets the shift")
        << QStringList{"--picture", "%1/phone/1.jpg", "--to", "2012:05:06 10:00:00", "--camera", "Pixel 7"}
        << QStringList{"phone/1.jpg", "phone/2.jpg"} << qint64(-3600);
}

void TestCli::shiftMovesOnlyTheChosen()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, moved);
    QFETCH(qint64, shift);
    QTemporaryDir top;
    QVERIFY(makeTrip(top.path()));
    // Sidecars of a picture of each kind: they move with their picture or not at all.
    const QStringList sidecarsOf{"cam/1.jpg", "phone/1.jpg"};
    for (const QString &picture : sidecarsOf) {
        QFile file(top.path() + '/' + QString(picture).replace(".jpg", ".xmp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sidecarText(dateOf(top.path() + '/' + picture).toStdString()));
    }
    const auto before = snapshot(top.path());
    for (QString &o : options)
        o.replace("%1", top.path());

    const Run run = cli(QStringList{"shift", top.path(), "--yes", "--json", "--keep-file-times"} + options);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    const QJsonObject o = run.json();
    QCOMPARE(o["shift_seconds"].toInteger(), shift);
    QCOMPARE(o["chosen"].toInt(), int(moved.size()));
    QCOMPARE(o["changed"].toInt(), int(moved.size()));
    QCOMPARE(o["not_changed"].toInt(), 0);
    QCOMPARE(o["added_since"].toInt(), 0);
    QCOMPARE(o["valid"].toInt(), 7);   // the tree's counts stay those of every picture
    int sidecarsMoved = 0;
    for (const QString &picture : sidecarsOf) {
        const QString key = '/' + QString(picture).replace(".jpg", ".xmp");
        const bool moves = moved.contains(picture);
        sidecarsMoved += moves;
        QVERIFY2((snapshot(top.path()).value(key).first != before.value(key).first) == moves, qPrintable(key));
    }
    QCOMPARE(o["sidecars"].toInt(), sidecarsMoved);

    const auto after = snapshot(top.path());
    for (const Shot &s : tripTree) {
        const QString key = '/' + s.path;
        if (moved.contains(s.path)) {
            const QDateTime old = CaptureDate::parse(QByteArray::fromStdString(s.date));
            QCOMPARE(dateOf(top.path() + key), QString::fromLatin1(CaptureDate::format(old.addSecs(shift))));
        } else {
            QVERIFY2(after.value(key) == before.value(key), qPrintable(s.path));
        }
    }

    // The journal names the choice.
    Journal::Record record;
    QString error;
    QVERIFY2(Journal::read(o["journal"].toString(), &record, &error), qPrintable(error));
    QCOMPARE(record.header.pictures, int(moved.size()));
    QVERIFY(!record.header.choice.isEmpty());
}

// A shift of one camera that stopped half-way: the resume finishes that
// camera's pictures only, and the undo gives back every byte.
void TestCli::resumeAndUndoKeepToTheChoice()
{
    QTemporaryDir top;
    const int perCamera = 300;
    for (int i = 0; i < perCamera; ++i) {
        const std::string date = "2012:05:06 10:" + QString::number(i / 60).rightJustified(2, '0').toStdString() + ':'
                                 + QString::number(i % 60).rightJustified(2, '0').toStdString();
        for (const char *model : {"Canon EOS 5D", "Pixel 7"}) {
            const QString path = top.path() + QString("/%1/%2.jpg").arg(model[0] == 'C' ? "cam" : "phone").arg(i);
            QDir().mkpath(QFileInfo(path).path());
            QVERIFY(writeFile(QFile::encodeName(path).toStdString(), cameraPicture(date, "", model)));
        }
    }
    const auto before = snapshot(top.path());

    // Stopped after 40 pictures (and the others in hand), its closing line
    // cut off as by a crash.
    class StopAfter : public FolderWalk::Observer {
    public:
        explicit StopAfter(WalkState &state) : state(state) {}
        void pictureDone(const QString &, const PictureResult &r) override
        {
            if (r.status == PictureStatus::Changed && ++written == 40)
                state.cancelRequested = true;
        }
        WalkState &state;
        int written = 0;
    };
    WalkState state;
    StopAfter stop(state);
    ShiftJob job(state, &stop);
    job.reset();
    job.folder = top.path();
    ShiftJob::Choice choice;
    choice.cameras << "Canon EOS 5D";
    choice.from = CaptureDate::parse("2012:05:06 10:00:10");
    job.choose(choice);
    job.run(ShiftJob::Task::Dating);
    QCOMPARE(job.chosen().valid, perCamera - 10);
    QCOMPARE(job.chosen().oldest, CaptureDate::parse("2012:05:06 10:00:10"));
    state.shiftSeconds = 3600;
    job.run(ShiftJob::Task::Shifting);
    QVERIFY(job.refusal.isEmpty());
    const int changed = job.counts.changed;
    QVERIFY(changed >= 40 && changed < perCamera - 10);
    QFile journal(job.journalPath);
    QVERIFY(journal.open(QIODevice::ReadWrite));
    QByteArray lines = journal.readAll();
    QVERIFY(lines.startsWith("{") && lines.left(lines.indexOf('\n')).contains(
        "\"choice\": {\"cameras\":[\"Canon EOS 5D\"],\"from\":\"2012:05:06 10:00:10\"}"));
    lines.chop(1);
    lines.truncate(lines.lastIndexOf('\n') + 1);
    QVERIFY(journal.resize(0));
    journal.write(lines);
    journal.close();

    const Run resumed = cli({"resume", job.journalPath, "--yes", "--json"});
    QVERIFY2(resumed.exitCode == 0, resumed.err.constData());
    // The pictures the journal names are its own: none is said to be in use.
    QVERIFY2(!resumed.err.contains("in use"), resumed.err.constData());
    QCOMPARE(resumed.json()["changed"].toInt(), perCamera - 10 - changed);
    QCOMPARE(resumed.json()["added_since"].toInt(), 0);
    const auto after = snapshot(top.path());
    for (int i = 0; i < perCamera; ++i) {
        const QString cam = QString("/cam/%1.jpg").arg(i), phone = QString("/phone/%1.jpg").arg(i);
        QVERIFY(after.value(phone).first == before.value(phone).first);
        QCOMPARE(after.value(cam).first == before.value(cam).first, i < 10);
    }

    const Run undone = cli({"undo", resumed.json()["journal"].toString(), "--yes", "--json"});
    QVERIFY2(undone.exitCode == 0, undone.err.constData());
    QCOMPARE(undone.json()["changed"].toInt(), perCamera - 10);
    const auto back = snapshot(top.path());
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        QVERIFY2(back.value(it.key()).first == it.value().first, qPrintable(it.key()));
}

// Pictures that appear between the dating and the shifting pass: those the
// choice would take are reported as added since; the others, like every
// picture that was not chosen, are left alone without a word.
void TestCli::picturesAddedSinceAndNotChosen()
{
    QTemporaryDir top;
    QVERIFY(makeTrip(top.path()));
    WalkState state;
    ShiftJob job(state);
    job.reset();
    job.folder = top.path();
    job.run(ShiftJob::Task::Dating);
    ShiftJob::Choice choice;
    choice.cameras << "Pixel 7";
    job.choose(choice);   // after the dating pass: by camera alone
    QCOMPARE(job.chosen().valid, 2);
    QCOMPARE(job.chosen().oldest, CaptureDate::parse("2012:05:06 11:00:00"));
    QCOMPARE(job.chosen().newest, CaptureDate::parse("2012:05:06 13:00:00"));
    QVERIFY(job.rangeProblem(-3600).isEmpty());

    const Bytes lateCanon = cameraPicture("2012:05:09 10:00:00", "Canon", "Canon EOS 5D");
    QVERIFY(writeFile(QFile::encodeName(top.path() + "/cam/late.jpg").toStdString(), lateCanon));
    QVERIFY(writeFile(QFile::encodeName(top.path() + "/phone/late.jpg").toStdString(),
                      cameraPicture("2012:05:09 10:00:00", "", "Pixel 7")));
    state.shiftSeconds = 60;
    job.useJournal = false;
    job.run(ShiftJob::Task::Shifting);
    QVERIFY(job.refusal.isEmpty());
    QCOMPARE(job.counts.changed, 2);
    QCOMPARE(job.counts.addedSince, 1);
    QCOMPARE(job.counts.notChosen, 6);   // the other cameras' 5 usable pictures and the late Canon
    QCOMPARE(job.counts.notChanged, 0);
    QCOMPARE(job.notes, QStringList{"added since the dates were read : " + QDir::toNativeSeparators(top.path() + "/phone/late.jpg")});
    QCOMPARE(dateOf(top.path() + "/phone/late.jpg"), QString("2012:05:09 10:00:00"));
    QVERIFY(readFile(QFile::encodeName(top.path() + "/cam/late.jpg").toStdString()) == lateCanon);
    QCOMPARE(dateOf(top.path() + "/phone/2.jpg"), QString("2012:05:06 13:01:00"));
}

namespace {

// What Kelvaro 1.0 wrote in a done line, by the code written now, for every
// outcome a writing pass records.
const QHash<QByteArray, QByteArray> firstReleaseTexts = {
    {"changed", "changed"},
    {"already_done", "already holds the new date"},
    {"unrecognised", "holds neither the old nor the new date"},
    {"cannot_open", "cannot be opened"},
    {"read_failed", "read failed"},
    {"write_failed", "write failed"},
    {"locked", "in use by another program"},
    {"changed_elsewhere", "changed by another program"},
    {"close_failed", "written, but closing the file failed"},
    {"picture_not_changed", "its picture was not changed"},
};

// Rewrites a journal as Kelvaro 1.0 wrote it: the outcome of every done line
// becomes that release's text; every other byte stays. Returns how many lines
// now read differently, or -1 when an outcome has no such text.
int rewriteAsFirstRelease(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    static const QRegularExpression done(QStringLiteral("^\\{\"n\": \\d+, \"done\": \"([^\"]*)\"\\}$"));
    static const QRegularExpression seal(QStringLiteral(", \"crc\": \"[0-9a-f]{8}\"\\}$"));
    int rewritten = 0;
    for (QByteArray &line : lines) {
        // No seals then: lines end with their last value.
        line = QString::fromLatin1(line).replace(seal, QStringLiteral("}")).toLatin1();
        line.replace("{\"journal\": \"kelvaro\", \"version\": 2,", "{\"journal\": \"kelvaro\", \"version\": 1,");
        const QRegularExpressionMatch m = done.match(QString::fromLatin1(line));
        if (!m.hasMatch())
            continue;
        const QByteArray code = m.captured(1).toLatin1();
        if (!firstReleaseTexts.contains(code))
            return -1;
        const QByteArray text = firstReleaseTexts.value(code);
        rewritten += text != code;
        line.replace(m.capturedStart(1), code.size(), text);
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(lines.join('\n')) < 0)
        return -1;
    return rewritten;
}

// A journal as a pass that stopped would have left it: every line up to its
// `doneKept`-th done line, the last of which says its picture could not be
// written. Returns the paths of the pictures written before the stop.
QSet<QByteArray> cutJournal(const QString &path, int doneKept)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    QByteArray kept;
    QHash<int, QByteArray> pathOf;
    QSet<QByteArray> written;
    int dones = 0;
    for (int i = 0; i < lines.size() - 1; ++i) {
        const QJsonObject o = QJsonDocument::fromJson(lines[i]).object();
        if (o.contains("done")) {
            if (dones == doneKept)
                break;
            if (++dones == doneKept) {
                const qsizetype start = kept.size();
                kept += "{\"n\": " + QByteArray::number(o["n"].toInt()) + ", \"done\": \"write_failed\"";
                JournalLine::end(kept, start);
                continue;
            }
            written.insert(pathOf.value(o["n"].toInt()));
        } else if (o.contains("end")) {
            break;
        } else if (o.contains("runs")) {
            pathOf.insert(o["n"].toInt(), o["path"].toString().toLatin1());
        }
        kept += lines[i] + '\n';
    }
    file.resize(0);
    file.write(kept);
    return written;
}

// The pass of a journal as `history --json` lists it.
QJsonObject passOf(const QString &journal)
{
    const QJsonArray passes = cli({"history", "--json"}).json()["passes"].toArray();
    for (const QJsonValue &pass : passes)
        if (pass["journal"].toString() == journal)
            return pass.toObject();
    return {};
}

} // namespace

// Journals written by Kelvaro 1.0 recorded each picture's outcome as English
// text: they still list, undo and resume as they did. An interrupted shift is
// made from a finished one: its journal cut after its third done line, which
// now says the write failed, and every picture but the first two given its
// old bytes back.
void TestCli::journalsOfTheFirstReleaseStillServe_data()
{
    QTest::addColumn<bool>("interrupted");
    QTest::newRow("finished shift: history, undo") << false;
    QTest::newRow("interrupted shift: history, resume, undo") << true;
}

void TestCli::journalsOfTheFirstReleaseStillServe()
{
    QFETCH(bool, interrupted);
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), {{"a.jpg", "2012:05:06 10:00:00"}, {"b.jpg", "2012:05:06 11:00:00"},
                                  {"sub/c.jpg", "2011:01:01 08:30:00"}, {"sub/d.jpg", "2013:07:08 09:10:11"},
                                  {"sub/e.jpg", "2013:07:08 09:10:12"}, {"sub/zero.jpg", "0000:00:00 00:00:00"}}));
    const auto before = snapshot(top.path());
    const Run shift = cli({"shift", top.path(), "--by", "3600", "--yes", "--json"});
    QVERIFY2(shift.exitCode == 0, shift.err.constData());
    QCOMPARE(shift.json()["changed"].toInt(), 5);
    const QString journal = shift.json()["journal"].toString();
    const auto shifted = snapshot(top.path());

    const int written = interrupted ? 2 : 5;
    if (interrupted) {
        const QSet<QByteArray> kept = cutJournal(journal, written + 1);
        QCOMPARE(kept.size(), written);
        for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
            if (kept.contains(QFile::encodeName(top.path() + it.key())))
                continue;
            QFile file(top.path() + it.key());   // the same file, as the journal names it
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(it.value().first), it.value().first.size());
        }
    }
    const QJsonObject listed = passOf(journal);
    QCOMPARE(listed["changed"].toInt(), written);
    QCOMPARE(listed["state"].toString(), QString(interrupted ? "interrupted" : "complete"));
    // "changed" was written the same then as now: only the failed write reads otherwise.
    QCOMPARE(rewriteAsFirstRelease(journal), interrupted ? 1 : 0);
    QCOMPARE(passOf(journal), listed);

    QString undo = journal;
    if (interrupted) {
        const Run resumed = cli({"resume", journal, "--yes", "--json"});
        QVERIFY2(resumed.exitCode == 0, (resumed.err + resumed.out).constData());
        QCOMPARE(resumed.json()["changed"].toInt(), 5 - written);
        const auto after = snapshot(top.path());
        for (auto it = shifted.constBegin(); it != shifted.constEnd(); ++it)
            QVERIFY2(after.value(it.key()).first == it.value().first, qPrintable(it.key()));
        // The resume's own journal: the pictures written before the stop
        // already held the new date.
        undo = resumed.json()["journal"].toString();
        const QJsonObject resumeListed = passOf(undo);
        QCOMPARE(rewriteAsFirstRelease(undo), written);
        QCOMPARE(passOf(undo), resumeListed);
        QCOMPARE(passOf(journal)["state"].toString(), QString("resumed"));
    }

    const Run undone = cli({"undo", undo, "--yes", "--json"});
    QVERIFY2(undone.exitCode == 0, (undone.err + undone.out).constData());
    QCOMPARE(undone.json()["changed"].toInt(), 5);
    const auto back = snapshot(top.path());
    QCOMPARE(back.keys(), before.keys());
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        QVERIFY2(back.value(it.key()).first == it.value().first, qPrintable(it.key()));
    QCOMPARE(passOf(journal)["state"].toString(), QString("undone"));
}

namespace {

// One folder with a file of every kind: a JPEG and a RAW file of one name
// with the RAW file's sidecar, a TIFF picture, a .nef that holds a JPEG (it
// is a JPEG), and an X3F file (its format is not supported). Every dated file
// comes from the same camera.
const QList<QPair<QString, std::string>> kindTree = {
    {"a.jpg", "2012:05:06 10:00:00"}, {"a.CR2", "2012:05:06 10:00:00"}, {"b.tif", "2012:05:07 11:00:00"},
    {"c.nef", "2012:05:08 12:00:00"}, {"d.x3f", ""}};

bool makeKindTree(const QString &top)
{
    for (const auto &file : kindTree) {
        const QString suffix = QFileInfo(file.first).suffix().toLower();
        const Bytes bytes = suffix == "cr2" ? samples::cameraTiff(tifftest::Header::Intel, file.second)
                            : suffix == "tif" ? samples::cameraTiff(tifftest::Header::Motorola, file.second)
                            : suffix == "x3f" ? rawtest::x3f()
                                              : cameraPicture(file.second, "Maker", "Model 7");
        if (!writeFile(QFile::encodeName(top + '/' + file.first).toStdString(), bytes))
            return false;
    }
    QFile sidecar(top + "/a.xmp");
    return sidecar.open(QIODevice::WriteOnly) && sidecar.write(sidecarText("2012:05:06 10:00:00")) > 0;
}

} // namespace

// Each file's kind, by the format that claimed it: in text lines after the
// date (a JPEG's line reads as before), in JSON always.
void TestCli::kindsAreListed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");     // what follows the path in the text line
    QTest::addColumn<QString>("reason");   // JSON: empty when it has a date

    QTest::newRow("JPEG") << "a.jpg" << "jpeg" << "2012:05:06 10:00:00" << "";
    QTest::newRow("RAW file, with its sidecar")
        << "a.CR2" << "raw" << "2012:05:06 10:00:00\traw\t(also 0 XMP, 0 IPTC, 1 sidecar)" << "";
    QTest::newRow("TIFF picture") << "b.tif" << "tiff" << "2012:05:07 11:00:00\ttiff" << "";
    QTest::newRow("a .nef that holds a JPEG") << "c.nef" << "jpeg" << "2012:05:08 12:00:00" << "";
    QTest::newRow("format not supported") << "d.x3f" << "raw" << "format not supported\traw"
                                          << "format not supported";
}

void TestCli::kindsAreListed()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    QTemporaryDir top;
    QVERIFY(makeKindTree(top.path()));
    const Run lines = cli({"dates", top.path(), "--list"});
    QCOMPARE(lines.exitCode, 0);
    QVERIFY2(lines.out.contains(QFile::encodeName(top.filePath(name)) + '\t' + text.toUtf8() + '\n'),
             lines.out.constData());
    const Run json = cli({"dates", top.path(), "--list", "--json"});
    QJsonObject entry;
    for (const QJsonValue &v : json.json()["list"].toArray())
        if (v.toObject()["path"].toString() == top.filePath(name))
            entry = v.toObject();
    QCOMPARE(entry["kind"].toString(), kind);
    QCOMPARE(entry["reason"].toString(), reason);
    QCOMPARE(entry["date"].isNull(), !reason.isEmpty());
}

// RAW files count as pictures, each of a RAW+JPEG pair; a file whose format
// is not supported counts apart, and a RAW file counts with its camera.
void TestCli::kindsAreCounted()
{
    QTemporaryDir top;
    QVERIFY(makeKindTree(top.path()));
    const QJsonObject o = cli({"dates", top.path(), "--json", "--cameras"}).json();
    QCOMPARE(o["pictures"].toInt(), 5);
    QCOMPARE(o["valid"].toInt(), 4);
    QCOMPARE(o["raw"].toInt(), 2);
    QCOMPARE(o["unsupported"].toInt(), 1);
    const QJsonArray cameras = o["cameras"].toArray();
    QVERIFY(!cameras.isEmpty());
    QCOMPARE(cameras[0]["name"].toString(), "Maker Model 7");
    QCOMPARE(cameras[0]["pictures"].toInt(), 4);
    QCOMPARE(cameras[0]["valid"].toInt(), 4);
    const Run text = cli({"dates", top.path()});
    // a.jpg and a.CR2 are equally old: the name that sorts first stands for both.
    QVERIFY2(text.out.endsWith("Usable:   4\nOldest:   2012:05:06 10:00:00\nNewest:   2012:05:08 12:00:00\n"
                               "Oldest picture: " + QFile::encodeName(top.filePath("a.CR2")) + "\nNewest picture: "
                               + QFile::encodeName(top.filePath("c.nef")) + "\nRAW files: 2\nFormat not supported: 1\n"),
             text.out.constData());
}

// --types chooses kinds as --camera chooses cameras: the others, and the
// file whose format is not supported, keep every byte; NAME.xmp moves with
// the RAW file it belongs to.
void TestCli::shiftChoosesKinds_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("moved");
    QTest::addColumn<int>("raw");          // of the moved, RAW files
    QTest::addColumn<QString>("choice");   // as the journal records it

    const QStringList every{"a.jpg", "a.CR2", "b.tif", "c.nef"};
    QTest::newRow("every kind") << QStringList() << every << 1 << "";
    QStringList kinds;
    for (FileKind kind : FormatList::kinds())
        kinds.prepend(FormatList::kindName(kind));
    QTest::newRow("every kind named") << QStringList{"--types", kinds.join(',')} << every << 1 << "";
    QTest::newRow("raw") << QStringList{"--types", "raw"} << QStringList{"a.CR2"} << 1 << "{\"types\":[\"raw\"]}";
    QTest::newRow("JPEG, a .nef holding one among them")
        << QStringList{"--types", "JPEG"} << QStringList{"a.jpg", "c.nef"} << 0 << "{\"types\":[\"jpeg\"]}";
    QTest::newRow("tiff and raw, camera too")
        << QStringList{"--types", "tiff", "--types=raw", "--camera", "maker model 7"}
        << QStringList{"a.CR2", "b.tif"} << 1 << "{\"cameras\":[\"maker model 7\"],\"types\":[\"tiff\",\"raw\"]}";
}

void TestCli::shiftChoosesKinds()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, moved);
    QFETCH(int, raw);
    QFETCH(QString, choice);
    QTemporaryDir top;
    QVERIFY(makeKindTree(top.path()));
    const auto before = snapshot(top.path());

    // A dry run lists the chosen pictures alone.
    const Run dry = cli(QStringList{"shift", top.path(), "--by", "3600", "--dry-run", "--json"} + options);
    QVERIFY2(dry.exitCode == 0, dry.err.constData());
    QStringList listed;
    for (const QJsonValue &v : dry.json()["list"].toArray())
        listed << QFileInfo(v.toObject()["path"].toString()).fileName();
    // Without a choice (every kind named is none), every picture is listed.
    QCOMPARE(sorted(listed), sorted(moved + (choice.isEmpty() ? QStringList{"d.x3f"} : QStringList())));

    const Run run = cli(QStringList{"shift", top.path(), "--by", "3600", "--yes", "--json"} + options);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    const QJsonObject o = run.json();
    QCOMPARE(o["chosen"].toInt(), int(moved.size()));
    QCOMPARE(o["changed"].toInt(), int(moved.size()));
    QCOMPARE(o["unsupported"].toInt(), 1);
    QCOMPARE(o["sidecars"].toInt(), moved.contains("a.CR2") ? 1 : 0);
    const auto after = snapshot(top.path());
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        const QString name = it.key().mid(1);
        const bool moves = moved.contains(name) || (name == "a.xmp" && moved.contains("a.CR2"));
        QVERIFY2((after.value(it.key()).first != it.value().first) == moves, qPrintable(name));
    }
    for (const QString &name : moved) {
        const QDateTime was = CaptureDate::parse(QByteArray::fromStdString(
            std::find_if(kindTree.begin(), kindTree.end(), [&](const auto &f) { return f.first == name; })->second));
        QCOMPARE(dateOf(top.filePath(name)), QString(CaptureDate::format(was.addSecs(3600))));
    }
    Journal::Record record;
    QString error;
    QVERIFY2(Journal::read(o["journal"].toString(), &record, &error), qPrintable(error));
    QCOMPARE(QString::fromUtf8(record.header.choice), choice);

    // Undone byte for byte; the text result then tells the RAW files.
    QCOMPARE(cli({"undo", "--yes"}).exitCode, 0);
    QCOMPARE(snapshot(top.path()).keys(), before.keys());
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        QVERIFY2(snapshot(top.path()).value(it.key()).first == it.value().first, qPrintable(it.key()));
    const Run text = cli(QStringList{"shift", top.path(), "--by", "3600", "--yes"} + options);
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.startsWith(QString(moved.size() == 1 ? "1 picture " : "%1 pictures ").arg(moved.size()).toUtf8()),
             text.out.constData());
    QVERIFY2(text.out.contains("\nRAW files among the changed pictures: " + QByteArray::number(raw) + ".\n")
                 == (raw > 0) && text.out.contains("RAW files among") == (raw > 0),
             text.out.constData());
}

// A shift of the RAW files cut off before its first picture: the resume
// walks the tree and finishes the RAW files alone, by what each file holds
// and is named, never the JPEGs and TIFF pictures beside them, nor a .nef
// that holds a JPEG.
void TestCli::resumeKeepsToTheKinds()
{
    QTemporaryDir top;
    const int perKind = 20;
    for (int i = 0; i < perKind; ++i) {
        const std::string date = "2012:05:06 10:" + QString::number(i).rightJustified(2, '0').toStdString() + ":00";
        const QString base = top.path() + QString("/%1/p%2.").arg(i % 3).arg(i);
        QDir().mkpath(QFileInfo(base).path());
        QVERIFY(writeFile(QFile::encodeName(base + "cr2").toStdString(),
                          samples::cameraTiff(tifftest::Header(i % 2), date)));
        QVERIFY(writeFile(QFile::encodeName(base + "tif").toStdString(),
                          samples::cameraTiff(tifftest::Header::Intel, date)));
        QVERIFY(writeFile(QFile::encodeName(base + "jpg").toStdString(), picture(date)));
        QVERIFY(writeFile(QFile::encodeName(base + "jpeg.nef").toStdString(), picture(date)));
    }
    const auto before = snapshot(top.path());
    const Run shift = cli({"shift", top.path(), "--types", "raw", "--by", "3600", "--yes", "--json"});
    QVERIFY2(shift.exitCode == 0, shift.err.constData());
    QCOMPARE(shift.json()["changed"].toInt(), perKind);

    // Its journal cut before the first picture, as by a crash right after the
    // dates the user saw were recorded; every file as it was before.
    const QString journal = shift.json()["journal"].toString();
    QFile file(journal);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray kept;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.contains("\"runs\": "))
            break;
        kept += line + '\n';
    }
    QVERIFY(file.resize(0));
    QCOMPARE(file.write(kept), kept.size());
    file.close();
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        QFile picture(top.path() + it.key());
        QVERIFY(picture.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(picture.write(it.value().first), it.value().first.size());
    }

    const Run resumed = cli({"resume", journal, "--yes", "--json"});
    QVERIFY2(resumed.exitCode == 0, resumed.err.constData());
    QCOMPARE(resumed.json()["changed"].toInt(), perKind);
    const auto after = snapshot(top.path());
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        QVERIFY2((after.value(it.key()).first != it.value().first) == it.key().endsWith(".cr2"), qPrintable(it.key()));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
