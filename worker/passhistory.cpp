#include "passhistory.h"

#include "treelock.h"

#include <QHash>

#include <algorithm>
#include <QSet>

QList<PassHistory::Pass> PassHistory::all()
{
    QList<Pass> passes;
    QHash<QString, int> byPath;
    for (const QString &path : Journal::all()) {
        Journal::Record record;
        if (!Journal::summarize(path, &record))
            continue;
        Pass info;
        info.journal = path;
        info.kind = record.header.kind;
        info.folder = record.header.folder;
        info.shiftSeconds = record.header.shiftSeconds;
        info.pictures = record.header.pictures;
        info.changed = record.changed;
        info.closed = record.closed;
        info.began = record.started;
        info.cancelled = record.cancelled;
        info.damaged = !record.damaged.empty() || record.cut;
        info.damagedLines = int(record.damaged.size());
        info.cut = record.cut;
        info.left = record.left;
        info.alreadyDone = record.alreadyDone;
        info.sourceIncomplete = record.sourceIncomplete;
        info.started = record.header.started;
        info.source = record.header.source;
        byPath.insert(path, int(passes.size()));
        passes << info;
    }
    // An undo marks its pass (and the passes that pass finished) as undone
    // when it set back every picture, and as partly undone, with how many it
    // left, when it was stopped or left some alone; the newest undo tells.
    // A finished resume marks the pass it finished as resumed.
    for (const Pass &pass : passes) {
        if (pass.kind == Journal::Kind::Shift)
            continue;
        const bool whole = pass.closed && !pass.cancelled && !pass.damaged && pass.left == 0 && !pass.sourceIncomplete;
        if (pass.kind == Journal::Kind::Resume && (!pass.closed || pass.cancelled))
            continue;
        QString source = pass.source;
        QSet<QString> seen;
        while (byPath.contains(source) && !seen.contains(source)) {
            seen.insert(source);
            Pass &target = passes[byPath.value(source)];
            if (pass.kind == Journal::Kind::Resume) {
                target.resumed = true;
            } else if (whole) {
                target.undone = true;
                target.undoLeft = 0;
            } else if (pass.sourceIncomplete && pass.left == 0) {
                // Its journal was cut short: how many it could not name is not known.
                target.undone = false;
                target.undoLeft = -1;
            } else if (pass.changed > 0 || pass.left > 0 || pass.damaged) {
                // Stopped or refused: what it did not set back stays (a pass
                // stopped early counts what it never reached as left too).
                // (the pictures a cancelled undo never reached are among its
                // "not changed" already).
                const int left = pass.closed && !pass.cancelled
                                     ? pass.left
                                     : std::max(pass.left, pass.pictures - pass.changed - pass.alreadyDone);
                target.undone = false;
                target.undoLeft = std::max(1, left);
            }
            source = target.kind == Journal::Kind::Resume ? target.source : QString();
        }
    }
    return passes;
}

PassHistory::Pass PassHistory::lastUndoable()
{
    // The newest shift; when it is wholly undone, the newest shift of the same
    // folder that is not (an older shift there may still be applied), never a
    // shift of another folder.
    const QList<Pass> passes = all();
    QString undoneFolder;
    for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
        if (it->kind == Journal::Kind::Undo || !it->began)
            continue;   // undos are not undone; a pass that never began changed nothing
        if (!undoneFolder.isEmpty() && it->folder != undoneFolder)
            return {};
        if (!it->undone)
            return *it;
        undoneFolder = it->folder;
    }
    return {};
}

PassHistory::Pass PassHistory::interrupted()
{
    const QList<Pass> passes = all();
    for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
        if (it->kind == Journal::Kind::Undo || !it->began)
            continue;
        if (it->closed || it->undone || it->partlyUndone() || it->resumed || TreeLock::isBusy(it->folder))
            return {};
        return *it;
    }
    return {};
}
