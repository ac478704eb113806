#pragma once

#include <QString>

// The lock that keeps two writing passes (shifts, undos, resumes, in this or
// another process) off one folder tree at a time: a lock file beside the
// journals, named after the folder's device and inode (or, where files have
// no such numbers, its canonical path), held with an advisory lock that the
// system drops by itself when the holding process ends in any way.
class TreeLock {
public:
    TreeLock() = default;
    ~TreeLock() { release(); }
    TreeLock(const TreeLock &) = delete;
    TreeLock &operator=(const TreeLock &) = delete;

    // Takes the lock for `folder` without waiting. False (and why) when
    // another pass holds it or the lock file cannot be made.
    bool acquire(const QString &folder, QString *error);
    void release();
    bool held() const { return handle >= 0; }

    // True while some pass holds the lock of `folder`.
    static bool isBusy(const QString &folder);

    // How many writing passes have taken the lock of `folder` so far, and
    // whether one holds it now. A pass that reads the dates notes this before
    // and after; the pass that writes then sees whether another pass changed
    // the tree in between.
    static qint64 generation(const QString &folder, bool *busy);
    // With the lock held: the count as it stands, and one more for this pass.
    qint64 heldGeneration() const;
    bool countThisPass();

private:
    static QString lockPath(const QString &folder);
    int handle = -1;
};
