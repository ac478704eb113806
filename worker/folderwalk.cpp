#include "folderwalk.h"

#include "formatlist.h"
#include "openedfile.h"
#include "pathbytes.h"

#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
// Folder descriptors the walk keeps open at most; deeper folders give theirs
// back and open them again (by path) when they are needed once more.
constexpr int folderDescriptors = 48;

bool isSidecarName(const QString &name)
{
    return name.size() > 4 && name.endsWith(QLatin1String(".xmp"), Qt::CaseInsensitive);
}
} // namespace

// One name of a folder's listing.
struct FolderWalk::Entry {
    QString name;
    QByteArray raw;          // the name's bytes (POSIX)
    bool folder = false;     // a folder, or a link to one
    bool link = false;       // a symbolic link
};

// A folder on the walk's stack: its subfolders not yet entered.
struct FolderWalk::Frame {
    QString path;
    int fd = -1;                      // POSIX: the folder, open (or -1)
    FileIdentity id;
    std::vector<Entry> folders;
    size_t next = 0;
};

FolderWalk::FolderWalk(WalkState &state, Observer *observer) : state(state), observer(observer) {}

bool FolderWalk::isPictureName(const QString &path)
{
    // Qt hands out paths with '/' separators on every platform.
    const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    // The extensions the formats declare; the content decides later.
    const QByteArray extension = name.mid(dot + 1).toLatin1();
    return FormatList::isCandidate(extension.constData(), size_t(extension.size()));
}

// Remembers the physical file or folder behind a path; false when this pass met
// it before (through a link, a second hard link, or a link cycle).
bool FolderWalk::firstVisit(const QString &path)
{
#ifdef _WIN32
    FileIdentity id;
    if (OpenedFile::identify(path, &id))
        return claim(id);
    // Without a file index (some network shares), the canonical path tells.
    const QString key = PathBytes::canonical(path).toCaseFolded();
    if (key.isEmpty())
        return true;   // let the step meet the error itself
    std::lock_guard<std::mutex> hold(claiming);
    if (visitedPaths.contains(key))
        return false;
    visitedPaths.insert(key);
    return true;
#else
    struct stat status;
    if (!PathBytes::stat(PathBytes::encode(path), &status))
        return true;   // let the step meet the error itself
    return claim(FileIdentity::of(status));
#endif
}

bool FolderWalk::claim(const FileIdentity &id)
{
    std::lock_guard<std::mutex> hold(claiming);
    if (visitedIds.contains(id))
        return false;
    visitedIds.insert(id);
    return true;
}

bool FolderWalk::leadsOutside(const QString &path) const
{
    if (followOutsideLinks || topCanonical.isEmpty())
        return false;
    const QString target = PathBytes::canonical(path);
    if (target.isEmpty()) {
        // A dangling link or a loop: the step meets the error itself. A link
        // that cannot be resolved for another reason is not followed.
#ifndef _WIN32
        if (errno != ENOENT && errno != ELOOP && errno != ENOTDIR)
            return true;
#endif
        return false;
    }
    return !PathBytes::isWithin(target, topCanonical);
}

// Lists a folder's entries (hidden names left out). False when the folder
// could not be listed, or not to its end.
bool FolderWalk::list(const Frame &frame, std::vector<Entry> *entries)
{
#ifdef _WIN32
    const QFileInfoList infos = QDir(frame.path).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &info : infos) {
        Entry entry;
        entry.name = info.fileName();
        entry.folder = info.isDir();
        // Symbolic links and junctions both lead elsewhere (reparse points).
        entry.link = info.isSymLink() || info.isJunction();
        entries->push_back(entry);
    }
    return !infos.isEmpty() || QFileInfo(frame.path).isReadable();
#else
    const int listing = ::dup(frame.fd);
    DIR *dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return false;
    }
    bool complete = true;
    for (;;) {
        errno = 0;
        const dirent *d = ::readdir(dir);
        if (!d) {
            complete = errno == 0;
            break;
        }
        if (d->d_name[0] == '.')
            continue;   // ".", ".." and hidden names
        Entry entry;
        entry.raw = QByteArray(d->d_name);
        entry.name = PathBytes::decode(entry.raw);
        entry.link = d->d_type == DT_LNK;
        entry.folder = d->d_type == DT_DIR;
        if (d->d_type == DT_LNK || d->d_type == DT_UNKNOWN) {
            struct stat status;
            if (d->d_type == DT_UNKNOWN && ::fstatat(frame.fd, d->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0)
                entry.link = S_ISLNK(status.st_mode);
            entry.folder = ::fstatat(frame.fd, d->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        }
        entries->push_back(std::move(entry));
    }
    ::closedir(dir);
    return complete;
#endif
}

// Enters a folder: opens it (relative to its parent where there is one),
// makes sure this pass has not met it, and puts it on the stack. False when it
// was met before or could not be opened.
bool FolderWalk::enter(Frame *parent, const QString &path, const QByteArray &name, std::vector<Frame> *stack)
{
    Frame frame;
    frame.path = path;
#ifdef _WIN32
    Q_UNUSED(parent);
    Q_UNUSED(name);
    if (!firstVisit(path))
        return false;
#else
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (parent && parent->fd < 0) {
        // Given back to save descriptors: open it again, if it is still the
        // folder that was met.
        parent->fd = PathBytes::open(PathBytes::encode(parent->path), flags);
        struct stat again;
        if (parent->fd >= 0
            && (::fstat(parent->fd, &again) != 0 || FileIdentity::of(again) != parent->id)) {
            ::close(parent->fd);
            parent->fd = -1;
        }
        if (parent->fd >= 0)
            ++openFolders;
    }
    frame.fd = parent && parent->fd >= 0 ? ::openat(parent->fd, name.constData(), flags)
                                         : PathBytes::open(PathBytes::encode(path), flags);
    struct stat status;
    if (frame.fd >= 0 && ::fstat(frame.fd, &status) == 0) {
        frame.id = FileIdentity::of(status);
        if (!claim(frame.id)) {
            ::close(frame.fd);
            return false;
        }
    } else if (frame.fd >= 0) {
        ::close(frame.fd);
        frame.fd = -1;
    }
    if (frame.fd >= 0)
        ++openFolders;
    // A deep tree must not run out of descriptors: the shallowest folders
    // still holding one give it back.
    for (Frame &f : *stack) {
        if (openFolders < folderDescriptors)
            break;
        if (f.fd >= 0) {
            ::close(f.fd);
            f.fd = -1;
            --openFolders;
        }
    }
#endif
    ++state.folderCount;
    std::vector<Entry> entries;
    const bool listed =
#ifndef _WIN32
        frame.fd >= 0 &&
#endif
        list(frame, &entries);
    if (!listed)
        // Its pictures are unknown: counted and named, never passed over in silence.
        unreadable(path, entries.empty() ? "folder cannot be read" : "folder could not be read to its end");
    take(frame, entries);
    stack->push_back(std::move(frame));
    return true;
}

// Takes in a folder's listing: hands its pictures on and keeps its subfolders
// for later.
void FolderWalk::take(Frame &frame, std::vector<Entry> &entries)
{
    if (state.cancelRequested)
        return;
    // Sidecars are met in the listing; they are no pictures of their own. A
    // sidecar that is a link leading outside the folder is no more written
    // than such a picture.
    // A link leading outside the folder is counted and told, never taken.
    auto leftOutside = [&](const Entry &entry, const QString &path) {
        if (!entry.link || !leadsOutside(path))
            return false;
        ++state.outsideLinks;
        if (observer)
            observer->linkSkipped(path);
        return true;
    };
    QHash<QString, QString> sidecars;
    if (state.phase != WalkState::Survey) {
        for (const Entry &entry : entries) {
            if (entry.folder || !isSidecarName(entry.name))
                continue;
            const QString path = frame.path + QLatin1Char('/') + entry.name;
            if (!leftOutside(entry, path))
                sidecars.insert(entry.name.toCaseFolded(), path);
        }
    }
    // NAME.xmp belongs to the RAW file of that name when there is one beside
    // a JPEG (the programs that write it describe the RAW file): it moves
    // once, with the RAW file. NAME.EXT.xmp belongs to NAME.EXT alone. The
    // content is not read yet, so the names tell which files are RAW files.
    auto stemOf = [](const QString &folded) { return folded.left(folded.lastIndexOf(QLatin1Char('.'))); };
    QSet<QString> rawStems;
    if (!sidecars.isEmpty()) {
        for (const Entry &entry : entries) {
            FileKind kind;
            if (!entry.folder && PictureResult::kindOfName(entry.name, &kind) && kind == FileKind::Raw)
                rawStems.insert(stemOf(entry.name.toCaseFolded()));
        }
    }
    auto sidecarsOf = [&](const QString &name) {
        QStringList found;
        if (sidecars.isEmpty())
            return found;
        const QString folded = name.toCaseFolded();
        const qsizetype dot = folded.lastIndexOf(QLatin1Char('.'));
        if (dot <= 0)
            return found;
        const QString stem = stemOf(folded);
        FileKind kind;
        const bool raw = PictureResult::kindOfName(name, &kind) && kind == FileKind::Raw;
        QStringList candidates{folded + QStringLiteral(".xmp")};
        if (raw || !rawStems.contains(stem))
            candidates.prepend(stem + QStringLiteral(".xmp"));
        for (const QString &candidate : candidates) {
            const auto it = sidecars.constFind(candidate);
            if (it != sidecars.constEnd() && !found.contains(*it))
                found << *it;
        }
        return found;
    };
    std::vector<Entry> folders;
    for (Entry &entry : entries) {
        if (!entry.folder && !isPictureName(entry.name))
            continue;
        const QString path = frame.path + QLatin1Char('/') + entry.name;
        if (leftOutside(entry, path))
            continue;
        if (entry.folder) {
            folders.push_back(std::move(entry));
        } else {
            handlePicture(frame, entry, path, sidecarsOf(entry.name));
        }
    }
    frame.folders = std::move(folders);
}

void FolderWalk::scanFolder(const QString &folder)
{
    topCanonical = PathBytes::canonical(folder);
    std::vector<Frame> stack;
    enter(nullptr, folder, {}, &stack);
    while (!stack.empty() && !state.cancelRequested) {
        Frame &top = stack.back();
        if (top.next < top.folders.size()) {
            const Entry &entry = top.folders[top.next++];
            const QString path = top.path + QLatin1Char('/') + entry.name;
            const QByteArray raw = entry.raw;
            enter(&top, path, raw, &stack);   // may move the stack: `top` is not used after
            continue;
        }
#ifndef _WIN32
        if (top.fd >= 0) {
            ::close(top.fd);
            --openFolders;
        }
#endif
        stack.pop_back();
    }
#ifndef _WIN32
    for (const Frame &frame : stack)
        if (frame.fd >= 0)
            ::close(frame.fd);
#endif
    openFolders = 0;
    flush();
}

void FolderWalk::unreadable(const QString &path, const char *reason)
{
    if (state.phase == WalkState::Dating)
        ++state.unreadableCount;
    if (state.phase != WalkState::Survey) {
        qDebug("%s : %s", reason, PathBytes::displayBytes(path).constData());
        if (observer)
            observer->unreadable(path, reason);
    }
}

// A picture met in a listing. The passes that open it learn its identity from
// the open file itself; the survey pass asks the file system.
void FolderWalk::handlePicture(const Frame &frame, const Entry &entry, const QString &path, QStringList sidecars)
{
    const int phase = state.phase;
    if (phase == WalkState::Survey) {
#ifdef _WIN32
        Q_UNUSED(frame);   // names are looked up by path there
        Q_UNUSED(entry);
        const bool first = firstVisit(path);
#else
        struct stat status;
        const bool first = frame.fd < 0 || ::fstatat(frame.fd, entry.raw.constData(), &status, 0) != 0
                               ? firstVisit(path)
                               : claim(FileIdentity::of(status));
#endif
        if (first)
            ++state.pictureCount;
        return;
    }
    chunk.push_back({path, std::move(sidecars)});
    // Enough pictures to keep every job busy for a while; one at a time
    // without a pool, as the listing meets them.
    const size_t enough = pool && pool->jobs() > 1 ? std::min<size_t>(size_t(pool->jobs()) * 16, 256) : 1;
    if (chunk.size() >= enough)
        flush();
}

void FolderWalk::flush()
{
    if (chunk.empty())
        return;
    std::vector<Item> items;
    items.swap(chunk);
    if (state.cancelRequested)
        return;   // the pictures not yet read are left as they are
    const FileIdentity::Claim claimOpened = [this](const FileIdentity &id) { return claim(id); };
    if (state.phase == WalkState::Shifting) {
        if (shiftChunk)
            shiftChunk(items);
        return;
    }
    // Dating: the pool reads, this thread takes in what was read.
    std::vector<PictureResult> results(items.size());
    std::vector<DateRecord> found(keepRecords ? items.size() : 0);
    std::vector<char> read(items.size(), 0);
    auto readOne = [&](size_t i) {
        if (state.cancelRequested)
            return;
        results[i] = DateReader::read(items[i].path, claimOpened, countCopies, keepRecords ? &found[i] : nullptr);
        if (countCopies && results[i].status == PictureStatus::Usable)
            results[i].sidecars = int(items[i].sidecars.size());
        read[i] = 1;
    };
    if (pool)
        pool->forEach(items.size(), readOne);
    else
        for (size_t i = 0; i < items.size(); ++i)
            readOne(i);
    for (size_t i = 0; i < items.size(); ++i) {
        if (!read[i])
            continue;
        takeDated(items[i].path, results[i]);
        if (keepRecords && results[i].status == PictureStatus::Usable && found[i].isValid()) {
            // One copy of each camera's name serves all its pictures.
            QString &camera = cameraNames[found[i].camera];
            if (camera.isNull())
                camera = found[i].camera;
            found[i].camera = camera;
            usableRecords.insert(results[i].file, std::move(found[i]));
        }
    }
}

void FolderWalk::takeDated(const QString &path, PictureResult &result)
{
    if (result.status == PictureStatus::AlreadySeen)
        return;
    ++state.pictureCount;
    if (dated)
        dated(path, result);
    if (observer)
        observer->pictureDone(path, result);
    switch (result.status) {
    case PictureStatus::Usable:
        usableIds.insert(result.file, result.oldDate.toSecsSinceEpoch());
        if (!state.oldestDate.isValid() || result.oldDate < state.oldestDate) {
            state.oldestDate = result.oldDate;
            state.oldestPath = path;
            if (observer)
                observer->oldestDateChanged(state.oldestDate);
        } else if (result.oldDate == state.oldestDate && path < state.oldestPath) {
            state.oldestPath = path;   // of equal dates, the path that sorts first
        }
        if (!state.newestDate.isValid() || state.newestDate < result.oldDate
            || (result.oldDate == state.newestDate && path < state.newestPath)) {
            state.newestDate = result.oldDate;
            state.newestPath = path;
        }
        ++state.validCount;
        if (result.readOnly)
            ++state.readOnlyCount;
        break;
    case PictureStatus::NoDate:
    case PictureStatus::NotADate:
        qDebug("no valid EXIF : %s", PathBytes::displayBytes(path).constData());
        break;
    case PictureStatus::ReadFailed:
        ++state.unreadableCount;
        qDebug("read failed : %s", PathBytes::displayBytes(path).constData());
        break;
    case PictureStatus::CannotOpen:
        ++state.unreadableCount;
        qDebug("cannot be opened : %s", PathBytes::displayBytes(path).constData());
        break;
    default:
        break;   // no EXIF block: counted as a picture only
    }
}
