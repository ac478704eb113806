#include "folderwalk.h"

#include <QFile>
#include <QtDebug>

#include <cstring>
#include <sys/stat.h>
#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#endif

FolderWalk::FolderWalk(WalkState &state, Observer *observer) : state(state), observer(observer) {}

// Whether a folder's entries can be listed. An empty listing does not tell
// an empty folder from one that could not be read.
static bool canList(const QString &path)
{
#ifdef _WIN32
    const QFileInfo info(path);
    return info.isReadable();
#else
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
#endif
}

bool FolderWalk::isPictureName(const QString &path)
{
    // Qt hands out paths with '/' separators on every platform.
    const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView extension = name.mid(dot + 1);
    for (const char *picture : {"jpg", "jpeg", "jpe", "jfif"})
        if (extension.compare(QLatin1String(picture), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Remembers the physical file or folder behind a path; false when this pass met
// it before (through a link, a second hard link, or a link cycle).
bool FolderWalk::firstVisit(const QString &path)
{
#ifdef _WIN32
    PictureFile::FileId id;
    if (PictureFile::identify(path, &id))
        return claim(id);
    // Without a file index (some network shares), the canonical path tells.
    const QString key = QFileInfo(path).canonicalFilePath().toCaseFolded();
    if (key.isEmpty())
        return true;   // let the step meet the error itself
    if (visitedPaths.contains(key))
        return false;
    visitedPaths.insert(key);
    return true;
#else
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return true;   // let the step meet the error itself
    return claim({uint64_t(status.st_dev), uint64_t(status.st_ino)});
#endif
}

bool FolderWalk::claim(const PictureFile::FileId &id)
{
    const QPair<quint64, quint64> key(id.device, id.inode);
    if (visitedIds.contains(key))
        return false;
    visitedIds.insert(key);
    return true;
}

bool FolderWalk::leadsOutside(const QFileInfo &entry) const
{
    if (followOutsideLinks || !entry.isSymLink() || topCanonical.isEmpty())
        return false;
    const QString target = entry.canonicalFilePath();
    if (target.isEmpty())
        return false;   // a dangling link: the step meets the error itself
#ifdef _WIN32
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    const QString top = topCanonical.endsWith(QLatin1Char('/')) ? topCanonical : topCanonical + QLatin1Char('/');
    return !(target.compare(topCanonical, cs) == 0 || target.startsWith(top, cs));
}

void FolderWalk::scanFolder(const QDir &folder)
{
    if (depth == 0)
        topCanonical = QFileInfo(folder.path()).canonicalFilePath();
    if (!firstVisit(folder.path()))
        return;
    const QFileInfoList entries = folder.entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot, QDir::NoSort);
    ++state.folderCount;
    if (entries.isEmpty() && !canList(folder.path())) {
        // Its pictures are unknown: counted and named, never passed over in silence.
        unreadable(folder.path(), "folder cannot be read");
        return;
    }
    if (state.phase != WalkState::Survey)
        countUndecodableNames(folder.path());
    if (entries.isEmpty() || state.cancelRequested)
        return;
    // Sidecars are met in the listing; they are no pictures of their own.
    QHash<QString, QString> here;
    if (state.phase != WalkState::Survey) {
        for (const QFileInfo &entry : entries) {
            const QString name = entry.fileName();
            if (name.size() > 4 && name.endsWith(QLatin1String(".xmp"), Qt::CaseInsensitive) && !entry.isDir())
                here.insert(name.toCaseFolded(), entry.filePath());
        }
    }
    sidecars = here;
    for (const QFileInfo &entry : entries) {
        const QString path = entry.filePath();
        if ((entry.isDir() || isPictureName(path)) && leadsOutside(entry)) {
            ++state.outsideLinks;
            if (observer)
                observer->linkSkipped(path);
        } else if (entry.isDir()) {
            ++depth;
            scanFolder(QDir(path));
            --depth;
            sidecars = here;
        } else if (isPictureName(path)) {
            handlePicture(path);
        }
        if (state.cancelRequested)
            return;
    }
}

void FolderWalk::unreadable(const QString &path, const char *reason)
{
    if (state.phase == WalkState::Dating)
        ++state.unreadableCount;
    if (state.phase != WalkState::Survey) {
        qDebug("%s : %s", reason, path.toUtf8().constData());
        if (observer)
            observer->unreadable(path, reason);
    }
}

// A name that is not valid UTF-8 cannot be held in a path of this program,
// and the listing leaves it out. Pictures and folders with such names are
// counted and named (with a replacement character), so that none is passed
// over in silence.
void FolderWalk::countUndecodableNames(const QString &folder)
{
#ifdef _WIN32
    Q_UNUSED(folder);
#else
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;   // hidden, as for the listing
        const QString decoded = QString::fromUtf8(name);
        if (decoded.toUtf8() == name)
            continue;
        const QString path = folder + QLatin1Char('/') + decoded;
        struct stat status;
        const bool isFolder = entry->d_type == DT_DIR
                              || ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
                                  && ::fstatat(::dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode));
        if (isFolder)
            unreadable(path, "folder name is not valid UTF-8");
        else if (isPictureName(decoded))
            unreadable(path, "file name is not valid UTF-8");
    }
    ::closedir(dir);
#endif
}

QStringList FolderWalk::sidecarsOf(const QString &picturePath) const
{
    if (sidecars.isEmpty())
        return {};
    const QString name = picturePath.mid(picturePath.lastIndexOf(QLatin1Char('/')) + 1).toCaseFolded();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    QStringList found;
    for (const QString &candidate : {name.left(dot) + QStringLiteral(".xmp"), name + QStringLiteral(".xmp")}) {
        const auto it = sidecars.constFind(candidate);
        if (dot > 0 && it != sidecars.constEnd() && !found.contains(*it))
            found << *it;
    }
    return found;
}

// A picture met in the listing. The passes that open it learn its identity
// from the open file itself; the survey pass asks the file system.
void FolderWalk::handlePicture(const QString &path)
{
    const int phase = state.phase;
    const bool opens = phase == WalkState::Dating || phase == WalkState::Shifting;
    PictureFile::Claim claimOpened;
    if (opens && PictureFile::claimsFiles())
        claimOpened = [this](const PictureFile::FileId &id) { return claim(id); };
    else if (!firstVisit(path))
        return;
    if (phase == WalkState::Dating)
        datePicture(path, claimOpened);
    else if (phase == WalkState::Shifting && shiftStep)
        shiftStep(path, claimOpened);
    else if (phase == WalkState::Shifting)
        shiftPicture(path, claimOpened);
    else
        ++state.pictureCount;
}

void FolderWalk::datePicture(const QString &path, const PictureFile::Claim &claim)
{
    PictureFile::Result result = PictureFile::readDate(path, claim);
    if (result.status == PictureFile::Status::AlreadySeen)
        return;
    if (countCopies && result.status == PictureFile::Status::Usable) {
        PictureFile::countCopies(path, result.oldText, &result.xmpDates, &result.iptcDates);
        result.sidecars = int(sidecarsOf(path).size());
    }
    ++state.pictureCount;
    if (dated)
        dated(result);
    if (observer)
        observer->pictureDone(path, result);
    switch (result.status) {
    case PictureFile::Status::Usable:
        if (PictureFile::claimsFiles())
            usableIds.insert({result.device, result.inode}, result.oldDate.toSecsSinceEpoch());
        else
            usablePaths.insert(QFileInfo(path).canonicalFilePath().toCaseFolded(), result.oldDate.toSecsSinceEpoch());
        if (!state.oldestDate.isValid() || result.oldDate < state.oldestDate) {
            state.oldestDate = result.oldDate;
            if (observer)
                observer->oldestDateChanged(state.oldestDate);
        }
        if (!state.newestDate.isValid() || state.newestDate < result.oldDate)
            state.newestDate = result.oldDate;
        ++state.validCount;
        if (result.readOnly)
            ++state.readOnlyCount;
        break;
    case PictureFile::Status::NoDate:
    case PictureFile::Status::NotADate:
        qDebug("no valid EXIF : %s", path.toUtf8().constData());
        break;
    case PictureFile::Status::ReadFailed:
        ++state.unreadableCount;
        qDebug("read failed : %s", path.toUtf8().constData());
        break;
    case PictureFile::Status::CannotOpen:
        ++state.unreadableCount;
        qDebug("cannot be opened : %s", path.toUtf8().constData());
        break;
    default:
        break;   // no EXIF block: counted as a picture only
    }
}

void FolderWalk::shiftPicture(const QString &path, const PictureFile::Claim &claim)
{
    const PictureFile::Result result =
        PictureFile::shift(path, state.shiftSeconds, state.adaptFileTimes, claim);
    if (result.status == PictureFile::Status::AlreadySeen)
        return;
    ++state.pictureCount;
    if (result.status == PictureFile::Status::Changed)
        ++state.changedCount;
    if (observer)
        observer->pictureDone(path, result);
}
