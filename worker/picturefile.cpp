#include "picturefile.h"

#include "capturedate.h"
#include "openpicture.h"
#include "pathbytes.h"
#include "picturerewrite.h"

#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#ifdef _WIN32
#include <QDir>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool PictureFile::statPath(const QString &path, OpenPicture::FileStatus *status)
{
#ifdef _WIN32
    return _wstat64(reinterpret_cast<const wchar_t *>(path.utf16()), status) == 0;
#else
    return PathBytes::stat(PathBytes::encode(path), status);
#endif
}

FILE *PictureFile::open(const QString &path, const char *mode)
{
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t *>(path.utf16()),
                   reinterpret_cast<const wchar_t *>(QString::fromLatin1(mode).utf16()));
#else
    return fopen(PathBytes::encode(path).constData(), mode);
#endif
}

#ifdef _WIN32
namespace {
HANDLE openForAttributes(const QString &path, DWORD access)
{
    // Opening follows links and junctions to what they name; FILE_FLAG_BACKUP_SEMANTICS
    // lets folders be opened too.
    return CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}
} // namespace

bool PictureFile::identify(const QString &path, FileIdentity *id)
{
    // No access right is asked for, so that even a locked file tells its identity.
    const HANDLE handle = openForAttributes(path, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(handle, &information) != 0;
    CloseHandle(handle);
    if (known)
        *id = FileIdentity::fromWindows(information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow);
    return known;
}
#endif

PictureFile::Result PictureFile::readDate(const QString &path, const Claim &claim, bool withCopies,
                                          DateRecord *record)
{
    Result result;
    OpenPicture picture;
    if (!picture.open(path, false))
        return result;
#ifndef _WIN32
    if (picture.haveStatus && !S_ISREG(picture.status.st_mode)) {
        result.status = Status::NotRegular;
        return result;
    }
#endif
    if (claim && picture.haveStatus && !claim(picture.id())) {
        result.status = Status::AlreadySeen;
        return result;
    }
    if (picture.haveStatus) {
        result.file = picture.id();
        result.readOnly = (picture.status.st_mode & 0222) == 0;
    }
    FoundDates found;
    result.status = picture.locateDates(&result, &found);
    if (withCopies && result.status == Status::Usable) {
        // From the same read: what a shift would move besides the EXIF texts.
        for (const DateField &field : found.fields) {
            result.xmpDates += field.encoding == DateEncoding::XmpText;
            result.iptcDates += field.encoding == DateEncoding::IptcDate;   // a date and time pair
        }
    }
    if (record && result.status == Status::Usable && picture.haveStatus)
        *record = DateRecord::of(found, result.file, result.camera);
    return result;
}

PictureFile::Result PictureFile::shift(const QString &path, qint64 seconds, bool adaptFileTimes,
                                       const Claim &claim)
{
    return PictureRewrite::shift(path, seconds, adaptFileTimes, claim);
}

QString PictureFile::cameraName(const char *make, const char *model)
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

const char *PictureFile::describe(Status status)
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
    case Status::AlreadyDone: return "already holds the new date";
    case Status::AddedSince: return "added since the dates were read";
    case Status::NotRegular: return "not a regular file";
    case Status::CloseFailed: return "written, but closing the file failed";
    case Status::NotChosen: return "not among the chosen pictures";
    case Status::NotConfirmed: return "date not read before the question";
    case Status::PictureNotChanged: return "its picture was not changed";
    }
    return "";
}
