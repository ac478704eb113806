#include "passquestions.h"

#include "pathbytes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

bool PassQuestions::confirmShift(QWidget *parent, const JobMessages::Pass &pass, int outsideLinks)
{
    QString question = JobMessages::confirmation(pass);
    if (outsideLinks > 0)
        question += QCoreApplication::translate("MainWindow",
                                                "\n\n%1 links lead outside the folder; they are not followed.")
                        .arg(outsideLinks);
    return QMessageBox::question(parent, QCoreApplication::translate("MainWindow", "Kelvaro"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

bool PassQuestions::stopWriting(QWidget *parent)
{
    return QMessageBox::question(
               parent, QCoreApplication::translate("MainWindow", "Kelvaro"),
               QCoreApplication::translate("MainWindow",
                                           "Pictures are being changed.\n\nStop after the picture in hand? You will "
                                           "see what was changed and can undo it."),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

PassQuestions::Interrupted PassQuestions::askInterrupted(QWidget *parent, const ShiftJob::PassInfo &pass)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("MainWindow", "Kelvaro"),
                    QCoreApplication::translate("MainWindow", "The last shift of %1 stopped after %2 of %3 pictures.")
                        .arg(PathBytes::display(pass.folder))
                        .arg(pass.changed)
                        .arg(pass.pictures),
                    QMessageBox::NoButton, parent);
    QString informative = QCoreApplication::translate("MainWindow",
                                                      "Finish it to shift the remaining pictures, or undo it to "
                                                      "set back those already shifted.");
    // Only what is wrong with its journal: that the pass has no end is said above.
    if (pass.damaged)
        informative += QStringLiteral("\n\n") + JobMessages::journalState(pass.damagedLines, pass.cut, true);
    box.setInformativeText(informative);
    QPushButton *finish =
        box.addButton(QCoreApplication::translate("MainWindow", "Finish it"), QMessageBox::AcceptRole);
    QPushButton *undo =
        box.addButton(QCoreApplication::translate("MainWindow", "Undo it"), QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(QCoreApplication::translate("MainWindow", "Later"), QMessageBox::RejectRole);
    box.setDefaultButton(finish);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == finish)
        return Interrupted::Finish;
    if (box.clickedButton() == undo)
        return Interrupted::Undo;
    return Interrupted::Later;
}

bool PassQuestions::confirmUndo(QWidget *parent, const ShiftJob::PassInfo &pass)
{
    QString question = QCoreApplication::translate(
                           "MainWindow", "Set every picture of the last shift of %1 back to its earlier date and file times?")
                           .arg(PathBytes::display(pass.folder));
    const QString state = JobMessages::journalState(pass.damagedLines, pass.cut, pass.closed);
    if (!state.isEmpty())
        question += QStringLiteral("\n\n") + state;
    return QMessageBox::question(parent, QCoreApplication::translate("MainWindow", "Kelvaro"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}
