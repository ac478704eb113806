#pragma once

#include "fileformat.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The command line of kelvaro-cli, parsed without touching anything:
//   kelvaro-cli dates DIR [--list] [--cameras] [--json]
//   kelvaro-cli shift DIR (--by SHIFT | --oldest-to "yyyy:MM:dd hh:mm:ss"
//                          | --picture PATH --to "yyyy:MM:dd hh:mm:ss")
//               [--camera NAME]... [--types KINDS] [--from DATE] [--to DATE]
//               [--keep-file-times] [--dry-run] [--yes] [--json]
//               [--no-journal] [--follow-outside-links] [--exif-only]
//   kelvaro-cli history [--json]
//   kelvaro-cli undo [JOURNAL] [--yes] [--dry-run] [--json]
//   kelvaro-cli resume [JOURNAL] [--yes] [--dry-run] [--json]
//   kelvaro-cli --help | --version
class CliOptions {
public:
    enum class Command { Help, Version, Dates, Shift, History, Undo, Resume };

    Command command = Command::Help;
    QString folder;
    bool list = false;
    bool json = false;
    bool keepFileTimes = false;
    bool dryRun = false;
    bool yes = false;
    bool noJournal = false;           // shift: write without a journal
    bool exifOnly = false;            // shift: the EXIF texts only, no XMP, IPTC or sidecars
    bool followOutsideLinks = false;  // follow links that lead outside DIR
    int jobs = 0;                     // --jobs: pictures in flight (0: the default)
    QString journal;                  // undo, resume: the journal; empty: the latest
    bool hasShift = false;        // --by was given: shiftSeconds holds it
    qint64 shiftSeconds = 0;
    QDateTime oldestTo;           // --oldest-to, zone-less; invalid when not given
    bool cameras = false;         // dates --cameras: list the cameras
    QStringList cameraNames;      // shift --camera (repeatable): only these cameras' pictures
    QList<FileKind> kinds;        // shift --types: only pictures of these kinds (empty: every kind)
    QDateTime from, to;           // shift --from/--to: inclusive limits on the current capture date
    QString picture;              // shift --picture: the picture whose true time is pictureTime
    QDateTime pictureTime;        // --to given together with --picture

    // What is wrong with the command line; empty when it is sound.
    QString error;
    bool ok() const { return error.isEmpty(); }

    // Parses the arguments that follow the program's name.
    static CliOptions parse(const QStringList &arguments);

    // A shift: signed seconds ("3600", "-60") or signed [D:]HH:MM:SS
    // ("+1:00:00", "-2:03:00:00"). False when the text is no such shift or
    // moves by more than the years a capture date can span.
    static bool parseShift(const QString &text, qint64 *seconds);

    // The text of --help.
    static QString usage();

    // Larger shifts would move any capture date out of the years 1000..9999.
    static constexpr qint64 maximumShift = 9000LL * 366 * 24 * 3600;
};
