#pragma once

#include "picturefile.h"
#include "walkstate.h"

#include <QByteArray>
#include <QDir>
#include <QPair>
#include <QSet>

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
    };

    explicit FolderWalk(WalkState &state, Observer *observer = nullptr);

    // Walks `folder` and everything below it.
    void scanFolder(const QDir &folder);

    // True for a directory entry's path that names a picture: its file name
    // ends in ".jpg", ".jpeg", ".jpe" or ".jfif", in any letter case.
    static bool isPictureName(const QString &path);

private:
    bool firstVisit(const QString &path);
    bool claim(const PictureFile::FileId &id);
    void handlePicture(const QString &path);
    void datePicture(const QString &path, const PictureFile::Claim &claim);
    void shiftPicture(const QString &path, const PictureFile::Claim &claim);

    WalkState &state;
    Observer *observer;
    QSet<QPair<quint64, quint64>> visitedIds;   // device and inode
    QSet<QString> visitedPaths;                  // canonical paths, where there are no inodes
};
