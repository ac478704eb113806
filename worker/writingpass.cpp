#include "writingpass.h"

#include "capturedate.h"
#include "openedfile.h"
#include "pathbytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QtDebug>

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#include <cstdio>
#else
#include <sys/resource.h>
#endif

namespace {

// Pictures planned before their intents go to the disk in one flush. Each
// holds an open file (and its lock) until it is written, so the batch also
// stays well within the number of files a process may hold open.
size_t batchLimit()
{
    static const size_t limit = [] {
        size_t files = 1024;
#ifdef _WIN32
        // The C runtime's streams, which the pictures are opened as.
        if (_setmaxstdio(2048) == 2048)
            files = 2048;
#else
        struct rlimit open{};
        if (getrlimit(RLIMIT_NOFILE, &open) == 0) {
            // Raise the soft limit towards the hard one: a batch of 1024
            // pictures and their sidecars needs some 1100 descriptors.
            const rlim_t wanted = std::min<rlim_t>(open.rlim_max, 4096);
            if (open.rlim_cur < wanted) {
                open.rlim_cur = wanted;
                setrlimit(RLIMIT_NOFILE, &open);
                getrlimit(RLIMIT_NOFILE, &open);
            }
            files = open.rlim_cur == RLIM_INFINITY ? 4096 : size_t(open.rlim_cur);
        }
#endif
        return std::clamp<size_t>(files / 2 - 64, 64, 1024);
    }();
    return limit;
}

using Status = PictureStatus;

// Pictures written between two flushes to the disk during a pass.
constexpr size_t kEarlyFlushEvery = 256;

// The journal names every picture by its absolute path, so that an undo or a
// resume started from any folder finds it. `workingFolder` is the current
// folder, asked once per pass.
QString absolute(const QString &path, const QString &workingFolder)
{
    return QDir::isAbsolutePath(path) ? path : QDir::cleanPath(workingFolder + QLatin1Char('/') + path);
}


} // namespace

QByteArray WritingPass::journalPathOf(const QString &path) const
{
    return PathBytes::encode(absolute(path, workingFolder));
}

bool WritingPass::begin(Journal::Header header, const QString &lockFolder, qint64 datedGeneration)
{
    refusal.clear();
    problem.clear();
    journalPath.clear();
    counts = Counts();
    notes.clear();
    batch.clear();
    changedOnDevice.clear();
    earlyFlushFailed = false;
    unflushed = 0;
    workingFolder = QDir::currentPath();
    sequence = 0;
    state.pictureCount = 0;
    state.changedCount = 0;
    state.doneCount = 0;
    state.writingTotal = header.pictures;
    state.folderCount = 0;
    if (!PathBytes::isFolder(lockFolder)) {
        refusal = QCoreApplication::translate("JobMessages", "%1: no such folder; nothing was changed")
                      .arg(PathBytes::display(lockFolder));
        return false;
    }
    if (dryRun)
        return true;
    if (!lock.acquire(lockFolder, &refusal))
        return false;
    // Another shift, undo or resume of this tree since its dates were read
    // (or while they were read) makes them stale: read them again first.
    if (datedGeneration != noGeneration && lock.heldGeneration() != datedGeneration) {
        refusal = QStringLiteral("another shift, undo or resume changed %1 since its dates were read; "
                                 "nothing was changed: read the dates again")
                      .arg(PathBytes::display(lockFolder));
        lock.release();
        return false;
    }
    lock.countThisPass();
    if (useJournal) {
        header.started = QDateTime::currentDateTimeUtc();
        if (!journal.create(header, &refusal)) {
            refusal += QStringLiteral("; nothing was changed");
            lock.release();
            return false;
        }
        journalPath = journal.path();
    }
    return true;
}

// Puts the pictures the user saw, with their dates, on the disk before any
// picture is written. When that fails, the pass gives up: its journal is
// removed and the tree released, and nothing was changed.
bool WritingPass::recordConfirmed(const Journal::Confirmed &ids)
{
    if (!journal.isOpen())
        return true;
    journal.addConfirmed(ids);
    if (journal.flush())
        return true;
    refusal = QStringLiteral("the journal could not be written; nothing was changed");
    journal.discard();
    journalPath.clear();
    lock.release();
    return false;
}

WritingPass::~WritingPass()
{
    waitForEarlyFlush();
}

// Writes the changes so far through to the disk on a thread of its own, while
// the pass goes on: the flush at the end then finds little left to write. It
// only starts where one call flushes a whole file system, and not while an
// earlier one runs. A failure is kept for the end: the system tells a lost
// write to the first flush after it, not to the later ones.
bool WritingPass::startEarlyFlush()
{
#if defined(__linux__)
    if (dryRun || changedOnDevice.isEmpty() || earlyFlushing)
        return false;
    waitForEarlyFlush();
    earlyFlushing = true;
    try {
        earlyFlush = std::thread([this, paths = changedOnDevice.values()] {
            for (const QString &path : paths) {
                // A picture moved away since: the flush at the end covers its
                // file system, and no failure was told to anybody yet.
                OpenedFile picture;
                if (picture.open(path, false) && !picture.syncFileSystem()) {
                    qDebug("could not write the changes through to the disk : %s",
                           PathBytes::displayBytes(path).constData());
                    earlyFlushFailed = true;
                }
            }
            earlyFlushing = false;
        });
    } catch (const std::system_error &) {
        // No thread to be had (a limit of the system): the flush at the end
        // does it all.
        earlyFlushing = false;
        return false;
    }
    return true;
#else
    return false;
#endif
}

void WritingPass::waitForEarlyFlush()
{
    if (earlyFlush.joinable())
        earlyFlush.join();
}

void WritingPass::end()
{
    if (state.cancelRequested || !problem.isEmpty()) {
        // Planned but not written: left as they are. Their intents (if they
        // reached the journal) are harmless: undo and resume look at the bytes.
        for (const Pending &p : batch)
            counts.notChanged += !p.sidecar;
        batch.clear();
    } else {
        commitBatch(true);
    }
    // On the disk before the result is told.
    waitForEarlyFlush();
    if (earlyFlushFailed)
        problem = QStringLiteral("the changes could not be written through to the disk");
    for (auto it = changedOnDevice.constBegin(); it != changedOnDevice.constEnd(); ++it) {
        OpenedFile picture;
        if (!picture.open(it.value(), false) || !picture.syncFileSystem()) {
            qDebug("could not write the changes through to the disk : %s", PathBytes::displayBytes(it.value()).constData());
            problem = QStringLiteral("the changes could not be written through to the disk");
        }
    }
    if (journal.isOpen()) {
        const QList<QPair<QByteArray, qint64>> numbers = {
            {"pictures", state.pictureCount.load()}, {"changed", counts.changed},
            {"not_changed", counts.notChanged},      {"added_since", counts.addedSince},
            {"already_done", counts.alreadyDone},    {"unrecognised", counts.unrecognised},
            {"not_chosen", counts.notChosen},       {"damaged", counts.damaged},
            {"journal_incomplete", counts.journalCut || counts.listLost ? 1 : 0},
            {"times_not_set", counts.timesNotSet}};
        // Done lines that could not be written lose no picture (the intents
        // were on the disk first), but the journal no longer tells all: say so.
        const bool closed = journal.close(state.cancelRequested, numbers);
        if ((!closed || journal.hasFailed()) && problem.isEmpty())
            problem = journal.wasRemoved() ? QStringLiteral("the journal %1 was removed")
                                                 .arg(QDir::toNativeSeparators(journal.path()))
                                           : QStringLiteral("the journal could not be written");
    }
    lock.release();
}

bool WritingPass::targetTimes(const QDateTime &newDate, const FileIdentity &original, int64_t *atime,
                           int64_t *mtime) const
{
    *atime = original.accessNs;
    *mtime = original.modificationNs;
    if (!adaptTimes)
        return true;
    int64_t instant = 0;
    if (!FileRewrite::localInstantNs(newDate, &instant))
        return false;
    *atime = *mtime = instant;
    return true;
}

void WritingPass::note(Status status, const QString &path)
{
    notes << QString::fromLatin1(PictureResult::describe(status)) + QStringLiteral(" : ") + PathBytes::display(path);
}

void WritingPass::picture(const QString &path, const PictureResult &result)
{
    if (observer)
        observer->pictureDone(path, result);
}

void WritingPass::enqueue(Pending pending, Journal::Entry entry)
{
    pending.n = ++sequence;
    if (journal.isOpen()) {
        entry.n = pending.n;
        journal.intent(entry);
    }
    batch.push_back(std::move(pending));
    if (batch.size() >= batchLimit())
        commitBatch();
}

// A folder of the tree that was moved away behind a link since its pictures
// were opened: its pictures (the very files, moved with it) are not written
// where the link leads. Each folder of the batch is looked at once.
void WritingPass::markOutside()
{
    if (insideOf.isEmpty())
        return;
    QHash<QString, bool> leadsOutside;
    for (Pending &p : batch) {
        const QString &path = p.rewrite->path();
        const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')));
        auto it = leadsOutside.constFind(folder);
        if (it == leadsOutside.constEnd()) {
            const QString canonical = PathBytes::canonical(folder);
            it = leadsOutside.insert(folder, !canonical.isEmpty() && !PathBytes::isWithin(canonical, insideOf));
        }
        p.outside = *it;
    }
}

void WritingPass::commitBatch(bool last)
{
    if (batch.empty())
        return;
    // Every intent of the batch is on the disk before any of its pictures is written.
    if (journal.isOpen() && !journal.flush()) {
        problem = journal.wasRemoved()
                      ? QStringLiteral("the journal %1 was removed; the pass stopped")
                            .arg(QDir::toNativeSeparators(journal.path()))
                      : QStringLiteral("the journal could not be written; the pass stopped");
        qDebug("the journal could not be written : %s", journal.path().toUtf8().constData());
        for (const Pending &p : batch)
            counts.notChanged += !p.sidecar;
        batch.clear();
        state.cancelRequested = true;
        return;
    }
    markOutside();
    // The pictures are written first, several at once; then the sidecars of
    // those that were written. Each step tells its outcome, which is taken in
    // below in the order of the journal.
    QHash<int, size_t> pictureAt;
    for (size_t k = 0; k < batch.size(); ++k)
        if (!batch[k].sidecar)
            pictureAt.insert(batch[k].n, k);
    // Each outcome reaches the journal as the write ends, and the system
    // after every `jobs` outcomes: after a killed process the journal names
    // every picture written but at most as many as were in flight.
    const int inFlight = pool->jobs();
    auto record = [this, inFlight](const Pending &p, Status outcome) {
        if (!journal.isOpen())
            return;
        QMutexLocker lock(&journalMutex);
        journal.done(p.n, outcome);
        if (++unwrittenOutcomes >= inFlight) {
            journal.write();
            unwrittenOutcomes = 0;
        }
    };
    // `finish`: a sidecar whose picture was written, part of the picture in
    // hand: it is written even after a stop, so that the two agree.
    auto write = [this, &record](Pending &p, bool finish) {
        // While the face asks whether to stop, no picture is begun.
        if (!finish)
            state.waitWhilePaused();
        if (state.cancelRequested && !finish)
            return;   // the pictures in hand are written; the rest stay as they are
        p.attempted = true;
        if (p.outside) {
            qDebug("behind a link leading outside the folder, not changed : %s",
                   PathBytes::displayBytes(p.rewrite->path()).constData());
            p.outcome = Status::ChangedElsewhere;
            record(p, p.outcome);
            state.doneCount += !p.sidecar;
            return;
        }
        p.rewrite->keepInside(insideOf);
        if (dryRun) {
            p.outcome = p.rewrite->check();
            p.timesWritten = true;
        } else {
            p.outcome = p.rewrite->commit(p.accessNs, p.modificationNs, &p.timesWritten);
        }
        const bool written = p.outcome == Status::Changed || p.outcome == Status::AlreadyDone;
#ifdef _WIN32
        if (written && !dryRun && !p.rewrite->syncFileSystem()) {
            p.syncFailed = true;
            qDebug("could not write the changes through to the disk : %s",
                   PathBytes::displayBytes(p.rewrite->path()).constData());
        }
#endif
        if (!p.rewrite->close() && written && !dryRun) {
            qDebug("close failed after writing : %s", PathBytes::displayBytes(p.rewrite->path()).constData());
            p.outcome = Status::CloseFailed;
        }
        // The journal and the progress, as each picture's write ends.
        record(p, p.outcome);
        if (!p.sidecar && (p.outcome == Status::Changed || p.outcome == Status::CloseFailed))
            ++state.changedCount;
        state.doneCount += !p.sidecar;
    };
    auto pictureWritten = [&](const Pending &sidecar) {
        if (!sidecar.ofPicture)
            return true;
        const auto at = pictureAt.constFind(sidecar.ofPicture);
        if (at == pictureAt.constEnd())   // its picture was in the batch before
            return sidecar.ofPicture == lastPicture && lastPictureWritten;
        const Pending &p = batch[*at];
        return p.attempted && (p.outcome == Status::Changed || p.outcome == Status::AlreadyDone);
    };
    // A group at a time: its pictures, then the sidecars of those written,
    // then the outcomes taken in. A cancel stops at the picture in hand (see
    // `write`); the group only sets how often the outcomes are taken in. Each
    // group ends with every job waiting for the slowest, which costs some
    // 100 µs on a busy machine and more on a share: groups are large.
    const size_t group = pool->jobs() > 1 ? size_t(pool->jobs()) * 32 : 1;
    for (size_t first = 0; first < batch.size(); first += group) {
        const size_t count = std::min(group, batch.size() - first);
        pool->forEach(count, [&](size_t k) {
            if (!batch[first + k].sidecar)
                write(batch[first + k], false);
        });
        const auto end = batch.begin() + std::ptrdiff_t(first + count);
        const bool anySidecar =
            std::any_of(batch.begin() + std::ptrdiff_t(first), end, [](const Pending &p) { return p.sidecar; });
        if (anySidecar)
            pool->forEach(count, [&](size_t k) {
                Pending &p = batch[first + k];
                if (!p.sidecar)
                    return;
                if (!pictureWritten(p)) {
                    p.attempted = true;
                    p.orphan = true;
                    p.rewrite->close();
                    record(p, Status::PictureNotChanged);
                } else {
                    write(p, true);
                }
            });

        for (size_t k = first; k < first + count; ++k) {
            Pending &p = batch[k];
            if (!p.attempted) {
                counts.notChanged += !p.sidecar;
                continue;
            }
            const QString path = p.rewrite->path();
            if (p.orphan)
                continue;   // its picture was not written: neither is the sidecar
            const Status status = p.outcome;
            const bool timesSet = p.timesWritten;
            const bool written = status == Status::Changed || status == Status::AlreadyDone;
            if (p.syncFailed)
                problem = QStringLiteral("the changes could not be written through to the disk");
            if (!p.sidecar) {
                lastPicture = p.n;
                lastPictureWritten = written;
            }
            if (p.sidecar) {
                // Sidecars are counted apart and never as pictures.
                if (status == Status::Changed || status == Status::CloseFailed || status == Status::AlreadyDone) {
                    counts.moved[Copy::Sidecar] += status != Status::AlreadyDone;
                    if (!dryRun && status != Status::AlreadyDone)
                        changedOnDevice.insert(p.rewrite->snapshot().device, path);
                } else {
                    note(status, path);
                }
                if (status == Status::CloseFailed)
                    note(status, path);
                if (written && !dryRun && !timesSet)
                    notes << QStringLiteral("file times not set : ") + PathBytes::display(path);
                continue;
            }
            if (status == Status::Changed || status == Status::CloseFailed) {
                ++counts.changed;
                counts.moved[Copy::XmpDate] += p.result.xmpDates;
                counts.moved[Copy::IptcDate] += p.result.iptcDates;
                if (!dryRun)
                    changedOnDevice.insert(p.rewrite->snapshot().device, path);
            } else if (status == Status::AlreadyDone) {
                // Another program (or an earlier pass) already wrote what
                // this pass would have: not a change of this pass.
                ++counts.alreadyDone;
                // Undo and resume count those (a resume meets every picture
                // its shift finished); a shift names each.
                if (!fromJournal) {
                    qDebug("%s : %s", PictureResult::describe(status), PathBytes::displayBytes(path).constData());
                    note(status, path);
                }
            } else if (status == Status::Unrecognised) {
                ++counts.unrecognised;
                note(status, path);
            } else {
                ++counts.notChanged;
                note(status, path);
            }
            if (status == Status::CloseFailed)
                note(status, path);
            if (written && !dryRun && (!timesSet || !p.result.timesSet)) {
                ++counts.timesNotSet;
                p.result.timesSet = false;
                notes << QStringLiteral("file times not set : ") + PathBytes::display(path);
            }
            p.result.status = status;
            picture(path, p.result);
        }
        if (journal.isOpen()) {
            journal.write();
            unwrittenOutcomes = 0;
        }
        // Every so many pictures; the flush at the end follows the last group
        // at once.
        unflushed += count;
        if (unflushed >= kEarlyFlushEvery && (!last || first + count < batch.size()) && startEarlyFlush())
            unflushed = 0;
    }
    batch.clear();
}
