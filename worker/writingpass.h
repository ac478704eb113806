#pragma once

#include "iopool.h"
#include "folderwalk.h"
#include "journal.h"
#include "filerewrite.h"
#include "treelock.h"
#include "walkstate.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

// The writing side of a pass that changes pictures (a shift, an undo, a
// resume): the tree's lock, the journal, and the batches. Every picture is
// recorded in the journal before it is written: the intents of a batch go to
// the disk in one flush before any picture of that batch is written; then the
// pictures are written, several at once, and their sidecars after them.
class WritingPass {
public:
    // The copies of a capture time a shift moves besides its EXIF texts.
    enum class Copy { XmpDate, IptcDate, Sidecar };

    // What the pass did.
    struct Counts {
        int changed = 0;        // pictures rewritten (undo, resume: set back or finished)
        int notChanged = 0;     // pictures it set out to write and did not
        int addedSince = 0;     // pictures that appeared after the dates were read
        int notChosen = 0;      // usable pictures left alone because they were not chosen
        int alreadyDone = 0;    // undo, resume: held the wanted texts already
        int unrecognised = 0;   // undo, resume: held neither text, or were replaced
        int timesNotSet = 0;    // written, but their file times could not be set
        int notConfirmed = 0;   // their dates could not be read before the question
        // Undo, resume: journal lines that could not be trusted (their
        // pictures are left alone and counted in notChanged too).
        int damaged = 0;
        bool journalCut = false;   // a journal ends inside a line
        bool listLost = false;     // a line of the pictures the user saw is lost
        bool journalSound() const { return damaged == 0 && !journalCut && !listLost; }
        // Moved in the pictures written, by kind: XMP date-times, IPTC date and
        // time pairs, and XMP sidecar files written.
        std::map<Copy, int> moved;
        int movedOf(Copy kind) const
        {
            const auto it = moved.find(kind);
            return it == moved.end() ? 0 : it->second;
        }
        bool movedAny() const
        {
            for (const auto &kind : moved)
                if (kind.second)
                    return true;
            return false;
        }
    };

    // A picture (or sidecar) planned and waiting for its batch to be written.
    struct Pending {
        int n = 0;
        bool sidecar = false;
        int ofPicture = 0;      // a sidecar of the shift: the number of its picture
        std::unique_ptr<FileRewrite> rewrite;
        PictureResult result;
        int64_t accessNs = 0, modificationNs = 0;
        // Filled in when the batch is written.
        bool attempted = false;      // its write was tried (not stopped by a cancel)
        bool orphan = false;         // a sidecar whose picture was not written
        bool timesWritten = false;
        bool syncFailed = false;
        bool outside = false;        // its folder now leads outside the chosen one
        PictureStatus outcome = PictureStatus::WriteFailed;
    };

    WritingPass(WalkState &state, FolderWalk::Observer *observer) : state(state), observer(observer) {}

    bool useJournal = true;
    bool dryRun = false;           // look, write nothing
    bool fromJournal = false;      // undo, resume: the pictures come from a journal
    // The canonical folder every picture must lie in when it is written
    // (empty: links leading outside it are followed).
    QString insideOf;
    bool adaptTimes = true;        // the file times follow the new capture times
    IoPool *pool = nullptr;

    // Starts a pass on the tree of `lockFolder`: takes the tree's lock and
    // creates the journal. With `datedGeneration` >= -1, the pass moves dates
    // read earlier: it refuses when another pass wrote the tree since (-1:
    // unsure). False (and `refusal`) when it does not start.
    bool begin(Journal::Header header, const QString &lockFolder, qint64 datedGeneration = noGeneration);
    static constexpr qint64 noGeneration = -2;
    // Puts the pictures the user saw on the disk before any is written. False
    // (the pass given up, nothing changed) when that fails.
    bool recordConfirmed(const Journal::Confirmed &ids);
    // Records one planned picture and puts it in the batch (written when full).
    void enqueue(Pending pending, Journal::Entry entry);
    // Writes the batch in hand (or, after a cancel or failure, leaves it), makes
    // every change durable, closes the journal and releases the tree.
    void end();

    // The access and modification times a picture gets: the new capture time
    // read as local time when the times follow it, otherwise those it had.
    bool targetTimes(const QDateTime &newDate, const FileIdentity &original, int64_t *atime, int64_t *mtime) const;
    // "reason : path" in the notes.
    void note(PictureStatus status, const QString &path);
    // Tells the observer about one picture.
    void picture(const QString &path, const PictureResult &result);
    // A picture's path as the journal records it: absolute.
    QByteArray journalPathOf(const QString &path) const;

    QString refusal;        // why it did not start (nothing was written)
    QString problem;        // a failure of the pass itself (journal, disk)
    QString journalPath;    // its journal
    Counts counts;
    QStringList notes;      // "reason : path" for every picture not changed
    int sequence = 0;       // the number of the picture last enqueued

    ~WritingPass();

private:
    // `last`: the pass ends with this batch.
    void commitBatch(bool last = false);
    void markOutside();
    bool startEarlyFlush();
    void waitForEarlyFlush();

    WalkState &state;
    FolderWalk::Observer *observer;
    Journal journal;
    // The I/O threads tell each picture's outcome to the journal as its
    // write ends; the lines go to the system after every `jobs` of them.
    QMutex journalMutex;
    int unwrittenOutcomes = 0;
    TreeLock lock;
    std::vector<Pending> batch;
    QHash<quint64, QString> changedOnDevice;   // one changed picture per file system
    // Writes the batches already written through to the disk while the next
    // ones are planned and written, so that little is left for the end.
    std::thread earlyFlush;
    std::atomic<bool> earlyFlushing{false};
    std::atomic<bool> earlyFlushFailed{false};
    size_t unflushed = 0;         // pictures written since the last flush began
    int lastPicture = 0;          // the picture last committed, and whether it was written
    bool lastPictureWritten = false;
    QString workingFolder;        // the current folder when the pass began
};
