#include "cliquestions.h"

#include "progressline.h"
#include "shiftjob.h"
#include "terminalenglish.h"

#include <QDir>

#include <cstdio>

CliQuestions::CliQuestions(ProgressLine &progress) : progress(progress)
{
}

bool CliQuestions::confirmShift(const JobMessages::Pass &pass, int outsideLinks)
{
    QString question = JobMessages::confirmation(pass);
    if (outsideLinks > 0)
        question += QLatin1String("\n\n")
                    + QString::fromUtf8(outsideLinks == 1
                                            ? QByteArray("1 link leads outside the folder; it is not followed.")
                                            : TerminalEnglish::count(outsideLinks, "link", "links")
                                                  + " lead outside the folder; they are not followed.");
    return askYesNo(question.toUtf8());
}

bool CliQuestions::confirmFromJournal(bool undo, const Journal::Header &header, const QString &journalState)
{
    const QByteArray state = journalState.isEmpty() ? QByteArray() : ProgressLine::printable(journalState) + '\n';
    const QByteArray question = state + (undo ? "Set back the shift by " : "Finish the shift by ")
                                + QByteArray::number(header.shiftSeconds) + " seconds of "
                                + ProgressLine::printable(QDir::toNativeSeparators(header.folder)) + " ("
                                + header.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1()
                                + ")" + (header.choice.isEmpty() ? QByteArray()
                                         : ", pictures " + ShiftJob::Choice::fromJson(header.choice).describe().toUtf8())
                                + '?';
    return askYesNo(question);
}

bool CliQuestions::askYesNo(const QByteArray &question)
{
    progress.write(stderr, question + " [y/N] ");
    char answer[64];
    if (!fgets(answer, sizeof answer, stdin))
        return false;
    const QByteArray word = QByteArray(answer).trimmed().toLower();
    return word == "y" || word == "yes";
}
