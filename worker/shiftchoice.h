#pragma once

#include "fileformat.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Which pictures a shift moves: those taken by one of the named cameras (by
// every camera when none is named), of one of the named kinds (JPEG, RAW,
// TIFF; every kind when none is named), whose current capture date lies
// within the limits, both inclusive (an invalid date sets no limit).
struct ShiftChoice {
    QStringList cameras;
    QList<FileKind> kinds;
    QDateTime from, to;
    bool all() const { return cameras.isEmpty() && kinds.isEmpty() && !from.isValid() && !to.isValid(); }
    // Names are compared without regard to letter case ("pixel 7" takes "Pixel 7").
    bool takesCamera(const QString &camera) const
    {
        return cameras.isEmpty() || cameras.contains(camera, Qt::CaseInsensitive);
    }
    bool takesKind(FileKind kind) const { return kinds.isEmpty() || kinds.contains(kind); }
    bool takes(const QString &camera, const QDateTime &date, FileKind kind) const;
    // As a journal records it: compact JSON ({"cameras": [...], "types":
    // ["raw"], "from": ..., "to": ...}); empty when every picture is chosen.
    QByteArray toJson() const;
    static ShiftChoice fromJson(const QByteArray &json);
    // For the question and the result ("of Canon EOS 5D taken from ...");
    // empty when every picture is chosen.
    QString describe() const;
};
