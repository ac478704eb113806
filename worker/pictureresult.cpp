#include "pictureresult.h"

#include "formatlist.h"

QString PictureResult::cameraName(const char *make, const char *model)
{
    const QString maker = QString::fromUtf8(make).trimmed();
    const QString type = QString::fromUtf8(model).trimmed();
    if (maker.isEmpty() && type.isEmpty())
        return QStringLiteral("Unknown camera");
    if (maker.isEmpty() || type.startsWith(maker, Qt::CaseInsensitive))
        return type;
    if (type.isEmpty())
        return maker;
    return maker + QLatin1Char(' ') + type;
}

QByteArray PictureResult::extensionOf(const QString &path)
{
    const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QByteArray() : name.mid(dot + 1).toLatin1();
}

bool PictureResult::kindOfName(const QString &path, FileKind *kind)
{
    const QByteArray extension = extensionOf(path);
    return FormatList::kindOfName(extension.constData(), size_t(extension.size()), kind);
}

const char *PictureResult::describe(Status status)
{
    switch (status) {
    case Status::Usable: return "usable date";
    case Status::Changed: return "changed";
    case Status::CannotOpen: return "cannot be opened";
    case Status::NoExif: return "no EXIF block";
    case Status::NoDate: return "no DateTimeOriginal";
    case Status::NotADate: return "DateTimeOriginal is not a date";
    case Status::OutOfRange: return "shifted date outside the years 1000 to 9999";
    case Status::DateNotFound: return "date text not found in the header";
    case Status::ReadFailed: return "read failed";
    case Status::WriteFailed: return "write failed";
    case Status::AlreadySeen: return "met before through a link";
    case Status::Locked: return "in use by another program";
    case Status::ChangedElsewhere: return "changed by another program";
    case Status::Unrecognised: return "holds neither the old nor the new date";
    case Status::AlreadyDone: return "already as wanted, not changed";
    case Status::AddedSince: return "added since the dates were read";
    case Status::NotRegular: return "not a regular file";
    case Status::CloseFailed: return "written, but closing the file failed";
    case Status::NotChosen: return "not among the chosen pictures";
    case Status::NotConfirmed: return "date not read before the question";
    case Status::PictureNotChanged: return "its picture was not changed";
    case Status::JournalDamaged: return "its journal line is damaged, not changed";
    case Status::Unsupported: return "format not supported";
    }
    return "";
}
