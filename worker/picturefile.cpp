#include "picturefile.h"

#include "capturedate.h"
#include "exifreader.h"

#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#include <io.h>
#include <QDir>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

// On glibc the EXIF engine reads a picture's header from memory through a
// custom stream, so that the header is read from the file once, in large
// positioned reads, and the rewrite searches the very bytes the engine read.
// Elsewhere the engine reads the file's own stream and the rewrite reads the
// header again.
#if defined(__GLIBC__)
#define KELVARO_HEADER_IN_MEMORY 1
#endif

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
bool statFile(const QString &path, FileStatus *status)
{
    return _wstat64(reinterpret_cast<const wchar_t *>(path.utf16()), status) == 0;
}

// The times a rewrite keeps, as the file system holds them (100 ns steps
// since 1601): the C runtime's time calls refuse times before 1970.
struct FileTimes {
    FILETIME access;
    FILETIME modification;
};

bool setFileTime(const QString &path, const FILETIME &access, const FILETIME &modification)
{
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                      FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool set = SetFileTime(handle, nullptr, &access, &modification) != 0;
    return CloseHandle(handle) != 0 && set;
}

// Sets both times to whole seconds since 1970 (earlier ones too, back to
// 1601), or restores them from the times saved before a rewrite.
bool writeFileTimes(const QString &path, qint64 seconds, const FileTimes *restore)
{
    if (restore)
        return setFileTime(path, restore->access, restore->modification);
    constexpr qint64 secondsFrom1601To1970 = 11644473600;
    constexpr qint64 ticksPerSecond = 10000000;
    if (seconds < -secondsFrom1601To1970 || seconds > (INT64_MAX / ticksPerSecond) - secondsFrom1601To1970)
        return false;
    const quint64 ticks = quint64(seconds + secondsFrom1601To1970) * quint64(ticksPerSecond);
    FILETIME time;
    time.dwLowDateTime = DWORD(ticks & 0xffffffffu);
    time.dwHighDateTime = DWORD(ticks >> 32);
    return setFileTime(path, time, time);
}
#else
using FileStatus = struct stat;
bool statFile(const QString &path, FileStatus *status)
{
    return ::stat(QFile::encodeName(path).constData(), status) == 0;
}

// The times a rewrite keeps: those of the file's status.
using FileTimes = FileStatus;

// Sets both times to whole seconds, or restores them from an earlier status.
bool writeFileTimes(const QString &path, qint64 seconds, const FileTimes *restore)
{
    struct timespec times[2];
    if (restore) {
        times[0] = restore->st_atim;
        times[1] = restore->st_mtim;
    } else {
        times[0].tv_sec = times[1].tv_sec = time_t(seconds);
        times[0].tv_nsec = times[1].tv_nsec = 0;
    }
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}
#endif

void logPath(const char *format, const QString &path)
{
    qDebug(format, path.toUtf8().constData());
}

// Sets the file times to a wall-clock time read as local time. `statusKnown`
// tells whether the file's status could be read; the times are set either way.
bool applyFileTimes(const QString &path, const QDateTime &wallClock, bool statusKnown)
{
    if (!statusKnown)
        logPath("invalid filename : %s", path);
    qint64 seconds = 0;
    if (!CaptureDate::localInstant(wallClock, &seconds) || !writeFileTimes(path, seconds, nullptr)) {
        logPath("utime() failed with : %s", path);
        return false;
    }
    return true;
}

// One picture file, open for one step. Its first bytes are held in `bytes`
// as far as they were read (`loaded`).
class OpenPicture {
public:
    ~OpenPicture() { close(); }

    bool open(const QString &path, bool forUpdate);
    bool close();

    bool haveStatus = false;
    FileStatus status;

#ifdef _WIN32
    // Windows' st_ino is always 0: the volume's serial number and the file's
    // index tell files apart, as device and inode do elsewhere.
    bool knowsId() const { return haveId; }
    PictureFile::FileId id() const { return fileId; }
#else
    bool knowsId() const { return haveStatus; }
    PictureFile::FileId id() const { return {uint64_t(status.st_dev), uint64_t(status.st_ino)}; }
#endif

    // The file's times as they were when it was opened; null when unknown.
#ifdef _WIN32
    const FileTimes *savedTimes() const { return haveTimes ? &times : nullptr; }
#else
    const FileTimes *savedTimes() const { return &status; }
#endif

    // Reads DateTimeOriginal through the engine; sets headerEnd, the offset
    // just past the last header segment the engine read.
    PictureFile::Status readOriginalDate(PictureFile::Result *result);
    long headerEnd = 0;

    // Makes sure the file's first `n` bytes (fewer at its end) are held.
    bool load(size_t n);
    bool writeAt(long offset, const char *data, size_t n);

    std::vector<char> &bytes = buffer();
    size_t loaded = 0;

private:
    static std::vector<char> &buffer()
    {
        thread_local std::vector<char> held;
        return held;
    }
    size_t fileSize() const { return haveStatus ? size_t(std::max<int64_t>(status.st_size, 0)) : SIZE_MAX; }

#ifdef _WIN32
    FILE *file = nullptr;
    FileTimes times;
    bool haveTimes = false;
    PictureFile::FileId fileId{0, 0};
    bool haveId = false;
#else
    int fd = -1;
#endif
#ifdef KELVARO_HEADER_IN_MEMORY
    static ssize_t readHeld(void *cookie, char *to, size_t n);
    static int seekHeld(void *cookie, off64_t *offset, int whence);
    size_t streamPosition = 0;
#endif
};

bool OpenPicture::open(const QString &path, bool forUpdate)
{
#ifdef _WIN32
    file = PictureFile::open(path, forUpdate ? "rb+" : "rb");
    if (!file)
        return false;
    haveStatus = _fstat64(_fileno(file), &status) == 0;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    haveTimes = handle != INVALID_HANDLE_VALUE
                && GetFileTime(handle, nullptr, &times.access, &times.modification) != 0;
    BY_HANDLE_FILE_INFORMATION information;
    haveId = handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &information) != 0;
    if (haveId)
        fileId = PictureFile::windowsFileId(information.dwVolumeSerialNumber, information.nFileIndexHigh,
                                            information.nFileIndexLow);
#else
    fd = ::open(QFile::encodeName(path).constData(), (forUpdate ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return false;
    haveStatus = fstat(fd, &status) == 0;
#endif
    return true;
}

bool OpenPicture::close()
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

bool OpenPicture::load(size_t n)
{
    n = std::min(n, fileSize());
    if (n <= loaded)
        return true;
    if (bytes.size() < n)
        bytes.resize(n);
#ifdef _WIN32
    if (_fseeki64(file, static_cast<long long>(loaded), SEEK_SET) != 0)
        return false;
    const size_t got = fread(bytes.data() + loaded, 1, n - loaded, file);
    loaded += got;
    return loaded == n;
#else
    while (loaded < n) {
        const ssize_t got = pread(fd, bytes.data() + loaded, n - loaded, off_t(loaded));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        loaded += size_t(got);
    }
    return true;
#endif
}

bool OpenPicture::writeAt(long offset, const char *data, size_t n)
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
        offset += long(put);
    }
    return true;
#endif
}

#ifdef KELVARO_HEADER_IN_MEMORY
// The engine's stream: serves the held bytes and reads more of the file as
// the engine goes.
ssize_t OpenPicture::readHeld(void *cookie, char *to, size_t n)
{
    auto *picture = static_cast<OpenPicture *>(cookie);
    const size_t want = picture->streamPosition + n;
    if (want > picture->loaded) {
        // Most headers fit in the first 16 KB. Beyond that the engine asks for
        // whole segments: read up to the end of the one asked for and a page
        // more, which holds the next segment's marker and length.
        const size_t page = 4096;
        const size_t next = picture->loaded == 0 ? std::max<size_t>(want, 16384)
                                                 : (want + 2 * page - 1) / page * page;
        picture->load(next);   // a short file gives what it has
    }
    const size_t available = picture->loaded > picture->streamPosition
                                 ? std::min(n, picture->loaded - picture->streamPosition) : 0;
    memcpy(to, picture->bytes.data() + picture->streamPosition, available);
    picture->streamPosition += available;
    return ssize_t(available);
}

// Lets ftell tell how far the engine read (the stream's read-ahead aside).
int OpenPicture::seekHeld(void *cookie, off64_t *offset, int whence)
{
    auto *picture = static_cast<OpenPicture *>(cookie);
    off64_t base = 0;
    if (whence == SEEK_CUR)
        base = off64_t(picture->streamPosition);
    else if (whence == SEEK_END)
        base = off64_t(picture->fileSize());
    const off64_t to = base + *offset;
    if (to < 0)
        return -1;
    picture->streamPosition = size_t(to);
    *offset = to;
    return 0;
}
#endif

PictureFile::Status OpenPicture::readOriginalDate(PictureFile::Result *result)
{
    ExifInfo info{};
    {
        ExifReader reader(&info);
#if defined(KELVARO_HEADER_IN_MEMORY)
        cookie_io_functions_t functions = {&OpenPicture::readHeld, nullptr, &OpenPicture::seekHeld, nullptr};
        FILE *stream = fopencookie(this, "r", functions);
        if (!stream)
            return PictureFile::Status::ReadFailed;
        thread_local char streamBuffer[8192];
        setvbuf(stream, streamBuffer, _IOFBF, sizeof streamBuffer);
        reader.readJpeg(stream);
        headerEnd = ftell(stream);
        fclose(stream);
#elif defined(_WIN32)
        reader.readJpeg(file);
        headerEnd = ftell(file);
#else
        FILE *stream = fdopen(dup(fd), "rb");
        if (!stream)
            return PictureFile::Status::ReadFailed;
        reader.readJpeg(stream);
        headerEnd = ftell(stream);
        fclose(stream);
#endif
    }
    if (!info.hasExif)
        return PictureFile::Status::NoExif;
    const int length = int(strnlen(info.originalDateText, sizeof info.originalDateText));
    result->oldText = QByteArray(info.originalDateText, length);
    if (CaptureDate::colonCount(info.originalDateText, length) != 4)
        return PictureFile::Status::NoDate;
    result->oldDate = CaptureDate::parse(result->oldText);
    if (!result->oldDate.isValid())
        return PictureFile::Status::NotADate;
    return PictureFile::Status::Usable;
}

// Offsets of every 19-byte run equal to `text` in bytes[0, region), including
// one that ends on the region's last byte.
std::vector<long> findRuns(const char *bytes, long region, const char *text, int n)
{
    std::vector<long> runs;
    for (long j = 0; j + n <= region;) {
        const void *hit = memchr(bytes + j, text[0], size_t(region - n + 1 - j));
        if (!hit)
            break;
        j = long(static_cast<const char *>(hit) - bytes);
        if (memcmp(bytes + j, text, size_t(n)) == 0) {
            runs.push_back(j);
            j += n;
        } else {
            ++j;
        }
    }
    return runs;
}

} // namespace

FILE *PictureFile::open(const QString &path, const char *mode)
{
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t *>(path.utf16()),
                   reinterpret_cast<const wchar_t *>(QString::fromLatin1(mode).utf16()));
#else
    return fopen(QFile::encodeName(path).constData(), mode);
#endif
}

bool PictureFile::claimsFiles()
{
    return true;
}

#ifdef _WIN32
bool PictureFile::identify(const QString &path, FileId *id)
{
    // Opening follows links and junctions to what they name; no access right
    // is asked for, so that even a locked file or a folder tells its identity.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                      0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(handle, &information) != 0;
    CloseHandle(handle);
    if (known)
        *id = windowsFileId(information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow);
    return known;
}
#endif

PictureFile::Result PictureFile::readDate(const QString &path, const Claim &claim)
{
    Result result;
    OpenPicture picture;
    if (!picture.open(path, false))
        return result;
    if (claim && picture.knowsId() && !claim(picture.id())) {
        result.status = Status::AlreadySeen;
        return result;
    }
    result.status = picture.readOriginalDate(&result);
    return result;
}

PictureFile::Result PictureFile::shift(const QString &path, qint64 seconds, bool adaptFileTimes,
                                       const Claim &claim)
{
    Result result;
    OpenPicture picture;
    if (!picture.open(path, true)) {
        FileStatus status;
        const bool readOnly = statFile(path, &status) && (status.st_mode & 0222) == 0;
        logPath(readOnly ? "read-only, not changed : %s" : "cannot open for writing : %s", path);
        return result;
    }
    if (claim && picture.knowsId() && !claim(picture.id())) {
        result.status = Status::AlreadySeen;
        return result;
    }
    // A picture that nobody may write is one the user protected: leave it alone
    // even where the process could write it anyway (as the superuser can).
    if (picture.haveStatus && (picture.status.st_mode & 0222) == 0) {
        logPath("read-only, not changed : %s", path);
        return result;
    }

    result.status = picture.readOriginalDate(&result);
    if (result.status != Status::Usable)
        return result;   // no usable date: nothing to do, nothing to report

    result.newDate = result.oldDate.addSecs(seconds);
    const QByteArray newText = CaptureDate::format(result.newDate);
    if (newText.size() != CaptureDate::textLength) {
        logPath("date out of range : %s", path);
        result.status = Status::OutOfRange;
        return result;
    }

    // The region searched: the header segments the reader went through, at
    // least the first 4096 bytes, never past the end of the file.
    const long region = std::max(picture.headerEnd, minimumRegion);
    if (!picture.haveStatus || !picture.load(size_t(region))) {
        logPath("read failed : %s", path);
        result.status = Status::ReadFailed;
        return result;
    }
    const int n = CaptureDate::textLength;
    const long searched = std::min(region, long(picture.loaded));
    const std::vector<long> runs =
        findRuns(picture.bytes.data(), searched, result.oldText.constData(), n);
    if (runs.empty()) {
        logPath("date not found : %s", path);
        result.status = Status::DateNotFound;
        return result;
    }

    // Patch the held bytes, then write back the runs. Runs that lie close
    // together (DateTime, DateTimeOriginal and DateTimeDigitized usually do) go
    // out in one write together with the bytes between them, exactly as they
    // were read; nothing outside the region read is ever written.
    for (long at : runs)
        memcpy(picture.bytes.data() + at, newText.constData(), size_t(n));
    bool written = true;
    for (size_t i = 0; i < runs.size() && written;) {
        size_t last = i;
        while (last + 1 < runs.size() && runs[last + 1] - (runs[last] + n) <= 4096)
            ++last;
        const long from = runs[i];
        written = picture.writeAt(from, picture.bytes.data() + from, size_t(runs[last] + n - from));
        i = last + 1;
    }
    written = picture.close() && written;
    if (!written) {
        logPath("write failed : %s", path);
        result.status = Status::WriteFailed;
        return result;
    }
    result.status = Status::Changed;
    result.runs = int(runs.size());

    // The file is closed before its times are set, so that nothing written
    // later can move them.
    if (adaptFileTimes)
        applyFileTimes(path, result.newDate, picture.haveStatus);
    else if (const FileTimes *times = picture.savedTimes())
        writeFileTimes(path, 0, times);   // the rewrite keeps the times the file had
    return result;
}

bool PictureFile::setFileTimes(const QString &path, const QDateTime &wallClock)
{
    FileStatus status;
    return applyFileTimes(path, wallClock, statFile(path, &status));
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
    }
    return "";
}
