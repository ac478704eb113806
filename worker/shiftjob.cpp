#include "shiftjob.h"

#include "capturedate.h"
#include "pathbytes.h"

#include <QFileInfo>
#include <QtDebug>

#include <algorithm>

using Status = PictureStatus;

ShiftJob::ShiftJob(WalkState &state, FolderWalk::Observer *observer)
    : writing(state, observer), state(state), observer(observer)
{
}

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
    // The counts of the last writing pass (changedCount, doneCount) stay
    // readable until the next writing pass begins: the window reads the dates
    // again right after a pass that wrote.
    state.oldestDate = QDateTime();
    state.newestDate = QDateTime();
    state.oldestPath.clear();
    state.newestPath.clear();
    confirmed.clear();
    datedIds.clear();
    datedRecords.clear();
    tally.reset();
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
        walk.keepRecords = task == Task::Dating;
        walk.pool = pool.get();
        if (task == Task::Dating) {
            tally.clear();
            walk.dated = [this](const QString &path, const PictureResult &result) { tally.count(path, result); };
        }
        walk.scanFolder(folder);
        if (task == Task::Dating) {
            const qint64 after = TreeLock::generation(folder, &busyAfter);
            datedGeneration = busyBefore || busyAfter || before != after ? -1 : after;
            confirmed = walk.usableIdentities();
            datedIds = walk.visitedIdentities();
            datedRecords.swap(walk.records());
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


JobMessages::Pass ShiftJob::datedPass(int pictures, int folders, qint64 seconds) const
{
    const Tally &picked = chosen();
    JobMessages::Pass pass;
    pass.pictures = pictures;
    pass.valid = picked.valid;
    pass.raw = picked.raw;
    pass.unsupported = kinds().unsupported;
    pass.folders = folders;
    pass.oldest = picked.oldest;
    pass.newest = picked.newest;
    pass.chosen = choice().describe();
    pass.shiftSeconds = seconds;
    pass.readOnly = state.readOnlyCount;
    pass.unreadable = state.unreadableCount;
    return pass;
}

bool ShiftJob::beginWriting(const Journal::Header &header, const QString &lockFolder, qint64 generation)
{
    writing.useJournal = useJournal;
    writing.dryRun = dryRun;
    writing.fromJournal = header.kind != Journal::Kind::Shift;
    writing.pool = pool.get();
    replay.handled.clear();
    sidecarsSeen.clear();
    writing.insideOf = header.followOutsideLinks ? QString() : PathBytes::canonical(lockFolder);
    return writing.begin(header, lockFolder, generation);
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
    header.pictures = tally.chosen().valid;
    header.choice = tally.choice().toJson();
    passChoice = tally.choice();
    writing.adaptTimes = state.adaptFileTimes;   // taken once, for the whole pass
    state.phase = WalkState::Shifting;
    if (!beginWriting(header, folder, datedGeneration))
        return;
    // The pictures the user saw go to the disk before any is written: a
    // resume shifts those and no others.
    if (!writing.recordConfirmed(confirmed))
        return;

    walkAndShift();
    writing.end();
}

// Opens and plans one picture of the shift. Runs on the pool's threads: it
// reads only what stays fixed during the pass (the pictures the user saw,
// those a resume took from the journal, the choice).
void ShiftJob::prepareOne(Prepared &p, FolderWalk &walk)
{
    bool done = false;
    auto claimKnown = [&](const FileIdentity &id) {
        if (!walk.claim(id))
            return false;
        // A picture the journal's part of a resume took is that part's: it
        // is neither locked (its batch holds it) nor spoken of again.
        done = replay.handled.contains(id);
        if (done)
            return false;
        const auto it = confirmed.constFind(id);
        p.known = it != confirmed.constEnd();
        if (p.known)
            p.seenDate = *it;
        const auto record = datedRecords.constFind(id);
        if (record != datedRecords.constEnd())
            p.record = &*record;
        return true;
    };
    p.rewrite = std::make_unique<FileRewrite>();
    p.result.status = p.rewrite->open(p.path, claimKnown);
    if (p.result.status == Status::AlreadySeen || done) {
        p.skip = true;
        p.rewrite.reset();
        return;
    }
    // Pictures that were not chosen are read, to learn their camera and date,
    // and then left alone without a word. A picture the user saw is judged by
    // the date it had then.
    const bool choosing = !passChoice.all();
    auto isChosen = [&](const PictureResult &r) {
        const QDateTime seen =
            p.seenDate != Journal::noDate ? QDateTime::fromSecsSinceEpoch(p.seenDate, Qt::UTC) : r.oldDate;
        // Read again, the picture's kind is the claiming format's for its name.
        FileKind kind = r.kind;
        if (r.format) {
            const QByteArray extension = PictureResult::extensionOf(p.path);
            kind = r.format->kind(extension.constData(), size_t(extension.size()));
        }
        return passChoice.takes(r.camera, seen, kind);
    };
    const FileRewrite::Accept accept = choosing ? FileRewrite::Accept(isChosen) : FileRewrite::Accept();
    // The kind the dating pass found, unless the picture is read again.
    if (p.record)
        p.result.kind = p.record->kind;
    // What the dating pass found serves when the file is as it was then;
    // otherwise the picture is read again.
    if (p.result.status == Status::Usable
        && !(p.record && p.seenDate != Journal::noDate
             && p.rewrite->planShiftFrom(*p.record, QDateTime::fromSecsSinceEpoch(p.seenDate, Qt::UTC),
                                         state.shiftSeconds, &p.result, &p.result.status, exifOnly, accept)))
        p.result.status = p.rewrite->planShift(state.shiftSeconds, &p.result, exifOnly, accept);
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
    PictureResult &result = p.result;
    const bool known = p.known;
    const qint64 seenDate = p.seenDate;
    ++state.pictureCount;
    if (result.status == Status::NotChosen) {
        ++counts.notChosen;   // and its sidecars stay as they are too
        writing.picture(path, result);
        return;
    }
    if (result.status == Status::Usable && !known) {
        // Not among the pictures the user was asked about: new since, or one
        // whose date could not be read then.
        const bool metBefore = datedIds.contains(p.rewrite->snapshot());
        result.status = metBefore ? Status::NotConfirmed : Status::AddedSince;
        if (metBefore) {
            ++counts.notConfirmed;
            qDebug("date not read before the question, not changed : %s", PathBytes::displayBytes(path).constData());
        } else {
            ++counts.addedSince;
            qDebug("added since the dates were read, not changed : %s", PathBytes::displayBytes(path).constData());
        }
        writing.note(result.status, path);
        writing.picture(path, result);
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
        // A picture the question counted, looked at and left alone, is done.
        state.doneCount += known;
        switch (result.status) {
        case Status::NoExif:
        case Status::NoDate:
        case Status::NotADate:
        case Status::Unsupported:
            // No usable date: nothing to do, nothing to report; unless the
            // user saw its date, which another program broke since.
            if (known) {
                ++counts.notChanged;
                qDebug("%s, not changed : %s", PictureResult::describe(result.status),
                       PathBytes::displayBytes(path).constData());
                writing.note(result.status, path);
            }
            break;
        default:
            ++counts.notChanged;
            writing.note(result.status, path);
        }
        writing.picture(path, result);
        return;
    }
    WritingPass::Pending pending;
    pending.rewrite = std::move(p.rewrite);
    pending.result = result;
    if (!writing.targetTimes(result.newDate, pending.rewrite->snapshot(), &pending.accessNs, &pending.modificationNs))
        pending.result.timesSet = false;
    Journal::Entry entry;
    entry.path = writing.journalPathOf(path);
    entry.before = pending.rewrite->snapshot();
    entry.oldDate = result.oldText;
    entry.newDate = CaptureDate::format(result.newDate);
    entry.runs = pending.rewrite->runs();
    // Its sidecars follow it, in the same journal; each is written only if
    // the picture was.
    const int64_t atime = pending.accessNs, mtime = pending.modificationNs;
    const PictureResult planned = pending.result;
    writing.enqueue(std::move(pending), std::move(entry));
    if (!exifOnly)
        for (const QString &sidecar : sidecars)
            shiftSidecar(sidecar, planned, writing.sequence, atime, mtime);
}

// A sidecar moves by the same rule as its picture: the XMP date-times that
// spell the picture's capture time. With the file-time box checked its times
// follow the picture's; otherwise it keeps its own.
void ShiftJob::shiftSidecar(const QString &path, const PictureResult &picture, int ofPicture,
                            int64_t accessNs, int64_t modificationNs)
{
    const QString key = PathBytes::canonical(path).toCaseFolded();
    if (sidecarsSeen.contains(key))
        return;
    sidecarsSeen.insert(key);
    auto rewrite = std::make_unique<FileRewrite>();
    bool done = false;
    auto claimNew = [&](const FileIdentity &id) {
        done = replay.handled.contains(id);
        return !done;
    };
    Status status = rewrite->open(path, claimNew);
    if (status != Status::Usable || done) {
        if (status != Status::Usable && status != Status::AlreadySeen)
            writing.note(status, path);
        return;
    }
    const QByteArray newText = CaptureDate::format(picture.newDate);
    int dates = 0;
    status = rewrite->planSidecar(picture.oldText, newText, &dates);
    if (status != Status::Usable) {
        if (status != Status::DateNotFound)
            writing.note(status, path);
        return;
    }
    WritingPass::Pending pending;
    pending.sidecar = true;
    pending.ofPicture = ofPicture;
    pending.accessNs = writing.adaptTimes ? accessNs : rewrite->snapshot().accessNs;
    pending.modificationNs = writing.adaptTimes ? modificationNs : rewrite->snapshot().modificationNs;
    pending.result.status = Status::Usable;
    pending.result.oldText = picture.oldText;
    pending.result.oldDate = picture.oldDate;
    pending.result.newDate = picture.newDate;
    pending.result.xmpDates = dates;
    pending.rewrite = std::move(rewrite);
    Journal::Entry entry;
    entry.path = writing.journalPathOf(path);
    entry.before = pending.rewrite->snapshot();
    entry.oldDate = picture.oldText;
    entry.newDate = newText;
    entry.runs = pending.rewrite->runs();
    entry.sidecar = true;
    writing.enqueue(std::move(pending), std::move(entry));
}


void ShiftJob::undo()
{
    QList<Journal::Record> chain;
    refusal.clear();
    if (!JournalReplay::load(sourceJournal, &chain, false, &refusal))
        return;
    const Journal::Header &root = chain.front().header;
    journalHeader = root;
    Journal::Header header;
    header.kind = Journal::Kind::Undo;
    header.folder = root.folder;
    header.shiftSeconds = -root.shiftSeconds;
    header.adaptFileTimes = root.adaptFileTimes;
    header.followOutsideLinks = root.followOutsideLinks;
    header.source = sourceJournal;
    header.pictures = JournalReplay::distinctPictures(chain);
    state.validCount = header.pictures;
    state.phase = WalkState::Shifting;
    if (!beginWriting(header, root.folder, WritingPass::noGeneration))
        return;
    replay.plan(chain, true, root);
    // A journal without its closing line may have lost lines with its end:
    // the pictures shifted that it no longer names are told, not passed over.
    if (replay.incomplete && !state.cancelRequested && writing.problem.isEmpty())
        replay.findUnnamed(chain, root.followOutsideLinks);
    writing.end();
}

void ShiftJob::resume()
{
    QList<Journal::Record> chain;
    refusal.clear();
    if (!JournalReplay::load(sourceJournal, &chain, true, &refusal))
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
    writing.adaptTimes = root.adaptFileTimes;
    state.validCount = root.pictures;
    state.phase = WalkState::Shifting;
    passChoice = Choice::fromJson(root.choice);   // the pictures the shift chose, and no others
    if (!beginWriting(header, root.folder, WritingPass::noGeneration))
        return;
    if (!writing.recordConfirmed(first.confirmed))
        return;

    // First the pictures the journals name: finish each one, or see that it is done.
    replay.plan(chain, false, root);
    // Then the pictures the pass had not reached: the rest of those whose dates
    // the user saw (unless the journal lost part of that list, or has damaged
    // lines whose pictures it cannot tell: then none is shifted).
    if (!state.cancelRequested && problem.isEmpty() && !writing.counts.listLost && writing.counts.damaged == 0) {
        confirmed = first.confirmed;
        walkAndShift();
    }
    writing.end();
}


