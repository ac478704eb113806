#include "jobmessages.h"

#include "capturedate.h"

#include <QCoreApplication>
#include <QLocale>

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

// Counts with the default locale's digit grouping ("19,995").
static QString number(int n)
{
    return QLocale().toString(n);
}

QString JobMessages::shiftText(qint64 seconds)
{
    const QChar sign = seconds < 0 ? QLatin1Char('-') : QLatin1Char('+');
    const quint64 s = seconds < 0 ? quint64(0) - quint64(seconds) : quint64(seconds);
    const quint64 days = s / 86400, hours = s / 3600 % 24, minutes = s / 60 % 60, rest = s % 60;
    const QString clock = QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(rest, 2, 10, QLatin1Char('0'));
    if (days > 0)
        return sign + QStringLiteral("%1:%2:").arg(days).arg(hours, 2, 10, QLatin1Char('0')) + clock;
    return sign + QStringLiteral("%1:").arg(hours) + clock;
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

QString JobMessages::confirmation(const Pass &pass)
{
    QString text = confirmation(pass.valid, pass.folders, pass.oldest, pass.newest, pass.chosen);
    text += QLatin1String("\n\n")
            + QCoreApplication::translate("JobMessages", "Every capture time moves by %1 (new range %2 to %3).")
                  .arg(shiftText(pass.shiftSeconds), dateText(pass.oldest.addSecs(pass.shiftSeconds)),
                       dateText(pass.newest.addSecs(pass.shiftSeconds)));
    if (pass.raw > 0)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("JobMessages", "RAW files among the pictures to change: %1.")
                      .arg(number(pass.raw));
    // Files of a format that is not supported are told apart from those
    // without a usable date.
    const int leftAlone = pass.pictures - pass.valid - pass.unsupported + pass.readOnly;
    if (leftAlone > 0)
        text += QLatin1Char('\n')
                + (pass.chosen.isEmpty()
                       ? QCoreApplication::translate("JobMessages", "Left alone (no usable date or read-only): %1.")
                       : QCoreApplication::translate("JobMessages",
                                                     "Left alone (no usable date, not chosen or read-only): %1."))
                      .arg(number(leftAlone));
    if (pass.unsupported > 0)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("JobMessages", "Left alone, format not supported: %1.")
                      .arg(number(pass.unsupported));
    if (pass.unreadable > 0)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("JobMessages", "Could not be read: %1.").arg(number(pass.unreadable));
    return text;
}

QString JobMessages::result(const Pass &pass, bool cancelled, int done, int changedCount)
{
    const int notChanged = qMax(0, pass.valid - changedCount);
    if (!cancelled && notChanged == 0) {
        QString text = pass.chosen.isEmpty()
            ? QCoreApplication::translate(
                  "JobMessages", "%n pictures in %1, dated from\n%2 to \n%3\nhave been changed.", nullptr, pass.valid)
                  .arg(folders(pass.folders), dateText(pass.oldest), dateText(pass.newest))
            : QCoreApplication::translate(
                  "JobMessages", "%n pictures %4 in %1, dated from\n%2 to \n%3\nhave been changed.", nullptr, pass.valid)
                  .arg(folders(pass.folders), dateText(pass.oldest), dateText(pass.newest), pass.chosen);
        if (pass.valid > 0)
            text += QLatin1String("\n\n")
                    + QCoreApplication::translate("JobMessages", "Every capture time moved by %1 (now %2 to %3).")
                          .arg(shiftText(pass.shiftSeconds), dateText(pass.oldest.addSecs(pass.shiftSeconds)),
                               dateText(pass.newest.addSecs(pass.shiftSeconds)));
        if (pass.valid > 0 && pass.raw > 0)
            text += QLatin1Char('\n')
                    + QCoreApplication::translate("JobMessages", "RAW files among the changed pictures: %1.")
                          .arg(number(pass.raw));
        if (pass.unreadable > 0)
            text += QLatin1String("\n\n")
                    + QCoreApplication::translate("JobMessages", "Could not be read: %1.").arg(number(pass.unreadable));
        return text;
    }
    QString text = cancelled
        ? QCoreApplication::translate("JobMessages", "Cancelled after %1 of %2 pictures.")
              .arg(number(qMin(done, pass.valid)), number(pass.valid))
        : QCoreApplication::translate("JobMessages", "%1 of %2 pictures with a usable date could not be changed.")
              .arg(number(notChanged), number(pass.valid));
    text += QLatin1String("\n\n")
            + QCoreApplication::translate("JobMessages", "Changed: %1, not changed: %2, could not be read: %3.")
                  .arg(number(changedCount), number(notChanged), number(pass.unreadable));
    if (changedCount > 0)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("JobMessages", "The changed pictures moved by %1.")
                      .arg(shiftText(pass.shiftSeconds));
    if (pass.raw > 0)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("JobMessages", "RAW files among the pictures to change: %1.")
                      .arg(number(pass.raw));
    return text;
}

QString JobMessages::nothingToShift()
{
    return QCoreApplication::translate("JobMessages", "The new date equals the current one: nothing to change.");
}

QString JobMessages::journalState(int damagedLines, bool cut, bool closed)
{
    QString text;
    if (damagedLines > 0)
        text = QCoreApplication::translate("JobMessages",
                                           "The journal is damaged: %n of its lines cannot be trusted, and the "
                                           "pictures they name are left alone.",
                                           nullptr, damagedLines);
    if (cut || !closed) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += cut ? QCoreApplication::translate("JobMessages",
                                                  "The journal is incomplete: it was cut short inside a line, and "
                                                  "pictures it does not name may have been changed.")
                    : QCoreApplication::translate("JobMessages",
                                                  "The journal is incomplete: it ends before its closing line.");
    }
    return text;
}
