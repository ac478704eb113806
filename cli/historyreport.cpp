#include "historyreport.h"

#include "clioutput.h"
#include "progressline.h"

#include <QDir>

QByteArray HistoryReport::stateOf(const ShiftJob::PassInfo &p)
{
    if (p.damaged)
        return "journal damaged";
    if (p.undone)
        return "undone";
    if (p.partlyUndone())
        return p.undoLeft < 0 ? QByteArray("partly undone")
                              : "partly undone (" + QByteArray::number(p.undoLeft) + " left)";
    if (p.resumed)
        return "resumed";
    if (!p.closed)
        return "interrupted";
    return p.cancelled ? "cancelled" : "complete";
}

QByteArray HistoryReport::json(const QList<ShiftJob::PassInfo> &passes)
{
    QByteArray out = "{\n  \"passes\": [";
    for (int i = 0; i < passes.size(); ++i) {
        const ShiftJob::PassInfo &p = passes.at(i);
        out += QByteArray(i ? ",\n" : "\n") + "    {\"journal\": " + CliOutput::jsonString(p.journal)
               + ", \"kind\": \"" + Journal::kindName(p.kind) + "\", \"started\": \""
               + p.started.toString(Qt::ISODate).toLatin1() + "\", \"folder\": " + CliOutput::jsonString(p.folder)
               + ", \"shift_seconds\": " + QByteArray::number(p.shiftSeconds) + ", \"pictures\": "
               + QByteArray::number(p.pictures) + ", \"changed\": " + QByteArray::number(p.changed)
               + ", \"state\": \"" + stateOf(p) + "\"}";
    }
    return out + (passes.isEmpty() ? "]\n}\n" : "\n  ]\n}\n");
}

QByteArray HistoryReport::text(const QList<ShiftJob::PassInfo> &passes)
{
    if (passes.isEmpty())
        return "No shift has been recorded.\n";
    QByteArray out;
    for (const ShiftJob::PassInfo &p : passes) {
        out += p.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() + "  "
               + Journal::kindName(p.kind).leftJustified(7) + QByteArray::number(p.shiftSeconds).rightJustified(12)
               + " s  " + (QByteArray::number(p.changed) + '/' + QByteArray::number(p.pictures)).rightJustified(13)
               + "  " + stateOf(p).leftJustified(12) + (stateOf(p).size() >= 12 ? " " : "") + ProgressLine::printable(QDir::toNativeSeparators(p.folder))
               + "\n    " + ProgressLine::printable(QDir::toNativeSeparators(p.journal)) + '\n';
    }
    return out;
}
