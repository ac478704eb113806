#include "picturefile.h"

#include "capturedate.h"
#include "exifreader.h"

#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#ifdef _WIN32
#include <sys/utime.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
bool statFile(const QString &path, FileStatus *status)
{
    return _wstat64(reinterpret_cast<const wchar_t *>(path.utf16()), status) == 0;
}
#else
using FileStatus = struct stat;
bool statFile(const QString &path, FileStatus *status)
{
    return ::stat(QFile::encodeName(path).constData(), status) == 0;
}
#endif

bool statOpenFile(FILE *file, FileStatus *status)
{
#ifdef _WIN32
    return _fstat64(_fileno(file), status) == 0;
#else
    return fstat(fileno(file), status) == 0;
#endif
}

// Sets both times to whole seconds, or restores them from an earlier status.
bool writeFileTimes(const QString &path, qint64 seconds, const FileStatus *restore)
{
#ifdef _WIN32
    struct __utimbuf64 times;
    times.actime = restore ? restore->st_atime : seconds;
    times.modtime = restore ? restore->st_mtime : seconds;
    return _wutime64(reinterpret_cast<const wchar_t *>(path.utf16()), &times) == 0;
#else
    struct timespec times[2];
    if (restore) {
        times[0] = restore->st_atim;
        times[1] = restore->st_mtim;
    } else {
        times[0].tv_sec = times[1].tv_sec = time_t(seconds);
        times[0].tv_nsec = times[1].tv_nsec = 0;
    }
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
#endif
}

// Reads or writes `n` bytes at `offset`, past the stream's buffer: the
// stream is only ever read through, so its buffer holds nothing to flush.
bool readAt(FILE *file, long offset, char *bytes, size_t n)
{
#ifdef _WIN32
    return fseek(file, offset, SEEK_SET) == 0 && fread(bytes, 1, n, file) == n;
#else
    return pread(fileno(file), bytes, n, off_t(offset)) == ssize_t(n);
#endif
}

bool writeAt(FILE *file, long offset, const char *bytes, size_t n)
{
#ifdef _WIN32
    return fseek(file, offset, SEEK_SET) == 0 && fwrite(bytes, 1, n, file) == n && fflush(file) == 0;
#else
    return pwrite(fileno(file), bytes, n, off_t(offset)) == ssize_t(n);
#endif
}

// Gives a freshly opened stream a buffer that holds the header segments of
// most pictures, so that the reader gets them in one read.
void bufferHeader(FILE *file)
{
    thread_local char buffer[PictureFile::headerBuffer];
    setvbuf(file, buffer, _IOFBF, sizeof buffer);
}

void logPath(const char *format, const QString &path)
{
    qDebug(format, path.toUtf8().constData());
}

// Reads DateTimeOriginal from an open stream positioned at the file's start.
PictureFile::Status readOriginalDate(FILE *file, PictureFile::Result *result)
{
    ExifInfo info{};
    ExifReader reader(&info);
    reader.readJpeg(file);
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

PictureFile::Result PictureFile::readDate(const QString &path)
{
    Result result;
    FILE *file = open(path, "rb");
    if (!file)
        return result;
    bufferHeader(file);
    result.status = readOriginalDate(file, &result);
    fclose(file);
    return result;
}

PictureFile::Result PictureFile::shift(const QString &path, qint64 seconds, bool adaptFileTimes)
{
    Result result;
    FileStatus before;
    FILE *file = open(path, "rb+");
    const bool haveTimes = file ? statOpenFile(file, &before) : statFile(path, &before);
    // A picture that nobody may write is one the user protected: leave it alone
    // even where the process could write it anyway (as the superuser can).
    if (haveTimes && (before.st_mode & 0222) == 0) {
        if (file)
            fclose(file);
        logPath("read-only, not changed : %s", path);
        return result;
    }
    if (!file) {
        logPath("cannot open for writing : %s", path);
        return result;
    }
    bufferHeader(file);

    result.status = readOriginalDate(file, &result);
    if (result.status != Status::Usable) {
        fclose(file);
        return result;   // no usable date: nothing to do, nothing to report
    }
    const long headerEnd = ftell(file);

    result.newDate = result.oldDate.addSecs(seconds);
    const QByteArray newText = CaptureDate::format(result.newDate);
    if (newText.size() != CaptureDate::textLength) {
        fclose(file);
        logPath("date out of range : %s", path);
        result.status = Status::OutOfRange;
        return result;
    }

    // The region searched: the header segments the reader went through, at
    // least the first 4096 bytes, never past the end of the file.
    const long size = haveTimes ? long(before.st_size) : -1;
    const long region = std::min(std::max(headerEnd, minimumRegion), size);
    thread_local std::vector<char> block;
    block.resize(size_t(std::max(region, 0L)));
    if (size < 0 || !readAt(file, 0, block.data(), block.size())) {
        fclose(file);
        logPath("read failed : %s", path);
        result.status = Status::ReadFailed;
        return result;
    }

    // Every 19-byte run equal to the old text, including one ending on the
    // region's last byte.
    const char *old = result.oldText.constData();
    const int n = CaptureDate::textLength;
    std::vector<long> runs;
    for (long j = 0; j + n <= region;) {
        const void *hit = memchr(block.data() + j, old[0], size_t(region - n + 1 - j));
        if (!hit)
            break;
        j = long(static_cast<const char *>(hit) - block.data());
        if (memcmp(block.data() + j, old, size_t(n)) == 0) {
            runs.push_back(j);
            j += n;
        } else {
            ++j;
        }
    }
    if (runs.empty()) {
        fclose(file);
        logPath("date not found : %s", path);
        result.status = Status::DateNotFound;
        return result;
    }

    // Write only the runs; a failure anywhere means the picture is not changed.
    // Runs close to each other (DateTimeOriginal and DateTimeDigitized stand
    // side by side) go out in one write, together with the few bytes between
    // them as they were read.
    for (long at : runs)
        memcpy(block.data() + at, newText.constData(), size_t(n));
    bool written = true;
    for (size_t i = 0; i < runs.size() && written;) {
        size_t last = i;
        while (last + 1 < runs.size() && runs[last + 1] - (runs[last] + n) <= 32)
            ++last;
        const long from = runs[i];
        written = writeAt(file, from, block.data() + from, size_t(runs[last] + n - from));
        i = last + 1;
    }
    written = fclose(file) == 0 && written;
    if (!written) {
        logPath("write failed : %s", path);
        result.status = Status::WriteFailed;
        return result;
    }
    result.status = Status::Changed;
    result.runs = int(runs.size());

    if (adaptFileTimes)
        setFileTimes(path, result.newDate);
    else if (haveTimes)
        writeFileTimes(path, 0, &before);   // the rewrite keeps the times the file had
    return result;
}

bool PictureFile::setFileTimes(const QString &path, const QDateTime &wallClock)
{
    FileStatus status;
    if (!statFile(path, &status))
        logPath("invalid filename : %s", path);
    qint64 seconds = 0;
    if (!CaptureDate::localInstant(wallClock, &seconds) || !writeFileTimes(path, seconds, nullptr)) {
        logPath("utime() failed with : %s", path);
        return false;
    }
    return true;
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
    }
    return "";
}
