#pragma once

#include "folderwalk.h"
#include "iopool.h"
#include "journal.h"
#include "picturerewrite.h"
#include "treelock.h"
#include "walkstate.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The whole job on one folder tree, the same for the window and kelvaro-cli:
// the survey, dating and shifting passes, and undo and resume from a journal.
// Each task runs on the calling thread (a worker thread); the state it shares
// with the face that drives it is the WalkState it is given.
//
// The shifting pass writes only the pictures whose dates the user saw (those
// the dating pass met, by identity) and, of them, only the chosen ones (by
// camera and by capture date; see Choice), one writing pass per tree at a time (a
// lock), and records every picture in a journal before it writes it. Pictures
// are planned in batches: the intents of a batch go to the disk in one flush
// before any picture of that batch is written.
class ShiftJob {
public:
    enum class Task { Survey, Dating, Shifting, Undo, Resume };

    // Which pictures a shift moves: those taken by one of the named cameras
    // (by every camera when none is named) whose current capture date lies
    // within the limits, both inclusive (an invalid date sets no limit).
    struct Choice {
        QStringList cameras;
        QDateTime from, to;
        bool all() const { return cameras.isEmpty() && !from.isValid() && !to.isValid(); }
        // Names are compared without regard to letter case ("pixel 7" takes "Pixel 7").
        bool takesCamera(const QString &camera) const
        {
            return cameras.isEmpty() || cameras.contains(camera, Qt::CaseInsensitive);
        }
        bool takes(const QString &camera, const QDateTime &date) const;
        // As a journal records it: compact JSON ({"cameras": [...], "from": ...,
        // "to": ...}); empty when every picture is chosen.
        QByteArray toJson() const;
        static Choice fromJson(const QByteArray &json);
        // For the question and the result ("of Canon EOS 5D taken from ...");
        // empty when every picture is chosen.
        QString describe() const;
    };

    // The pictures of one camera that the dating pass met.
    struct Camera {
        QString name;           // PictureFile::cameraName()
        int pictures = 0;       // pictures whose EXIF block could be read
        int valid = 0;          // of them, those with a usable capture date
        QDateTime oldest, newest;
    };

    // The chosen pictures with a usable capture date.
    struct Tally {
        int valid = 0;
        QDateTime oldest, newest;
    };

    // What the last writing task did.
    struct Counts {
        int changed = 0;        // pictures rewritten (undo, resume: set back or finished)
        int notChanged = 0;     // pictures it set out to write and did not
        int addedSince = 0;     // pictures that appeared after the dates were read
        int notChosen = 0;      // usable pictures left alone because they were not chosen
        int alreadyDone = 0;    // undo, resume: held the wanted texts already
        int unrecognised = 0;   // undo, resume: held neither text, or were replaced
        int timesNotSet = 0;    // written, but their file times could not be set
        int notConfirmed = 0;   // their dates could not be read before the question
        int xmpDates = 0;       // XMP copies of the capture time moved, in the pictures written
        int iptcDates = 0;      // IPTC date and time pairs moved, in the pictures written
        int sidecars = 0;       // XMP sidecar files written
    };

    // A pass found in the journals.
    struct PassInfo {
        QString journal;
        Journal::Kind kind = Journal::Kind::Shift;
        QString folder;
        qint64 shiftSeconds = 0;
        int pictures = 0;
        int changed = 0;
        bool closed = false;
        bool began = false;      // it got beyond its first line
        bool cancelled = false;
        bool undone = false;     // a later undo set it back
        bool resumed = false;    // a later resume finished it
        QDateTime started;
        QString source;
        bool isValid() const { return !journal.isEmpty(); }
        bool interrupted() const { return !closed || cancelled; }
    };

    explicit ShiftJob(WalkState &state, FolderWalk::Observer *observer = nullptr);
    ~ShiftJob();

    QString folder;                  // the top folder
    bool followOutsideLinks = false;
    bool useJournal = true;
    QString sourceJournal;           // undo and resume: the journal to work from
    bool dryRun = false;             // undo and resume: look, write nothing
    bool exifOnly = false;           // shifting: move the EXIF texts only, not XMP, IPTC or sidecars
    bool countCopies = false;        // dating: count each picture's other copies of its date (listings)
    // Pictures in flight: how many are opened, read and written at once (1:
    // one after the other). The environment's KELVARO_JOBS, when set, is the
    // default.
    int jobs = defaultJobs();
    static int defaultJobs();

    // Forgets everything of an earlier folder: counters, dates (no date is an
    // invalid date), the pictures whose dates were read.
    void reset();

    // Runs one task to its end (or until the state's cancel flag is raised).
    void run(Task task);

    // Empty when shifting every chosen date of the dating pass by `seconds`
    // keeps it within the years 1000 to 9999; otherwise what is wrong.
    QString rangeProblem(qint64 seconds) const;

    // The cameras the last dating pass met, most usable pictures first (then
    // by name).
    QList<Camera> cameras() const;

    // Chooses the pictures the next shift moves (reset() chooses every one).
    // A choice by camera alone may be made before or after the dating pass; a
    // choice with limits by date must be made before it, since the dating pass
    // tallies the chosen pictures as it reads them.
    void choose(const Choice &choice);
    const Choice &choice() const { return selection; }
    // The chosen pictures with a usable date: how many, the oldest, the newest.
    const Tally &chosen() const { return tally; }

    // After a writing task.
    QString refusal;        // why it did not start (nothing was written)
    QString problem;        // a failure of the pass itself (journal, disk)
    QString journalPath;    // its journal
    Counts counts;
    QStringList notes;      // "reason : path" for every picture not changed
    Journal::Header journalHeader;   // undo and resume: the pass they worked from

    static QList<PassInfo> history();
    // The journal and, when it finished an earlier pass, that pass's journal
    // before it, back to the pass that started it: oldest first, headers only.
    static bool journalChain(const QString &journal, QList<Journal::Record> *chain, QString *error);
    // The newest shift (with the resumes that finished it) not yet undone.
    static PassInfo lastUndoable();
    // The newest shift that stopped before its end, was neither finished nor
    // undone since, and whose tree no pass holds now.
    static PassInfo interrupted();

private:
    struct Pending {
        int n = 0;
        bool sidecar = false;
        int ofPicture = 0;      // a sidecar of the shift: the number of its picture
        std::unique_ptr<PictureRewrite> rewrite;
        PictureFile::Result result;
        int64_t accessNs = 0, modificationNs = 0;
        // Filled in when the batch is written.
        bool attempted = false;      // its write was tried (not stopped by a cancel)
        bool orphan = false;         // a sidecar whose picture was not written
        bool timesWritten = false;
        bool syncFailed = false;
        PictureFile::Status outcome = PictureFile::Status::WriteFailed;
    };

    // A picture of the shift, opened and planned on one of the pool's threads.
    struct Prepared {
        QString path;
        bool skip = false;           // met before, or taken from the journal already
        bool known = true;           // among the pictures the user saw
        qint64 seenDate = Journal::noDate;
        std::unique_ptr<PictureRewrite> rewrite;
        PictureFile::Result result;
    };

    void countDated(const PictureFile::Result &result);
    void shift();
    void undo();
    void resume();
    bool beginWriting(Journal::Header header, QString lockFolder, bool fromDates = false);
    void endWriting();
    bool recordConfirmed(const Journal::Confirmed &ids, const Journal::ConfirmedPaths &paths);
    void walkAndShift();
    void shiftChunk(std::vector<FolderWalk::Item> &items, FolderWalk &walk);
    void prepareOne(Prepared &p, FolderWalk &walk);
    void takeOne(Prepared &p, const QStringList &sidecars);
    void shiftSidecar(const QString &path, const PictureFile::Result &picture, const Pending &of);
    void planEntries(const QList<Journal::Record> &chain, bool reverse, const Journal::Header &header);
    void planEntry(const Journal::Entry &entry, bool reverse, const Journal::Header &header,
                   std::unique_ptr<PictureRewrite> rewrite, PictureFile::Status opened);
    void enqueue(Pending pending, Journal::Entry entry);
    void commitBatch();
    void picture(const QString &path, const PictureFile::Result &result);
    void note(PictureFile::Status status, const QString &path);
    bool loadChain(QList<Journal::Record> *chain, bool confirmed);
    bool targetTimes(const QDateTime &newDate, const PictureRewrite::Snapshot &original, int64_t *atime,
                     int64_t *mtime) const;

    WalkState &state;
    FolderWalk::Observer *observer;
    QHash<QString, Camera> cameraTable;    // by name, filled by the dating pass
    Choice selection;                      // what the next shift moves
    Tally tally;                           // the chosen pictures of the dating pass
    Choice passChoice;                     // what the running shift or resume moves
    Journal::Confirmed confirmed;          // pictures with a usable date in the dating pass, and that date
    Journal::ConfirmedPaths confirmedPaths;   // the same where files have no identity numbers
    qint64 datedGeneration = -1;           // the tree's writing passes when its dates were read (-1: unsure)
    QSet<Journal::Identity> datedIds;      // every file and folder the dating pass met
    QSet<QString> datedPaths;
    QSet<Journal::Identity> handled;       // resume: pictures already taken from the journal
    QSet<QString> handledPaths;
    QSet<QString> sidecarsSeen;            // sidecars met in this pass (one may serve two pictures)
    Journal journal;
    TreeLock lock;
    std::vector<Pending> batch;
    QHash<quint64, QString> changedOnDevice;   // one changed picture per file system
    int sequence = 0;
    int lastPicture = 0;          // the picture last committed, and whether it was written
    bool lastPictureWritten = false;
    bool adaptTimes = true;
    std::unique_ptr<IoPool> pool;         // for the task that runs
    QString workingFolder;                // the current folder when the writing task began
};
