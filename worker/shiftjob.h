#pragma once

#include "cameratally.h"
#include "folderwalk.h"
#include "iopool.h"
#include "jobmessages.h"
#include "journal.h"
#include "journalreplay.h"
#include "passhistory.h"
#include "filerewrite.h"
#include "shiftchoice.h"
#include "walkstate.h"
#include "writingpass.h"

#include <QDateTime>
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
// camera and by capture date; see ShiftChoice), one writing pass per tree at
// a time (a lock), and records every picture in a journal before it writes
// it (see WritingPass).
class ShiftJob {
public:
    enum class Task { Survey, Dating, Shifting, Undo, Resume };

    using Choice = ShiftChoice;
    using Camera = CameraTally::Camera;
    using Tally = CameraTally::Tally;
    using Kinds = CameraTally::Kinds;
    using Counts = WritingPass::Counts;
    using Copy = WritingPass::Copy;
    using PassInfo = PassHistory::Pass;

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
    QString rangeProblem(qint64 seconds) const { return tally.rangeProblem(seconds); }

    // The cameras the last dating pass met, most usable pictures first (then
    // by name).
    QList<Camera> cameras() const { return tally.cameras(); }

    // Chooses the pictures the next shift moves (reset() chooses every one);
    // see CameraTally::choose().
    void choose(const Choice &choice) { tally.choose(choice); }
    const Choice &choice() const { return tally.choice(); }
    // The chosen pictures with a usable date: how many, the oldest, the newest.
    const Tally &chosen() const { return tally.chosen(); }
    // The pictures of the last dating pass that are RAW files, and those whose
    // format is not supported.
    const Kinds &kinds() const { return tally.kinds(); }
    // What the question before a shift by `seconds` tells of the chosen
    // pictures (every picture when nothing was chosen), after a dating pass
    // that met `pictures` pictures in `folders` folders.
    JobMessages::Pass datedPass(int pictures, int folders, qint64 seconds) const;

private:
    WritingPass writing;

public:
    // After a writing task.
    QString &refusal = writing.refusal;       // why it did not start (nothing was written)
    QString &problem = writing.problem;       // a failure of the pass itself (journal, disk)
    QString &journalPath = writing.journalPath;   // its journal
    Counts &counts = writing.counts;
    QStringList &notes = writing.notes;       // "reason : path" for every picture not changed
    Journal::Header journalHeader;            // undo and resume: the pass they worked from

    static QList<PassInfo> history() { return PassHistory::all(); }
    static bool journalChain(const QString &journal, QList<Journal::Record> *chain, QString *error)
    {
        return JournalReplay::chain(journal, chain, error);
    }
    static PassInfo lastUndoable() { return PassHistory::lastUndoable(); }
    static PassInfo interrupted() { return PassHistory::interrupted(); }

private:
    // A picture of the shift, opened and planned on one of the pool's threads.
    struct Prepared {
        QString path;
        bool skip = false;           // met before, or taken from the journal already
        bool known = true;           // among the pictures the user saw
        qint64 seenDate = Journal::noDate;
        const DateRecord *record = nullptr;   // what the dating pass found in it
        std::unique_ptr<FileRewrite> rewrite;
        PictureResult result;
    };

    void shift();
    void undo();
    void resume();
    bool beginWriting(const Journal::Header &header, const QString &lockFolder, qint64 generation);
    void walkAndShift();
    void shiftChunk(std::vector<FolderWalk::Item> &items, FolderWalk &walk);
    void prepareOne(Prepared &p, FolderWalk &walk);
    void takeOne(Prepared &p, const QStringList &sidecars);
    void shiftSidecar(const QString &path, const PictureResult &picture, int ofPicture,
                      int64_t accessNs, int64_t modificationNs);

    WalkState &state;
    FolderWalk::Observer *observer;
    CameraTally tally;                     // the cameras and chosen pictures of the dating pass
    Choice passChoice;                     // what the running shift or resume moves
    Journal::Confirmed confirmed;          // pictures with a usable date in the dating pass, and that date
    qint64 datedGeneration = -1;           // the tree's writing passes when its dates were read (-1: unsure)
    QSet<FileIdentity> datedIds;           // every file and folder the dating pass met
    QHash<FileIdentity, DateRecord> datedRecords;   // what the dating pass found in each usable picture
    JournalReplay replay{state, writing};  // undo and resume
    QSet<QString> sidecarsSeen;            // sidecars met in this pass (one may serve two pictures)
    std::unique_ptr<IoPool> pool;          // for the task that runs
};
