#include "clioptions.h"

#include "capturedate.h"
#include "formatlist.h"
#include "iopool.h"

#include <QRegularExpression>

bool CliOptions::parseShift(const QString &text, qint64 *seconds)
{
    // Plain seconds, or [D:]HH:MM:SS; days and hours may have any number of
    // digits when they lead, minutes and seconds are two digits below 60.
    static const QRegularExpression plain(QStringLiteral("^([+-]?)(\\d{1,15})$"));
    static const QRegularExpression clock(
        QStringLiteral("^([+-]?)(?:(\\d{1,7}):)?(\\d{1,9}):([0-5]\\d):([0-5]\\d)$"));
    qint64 value = 0;
    QString sign;
    QRegularExpressionMatch m = plain.match(text);
    if (m.hasMatch()) {
        sign = m.captured(1);
        value = m.captured(2).toLongLong();
    } else {
        m = clock.match(text);
        if (!m.hasMatch())
            return false;
        sign = m.captured(1);
        const qint64 hours = m.captured(3).toLongLong();
        if (m.hasCaptured(2) && hours > 23)
            return false;   // with days given, hours are those of one day
        value = ((m.captured(2).toLongLong() * 24 + hours) * 60 + m.captured(4).toLongLong()) * 60
                + m.captured(5).toLongLong();
    }
    if (value > maximumShift)
        return false;
    *seconds = sign == QLatin1String("-") ? -value : value;
    return true;
}

CliOptions CliOptions::parse(const QStringList &arguments)
{
    CliOptions o;
    auto fail = [&o](const QString &message) {
        if (o.error.isEmpty())
            o.error = message;
        return o;
    };

    // --help and --version win wherever they stand, as people expect.
    for (const QString &a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return o;
        if (a == QLatin1String("--version"))
            return o.command = Command::Version, o;
    }
    if (arguments.isEmpty())
        return fail(QStringLiteral("no command given (dates or shift); see --help"));

    const QString name = arguments.first();
    if (name == QLatin1String("dates"))
        o.command = Command::Dates;
    else if (name == QLatin1String("shift"))
        o.command = Command::Shift;
    else if (name == QLatin1String("history"))
        o.command = Command::History;
    else if (name == QLatin1String("undo"))
        o.command = Command::Undo;
    else if (name == QLatin1String("resume"))
        o.command = Command::Resume;
    else
        return fail(QStringLiteral("unknown command '%1' (dates, shift, history, undo or resume); see --help")
                        .arg(name));
    const bool shift = o.command == Command::Shift;
    const bool fromJournal = o.command == Command::Undo || o.command == Command::Resume;
    const bool walks = o.command == Command::Dates || shift;

    bool haveBy = false, haveOldestTo = false, optionsEnd = false;
    QString fromText, toText;   // null when not given
    QDateTime toDate;           // --to: a limit, or with --picture that picture's true time
    QStringList positional;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString a = arguments.at(i);
        if (optionsEnd || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        // "--opt=value" or "--opt value" for the two options that take a value.
        QString option = a, value;
        bool inlineValue = false;
        const int eq = a.indexOf(QLatin1Char('='));
        if (eq > 0) {
            option = a.left(eq);
            value = a.mid(eq + 1);
            inlineValue = true;
        }
        if (option == QLatin1String("--jobs") && (walks || fromJournal)) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size())
                    return fail(QStringLiteral("--jobs needs a value"));
                value = arguments.at(++i);
            }
            bool number = false;
            const int jobs = value.toInt(&number);
            if (!number || jobs < 1 || jobs > IoPool::maximumJobs)
                return fail(QStringLiteral("invalid --jobs '%1': give a number from 1 to %2")
                                .arg(value)
                                .arg(IoPool::maximumJobs));
            o.jobs = jobs;
            continue;
        }
        const bool takesValue = option == QLatin1String("--by") || option == QLatin1String("--oldest-to")
                                || option == QLatin1String("--camera") || option == QLatin1String("--from")
                                || option == QLatin1String("--to") || option == QLatin1String("--picture")
                                || option == QLatin1String("--types");
        if (takesValue && shift) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size())
                    return fail(QStringLiteral("%1 needs a value").arg(option));
                value = arguments.at(++i);
            }
            auto parseDate = [&](QDateTime *date) {
                *date = CaptureDate::parse(value.toLatin1());
                return date->isValid() && value.size() == CaptureDate::textLength;
            };
            auto badDate = [&]() {
                return fail(QStringLiteral("invalid date '%1' for %2: give \"yyyy:MM:dd hh:mm:ss\" "
                                           "of the years 1000 to 9999").arg(value, option));
            };
            if (option == QLatin1String("--camera")) {
                if (value.trimmed().isEmpty())
                    return fail(QStringLiteral("--camera needs a camera's name, as `dates DIR --cameras` lists it"));
                if (!o.cameraNames.contains(value.trimmed(), Qt::CaseInsensitive))
                    o.cameraNames << value.trimmed();
                continue;
            }
            if (option == QLatin1String("--types")) {
                // Kinds as the listings name them, separated by commas, in any letter case.
                for (const QString &item : value.split(QLatin1Char(','))) {
                    const QByteArray name = item.trimmed().toLower().toLatin1();
                    FileKind kind;
                    if (!FormatList::kindNamed(name.constData(), size_t(name.size()), &kind)) {
                        QStringList known;
                        for (FileKind k : FormatList::kinds())
                            known << QString::fromLatin1(FormatList::kindName(k));
                        return fail(QStringLiteral("unknown kind '%1' for --types: give %2, separated by commas")
                                        .arg(item.trimmed(), known.join(QLatin1String(", "))));
                    }
                    if (!o.kinds.contains(kind))
                        o.kinds << kind;
                }
                continue;
            }
            if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
                QString &seen = option == QLatin1String("--from") ? fromText : toText;
                if (!seen.isNull())
                    return fail(QStringLiteral("%1 given twice").arg(option));
                seen = value;
                QDateTime date;
                if (!parseDate(&date))
                    return badDate();
                (option == QLatin1String("--from") ? o.from : toDate) = date;
                continue;
            }
            if (option == QLatin1String("--picture")) {
                if (!o.picture.isNull())
                    return fail(QStringLiteral("--picture given twice"));
                if (value.isEmpty())
                    return fail(QStringLiteral("--picture needs a picture's path"));
                o.picture = value;
                continue;
            }
            if (option == QLatin1String("--by")) {
                if (haveBy)
                    return fail(QStringLiteral("--by given twice"));
                haveBy = true;
                if (!parseShift(value, &o.shiftSeconds))
                    return fail(QStringLiteral("invalid shift '%1': give signed seconds (3600, -60) "
                                               "or [D:]HH:MM:SS (+1:00:00, -2:03:00:00) within 9000 years").arg(value));
            } else {
                if (haveOldestTo)
                    return fail(QStringLiteral("--oldest-to given twice"));
                haveOldestTo = true;
                o.oldestTo = CaptureDate::parse(value.toLatin1());
                if (!o.oldestTo.isValid() || value.size() != CaptureDate::textLength)
                    return fail(QStringLiteral("invalid date '%1': give \"yyyy:MM:dd hh:mm:ss\" "
                                               "of the years 1000 to 9999").arg(value));
            }
            continue;
        }
        if (inlineValue)
            return fail(QStringLiteral("option %1 takes no value").arg(option));
        if (a == QLatin1String("--json"))
            o.json = true;
        else if (a == QLatin1String("--list") && !shift)
            o.list = true;
        else if (a == QLatin1String("--cameras") && o.command == Command::Dates)
            o.cameras = true;
        else if (a == QLatin1String("--keep-file-times") && shift)
            o.keepFileTimes = true;
        else if (a == QLatin1String("--dry-run") && (shift || fromJournal))
            o.dryRun = true;
        else if ((a == QLatin1String("--yes") || a == QLatin1String("-y")) && (shift || fromJournal))
            o.yes = true;
        else if (a == QLatin1String("--no-journal") && shift)
            o.noJournal = true;
        else if (a == QLatin1String("--exif-only") && shift)
            o.exifOnly = true;
        else if (a == QLatin1String("--follow-outside-links") && walks)
            o.followOutsideLinks = true;
        else
            return fail(QStringLiteral("unknown option %1 for %2; see --help").arg(a, name));
    }

    if (o.command == Command::History) {
        if (!positional.isEmpty())
            return fail(QStringLiteral("history takes no folder, got '%1'").arg(positional.first()));
        return o;
    }
    if (fromJournal) {
        if (positional.size() > 1)
            return fail(QStringLiteral("one journal only, got also '%1'").arg(positional.at(1)));
        o.journal = positional.value(0);
        return o;
    }
    if (positional.isEmpty())
        return fail(QStringLiteral("no folder given"));
    if (positional.size() > 1)
        return fail(QStringLiteral("one folder only, got also '%1'").arg(positional.at(1)));
    o.folder = positional.first();
    if (!shift)
        return o;
    bool everyKind = true;
    for (FileKind kind : FormatList::kinds())
        everyKind = everyKind && o.kinds.contains(kind);
    if (everyKind)
        o.kinds.clear();   // no choice by kind at all
    const bool havePicture = !o.picture.isNull();
    if (havePicture && (haveBy || haveOldestTo))
        return fail(QStringLiteral("give one of --by, --oldest-to and --picture, not two"));
    if (!havePicture && haveBy == haveOldestTo)
        return fail(haveBy ? QStringLiteral("give either --by or --oldest-to, not both")
                           : QStringLiteral("give the shift with --by SHIFT or --oldest-to \"yyyy:MM:dd hh:mm:ss\""));
    if (havePicture) {
        // With --picture, --to is the true time of that picture, not a limit.
        if (!toDate.isValid())
            return fail(QStringLiteral("--picture needs --to \"yyyy:MM:dd hh:mm:ss\", the time at which that picture "
                                       "was really taken"));
        o.pictureTime = toDate;
    } else {
        o.to = toDate;
    }
    if (o.from.isValid() && o.to.isValid() && o.to < o.from)
        return fail(QStringLiteral("--from %1 is later than --to %2: no picture can lie between them")
                        .arg(fromText, toText));
    o.hasShift = haveBy;
    return o;
}

QString CliOptions::usage()
{
    return QStringLiteral(
        "Usage:\n"
        "  kelvaro-cli dates DIR [--list] [--cameras] [--json] [--jobs N]\n"
        "  kelvaro-cli shift DIR (--by SHIFT | --oldest-to \"yyyy:MM:dd hh:mm:ss\"\n"
        "                         | --picture PATH --to \"yyyy:MM:dd hh:mm:ss\")\n"
        "                    [--camera NAME]... [--types KINDS] [--from DATE]\n"
        "                    [--to DATE] [--keep-file-times] [--dry-run] [--yes] [--json]\n"
        "                    [--no-journal] [--follow-outside-links] [--exif-only]\n"
        "                    [--jobs N]\n"
        "  kelvaro-cli history [--json]\n"
        "  kelvaro-cli undo [JOURNAL] [--yes] [--dry-run] [--json] [--jobs N]\n"
        "  kelvaro-cli resume [JOURNAL] [--yes] [--dry-run] [--json] [--jobs N]\n"
        "  kelvaro-cli --help | --version\n"
        "\n"
        "Shifts the capture times of every picture below DIR in place: JPEG, RAW\n"
        "and TIFF files.\n"
        "\n"
        "Commands:\n"
        "  dates              count folders, pictures and pictures with a usable\n"
        "                     capture date; show the oldest and the newest date\n"
        "  shift              add the same amount to every picture's capture date\n"
        "  history            list the shifts, undos and resumes recorded in the journal\n"
        "  undo               set back the last shift (or the one of JOURNAL), finished\n"
        "                     or interrupted: every date and the files' earlier times\n"
        "  resume             finish an interrupted shift (the last, or the one of\n"
        "                     JOURNAL) as if it had never stopped\n"
        "\n"
        "Options:\n"
        "  --list             (dates) one line per picture: its date, or why it has\n"
        "                     none, and its kind when it is not a JPEG (raw, tiff)\n"
        "  --by SHIFT         signed seconds (3600, -60) or signed [D:]HH:MM:SS\n"
        "                     (+1:00:00, -2:03:00:00)\n"
        "  --cameras          (dates) list each camera: its pictures, how many have a\n"
        "                     usable date, the oldest and the newest\n"
        "  --oldest-to DATE   the correct date of the oldest (chosen) picture; the\n"
        "                     shift is the difference to its current date\n"
        "  --picture PATH --to DATE\n"
        "                     PATH is a picture whose true time you know (a photo of\n"
        "                     a clock), DATE that true time: the shift is DATE minus\n"
        "                     the picture's capture time. Here --to is no limit.\n"
        "  --camera NAME      (shift) move only this camera's pictures, NAME as\n"
        "                     `dates DIR --cameras` lists it (any letter case);\n"
        "                     may be given again\n"
        "  --types KINDS      (shift) move only pictures of these kinds: jpeg, raw,\n"
        "                     tiff, heif, video, separated by commas (default:\n"
        "                     every kind)\n"
        "  --from DATE        (shift) move only pictures taken at DATE or later\n"
        "  --to DATE          (shift, without --picture) move only pictures taken at\n"
        "                     DATE or earlier. Both limits are inclusive and apply\n"
        "                     to the current capture time; DATE is\n"
        "                     \"yyyy:MM:dd hh:mm:ss\"\n"
        "  --keep-file-times  leave the files' access and modification times alone\n"
        "                     (by default they become the new capture time)\n"
        "  --dry-run          show each picture's old and new date, write nothing\n"
        "  --no-journal       (shift) write without a journal: no undo, no resume\n"
        "  --exif-only        (shift) move only the EXIF date texts, not the XMP and\n"
        "                     IPTC copies of the capture time nor XMP sidecar files\n"
        "  --follow-outside-links  follow links that lead outside DIR (by default\n"
        "                     they are counted and named, and left alone)\n"
        "  --jobs N           pictures in flight: how many are opened, read and\n"
        "                     written at once (1 to 64, default 8; 1 handles one\n"
        "                     after the other). More help on slow disks and shares.\n"
        "  -y, --yes          do not ask before writing (needed without a terminal)\n"
        "  --json             print one JSON object instead of text\n"
        "  -h, --help         show this help\n"
        "  --version          show the version\n"
        "\n"
        "Exit status: 0 every usable picture was handled, 1 some were not changed or\n"
        "the shift was cancelled or declined, 2 bad input (nothing was touched).\n");
}
