#include "journalreplay.h"

#include <cstdlib>

#include "capturedate.h"
#include "datecodec.h"
#include "datereader.h"
#include "folderwalk.h"
#include "dateshift.h"
#include "pathbytes.h"

#include <QDir>
#include <QtDebug>

using Status = PictureStatus;

bool JournalReplay::chain(const QString &journal, QList<Journal::Record> *chain, QString *error)
{
    QString path = journal;
    QSet<QString> seen;
    while (!path.isEmpty() && !seen.contains(path)) {
        seen.insert(path);
        Journal::Record record;
        if (!Journal::readHeader(path, &record, error))
            return false;
        chain->prepend(record);
        path = record.header.kind == Journal::Kind::Resume ? record.header.source : QString();
    }
    return true;
}

// The headers only: the entries are read one by one as they are worked through.
bool JournalReplay::load(const QString &journal, QList<Journal::Record> *chain, bool confirmed, QString *refusal)
{
    if (!JournalReplay::chain(journal, chain, refusal))
        return false;
    for (const Journal::Record &record : *chain) {
        if (record.header.kind == Journal::Kind::Undo) {
            *refusal = QStringLiteral("%1 is the journal of an undo; it cannot be undone or resumed")
                          .arg(QDir::toNativeSeparators(record.path));
            return false;
        }
    }
    if (chain->isEmpty()) {
        *refusal = QStringLiteral("no journal given");
        return false;
    }
    if (!confirmed)
        return true;
    const QString first = chain->front().path;
    return Journal::read(first, &chain->front(), refusal, [](Journal::Entry &&) {});
}

// The entries of a journal chain, read one by one, in chunks whose pictures
// are opened several at once; each is then planned on this thread, in order.
void JournalReplay::plan(const QList<Journal::Record> &chain, bool reverse, const Journal::Header &header)
{
    incomplete = false;
    const size_t chunk = writing.pool->jobs() > 1 ? size_t(writing.pool->jobs()) * 16 : 1;
    std::vector<Journal::Entry> entries;
    auto flush = [&] {
        std::vector<std::unique_ptr<FileRewrite>> opened(entries.size());
        std::vector<Status> statuses(entries.size(), Status::CannotOpen);
        writing.pool->forEach(entries.size(), [&](size_t i) {
            if (state.cancelRequested)
                return;
            opened[i] = std::make_unique<FileRewrite>();
            statuses[i] = opened[i]->open(PathBytes::decode(entries[i].path));
        });
        for (size_t i = 0; i < entries.size() && !state.cancelRequested; ++i)
            planEntry(entries[i], reverse, header, std::move(opened[i]), statuses[i]);
        entries.clear();
    };
    auto take = [&](Journal::Entry &&entry) {
        if (state.cancelRequested || !writing.problem.isEmpty())
            return;
        // Each physical file once, from the first journal that names it.
        if (handled.contains(entry.before))
            return;
        handled.insert(entry.before);
        entries.push_back(std::move(entry));
        if (entries.size() >= chunk)
            flush();
    };
    for (const Journal::Record &record : chain) {
        Journal::Record again;
        QString error;
        if (!Journal::read(record.path, &again, &error, take) && writing.problem.isEmpty())
            writing.problem = error;
        noteDamage(again);
        incomplete = incomplete || !again.closed || again.cut || !again.damaged.empty();
        if (state.cancelRequested || !writing.problem.isEmpty())
            break;
    }
    if (!state.cancelRequested)
        flush();
}

// A picture (or a line) the journal cannot be trusted about: left alone,
// counted, and named with why. `count`: counted as a damaged line too (the
// damaged lines themselves are counted as they are met).
void JournalReplay::leaveAlone(const QString &name, const char *why, bool count)
{
    writing.counts.damaged += count;
    ++writing.counts.notChanged;
    qDebug("%s : %s", why, PathBytes::displayBytes(name).constData());
    writing.note(Status::JournalDamaged, name);
}

// Lines of a journal that cannot be trusted: their pictures are left alone,
// each named (or its line, when no name can be read).
void JournalReplay::noteDamage(const Journal::Record &record)
{
    for (const Journal::DamagedLine &line : record.damaged) {
        ++writing.counts.damaged;
        if (!line.picture)
            continue;   // a damaged count, list or closing line names no picture
        leaveAlone(line.path.isEmpty()
                       ? QStringLiteral("line %1 of %2").arg(line.line).arg(QDir::toNativeSeparators(record.path))
                       : PathBytes::decode(line.path),
                   PictureResult::describe(Status::JournalDamaged), false);
    }
    writing.counts.journalCut = writing.counts.journalCut || record.cut;
    writing.counts.listLost = writing.counts.listLost || record.listLost;
}

void JournalReplay::findUnnamed(const QList<Journal::Record> &chain, bool followOutsideLinks)
{
    if (chain.isEmpty() || state.cancelRequested)
        return;
    Journal::Record first;
    QString error;
    if (!Journal::read(chain.front().path, &first, &error, [](Journal::Entry &&) {}) || first.confirmed.isEmpty())
        return;
    const qint64 shift = first.header.shiftSeconds;
    FolderWalk walk(state);
    walk.followOutsideLinks = followOutsideLinks;
    walk.pool = writing.pool;
    walk.shiftChunk = [&](std::vector<FolderWalk::Item> &items) {
        std::vector<PictureResult> results(items.size());
        std::vector<qint64> seen(items.size(), Journal::noDate);
        writing.pool->forEach(items.size(), [&](size_t i) {
            results[i] = DateReader::read(items[i].path, [&](const FileIdentity &id) {
                if (!walk.claim(id) || handled.contains(id))
                    return false;
                seen[i] = first.confirmed.value(id, Journal::noDate);
                return seen[i] != Journal::noDate;
            });
        });
        for (size_t i = 0; i < items.size(); ++i) {
            const PictureResult &r = results[i];
            if (r.status != Status::Usable || seen[i] == Journal::noDate || r.oldDate.toSecsSinceEpoch() != seen[i] + shift)
                continue;
            leaveAlone(items[i].path, "shifted, but no line of the journal names it, not changed");
        }
    };
    const int pictures = state.pictureCount;
    walk.scanFolder(first.header.folder);
    state.pictureCount = pictures;
}

// Whether every run of an entry is a date field moved by exactly the pass's
// shift: its old text spells the entry's old date and its new text the new
// one, in one encoding, and the two dates lie `shiftSeconds` apart. A run of
// another width is the digest over IPTC texts, taken only beside them.
namespace {
constexpr qint64 kMostSkew = 14 * 3600 + 2 * 86400;
}

bool JournalReplay::holdsTheShift(const Journal::Entry &entry, qint64 shiftSeconds)
{
    const QDateTime before = CaptureDate::parse(entry.oldDate), after = CaptureDate::parse(entry.newDate);
    if (!before.isValid() || !after.isValid() || before.secsTo(after) != shiftSeconds || entry.runs.empty())
        return false;
    const WallClock from = CaptureDate::wallClock(before), to = CaptureDate::wallClock(after);
    bool iptc = false, digest = false;
    for (const FileRewrite::Run &run : entry.runs) {
        const auto *a = reinterpret_cast<const unsigned char *>(run.from.constData());
        const auto *b = reinterpret_cast<const unsigned char *>(run.to.constData());
        const size_t n = size_t(run.from.size());
        if (run.to.size() != run.from.size() || run.offset < 0)
            return false;
        if (DateCodec::spellsPair(a, b, n, from, to)) {
            iptc = iptc || n == DateCodec::width(DateEncoding::IptcTime);
            continue;
        }
        // A field that keeps a distance from the capture time (a copy in UTC,
        // the end of a recording) moved by the very shift: a distance no
        // zone (14 hours) and no recording (2 days) makes is none.
        WallClock was;
        if (DateCodec::spellsShift(a, b, n, shiftSeconds, &was)
            && std::llabs(DateCodec::toEpochSeconds(was) - DateCodec::toEpochSeconds(from)) <= kMostSkew)
            continue;
        if (n != DateShift::md5Width)
            return false;
        digest = true;
    }
    return !digest || iptc;
}

void JournalReplay::planEntry(const Journal::Entry &entry, bool reverse, const Journal::Header &header,
                         std::unique_ptr<FileRewrite> rewrite, Status opened)
{
    const QString path = PathBytes::decode(entry.path);
    if (!entry.sidecar)
        ++state.pictureCount;
    PictureResult result;
    result.oldText = reverse ? entry.newDate : entry.oldDate;
    result.oldDate = CaptureDate::parse(result.oldText);
    result.newDate = CaptureDate::parse(reverse ? entry.oldDate : entry.newDate);
    result.status = opened;
    if (entry.sidecar && result.status != Status::Usable) {
        writing.note(result.status, path);
        return;
    }
    // A picture of the journal looked at and left alone is done.
    if (result.status == Status::Usable && !holdsTheShift(entry, header.shiftSeconds)) {
        state.doneCount += !entry.sidecar;
        leaveAlone(path, PictureResult::describe(Status::JournalDamaged));
        writing.picture(path, result);
        return;
    }
    if (result.status == Status::Usable && rewrite->snapshot() != entry.before) {
        qDebug("replaced since the shift, not changed : %s", PathBytes::displayBytes(path).constData());
        result.status = Status::Unrecognised;
    }
    if (result.status != Status::Usable) {
        state.doneCount += !entry.sidecar;
        if (result.status == Status::Unrecognised)
            ++writing.counts.unrecognised;
        else
            ++writing.counts.notChanged;
        writing.note(result.status, path);
        writing.picture(path, result);
        return;
    }
    std::vector<FileRewrite::Run> runs = entry.runs;
    if (reverse)
        for (FileRewrite::Run &run : runs)
            std::swap(run.from, run.to);
    rewrite->planRuns(runs);
    result.runs = int(runs.size());

    WritingPass::Pending pending;
    pending.sidecar = entry.sidecar;
    pending.rewrite = std::move(rewrite);
    pending.result = result;
    // Undo puts back the times the picture had before the shift; resume sets
    // them as the shift would have.
    pending.accessNs = entry.before.accessNs;
    pending.modificationNs = entry.before.modificationNs;
    if (!reverse) {
        writing.adaptTimes = header.adaptFileTimes;
        if (!writing.targetTimes(result.newDate, entry.before, &pending.accessNs, &pending.modificationNs))
            pending.result.timesSet = false;
    }
    Journal::Entry record = entry;
    record.runs = runs;
    if (reverse)
        std::swap(record.oldDate, record.newDate);
    // The times recorded stay those from before the first pass, so that an
    // undo of this pass puts those back.
    writing.enqueue(std::move(pending), std::move(record));
}


int JournalReplay::distinctPictures(const QList<Journal::Record> &chain)
{
    QSet<FileIdentity> distinct;
    for (const Journal::Record &record : chain) {
        Journal::Record again;
        QString error;
        Journal::read(record.path, &again, &error, [&](Journal::Entry &&entry) {
            if (!entry.sidecar)
                distinct.insert(entry.before);
        });
    }
    return int(distinct.size());
}
