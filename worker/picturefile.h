#pragma once

#include "daterecord.h"
#include "fileidentity.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <functional>

#include <sys/stat.h>
#include <vector>

// The per-picture steps of the dating and shifting passes: read a picture's
// DateTimeOriginal through the EXIF engine, and rewrite its date texts in place.
class PictureFile {
public:
    enum class Status {
        Usable,         // dating: a usable capture date was read
        Changed,        // shifting: every copy of the date was rewritten
        CannotOpen,     // the file could not be opened (read-only when shifting)
        NoExif,         // no decodable EXIF block (also files that are no JPEG)
        NoDate,         // DateTimeOriginal missing or not of four ':'
        NotADate,       // four ':' but no real date ("0000:00:00 00:00:00")
        OutOfRange,     // the shifted date would leave the years 1000..9999
        DateNotFound,   // the date text was not found in the file's header
        ReadFailed,
        WriteFailed,
        AlreadySeen,    // the same physical file was met before in this pass
        Locked,         // another program holds a lock on the file
        ChangedElsewhere,  // another program changed the file since it was read
        Unrecognised,   // undo/resume: a run holds neither the old nor the new text
        AlreadyDone,    // undo/resume: every run already holds the wanted text
        AddedSince,     // shifting: not among the pictures whose dates were read
        NotRegular,     // a FIFO, device or socket with a picture's name
        CloseFailed,    // written, but closing the file reported an error
        NotChosen,      // shifting: usable, but not among the pictures chosen to move
        NotConfirmed,   // shifting: its date could not be read before the question
        PictureNotChanged,  // a sidecar left alone because its picture was not written
    };

    struct Result {
        Status status = Status::CannotOpen;
        QByteArray oldText;    // the DateTimeOriginal text, when one was read
        QDateTime oldDate;     // its zone-less value, when usable
        QString camera;        // the camera that took it, when its EXIF block was read (cameraName())
        QDateTime newDate;     // shifting: the new capture date
        int runs = 0;          // shifting: runs rewritten (every copy of the date, and an IPTC digest)
        int xmpDates = 0;      // shifting: of them, XMP date-time values
        int iptcDates = 0;     // shifting: IPTC date and time pairs (two runs each)
        int extendedXmp = 0;   // shifting: extended XMP segments met and left alone
        bool timesSet = true;  // shifting: the file times were set (or kept) as asked
        bool readOnly = false; // dating: nobody has write permission on the file
        int sidecars = 0;      // listings: XMP sidecar files beside the picture
        FileIdentity file;     // the physical file (where files have identity numbers)
    };

    // Asked once a picture is open: false when this file was met before, in
    // which case the step leaves it alone and reports AlreadySeen.
    using Claim = std::function<bool(const FileIdentity &)>;

    // Reads the capture date of one picture. Nothing is logged. With
    // `withCopies`, a usable picture's result also tells how many XMP
    // date-times and IPTC date and time pairs in its header spell its capture
    // time (what a shift would move besides the EXIF texts), from the same read.
    // With `record`, a usable picture's fields are kept there too, for a
    // writing pass that moves them without reading the picture again.
    static Result readDate(const QString &path, const Claim &claim = {}, bool withCopies = false,
                           DateRecord *record = nullptr);

    // Adds `seconds` to every copy of the picture's DateTimeOriginal text in its
    // header, in place: the file's length and every other byte stay as they
    // were. When `adaptFileTimes` is set and the rewrite succeeded, the file's
    // access and modification times become the new capture time (local time);
    // otherwise the times it had are kept. Failures are logged, except for
    // pictures that carry no usable date.
    static Result shift(const QString &path, qint64 seconds, bool adaptFileTimes,
                        const Claim &claim = {});

    // The status of the file a path names; false when there is none.
#ifdef _WIN32
    static bool statPath(const QString &path, struct _stat64 *status);
#else
    static bool statPath(const QString &path, struct stat *status);
#endif

#ifdef _WIN32
    // The identity of the file or folder a path names (links followed): its
    // volume's serial number and its file index. False when it cannot be read.
    static bool identify(const QString &path, FileIdentity *id);
#endif

    // Opens a file by a path in the platform's own encoding.
    static FILE *open(const QString &path, const char *mode);

    // The name a picture's camera goes by: Make and Model trimmed and joined as
    // "Make Model", or the Model alone when it begins with the Make already
    // ("Canon" + "Canon EOS 5D"); "Unknown camera" when both are empty.
    static QString cameraName(const char *make, const char *model);

    // A short English reason for a status ("no EXIF block", ...).
    static const char *describe(Status status);

    // How far the rewrite searches: the header as the reader read it, at least
    // the first 4096 bytes, never beyond the end of the file.
    static constexpr long minimumRegion = 4096;

};
