#pragma once

#include "shiftjob.h"

#include <QByteArray>
#include <QList>

// `kelvaro-cli history`: the passes the journals record, oldest first, as
// text (two lines a pass) or as one JSON object.
class HistoryReport {
public:
    static QByteArray text(const QList<ShiftJob::PassInfo> &passes);
    static QByteArray json(const QList<ShiftJob::PassInfo> &passes);

private:
    // What became of a pass: complete, cancelled, interrupted, resumed or undone.
    static QByteArray stateOf(const ShiftJob::PassInfo &pass);
};
