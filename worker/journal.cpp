#include "journal.h"

#include "journalline.h"
#include "journaloutcome.h"
#include "journaltext.h"
#include "pathbytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif


namespace {

bool syncFile(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef _WIN32
    return _commit(file.handle()) == 0;
#elif defined(__APPLE__)
    return fsync(file.handle()) == 0;
#else
    return fdatasync(file.handle()) == 0;
#endif
}

// The number of names that lead to an open file (-1 when unknown).
int linkCount(QFile &file)
{
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())), &info))
        return -1;
    return int(info.nNumberOfLinks);
#else
    struct stat status;
    return fstat(file.handle(), &status) == 0 ? int(status.st_nlink) : -1;
#endif
}

QByteArray quoted(const QString &text)
{
    return '"' + JournalText::escape(PathBytes::encode(text)) + '"';
}

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

int leftOf(const QJsonObject &end)
{
    return end.value(QLatin1String("not_changed")).toInt() + end.value(QLatin1String("unrecognised")).toInt();
}

// What a closing line tells: the pass ended, cancelled or not, its counts
// (left: pictures it set out to write and did not; damaged journal lines are
// among those not changed).
void takeEnd(const QJsonObject &end, Journal::Record *record)
{
    record->closed = true;
    record->cancelled = end.value(QLatin1String("cancelled")).toBool();
    record->changed = end.value(QLatin1String("changed")).toInt();
    record->left = leftOf(end);
    record->alreadyDone = end.value(QLatin1String("already_done")).toInt();
    record->sourceIncomplete = end.value(QLatin1String("journal_incomplete")).toInt() != 0;
}


} // namespace

Journal::~Journal()
{
    if (file.isOpen())
        flush();
}

QString Journal::folder()
{
    // The per-user data folder of the program (the same for the window and
    // kelvaro-cli, whatever each calls itself), subfolder "journal".
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString path = base + QStringLiteral("/Morvane/Kelvaro/journal");
    QDir().mkpath(path);
    return path;
}

QStringList Journal::all()
{
    QDir dir(folder());
    const QStringList names = dir.entryList({QStringLiteral("*.jsonl")}, QDir::Files, QDir::Name);
    QStringList paths;
    for (const QString &name : names)
        paths << dir.filePath(name);
    return paths;
}

QByteArray Journal::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Shift: return "shift";
    case Kind::Undo: return "undo";
    case Kind::Resume: return "resume";
    }
    return "shift";
}

bool Journal::create(const Header &header, QString *error)
{
    const QString dir = folder();
    if (!QFileInfo(dir).isDir()) {
        *error = QStringLiteral("cannot create the journal folder %1").arg(QDir::toNativeSeparators(dir));
        return false;
    }
    const QString stamp = header.started.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString name = QStringLiteral("%1/%2-%3-%4.jsonl")
                             .arg(dir, stamp)
                             .arg(QCoreApplication::applicationPid())
                             .arg(QString::fromLatin1(kindName(header.kind)));
    file.setFileName(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *error = QStringLiteral("cannot create the journal %1: %2")
                     .arg(QDir::toNativeSeparators(name), file.errorString());
        return false;
    }
    QByteArray line = "{\"journal\": \"kelvaro\", \"version\": 2, \"kind\": \"" + kindName(header.kind)
                      + "\", \"folder\": " + quoted(header.folder)
                      + ", \"shift_seconds\": " + number(header.shiftSeconds)
                      + ", \"adapt_file_times\": " + (header.adaptFileTimes ? "true" : "false")
                      + ", \"follow_outside_links\": " + (header.followOutsideLinks ? "true" : "false")
                      + ", \"exif_only\": " + (header.exifOnly ? "true" : "false")
                      + ", \"pictures\": " + number(header.pictures)
                      + ", \"started\": \"" + header.started.toUTC().toString(Qt::ISODate).toLatin1() + '"';
    if (!header.source.isEmpty())
        line += ", \"source\": " + quoted(header.source);
    if (!header.choice.isEmpty())
        line += ", \"choice\": " + header.choice;
    held = line;
    JournalLine::end(held, 0);
    failed = false;
    if (!flush()) {
        *error = QStringLiteral("cannot write the journal %1").arg(QDir::toNativeSeparators(name));
        file.close();
        file.remove();
        return false;
    }
    return true;
}

void Journal::addConfirmed(const Confirmed &ids)
{
    // [device, inode, capture date in seconds since 1970], a thousand a line.
    int inLine = 0;
    qsizetype start = 0;
    for (auto it = ids.constBegin(); it != ids.constEnd(); ++it) {
        if (!inLine)
            start = held.size();
        held.append(inLine ? ", [" : "{\"confirmed\": [[");
        JournalText::appendNumber(held, qint64(it.key().device));
        held.append(", ");
        JournalText::appendNumber(held, qint64(it.key().inode));
        held.append(", ");
        JournalText::appendNumber(held, it.value());
        held.append(']');
        if (++inLine == 1000) {
            held += ']';
            JournalLine::end(held, start);
            inLine = 0;
        }
    }
    if (inLine) {
        held += ']';
        JournalLine::end(held, start);
    }
}

void Journal::intent(const Entry &e)
{
    const qsizetype start = held.size();
    held.append("{\"n\": ");
    JournalText::appendNumber(held, e.n);
    held.append(", \"path\": \"");
    JournalText::appendEscaped(held, e.path);
    held.append("\", \"dev\": ");
    JournalText::appendNumber(held, qint64(e.before.device));
    held.append(", \"ino\": ");
    JournalText::appendNumber(held, qint64(e.before.inode));
    held.append(", \"size\": ");
    JournalText::appendNumber(held, e.before.size);
    held.append(", \"mtime_ns\": ");
    JournalText::appendNumber(held, e.before.modificationNs);
    held.append(", \"atime_ns\": ");
    JournalText::appendNumber(held, e.before.accessNs);
    if (e.sidecar)
        held.append(", \"sidecar\": true");
    held.append(", \"old\": \"");
    JournalText::appendEscaped(held, e.oldDate);
    held.append("\", \"new\": \"");
    JournalText::appendEscaped(held, e.newDate);
    held.append("\", \"runs\": [");
    for (size_t i = 0; i < e.runs.size(); ++i) {
        const FileRewrite::Run &run = e.runs[i];
        held.append(i ? ", [" : "[");
        JournalText::appendNumber(held, run.offset);
        held.append(", \"");
        JournalText::appendEscaped(held, run.from);
        held.append("\", \"");
        JournalText::appendEscaped(held, run.to);
        held.append("\"]");
    }
    held.append(']');
    JournalLine::end(held, start);
}

void Journal::done(int n, PictureStatus outcome)
{
    const qsizetype start = held.size();
    held.append("{\"n\": ");
    JournalText::appendNumber(held, n);
    held.append(", \"done\": \"");
    held.append(JournalOutcome::code(outcome));
    held.append('"');
    JournalLine::end(held, start);
}

bool Journal::write()
{
    if (!file.isOpen())
        return false;
    bool ok = true;
    if (!held.isEmpty()) {
        ok = file.write(held) == held.size();
        held.clear();
    }
    ok = file.flush() && ok;
    failed = failed || !ok;
    return ok;
}

bool Journal::flush()
{
    bool ok = write();
    ok = file.isOpen() && syncFile(file) && ok;
    // A journal somebody removed is written in vain: nothing could undo or
    // finish the pass from it.
    if (file.isOpen() && linkCount(file) == 0) {
        removed = true;
        ok = false;
    }
    failed = failed || !ok;
    return ok;
}

bool Journal::close(bool cancelled, const QList<QPair<QByteArray, qint64>> &counts)
{
    QByteArray line = "{\"end\": \"" + QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toLatin1()
                      + "\", \"cancelled\": " + (cancelled ? "true" : "false");
    for (const auto &count : counts)
        line += ", \"" + count.first + "\": " + number(count.second);
    const qsizetype start = held.size();
    held += line;
    JournalLine::end(held, start);
    const bool ok = flush();
    file.close();
    return ok;
}

bool Journal::summarize(const QString &path, Record *record)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray first = in.readLine();
    if (!first.endsWith('\n') || JournalLine::check(first) == JournalLine::Seal::Damaged)
        return false;
    // The header alone, read the full way; every other line only as far as
    // its seal, its outcome and the closing line's counts.
    *record = Record();
    record->path = path;
    if (!parseHeader(first, &record->header)
        || (record->header.version >= 2 && JournalLine::check(first) != JournalLine::Seal::Sound))
        return false;
    // A sound closing line carries the counts: the lines before it are not
    // read (a listing of many large journals stays quick; undo and resume
    // read every line and find any damage there).
    const qint64 size = in.size();
    record->started = size > first.size();
    const qint64 tail = qMin<qint64>(size - first.size(), 4096);
    if (tail > 0 && in.seek(size - tail)) {
        const QByteArray end = in.read(tail);
        const QByteArray last = end.mid(end.lastIndexOf('\n', end.size() - 2) + 1);
        const bool sound = record->header.version >= 2 ? JournalLine::check(last) == JournalLine::Seal::Sound
                                                       : last.endsWith('\n');
        const QJsonObject o = sound && last.startsWith("{\"end\"") ? QJsonDocument::fromJson(last).object()
                                                                      : QJsonObject();
        if (!o.isEmpty()) {
            takeEnd(o, record);
            return true;
        }
    }
    // No sound end: every line, one at a time (the pictures' entries are
    // not kept).
    in.close();
    QString error;
    return readLines(path, record, &error, [](Entry &&) {}, false);
}

bool Journal::parseHeader(const QByteArray &line, Header *h)
{
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    if (o.value(QLatin1String("journal")).toString() != QLatin1String("kelvaro"))
        return false;
    const QString kind = o.value(QLatin1String("kind")).toString();
    h->version = o.value(QLatin1String("version")).toInt(1);
    h->kind = kind == QLatin1String("undo") ? Kind::Undo : kind == QLatin1String("resume") ? Kind::Resume : Kind::Shift;
    h->folder = PathBytes::decode(JournalText::unescape(o.value(QLatin1String("folder")).toString()));
    h->shiftSeconds = qint64(o.value(QLatin1String("shift_seconds")).toInteger());
    h->adaptFileTimes = o.value(QLatin1String("adapt_file_times")).toBool(true);
    h->followOutsideLinks = o.value(QLatin1String("follow_outside_links")).toBool(false);
    h->exifOnly = o.value(QLatin1String("exif_only")).toBool(false);
    h->pictures = o.value(QLatin1String("pictures")).toInt();
    h->started = QDateTime::fromString(o.value(QLatin1String("started")).toString(), Qt::ISODate);
    h->source = PathBytes::decode(JournalText::unescape(o.value(QLatin1String("source")).toString()));
    if (o.contains(QLatin1String("choice")))
        h->choice = QJsonDocument(o.value(QLatin1String("choice")).toObject()).toJson(QJsonDocument::Compact);
    return true;
}

void Journal::discard()
{
    held.clear();
    if (file.isOpen())
        file.close();
    file.remove();
}

bool Journal::read(const QString &path, Record *record, QString *error, const EntrySink &eachEntry)
{
    return readLines(path, record, error, eachEntry, false);
}

bool Journal::readHeader(const QString &path, Record *record, QString *error)
{
    return readLines(path, record, error, {}, true);
}

bool Journal::readLines(const QString &path, Record *record, QString *error, const EntrySink &eachEntry,
                        bool headerOnly)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the journal %1: %2").arg(QDir::toNativeSeparators(path), in.errorString());
        return false;
    }
    *record = Record();
    record->path = path;
    QHash<int, size_t> byNumber;
    // The numbers of the sidecars' lines: their outcomes are no pictures changed.
    QSet<int> sidecarNumbers;
    bool first = true;
    int lineNumber = 0;
    int lastIntent = 0;
    int unknownSince = 0;   // damaged lines since the last sound intent that may have been intents
    while (!in.atEnd()) {
        const QByteArray line = in.readLine();
        ++lineNumber;
        // A line cut short is the last one. A crash leaves one only where
        // nothing after it was acted on (intents are whole before any picture
        // is written), but so does a journal cut short by a disk or a person:
        // the journal is incomplete.
        if (!line.endsWith('\n')) {
            record->cut = true;
            record->listLost = record->listLost || line.startsWith("{\"confirmed\"");
            break;
        }
        const JournalLine::Seal seal = JournalLine::check(line);
        const QJsonObject o = seal == JournalLine::Seal::Damaged ? QJsonObject() : QJsonDocument::fromJson(line).object();
        if (first) {
            first = false;
            // A journal that seals its lines seals its first one too.
            if (o.isEmpty() || !parseHeader(line, &record->header)
                || (record->header.version >= 2 && seal != JournalLine::Seal::Sound)) {
                *error = seal == JournalLine::Seal::Damaged
                             ? QStringLiteral("the first line of the journal %1 is damaged").arg(QDir::toNativeSeparators(path))
                             : QStringLiteral("%1 is not a Kelvaro journal").arg(QDir::toNativeSeparators(path));
                return false;
            }
            if (headerOnly)
                return true;
            continue;
        }
        record->started = true;
        if (o.isEmpty() || (record->header.version >= 2 && seal != JournalLine::Seal::Sound)) {
            const bool list = line.startsWith("{\"confirmed\""), picture = !list && !line.startsWith("{\"end\"")
                                                                         && !line.contains("\"done\": ");
            record->damaged.push_back({lineNumber, JournalText::pathIn(line), picture});
            record->listLost = record->listLost || list;
            unknownSince += picture;
            continue;
        }
        if (o.contains(QLatin1String("confirmed"))) {
            for (const QJsonValue v : o.value(QLatin1String("confirmed")).toArray()) {
                const QJsonArray id = v.toArray();
                record->confirmed.insert(FileIdentity(quint64(id.at(0).toInteger()), quint64(id.at(1).toInteger())),
                                         id.at(2).toInteger(noDate));
            }
        } else if (o.contains(QLatin1String("confirmed_paths"))) {
            // Pictures named by path where files had no identity numbers: no
            // pass has written such a line, but it is no intent either.
        } else if (o.contains(QLatin1String("runs"))) {
            Entry e;
            e.n = o.value(QLatin1String("n")).toInt();
            e.path = JournalText::unescape(o.value(QLatin1String("path")).toString());
            e.before.device = quint64(o.value(QLatin1String("dev")).toInteger());
            e.before.inode = quint64(o.value(QLatin1String("ino")).toInteger());
            e.before.size = qint64(o.value(QLatin1String("size")).toInteger());
            e.before.modificationNs = o.value(QLatin1String("mtime_ns")).toInteger();
            e.before.accessNs = o.value(QLatin1String("atime_ns")).toInteger();
            e.sidecar = o.value(QLatin1String("sidecar")).toBool();
            e.oldDate = JournalText::unescape(o.value(QLatin1String("old")).toString());
            e.newDate = JournalText::unescape(o.value(QLatin1String("new")).toString());
            for (const QJsonValue v : o.value(QLatin1String("runs")).toArray()) {
                const QJsonArray run = v.toArray();
                e.runs.push_back({qint64(run.at(0).toInteger()), JournalText::unescape(run.at(1).toString()),
                                  JournalText::unescape(run.at(2).toString())});
            }
            // Pictures are numbered from 1 in the order of their lines: a
            // number skipped means a line that is gone.
            if (e.n > lastIntent + 1 + unknownSince)
                record->damaged.push_back({lineNumber, {}});
            lastIntent = std::max(lastIntent, e.n);
            unknownSince = 0;
            if (e.sidecar)
                sidecarNumbers.insert(e.n);
            if (eachEntry) {
                eachEntry(std::move(e));
                continue;
            }
            byNumber.insert(e.n, record->entries.size());
            record->entries.push_back(std::move(e));
        } else if (o.contains(QLatin1String("done"))) {
            // An outcome follows its intent: one without it names a line that is gone.
            if (o.value(QLatin1String("n")).toInt() > lastIntent + unknownSince) {
                record->damaged.push_back({lineNumber, {}});
                continue;
            }
            if (eachEntry) {
                PictureStatus outcome;
                record->changed += JournalOutcome::read(o.value(QLatin1String("done")).toString(), &outcome)
                                   && outcome == PictureStatus::Changed
                                   && !sidecarNumbers.contains(o.value(QLatin1String("n")).toInt());
                continue;
            }
            const auto at = byNumber.constFind(o.value(QLatin1String("n")).toInt());
            if (at != byNumber.constEnd()) {
                Entry &e = record->entries[*at];
                e.hasOutcome = JournalOutcome::read(o.value(QLatin1String("done")).toString(), &e.outcome);
                if (e.hasOutcome && e.outcome == PictureStatus::Changed && !e.sidecar)
                    ++record->changed;
            }
        } else if (o.contains(QLatin1String("end"))) {
            record->closed = true;
            record->cancelled = o.value(QLatin1String("cancelled")).toBool();
            record->left = leftOf(o);
        }
    }
    if (first) {
        *error = QStringLiteral("%1 is empty").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // A shift lists every picture whose date the user saw, at least as many as
    // it set out to change, before it writes any: a shorter list in a journal
    // without its end was cut short.
    if (!record->closed && record->header.kind == Kind::Shift && record->confirmed.size() < record->header.pictures)
        record->listLost = true;
    return true;
}
