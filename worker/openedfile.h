#pragma once

#include "bytesource.h"
#include "datefield.h"
#include "pictureresult.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

// One picture file, open for one step of a pass. Its first bytes are held in
// `bytes` as far as they were read (`loaded`). Every read and write of the
// passes goes through here, so that the platform's file calls stay in one place.
class OpenedFile {
public:
#ifdef _WIN32
    using FileStatus = struct _stat64;
#else
    using FileStatus = struct stat;
#endif

    OpenedFile() = default;
    ~OpenedFile() { close(); }
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;

    bool open(const QString &path, bool forUpdate);

    // The status of the file a path names; false when there is none.
    static bool statPath(const QString &path, FileStatus *status);
#ifdef _WIN32
    // The identity of the file or folder a path names (links followed): its
    // volume's serial number and its file index. False when it cannot be read.
    static bool identify(const QString &path, FileIdentity *id);
#endif
    // Opens a file by a path in the platform's own encoding.
    static FILE *openStream(const QString &path, const char *mode);
    bool isOpen() const;
    // Closes the file; false when the close reported an error.
    bool close();

    // Takes an exclusive advisory lock on the whole file without waiting;
    // false when another process holds one.
    bool tryLock();

    bool haveStatus = false;
    FileStatus status{};
    // Reads the open file's status again into `now`.
    bool statusNow(FileStatus *now) const;
    // True when `path` still names the very file that is open (not a new file
    // put in its place); `now` (POSIX) then holds that file's status now, and
    // `throughLink` tells whether its last component is a symbolic link.
    bool pathLeadsHere(const QString &path, FileStatus *now = nullptr, bool *throughLink = nullptr) const;

#ifdef _WIN32
    // Windows' st_dev and st_ino tell nothing: the volume's serial number and
    // the file index do, as device and inode number do elsewhere.
    FileIdentity id() const;
    // The open file's access and modification times as the file system holds
    // them: _fstat64 keeps whole seconds only, and nothing before 1970.
    bool fileTimes(int64_t *accessNs, int64_t *modificationNs) const;
#else
    // The open file's identity: device, inode, size and times as it was opened.
    FileIdentity id() const { return FileIdentity::of(status); }
#endif
    int64_t size() const { return haveStatus ? int64_t(status.st_size) : -1; }

    // Finds where the open file keeps its capture time, through the format
    // that claims its content: fills `found`, and in `result` that format, the
    // camera, the capture text and, given the file's `name` (or path), its
    // kind (without a name the kind `result` holds stays). Usable when that
    // text is a date; NoExif when no format claims the file or its metadata
    // cannot be read; NoDate, NotADate; Unsupported when the format that
    // claims it cannot move its date in place.
    PictureStatus locateDates(PictureResult *result, FoundDates *found, const QString &name = QString());
    // The open file as a format reads it: the bytes held, more read as asked.
    ByteSource &source() { return held; }

    // Makes sure the file's first `n` bytes (fewer at its end) are held.
    bool load(size_t n);
    // Positioned reads and writes of whole byte ranges; false on an error or a
    // short transfer (a write may then have put part of the range).
    bool readAt(int64_t offset, char *data, size_t n);
    bool writeAt(int64_t offset, const char *data, size_t n);

    // Sets the open file's access and modification times (nanoseconds since
    // 1970-01-01 UTC).
    bool setTimes(int64_t accessNs, int64_t modificationNs);
    // Writes the file's data through to the disk.
    bool syncData();
    // Writes everything of the file system that holds this file to the disk
    // (on systems without such a call: this file's data).
    bool syncFileSystem();

    std::vector<char> &bytes = buffer();
    size_t loaded = 0;

private:
    static std::vector<char> &buffer()
    {
        thread_local std::vector<char> held;
        return held;
    }
    size_t fileSize() const;
    // Reads a capture time kept in UTC as local time (see locateDates()).
    static bool toLocalTime(PictureResult *result, FoundDates *found);

#ifdef _WIN32
    FILE *file = nullptr;
    FileIdentity fileId;
    QString openPath;        // for a handle that may write, when this one may not
    bool forWriting = false;
#else
    int fd = -1;
#endif
    // Serves a format's reads from `bytes`, reading ahead in large pieces.
    // A read far past what is held (a RAW file's directories and previews lie
    // anywhere in tens of megabytes) is served from a window of its own, so
    // that the image data between is never read.
    class Held : public HeldSource {
    public:
        explicit Held(OpenedFile &picture) : picture(picture) {}
        uint64_t size() const override { return picture.fileSize(); }
        const unsigned char *peek(uint64_t offset, size_t n) override;

    private:
        bool hold(uint64_t offset, size_t n);
        const unsigned char *window(uint64_t offset, size_t n);
        OpenedFile &picture;
        std::vector<unsigned char> aside;   // the window's bytes
        uint64_t asideStart = 0;
    };
    Held held{*this};
};
