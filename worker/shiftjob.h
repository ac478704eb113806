#pragma once

#include "folderwalk.h"
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
// the dating pass met, by identity), one writing pass per tree at a time (a
// lock), and records every picture in a journal before it writes it. Pictures
// are planned in batches: the intents of a batch go to the disk in one flush
// before any picture of that batch is written.
class ShiftJob {
public:
    enum class Task { Survey, Dating, Shifting, Undo, Resume };

    // What the last writing task did.
    struct Counts {
        int changed = 0;        // pictures rewritten (undo, resume: set back or finished)
        int notChanged = 0;     // pictures it set out to write and did not
        int addedSince = 0;     // pictures that appeared after the dates were read
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

    // Forgets everything of an earlier folder: counters, dates (no date is an
    // invalid date), the pictures whose dates were read.
    void reset();

    // Runs one task to its end (or until the state's cancel flag is raised).
    void run(Task task);

    // Empty when shifting every date of the dating pass by `seconds` keeps it
    // within the years 1000 to 9999; otherwise what is wrong.
    QString rangeProblem(qint64 seconds) const;

    // After a writing task.
    QString refusal;        // why it did not start (nothing was written)
    QString problem;        // a failure of the pass itself (journal, disk)
    QString journalPath;    // its journal
    Counts counts;
    QStringList notes;      // "reason : path" for every picture not changed
    Journal::Header journalHeader;   // undo and resume: the pass they worked from

    static QList<PassInfo> history();
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
    };

    void shift();
    void undo();
    void resume();
    bool beginWriting(Journal::Header header, QString lockFolder);
    void endWriting();
    void shiftOne(const QString &path, const PictureFile::Claim &claim, const QStringList &sidecars);
    void shiftSidecar(const QString &path, const PictureFile::Result &picture, const Pending &of);
    void planEntry(const Journal::Entry &entry, bool reverse, const Journal::Header &header);
    void enqueue(Pending pending, Journal::Entry entry);
    void commitBatch();
    void picture(const QString &path, const PictureFile::Result &result);
    void note(PictureFile::Status status, const QString &path);
    bool loadChain(QList<Journal::Record> *chain);
    bool targetTimes(const QDateTime &newDate, const PictureRewrite::Snapshot &original, int64_t *atime,
                     int64_t *mtime) const;

    WalkState &state;
    FolderWalk::Observer *observer;
    Journal::Confirmed confirmed;          // pictures with a usable date in the dating pass, and that date
    Journal::ConfirmedPaths confirmedPaths;   // the same where files have no identity numbers
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
};
