#include "shiftchoice.h"

#include "capturedate.h"
#include "formatlist.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

bool ShiftChoice::takes(const QString &camera, const QDateTime &date, FileKind kind) const
{
    if (!takesCamera(camera) || !takesKind(kind))
        return false;
    if (from.isValid() && date < from)
        return false;
    return !(to.isValid() && to < date);
}

QByteArray ShiftChoice::toJson() const
{
    if (all())
        return {};
    QJsonObject o;
    if (!cameras.isEmpty())
        o.insert(QLatin1String("cameras"), QJsonArray::fromStringList(cameras));
    if (!kinds.isEmpty()) {
        QJsonArray names;
        for (FileKind kind : kinds)
            names.append(QLatin1String(FormatList::kindName(kind)));
        o.insert(QLatin1String("types"), names);
    }
    if (from.isValid())
        o.insert(QLatin1String("from"), QString::fromLatin1(CaptureDate::format(from)));
    if (to.isValid())
        o.insert(QLatin1String("to"), QString::fromLatin1(CaptureDate::format(to)));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

ShiftChoice ShiftChoice::fromJson(const QByteArray &json)
{
    ShiftChoice c;
    if (json.isEmpty())
        return c;
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    for (const QJsonValue &v : o.value(QLatin1String("cameras")).toArray())
        c.cameras << v.toString();
    for (const QJsonValue &v : o.value(QLatin1String("types")).toArray()) {
        const QByteArray name = v.toString().toLatin1();
        FileKind kind;
        if (FormatList::kindNamed(name.constData(), size_t(name.size()), &kind) && !c.kinds.contains(kind))
            c.kinds << kind;
    }
    c.from = CaptureDate::parse(o.value(QLatin1String("from")).toString().toLatin1());
    c.to = CaptureDate::parse(o.value(QLatin1String("to")).toString().toLatin1());
    return c;
}

// Translated under the context "ShiftJob" where translators are installed
// (the window); kelvaro-cli stays English.
QString ShiftChoice::describe() const
{
    QStringList parts;
    if (!cameras.isEmpty())
        parts << QCoreApplication::translate("ShiftJob", "of %1").arg(cameras.join(QLatin1String(", ")));
    if (!kinds.isEmpty()) {
        QStringList names;
        for (FileKind kind : kinds)
            names << QString::fromLatin1(FormatList::kindName(kind)).toUpper();
        parts << QCoreApplication::translate("ShiftJob", "of kind %1").arg(names.join(QLatin1String(", ")));
    }
    const QString pattern = QLatin1String(CaptureDate::pattern);
    if (from.isValid() && to.isValid())
        parts << QCoreApplication::translate("ShiftJob", "taken from %1 until %2")
                     .arg(from.toString(pattern), to.toString(pattern));
    else if (from.isValid())
        parts << QCoreApplication::translate("ShiftJob", "taken from %1").arg(from.toString(pattern));
    else if (to.isValid())
        parts << QCoreApplication::translate("ShiftJob", "taken until %1").arg(to.toString(pattern));
    return parts.join(QLatin1Char(' '));
}
