// A shift that is interrupted, fails or is undone does no harm: the built
// kelvaro-cli runs on generated trees with faults put in its file calls by
// the preloaded shim (faultshim.c), and every picture is compared byte for
// byte, with its file times in nanoseconds, against the tree as it was and
// against a copy shifted without faults.
#include "isolatedhome.h"
#include "jpegbuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace jpegtest;

namespace {

constexpr char shiftBy[] = "93784";   // one day, two hours, three minutes, four seconds
constexpr int usablePictures = 6;

// ---- the tree -----------------------------------------------------------------

// An XMP packet stored in IFD0 (tag 0x02BC): its bytes come before the EXIF
// sub-directory and push DateTimeOriginal well past the first 4096 bytes.
Bytes xmpPacket(size_t size)
{
    const std::string head = "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                             "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                             "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/></x:xmpmeta>\n";
    const std::string tail = "<?xpacket end=\"w\"?>";
    Bytes packet(head.begin(), head.end());
    while (packet.size() + tail.size() < size)
        packet.push_back(' ');
    packet.insert(packet.end(), tail.begin(), tail.end());
    return packet;
}

// A camera-like picture: ModifyDate near the start of the block, then a large
// XMP packet, then DateTimeOriginal and DateTimeDigitized, then a maker note.
// Every other one (big-endian) also carries the capture time as an editor
// leaves it: in an XMP segment and in IPTC datasets with their digest.
Bytes picture(int index)
{
    ExifBlock exif(index % 2 ? ByteOrder::Motorola : ByteOrder::Intel);
    const int sub = exif.addDirectory();
    const int day = 1 + index % 28, hour = 10 + index % 14, minute = index % 60, second = (index * 7) % 60;
    char text[32];
    std::snprintf(text, sizeof text, "2012:05:%02d %02d:%02d:%02d", day, hour, minute, second);
    const std::string date = text;
    Bytes note(3000 + size_t(index % usablePictures) * 500);
    for (size_t i = 0; i < note.size(); ++i)
        note[i] = uint8_t(i * 131 + size_t(index));
    exif.ascii(0, tag::Make, "Morvane").ascii(0, tag::DateTime, date);
    exif.value(0, 0x02BC, format::Byte, 5000, xmpPacket(5000));
    exif.subDirectory(0, tag::ExifIfd, sub)
        .ascii(sub, tag::DateTimeOriginal, date)
        .ascii(sub, tag::DateTimeDigitized, date)
        .value(sub, tag::MakerNote, format::Undefined, uint32_t(note.size()), note);
    Jpeg jpeg;
    jpeg.soi().app1(exif);
    if (index % 2) {
        std::snprintf(text, sizeof text, "2012-05-%02dT%02d:%02d:%02d", day, hour, minute, second);
        XmpPacket xmp;
        xmp.attribute("xmp:CreateDate", text).element("exif:DateTimeOriginal", text).padding(500);
        IptcBlock iptc;
        std::snprintf(text, sizeof text, "201205%02d", day);
        iptc.dataset(2, 55, text);
        std::snprintf(text, sizeof text, "%02d%02d%02d", hour, minute, second);
        iptc.dataset(2, 60, text);
        const Bytes iim = iptc.iim();
        const QByteArray md5 = QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char *>(iim.data()), int(iim.size())), QCryptographicHash::Md5);
        iptc.digest(Bytes(md5.begin(), md5.end()));
        jpeg.xmp(xmp).app13(iptc);
    }
    return jpeg.dqt().sof(64, 64).sos().scanData(2000 + size_t(index % usablePictures) * 100).eoi().bytes();
}

struct FileState {
    QByteArray bytes;
    qint64 mtimeNs = 0, atimeNs = 0;
    bool operator==(const FileState &o) const
    {
        return bytes == o.bytes && mtimeNs == o.mtimeNs && atimeNs == o.atimeNs;
    }
};
using Tree = QMap<QString, FileState>;   // by path relative to the top folder

qint64 ns(const timespec &t)
{
    return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

timespec toTimespec(qint64 ns)
{
    return timespec{time_t(ns / 1000000000LL), long(ns % 1000000000LL)};
}

// The times are taken before the bytes are read, since reading may move the
// access time.
FileState fileState(const QString &path)
{
    FileState state;
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return state;
    state.mtimeNs = ns(status.st_mtim);
    state.atimeNs = ns(status.st_atim);
    // Read without moving the access time, so that looking twice sees the same.
    int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM)   // not the owner: read as anybody does
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    QFile file;
    if (fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        state.bytes = file.readAll();
    else if (fd >= 0)
        ::close(fd);
    return state;
}

bool setTimes(const QString &path, qint64 atimeNs, qint64 mtimeNs)
{
    const timespec times[2] = {toTimespec(atimeNs), toTimespec(mtimeNs)};
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

QStringList filesBelow(const QString &top)
{
    QStringList paths;
    QDirIterator it(top, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next().mid(top.size() + 1);
    paths.sort();
    return paths;
}

Tree treeState(const QString &top)
{
    Tree tree;
    for (const QString &name : filesBelow(top))
        tree.insert(name, fileState(top + '/' + name));
    return tree;
}

bool writeState(const QString &path, const FileState &state)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(state.bytes) != state.bytes.size())
        return false;
    file.close();
    return setTimes(path, state.atimeNs, state.mtimeNs);
}

bool writeTree(const QString &top, const Tree &tree)
{
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        if (!writeState(top + '/' + it.key(), it.value()))
            return false;
    return true;
}

// Six usable pictures in two folders, both byte orders, and one without EXIF.
// Each was last modified days ago; its access time lies a little ahead, later
// than both its modification and its status change time, which is one that
// reading leaves alone (relatime): the times are the same for every copy
// however often kelvaro-cli reads it.
Tree masterTree(int pictures = usablePictures)
{
    const qint64 now = qint64(std::time(nullptr)) * 1000000000LL;
    Tree tree;
    for (int i = 0; i < pictures; ++i) {
        const QString name = pictures == usablePictures
                                 ? QStringLiteral("%1/IMG_%2.%3").arg(i < 3 ? "DCIM" : "DCIM/more").arg(i).arg(i % 3 ? "jpg" : "JPG")
                                 : QStringLiteral("DCIM/%1/IMG_%2.JPG").arg(100 + i / 100).arg(i, 4, 10, QLatin1Char('0'));
        const Bytes bytes = picture(i);
        tree.insert(name, {QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())),
                           now - 10LL * 86400 * 1000000000LL + i * 1000003LL + 123456789,
                           now + 7200LL * 1000000000LL + i * 7LL + 987654321});
    }
    const Bytes plain = Jpeg().soi().sof(8, 8).sos().scanData(300).eoi().bytes();
    tree.insert(QStringLiteral("plain.jpg"), {QByteArray(reinterpret_cast<const char *>(plain.data()), int(plain.size())),
                                              now - 5LL * 86400 * 1000000000LL, now + 3600LL * 1000000000LL});
    return tree;
}

// What is different between two trees, one line for each file; empty when
// they are the same.
// `atimes`: compare the access times too.
QString differences(const Tree &got, const Tree &wanted, bool atimes = true)
{
    QStringList lines;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        if (!got.contains(it.key())) {
            lines << it.key() + ": missing";
            continue;
        }
        const FileState &g = got.value(it.key());
        if (g.bytes != it.value().bytes)
            lines << it.key() + ": bytes differ";
        if (g.mtimeNs != it.value().mtimeNs)
            lines << QStringLiteral("%1: mtime %2, wanted %3").arg(it.key()).arg(g.mtimeNs).arg(it.value().mtimeNs);
        if (atimes && g.atimeNs != it.value().atimeNs)
            lines << QStringLiteral("%1: atime %2, wanted %3").arg(it.key()).arg(g.atimeNs).arg(it.value().atimeNs);
    }
    for (auto it = got.cbegin(); it != got.cend(); ++it)
        if (!wanted.contains(it.key()))
            lines << it.key() + ": not wanted";
    return lines.join('\n');
}

// Every offset where `text` stands in `bytes`.
QList<int> offsetsOf(const QByteArray &bytes, const QByteArray &text)
{
    QList<int> at;
    for (int i = bytes.indexOf(text); i >= 0; i = bytes.indexOf(text, i + 1))
        at << i;
    return at;
}

// ---- running kelvaro-cli ------------------------------------------------------

struct Run {
    bool crashed = false;
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    QString describe() const
    {
        return QStringLiteral("exit %1%2\nstdout: %3\nstderr: %4")
            .arg(exitCode)
            .arg(crashed ? " (crashed)" : "")
            .arg(QString::fromUtf8(out), QString::fromUtf8(err.right(3000)));
    }
};

using Environment = QList<QPair<QString, QString>>;

void startCli(QProcess &process, const QStringList &arguments, const Environment &fault = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!fault.isEmpty()) {
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KELVARO_FAULT_SHIM));
        // The shim counts the calls of the whole process: the Nth call names
        // one picture, and what is done before it is known, only when the
        // pictures are handled one after the other. The tests of pictures in
        // flight ask for more jobs themselves.
        env.insert(QStringLiteral("KELVARO_JOBS"), QStringLiteral("1"));
    }
    for (const auto &pair : fault)
        env.insert(pair.first, pair.second);
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(KELVARO_CLI), arguments);
}

Run finish(QProcess &process)
{
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = "timed out";
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = run.crashed ? -1 : process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Run cli(const QStringList &arguments, const Environment &fault = {})
{
    QProcess process;
    startCli(process, arguments, fault);
    return finish(process);
}

// The fault, as the shim reads it.
Environment faultAt(const QString &fault, const QString &paths = QStringLiteral(".jpg"))
{
    return {{QStringLiteral("KELVARO_FAULT"), fault}, {QStringLiteral("KELVARO_FAULT_PATH"), paths}};
}

// A pass that waits in the shim at the given call until the test lets it go.
struct Paused {
    QTemporaryDir folder;
    QString mark() const { return folder.filePath(QStringLiteral("mark")); }
    QString go() const { return folder.filePath(QStringLiteral("go")); }
    Environment environment(const QString &fault, const QString &paths = QStringLiteral(".jpg")) const
    {
        return faultAt(fault, paths) + Environment{{QStringLiteral("KELVARO_FAULT_MARK"), mark()},
                                            {QStringLiteral("KELVARO_FAULT_GO"), go()}};
    }
    // The path of the file the pass waits on; empty when it never got there.
    QString waitForMark(QProcess &process) const
    {
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(mark()) && timer.elapsed() < 60000 && process.state() != QProcess::NotRunning)
            QThread::msleep(5);
        QFile file(mark());
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }
    bool release() const
    {
        QFile file(go());
        return file.open(QIODevice::WriteOnly);
    }
};

// Waits until the pass tells that it noticed the signal and will stop after
// the picture in hand (without taking what it wrote from the process).
bool saysCancelling(QProcess &process)
{
    process.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    while (!process.peek(1 << 20).contains("Cancelling: finishing the pictures in hand.")) {
        if (timer.elapsed() > 60000 || process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(100);
    }
    return true;
}

QStringList journals()
{
    QDir dir(isolatedHome.journalFolder());
    QStringList paths;
    for (const QString &name : dir.entryList({QStringLiteral("*.jsonl")}, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

// The journals that appeared since `before` was listed, of the given kind.
QStringList newJournals(const QStringList &before, const QString &kind)
{
    QStringList found;
    for (const QString &path : journals())
        if (!before.contains(path) && path.endsWith(QLatin1Char('-') + kind + QLatin1String(".jsonl")))
            found << path;
    return found;
}

QList<QJsonObject> journalLines(const QString &path, bool *allParse)
{
    QList<QJsonObject> lines;
    *allParse = true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *allParse = false;
        return lines;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (!line.endsWith('\n') || error.error != QJsonParseError::NoError || !document.isObject())
            *allParse = false;
        lines << document.object();
    }
    return lines;
}

} // namespace

class TestInterrupt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void faultLeavesNoMix_data();
    void faultLeavesNoMix();
    void pictureWhoseDateWasNotReadIsLeftAlone();
    void killThenResumeOrUndo_data();
    void killThenResumeOrUndo();
    void killedResumeOrUndoIsFinished_data();
    void killedResumeOrUndoIsFinished();
    void failedPutBackIsFinished_data();
    void failedPutBackIsFinished();
    void journalCutBeforeItsIntents();
    void failureAfterTheWritesIsTold_data();
    void failureAfterTheWritesIsTold();
    void undoPutsBackTheTimesOfBeforeTheShift();
    void oddNamesSurviveTheJournal_data();
    void oddNamesSurviveTheJournal();
    void resumedTreeReadsLikeTheReference();
    void secondPassOfTheTreeRefuses_data();
    void secondPassOfTheTreeRefuses();
    void killAcrossBatches_data();
    void killAcrossBatches();
    void earlyFlushFailureIsTold();
    void signalStopsAResumeOrUndo_data();
    void signalStopsAResumeOrUndo();
    void simultaneousShiftsShiftOnce();
    void journalRemovedMidPassIsTold();
    void pictureMovedOutBehindALinkIsLeftAlone();
    void folderMovedOutBehindALinkIsNotWrittenThrough();
    void pictureReplacedBeforeItsWrite_data();
    void pictureReplacedBeforeItsWrite();
    void pictureChangedAfterItsDateWasRead_data();
    void pictureChangedAfterItsDateWasRead();
    void signalStopsAfterThePictureInHand_data();
    void signalStopsAfterThePictureInHand();
    void jsonNamesAJournalOfJsonLines();

private:
    // A copy of the master tree in a folder of the row's own.
    QString freshTree(QTemporaryDir &dir);
    QString reference(bool keepTimes) const { return keepTimes ? referenceKeep : referenceAdapt; }
    // Every picture holds either all its old texts or all its new ones, and
    // nothing else changed, and its times go with its texts; `killed`: the
    // picture in hand may hold the times of its other texts. Returns what is wrong, or an empty text.
    QString checkNoMix(const Tree &got, bool killed, int *shifted) const;

    QTemporaryDir base;
    Tree large, largeShifted;   // more pictures than one batch
    bool makeLarge();
    Tree original, shiftedAdapt, shiftedKeep, shiftedTwice;
    QString referenceAdapt, referenceKeep;
};

void TestInterrupt::initTestCase()
{
    QVERIFY(base.isValid());
    original = masterTree();
    // The dates really lie far apart: ModifyDate near the start, the others
    // past byte 4096, in both byte orders.
    for (int i = 0; i < usablePictures; ++i) {
        const QByteArray bytes = original.values().at(i).bytes;
        const QList<int> runs = offsetsOf(bytes, bytes.mid(offsetsOf(bytes, "2012:05:").value(0), 19));
        QCOMPARE(runs.size(), 3);
        QVERIFY(runs.last() - runs.first() > 4096);
    }
    const struct {
        QString *folder;
        Tree *tree;
        QStringList options;
    } references[] = {{&referenceAdapt, &shiftedAdapt, {}}, {&referenceKeep, &shiftedKeep, {"--keep-file-times"}}};
    for (const auto &r : references) {
        *r.folder = base.filePath(r.options.isEmpty() ? QStringLiteral("adapt") : QStringLiteral("keep"));
        QVERIFY(writeTree(*r.folder, original));
        const Run run = cli(QStringList{"shift", *r.folder, "--by", shiftBy, "--yes"} + r.options);
        QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
        *r.tree = treeState(*r.folder);
    }
    QCOMPARE(shiftedAdapt.value("plain.jpg"), original.value("plain.jpg"));
    // The XMP copies moved with the EXIF ones (2012-05-02T11:01:07 and a day,
    // two hours, three minutes and four seconds).
    const QByteArray &withXmp = shiftedAdapt.value("DCIM/IMG_1.jpg").bytes;
    QCOMPARE(withXmp.count("2012-05-03T13:04:11"), 2);
    QCOMPARE(withXmp.count("2012-05-02T11:01:07"), 0);
    QVERIFY(shiftedAdapt.value("DCIM/IMG_0.JPG").mtimeNs != original.value("DCIM/IMG_0.JPG").mtimeNs);
    QCOMPARE(shiftedKeep.value("DCIM/IMG_0.JPG").mtimeNs, original.value("DCIM/IMG_0.JPG").mtimeNs);
    const QString twice = base.filePath(QStringLiteral("twice"));
    QVERIFY(writeTree(twice, shiftedAdapt));
    QCOMPARE(cli({"shift", twice, "--by", shiftBy, "--yes"}).exitCode, 0);
    shiftedTwice = treeState(twice);
}

QString TestInterrupt::freshTree(QTemporaryDir &dir)
{
    const QString top = dir.filePath(QStringLiteral("tree"));
    return writeTree(top, original) ? top : QString();
}

QString TestInterrupt::checkNoMix(const Tree &got, bool killed, int *shifted) const
{
    QStringList problems;
    *shifted = 0;
    int oldTimes = 0;
    for (auto it = original.cbegin(); it != original.cend(); ++it) {
        const FileState &g = got.value(it.key());
        const FileState &now = shiftedAdapt.value(it.key());
        if (g.bytes == it.value().bytes) {
            if (g.mtimeNs != it.value().mtimeNs || g.atimeNs != it.value().atimeNs)
                ++oldTimes;   // written back by an undo killed before it set the times
        } else if (g.bytes == now.bytes) {
            ++*shifted;
            if (g.mtimeNs != now.mtimeNs || g.atimeNs != now.atimeNs)
                ++oldTimes;
        } else {
            // Say which runs hold what.
            QStringList runs;
            const QByteArray &before = it.value().bytes;
            const QList<int> at = offsetsOf(before, before.mid(offsetsOf(before, "2012:05:").value(0), 19));
            for (int offset : at)
                runs << QStringLiteral("%1=%2").arg(offset).arg(QString::fromLatin1(g.bytes.mid(offset, 19)));
            problems << it.key() + ": neither as before nor shifted: " + runs.join(' ');
        }
    }
    if (oldTimes > (killed ? 1 : 0))
        problems << QStringLiteral("%1 pictures whose times do not go with their bytes").arg(oldTimes);
    return problems.join('\n');
}

// ---- faults of every kind -----------------------------------------------------

void TestInterrupt::faultLeavesNoMix_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("paths");
    QTest::addColumn<bool>("resumable");   // the pass left a journal that can finish it

    // Each picture takes one write; a failed one takes one more to put the
    // old bytes back, a short one two more.
    for (int n = 1; n <= usablePictures; ++n)
        for (const char *action : {"eio", "short", "kill-before", "kill-after"})
            QTest::addRow("write %d %s", n, action) << QStringLiteral("write:%1:%2").arg(n).arg(action) << ".jpg" << true;
    // Reads: the dating pass, the shifting pass's reading, the read just
    // before each write.
    // Short writes the pass is to go on with, and calls a signal cut short:
    // no harm at all.
    for (int n : {1, 4, 6})
        for (const char *action : {"half", "eintr"})
            QTest::addRow("write %d %s", n, action) << QStringLiteral("write:%1:%2").arg(n).arg(action) << ".jpg" << true;
    for (int n : {1, 9, 16})
        QTest::addRow("read %d eintr", n) << QStringLiteral("read:%1:eintr").arg(n) << ".jpg" << true;
    for (int n : {1, 2, 5, 9, 12, 13, 14, 16, 18, 20})
        QTest::addRow("read %d eio", n) << QStringLiteral("read:%1:eio").arg(n) << ".jpg" << true;
    for (int n : {1, 4, 7, 8, 10, 13, 14})
        QTest::addRow("close %d eio", n) << QStringLiteral("close:%1:eio").arg(n) << ".jpg" << true;
    QTest::newRow("pictures synced eio") << "fdatasync:1:eio" << ".jpg" << true;
    QTest::newRow("pictures synced kill-after") << "fdatasync:1:kill-after" << ".jpg" << true;
    // The journal: its first line, the intents of the batch, the done lines,
    // the closing line.
    QTest::newRow("journal created eio") << "fdatasync:1:eio" << ".jsonl" << false;
    QTest::newRow("journal first line eio") << "write:1:eio" << ".jsonl" << false;
    QTest::newRow("journal pictures seen eio") << "write:2:eio" << ".jsonl" << false;
    QTest::newRow("journal pictures seen synced eio") << "fdatasync:2:eio" << ".jsonl" << false;
    QTest::newRow("journal intents eio") << "write:3:eio" << ".jsonl" << true;
    QTest::newRow("journal intents synced eio") << "fdatasync:3:eio" << ".jsonl" << true;
    QTest::newRow("journal intents synced kill-before") << "fdatasync:3:kill-before" << ".jsonl" << true;
    QTest::newRow("journal done lines eio") << "write:4:eio" << ".jsonl" << true;
    QTest::newRow("journal closing line eio") << "fdatasync:4:eio" << ".jsonl" << true;
}

void TestInterrupt::faultLeavesNoMix()
{
    QFETCH(QString, fault);
    QFETCH(QString, paths);
    QFETCH(bool, resumable);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    const QStringList before = journals();

    const Run run = cli({"shift", top, "--by", shiftBy, "--yes", "--json"}, faultAt(fault, paths));
    const bool killed = fault.contains("kill");
    QCOMPARE(run.crashed, killed);
    if (fault.endsWith("half") || fault.endsWith("eintr")) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
        const QString diff = differences(treeState(top), shiftedAdapt);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        return;
    }
    int shifted = 0;
    const QString mix = checkNoMix(treeState(top), killed, &shifted);
    QVERIFY2(mix.isEmpty(), qPrintable(mix + '\n' + run.describe()));
    if (!killed) {
        // A pass that did not shift every picture does not say it did (it may
        // say that something went wrong although every picture was shifted:
        // the disk or the journal failed afterwards).
        QVERIFY2(run.exitCode == 1 || (run.exitCode == 0 && shifted == usablePictures), qPrintable(run.describe()));
        if (run.exitCode == 0)
            QVERIFY2(differences(treeState(top), shiftedAdapt).isEmpty(), qPrintable(run.describe()));
        if (!run.json().isEmpty())
            QVERIFY2(run.json()["changed"].toInt() == shifted, qPrintable(run.describe()));
    }

    // The journal it left finishes the pass.
    const QStringList left = newJournals(before, "shift");
    QVERIFY(left.size() <= 1);
    if (!resumable || left.isEmpty()) {
        QVERIFY2(!resumable, "no journal");
        return;
    }
    const Run resumed = cli({"resume", left.first(), "--yes"});
    QVERIFY2(resumed.exitCode == 0, qPrintable(resumed.describe()));
    // A picture the dating pass could not read was not in the question: it
    // stays as it was, and every other one ends shifted.
    const int unread = run.json().isEmpty() ? 0 : usablePictures - run.json()["valid"].toInt();
    const Tree after = treeState(top);
    int untouched = 0;
    for (const QString &name : original.keys()) {
        if (after.value(name) == shiftedAdapt.value(name))
            continue;
        QVERIFY2(after.value(name) == original.value(name), qPrintable(name + '\n' + resumed.describe()));
        ++untouched;
    }
    QCOMPARE(untouched, unread);
}

void TestInterrupt::pictureWhoseDateWasNotReadIsLeftAlone()
{
    // The dating pass cannot read the first picture: its date is not among
    // those the user was asked about, so the pass must not shift it.
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    const Run run = cli({"shift", top, "--by", shiftBy, "--yes", "--json"}, faultAt("read:1:eio", "IMG_0.JPG"));
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QCOMPARE(run.json()["valid"].toInt(), usablePictures - 1);
    const Tree after = treeState(top);
    QVERIFY(after.value("DCIM/IMG_0.JPG") == original.value("DCIM/IMG_0.JPG"));
    QCOMPARE(run.json()["changed"].toInt(), usablePictures - 1);
    for (const QString &name : original.keys())
        if (name != "DCIM/IMG_0.JPG")
            QVERIFY2(after.value(name) == shiftedAdapt.value(name), qPrintable(name));
}

// ---- kill -9, then resume or undo ---------------------------------------------

void TestInterrupt::killThenResumeOrUndo_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("keepTimes");
    QTest::addColumn<bool>("undo");

    for (const bool undo : {false, true})
        for (const bool keep : {false, true})
            for (int n = 1; n <= usablePictures; ++n)
                for (const char *when : {"kill-before", "kill-after"})
                    QTest::addRow("%s write %d %s%s", undo ? "undo" : "resume", n, when, keep ? " keep times" : "")
                        << QStringLiteral("write:%1:%2").arg(n).arg(when) << keep << undo;
}

void TestInterrupt::killThenResumeOrUndo()
{
    QFETCH(QString, fault);
    QFETCH(bool, keepTimes);
    QFETCH(bool, undo);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    QStringList shift{"shift", top, "--by", shiftBy, "--yes"};
    if (keepTimes)
        shift << "--keep-file-times";
    const QStringList before = journals();
    const Run killed = cli(shift, faultAt(fault));
    QVERIFY2(killed.crashed, qPrintable(killed.describe()));
    const QStringList cut = newJournals(before, "shift");
    QCOMPARE(cut.size(), 1);
    auto stateOf = [&] {
        const QJsonObject history = cli({"history", "--json"}).json();
        for (const QJsonValue &pass : history["passes"].toArray())
            if (pass["journal"].toString() == cut.first())
                return pass["state"].toString();
        return QString();
    };
    if (!keepTimes) {
        QCOMPARE(stateOf(), "interrupted");
        // A dry run looks and writes nothing, not even a journal (it reads the
        // pictures, which moves the access times of those already shifted).
        const Tree killedTree = treeState(top);
        const QStringList killedJournals = journals();
        const Run dry = cli({undo ? "undo" : "resume", "--dry-run"});
        QVERIFY2(dry.exitCode == 0, qPrintable(dry.describe()));
        QVERIFY2(dry.out.contains("Dry run: nothing was written."), qPrintable(dry.describe()));
        QCOMPARE(journals(), killedJournals);
        const QString unchanged = differences(treeState(top), killedTree, false);
        QVERIFY2(unchanged.isEmpty(), qPrintable(unchanged));
    }

    // Without a journal named: the newest pass, the one just cut off.
    const Run after = cli({undo ? "undo" : "resume", "--yes"});
    QVERIFY2(after.exitCode == 0, qPrintable(after.describe()));
    const QString diff = differences(treeState(top), undo ? original : keepTimes ? shiftedKeep : shiftedAdapt);
    QVERIFY2(diff.isEmpty(), qPrintable(diff + '\n' + after.describe()));
    QCOMPARE(stateOf(), undo ? "undone" : "resumed");
}

void TestInterrupt::killedResumeOrUndoIsFinished_data()
{
    QTest::addColumn<QString>("first");    // the fault of the shift
    QTest::addColumn<QString>("second");   // the fault of the resume or undo
    QTest::addColumn<bool>("undo");

    // The shift stops after its second picture; what is left to do takes four
    // writes (or two for an undo).
    for (const bool undo : {false, true})
        for (int n = 1; n <= (undo ? 2 : 4); ++n)
            for (const char *when : {"kill-before", "kill-after"})
                QTest::addRow("%s write %d %s", undo ? "undo" : "resume", n, when)
                    << "write:3:kill-before" << QStringLiteral("write:%1:%2").arg(n).arg(when) << undo;
}

void TestInterrupt::killedResumeOrUndoIsFinished()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, undo);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    QVERIFY(cli({"shift", top, "--by", shiftBy, "--yes"}, faultAt(first)).crashed);
    const QString command = undo ? "undo" : "resume";
    const Run cut = cli({command, "--yes"}, faultAt(second));
    QVERIFY2(cut.crashed, qPrintable(cut.describe()));
    int shifted = 0;
    const QString mix = checkNoMix(treeState(top), true, &shifted);
    QVERIFY2(mix.isEmpty(), qPrintable(mix));

    // The same command again finishes what the two passes began.
    const Run again = cli({command, "--yes"});
    QVERIFY2(again.exitCode == 0, qPrintable(again.describe()));
    const QString diff = differences(treeState(top), undo ? original : shiftedAdapt);
    QVERIFY2(diff.isEmpty(), qPrintable(diff + '\n' + again.describe()));
    // And an undo after a finished resume takes the whole chain back.
    if (!undo) {
        const Run back = cli({"undo", "--yes"});
        QVERIFY2(back.exitCode == 0, qPrintable(back.describe()));
        const QString undone = differences(treeState(top), original);
        QVERIFY2(undone.isEmpty(), qPrintable(undone + '\n' + back.describe()));
    }
}

void TestInterrupt::failedPutBackIsFinished_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("undo");

    // The write of the third picture stops halfway, the disk is full, and the
    // old bytes cannot be put back either: that picture holds a mix.
    for (const bool undo : {false, true}) {
        QTest::addRow("short, no space, put back fails: %s", undo ? "undo" : "resume")
            << "write:3:short,write:5:eio" << undo;
        QTest::addRow("short, no space, killed putting back: %s", undo ? "undo" : "resume")
            << "write:3:short,write:5:kill-before" << undo;
    }
}

void TestInterrupt::failedPutBackIsFinished()
{
    QFETCH(QString, fault);
    QFETCH(bool, undo);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    const QStringList before = journals();
    const Run run = cli({"shift", top, "--by", shiftBy, "--yes", "--json"}, faultAt(fault));
    QVERIFY2(run.crashed || run.exitCode == 1, qPrintable(run.describe()));
    if (!run.crashed)
        QVERIFY2(run.err.contains("the old bytes could not be put back"), qPrintable(run.describe()));
    const QStringList left = newJournals(before, "shift");
    QCOMPARE(left.size(), 1);

    // Each run of a picture is looked at on its own: the mix is finished or
    // taken back.
    const Run after = cli({undo ? "undo" : "resume", left.first(), "--yes"});
    QVERIFY2(after.exitCode == 0, qPrintable(after.describe()));
    const QString diff = differences(treeState(top), undo ? original : shiftedAdapt);
    QVERIFY2(diff.isEmpty(), qPrintable(diff + '\n' + after.describe()));
}

void TestInterrupt::journalCutBeforeItsIntents()
{
    // Killed before the first batch reached the journal: no picture was
    // written, and the journal names none. A resume must not report success
    // while the tree stays unshifted.
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    QVERIFY(cli({"shift", top, "--by", shiftBy, "--yes"}, faultAt("write:2:kill-before", ".jsonl")).crashed);
    const Tree cut = treeState(top);
    QVERIFY(differences(cut, original).isEmpty());
    const Run resumed = cli({"resume", "--yes"});
    const Tree after = treeState(top);
    const bool finished = differences(after, shiftedAdapt).isEmpty();
    QVERIFY2(finished || differences(after, original).isEmpty(), qPrintable(resumed.describe()));
    QVERIFY2(finished || resumed.exitCode != 0, qPrintable(resumed.describe()));
}

// Whether reading a file whose access time is older than a day moves it, as
// it does on file systems mounted relatime or strictatime.
bool readingMovesOldAccessTimes(const QString &folder)
{
    const QString probe = folder + QStringLiteral("/probe");
    const qint64 old = (qint64(std::time(nullptr)) - 3 * 86400) * 1000000000LL;
    if (!writeState(probe, {QByteArray("probe"), old - 1000000000LL, old}))
        return false;
    QFile file(probe);
    if (!file.open(QIODevice::ReadOnly) || file.readAll().isEmpty())
        return false;
    file.close();
    const bool moved = fileState(probe).atimeNs != old;
    QFile::remove(probe);
    return moved;
}

void TestInterrupt::failureAfterTheWritesIsTold_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("paths");
    QTest::addColumn<bool>("json");
    QTest::addColumn<QString>("told");   // what the report or the log says

    for (const bool json : {false, true}) {
        const char *how = json ? "json" : "text";
        QTest::addRow("done lines not written, %s", how) << "write:4:eio" << ".jsonl" << json << "journal could not be written";
        QTest::addRow("closing line not synced, %s", how) << "fdatasync:4:eio" << ".jsonl" << json << "journal could not be written";
        QTest::addRow("pictures not synced, %s", how) << "fdatasync:1:eio" << ".jpg" << json << "through to the disk";
    }
}

void TestInterrupt::failureAfterTheWritesIsTold()
{
    // Every picture is shifted, and then the journal or the disk fails: the
    // pass exits 1, and says why.
    QFETCH(QString, fault);
    QFETCH(QString, paths);
    QFETCH(bool, json);
    QFETCH(QString, told);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    QStringList arguments{"shift", top, "--by", shiftBy, "--yes"};
    if (json)
        arguments << "--json";
    const Run run = cli(arguments, faultAt(fault, paths));
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QVERIFY(differences(treeState(top), shiftedAdapt).isEmpty());
    QVERIFY2((run.out + run.err).contains(told.toUtf8()), qPrintable(run.describe()));
}

void TestInterrupt::undoPutsBackTheTimesOfBeforeTheShift()
{
    // Pictures last read more than a day ago, as most are: reading them moves
    // their access time. Undo puts back the times they had before the shift,
    // and a shift that keeps the file times keeps them.
    const qint64 day = 86400LL * 1000000000LL;
    Tree old = original;
    for (FileState &state : old)
        state.atimeNs = state.mtimeNs + day;   // nine days ago
    QTemporaryDir probe;
    if (!readingMovesOldAccessTimes(probe.path()))
        QSKIP("reading does not move access times on this file system");
    for (const bool keep : {false, true}) {
        QTemporaryDir dir;
        const QString top = dir.filePath("tree");
        QVERIFY(writeTree(top, old));
        QStringList shift{"shift", top, "--by", shiftBy, "--yes"};
        if (keep)
            shift << "--keep-file-times";
        QCOMPARE(cli(shift).exitCode, 0);
        if (keep) {
            Tree wanted = shiftedAdapt;
            for (auto it = wanted.begin(); it != wanted.end(); ++it) {
                it->mtimeNs = old.value(it.key()).mtimeNs;
                it->atimeNs = old.value(it.key()).atimeNs;
            }
            const QString kept = differences(treeState(top), wanted);
            QVERIFY2(kept.isEmpty(), qPrintable(kept));
        }
        QCOMPARE(cli({"undo", "--yes"}).exitCode, 0);
        const QString diff = differences(treeState(top), old);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QVERIFY2(differences(treeState(top), old, false).isEmpty(), "bytes or modification times differ");
    }
}

void TestInterrupt::oddNamesSurviveTheJournal_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("undo");
    const QString odd = QString::fromUtf8("Été \"2012\" \\ back\tslash\nline, 東京");
    QTest::newRow("resume") << odd << false;
    QTest::newRow("undo") << odd << true;
}

void TestInterrupt::oddNamesSurviveTheJournal()
{
    // Quotes, backslashes, control characters and UTF-8 in the folder and
    // file names go through the journal and back.
    QFETCH(QString, folder);
    QFETCH(bool, undo);
    QTemporaryDir dir;
    const QString top = dir.filePath(folder);
    Tree odd, oddShifted;
    for (auto it = original.cbegin(); it != original.cend(); ++it) {
        const QString name = QString(it.key()).replace("IMG_", QString::fromUtf8("ça \"va\"\\ "));
        odd.insert(name, it.value());
        oddShifted.insert(name, shiftedAdapt.value(it.key()));
    }
    QVERIFY(writeTree(top, odd));
    QVERIFY(cli({"shift", top, "--by", shiftBy, "--yes"}, faultAt("write:4:kill-after")).crashed);
    const Run after = cli({undo ? "undo" : "resume", "--yes"});
    QVERIFY2(after.exitCode == 0, qPrintable(after.describe()));
    const QString diff = differences(treeState(top), undo ? odd : oddShifted);
    QVERIFY2(diff.isEmpty(), qPrintable(diff + '\n' + after.describe()));
}

void TestInterrupt::resumedTreeReadsLikeTheReference()
{
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (exiftool.isEmpty())
        QSKIP("exiftool is not installed");
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(cli({"shift", top, "--by", shiftBy, "--yes"}, faultAt("write:3:kill-after")).crashed);
    QCOMPARE(cli({"resume", "--yes"}).exitCode, 0);

    // Every date an outside reader finds, file times included; not the time
    // of the inode's last change, nor the access time (reading moves it).
    auto dates = [&](const QString &folder) {
        QProcess tool;
        tool.start(exiftool, {"-a", "-G1", "-s", "-time:all", "-r", "-ext", "jpg", folder});
        tool.waitForFinished(60000);
        QStringList lines;
        for (const QString &line : QString::fromUtf8(tool.readAllStandardOutput()).split('\n'))
            if (!line.contains("FileInodeChangeDate") && !line.contains("FileAccessDate"))
                lines << QString(line).replace(folder, QStringLiteral("TOP"));
        return lines;
    };
    const QStringList got = dates(top), wanted = dates(referenceAdapt);
    QVERIFY2(got.filter(QRegularExpression("ExifIFD.*DateTimeOriginal")).size() == usablePictures,
             qPrintable(got.join('\n')));
    QVERIFY2(got.filter(QRegularExpression("XMP-exif.*DateTimeOriginal")).size() == usablePictures / 2,
             qPrintable(got.join('\n')));
    QVERIFY2(got.filter(QRegularExpression("IPTC.*DateCreated")).size() == usablePictures / 2,
             qPrintable(got.join('\n')));
    QVERIFY2(got.filter("FileModifyDate").size() == usablePictures + 1, qPrintable(got.join('\n')));
    QCOMPARE(got, wanted);
}

// ---- two passes at once -------------------------------------------------------

void TestInterrupt::secondPassOfTheTreeRefuses_data()
{
    QTest::addColumn<QString>("second");   // what else is started on the tree
    QTest::addColumn<int>("pauseAt");      // the write the first pass waits at
    QTest::newRow("shift, none written yet") << "shift" << 1;
    QTest::newRow("shift, three written") << "shift" << 4;
    QTest::newRow("resume of the running pass") << "resume" << 2;
    QTest::newRow("undo of the running pass") << "undo" << 3;
}

void TestInterrupt::secondPassOfTheTreeRefuses()
{
    QFETCH(QString, second);
    QFETCH(int, pauseAt);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    Paused paused;
    QProcess first;
    const QStringList before = journals();
    startCli(first, {"shift", top, "--by", shiftBy, "--yes"}, paused.environment(QStringLiteral("write:%1:pause").arg(pauseAt)));
    QVERIFY(!paused.waitForMark(first).isEmpty());
    const QStringList running = newJournals(before, "shift");
    QCOMPARE(running.size(), 1);
    const QStringList arguments = second == "shift" ? QStringList{"shift", top, "--by", shiftBy, "--yes", "--json"}
                                                    : QStringList{second, running.first(), "--yes"};

    // The first pass holds the tree: the second writes nothing at all. It
    // reads every picture, which moves the access times of those already
    // shifted (their new access time lies before their last change): of
    // the times, only the modification times are compared.
    const Tree during = treeState(top);
    const QStringList journalsDuring = journals();
    const Run refused = cli(arguments);
    const QString untouched = differences(treeState(top), during, false);
    QVERIFY(paused.release());
    const Run firstRun = finish(first);
    QVERIFY2(refused.exitCode == 1, qPrintable(refused.describe()));
    QVERIFY2(refused.err.contains("another shift, undo or resume of"), qPrintable(refused.describe()));
    QVERIFY2(refused.out.isEmpty(), qPrintable(refused.describe()));
    QCOMPARE(journals().size(), journalsDuring.size());
    QVERIFY2(firstRun.exitCode == 0, qPrintable(firstRun.describe()));
    QVERIFY2(untouched.isEmpty(), qPrintable(untouched));
    const QString diff = differences(treeState(top), shiftedAdapt, false);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestInterrupt::simultaneousShiftsShiftOnce()
{
    // Two passes started together: one refuses and writes nothing, or, when
    // the first was done before the second began writing, both shift in turn.
    for (int round = 0; round < 4; ++round) {
        QTemporaryDir dir;
        const QString top = freshTree(dir);
        QVERIFY(!top.isEmpty());
        QProcess a, b;
        startCli(a, {"shift", top, "--by", shiftBy, "--yes"});
        startCli(b, {"shift", top, "--by", shiftBy, "--yes"});
        const Run runs[] = {finish(a), finish(b)};
        int done = 0;
        for (const Run &run : runs) {
            if (run.exitCode == 0)
                ++done;
            else
                QVERIFY2(run.exitCode == 1 && (run.err.contains("another shift, undo or resume of")
                                               || run.err.contains("another shift, undo or resume changed")),
                         qPrintable(run.describe()));
        }
        QVERIFY(done >= 1);
        // Access times as in secondPassOfTheTreeRefuses.
        const QString diff = differences(treeState(top), done == 1 ? shiftedAdapt : shiftedTwice, false);
        QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("%1 passes shifted\n").arg(done) + diff));
    }
}

// The journal removed while the pass writes: the pass cannot be undone from
// it, and says so instead of reporting success (or a cancel nobody asked for).
void TestInterrupt::journalRemovedMidPassIsTold()
{
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    Paused paused;
    QProcess pass;
    const QStringList before = journals();
    startCli(pass, {"shift", top, "--by", shiftBy, "--yes"}, paused.environment(QStringLiteral("write:2:pause")));
    QVERIFY(!paused.waitForMark(pass).isEmpty());
    const QStringList running = newJournals(before, "shift");
    QCOMPARE(running.size(), 1);
    QVERIFY(QFile::remove(running.first()));
    QVERIFY(paused.release());
    const Run run = finish(pass);
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QVERIFY2(run.err.contains("was removed") || run.out.contains("was removed"), qPrintable(run.describe()));
    QVERIFY2(!run.out.contains("Cancelled"), qPrintable(run.describe()));
    int shifted = 0;
    const QString mix = checkNoMix(treeState(top), false, &shifted);
    QVERIFY2(mix.isEmpty(), qPrintable(mix));
}

// A picture moved out of the folder, a link to it left in its place, after
// the pass opened it and before it wrote it: not written through the link.
void TestInterrupt::pictureMovedOutBehindALinkIsLeftAlone()
{
    QTemporaryDir dir, outside;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    Paused paused;
    QProcess pass;
    // The third flush of the journal holds the intents: every picture is
    // open and planned, none written.
    startCli(pass, {"shift", top, "--by", shiftBy, "--yes"},
             paused.environment(QStringLiteral("fdatasync:3:pause"), QStringLiteral(".jsonl")));
    QVERIFY(!paused.waitForMark(pass).isEmpty());
    const QString name = QStringLiteral("DCIM/IMG_0.JPG");
    const QString moved = outside.filePath(QStringLiteral("IMG_0.JPG"));
    QVERIFY(QFile::rename(top + '/' + name, moved));
    QVERIFY(QFile::link(moved, top + '/' + name));
    QVERIFY(paused.release());
    const Run run = finish(pass);
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    // Moving a file changes its change time on most file systems; where it
    // does not, the link itself tells.
    QVERIFY2(run.err.contains("behind a link leading outside the folder") || run.err.contains("changed by another program"),
             qPrintable(run.describe()));
    QFile file(moved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == original.value(name).bytes);
    // Every other picture is shifted.
    const Tree after = treeState(top);
    for (auto it = shiftedAdapt.cbegin(); it != shiftedAdapt.cend(); ++it)
        if (it.key() != name)
            QVERIFY2(after.value(it.key()).bytes == it.value().bytes, qPrintable(it.key()));
}

// The folder of the pictures moved out of the tree, a link to it left in its
// place, after the pass opened its pictures and before it wrote them: the
// very files, but no longer in the chosen folder. None is written.
void TestInterrupt::folderMovedOutBehindALinkIsNotWrittenThrough()
{
    QTemporaryDir dir, outside;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    Paused paused;
    QProcess pass;
    // The third flush of the journal holds the intents: every picture is
    // open and planned, none written.
    startCli(pass, {"shift", top, "--by", shiftBy, "--yes"},
             paused.environment(QStringLiteral("fdatasync:3:pause"), QStringLiteral(".jsonl")));
    QVERIFY(!paused.waitForMark(pass).isEmpty());
    const QString moved = outside.filePath(QStringLiteral("DCIM"));
    QVERIFY(QFile::rename(top + QStringLiteral("/DCIM"), moved));
    QVERIFY(QFile::link(moved, top + QStringLiteral("/DCIM")));
    QVERIFY(paused.release());
    const Run run = finish(pass);
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QVERIFY2(run.err.contains("behind a link leading outside the folder"), qPrintable(run.describe()));
    for (auto it = original.cbegin(); it != original.cend(); ++it) {
        if (!it.key().startsWith(QLatin1String("DCIM/")))
            continue;
        QFile file(moved + it.key().mid(4));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll() == it.value().bytes, qPrintable(it.key() + '\n' + run.describe()));
    }
}

// ---- more pictures than one batch ---------------------------------------------

void TestInterrupt::killAcrossBatches_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("undo");
    QTest::addColumn<int>("jobs");

    // 260 pictures and one without EXIF, each read once by the dating pass
    // (reads 1 to 261). The writing pass plans each batch from what the
    // dating pass read, then writes it, reading each picture once just
    // before its write: the first batch of 256 (reads 262 to 517, writes 1
    // to 256), then the rest (reads from 518).
    QTest::newRow("last of the first batch") << "write:256:kill-after" << false << 1;
    QTest::newRow("first of the second batch") << "write:257:kill-before" << false << 1;
    QTest::newRow("second batch being read") << "read:519:kill-before" << false << 1;
    QTest::newRow("last picture") << "write:260:kill-after" << false << 1;
    QTest::newRow("undo: first of the second batch") << "write:257:kill-before" << true << 1;
    QTest::newRow("undo: second batch being read") << "read:519:kill-before" << true << 1;
    // With pictures in flight the Nth write is some picture of the batch,
    // and others may be half way: written, their times not yet set.
    QTest::newRow("8 jobs: early in the first batch") << "write:20:kill-after" << false << 8;
    QTest::newRow("8 jobs: late in the first batch") << "write:200:kill-before" << false << 8;
    QTest::newRow("8 jobs: second batch") << "write:258:kill-after" << false << 8;
    QTest::newRow("8 jobs: undo of an early kill") << "write:20:kill-before" << true << 8;
    QTest::newRow("32 jobs: undo of a late kill") << "write:240:kill-after" << true << 32;
}

// The tree of more pictures than one batch, and the same tree shifted.
bool TestInterrupt::makeLarge()
{
    if (!large.isEmpty())
        return true;
    large = masterTree(260);
    const QString folder = base.filePath(QStringLiteral("large"));
    if (!writeTree(folder, large) || cli({"shift", folder, "--by", shiftBy, "--yes"}).exitCode != 0)
        return false;
    largeShifted = treeState(folder);
    return true;
}

void TestInterrupt::earlyFlushFailureIsTold()
{
    // With many pictures in flight the changes go to the disk while the pass
    // goes on. The system tells a lost write to the first flush after it
    // only: a flush that fails mid-pass is told at the end, though the last
    // one succeeds.
    QVERIFY(makeLarge());
    QTemporaryDir dir;
    const QString top = dir.filePath(QStringLiteral("tree"));
    QVERIFY(writeTree(top, large));
    const QString log = dir.filePath(QStringLiteral("calls.log"));
    const Environment failFirst = faultAt(QStringLiteral("fdatasync:1:eio"))
                                  + Environment{{QStringLiteral("KELVARO_JOBS"), QStringLiteral("8")},
                                                {QStringLiteral("KELVARO_FAULT_LOG"), log}};
    const Run run = cli({"shift", top, "--by", shiftBy, "--yes"}, failFirst);
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QVERIFY2((run.out + run.err).contains("through to the disk"), qPrintable(run.describe()));
    // The failed flush was one during the pass: another followed it.
    QFile calls(log);
    QVERIFY(calls.open(QIODevice::ReadOnly));
    QVERIFY2(calls.readAll().count("fdatasync ") >= 2, "no flush during the pass");
    const QString diff = differences(treeState(top), largeShifted);
    QVERIFY2(diff.isEmpty(), qPrintable(diff.left(2000)));
}

void TestInterrupt::killAcrossBatches()
{
    QFETCH(QString, fault);
    QFETCH(bool, undo);
    QFETCH(int, jobs);
    QVERIFY(makeLarge());
    QTemporaryDir dir;
    const QString top = dir.filePath(QStringLiteral("tree"));
    QVERIFY(writeTree(top, large));
    const Environment jobsToo = faultAt(fault) + Environment{{QStringLiteral("KELVARO_JOBS"), QString::number(jobs)}};
    QVERIFY(cli({"shift", top, "--by", shiftBy, "--yes"}, jobsToo).crashed);
    const Tree cut = treeState(top);
    int shifted = 0;
    for (auto it = large.cbegin(); it != large.cend(); ++it) {
        const QByteArray &bytes = cut.value(it.key()).bytes;
        const QByteArray &before = it.value().bytes, &after = largeShifted.value(it.key()).bytes;
        // A kill cuts the writes of the other pictures in flight where the
        // system cuts them, between two pages: the shifted bytes up to a page
        // boundary, the old ones after it. Undo and resume finish such a
        // picture (every run holds its old text, its new one, or the start of
        // one and the rest of the other); anything else is a fault.
        auto cutBetweenPages = [&] {
            if (jobs == 1 || bytes.size() != before.size() || bytes.size() != after.size())
                return false;
            qsizetype firstOld = 0;
            while (firstOld < bytes.size() && bytes[firstOld] == after[firstOld])
                ++firstOld;
            const qsizetype page = firstOld / 4096 * 4096;
            return page > 0 && bytes.left(page) == after.left(page) && bytes.mid(page) == before.mid(page);
        };
        QVERIFY2(bytes == before || bytes == after || cutBetweenPages(), qPrintable(it.key()));
        shifted += bytes != it.value().bytes;
    }
    QVERIFY(shifted > 0);

    const Run after = cli({undo ? "undo" : "resume", "--yes", "--jobs", QString::number(jobs)});
    QVERIFY2(after.exitCode == 0, qPrintable(after.describe()));
    const QString diff = differences(treeState(top), undo ? large : largeShifted);
    QVERIFY2(diff.isEmpty(), qPrintable(diff.left(2000) + '\n' + after.describe()));
}

// ---- a picture replaced while the pass holds it ---------------------------------

void TestInterrupt::pictureReplacedBeforeItsWrite_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("renamed over, same size and times") << "rename";
    QTest::newRow("rewritten in place") << "rewrite";
    QTest::newRow("grown, times put back") << "grow";
    QTest::newRow("rewritten outside its dates, times put back") << "rewrite-hidden";
    QTest::newRow("touched only") << "touch";
}

void TestInterrupt::pictureReplacedBeforeItsWrite()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    // The pass waits at its first write: every picture is open and read, none
    // written yet but the one in hand.
    Paused paused;
    QProcess process;
    startCli(process, {"shift", top, "--by", shiftBy, "--yes", "--json"}, paused.environment("write:1:pause"));
    const QString inHand = paused.waitForMark(process);
    QVERIFY(!inHand.isEmpty());
    QString victim;
    for (const QString &name : original.keys())
        if (name != "plain.jpg" && top + '/' + name != inHand && victim.isEmpty())
            victim = name;
    const QString path = top + '/' + victim;
    FileState other = original.value(victim);
    if (how == "rename") {
        // Another program's copy with a different date of the same length.
        other.bytes.replace("2012:05:", "1999:09:");
        QVERIFY(writeState(path + ".tmp", other));
        QVERIFY(::rename(QFile::encodeName(path + ".tmp").constData(), QFile::encodeName(path).constData()) == 0);
    } else if (how == "rewrite" || how == "rewrite-hidden") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(other.bytes.size() - 100));
        QVERIFY(file.write(QByteArray(50, 'k')) == 50);
        file.close();
        // As `touch -r` would: only the change time tells.
        if (how == "rewrite-hidden")
            QVERIFY(setTimes(path, other.atimeNs, other.mtimeNs));
    } else if (how == "grow") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.write(QByteArray(10, 'g')) == 10);
        file.close();
        QVERIFY(setTimes(path, other.atimeNs, other.mtimeNs));
    } else {
        QVERIFY(setTimes(path, other.atimeNs, other.mtimeNs + 1000));
    }
    other = fileState(path);
    QVERIFY(paused.release());
    const Run run = finish(process);

    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QVERIFY2(run.err.contains("changed by another program : " + QFile::encodeName(path)), qPrintable(run.describe()));
    QCOMPARE(run.json()["changed"].toInt(), usablePictures - 1);
    const Tree after = treeState(top);
    QCOMPARE(after.value(victim), other);
    for (const QString &name : original.keys())
        if (name != victim)
            QVERIFY2(after.value(name) == shiftedAdapt.value(name), qPrintable(name));
}

void TestInterrupt::pictureChangedAfterItsDateWasRead_data()
{
    QTest::addColumn<bool>("rename");
    QTest::newRow("another picture put in its place") << true;
    QTest::newRow("its date rewritten in place") << false;
}

void TestInterrupt::pictureChangedAfterItsDateWasRead()
{
    // Between the dating pass (what the user was asked about) and the
    // shifting pass, another program gives a picture another date. The pass
    // must not shift that date, which nobody saw.
    QFETCH(bool, rename);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    Paused paused;
    QProcess process;
    // Reads 1 to 7 are the dating pass's; the 8th is the shifting pass's first.
    startCli(process, {"shift", top, "--by", shiftBy, "--yes", "--json"}, paused.environment("read:8:pause"));
    const QString inHand = paused.waitForMark(process);
    QVERIFY(!inHand.isEmpty());
    // A picture the shifting pass has not read yet.
    QString victim;
    for (const QString &name : original.keys())
        if (name != "plain.jpg" && top + '/' + name != inHand && victim.isEmpty())
            victim = name;
    const QString path = top + '/' + victim;
    FileState other = original.value(victim);
    const QByteArray date = other.bytes.mid(offsetsOf(other.bytes, "2012:05:").value(0), 19);
    other.bytes.replace(date, "1999:09:09 09:09:09");
    if (rename) {
        QVERIFY(writeState(path + ".tmp", other));
        QVERIFY(::rename(QFile::encodeName(path + ".tmp").constData(), QFile::encodeName(path).constData()) == 0);
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.write(other.bytes) == other.bytes.size());
    }
    other = fileState(path);
    QVERIFY(paused.release());
    const Run run = finish(process);

    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    const Tree after = treeState(top);
    QVERIFY2(after.value(victim) == other, qPrintable(QString::fromLatin1(after.value(victim).bytes.mid(
                                               offsetsOf(original.value(victim).bytes, "2012:05:").value(0), 19))));
    for (const QString &name : original.keys())
        if (name != victim)
            QVERIFY2(after.value(name) == shiftedAdapt.value(name), qPrintable(name));
}

// ---- a polite stop ------------------------------------------------------------

void TestInterrupt::signalStopsAfterThePictureInHand_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGPIPE") << int(SIGPIPE);
}

void TestInterrupt::signalStopsAfterThePictureInHand()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    Paused paused;
    QProcess process;
    startCli(process, {"shift", top, "--by", shiftBy, "--yes", "--json"}, paused.environment("write:2:pause"));
    QVERIFY(!paused.waitForMark(process).isEmpty());
    QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
    QVERIFY(saysCancelling(process));
    QVERIFY(paused.release());
    const Run run = finish(process);

    QVERIFY2(!run.crashed && run.exitCode == 1, qPrintable(run.describe()));
    const QJsonObject o = run.json();
    QCOMPARE(o["cancelled"].toBool(), true);
    QCOMPARE(o["changed"].toInt(), 2);   // the one written and the one in hand
    int shifted = 0;
    const QString mix = checkNoMix(treeState(top), false, &shifted);
    QVERIFY2(mix.isEmpty(), qPrintable(mix));
    QCOMPARE(shifted, 2);

    bool parses = false;
    const QList<QJsonObject> lines = journalLines(o["journal"].toString(), &parses);
    QVERIFY(parses);
    QVERIFY(!lines.isEmpty());
    QVERIFY(lines.last().contains("end"));
    QCOMPARE(lines.last()["cancelled"].toBool(), true);

    const Run resumed = cli({"resume", "--yes"});
    QVERIFY2(resumed.exitCode == 0, qPrintable(resumed.describe()));
    const QString diff = differences(treeState(top), shiftedAdapt);
    QVERIFY2(diff.isEmpty(), qPrintable(diff + '\n' + resumed.describe()));
}

void TestInterrupt::signalStopsAResumeOrUndo_data()
{
    QTest::addColumn<bool>("undo");
    QTest::newRow("resume") << false;
    QTest::newRow("undo") << true;
}

void TestInterrupt::signalStopsAResumeOrUndo()
{
    QFETCH(bool, undo);
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    QVERIFY(cli({"shift", top, "--by", shiftBy, "--yes"}, faultAt("write:3:kill-before")).crashed);
    const QString command = undo ? "undo" : "resume";
    const QStringList before = journals();
    Paused paused;
    QProcess process;
    startCli(process, {command, "--yes"}, paused.environment("write:2:pause"));
    QVERIFY(!paused.waitForMark(process).isEmpty());
    QCOMPARE(::kill(pid_t(process.processId()), SIGTERM), 0);
    QVERIFY(saysCancelling(process));
    QVERIFY(paused.release());
    const Run run = finish(process);
    QVERIFY2(!run.crashed && run.exitCode == 1, qPrintable(run.describe()));
    QVERIFY2(run.out.startsWith("Cancelled. "), qPrintable(run.describe()));
    const QStringList closed = newJournals(before, command);
    QCOMPARE(closed.size(), 1);
    bool parses = false;
    const QList<QJsonObject> lines = journalLines(closed.first(), &parses);
    QVERIFY(parses);
    QCOMPARE(lines.last()["cancelled"].toBool(), true);
    int shifted = 0;
    const QString mix = checkNoMix(treeState(top), false, &shifted);
    QVERIFY2(mix.isEmpty(), qPrintable(mix));

    // The same command again, without a journal named, finishes the work.
    const Run again = cli({command, "--yes"});
    QVERIFY2(again.exitCode == 0, qPrintable(again.describe()));
    const QString diff = differences(treeState(top), undo ? original : shiftedAdapt);
    QVERIFY2(diff.isEmpty(), qPrintable(diff + '\n' + again.describe()));
}

// ---- the journal --------------------------------------------------------------

void TestInterrupt::jsonNamesAJournalOfJsonLines()
{
    QTemporaryDir dir;
    const QString top = freshTree(dir);
    QVERIFY(!top.isEmpty());
    const Run run = cli({"shift", top, "--by", shiftBy, "--yes", "--json"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QString path = run.json()["journal"].toString();
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(run.describe()));
    QVERIFY(path.startsWith(isolatedHome.journalFolder()));

    bool parses = false;
    const QList<QJsonObject> lines = journalLines(path, &parses);
    QVERIFY(parses);
    QCOMPARE(lines.first()["journal"].toString(), "kelvaro");
    QCOMPARE(lines.first()["kind"].toString(), "shift");
    QCOMPARE(lines.first()["shift_seconds"].toInteger(), 93784);
    QVERIFY(lines.last().contains("end"));
    QCOMPARE(lines.last()["cancelled"].toBool(), false);
    int intents = 0, done = 0;
    for (const QJsonObject &line : lines) {
        if (line.contains("runs")) {
            ++intents;
            // Three EXIF texts; with XMP and IPTC, two XMP values, the IPTC
            // date, time and digest.
            const QJsonArray runs = line["runs"].toArray();
            QVERIFY2(runs.size() == 3 || runs.size() == 8, qPrintable(QString::number(runs.size())));
            qint64 first = runs.first()[0].toInteger(), last = first;
            int exif = 0;
            for (const QJsonValue &run : runs) {
                first = qMin(first, run[0].toInteger());
                last = qMax(last, run[0].toInteger());
                exif += run[1].toString() == line["old"].toString() && run[2].toString() == line["new"].toString();
            }
            QCOMPARE(exif, 3);
            QVERIFY(last - first > 4096);
        }
        if (line.contains("done")) {
            ++done;
            QCOMPARE(line["done"].toString(), "changed");
        }
    }
    QCOMPARE(intents, usablePictures);
    QCOMPARE(done, usablePictures);

    // Without a journal: none is named and none is made.
    QTemporaryDir other;
    const QString second = freshTree(other);
    const QStringList before = journals();
    const Run bare = cli({"shift", second, "--by", shiftBy, "--yes", "--json", "--no-journal"});
    QCOMPARE(bare.exitCode, 0);
    QVERIFY(bare.json()["journal"].isNull());
    QCOMPARE(journals(), before);
    QVERIFY(differences(treeState(second), shiftedAdapt).isEmpty());
}

QTEST_GUILESS_MAIN(TestInterrupt)
#include "tst_interrupt.moc"
