#include "passresults.h"

#include "pathbytes.h"
#include "shiftjob.h"
#include "walkstate.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
// The property of a result box's Undo button that holds the journal to undo.
const char *const undoJournal = "kelvaroUndoJournal";
}

QMessageBox *PassResults::shiftBox(QWidget *parent, const ShiftJob &job, const WalkState &state,
                                   const JobMessages::Pass &dated)
{
    // A pass that stopped itself (its journal failed) was not cancelled: its
    // problem says why it stopped.
    const bool cancelled = state.cancelRequested && job.problem.isEmpty();
    const int changed = state.changedCount;
    QString text = JobMessages::result(dated, cancelled, state.doneCount, changed);
    using Copy = ShiftJob::Copy;
    if (job.counts.movedAny())
        text += QCoreApplication::translate("MainWindow",
                                            "\n\nAlso moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.")
                    .arg(job.counts.movedOf(Copy::XmpDate))
                    .arg(job.counts.movedOf(Copy::IptcDate))
                    .arg(job.counts.movedOf(Copy::Sidecar));
    if (job.counts.addedSince)
        text += QCoreApplication::translate("MainWindow", "\n\nAdded since the dates were read, left alone: %1.")
                    .arg(job.counts.addedSince);
    if (job.counts.timesNotSet)
        text += QCoreApplication::translate("MainWindow", "\n\nFile times could not be set: %1.")
                    .arg(job.counts.timesNotSet);
    if (!job.problem.isEmpty())
        text += "\n\n" + job.problem + '.';
    const bool partial = cancelled || changed != job.chosen().valid || !job.problem.isEmpty()
                         || job.counts.timesNotSet > 0 || state.unreadableCount > 0;
    auto *box = new QMessageBox(partial ? QMessageBox::Warning : QMessageBox::Information,
                                QCoreApplication::translate("MainWindow", "Kelvaro"), text, QMessageBox::Ok, parent);
    if (!job.notes.isEmpty())
        box->setDetailedText(job.notes.join('\n'));
    const QString journal = job.journalPath;
    if (partial && !journal.isEmpty()) {
        QPushButton *undo =
            box->addButton(QCoreApplication::translate("MainWindow", "Undo"), QMessageBox::ActionRole);
        undo->setToolTip(QCoreApplication::translate(
            "MainWindow", "Set every picture this shift changed back to its earlier date and file times"));
        undo->setProperty(undoJournal, journal);
    }
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

QString PassResults::show(QMessageBox *box)
{
    box->exec();
    const QAbstractButton *clicked = box->clickedButton();
    const QString journal = clicked ? clicked->property(undoJournal).toString() : QString();
    delete box;
    return journal;
}

QMessageBox *PassResults::journalBox(QWidget *parent, const ShiftJob &job, bool undo, bool cancelled)
{
    const ShiftJob::Counts &c = job.counts;
    const QString folder = PathBytes::display(job.journalHeader.folder);
    QString text = undo ? QCoreApplication::translate("MainWindow", "The shift of %1 was undone.").arg(folder)
                        : QCoreApplication::translate("MainWindow", "The shift of %1 was finished.").arg(folder);
    if (cancelled)
        text = QCoreApplication::translate("MainWindow", "Cancelled.");
    text += "\n\n"
            + (undo ? QCoreApplication::translate("MainWindow", "Set back: %1, already as before: %2, not changed: %3.")
                    : QCoreApplication::translate("MainWindow", "Finished: %1, already shifted: %2, not changed: %3."))
                  .arg(c.changed)
                  .arg(c.alreadyDone)
                  .arg(c.notChanged + c.unrecognised);
    if (c.damaged)
        text += "\n\n"
                + QCoreApplication::translate("MainWindow", "Left alone because their journal lines are damaged: %1.")
                      .arg(c.damaged);
    if (c.journalCut || c.listLost)
        text += "\n\n" + JobMessages::journalState(0, true, true);
    if (!job.problem.isEmpty())
        text += "\n\n" + job.problem + '.';
    const bool partial = cancelled || c.notChanged || c.unrecognised || !job.problem.isEmpty() || !c.journalSound();
    auto *box = new QMessageBox(partial ? QMessageBox::Warning : QMessageBox::Information,
                                QCoreApplication::translate("MainWindow", "Kelvaro"), text, QMessageBox::Ok, parent);
    if (!job.notes.isEmpty())
        box->setDetailedText(job.notes.join('\n'));
    return box;
}
