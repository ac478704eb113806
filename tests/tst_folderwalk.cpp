// The folder walk: which entries are pictures, what each pass counts, and that
// links never make a picture count or shift twice.
#include "folderwalk.h"
#include "shiftjob.h"
#include "isolatedhome.h"
#include "jpegbuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace jpegtest;

namespace {

// Set when the system would not make a link that a tree asks for (Windows
// without the right to make symbolic links): the test is skipped, not failed.
bool linkRefused = false;

#ifdef _WIN32
const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

int symlink(const QString &target, const QString &path)
{
#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif
    const QString native = QDir::toNativeSeparators(path);
    const QString nativeTarget = QDir::toNativeSeparators(target);
    const bool folder = QFileInfo(QFileInfo(path).dir(), target).isDir();
    const DWORD flags = (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (CreateSymbolicLinkW(wide(native), wide(nativeTarget), flags))
        return 0;
    linkRefused = true;
    return -1;
}

int link(const QString &target, const QString &path)
{
    return CreateHardLinkW(wide(QDir::toNativeSeparators(path)), wide(QDir::toNativeSeparators(target)), nullptr)
               ? 0 : -1;
}
#else
int symlink(const QString &target, const QString &path)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData());
}

int link(const QString &target, const QString &path)
{
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(path).constData());
}
#endif

Bytes dated(const std::string &text)
{
    ExifBlock exif(ByteOrder::Motorola);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::DateTime, text).subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, text);
    return Jpeg::camera(exif).bytes();
}

// Builds a tree from one line per entry:
//   "a/b/"            a folder
//   "a/x.jpg"         a picture dated 2012:05:06 10:00:00
//   "a/x.jpg=TEXT"    a picture whose DateTimeOriginal is TEXT
//   "a/x.jpg=!exif"   a JPEG without EXIF block;  "=!date": EXIF without DateTimeOriginal
//   "a/notes-jpg=~"   a text file
//   "a/l->target"     a symbolic link to target (relative to the link's folder)
//   "a/h=>b/x.jpg"    a hard link to b/x.jpg (relative to the top)
bool makeTree(const QString &top, const QStringList &lines)
{
    for (const QString &line : lines) {
        const QString path = top + '/' + line.section('=', 0, 0).section("->", 0, 0);
        const QString folder = path.left(path.lastIndexOf('/'));
        if (!QDir().mkpath(folder))
            return false;
        if (line.endsWith('/'))
            continue;
        if (line.contains("->")) {
            if (symlink(line.section("->", 1), path))
                return false;
            continue;
        }
        if (line.contains("=>")) {
            const QString target = top + '/' + line.section("=>", 1);
            if (link(target, top + '/' + line.section("=>", 0, 0)))
                return false;
            continue;
        }
        const QString value = line.contains('=') ? line.section('=', 1) : "2012:05:06 10:00:00";
        Bytes bytes;
        if (value == "!exif")
            bytes = Jpeg().soi().sof(8, 8).sos().eoi().bytes();
        else if (value == "!date")
            bytes = Jpeg::camera(ExifBlock().ascii(0, tag::Make, "Camera")).bytes();
        else if (value == "~")
            bytes = Bytes{'t', 'e', 'x', 't'};
        else
            bytes = dated(value.toStdString());
        if (!writeFile(path.toUtf8().toStdString(), bytes))
            return false;
    }
    return true;
}

// Makes a tree, or skips the test when the system refuses a link it asks for.
#define MAKE_TREE(top, ...)                                                      \
    do {                                                                         \
        linkRefused = false;                                                     \
        const bool made = makeTree(top, __VA_ARGS__);                            \
        if (!made && linkRefused)                                                \
            QSKIP("this system refuses to make symbolic links");                 \
        QVERIFY(made);                                                           \
    } while (false)

QDateTime wallClock(const char *text)
{
    return QDateTime(QDate::fromString(QString::fromLatin1(text).left(10), "yyyy:MM:dd"),
                     QTime::fromString(QString::fromLatin1(text).mid(11), "hh:mm:ss"), Qt::UTC);
}

struct Recorder : FolderWalk::Observer {
    QList<QDateTime> oldest;
    QStringList done;
    void oldestDateChanged(const QDateTime &date) override { oldest << date; }
    void pictureDone(const QString &path, const PictureResult &) override { done << path; }
};

void startDating(WalkState &state)
{
    state.phase = WalkState::Dating;
    state.oldestDate = QDateTime::currentDateTimeUtc().addYears(100);
    state.newestDate = QDateTime::currentDateTimeUtc().addYears(-100);
}

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT

private slots:
    void pictureNames_data();
    void pictureNames();
    void counts_data();
    void counts();
    void datingKeepsOldestAndNewest();
    void tallyNamesTheOldestAndNewest_data();
    void tallyNamesTheOldestAndNewest();
    void datingLogsPicturesWithoutUsableDate();
    void cancelBeforeStartEntersOnlyTheTop();
    void shiftingHandlesEachPhysicalFileOnce();
    void rewrittenAfterDating_data();
    void rewrittenAfterDating();
    void dateBrokenAfterDatingIsNamed_data();
    void dateBrokenAfterDatingIsNamed();
    void sidecarsBelongToTheirPicture_data();
    void sidecarsBelongToTheirPicture();
};

void TestFolderWalk::pictureNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("picture");
    for (const char *yes : {"a.jpg", "top/b.JPG", "c.jpeg", "d.JpEg", "e.jpe", "f.JPE", "g.jfif", "h.JFIF",
                            "dir.png/i.jpg", "Ærø/Ἀθῆναι 北京 😀.Jpeg", "two.dots.jpg", "dir.jpg/raw.nef",
                            "j.CR2", "k.tif", "l.Raf"})
        QTest::newRow(yes) << QString::fromUtf8(yes) << true;
    for (const char *no : {"scanjpg", "notes-jpg", "a.jpg.txt", "b.jpgx", "c.jp", "d.jfi", "e.jpeg~",
                           "f.jpg.bak", "dir.jpeg/noext", "g.", "h.png", "i.xmp", "j.cr2.xmp"})
        QTest::newRow(no) << QString::fromUtf8(no) << false;
}

void TestFolderWalk::pictureNames()
{
    QFETCH(QString, path);
    QTEST(FolderWalk::isPictureName(path), "picture");
}

void TestFolderWalk::counts_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<int>("folders");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<int>("valid");

    QTest::newRow("empty top folder") << QStringList() << 1 << 0 << 0;
    QTest::newRow("two empty sub-folders") << QStringList{"a/", "b/"} << 3 << 0 << 0;
    QTest::newRow("name test")
        << QStringList{"a.JPG", "b.Jpg", "c.jpeg", "d.JPE", "e.Jfif", "notes-jpg=~", "scanjpg=!exif",
                       "f.jpg.txt=~", "holiday.jpg/g.jpg"}
        << 2 << 6 << 6;
    QTest::newRow("hidden entries are not visited")
        << QStringList{"seen.jpg", ".hidden.jpg", ".thumbs/x.jpg"} << 1 << 1 << 1;
    QTest::newRow("7 pictures, 5 usable")
        << QStringList{"1.jpg", "2.jpg=2011:01:01 08:30:00", "s/3.jpg", "s/t/4.jpg", "5.jpg",
                       "6.jpg=!exif", "7.jpg=0000:00:00 00:00:00"}
        << 3 << 7 << 5;
    QTest::newRow("odd names") << QStringList{"Ærøskøbing/Ἀθῆναι 北京 😀.JPG", "Ærøskøbing/ß.jpg"}
                               << 2 << 2 << 2;
    QTest::newRow("a link cycle") << QStringList{"a/x.jpg", "a/b/loop->..", "a/b/y.jpg"} << 3 << 2 << 2;
    QTest::newRow("a linked folder repeating part of the tree")
        << QStringList{"a/x.jpg", "a/b/y.jpg", "again->a/b", "top->."} << 3 << 2 << 2;
    QTest::newRow("a second hard link") << QStringList{"a/x.jpg", "b/", "b/x2.jpg=>a/x.jpg"} << 3 << 1 << 1;
    QTest::newRow("a linked picture") << QStringList{"x.jpg", "s/l.jpg->../x.jpg"} << 2 << 1 << 1;
}

void TestFolderWalk::counts()
{
    QFETCH(QStringList, tree);
    QFETCH(int, folders);
    QFETCH(int, pictures);
    QFETCH(int, valid);
    QTemporaryDir top;
    MAKE_TREE(top.path(), tree);

    // The survey pass counts without opening anything; the dating pass recounts.
    WalkState state;
    FolderWalk(state).scanFolder(QDir(top.path()));
    QCOMPARE(state.folderCount.load(), folders);
    QCOMPARE(state.pictureCount.load(), pictures);
    QCOMPARE(state.validCount.load(), 0);

    state.folderCount = 0;
    state.pictureCount = 0;
    startDating(state);
    FolderWalk(state).scanFolder(QDir(top.path()));
    QCOMPARE(state.folderCount.load(), folders);
    QCOMPARE(state.pictureCount.load(), pictures);
    QCOMPARE(state.validCount.load(), valid);
}

void TestFolderWalk::datingKeepsOldestAndNewest()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), {"a.jpg=2012:05:06 10:00:00", "b/c.jpg=2011:01:01 08:30:00",
                                  "d.jpg=2011:01:01 08:30:00", "e.jpg=0000:00:00 00:00:00",
                                  "f.jpg=    :  :     :  :  "}));
    WalkState state;
    startDating(state);
    Recorder recorder;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^no valid EXIF : .*"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^no valid EXIF : .*"));
    FolderWalk(state, &recorder).scanFolder(QDir(top.path()));
    QCOMPARE(state.validCount.load(), 3);
    QCOMPARE(state.oldestDate, wallClock("2011:01:01 08:30:00"));
    QCOMPARE(state.newestDate, wallClock("2012:05:06 10:00:00"));
    QVERIFY(!recorder.oldest.isEmpty());
    QCOMPARE(recorder.oldest.last(), state.oldestDate);
    QCOMPARE(recorder.done.size(), 5);
    // The pictures that hold them; of the two equally old, the path that
    // sorts first, whichever the walk met first.
    QCOMPARE(state.newestPath, top.filePath("a.jpg"));
    QCOMPARE(state.oldestPath, top.filePath("b/c.jpg"));
}

// The tally keeps the path of each camera's oldest and newest picture, and
// of the chosen pictures', whether chosen before the dating pass or after.
// Of pictures equally old, the path that sorts first stands for them,
// whatever order they were counted in.
void TestFolderWalk::tallyNamesTheOldestAndNewest_data()
{
    QTest::addColumn<QStringList>("cameras");   // chosen; none: every camera
    QTest::addColumn<bool>("before");           // chosen before the pictures were counted
    QTest::addColumn<QString>("oldest");
    QTest::addColumn<QString>("newest");
    QTest::newRow("every camera") << QStringList() << false << "a/phone1.jpg" << "b/cam3.jpg";
    QTest::newRow("every camera, chosen before") << QStringList() << true << "a/phone1.jpg" << "b/cam3.jpg";
    QTest::newRow("one camera") << QStringList{"Cam"} << false << "b/cam1.jpg" << "b/cam3.jpg";
    QTest::newRow("one camera, chosen before") << QStringList{"Cam"} << true << "b/cam1.jpg" << "b/cam3.jpg";
    QTest::newRow("the other") << QStringList{"Phone"} << false << "a/phone1.jpg" << "a/phone2.jpg";
    QTest::newRow("the other, chosen before") << QStringList{"Phone"} << true << "a/phone1.jpg" << "a/phone2.jpg";
}

void TestFolderWalk::tallyNamesTheOldestAndNewest()
{
    QFETCH(QStringList, cameras);
    QFETCH(bool, before);
    QFETCH(QString, oldest);
    QFETCH(QString, newest);
    // cam1 and phone1 are equally old; cam1 is counted first, and a second
    // camera picture as old as cam1 sorts after it.
    const QList<std::tuple<QString, QString, const char *>> pictures = {
        {"b/cam1.jpg", "Cam", "2012:05:06 10:00:00"},   {"b/cam2.jpg", "Cam", "2012:05:06 11:00:00"},
        {"b/cam9.jpg", "Cam", "2012:05:06 10:00:00"},
        {"a/phone1.jpg", "Phone", "2012:05:06 10:00:00"}, {"a/phone2.jpg", "Phone", "2012:05:06 12:00:00"},
        {"b/cam3.jpg", "Cam", "2012:05:06 13:00:00"}};
    CameraTally tally;
    ShiftChoice choice;
    choice.cameras = cameras;
    if (before)
        tally.choose(choice);
    for (const auto &[path, camera, date] : pictures) {
        PictureResult result;
        result.status = PictureStatus::Usable;
        result.camera = camera;
        result.oldDate = wallClock(date);
        tally.count(path, result);
    }
    if (!before)
        tally.choose(choice);
    QCOMPARE(tally.chosen().oldestPath, oldest);
    QCOMPARE(tally.chosen().newestPath, newest);
    for (const CameraTally::Camera &camera : tally.cameras()) {
        const bool cam = camera.name == "Cam";
        QCOMPARE(camera.oldestPath, cam ? QString("b/cam1.jpg") : QString("a/phone1.jpg"));
        QCOMPARE(camera.newestPath, cam ? QString("b/cam3.jpg") : QString("a/phone2.jpg"));
    }
}

void TestFolderWalk::datingLogsPicturesWithoutUsableDate()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), {"no date.jpg=!date", "no exif.jpg=!exif", "notes.jpg=~"}));
    WalkState state;
    startDating(state);
    // Only the picture with an EXIF block but no usable date is logged, by its path.
    QTest::ignoreMessage(QtDebugMsg, qPrintable("no valid EXIF : " + top.filePath("no date.jpg")));
    FolderWalk(state).scanFolder(QDir(top.path()));
    QCOMPARE(state.pictureCount.load(), 3);
    QCOMPARE(state.validCount.load(), 0);
}

void TestFolderWalk::cancelBeforeStartEntersOnlyTheTop()
{
    QTemporaryDir top;
    QVERIFY(makeTree(top.path(), {"a/x.jpg", "y.jpg"}));
    WalkState state;
    state.cancelRequested = true;
    FolderWalk(state).scanFolder(QDir(top.path()));
    QCOMPARE(state.folderCount.load(), 1);
    QCOMPARE(state.pictureCount.load(), 0);
}

// A hard link, a folder link and a link back up lead to pictures met
// before: the shift writes each physical file once.
void TestFolderWalk::shiftingHandlesEachPhysicalFileOnce()
{
    IsolatedHome home;
    QTemporaryDir top;
    MAKE_TREE(top.path(), {"a/x.jpg", "a/Ἀθῆναι 北京 😀.JPG", "b/hard.jpg=>a/x.jpg", "c->a", "a/up->.."});
    WalkState state;
    ShiftJob job(state);
    job.folder = top.path();
    job.useJournal = false;
    job.run(ShiftJob::Task::Dating);
    state.shiftSeconds = 3600;
    state.adaptFileTimes = false;
    job.run(ShiftJob::Task::Shifting);
    QCOMPARE(state.pictureCount.load(), 2);
    QCOMPARE(state.changedCount.load(), 2);
    for (const char *name : {"a/x.jpg", "a/Ἀθῆναι 北京 😀.JPG"})
        QCOMPARE(DateReader::read(top.filePath(QString::fromUtf8(name))).oldDate,
                 wallClock("2012:05:06 11:00:00"));
}

// A picture another program rewrote between the dating and the shift (its
// modification time put back) is read again before it is written: what the
// dating pass found there no longer holds.
void TestFolderWalk::rewrittenAfterDating_data()
{
    QTest::addColumn<bool>("moved");          // the EXIF block now lies elsewhere (same length)
    QTest::addColumn<QString>("dateNow");     // the date it holds when the shift comes
    QTest::addColumn<QString>("expected");    // what the file then holds
    QTest::newRow("untouched") << false << "2012:05:06 10:00:00" << "2012:05:06 11:00:00";
    QTest::newRow("same bytes written again") << false << "2012:05:06 10:00:00" << "2012:05:06 11:00:00";
    QTest::newRow("block moved, same date") << true << "2012:05:06 10:00:00" << "2012:05:06 11:00:00";
    QTest::newRow("date changed in place") << false << "2012:05:06 09:00:00" << "2012:05:06 09:00:00";
    QTest::newRow("block moved, date changed") << true << "2012:05:06 09:00:00" << "2012:05:06 09:00:00";
}

void TestFolderWalk::rewrittenAfterDating()
{
    QFETCH(bool, moved);
    QFETCH(QString, dateNow);
    QFETCH(QString, expected);
    // The same picture with or without a comment before its EXIF block, of
    // the same length either way.
    auto picture = [](bool movedBlock, const QString &date) {
        const std::string text = date.toStdString();
        ExifBlock exif(ByteOrder::Motorola);
        const int sub = exif.addDirectory();
        exif.ascii(0, tag::DateTime, text).subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, text);
        Jpeg j;
        j.soi();
        if (movedBlock)
            j.comment("abcd");
        j.app1(exif).dqt().sof(480, 640).sos().scanData(movedBlock ? 248 : 256).eoi();
        return j.bytes();
    };
    IsolatedHome home;
    QTemporaryDir top;
    const QString path = top.filePath("x.jpg");
    QVERIFY(writeFile(path.toStdString(), picture(false, "2012:05:06 10:00:00")));
    WalkState state;
    ShiftJob job(state);
    job.folder = top.path();
    job.useJournal = false;
    job.run(ShiftJob::Task::Dating);
    QCOMPARE(state.validCount.load(), 1);

    if (QTest::currentDataTag() != QLatin1String("untouched")) {
        const QDateTime mtime = QFileInfo(path).lastModified();
        QTest::qWait(20);   // a later change time than the dating pass saw
        QVERIFY(writeFile(path.toStdString(), picture(moved, dateNow)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
    state.shiftSeconds = 3600;
    state.adaptFileTimes = false;
    job.run(ShiftJob::Task::Shifting);
    QVERIFY(readFile(path.toStdString()) == picture(moved, expected));
}

// A picture whose date the user saw, and which another program left without
// a usable date before the shift came to it, is named as not changed.
void TestFolderWalk::dateBrokenAfterDatingIsNamed_data()
{
    QTest::addColumn<QString>("now");   // "!exif": no EXIF block at all
    QTest::newRow("EXIF block gone") << "!exif";
    QTest::newRow("no longer a date") << "0000:00:00 00:00:00";
}

void TestFolderWalk::dateBrokenAfterDatingIsNamed()
{
    QFETCH(QString, now);
    auto picture = [](const QString &date) {
        if (date == QLatin1String("!exif"))
            return Jpeg().soi().comment("no EXIF here").dqt().sof(8, 8).sos().scanData(64).eoi().bytes();
        ExifBlock exif(ByteOrder::Intel);
        const int sub = exif.addDirectory();
        exif.subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, date.toStdString());
        return Jpeg::camera(exif).bytes();
    };
    IsolatedHome home;
    QTemporaryDir top;
    const QString path = top.filePath("x.jpg");
    QVERIFY(writeFile(path.toStdString(), picture("2012:05:06 10:00:00")));
    QVERIFY(writeFile(top.filePath("y.jpg").toStdString(), picture("2012:05:06 12:00:00")));
    WalkState state;
    ShiftJob job(state);
    job.folder = top.path();
    job.useJournal = false;
    job.run(ShiftJob::Task::Dating);
    QCOMPARE(state.validCount.load(), 2);
    const Bytes broken = picture(now);
    QVERIFY(writeFile(path.toStdString(), broken));
    state.shiftSeconds = 3600;
    job.run(ShiftJob::Task::Shifting);
    QVERIFY(readFile(path.toStdString()) == broken);
    QCOMPARE(job.counts.changed, 1);
    QCOMPARE(job.counts.notChanged, 1);
    QCOMPARE(job.notes.size(), 1);
    QVERIFY2(job.notes.first().endsWith(QDir::toNativeSeparators(path)), qPrintable(job.notes.first()));
}

// Which XMP sidecar files go with which picture, by name alone: NAME.xmp and
// NAME.EXT.xmp in any letter case; beside a RAW file of the same name (in the
// same folder), NAME.xmp is the RAW file's alone.
void TestFolderWalk::sidecarsBelongToTheirPicture_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");   // "picture: its sidecars", sorted

    QTest::newRow("JPEG: NAME.xmp and NAME.EXT.xmp")
        << QStringList{"a.jpg", "a.xmp", "A.JPG.XMP"} << QStringList{"a.jpg: A.JPG.XMP a.xmp"};
    QTest::newRow("RAW and JPEG: NAME.xmp is the RAW file's")
        << QStringList{"a.CR2", "a.JPG", "a.xmp"} << QStringList{"a.CR2: a.xmp", "a.JPG:"};
    QTest::newRow("each keeps its NAME.EXT.xmp")
        << QStringList{"b.nef", "b.jpg", "b.XMP", "b.jpg.xmp", "b.NEF.xmp"}
        << QStringList{"b.jpg: b.jpg.xmp", "b.nef: b.NEF.xmp b.XMP"};
    QTest::newRow("names that differ in letter case")
        << QStringList{"F.Raf", "f.jpeg", "f.Xmp"} << QStringList{"F.Raf: f.Xmp", "f.jpeg:"};
    QTest::newRow("RAW alone") << QStringList{"c.ARW", "c.xmp"} << QStringList{"c.ARW: c.xmp"};
    QTest::newRow("two RAW files share it")
        << QStringList{"g.cr2", "g.dng", "g.xmp"} << QStringList{"g.cr2: g.xmp", "g.dng: g.xmp"};
    // A TIFF picture is no RAW file: it shares NAME.xmp with the JPEG, as two
    // JPEGs of one name do (the shift writes it once).
    QTest::newRow("TIFF and JPEG share it")
        << QStringList{"d.tif", "d.jpg", "d.xmp"} << QStringList{"d.jpg: d.xmp", "d.tif: d.xmp"};
    QTest::newRow("a RAW file in another folder")
        << QStringList{"x/e.cr2", "e.jpg", "e.xmp"} << QStringList{"e.jpg: e.xmp", "x/e.cr2:"};
}

void TestFolderWalk::sidecarsBelongToTheirPicture()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QTemporaryDir top;
    for (const QString &name : files) {
        QVERIFY(QDir().mkpath(QFileInfo(top.filePath(name)).path()));
        QVERIFY(writeFile(QFile::encodeName(top.filePath(name)).toStdString(), Bytes{'x'}));
    }
    // The shifting pass's walk hands its pictures on with their sidecars.
    WalkState state;
    state.phase = WalkState::Shifting;
    FolderWalk walk(state);
    QStringList paired;
    walk.shiftChunk = [&](std::vector<FolderWalk::Item> &items) {
        for (const FolderWalk::Item &item : items) {
            QStringList sidecars;
            for (const QString &sidecar : item.sidecars)
                sidecars << QFileInfo(sidecar).fileName();
            sidecars.sort();
            paired << (QStringList{QDir(top.path()).relativeFilePath(item.path) + ':'} + sidecars).join(' ');
        }
    };
    walk.scanFolder(top.path());
    paired.sort();
    QCOMPARE(paired, expected);
}

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
