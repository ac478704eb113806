#include "passhistory.h"

#include "treelock.h"

#include <QHash>
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
        info.started = record.header.started;
        info.source = record.header.source;
        byPath.insert(path, int(passes.size()));
        passes << info;
    }
    // A finished undo marks its pass (and the passes that pass finished) as
    // undone; a finished resume marks the pass it finished as resumed.
    for (const Pass &pass : passes) {
        if (pass.kind == Journal::Kind::Shift || !pass.closed || pass.cancelled)
            continue;
        QString source = pass.source;
        QSet<QString> seen;
        while (byPath.contains(source) && !seen.contains(source)) {
            seen.insert(source);
            Pass &target = passes[byPath.value(source)];
            if (pass.kind == Journal::Kind::Undo)
                target.undone = true;
            else
                target.resumed = true;
            source = target.kind == Journal::Kind::Resume ? target.source : QString();
        }
    }
    return passes;
}

PassHistory::Pass PassHistory::lastUndoable()
{
    const QList<Pass> passes = all();
    for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
        if (it->kind == Journal::Kind::Undo || !it->began)
            continue;   // undos are not undone; a pass that never began changed nothing
        if (it->undone)
            return {};   // the newest shift is undone already
        return *it;
    }
    return {};
}

PassHistory::Pass PassHistory::interrupted()
{
    const QList<Pass> passes = all();
    for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
        if (it->kind == Journal::Kind::Undo || !it->began)
            continue;
        if (it->closed || it->undone || it->resumed || TreeLock::isBusy(it->folder))
            return {};
        return *it;
    }
    return {};
}
