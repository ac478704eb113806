#pragma once

#include "picturefile.h"
#include "walkstate.h"

#include <QByteArray>
#include <QDir>
#include <QPair>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <functional>

// One pass over a folder tree: lists every folder depth first, picks out the
// pictures by name and does the work of the state's phase for each of them
// (survey: count; dating: read and compare capture dates; shifting: rewrite
// them). Folder links are followed, but within one pass every physical folder
// is walked once and every physical file is handled once.
//
// Runs on a worker thread; touches nothing but the state and the files.
class FolderWalk {
public:
    // Told about what the walk finds, on the walking thread.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void oldestDateChanged(const QDateTime &) {}
        virtual void pictureDone(const QString & /*path*/, const PictureFile::Result &) {}
        // A link that leads outside the top folder, left alone.
        virtual void linkSkipped(const QString & /*path*/) {}
        // A folder whose entries could not be listed (nothing below it is
        // seen), or a picture or folder whose name cannot be read: why.
        virtual void unreadable(const QString & /*path*/, const char * /*reason*/) {}
    };

    // The shifting pass's step for one picture, when the walk is to hand its
    // pictures to somebody else (the job, which records and batches them).
    using ShiftStep = std::function<void(const QString &path, const PictureFile::Claim &claim)>;

    explicit FolderWalk(WalkState &state, Observer *observer = nullptr);

    // Walks `folder` and everything below it.
    void scanFolder(const QDir &folder);

    // Links (to folders or pictures) that lead outside the top folder are
    // followed only when this is set; otherwise they are counted and named.
    bool followOutsideLinks = false;
    ShiftStep shiftStep;
    // Told about every picture the dating pass read (not those met before).
    std::function<void(const PictureFile::Result &)> dated;
    // Dating: also count each usable picture's XMP and IPTC copies of its
    // capture time and its sidecars (for listings; it reads the header again).
    bool countCopies = false;

    // The pictures of the dating pass with a usable capture date, and that
    // date (seconds since 1970 of the zone-less value): by device and inode,
    // or by canonical path where files have no such numbers.
    const QHash<QPair<quint64, quint64>, qint64> &usableIdentities() const { return usableIds; }
    const QHash<QString, qint64> &usableCanonicalPaths() const { return usablePaths; }
    // Every physical file and folder met so far.
    const QSet<QPair<quint64, quint64>> &visitedIdentities() const { return visitedIds; }
    const QSet<QString> &visitedCanonicalPaths() const { return visitedPaths; }
    // The XMP sidecar files beside a picture of the folder being walked:
    // NAME.xmp or NAME.EXT.xmp, in any letter case.
    QStringList sidecarsOf(const QString &picturePath) const;

    // Remembers a physical file as met (where files have identity numbers).
    bool claim(const PictureFile::FileId &id);
    // Remembers the file or folder behind a path as met.
    bool firstVisit(const QString &path);

    // True for a directory entry's path that names a picture: its file name
    // ends in ".jpg", ".jpeg", ".jpe" or ".jfif", in any letter case.
    static bool isPictureName(const QString &path);

private:
    bool leadsOutside(const QFileInfo &entry) const;
    void unreadable(const QString &path, const char *reason);
    void countUndecodableNames(const QString &folder);
    void handlePicture(const QString &path);
    void datePicture(const QString &path, const PictureFile::Claim &claim);
    void shiftPicture(const QString &path, const PictureFile::Claim &claim);

    WalkState &state;
    Observer *observer;
    QSet<QPair<quint64, quint64>> visitedIds;   // device and inode
    QSet<QString> visitedPaths;                  // canonical paths, where no file index can be read (Windows)
    QHash<QPair<quint64, quint64>, qint64> usableIds;
    QHash<QString, qint64> usablePaths;
    QString topCanonical;
    QHash<QString, QString> sidecars;   // of the folder being walked: case-folded name -> path                        // the top folder of the walk, resolved
    int depth = 0;
};
