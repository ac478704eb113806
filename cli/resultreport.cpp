#include "resultreport.h"

#include "progressline.h"
#include "shiftjob.h"
#include "terminalenglish.h"

#include <QDir>

namespace {
// The copies a shift moves besides the EXIF texts: their JSON key and text, in the order they are told.
const struct {
    ShiftJob::Copy copy;
    const char *key;
    const char *one;
    const char *many;
} copyKeys[] = {
    {ShiftJob::Copy::XmpDate, "xmp_dates", "XMP date", "XMP dates"},
    {ShiftJob::Copy::IptcDate, "iptc_dates", "IPTC date", "IPTC dates"},
    {ShiftJob::Copy::Sidecar, "sidecars", "sidecar file", "sidecar files"},
};
} // namespace

ResultReport::ResultReport(CliOutput &output, const ShiftJob &job) : output(output), job(job)
{
}

void ResultReport::shift(CliOutput::Fields fields, const QByteArray &text, const Shift &shift)
{
    if (!output.json()) {
        output.print(text + '\n');
        return;
    }
    fields.push_back({"shift_seconds", shift.shiftKnown ? QByteArray::number(shift.shiftSeconds) : "null"});
    fields.push_back({"chosen", QByteArray::number(shift.chosen)});
    fields.push_back({"changed", QByteArray::number(shift.changed)});
    fields.push_back({"not_changed", QByteArray::number(qMax(0, shift.chosen - shift.changed))});
    fields.push_back({"added_since", QByteArray::number(job.counts.addedSince)});
    fields.push_back({"times_not_set", QByteArray::number(job.counts.timesNotSet)});
    for (const auto &kind : copyKeys)
        fields.push_back({kind.key, QByteArray::number(job.counts.movedOf(kind.copy))});
    fields.push_back({"problem", job.problem.isEmpty() ? QByteArray("null") : CliOutput::jsonString(job.problem)});
    fields.push_back({"cancelled", shift.cancelled ? "true" : "false"});
    fields.push_back({"dry_run", shift.dryRun ? "true" : "false"});
    fields.push_back({"journal", job.journalPath.isEmpty() ? QByteArray("null")
                                                           : CliOutput::jsonString(job.journalPath)});
    output.printJson(fields);
}

void ResultReport::fromJournal(const QString &source, const Journal::Header &header, bool undo, bool cancelled,
                               bool dryRun, const QString &journalState)
{
    const ShiftJob::Counts &c = job.counts;
    if (output.json()) {
        output.printJson({{"source", CliOutput::jsonString(source)},
                          {"folder", CliOutput::jsonString(header.folder)},
                          {"shift_seconds", QByteArray::number(header.shiftSeconds)},
                          {"changed", QByteArray::number(c.changed)},
                          {"already_done", QByteArray::number(c.alreadyDone)},
                          {"not_changed", QByteArray::number(c.notChanged)},
                          {"unrecognised", QByteArray::number(c.unrecognised)},
                          {"damaged", QByteArray::number(c.damaged)},
                          {"journal_complete", journalState.isEmpty() ? "true" : "false"},
                          {"journal_state", journalState.isEmpty() ? QByteArray("null")
                                                                   : CliOutput::jsonString(journalState)},
                          {"added_since", QByteArray::number(c.addedSince)},
                          {"times_not_set", QByteArray::number(c.timesNotSet)},
                          {"sidecars", QByteArray::number(c.movedOf(ShiftJob::Copy::Sidecar))},
                          {"problem", job.problem.isEmpty() ? QByteArray("null") : CliOutput::jsonString(job.problem)},
                          {"cancelled", cancelled ? "true" : "false"},
                          {"dry_run", dryRun ? "true" : "false"},
                          {"journal", job.journalPath.isEmpty() ? QByteArray("null")
                                                                : CliOutput::jsonString(job.journalPath)}});
        return;
    }
    QByteArray text = (cancelled ? QByteArray("Cancelled. ") : QByteArray())
                      + (undo ? (dryRun ? "Would set back: " : "Set back: ")
                              : (dryRun ? "Would finish: " : "Finished: "))
                      + QByteArray::number(c.changed) + ", already " + (undo ? "as before" : "shifted")
                      + ": " + QByteArray::number(c.alreadyDone) + ", not changed: "
                      + QByteArray::number(c.notChanged) + '.';
    if (const int sidecars = c.movedOf(ShiftJob::Copy::Sidecar))
        text += "\nSidecar files " + QByteArray(undo ? "set back: " : "finished: ") + QByteArray::number(sidecars) + '.';
    if (c.unrecognised)
        text += "\nLeft alone, holding neither the old nor the new date (or replaced since): "
                + QByteArray::number(c.unrecognised) + '.';
    if (c.damaged)
        text += "\nLeft alone, their journal lines damaged: " + QByteArray::number(c.damaged) + '.';
    if (!journalState.isEmpty())
        text += '\n' + ProgressLine::printable(journalState);
    for (const QString &line : job.notes)
        text += "\n  " + ProgressLine::printable(line);
    output.print(text + writingText(dryRun) + '\n');
}

QByteArray ResultReport::writingText(bool dryRun) const
{
    QByteArray text;
    const ShiftJob::Counts &c = job.counts;
    if (job.sourceJournal.isEmpty() && c.movedAny()) {
        text += "\nAlso moved:";
        for (const auto &kind : copyKeys)
            text += (kind.copy == ShiftJob::Copy::XmpDate ? " " : ", ")
                    + TerminalEnglish::count(c.movedOf(kind.copy), kind.one, kind.many);
        text += '.';
    }
    if (c.addedSince)
        text += "\nAdded since the dates were read, left alone: " + QByteArray::number(c.addedSince) + '.';
    if (c.notConfirmed)
        text += "\nLeft alone, their dates could not be read before the question: "
                + QByteArray::number(c.notConfirmed) + '.';
    if (c.timesNotSet)
        text += "\nFile times could not be set: " + QByteArray::number(c.timesNotSet) + '.';
    if (!job.problem.isEmpty())
        text += "\nProblem: " + ProgressLine::printable(job.problem) + '.';
    if (!job.journalPath.isEmpty())
        text += "\nJournal: " + ProgressLine::printable(QDir::toNativeSeparators(job.journalPath));
    if (dryRun)
        text += "\nDry run: nothing was written.";
    return text;
}
