#include "jobmessages.h"

#include "capturedate.h"

#include <QCoreApplication>

// The texts go through the translation lookup under the context
// "JobMessages": the window installs translators and shows them in the
// user's language, kelvaro-cli installs none and stays English.
static QString dateText(const QDateTime &date)
{
    return date.toString(QLatin1String(CaptureDate::pattern));
}

static QString folders(int folderCount)
{
    return QCoreApplication::translate("JobMessages", "%n folders", nullptr, folderCount);
}

QString JobMessages::confirmation(int validCount, int folderCount, const QDateTime &oldest,
                                  const QDateTime &newest, const QString &chosen)
{
    if (!chosen.isEmpty())
        return QCoreApplication::translate(
                   "JobMessages",
                   "%n pictures %4 in %1, dated from\n%2 to \n%3\nwill be changed.\n\nDo you want to proceed?",
                   nullptr, validCount)
            .arg(folders(folderCount), dateText(oldest), dateText(newest), chosen);
    return QCoreApplication::translate(
               "JobMessages",
               "%n pictures in %1, dated from\n%2 to \n%3\nwill be changed.\n\nDo you want to proceed?",
               nullptr, validCount)
        .arg(folders(folderCount), dateText(oldest), dateText(newest));
}

QString JobMessages::result(int validCount, int folderCount, const QDateTime &oldest,
                            const QDateTime &newest, bool cancelled, int changedCount, const QString &chosen)
{
    QString text = chosen.isEmpty()
                       ? QCoreApplication::translate(
                             "JobMessages", "%n pictures in %1, dated from\n%2 to \n%3\nhave been changed.",
                             nullptr, validCount)
                             .arg(folders(folderCount), dateText(oldest), dateText(newest))
                       : QCoreApplication::translate(
                             "JobMessages", "%n pictures %4 in %1, dated from\n%2 to \n%3\nhave been changed.",
                             nullptr, validCount)
                             .arg(folders(folderCount), dateText(oldest), dateText(newest), chosen);
    if (cancelled || changedCount != validCount) {
        text += QLatin1String("\n\n");
        if (cancelled)
            text += QCoreApplication::translate("JobMessages", "Cancelled.") + QLatin1Char(' ');
        text += QCoreApplication::translate("JobMessages", "Changed: %1, not changed: %2.").arg(changedCount).arg(validCount - changedCount);
    }
    return text;
}
