#include "folderwalk.h"

#include <QFile>
#include <QtDebug>

#include <cstring>
#include <sys/stat.h>

FolderWalk::FolderWalk(WalkState &state, Observer *observer) : state(state), observer(observer) {}

bool FolderWalk::isPictureName(const QString &path)
{
    return path.right(3).toLower() == QLatin1String("jpg");
}

// Remembers the physical file or folder behind a path; false when this pass met
// it before (through a link, a second hard link, or a link cycle).
bool FolderWalk::firstVisit(const QString &path)
{
    QByteArray key;
#ifdef _WIN32
    key = QFileInfo(path).canonicalFilePath().toCaseFolded().toUtf8();
#else
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return true;   // let the step meet the error itself
    key.resize(sizeof status.st_dev + sizeof status.st_ino);
    memcpy(key.data(), &status.st_dev, sizeof status.st_dev);
    memcpy(key.data() + sizeof status.st_dev, &status.st_ino, sizeof status.st_ino);
#endif
    if (key.isEmpty())
        return true;
    if (visited.contains(key))
        return false;
    visited.insert(key);
    return true;
}

void FolderWalk::scanFolder(const QDir &folder)
{
    if (!firstVisit(folder.path()))
        return;
    const QFileInfoList entries = folder.entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot, QDir::NoSort);
    ++state.folderCount;
    if (entries.isEmpty() || state.cancelRequested)
        return;
    for (const QFileInfo &entry : entries) {
        const QString path = entry.filePath();
        if (entry.isDir()) {
            scanFolder(QDir(path));
        } else if (isPictureName(path) && firstVisit(path)) {
            ++state.pictureCount;
            switch (state.phase) {
            case WalkState::Dating:
                datePicture(path);
                break;
            case WalkState::Shifting:
                shiftPicture(path);
                break;
            default:
                break;
            }
        }
        if (state.cancelRequested)
            return;
    }
}

void FolderWalk::datePicture(const QString &path)
{
    const PictureFile::Result result = PictureFile::readDate(path);
    if (observer)
        observer->pictureDone(path, result);
    switch (result.status) {
    case PictureFile::Status::Usable:
        if (result.oldDate < state.oldestDate) {
            state.oldestDate = result.oldDate;
            if (observer)
                observer->oldestDateChanged(state.oldestDate);
        }
        if (state.newestDate < result.oldDate)
            state.newestDate = result.oldDate;
        ++state.validCount;
        break;
    case PictureFile::Status::NoDate:
    case PictureFile::Status::NotADate:
        qDebug("no valid EXIF : %s", path.toUtf8().constData());
        break;
    default:
        break;   // cannot be opened or no EXIF block: counted as a picture only
    }
}

void FolderWalk::shiftPicture(const QString &path)
{
    const PictureFile::Result result =
        PictureFile::shift(path, state.shiftSeconds, state.adaptFileTimes);
    if (result.status == PictureFile::Status::Changed)
        ++state.changedCount;
    if (observer)
        observer->pictureDone(path, result);
}
