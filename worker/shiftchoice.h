#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Which pictures a shift moves: those taken by one of the named cameras (by
// every camera when none is named) whose current capture date lies within the
// limits, both inclusive (an invalid date sets no limit).
struct ShiftChoice {
    QStringList cameras;
    QDateTime from, to;
    bool all() const { return cameras.isEmpty() && !from.isValid() && !to.isValid(); }
    // Names are compared without regard to letter case ("pixel 7" takes "Pixel 7").
    bool takesCamera(const QString &camera) const
    {
        return cameras.isEmpty() || cameras.contains(camera, Qt::CaseInsensitive);
    }
    bool takes(const QString &camera, const QDateTime &date) const;
    // As a journal records it: compact JSON ({"cameras": [...], "from": ...,
    // "to": ...}); empty when every picture is chosen.
    QByteArray toJson() const;
    static ShiftChoice fromJson(const QByteArray &json);
    // For the question and the result ("of Canon EOS 5D taken from ...");
    // empty when every picture is chosen.
    QString describe() const;
};
