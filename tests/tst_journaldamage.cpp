// Journals that a disk, a person or a cut write damaged: an undo or a resume
// worked from one either leaves every picture as the journal wanted it, or
// says that it did not. It never writes a picture half back, never writes a
// byte that is not a date, never exits 0 while a picture stays in the other
// state, and never lets the history call a pass undone that is not.
//
// One small tree is shifted once, cleanly; every row then puts the tree back
// into its shifted (undo) or interrupted (resume) state, places a damaged
// copy of the journal beside the others and runs kelvaro-cli on it.
#include "isolatedhome.h"
#include "jpegbuilder.h"
#include "samplefiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <tuple>

using namespace jpegtest;

namespace {

struct Run {
    int exitCode = -1;   // -1: killed by a signal, or still running after a minute
    QByteArray out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run cli(const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(KELVARO_CLI), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray bytesOf(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes over the file in place, so that it stays the physical file the
// journal names.
bool overwrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

struct Picture {
    QString path;       // absolute
    QDateTime taken;    // its capture time before the shift
    QByteArray original, shifted;
};

const char *const exifSpelling = "yyyy:MM:dd hh:mm:ss";

// A tree of three pictures with distinct times, hours apart: one with every
// copy of the date a JPEG holds, the others plain EXIF in either byte order.
// (Few and small, so that the journal, cut at each of its bytes, stays short.)
QList<Picture> makeTree(const QString &top)
{
    auto plain = [](ByteOrder order) {
        return [order](const std::string &t) { return Jpeg::camera(samples::camera(order, t)).bytes(); };
    };
    const QList<std::tuple<QString, std::string, samples::Build>> shots = {
        {"rich.jpg", "2012:05:06 10:00:00", samples::richJpeg},
        {"motorola.jpg", "2011:01:01 08:30:00", plain(ByteOrder::Motorola)},
        {"sub/intel.jpg", "2013:07:08 14:10:11", plain(ByteOrder::Intel)},
    };
    QList<Picture> pictures;
    for (const auto &[name, date, build] : shots) {
        Picture p;
        p.path = top + '/' + name;
        p.taken = QDateTime::fromString(QString::fromStdString(date), exifSpelling);
        p.taken.setTimeSpec(Qt::UTC);
        p.original = bytesOf(build(date));
        QDir().mkpath(QFileInfo(p.path).path());
        if (!overwrite(p.path, p.original))
            return {};
        pictures << p;
    }
    return pictures;
}

// Shifts the tree by an hour; fills in each picture's shifted bytes and
// returns the journal's path (empty on failure).
QString shiftOnce(const QString &top, QList<Picture> &pictures)
{
    const Run run = cli({"shift", top, "--by", "3600", "--yes", "--json"});
    if (run.exitCode != 0 || run.json()["changed"].toInt() != pictures.size())
        return {};
    for (Picture &p : pictures)
        p.shifted = readAll(p.path);
    return run.json()["journal"].toString();
}

// The journal's lines, each with its line feed (the last may lack one).
QList<QByteArray> linesOf(const QByteArray &journal)
{
    QList<QByteArray> lines;
    for (qsizetype at = 0; at < journal.size();) {
        const qsizetype end = journal.indexOf('\n', at);
        const qsizetype next = end < 0 ? journal.size() : end + 1;
        lines << journal.mid(at, next - at);
        at = next;
    }
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line;
    return out;
}

// The picture whose intent line this is (by its capture time), or -1.
int pictureOf(const QByteArray &line, const QList<Picture> &pictures)
{
    if (!line.contains("\"runs\""))
        return -1;
    for (int i = 0; i < pictures.size(); ++i)
        if (line.contains(pictures[i].taken.toString(exifSpelling).toLatin1()))
            return i;
    return -1;
}

// The journal as a kill after every intent line and before the writes of the
// last two pictures leaves it: no closing line, no done lines for those two.
// `notWritten` receives those two pictures.
QByteArray interrupted(const QByteArray &journal, const QList<Picture> &pictures, QList<int> *notWritten)
{
    const QList<QByteArray> lines = linesOf(journal);
    QList<int> numbers;
    for (const QByteArray &line : lines) {
        if (pictureOf(line, pictures) >= 0) {
            notWritten->append(pictureOf(line, pictures));
            numbers << QJsonDocument::fromJson(line).object()["n"].toInt();
        }
    }
    *notWritten = notWritten->mid(notWritten->size() - 2);
    numbers = numbers.mid(numbers.size() - 2);
    QByteArray out;
    for (const QByteArray &line : lines) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.contains("end") || (o.contains("done") && numbers.contains(o["n"].toInt())))
            continue;
        out += line;
    }
    return out;
}

// ---- Damages: each takes a journal and gives it back damaged. ----

QByteArray flipByte(const QByteArray &journal, int line, qsizetype at, char mask)
{
    QList<QByteArray> lines = linesOf(journal);
    lines[line][at] = char(lines[line][at] ^ mask);
    return joined(lines);
}

QByteArray deleteLine(const QByteArray &journal, int line)
{
    QList<QByteArray> lines = linesOf(journal);
    lines.removeAt(line);
    return joined(lines);
}

QByteArray duplicateLine(const QByteArray &journal, int line)
{
    QList<QByteArray> lines = linesOf(journal);
    lines.insert(line, lines[line]);
    return joined(lines);
}

// Where the date texts of an intent line's runs begin: in order, the first
// run's old text, its new text, the second run's old text, ...
QList<qsizetype> runDates(const QByteArray &line)
{
    static const QRegularExpression date(QStringLiteral("\\d{4}[:-]\\d\\d[:-]\\d\\d[ T]\\d\\d:\\d\\d:\\d\\d"));
    QList<qsizetype> at;
    const QString text = QString::fromLatin1(line);
    auto it = date.globalMatch(text, text.indexOf(QLatin1String("\"runs\"")));
    while (it.hasNext())
        at << it.next().capturedStart();
    return at;
}

// One digit of the `which`-th run date text of an intent line: its hour's
// last digit becomes 9 (or 8 where it was 9), as 10:00:00 -> 19:00:00.
QByteArray changeDigit(const QByteArray &journal, int line, int which)
{
    QList<QByteArray> lines = linesOf(journal);
    const qsizetype at = runDates(lines[line]).value(which, -1) + 12;
    lines[line][at] = lines[line][at] == '9' ? '8' : '9';
    return joined(lines);
}

// The `which`-th run date text of an intent line begins with the bytes
// 0xFF 0xFE instead of its first two characters (the same length).
QByteArray notADate(const QByteArray &journal, int line, int which)
{
    QList<QByteArray> lines = linesOf(journal);
    const qsizetype at = runDates(lines[line]).value(which, -1);
    lines[line].replace(at, 2, "\\u00ff\\u00fe");
    return joined(lines);
}

// Every way a date text spells `t` in a journal line: EXIF, XMP, and the
// IPTC date and time (those two as a string begins, so that no number of
// the line is taken for one).
QList<QByteArray> spellings(const QDateTime &t)
{
    return {t.toString(exifSpelling).toLatin1(), t.toString("yyyy-MM-ddThh:mm:ss").toLatin1(),
            '"' + t.toString("yyyyMMdd").toLatin1(), '"' + t.toString("hhmmss").toLatin1()};
}

enum Texts { OldTexts = 1, NewTexts = 2, BothTexts = 3 };

// Every old date text (and the "old" value), every new one, or both, of an
// intent line moved by `hours`, consistently: each run still spells a date,
// and with both moved they still lie an hour apart.
QByteArray moveDates(const QByteArray &journal, int line, const QDateTime &taken, int texts, int hours)
{
    QList<QPair<QByteArray, QByteArray>> replace;
    const QDateTime before = taken, after = taken.addSecs(3600);
    if (texts & OldTexts) {
        const QList<QByteArray> from = spellings(before), to = spellings(before.addSecs(hours * 3600));
        for (int i = 0; i < from.size(); ++i)
            replace.append({from[i], to[i]});
    }
    if (texts & NewTexts) {
        const QList<QByteArray> from = spellings(after), to = spellings(after.addSecs(hours * 3600));
        for (int i = 0; i < from.size(); ++i)
            replace.append({from[i], to[i]});
    }
    QList<QByteArray> lines = linesOf(journal);
    const QByteArray &in = lines[line];
    QByteArray out;
    for (qsizetype at = 0; at < in.size();) {
        bool matched = false;
        for (const auto &r : replace) {
            if (r.first != r.second && in.mid(at, r.first.size()) == r.first) {
                out += r.second;
                at += r.first.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out += in[at++];
    }
    lines[line] = out;
    return joined(lines);
}

// ---- The tree and the journal folder, made ready for each row. ----

enum class Command { Undo, Resume };

struct Fixture {
    QTemporaryDir top;
    QList<Picture> pictures;
    QByteArray journal;       // the clean shift's
    QByteArray cut;           // the interrupted shift's
    QList<int> notWritten;    // the pictures the interrupted shift did not write
    QString name;             // the clean journal's file name
};

std::unique_ptr<Fixture> fixture;

void clearJournals()
{
    QDir dir(isolatedHome.journalFolder());
    for (const QString &name : dir.entryList({QStringLiteral("*.jsonl")}, QDir::Files))
        dir.remove(name);
}

// Undo: every picture shifted. Resume: shifted but for the two the
// interrupted shift did not write.
bool putTree(Command command)
{
    for (int i = 0; i < fixture->pictures.size(); ++i) {
        const Picture &p = fixture->pictures[i];
        const bool original = command == Command::Resume && fixture->notWritten.contains(i);
        if (!overwrite(p.path, original ? p.original : p.shifted))
            return false;
    }
    return true;
}

// A copy of a journal under a new name of a shift's journal; returns its path.
QString placeJournal(const QByteArray &journal)
{
    static int copies = 0;
    QString name = fixture->name;
    name.insert(name.size() - int(strlen("-shift.jsonl")), QStringLiteral("-copy%1").arg(++copies));
    const QString path = isolatedHome.journalFolder() + '/' + name;
    return overwrite(path, journal) ? path : QString();
}

// The state `history --json` gives the pass of this journal ("" when unlisted).
QString historyState(const QString &journal)
{
    const QJsonArray passes = cli({"history", "--json"}).json()["passes"].toArray();
    for (const QJsonValue &pass : passes)
        if (QFileInfo(pass["journal"].toString()).fileName() == QFileInfo(journal).fileName())
            return pass["state"].toString();
    return {};
}

QString describe(const Run &run)
{
    QByteArray err = run.err.simplified();
    if (err.size() > 300)
        err = err.left(300) + "...";
    return QStringLiteral("[exit %1, changed %2; stderr: %3]")
        .arg(run.exitCode)
        .arg(run.json()["changed"].toInt())
        .arg(QString::fromUtf8(err));
}

// What is wrong with the tree, the exit code and the history after `run`
// worked from `journal`; empty when nothing is.
QString problemsAfter(const Run &run, Command command, const QString &journal)
{
    QStringList problems;
    if (run.exitCode < 0 || run.exitCode > 2)
        problems << QStringLiteral("crashed, hung or exit code %1").arg(run.exitCode);
    QStringList mixed, unwanted;
    bool touched = false;
    for (int i = 0; i < fixture->pictures.size(); ++i) {
        const Picture &p = fixture->pictures[i];
        const QByteArray now = readAll(p.path);
        const QString name = QFileInfo(p.path).fileName();
        const bool wasOriginal = command == Command::Resume && fixture->notWritten.contains(i);
        touched = touched || now != (wasOriginal ? p.original : p.shifted);
        if (now == (command == Command::Undo ? p.original : p.shifted))
            continue;
        if (now == p.original || now == p.shifted) {
            unwanted << name;
            continue;
        }
        qsizetype at = 0;
        const QByteArray &near = p.shifted;
        while (at < now.size() && at < near.size() && now[at] == near[at])
            ++at;
        mixed << QStringLiteral("%1 (first byte off its shifted bytes: %2)").arg(name).arg(at);
    }
    if (!mixed.isEmpty())
        problems << "neither original nor shifted: " + mixed.join(", ");
    const QString other = command == Command::Undo ? "shifted" : "original";
    if (run.exitCode == 0 && !(mixed.isEmpty() && unwanted.isEmpty()))
        problems << QStringLiteral("exit code 0, yet left %1: %2").arg(other, (unwanted + mixed).join(", "));
    if (run.exitCode == 2 && touched)
        problems << "exit code 2 (nothing touched), yet pictures were written";
    if (command == Command::Undo && !(mixed.isEmpty() && unwanted.isEmpty())
        && historyState(journal) == "undone")
        problems << "history calls the pass undone, yet left shifted: " + (unwanted + mixed).join(", ");
    return problems.isEmpty() ? QString() : problems.join("; ") + ' ' + describe(run);
}

// Runs `command` on a copy of `journal` with the tree made ready; the problems.
QString runDamaged(Command command, const QByteArray &journal)
{
    clearJournals();
    if (!putTree(command))
        return QStringLiteral("the tree could not be made ready");
    const QString copy = placeJournal(journal);
    const Run run = cli({command == Command::Undo ? "undo" : "resume", copy, "--yes", "--json"});
    return problemsAfter(run, command, copy);
}

// What a line is, for the names of the rows.
QString kindOf(const QByteArray &line, int index)
{
    const int picture = pictureOf(line, fixture->pictures);
    if (picture >= 0)
        return "intent of " + QFileInfo(fixture->pictures[picture].path).fileName();
    if (index == 0)
        return QStringLiteral("header");
    for (const char *key : {"confirmed", "done", "end"})
        if (line.contains(QByteArray("\"") + key + '"'))
            return QString::fromLatin1(key);
    return QStringLiteral("line");
}

} // namespace

class TestJournalDamage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void damagedJournal_data();
    void damagedJournal();
    void cutJournal_data();
    void cutJournal();
    void undoOfAnOlderShiftAfterANewerOne();
    void journalCutInItsFirstConfirmedLine();
    void unreadableIntentLineIsNamed();
};

void TestJournalDamage::initTestCase()
{
    fixture = std::make_unique<Fixture>();
    QVERIFY(fixture->top.isValid());
    fixture->pictures = makeTree(fixture->top.path());
    QCOMPARE(fixture->pictures.size(), 3);
    const QString journal = shiftOnce(fixture->top.path(), fixture->pictures);
    QVERIFY(!journal.isEmpty());
    QVERIFY(journal.endsWith("-shift.jsonl"));
    for (const Picture &p : fixture->pictures)
        QVERIFY(p.shifted != p.original);
    fixture->journal = readAll(journal);
    fixture->name = QFileInfo(journal).fileName();
    fixture->cut = interrupted(fixture->journal, fixture->pictures, &fixture->notWritten);
    QCOMPARE(fixture->notWritten.size(), 2);

    // Both journals serve as they are.
    QVERIFY2(runDamaged(Command::Undo, fixture->journal).isEmpty(), "undo of the clean journal");
    QVERIFY2(runDamaged(Command::Resume, fixture->cut).isEmpty(), "resume of the interrupted journal");
}

void TestJournalDamage::damagedJournal_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("journal");

    for (const Command command : {Command::Undo, Command::Resume}) {
        const QByteArray &journal = command == Command::Undo ? fixture->journal : fixture->cut;
        const char *const verb = command == Command::Undo ? "undo" : "resume";
        const QList<QByteArray> lines = linesOf(journal);
        auto row = [&](int index, const QString &what, const QByteArray &damaged) {
            const QString name = QStringLiteral("%1, line %2 (%3): %4")
                                     .arg(verb).arg(index + 1).arg(kindOf(lines[index], index), what);
            QTest::newRow(qPrintable(name)) << int(command) << damaged;
        };
        for (int i = 0; i < lines.size(); ++i) {
            const qsizetype length = lines[i].size() - 1;   // without its line feed
            const QList<QPair<const char *, qsizetype>> places = {
                {"start", 0}, {"middle", length / 2}, {"end-2", length - 2}};
            for (const auto &place : places)
                for (const char mask : {0x01, 0x20})
                    row(i, QStringLiteral("byte at %1 xor 0x%2").arg(place.first).arg(int(mask), 2, 16, QChar('0')),
                        flipByte(journal, i, place.second, mask));
            row(i, "deleted", deleteLine(journal, i));
            row(i, "duplicated", duplicateLine(journal, i));

            const int picture = pictureOf(lines[i], fixture->pictures);
            if (picture < 0)
                continue;
            row(i, "first run's old date, one digit", changeDigit(journal, i, 0));
            row(i, "first run's new date, one digit", changeDigit(journal, i, 1));
            row(i, "first run's old text 0xFF 0xFE...", notADate(journal, i, 0));
            row(i, "first run's new text 0xFF 0xFE...", notADate(journal, i, 1));
            const QDateTime taken = fixture->pictures[picture].taken;
            for (const int hours : {1, -1}) {
                const QString by = hours > 0 ? "an hour on" : "an hour back";
                row(i, "every old date " + by, moveDates(journal, i, taken, OldTexts, hours));
                row(i, "every new date " + by, moveDates(journal, i, taken, NewTexts, hours));
                row(i, "every date " + by, moveDates(journal, i, taken, BothTexts, hours));
            }
        }
    }
}

void TestJournalDamage::damagedJournal()
{
    QFETCH(int, command);
    QFETCH(QByteArray, journal);
    QVERIFY2(journal != fixture->journal && journal != fixture->cut, "the damage changed nothing");
    const QString problems = runDamaged(Command(command), journal);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

// The journal cut short at every byte (the undo), at every third (the
// resume, whose journal is shorter but whose runs cost more).
void TestJournalDamage::cutJournal_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("journal");
    for (qsizetype at = 0; at < fixture->journal.size(); ++at)
        QTest::addRow("undo, cut at %d", int(at)) << int(Command::Undo) << fixture->journal.left(at);
    for (qsizetype at = 0; at < fixture->cut.size(); at += 3)
        QTest::addRow("resume, cut at %d", int(at)) << int(Command::Resume) << fixture->cut.left(at);
}

void TestJournalDamage::cutJournal()
{
    QFETCH(int, command);
    QFETCH(QByteArray, journal);
    const QString problems = runDamaged(Command(command), journal);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

// Two shifts of one tree, the older undone first: the pictures no longer
// hold what it wrote. Whatever the undo does, the history must not call the
// older shift undone while pictures stay shifted by it; once the newer one
// is undone, a plain undo still finds the older one.
void TestJournalDamage::undoOfAnOlderShiftAfterANewerOne()
{
    clearJournals();
    QTemporaryDir top;
    QList<Picture> pictures = makeTree(top.path());
    QVERIFY(!pictures.isEmpty());
    const QString first = shiftOnce(top.path(), pictures);
    QVERIFY(!first.isEmpty());
    const Run second = cli({"shift", top.path(), "--by", "60", "--yes", "--json"});
    QCOMPARE(second.exitCode, 0);
    QList<QByteArray> both;
    for (const Picture &p : pictures)
        both << readAll(p.path);

    const Run older = cli({"undo", first, "--yes", "--json"});
    QVERIFY2(older.exitCode >= 0 && older.exitCode <= 2, qPrintable(describe(older)));
    bool refused = false;
    for (int i = 0; i < pictures.size(); ++i)
        refused = refused || readAll(pictures[i].path) == both[i];
    if (refused)
        QVERIFY2(historyState(first) != "undone", qPrintable("refused pictures, yet undone " + describe(older)));

    const Run newer = cli({"undo", "--yes", "--json"});
    QVERIFY2(newer.exitCode >= 0 && newer.exitCode <= 2, qPrintable(describe(newer)));
    bool shiftedByFirst = true;
    for (const Picture &p : pictures)
        shiftedByFirst = shiftedByFirst && readAll(p.path) == p.shifted;
    if (!shiftedByFirst)
        QSKIP("the pictures are no longer as the first shift left them");
    const Run last = cli({"undo", "--yes", "--json"});
    QVERIFY2(!(last.out + last.err).contains("no shift to undo"), qPrintable(describe(last)));
    QVERIFY2(last.exitCode == 0, qPrintable(describe(last)));
    for (const Picture &p : pictures)
        QVERIFY2(readAll(p.path) == p.original, qPrintable(p.path));
    QCOMPARE(historyState(first), QString("undone"));
}

// A journal cut inside the list of pictures the user confirmed, after a
// shift that changed them all: neither a resume nor an undo may claim it
// did its work.
void TestJournalDamage::journalCutInItsFirstConfirmedLine()
{
    const QList<QByteArray> lines = linesOf(fixture->journal);
    qsizetype at = 0;
    int line = 0;
    while (line < lines.size() && !lines[line].startsWith("{\"confirmed\""))
        at += lines[line++].size();
    QVERIFY(line < lines.size());
    const QByteArray journal = fixture->journal.left(at + lines[line].size() / 2);

    for (const Command command : {Command::Resume, Command::Undo}) {
        clearJournals();
        QVERIFY(putTree(Command::Undo));   // every picture shifted
        const QString copy = placeJournal(journal);
        const Run run = cli({command == Command::Undo ? "undo" : "resume", copy, "--yes", "--json"});
        QVERIFY2(run.exitCode >= 0 && run.exitCode <= 2, qPrintable(describe(run)));
        bool shifted = false;
        for (const Picture &p : fixture->pictures)
            shifted = shifted || readAll(p.path) != p.original;
        if (command == Command::Resume || shifted)
            QVERIFY2(run.exitCode != 0, qPrintable(describe(run)));
    }
}

// An intent line with garbage in its middle: the undo does not claim
// success, and says which picture (or which line) it could not trust.
void TestJournalDamage::unreadableIntentLineIsNamed()
{
    QList<QByteArray> lines = linesOf(fixture->journal);
    int line = 0;
    while (line < lines.size() && pictureOf(lines[line], fixture->pictures) != 1)
        ++line;
    QVERIFY(line < lines.size());
    lines[line].replace(lines[line].size() / 2, 10, "#%~garbage");
    clearJournals();
    QVERIFY(putTree(Command::Undo));
    const QString copy = placeJournal(joined(lines));
    const Run run = cli({"undo", copy, "--yes", "--json"});
    QVERIFY2(run.exitCode == 1 || run.exitCode == 2, qPrintable(describe(run)));
    const QString err = QString::fromUtf8(run.err);
    QVERIFY2(err.contains("motorola.jpg") || err.contains(QStringLiteral("line %1").arg(line + 1)),
             qPrintable(describe(run)));
    const QString problems = problemsAfter(run, Command::Undo, copy);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

QTEST_GUILESS_MAIN(TestJournalDamage)
#include "tst_journaldamage.moc"
