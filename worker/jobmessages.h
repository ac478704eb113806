#pragma once

#include <QDateTime>
#include <QString>

// The texts that close a job, shared by the window and the command line.
class JobMessages {
public:
    // The question asked before any picture is written. `chosen` names the
    // chosen pictures ("of Canon EOS 5D"); empty when every picture moves.
    static QString confirmation(int validCount, int folderCount, const QDateTime &oldest,
                                const QDateTime &newest, const QString &chosen = QString());

    // The report at the end of the shifting pass. A complete pass that changed
    // every usable picture reads as before; otherwise the text says how many
    // pictures were changed and how many were not, and whether it was cancelled.
    static QString result(int validCount, int folderCount, const QDateTime &oldest,
                          const QDateTime &newest, bool cancelled, int changedCount,
                          const QString &chosen = QString());
};
