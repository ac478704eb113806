#pragma once

#include "iopool.h"
#include "datereader.h"
#include "daterecord.h"
#include "pictureresult.h"
#include "walkstate.h"

#include <QByteArray>
#include <QDir>
#include <QPair>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <functional>
#include <mutex>
#include <vector>

// One pass over a folder tree: lists every folder depth first, picks out the
// pictures by name and does the work of the state's phase for each of them
// (survey: count; dating: read and compare capture dates; shifting: rewrite
// them). Folder links are followed, but within one pass every physical folder
// is walked once and every physical file is handled once.
//
// The walk keeps its own stack of folders (no recursion) and, on POSIX
// systems, opens each folder relative to its parent's descriptor by the raw
// bytes of its name, so that neither the depth of a tree nor the length of
// its paths nor names that are not UTF-8 stop it.
//
// With a pool, the pictures are handed out in chunks: the pool's threads read
// several at once, and what they found is taken in on the walking thread, so
// that the counts, the observer and the state see one picture at a time.
//
// Runs on a worker thread; touches nothing but the state and the files.
class FolderWalk {
public:
    // Told about what the walk finds, on the walking thread.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void oldestDateChanged(const QDateTime &) {}
        virtual void pictureDone(const QString & /*path*/, const PictureResult &) {}
        // A link that leads outside the top folder, left alone.
        virtual void linkSkipped(const QString & /*path*/) {}
        // A folder whose entries could not be listed (nothing below it is
        // seen), or a picture or folder whose name cannot be read: why.
        virtual void unreadable(const QString & /*path*/, const char * /*reason*/) {}
    };

    // A picture met in a listing, with the XMP sidecar files beside it.
    struct Item {
        QString path;
        QStringList sidecars;
    };
    // The shifting pass's step for a chunk of pictures, when the walk is to
    // hand its pictures to somebody else (the job, which records and batches
    // them). It claims each physical file through claim().
    using ShiftChunk = std::function<void(std::vector<Item> &items)>;

    explicit FolderWalk(WalkState &state, Observer *observer = nullptr);

    // Walks `folder` and everything below it.
    void scanFolder(const QString &folder);
    void scanFolder(const QDir &folder) { scanFolder(folder.path()); }

    // Links (to folders or pictures) that lead outside the top folder are
    // followed only when this is set; otherwise they are counted and named.
    bool followOutsideLinks = false;
    ShiftChunk shiftChunk;
    // Threads that read several pictures at once (none: one at a time).
    IoPool *pool = nullptr;
    // Told about every picture the dating pass read (not those met before).
    std::function<void(const QString &path, const PictureResult &)> dated;
    // Dating: also count each usable picture's XMP and IPTC copies of its
    // capture time and its sidecars (for listings; it reads the header again).
    bool countCopies = false;
    // Dating: keep what was found in each usable picture (records()).
    bool keepRecords = false;

    // The pictures of the dating pass with a usable capture date, and that
    // date (seconds since 1970 of the zone-less value): by device and inode,
    // or by canonical path where files have no such numbers.
    const QHash<FileIdentity, qint64> &usableIdentities() const { return usableIds; }
    // Every physical file and folder met so far.
    const QSet<FileIdentity> &visitedIdentities() const { return visitedIds; }
    // Dating with keepRecords: what was found in each usable picture.
    QHash<FileIdentity, DateRecord> &records() { return usableRecords; }
    // Remembers a physical file as met (where files have identity numbers).
    // Safe to call from the pool's threads.
    bool claim(const FileIdentity &id);
    // Remembers the file or folder behind a path as met.
    bool firstVisit(const QString &path);

    // True for a directory entry's path that names a candidate picture: its
    // file name ends in an extension a format declares, in any letter case.
    static bool isPictureName(const QString &path);

    struct Entry;
    struct Frame;

private:
    bool leadsOutside(const QString &path) const;
    void unreadable(const QString &path, const char *reason);
    bool enter(Frame *parent, const QString &path, const QByteArray &name, std::vector<Frame> *stack);
    bool list(const Frame &frame, std::vector<Entry> *entries);
    void take(Frame &frame, std::vector<Entry> &entries);
    void handlePicture(const Frame &frame, const Entry &entry, const QString &path, QStringList sidecars);
    void flush();
    void takeDated(const QString &path, PictureResult &result);

    WalkState &state;
    Observer *observer;
    QSet<FileIdentity> visitedIds;
    QSet<QString> visitedPaths;                  // canonical paths, where no file index can be read (Windows)
    QHash<FileIdentity, qint64> usableIds;
    QHash<FileIdentity, DateRecord> usableRecords;
    QHash<QString, QString> cameraNames;
    QString topCanonical;               // the top folder of the walk, resolved
    std::vector<Item> chunk;            // pictures met and not yet handled
    std::mutex claiming;                // guards visitedIds while the pool reads
    int openFolders = 0;                // folder descriptors the stack holds
};
