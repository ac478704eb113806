#include "jobmessages.h"

#include "capturedate.h"

static QString dateRange(int validCount, int folderCount, const QDateTime &oldest, const QDateTime &newest,
                         const QString &chosen)
{
    const QString pattern = QLatin1String(CaptureDate::pattern);
    return QString::number(validCount) + " pictures " + (chosen.isEmpty() ? QString() : chosen + ' ') + "in "
           + QString::number(folderCount) + " folders, dated from\n" + oldest.toString(pattern) + " to \n" + newest.toString(pattern);
}

QString JobMessages::confirmation(int validCount, int folderCount, const QDateTime &oldest,
                                  const QDateTime &newest, const QString &chosen)
{
    return dateRange(validCount, folderCount, oldest, newest, chosen) + "\nwill be changed.\n\nDo you want to proceed?";
}

QString JobMessages::result(int validCount, int folderCount, const QDateTime &oldest,
                            const QDateTime &newest, bool cancelled, int changedCount, const QString &chosen)
{
    QString text = dateRange(validCount, folderCount, oldest, newest, chosen) + "\nhave been changed.";
    if (cancelled || changedCount != validCount) {
        text += "\n\n";
        if (cancelled)
            text += "Cancelled. ";
        text += "Changed: " + QString::number(changedCount)
                + ", not changed: " + QString::number(validCount - changedCount) + ".";
    }
    return text;
}
