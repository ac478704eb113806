#include "jobmessages.h"

#include "capturedate.h"

static QString dateRange(int validCount, int folderCount, const QDateTime &oldest, const QDateTime &newest)
{
    const QString pattern = QLatin1String(CaptureDate::pattern);
    return QString::number(validCount) + " pictures in " + QString::number(folderCount)
           + " folders, dated from\n" + oldest.toString(pattern) + " to \n" + newest.toString(pattern);
}

QString JobMessages::confirmation(int validCount, int folderCount, const QDateTime &oldest,
                                  const QDateTime &newest)
{
    return dateRange(validCount, folderCount, oldest, newest) + "\nwill be changed.\n\nDo you want to proceed?";
}

QString JobMessages::result(int validCount, int folderCount, const QDateTime &oldest,
                            const QDateTime &newest, bool cancelled, int changedCount)
{
    QString text = dateRange(validCount, folderCount, oldest, newest) + "\nhave been changed.";
    if (cancelled || changedCount != validCount) {
        text += "\n\n";
        if (cancelled)
            text += "Cancelled. ";
        text += "Changed: " + QString::number(changedCount)
                + ", not changed: " + QString::number(validCount - changedCount) + ".";
    }
    return text;
}
