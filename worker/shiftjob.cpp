#include "shiftjob.h"

#include "capturedate.h"
#include "openpicture.h"
#include "pathbytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>

#include <algorithm>

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

using Status = PictureFile::Status;

// The journal names every picture by its absolute path, so that an undo or a
// resume started from any folder finds it. `workingFolder` is the current
// folder, asked once per pass.
QString absolute(const QString &path, const QString &workingFolder)
{
    return QDir::isAbsolutePath(path) ? path : QDir::cleanPath(workingFolder + QLatin1Char('/') + path);
}

QString canonical(const QString &path)
{
    return PathBytes::canonical(path).toCaseFolded();
}

} // namespace

// ---- the choice of pictures -----------------------------------------------

bool ShiftJob::Choice::takes(const QString &camera, const QDateTime &date) const
{
    if (!takesCamera(camera))
        return false;
    if (from.isValid() && date < from)
        return false;
    return !(to.isValid() && to < date);
}

QByteArray ShiftJob::Choice::toJson() const
{
    if (all())
        return {};
    QJsonObject o;
    if (!cameras.isEmpty())
        o.insert(QLatin1String("cameras"), QJsonArray::fromStringList(cameras));
    if (from.isValid())
        o.insert(QLatin1String("from"), QString::fromLatin1(CaptureDate::format(from)));
    if (to.isValid())
        o.insert(QLatin1String("to"), QString::fromLatin1(CaptureDate::format(to)));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

ShiftJob::Choice ShiftJob::Choice::fromJson(const QByteArray &json)
{
    Choice c;
    if (json.isEmpty())
        return c;
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    for (const QJsonValue &v : o.value(QLatin1String("cameras")).toArray())
        c.cameras << v.toString();
    c.from = CaptureDate::parse(o.value(QLatin1String("from")).toString().toLatin1());
    c.to = CaptureDate::parse(o.value(QLatin1String("to")).toString().toLatin1());
    return c;
}

// Translated under the context "ShiftJob" where translators are installed
// (the window); kelvaro-cli stays English.
QString ShiftJob::Choice::describe() const
{
    QStringList parts;
    if (!cameras.isEmpty())
        parts << QCoreApplication::translate("ShiftJob", "of %1").arg(cameras.join(QLatin1String(", ")));
    const QString pattern = QLatin1String(CaptureDate::pattern);
    if (from.isValid() && to.isValid())
        parts << QCoreApplication::translate("ShiftJob", "taken from %1 until %2")
                     .arg(from.toString(pattern), to.toString(pattern));
    else if (from.isValid())
        parts << QCoreApplication::translate("ShiftJob", "taken from %1").arg(from.toString(pattern));
    else if (to.isValid())
        parts << QCoreApplication::translate("ShiftJob", "taken until %1").arg(to.toString(pattern));
    return parts.join(QLatin1Char(' '));
}

// ---- the job ----------------------------------------------------------------

ShiftJob::ShiftJob(WalkState &state, FolderWalk::Observer *observer) : state(state), observer(observer) {}

ShiftJob::~ShiftJob() = default;

void ShiftJob::reset()
{
    state.phase = WalkState::Survey;
    state.cancelRequested = false;
    state.pictureCount = 0;
    state.validCount = 0;
    state.folderCount = 0;
    state.outsideLinks = 0;
    state.unreadableCount = 0;
    state.readOnlyCount = 0;
    state.changedCount = 0;
    state.oldestDate = QDateTime();
    state.newestDate = QDateTime();
    confirmed.clear();
    confirmedPaths.clear();
    datedIds.clear();
    datedPaths.clear();
    cameraTable.clear();
    selection = Choice();
    tally = Tally();
}

QList<ShiftJob::Camera> ShiftJob::cameras() const
{
    QList<Camera> list = cameraTable.values();
    std::sort(list.begin(), list.end(), [](const Camera &a, const Camera &b) {
        return a.valid != b.valid ? a.valid > b.valid : a.name < b.name;
    });
    return list;
}

void ShiftJob::choose(const Choice &choice)
{
    selection = choice;
    if (choice.from.isValid() || choice.to.isValid())
        return;   // tallied by the dating pass
    tally = Tally();
    for (const Camera &camera : cameraTable) {
        if (camera.valid == 0 || !choice.takesCamera(camera.name))
            continue;
        tally.valid += camera.valid;
        if (!tally.oldest.isValid() || camera.oldest < tally.oldest)
            tally.oldest = camera.oldest;
        if (!tally.newest.isValid() || tally.newest < camera.newest)
            tally.newest = camera.newest;
    }
}

// One picture of the dating pass: its camera's counts and, when it is chosen,
// the tally of the chosen pictures. Nothing here grows with the pictures.
void ShiftJob::countDated(const PictureFile::Result &result)
{
    if (result.camera.isEmpty())
        return;   // no EXIF block was read: no camera to count it for
    Camera &camera = cameraTable[result.camera];
    camera.name = result.camera;
    ++camera.pictures;
    if (result.status != Status::Usable)
        return;
    const QDateTime &date = result.oldDate;
    ++camera.valid;
    if (!camera.oldest.isValid() || date < camera.oldest)
        camera.oldest = date;
    if (!camera.newest.isValid() || camera.newest < date)
        camera.newest = date;
    if (!selection.takes(result.camera, date))
        return;
    ++tally.valid;
    if (!tally.oldest.isValid() || date < tally.oldest)
        tally.oldest = date;
    if (!tally.newest.isValid() || tally.newest < date)
        tally.newest = date;
}

QString ShiftJob::rangeProblem(qint64 seconds) const
{
    // Every date lies between the oldest and the newest, so checking those two
    // tells whether every shifted date still fits in place of the old one.
    for (const QDateTime &date : {tally.oldest, tally.newest}) {
        if (!date.isValid())
            continue;
        if (CaptureDate::format(date.addSecs(seconds)).isEmpty())
            // Shown by the window in the user's language (kelvaro-cli installs no translator).
            return QCoreApplication::translate("JobMessages",
                                               "shifting by %1 seconds would move %2 outside the years 1000 to "
                                               "9999; nothing was changed")
                .arg(seconds)
                .arg(date.toString(QLatin1String(CaptureDate::pattern)));
    }
    return {};
}

int ShiftJob::defaultJobs()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("KELVARO_JOBS", &ok);
    return ok && fromEnvironment >= 1 ? std::min(fromEnvironment, IoPool::maximumJobs) : IoPool::defaultJobs;
}

void ShiftJob::run(Task task)
{
    // The pool lives for one task: no thread waits while the job is idle.
    pool = std::make_unique<IoPool>(jobs);
    struct Release {
        std::unique_ptr<IoPool> &pool;
        ~Release() { pool.reset(); }
    } release{pool};
    switch (task) {
    case Task::Survey:
    case Task::Dating: {
        state.phase = task == Task::Survey ? WalkState::Survey : WalkState::Dating;
        state.pictureCount = 0;
        state.folderCount = 0;
        state.outsideLinks = 0;
        if (task == Task::Dating) {
            state.unreadableCount = 0;
            state.readOnlyCount = 0;
        }
        // A writing pass on the tree while its dates are read would make them
        // a mix of before and after: note the tree's passes before and after.
        bool busyBefore = false, busyAfter = false;
        const qint64 before = task == Task::Dating ? TreeLock::generation(folder, &busyBefore) : 0;
        FolderWalk walk(state, observer);
        walk.followOutsideLinks = followOutsideLinks;
        walk.countCopies = countCopies && task == Task::Dating;
        walk.pool = pool.get();
        if (task == Task::Dating) {
            cameraTable.clear();
            tally = Tally();
            walk.dated = [this](const PictureFile::Result &result) { countDated(result); };
        }
        walk.scanFolder(folder);
        if (task == Task::Dating) {
            const qint64 after = TreeLock::generation(folder, &busyAfter);
            datedGeneration = busyBefore || busyAfter || before != after ? -1 : after;
            confirmed = walk.usableIdentities();
            confirmedPaths = walk.usableCanonicalPaths();
            datedIds = walk.visitedIdentities();
            datedPaths = walk.visitedCanonicalPaths();
        }
        break;
    }
    case Task::Shifting:
        shift();
        break;
    case Task::Undo:
        undo();
        break;
    case Task::Resume:
        resume();
        break;
    }
}

bool ShiftJob::beginWriting(Journal::Header header, QString lockFolder, bool fromDates)
{
    refusal.clear();
    problem.clear();
    journalPath.clear();
    counts = Counts();
    notes.clear();
    batch.clear();
    changedOnDevice.clear();
    handled.clear();
    handledPaths.clear();
    sidecarsSeen.clear();
    workingFolder = QDir::currentPath();
    sequence = 0;
    state.pictureCount = 0;
    state.changedCount = 0;
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
    if (fromDates && lock.heldGeneration() != datedGeneration) {
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
bool ShiftJob::recordConfirmed(const Journal::Confirmed &ids, const Journal::ConfirmedPaths &paths)
{
    if (!journal.isOpen())
        return true;
    journal.addConfirmed(ids, paths);
    if (journal.flush())
        return true;
    refusal = QStringLiteral("the journal could not be written; nothing was changed");
    journal.discard();
    journalPath.clear();
    lock.release();
    return false;
}

void ShiftJob::endWriting()
{
    if (state.cancelRequested || !problem.isEmpty()) {
        // Planned but not written: left as they are. Their intents (if they
        // reached the journal) are harmless: undo and resume look at the bytes.
        for (const Pending &p : batch)
            counts.notChanged += !p.sidecar;
        batch.clear();
    } else {
        commitBatch();
    }
    // On the disk before the result is told.
    for (auto it = changedOnDevice.constBegin(); it != changedOnDevice.constEnd(); ++it) {
        OpenPicture picture;
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
            {"not_chosen", counts.notChosen},
            {"times_not_set", counts.timesNotSet}};
        // Done lines that could not be written lose no picture (the intents
        // were on the disk first), but the journal no longer tells all: say so.
        const bool closed = journal.close(state.cancelRequested, numbers);
        if ((!closed || journal.hasFailed()) && problem.isEmpty())
            problem = QStringLiteral("the journal could not be written");
    }
    lock.release();
}

bool ShiftJob::targetTimes(const QDateTime &newDate, const PictureRewrite::Snapshot &original, int64_t *atime,
                           int64_t *mtime) const
{
    *atime = original.accessNs;
    *mtime = original.modificationNs;
    if (!adaptTimes)
        return true;
    int64_t instant = 0;
    if (!PictureRewrite::localInstantNs(newDate, &instant))
        return false;
    *atime = *mtime = instant;
    return true;
}

void ShiftJob::note(Status status, const QString &path)
{
    notes << QString::fromLatin1(PictureFile::describe(status)) + QStringLiteral(" : ") + PathBytes::display(path);
}

void ShiftJob::picture(const QString &path, const PictureFile::Result &result)
{
    if (observer)
        observer->pictureDone(path, result);
}

// ---- shifting -------------------------------------------------------------

void ShiftJob::walkAndShift()
{
    FolderWalk walk(state, observer);
    walk.followOutsideLinks = followOutsideLinks;
    walk.pool = pool.get();
    walk.shiftChunk = [this, &walk](std::vector<FolderWalk::Item> &items) { shiftChunk(items, walk); };
    walk.scanFolder(folder);
}

void ShiftJob::shift()
{
    Journal::Header header;
    header.kind = Journal::Kind::Shift;
    header.folder = QFileInfo(folder).absoluteFilePath();
    header.shiftSeconds = state.shiftSeconds;
    header.adaptFileTimes = state.adaptFileTimes;
    header.followOutsideLinks = followOutsideLinks;
    header.exifOnly = exifOnly;
    header.pictures = tally.valid;
    header.choice = selection.toJson();
    passChoice = selection;
    adaptTimes = state.adaptFileTimes;   // taken once, for the whole pass
    state.phase = WalkState::Shifting;
    if (!beginWriting(header, folder, true))
        return;
    // The pictures the user saw go to the disk before any is written: a
    // resume shifts those and no others.
    if (!recordConfirmed(confirmed, confirmedPaths))
        return;

    walkAndShift();
    endWriting();
}

// Opens and plans one picture of the shift. Runs on the pool's threads: it
// reads only what stays fixed during the pass (the pictures the user saw,
// those a resume took from the journal, the choice).
void ShiftJob::prepareOne(Prepared &p, FolderWalk &walk)
{
    const bool byPath = !PictureFile::claimsFiles();
    if (byPath) {
        if (!walk.firstVisit(p.path)) {
            p.skip = true;
            return;
        }
        const QString key = canonical(p.path);
        const auto it = confirmedPaths.constFind(key);
        p.known = it != confirmedPaths.constEnd();
        if (p.known)
            p.seenDate = *it;
        if (handledPaths.contains(key)) {
            p.skip = true;
            return;
        }
    }
    bool done = false;
    auto claimKnown = [&](const PictureFile::FileId &id) {
        if (!walk.claim(id))
            return false;
        const Journal::Identity key(id.device, id.inode);
        done = handled.contains(key);
        const auto it = confirmed.constFind(key);
        p.known = it != confirmed.constEnd();
        if (p.known)
            p.seenDate = *it;
        return true;
    };
    p.rewrite = std::make_unique<PictureRewrite>();
    p.result.status = p.rewrite->open(p.path, byPath ? PictureFile::Claim() : PictureFile::Claim(claimKnown));
    if (p.result.status == Status::AlreadySeen || done) {
        p.skip = true;
        p.rewrite.reset();
        return;
    }
    // Pictures that were not chosen are read, to learn their camera and date,
    // and then left alone without a word. A picture the user saw is judged by
    // the date it had then.
    const bool choosing = !passChoice.all();
    auto isChosen = [&](const PictureFile::Result &r) {
        const QDateTime seen =
            p.seenDate != Journal::noDate ? QDateTime::fromSecsSinceEpoch(p.seenDate, Qt::UTC) : r.oldDate;
        return passChoice.takes(r.camera, seen);
    };
    if (p.result.status == Status::Usable)
        p.result.status = p.rewrite->planShift(state.shiftSeconds, &p.result, exifOnly,
                                               choosing ? PictureRewrite::Accept(isChosen) : PictureRewrite::Accept());
    if (p.result.status != Status::Usable)
        p.rewrite.reset();   // nothing to write: give its file back at once
}

void ShiftJob::shiftChunk(std::vector<FolderWalk::Item> &items, FolderWalk &walk)
{
    std::vector<Prepared> prepared(items.size());
    pool->forEach(items.size(), [&](size_t i) {
        Prepared &p = prepared[i];
        p.path = items[i].path;
        if (state.cancelRequested) {
            p.skip = true;
            return;
        }
        prepareOne(p, walk);
    });
    for (size_t i = 0; i < prepared.size(); ++i) {
        if (state.cancelRequested)
            return;   // planned, not written: left as they are
        if (!prepared[i].skip)
            takeOne(prepared[i], items[i].sidecars);
    }
}

// Takes in one opened and planned picture, on the job's thread: counts it,
// records it in the journal and puts it in the batch, with its sidecars.
void ShiftJob::takeOne(Prepared &p, const QStringList &sidecars)
{
    const QString &path = p.path;
    PictureFile::Result &result = p.result;
    const bool byPath = !PictureFile::claimsFiles();
    const bool known = p.known;
    const qint64 seenDate = p.seenDate;
    ++state.pictureCount;
    if (result.status == Status::NotChosen) {
        ++counts.notChosen;   // and its sidecars stay as they are too
        picture(path, result);
        return;
    }
    if (result.status == Status::Usable && !known) {
        // Not among the pictures the user was asked about: new since, or one
        // whose date could not be read then.
        const bool metBefore = byPath ? datedPaths.contains(canonical(path))
                                      : datedIds.contains({p.rewrite->snapshot().device, p.rewrite->snapshot().inode});
        result.status = metBefore ? Status::NotConfirmed : Status::AddedSince;
        if (metBefore) {
            ++counts.notConfirmed;
            qDebug("date not read before the question, not changed : %s", PathBytes::displayBytes(path).constData());
        } else {
            ++counts.addedSince;
            qDebug("added since the dates were read, not changed : %s", PathBytes::displayBytes(path).constData());
        }
        note(result.status, path);
        picture(path, result);
        return;
    }
    // The date the user saw is the one to move: a picture whose date another
    // program (or another shift) changed since is left alone.
    if (result.status == Status::Usable && seenDate != Journal::noDate
        && result.oldDate.toSecsSinceEpoch() != seenDate) {
        qDebug("changed by another program : %s", PathBytes::displayBytes(path).constData());
        result.status = Status::ChangedElsewhere;
        p.rewrite.reset();
    }
    if (result.status != Status::Usable) {
        switch (result.status) {
        case Status::NoExif:
        case Status::NoDate:
        case Status::NotADate:
            break;   // no usable date: nothing to do, nothing to report
        default:
            ++counts.notChanged;
            note(result.status, path);
        }
        picture(path, result);
        return;
    }
    Pending pending;
    pending.rewrite = std::move(p.rewrite);
    pending.result = result;
    if (!targetTimes(result.newDate, pending.rewrite->snapshot(), &pending.accessNs, &pending.modificationNs))
        pending.result.timesSet = false;
    Journal::Entry entry;
    entry.path = PathBytes::encode(absolute(path, workingFolder));
    entry.before = pending.rewrite->snapshot();
    entry.oldDate = result.oldText;
    entry.newDate = CaptureDate::format(result.newDate);
    entry.runs = pending.rewrite->runs();
    // Its sidecars follow it, in the same journal; each is written only if
    // the picture was.
    const int64_t atime = pending.accessNs, mtime = pending.modificationNs;
    const PictureFile::Result planned = pending.result;
    enqueue(std::move(pending), std::move(entry));
    if (!exifOnly) {
        for (const QString &sidecar : sidecars) {
            Pending of;
            of.accessNs = atime;
            of.modificationNs = mtime;
            of.ofPicture = sequence;
            shiftSidecar(sidecar, planned, of);
        }
    }
}

// A sidecar moves by the same rule as its picture: the XMP date-times that
// spell the picture's capture time. With the file-time box checked its times
// follow the picture's; otherwise it keeps its own.
void ShiftJob::shiftSidecar(const QString &path, const PictureFile::Result &picture, const Pending &of)
{
    const QString key = canonical(path);
    if (sidecarsSeen.contains(key))
        return;
    sidecarsSeen.insert(key);
    auto rewrite = std::make_unique<PictureRewrite>();
    bool done = false;
    auto claimNew = [&](const PictureFile::FileId &id) {
        done = handled.contains({id.device, id.inode});
        return true;
    };
    Status status = rewrite->open(path, claimNew);
    if (status != Status::Usable || done) {
        if (status != Status::Usable && status != Status::AlreadySeen)
            note(status, path);
        return;
    }
    const QByteArray newText = CaptureDate::format(picture.newDate);
    int dates = 0;
    status = rewrite->planSidecar(picture.oldText, newText, &dates);
    if (status != Status::Usable) {
        if (status != Status::DateNotFound)
            note(status, path);
        return;
    }
    Pending pending;
    pending.sidecar = true;
    pending.ofPicture = of.ofPicture;
    pending.accessNs = adaptTimes ? of.accessNs : rewrite->snapshot().accessNs;
    pending.modificationNs = adaptTimes ? of.modificationNs : rewrite->snapshot().modificationNs;
    pending.result.status = Status::Usable;
    pending.result.oldText = picture.oldText;
    pending.result.oldDate = picture.oldDate;
    pending.result.newDate = picture.newDate;
    pending.result.xmpDates = dates;
    pending.rewrite = std::move(rewrite);
    Journal::Entry entry;
    entry.path = PathBytes::encode(absolute(path, workingFolder));
    entry.before = pending.rewrite->snapshot();
    entry.oldDate = picture.oldText;
    entry.newDate = newText;
    entry.runs = pending.rewrite->runs();
    entry.sidecar = true;
    enqueue(std::move(pending), std::move(entry));
}

void ShiftJob::enqueue(Pending pending, Journal::Entry entry)
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

void ShiftJob::commitBatch()
{
    if (batch.empty())
        return;
    // Every intent of the batch is on the disk before any of its pictures is written.
    if (journal.isOpen() && !journal.flush()) {
        problem = QStringLiteral("the journal could not be written; the pass stopped");
        qDebug("the journal could not be written : %s", journal.path().toUtf8().constData());
        for (const Pending &p : batch)
            counts.notChanged += !p.sidecar;
        batch.clear();
        state.cancelRequested = true;
        return;
    }
    // The pictures are written first, several at once; then the sidecars of
    // those that were written. Each step tells its outcome, which is taken in
    // below in the order of the journal.
    QHash<int, size_t> pictureAt;
    for (size_t k = 0; k < batch.size(); ++k)
        if (!batch[k].sidecar)
            pictureAt.insert(batch[k].n, k);
    auto write = [this](Pending &p) {
        if (state.cancelRequested)
            return;   // the pictures in hand are written; the rest stay as they are
        p.attempted = true;
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
        if (!p.sidecar && (p.outcome == Status::Changed || p.outcome == Status::CloseFailed))
            ++state.changedCount;   // the progress, as each picture is written
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
    // A group at a time, each taken in before the next is written, so that a
    // cancel stops the pass after the group in hand.
    const size_t group = pool->jobs() > 1 ? size_t(pool->jobs()) * 4 : 1;
    for (size_t first = 0; first < batch.size(); first += group) {
        const size_t count = std::min(group, batch.size() - first);
        pool->forEach(count, [&](size_t k) {
            if (!batch[first + k].sidecar)
                write(batch[first + k]);
        });
        pool->forEach(count, [&](size_t k) {
            Pending &p = batch[first + k];
            if (!p.sidecar)
                return;
            if (!pictureWritten(p)) {
                p.attempted = true;
                p.orphan = true;
                p.rewrite->close();
            } else {
                write(p);
            }
        });

        for (size_t k = first; k < first + count; ++k) {
            Pending &p = batch[k];
            if (!p.attempted) {
                counts.notChanged += !p.sidecar;
                continue;
            }
            const QString path = p.rewrite->path();
            if (p.orphan) {
                // Its picture was not written: neither is the sidecar.
                if (journal.isOpen())
                    journal.done(p.n, QStringLiteral("its picture was not changed"));
                continue;
            }
            const Status status = p.outcome;
            const bool timesSet = p.timesWritten;
            const bool written = status == Status::Changed || status == Status::AlreadyDone;
            if (p.syncFailed)
                problem = QStringLiteral("the changes could not be written through to the disk");
            if (journal.isOpen())
                journal.done(p.n, QString::fromLatin1(PictureFile::describe(status)));
            if (!p.sidecar) {
                lastPicture = p.n;
                lastPictureWritten = written;
            }
            if (p.sidecar) {
                // Sidecars are counted apart and never as pictures.
                if (status == Status::Changed || status == Status::CloseFailed || status == Status::AlreadyDone) {
                    counts.sidecars += status != Status::AlreadyDone;
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
                counts.xmpDates += p.result.xmpDates;
                counts.iptcDates += p.result.iptcDates;
                if (!dryRun)
                    changedOnDevice.insert(p.rewrite->snapshot().device, path);
            } else if (status == Status::AlreadyDone) {
                ++counts.alreadyDone;
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
    }
    batch.clear();
    if (journal.isOpen())
        journal.write();
}

// ---- undo and resume --------------------------------------------------------

bool ShiftJob::journalChain(const QString &journal, QList<Journal::Record> *chain, QString *error)
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

// The chain of the journal to work from, by its headers (the entries are
// read one by one as they are worked through); with `confirmed`, the first
// record also holds the pictures whose dates the user saw.
bool ShiftJob::loadChain(QList<Journal::Record> *chain, bool confirmed)
{
    if (!journalChain(sourceJournal, chain, &refusal))
        return false;
    for (const Journal::Record &record : *chain) {
        if (record.header.kind == Journal::Kind::Undo) {
            refusal = QStringLiteral("%1 is the journal of an undo; it cannot be undone or resumed")
                          .arg(QDir::toNativeSeparators(record.path));
            return false;
        }
    }
    if (chain->isEmpty()) {
        refusal = QStringLiteral("no journal given");
        return false;
    }
    if (!confirmed)
        return true;
    const QString first = chain->front().path;
    return Journal::read(first, &chain->front(), &refusal, [](Journal::Entry &&) {});
}

// The entries of a journal chain, read one by one, in chunks whose pictures
// are opened several at once; each is then planned on this thread, in order.
void ShiftJob::planEntries(const QList<Journal::Record> &chain, bool reverse, const Journal::Header &header)
{
    const size_t chunk = pool->jobs() > 1 ? size_t(pool->jobs()) * 16 : 1;
    std::vector<Journal::Entry> entries;
    auto flush = [&] {
        std::vector<std::unique_ptr<PictureRewrite>> opened(entries.size());
        std::vector<Status> statuses(entries.size(), Status::CannotOpen);
        pool->forEach(entries.size(), [&](size_t i) {
            if (state.cancelRequested)
                return;
            opened[i] = std::make_unique<PictureRewrite>();
            statuses[i] = opened[i]->open(PathBytes::decode(entries[i].path));
        });
        for (size_t i = 0; i < entries.size() && !state.cancelRequested; ++i)
            planEntry(entries[i], reverse, header, std::move(opened[i]), statuses[i]);
        entries.clear();
    };
    auto take = [&](Journal::Entry &&entry) {
        if (state.cancelRequested || !problem.isEmpty())
            return;
        // Each physical file once, from the first journal that names it.
        if (PictureFile::claimsFiles()) {
            const Journal::Identity key(entry.before.device, entry.before.inode);
            if (handled.contains(key))
                return;
            handled.insert(key);
        } else {
            const QString name = canonical(PathBytes::decode(entry.path));
            if (handledPaths.contains(name))
                return;
            handledPaths.insert(name);
        }
        entries.push_back(std::move(entry));
        if (entries.size() >= chunk)
            flush();
    };
    for (const Journal::Record &record : chain) {
        Journal::Record again;
        QString error;
        if (!Journal::read(record.path, &again, &error, take) && problem.isEmpty())
            problem = error;
        if (state.cancelRequested || !problem.isEmpty())
            break;
    }
    if (!state.cancelRequested)
        flush();
}

void ShiftJob::planEntry(const Journal::Entry &entry, bool reverse, const Journal::Header &header,
                         std::unique_ptr<PictureRewrite> rewrite, Status opened)
{
    const QString path = PathBytes::decode(entry.path);
    if (!entry.sidecar)
        ++state.pictureCount;
    PictureFile::Result result;
    result.oldText = reverse ? entry.newDate : entry.oldDate;
    result.oldDate = CaptureDate::parse(result.oldText);
    result.newDate = CaptureDate::parse(reverse ? entry.oldDate : entry.newDate);
    result.status = opened;
    if (entry.sidecar && result.status != Status::Usable) {
        note(result.status, path);
        return;
    }
    if (result.status == Status::Usable && PictureFile::claimsFiles()
        && (rewrite->snapshot().device != entry.before.device || rewrite->snapshot().inode != entry.before.inode)) {
        qDebug("replaced since the shift, not changed : %s", PathBytes::displayBytes(path).constData());
        result.status = Status::Unrecognised;
    }
    if (result.status != Status::Usable) {
        if (result.status == Status::Unrecognised)
            ++counts.unrecognised;
        else
            ++counts.notChanged;
        note(result.status, path);
        picture(path, result);
        return;
    }
    std::vector<PictureRewrite::Run> runs = entry.runs;
    if (reverse)
        for (PictureRewrite::Run &run : runs)
            std::swap(run.from, run.to);
    rewrite->planRuns(runs);
    result.runs = int(runs.size());

    Pending pending;
    pending.sidecar = entry.sidecar;
    pending.rewrite = std::move(rewrite);
    pending.result = result;
    // Undo puts back the times the picture had before the shift; resume sets
    // them as the shift would have.
    pending.accessNs = entry.before.accessNs;
    pending.modificationNs = entry.before.modificationNs;
    if (!reverse) {
        adaptTimes = header.adaptFileTimes;
        if (!targetTimes(result.newDate, entry.before, &pending.accessNs, &pending.modificationNs))
            pending.result.timesSet = false;
    }
    Journal::Entry record = entry;
    record.runs = runs;
    if (reverse)
        std::swap(record.oldDate, record.newDate);
    // The times recorded stay those from before the first pass, so that an
    // undo of this pass puts those back.
    enqueue(std::move(pending), std::move(record));
}

void ShiftJob::undo()
{
    QList<Journal::Record> chain;
    refusal.clear();
    if (!loadChain(&chain, false))
        return;
    const Journal::Header &root = chain.front().header;
    journalHeader = root;
    Journal::Header header;
    header.kind = Journal::Kind::Undo;
    header.folder = root.folder;
    header.shiftSeconds = -root.shiftSeconds;
    header.adaptFileTimes = root.adaptFileTimes;
    header.source = sourceJournal;
    // The pictures the chain names, each physical file once.
    QSet<Journal::Identity> distinct;
    for (const Journal::Record &record : chain) {
        Journal::Record again;
        QString error;
        Journal::read(record.path, &again, &error, [&](Journal::Entry &&entry) {
            if (!entry.sidecar)
                distinct.insert({entry.before.device, entry.before.inode});
        });
    }
    header.pictures = int(distinct.size());
    state.validCount = header.pictures;
    state.phase = WalkState::Shifting;
    if (!beginWriting(header, root.folder))
        return;
    planEntries(chain, true, root);
    endWriting();
}

void ShiftJob::resume()
{
    QList<Journal::Record> chain;
    refusal.clear();
    if (!loadChain(&chain, true))
        return;
    const Journal::Record &first = chain.front();
    const Journal::Header &root = first.header;
    journalHeader = root;
    Journal::Header header = root;
    header.kind = Journal::Kind::Resume;
    header.source = sourceJournal;
    folder = root.folder;
    followOutsideLinks = root.followOutsideLinks;
    exifOnly = root.exifOnly;
    state.shiftSeconds = root.shiftSeconds;
    state.adaptFileTimes = root.adaptFileTimes;
    adaptTimes = root.adaptFileTimes;
    state.validCount = root.pictures;
    state.phase = WalkState::Shifting;
    passChoice = Choice::fromJson(root.choice);   // the pictures the shift chose, and no others
    if (!beginWriting(header, root.folder))
        return;
    if (!recordConfirmed(first.confirmed, first.confirmedPaths))
        return;

    // First the pictures the journals name: finish each one, or see that it is done.
    planEntries(chain, false, root);
    // Then the pictures the pass had not reached: the rest of those whose dates
    // the user saw.
    if (!state.cancelRequested && problem.isEmpty()) {
        confirmed = first.confirmed;
        confirmedPaths = first.confirmedPaths;
        walkAndShift();
    }
    endWriting();
}

// ---- history ----------------------------------------------------------------

QList<ShiftJob::PassInfo> ShiftJob::history()
{
    QList<PassInfo> passes;
    QHash<QString, int> byPath;
    for (const QString &path : Journal::all()) {
        Journal::Record record;
        if (!Journal::summarize(path, &record))
            continue;
        PassInfo info;
        info.journal = path;
        info.kind = record.header.kind;
        info.folder = record.header.folder;
        info.shiftSeconds = record.header.shiftSeconds;
        info.pictures = record.header.pictures;
        info.changed = record.changed;
        info.closed = record.closed;
        info.began = record.started;
        info.cancelled = record.cancelled;
        info.started = record.header.started;
        info.source = record.header.source;
        byPath.insert(path, int(passes.size()));
        passes << info;
    }
    // A finished undo marks its pass (and the passes that pass finished) as
    // undone; a finished resume marks the pass it finished as resumed.
    for (const PassInfo &pass : passes) {
        if (pass.kind == Journal::Kind::Shift || !pass.closed || pass.cancelled)
            continue;
        QString source = pass.source;
        QSet<QString> seen;
        while (byPath.contains(source) && !seen.contains(source)) {
            seen.insert(source);
            PassInfo &target = passes[byPath.value(source)];
            if (pass.kind == Journal::Kind::Undo)
                target.undone = true;
            else
                target.resumed = true;
            source = target.kind == Journal::Kind::Resume ? target.source : QString();
        }
    }
    return passes;
}

ShiftJob::PassInfo ShiftJob::lastUndoable()
{
    const QList<PassInfo> passes = history();
    for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
        if (it->kind == Journal::Kind::Undo || !it->began)
            continue;   // undos are not undone; a pass that never began changed nothing
        if (it->undone)
            return {};   // the newest shift is undone already
        return *it;
    }
    return {};
}

ShiftJob::PassInfo ShiftJob::interrupted()
{
    const QList<PassInfo> passes = history();
    for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
        if (it->kind == Journal::Kind::Undo || !it->began)
            continue;
        if (it->closed || it->undone || it->resumed || TreeLock::isBusy(it->folder))
            return {};
        return *it;
    }
    return {};
}
