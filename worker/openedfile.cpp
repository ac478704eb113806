#include "openedfile.h"

#include "capturedate.h"
#include "fileformat.h"
#include "formatlist.h"
#include "pathbytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif


#ifdef _WIN32
namespace {
HANDLE handleOf(FILE *file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}
// FILETIME counts 100 ns steps since 1601-01-01.
constexpr int64_t fileTimeEpoch = 116444736000000000LL;
FILETIME fileTime(int64_t ns)
{
    const int64_t ticks = ns / 100 + fileTimeEpoch;
    FILETIME t;
    t.dwLowDateTime = DWORD(uint64_t(ticks) & 0xFFFFFFFFu);
    t.dwHighDateTime = DWORD(uint64_t(ticks) >> 32);
    return t;
}
int64_t nanoseconds(const FILETIME &t)
{
    const int64_t ticks = int64_t((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    return (ticks - fileTimeEpoch) * 100;
}
} // namespace
#endif

bool OpenedFile::statPath(const QString &path, FileStatus *status)
{
#ifdef _WIN32
    return _wstat64(reinterpret_cast<const wchar_t *>(path.utf16()), status) == 0;
#else
    return PathBytes::stat(PathBytes::encode(path), status);
#endif
}

FILE *OpenedFile::openStream(const QString &path, const char *mode)
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

bool OpenedFile::identify(const QString &path, FileIdentity *id)
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

bool OpenedFile::open(const QString &path, bool forUpdate)
{
    close();
    loaded = 0;
    haveStatus = false;
#ifdef _WIN32
    file = openStream(path, forUpdate ? "rb+" : "rb");
    if (!file)
        return false;
    openPath = path;
    forWriting = forUpdate;
    haveStatus = _fstat64(_fileno(file), &status) == 0;
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(handleOf(file), &information)) {
        fileId = FileIdentity::fromWindows(information.dwVolumeSerialNumber, information.nFileIndexHigh,
                                            information.nFileIndexLow);
    } else {
        // No identity to be had: one that no other file gets, so that the
        // picture is never taken for one met before.
        static std::atomic<uint64_t> unknown{0};
        fileId = {UINT64_MAX, ++unknown};
    }
#else
    // Non-blocking, so that a FIFO or device with a picture's name cannot hang
    // the pass; the flag does not change reads and writes of regular files.
    const QByteArray name = PathBytes::encode(path);
    const int flags = (forUpdate ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
#ifdef O_NOATIME
    // Reading a picture should not move its access time: a shift that keeps
    // the file times, and an undo, put back the times from before any read.
    // Only the file's owner may ask for that; others read as usual.
    fd = PathBytes::open(name, flags | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = PathBytes::open(name, flags);
#else
    fd = PathBytes::open(name, flags);
#endif
    if (fd < 0)
        return false;
    haveStatus = fstat(fd, &status) == 0;
#endif
    return true;
}

bool OpenedFile::isOpen() const
{
#ifdef _WIN32
    return file != nullptr;
#else
    return fd >= 0;
#endif
}

bool OpenedFile::close()
{
    bool closed = true;
#ifdef _WIN32
    if (file)
        closed = fclose(file) == 0;
    file = nullptr;
#else
    if (fd >= 0)
        closed = ::close(fd) == 0;
    fd = -1;
#endif
    return closed;
}

bool OpenedFile::tryLock()
{
#ifdef _WIN32
    OVERLAPPED whole{};
    return LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                      MAXDWORD, &whole) != 0;
#else
    // An open-file-description lock: it belongs to this open file alone, so a
    // second open of the same picture elsewhere in this process does not share it.
    struct flock whole{};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    if (fcntl(fd, F_OFD_SETLK, &whole) == 0)
        return true;
    if (errno != EINVAL)
        return false;
#endif
    return flock(fd, LOCK_EX | LOCK_NB) == 0;
#endif
}

bool OpenedFile::statusNow(FileStatus *now) const
{
#ifdef _WIN32
    return file && _fstat64(_fileno(file), now) == 0;
#else
    return fd >= 0 && fstat(fd, now) == 0;
#endif
}

bool OpenedFile::pathLeadsHere(const QString &path, FileStatus *now, bool *throughLink) const
{
#ifdef _WIN32
    Q_UNUSED(now);
    Q_UNUSED(throughLink);
    FileIdentity there;
    return identify(path, &there) && there == fileId;
#else
    // The name itself first: a link put in the file's place since is told
    // apart from the file (one call either way for a plain file).
    struct stat there;
    const QByteArray name = PathBytes::encode(path);
    const bool named = ::lstat(name.constData(), &there) == 0;
    if (!named || S_ISLNK(there.st_mode)) {
        // A link, or a name too long for one call: follow it.
        if (throughLink)
            *throughLink = named;
        if (!PathBytes::stat(name, &there))
            return false;
    }
    if (now)
        *now = there;   // the very file that is open: its status now
    return there.st_dev == status.st_dev && there.st_ino == status.st_ino;
#endif
}

#ifdef _WIN32
bool OpenedFile::fileTimes(int64_t *accessNs, int64_t *modificationNs) const
{
    FILETIME access, modification;
    if (!file || !GetFileTime(handleOf(file), nullptr, &access, &modification))
        return false;
    *accessNs = nanoseconds(access);
    *modificationNs = nanoseconds(modification);
    return true;
}
#endif

#ifdef _WIN32
FileIdentity OpenedFile::id() const
{
    FileIdentity identity = haveStatus ? FileIdentity::of(status) : FileIdentity();
    identity.device = fileId.device;
    identity.inode = fileId.inode;
    return identity;
}
#endif

size_t OpenedFile::fileSize() const
{
    return haveStatus ? size_t(std::max<int64_t>(status.st_size, 0)) : SIZE_MAX;
}

bool OpenedFile::load(size_t n)
{
    n = std::min(n, fileSize());
    if (n <= loaded)
        return true;
    if (bytes.size() < n)
        bytes.resize(n);
    if (!readAt(int64_t(loaded), bytes.data() + loaded, n - loaded))
        return false;
    loaded = n;
    return true;
}

bool OpenedFile::readAt(int64_t offset, char *data, size_t n)
{
#ifdef _WIN32
    if (_fseeki64(file, offset, SEEK_SET) != 0)
        return false;
    return fread(data, 1, n, file) == n;
#else
    while (n > 0) {
        const ssize_t got = pread(fd, data, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        n -= size_t(got);
        offset += got;
    }
    return true;
#endif
}

bool OpenedFile::writeAt(int64_t offset, const char *data, size_t n)
{
#ifdef _WIN32
    return _fseeki64(file, offset, SEEK_SET) == 0 && fwrite(data, 1, n, file) == n && fflush(file) == 0;
#else
    while (n > 0) {
        const ssize_t put = pwrite(fd, data, n, off_t(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        n -= size_t(put);
        offset += put;
    }
    return true;
#endif
}

bool OpenedFile::setTimes(int64_t atimeNs, int64_t mtimeNs)
{
#ifdef _WIN32
    const FILETIME access = fileTime(atimeNs), modification = fileTime(mtimeNs);
    return fflush(file) == 0 && SetFileTime(handleOf(file), nullptr, &access, &modification) != 0;
#else
    auto split = [](int64_t ns) {
        struct timespec t;
        int64_t seconds = ns / 1000000000LL, rest = ns % 1000000000LL;
        if (rest < 0) {
            rest += 1000000000LL;
            --seconds;
        }
        t.tv_sec = time_t(seconds);
        t.tv_nsec = long(rest);
        return t;
    };
    const struct timespec times[2] = {split(atimeNs), split(mtimeNs)};
    return futimens(fd, times) == 0;
#endif
}

bool OpenedFile::syncData()
{
#ifdef _WIN32
    if (fflush(file) != 0)
        return false;
    if (forWriting)
        return FlushFileBuffers(handleOf(file)) != 0;
    // FlushFileBuffers needs a handle with write access: a file opened for
    // reading is flushed through a second handle that may write.
    const HANDLE writable = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(openPath).utf16()),
                                        GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (writable == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(writable) != 0;
    return CloseHandle(writable) != 0 && flushed;
#else
    return fdatasync(fd) == 0;
#endif
}

bool OpenedFile::syncFileSystem()
{
#if defined(__linux__)
    return syncfs(fd) == 0;
#else
    return syncData();
#endif
}

namespace {
// A read that ends no further than this past the bytes held extends them; one
// further away is served from the window.
constexpr uint64_t kNearby = 65536;
// The least a window reads, from the offset asked for.
constexpr size_t kWindow = 16384;
}

// Most headers fit in the first 16 KB. Beyond that a format asks for whole
// segments: read up to the end of the one asked for and a page more, which
// holds the next segment's marker and length.
bool OpenedFile::Held::hold(uint64_t offset, size_t n)
{
    const uint64_t size = picture.fileSize();
    if (offset > size || n > size - offset)
        return false;
    const size_t want = size_t(offset + n);
    if (want > picture.loaded) {
        const size_t page = 4096;
        const size_t next = picture.loaded == 0 ? std::max<size_t>(want, 16384) : (want + 2 * page - 1) / page * page;
        if (!picture.load(next) || picture.loaded < want)
            return false;
    }
    return true;
}

const unsigned char *OpenedFile::Held::window(uint64_t offset, size_t n)
{
    const uint64_t size = picture.fileSize();
    if (offset > size || n > size - offset)
        return nullptr;
    if (offset + n <= picture.loaded + kNearby || picture.loaded == 0)
        return hold(offset, n) ? reinterpret_cast<const unsigned char *>(picture.bytes.data()) + offset : nullptr;
    if (offset < asideStart || offset + n > asideStart + aside.size()) {
        const size_t length = size_t(std::min<uint64_t>(std::max(n, kWindow), size - offset));
        aside.resize(length);
        asideStart = offset;
        if (!picture.readAt(int64_t(offset), reinterpret_cast<char *>(aside.data()), length)) {
            aside.clear();
            return nullptr;
        }
    }
    return aside.data() + (offset - asideStart);
}

const unsigned char *OpenedFile::Held::peek(uint64_t offset, size_t n)
{
    return window(offset, n);
}

PictureStatus OpenedFile::locateDates(PictureResult *result, FoundDates *found, const QString &name)
{
    *found = FoundDates();
    unsigned char head[FileFormat::sniffBytes];
    const size_t n = size_t(std::min<uint64_t>(sizeof head, fileSize()));
    if (!held.readAt(0, head, n))
        return PictureStatus::NoExif;
    const FileFormat *format = FormatList::forContent(head, n);
    if (!format)
        return PictureStatus::NoExif;   // no format claims it: no date to be had
    result->format = format;
    if (!name.isEmpty()) {
        // The format names the kind (a TIFF structure is a RAW file or a TIFF
        // picture by its name).
        const QByteArray extension = PictureResult::extensionOf(name);
        result->kind = format->kind(extension.constData(), size_t(extension.size()));
    }
    format->locate(held, found);
    if (!found->diagnostic.empty())
        std::puts(found->diagnostic.c_str());   // the reader's own line, as it always wrote it
    if (found->unsupported) {
        // Its camera still counts for the camera list when it could be read.
        if (found->hasMetadata)
            result->camera = PictureResult::cameraName(found->make.c_str(), found->model.c_str());
        return PictureStatus::Unsupported;
    }
    if (!found->hasMetadata)
        return PictureStatus::NoExif;
    result->camera = PictureResult::cameraName(found->make.c_str(), found->model.c_str());
    result->oldText = QByteArray::fromStdString(found->captureText);
    if (CaptureDate::colonCount(result->oldText.constData(), int(result->oldText.size())) != 4)
        return PictureStatus::NoDate;
    result->oldDate = CaptureDate::parse(result->oldText);
    if (!result->oldDate.isValid())
        return PictureStatus::NotADate;
    if (found->captureUtc && !toLocalTime(result, found))
        return PictureStatus::NotADate;
    return PictureStatus::Usable;
}

// A capture time the file keeps in UTC (a video's header with no copy that
// names its zone) is read as the computer's local time at that instant, as
// the video's player shows it. The fields keep their UTC bytes: each one's
// distance from the capture time grows by the zone's offset.
bool OpenedFile::toLocalTime(PictureResult *result, FoundDates *found)
{
    const QDateTime local = result->oldDate.toLocalTime();
    const QDateTime wallClock(local.date(), local.time(), Qt::UTC);
    const QByteArray text = CaptureDate::format(wallClock);
    if (text.size() != CaptureDate::textLength)
        return false;
    const qint64 offset = result->oldDate.secsTo(wallClock);
    for (DateField &f : found->fields)
        f.skew -= offset;
    found->captureText = text.toStdString();
    found->captureUtc = false;
    result->oldText = text;
    result->oldDate = wallClock;
    result->fromUtc = true;
    return true;
}
