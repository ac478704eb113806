#pragma once

#include "dateshift.h"
#include "openedfile.h"
#include "daterecord.h"
#include "pictureresult.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The rewrite of one picture, in two steps so that a pass can record what it
// is about to do before it does it:
//
//   open()    opens the picture for update, checks that it is a regular file
//             that somebody may write, claims its identity and locks it;
//   plan...() reads it and works out its runs: where each text stands, what
//             it holds and what it is to hold;
//   commit()  checks that nobody changed the file since it was read, then
//             puts every run in one positioned write from the first run to the
//             last (the bytes between exactly as they are), and sets the times.
//
// A picture is therefore either wholly rewritten or not at all: a write that
// fails or comes up short is undone by writing the bytes read before it back.
// The lock is held from open() until the rewrite is destroyed or closed.
class FileRewrite {
public:
    struct Run {
        int64_t offset = 0;
        QByteArray from;   // the text the run holds now
        QByteArray to;     // the text it is to hold
    };

    FileRewrite() = default;
    FileRewrite(const FileRewrite &) = delete;
    FileRewrite &operator=(const FileRewrite &) = delete;

    // Usable when the picture is open and locked; otherwise why not (CannotOpen,
    // NotRegular, AlreadySeen, Locked, ...). Logs what a user would want to know.
    PictureStatus open(const QString &path, const FileIdentity::Claim &claim = {});

    // Whether a picture read for a shift is to be moved (by its camera and date).
    using Accept = std::function<bool(const PictureResult &)>;

    // Reads the capture date and plans to move every copy of it by `seconds`.
    // Usable when there is something to write; the result carries the dates.
    // With `exifOnly`, only the EXIF texts move (not the XMP and IPTC copies).
    // NotChosen when `accept` is given and turns down the picture it read.
    PictureStatus planShift(qint64 seconds, PictureResult *result, bool exifOnly = false,
                                  const Accept &accept = {});

    // As planShift(), from what the dating pass kept of the picture
    // (`record`) and the capture date the user saw (`captured`), reading
    // only the bytes that hold its fields. False, planning nothing, when the
    // record cannot be trusted (the file changed since, or its bytes no longer
    // spell the capture date where the record says): plan it with planShift().
    bool planShiftFrom(const DateRecord &record, const QDateTime &captured, qint64 seconds,
                       PictureResult *result, PictureStatus *status, bool exifOnly = false,
                       const Accept &accept = {});

    // Plans the shift of an XMP sidecar file (opened with open()): every
    // XMP date-time in it that spells the capture time `oldText` becomes
    // `newText`. Usable when there is something to write; DateNotFound when
    // it holds no such date.
    PictureStatus planSidecar(const QByteArray &oldText, const QByteArray &newText, int *dates);

    // The largest sidecar read whole.
    static constexpr int64_t maximumSidecar = 16 * 1024 * 1024;

    // The canonical folder the picture must lie in when it is written (the
    // chosen folder, unless links leading outside it are followed); empty:
    // anywhere.
    void keepInside(const QString &canonicalFolder) { insideOf = canonicalFolder; }

    // Plans the given runs (undo and resume, which know them from a journal).
    void planRuns(std::vector<Run> runs) { planned = std::move(runs); }

    // Writes the planned runs and then sets the file's times to the given
    // values (nanoseconds since 1970 UTC). Runs that already hold their new
    // text are left as they are; when every run does, nothing is written
    // (AlreadyDone) but the times are still set. A run that holds the start of
    // one text and the rest of the other, split on a multiple of 512 bytes in
    // the file (a write cut short by a kill or a power cut), is written. A run that holds anything else leaves the whole picture alone
    // (Unrecognised). `timesSet` tells whether
    // setting the times worked.
    PictureStatus commit(int64_t accessNs, int64_t modificationNs, bool *timesSet);
    // What commit() would do, without writing anything.
    PictureStatus check();

    // Closes the file; false when the close reported an error.
    bool close() { return picture.close(); }

    // Writes the file system that holds the picture through to the disk.
    bool syncFileSystem() { return picture.syncFileSystem(); }

    const QString &path() const { return filePath; }
    // What the file looked like when it was opened.
    const FileIdentity &snapshot() const { return before; }
    const std::vector<Run> &runs() const { return planned; }

    // The instant of a wall-clock capture time read as local time, in
    // nanoseconds since 1970 UTC; false when it has none.
    static bool localInstantNs(const QDateTime &wallClock, int64_t *ns);

private:
    void take(const DateShift::Plan &plan);
    PictureStatus apply(bool write, int64_t accessNs, int64_t modificationNs, bool *timesSet);
    static bool cutBetween(int64_t offset, const char *at, const QByteArray &first, const QByteArray &second);

    OpenedFile picture;
    QString filePath;
    QString insideOf;
    FileIdentity before;
    std::vector<Run> planned;
};
