#pragma once

#include "fileformat.h"
#include "fileidentity.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <limits>

// Why a step left a picture as it was, or that it did its work.
enum class PictureStatus {
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
    JournalDamaged, // undo/resume: its journal line is damaged, or does not hold a date shift
    Unsupported,    // a format claims the file but cannot move its date in place: never written
};

// What one step did with one picture: its status and what it read or wrote.
struct PictureResult {
    using Status = PictureStatus;

    Status status = Status::CannotOpen;
    QByteArray oldText;    // the DateTimeOriginal text, when one was read
    QDateTime oldDate;     // its zone-less value, when usable
    QString camera;        // the camera that took it, when its EXIF block was read (cameraName())
    QDateTime newDate;     // shifting: the new capture date
    int runs = 0;          // shifting: runs rewritten (every copy of the date, and an IPTC digest)
    int xmpDates = 0;      // shifting: of them, XMP date-time values
    int iptcDates = 0;     // shifting: IPTC date and time pairs (two runs each)
    bool timesSet = true;  // shifting: the file times were set (or kept) as asked
    bool readOnly = false; // dating: nobody has write permission on the file
    // dating: how far the capture time may move, later and earlier, before a
    // field that counts seconds in a fixed width (a video's header) can no
    // longer hold its time; as far as anything goes without such a field.
    qint64 roomLater = std::numeric_limits<qint64>::max();
    qint64 roomEarlier = std::numeric_limits<qint64>::max();
    bool fromUtc = false;  // dating: the file keeps its capture time in UTC; oldDate is that instant's local time
    int sidecars = 0;      // listings: XMP sidecar files beside the picture
    FileIdentity file;     // the physical file (where files have identity numbers)
    // What a user calls the file: by the format that claimed its content (a
    // .nef that holds a JPEG is a JPEG), or by its name when none did.
    FileKind kind = FileKind::Jpeg;
    // The format that claimed the file's content, when one did (it names the
    // kind of a file by the file's name: FileFormat::kind()).
    const FileFormat *format = nullptr;

    // A short English reason for a status ("no EXIF block", ...).
    static const char *describe(Status status);

    // The name a picture's camera goes by: Make and Model trimmed and joined as
    // "Make Model", or the Model alone when it begins with the Make already
    // ("Canon" + "Canon EOS 5D"); "Unknown camera" when both are empty.
    static QString cameraName(const char *make, const char *model);

    // The extension of a path's file name, without the dot (Qt's '/'
    // separators); empty when the name has none.
    static QByteArray extensionOf(const QString &path);
    // The kind of a file by its name alone (FormatList::kindOfName()); false
    // when no format declares its extension.
    static bool kindOfName(const QString &path, FileKind *kind);
};
