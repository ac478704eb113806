#include "clicommand.h"

#include "capturedate.h"
#include "jobmessages.h"
#include "pathbytes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdio>
#ifdef _WIN32
#include <windows.h>
#include <io.h>
#define STDIN_FILENO 0
#define STDERR_FILENO 2
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Ctrl-C (or a polite kill) during the shifting pass: ask the walk to stop
// after the picture in hand. Setting a lock-free atomic is safe in a handler.
static_assert(std::atomic<bool>::is_always_lock_free, "the cancel flag must be lock-free");
std::atomic<bool> *cancelFlag = nullptr;

extern "C" void requestCancel(int)
{
    if (cancelFlag)
        cancelFlag->store(true);
}

#ifdef _WIN32
// Windows has no SIGTERM from outside; Ctrl-C, Ctrl-Break and closing the
// console window arrive as console control events, on a thread of their own.
// Closing the window ends the process once the handler returns, so the handler
// then waits a little for the picture in hand.
std::atomic<bool> passRunning{false};

BOOL WINAPI consoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        requestCancel(0);
        return TRUE;
    case CTRL_CLOSE_EVENT:
        requestCancel(0);
        for (int i = 0; i < 40 && passRunning.load(); ++i)
            Sleep(100);
        return TRUE;
    default:
        return FALSE;
    }
}

// Installs the console control handler while it lives.
class CancelOnSignal {
public:
    explicit CancelOnSignal(std::atomic<bool> &flag)
    {
        cancelFlag = &flag;
        passRunning = true;
        SetConsoleCtrlHandler(consoleEvent, TRUE);
    }
    ~CancelOnSignal()
    {
        SetConsoleCtrlHandler(consoleEvent, FALSE);
        passRunning = false;
        cancelFlag = nullptr;
    }
};

// A console, not merely a character device: _isatty() is also true for NUL.
bool isTerminal(int fd)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// The progress line moves the cursor with VT sequences; a console that
// cannot take them gets no progress line.
bool isVirtualTerminal(int fd)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return false;
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING)
        || SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
#else
// Installs the handler while it lives for SIGINT and SIGTERM and, where they
// exist, SIGHUP (the terminal was closed) and SIGPIPE (the reader of the
// report went away): each stops a writing pass after the picture in hand, so
// that its journal is closed and what can be reported is.
class CancelOnSignal {
public:
    explicit CancelOnSignal(std::atomic<bool> &flag)
    {
        cancelFlag = &flag;
        for (size_t i = 0; i < count; ++i) {
            old[i] = std::signal(caught[i], requestCancel);
        }
    }
    ~CancelOnSignal()
    {
        for (size_t i = 0; i < count; ++i)
            std::signal(caught[i], old[i] == SIG_ERR ? SIG_DFL : old[i]);
        cancelFlag = nullptr;
    }

private:
    using Handler = void (*)(int);
#ifdef _WIN32
    static constexpr int caught[] = {SIGINT, SIGTERM};
#else
    static constexpr int caught[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
#endif
    static constexpr size_t count = sizeof caught / sizeof caught[0];
    Handler old[count] = {};
};

bool isTerminal(int fd)
{
    return isatty(fd) == 1;
}

bool isVirtualTerminal(int fd)
{
    return isatty(fd) == 1;
}
#endif

QByteArray jsonPlain(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (uchar(c) < 0x20)
                out += "\\u00" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out;
}

// A JSON string. A byte of a file name that is not UTF-8 is written as the
// escape \udcXX of its lone surrogate (XX the byte), as PathBytes holds it.
QByteArray jsonString(const QString &text)
{
    QByteArray out = "\"";
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = PathBytes::escapedByte(text, i);
        if (byte < 0) {
            plain += text[i];
            continue;
        }
        out += jsonPlain(plain);
        plain.clear();
        out += "\\udc" + QByteArray::number(byte, 16).rightJustified(2, '0');
    }
    return out + jsonPlain(plain) + '"';
}

QByteArray dateText(const QDateTime &date)
{
    return date.toString(QLatin1String(CaptureDate::pattern)).toLatin1();
}

QByteArray jsonDate(const QDateTime &date, bool present)
{
    return present ? '"' + dateText(date) + '"' : QByteArray("null");
}

// Why a picture has no usable date, for listings.
QByteArray reason(const PictureFile::Result &result)
{
    QByteArray text = PictureFile::describe(result.status);
    if (result.status == PictureFile::Status::NotADate || result.status == PictureFile::Status::NoDate)
        if (!result.oldText.isEmpty())
            text += " \"" + ProgressLine::printableBytes(result.oldText) + '"';
    return text;
}

} // namespace

CliCommand::CliCommand(const CliOptions &options, FILE *report)
    : options(options), report(report), progress(isVirtualTerminal(STDERR_FILENO))
{
    if (options.jobs > 0)
        job.jobs = options.jobs;
}

int CliCommand::run()
{
    if (!options.ok())
        return badInput(options.error);
    switch (options.command) {
    case CliOptions::Command::Help:
        print(CliOptions::usage().toUtf8());
        return Success;
    case CliOptions::Command::Version:
        print("kelvaro-cli " KELVARO_VERSION "\n");
        return Success;
    case CliOptions::Command::Dates:
        return dates();
    case CliOptions::Command::Shift:
        return shift();
    case CliOptions::Command::History:
        return history();
    case CliOptions::Command::Undo:
        return fromJournal(ShiftJob::Task::Undo);
    case CliOptions::Command::Resume:
        return fromJournal(ShiftJob::Task::Resume);
    }
    return BadInput;
}

int CliCommand::badInput(const QString &message)
{
    progress.write(stderr, "kelvaro-cli: " + ProgressLine::printable(message) + '\n');
    return BadInput;
}

bool CliCommand::folderIsUsable()
{
    const QString shown = PathBytes::display(options.folder);
#ifdef _WIN32
    const QFileInfo info(options.folder);
    const bool exists = info.exists(), isFolder = info.isDir();
    const bool readable = info.isReadable() && info.isExecutable();
#else
    // By the name's own bytes, which need not be UTF-8.
    const QByteArray name = PathBytes::encode(options.folder);
    struct stat status;
    const bool exists = PathBytes::stat(name, &status);
    const bool isFolder = exists && S_ISDIR(status.st_mode);
    const int fd = isFolder ? PathBytes::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    const bool readable = fd >= 0 && ::faccessat(fd, ".", R_OK | X_OK, 0) == 0;
    if (fd >= 0)
        ::close(fd);
#endif
    if (!exists) {
        badInput(QStringLiteral("%1: no such folder").arg(shown));
        return false;
    }
    if (!isFolder) {
        badInput(QStringLiteral("%1: not a folder").arg(shown));
        return false;
    }
    if (!readable) {
        badInput(QStringLiteral("%1: cannot read this folder").arg(shown));
        return false;
    }
    return true;
}

void CliCommand::runPass(ShiftJob::Task task, const QString &label, int total)
{
    progress.begin(label, total);
    QThread *worker = QThread::create([this, task] { job.run(task); });
    worker->start();
    bool told = false;
    // Progress is sampled, not signalled: at most ten redraws a second.
    while (!worker->wait(QDeadlineTimer(100))) {
        progress.update(state.pictureCount);
        if (state.cancelRequested && !told) {
            progress.write(stderr, "Cancelling: finishing the pictures in hand.\n");
            told = true;
        }
    }
    delete worker;
    progress.end();
}

void CliCommand::surveyAndDate()
{
    job.reset();
    job.folder = options.folder;
    job.followOutsideLinks = options.followOutsideLinks;
    // Chosen before the dating pass, which tallies the chosen pictures.
    ShiftJob::Choice choice;
    choice.cameras = options.cameraNames;
    choice.from = options.from;
    choice.to = options.to;
    job.choose(choice);
    job.countCopies = (options.list || options.dryRun) && !options.exifOnly;
    // The survey pass only gives the progress bar its total.
    if (progress.enabled())
        runPass(ShiftJob::Task::Survey, QStringLiteral("Counting"), 0);
    runPass(ShiftJob::Task::Dating, QStringLiteral("Reading dates"), state.pictureCount);
    datingFolders = state.folderCount;
}

void CliCommand::linkSkipped(const QString &path)
{
    if (state.phase == WalkState::Dating)
        qDebug("link leads outside the folder, not followed : %s", PathBytes::displayBytes(path).constData());
}

// A folder that could not be listed, or a name that could not be read, has a
// line of the listing, as a picture without a usable date has.
void CliCommand::unreadable(const QString &path, const char *why)
{
    if (listing == Listing::None || state.phase != WalkState::Dating)
        return;
    listLine(path,
             (listing == Listing::Dates ? QByteArray(", \"date\": null") : QByteArray(", \"old\": null, \"new\": null"))
                 + ", \"reason\": " + jsonString(QString::fromLatin1(why)),
             why);
}

void CliCommand::listLine(const QString &path, const QByteArray &jsonFields, const QByteArray &text)
{
    if (options.json)
        print((listed ? ",\n    {" : "\n    {") + QByteArray("\"path\": ") + jsonString(path) + jsonFields + '}');
    else
        print(ProgressLine::printable(path) + '\t' + text + '\n');
    ++listed;
}

void CliCommand::pictureDone(const QString &path, const PictureFile::Result &result)
{
    if (listing == Listing::None)
        return;
    const bool usable = result.status == PictureFile::Status::Usable;
    // With a choice, the preview lists the pictures that would move, and no others.
    if (listing == Listing::Preview && !job.choice().all() && !(usable && job.choice().takes(result.camera, result.oldDate)))
        return;
    QByteArray line;
    if (options.json) {
        line = (listed ? ",\n    {" : "\n    {") + QByteArray("\"path\": ") + jsonString(path);
        if (listing == Listing::Dates) {
            line += ", \"date\": " + jsonDate(result.oldDate, usable);
        } else {
            line += ", \"old\": " + jsonDate(result.oldDate, usable)
                    + ", \"new\": " + jsonDate(result.oldDate.addSecs(shiftSeconds), usable);
        }
        if (!usable)
            line += ", \"reason\": " + jsonString(QString::fromUtf8(reason(result)));
        else if (job.countCopies)
            line += ", \"xmp_dates\": " + QByteArray::number(result.xmpDates) + ", \"iptc_dates\": "
                    + QByteArray::number(result.iptcDates) + ", \"sidecars\": " + QByteArray::number(result.sidecars);
        line += '}';
    } else {
        line = ProgressLine::printable(path) + '\t';
        if (!usable)
            line += reason(result);
        else if (listing == Listing::Dates)
            line += dateText(result.oldDate);
        else
            line += dateText(result.oldDate) + " -> " + dateText(result.oldDate.addSecs(shiftSeconds));
        // The other copies of the capture time that move with it.
        if (usable && job.countCopies && (result.xmpDates || result.iptcDates || result.sidecars))
            line += "\t(also " + QByteArray::number(result.xmpDates) + " XMP, " + QByteArray::number(result.iptcDates)
                    + " IPTC, " + QByteArray::number(result.sidecars) + (result.sidecars == 1 ? " sidecar)" : " sidecars)");
        line += '\n';
    }
    ++listed;
    print(line);
}

void CliCommand::startList(Listing kind)
{
    listing = kind;
    listed = 0;
    if (options.json) {
        print("{\n  \"list\": [");
        listOpen = true;
    }
}

void CliCommand::printJson(const Fields &fields)
{
    QByteArray out;
    if (listOpen)
        out = listed ? "\n  ],\n" : "],\n";
    else
        out = "{\n";
    for (size_t i = 0; i < fields.size(); ++i)
        out += "  \"" + QByteArray(fields[i].first) + "\": " + fields[i].second
               + (i + 1 < fields.size() ? ",\n" : "\n");
    print(out + "}\n");
}

void CliCommand::print(const QByteArray &text)
{
    progress.write(report, text);
}

CliCommand::Fields CliCommand::countFields() const
{
    const bool any = state.validCount > 0;
    return {{"folders", QByteArray::number(datingFolders)},
            {"pictures", QByteArray::number(state.pictureCount.load())},
            {"valid", QByteArray::number(state.validCount.load())},
            {"oldest", jsonDate(state.oldestDate, any)},
            {"newest", jsonDate(state.newestDate, any)},
            {"outside_links", QByteArray::number(state.outsideLinks.load())},
            {"unreadable", QByteArray::number(state.unreadableCount.load())}};
}

JobMessages::Pass CliCommand::pass() const
{
    // The chosen pictures (every picture when nothing was chosen).
    const ShiftJob::Tally &chosen = job.chosen();
    JobMessages::Pass p;
    p.pictures = state.pictureCount;
    p.valid = chosen.valid;
    p.folders = datingFolders;
    p.oldest = chosen.oldest;
    p.newest = chosen.newest;
    p.chosen = job.choice().describe();
    p.shiftSeconds = shiftSeconds;
    p.readOnly = state.readOnlyCount;
    p.unreadable = state.unreadableCount;
    return p;
}

QByteArray CliCommand::countText() const
{
    const bool any = state.validCount > 0;
    return "Folders:  " + QByteArray::number(datingFolders) + "\nPictures: "
           + QByteArray::number(state.pictureCount.load()) + "\nUsable:   "
           + QByteArray::number(state.validCount.load()) + "\nOldest:   "
           + (any ? dateText(state.oldestDate) : "none") + "\nNewest:   "
           + (any ? dateText(state.newestDate) : "none") + '\n'
           + (state.outsideLinks > 0 ? "Links leading outside the folder, not followed: "
                                           + QByteArray::number(state.outsideLinks.load()) + '\n'
                                     : QByteArray())
           + (state.unreadableCount > 0 ? "Could not be read: " + QByteArray::number(state.unreadableCount.load()) + '\n'
                                        : QByteArray());
}

QByteArray CliCommand::camerasJson() const
{
    const QList<ShiftJob::Camera> cameras = job.cameras();
    QByteArray out = "[";
    for (int i = 0; i < cameras.size(); ++i) {
        const ShiftJob::Camera &c = cameras.at(i);
        out += QByteArray(i ? ",\n" : "\n") + "    {\"name\": " + jsonString(c.name) + ", \"pictures\": "
               + QByteArray::number(c.pictures) + ", \"valid\": " + QByteArray::number(c.valid)
               + ", \"oldest\": " + jsonDate(c.oldest, c.valid > 0) + ", \"newest\": "
               + jsonDate(c.newest, c.valid > 0) + '}';
    }
    return out + (cameras.isEmpty() ? "]" : "\n  ]");
}

QByteArray CliCommand::camerasText() const
{
    const QList<ShiftJob::Camera> cameras = job.cameras();
    if (cameras.isEmpty())
        return "Cameras:  none\n";
    QByteArray text = "Cameras:\n";
    for (const ShiftJob::Camera &c : cameras) {
        text += "  " + c.name.toUtf8() + ": " + QByteArray::number(c.pictures) + " pictures, "
                + QByteArray::number(c.valid) + " usable";
        if (c.valid > 0)
            text += ", " + dateText(c.oldest) + " to " + dateText(c.newest);
        text += '\n';
    }
    return text;
}

// The first --camera that names no camera of the tree; empty when all do.
QString CliCommand::unknownCamera() const
{
    const QList<ShiftJob::Camera> cameras = job.cameras();
    for (const QString &name : options.cameraNames) {
        bool found = false;
        for (const ShiftJob::Camera &c : cameras)
            found = found || (c.name.compare(name, Qt::CaseInsensitive) == 0 && c.valid > 0);
        if (!found)
            return name;
    }
    return {};
}

int CliCommand::dates()
{
    if (!folderIsUsable())
        return BadInput;
    if (options.list)
        startList(Listing::Dates);
    surveyAndDate();
    if (options.json) {
        Fields fields = countFields();
        if (options.cameras)
            fields.push_back({"cameras", camerasJson()});
        printJson(fields);
    } else {
        print(countText() + (options.cameras ? camerasText() : QByteArray()));
    }
    return Success;
}

bool CliCommand::confirm()
{
    QString question = JobMessages::confirmation(pass());
    if (state.outsideLinks > 0)
        question += QStringLiteral("\n\n%1 links lead outside the folder; they are not followed.").arg(state.outsideLinks.load());
    return askYesNo(question.toUtf8());
}

// Asks on the terminal; only "y" or "yes" (any letter case) is a yes.
bool CliCommand::askYesNo(const QByteArray &question)
{
    progress.write(stderr, question + " [y/N] ");
    char answer[64];
    if (!fgets(answer, sizeof answer, stdin))
        return false;
    const QByteArray word = QByteArray(answer).trimmed().toLower();
    return word == "y" || word == "yes";
}

int CliCommand::shift()
{
    if (!folderIsUsable())
        return BadInput;
    if (!options.picture.isNull() && !PathBytes::isFile(options.picture))
        return badInput(QStringLiteral("%1: no such picture").arg(PathBytes::display(options.picture)));
    surveyAndDate();
    const int pictures = state.pictureCount;
    // What the question, the range check and the counts are about: the chosen
    // pictures (every picture when nothing was chosen).
    const ShiftJob::Tally chosen = job.chosen();
    const int valid = chosen.valid;

    Fields fields = countFields();
    auto report = [&](const QByteArray &text, int changed, bool cancelled, bool dryRun) {
        if (options.json) {
            fields.push_back({"shift_seconds", valid > 0 || options.hasShift
                                                   ? QByteArray::number(shiftSeconds) : "null"});
            fields.push_back({"chosen", QByteArray::number(valid)});
            fields.push_back({"changed", QByteArray::number(changed)});
            fields.push_back({"not_changed", QByteArray::number(qMax(0, valid - changed))});
            fields.push_back({"added_since", QByteArray::number(job.counts.addedSince)});
            fields.push_back({"times_not_set", QByteArray::number(job.counts.timesNotSet)});
            fields.push_back({"xmp_dates", QByteArray::number(job.counts.xmpDates)});
            fields.push_back({"iptc_dates", QByteArray::number(job.counts.iptcDates)});
            fields.push_back({"sidecars", QByteArray::number(job.counts.sidecars)});
            fields.push_back({"problem", job.problem.isEmpty() ? QByteArray("null") : jsonString(job.problem)});
            fields.push_back({"cancelled", cancelled ? "true" : "false"});
            fields.push_back({"dry_run", dryRun ? "true" : "false"});
            fields.push_back({"journal", job.journalPath.isEmpty() ? QByteArray("null")
                                                                   : jsonString(job.journalPath)});
            printJson(fields);
        } else {
            print(text + '\n');
        }
    };

    // Folders and pictures that could not be read were passed over: the
    // shift cannot have reached every picture of the tree.
    const int unreadOrSuccess = state.unreadableCount > 0 ? NotAllChanged : Success;
    shiftSeconds = options.hasShift ? options.shiftSeconds : 0;
    if (state.validCount == 0) {
        report(pictures == 0 ? QByteArray("No jpgs found")
                             : QByteArray::number(pictures) + " (0 valid): nothing to change."
                                   + (state.unreadableCount > 0 ? "\nCould not be read: "
                                                                      + QByteArray::number(state.unreadableCount.load()) + '.'
                                                                : QByteArray()),
               0, false, options.dryRun);
        return unreadOrSuccess;
    }
    const QString unknown = unknownCamera();
    if (!unknown.isEmpty()) {
        QStringList names;
        for (const ShiftJob::Camera &c : job.cameras())
            if (c.valid > 0)
                names << c.name;
        return badInput(QStringLiteral("no picture of camera '%1' with a usable date; the cameras are: %2; "
                                       "nothing was changed").arg(unknown, names.join(QLatin1String(", "))));
    }
    if (valid == 0)
        return badInput(QStringLiteral("none of the %1 pictures with a usable date is chosen; nothing was changed")
                            .arg(state.validCount.load()));
    if (!options.picture.isNull()) {
        // The picture whose true time is known: the shift is that time minus
        // the time it carries.
        const PictureFile::Result known = PictureFile::readDate(options.picture);
        if (known.status != PictureFile::Status::Usable)
            return badInput(QStringLiteral("%1: %2; cannot take the shift from it")
                                .arg(options.picture, QString::fromUtf8(reason(known))));
        shiftSeconds = known.oldDate.secsTo(options.pictureTime);
    } else if (!options.hasShift) {
        shiftSeconds = chosen.oldest.secsTo(options.oldestTo);
    }
    if (shiftSeconds == 0) {
        report(JobMessages::nothingToShift().toUtf8(), 0, false, options.dryRun);
        return unreadOrSuccess;
    }

    const QString outOfRange = job.rangeProblem(shiftSeconds);
    if (!outOfRange.isEmpty())
        return badInput(outOfRange);

    if (options.dryRun) {
        // A second reading pass lists each picture's old and new date. Its log
        // lines repeat those of the dating pass and are left out.
        startList(Listing::Preview);
        const QDateTime oldest = state.oldestDate, newest = state.newestDate;
        const int allValid = state.validCount;
        progress.setQuiet(true);
        runPass(ShiftJob::Task::Dating, QStringLiteral("Checking"), pictures);
        progress.setQuiet(false);
        state.oldestDate = oldest;
        state.newestDate = newest;
        state.validCount = allValid;
        state.pictureCount = pictures;
        report(countText() + "Shift:    " + QByteArray::number(shiftSeconds)
                   + " seconds\nDry run: nothing was written.",
               0, false, true);
        return Success;
    }

    if (!options.yes) {
        if (!isTerminal(STDIN_FILENO))
            return badInput(QStringLiteral("no terminal to ask for confirmation: add --yes to write, "
                                           "or --dry-run to see what would change; nothing was changed"));
        if (!confirm()) {
            report("Nothing was changed.", 0, true, false);
            return NotAllChanged;
        }
    }

    state.shiftSeconds = shiftSeconds;
    state.adaptFileTimes = !options.keepFileTimes;
    state.cancelRequested = false;
    job.useJournal = !options.noJournal;
    job.exifOnly = options.exifOnly;
    {
        CancelOnSignal cancelOnSignal(state.cancelRequested);
        runPass(ShiftJob::Task::Shifting, QStringLiteral("Shifting"), pictures);
    }
    if (!job.refusal.isEmpty()) {
        progress.write(stderr, "kelvaro-cli: " + ProgressLine::printable(job.refusal) + '\n');
        return NotAllChanged;
    }
    const bool cancelled = state.cancelRequested;
    const int changed = state.changedCount;
    JobMessages::Pass dated = pass();
    dated.pictures = pictures;
    QByteArray text = JobMessages::result(dated, cancelled, state.pictureCount, changed).toUtf8();
    text += writingReport(false);
    report(text, changed, cancelled, false);
    return !cancelled && changed == valid && job.problem.isEmpty() && job.counts.timesNotSet == 0
                   && job.counts.notConfirmed == 0
               ? unreadOrSuccess : NotAllChanged;
}

// What a writing pass adds to its report: pictures added since, times not
// set, a failure of the pass itself, the journal.
QByteArray CliCommand::writingReport(bool dryRun)
{
    QByteArray text;
    const ShiftJob::Counts &c = job.counts;
    if (job.sourceJournal.isEmpty() && (c.xmpDates || c.iptcDates || c.sidecars))
        text += "\nAlso moved: " + QByteArray::number(c.xmpDates) + " XMP dates, " + QByteArray::number(c.iptcDates)
                + " IPTC dates, " + QByteArray::number(c.sidecars) + " sidecar files.";
    if (c.addedSince)
        text += "\nAdded since the dates were read, left alone: " + QByteArray::number(c.addedSince) + '.';
    if (c.notConfirmed)
        text += "\nLeft alone, their dates could not be read before the question: "
                + QByteArray::number(c.notConfirmed) + '.';
    if (c.timesNotSet)
        text += "\nFile times could not be set: " + QByteArray::number(c.timesNotSet) + '.';
    if (!job.problem.isEmpty())
        text += "\nProblem: " + ProgressLine::printable(job.problem) + '.';
    if (!job.journalPath.isEmpty())
        text += "\nJournal: " + ProgressLine::printable(QDir::toNativeSeparators(job.journalPath));
    if (dryRun)
        text += "\nDry run: nothing was written.";
    return text;
}

int CliCommand::history()
{
    const QList<ShiftJob::PassInfo> passes = ShiftJob::history();
    auto stateOf = [](const ShiftJob::PassInfo &p) -> QByteArray {
        if (p.undone)
            return "undone";
        if (p.resumed)
            return "resumed";
        if (!p.closed)
            return "interrupted";
        return p.cancelled ? "cancelled" : "complete";
    };
    if (options.json) {
        QByteArray out = "{\n  \"passes\": [";
        for (int i = 0; i < passes.size(); ++i) {
            const ShiftJob::PassInfo &p = passes.at(i);
            out += QByteArray(i ? ",\n" : "\n") + "    {\"journal\": " + jsonString(p.journal) + ", \"kind\": \""
                   + Journal::kindName(p.kind) + "\", \"started\": \""
                   + p.started.toString(Qt::ISODate).toLatin1() + "\", \"folder\": " + jsonString(p.folder)
                   + ", \"shift_seconds\": " + QByteArray::number(p.shiftSeconds) + ", \"pictures\": "
                   + QByteArray::number(p.pictures) + ", \"changed\": " + QByteArray::number(p.changed)
                   + ", \"state\": \"" + stateOf(p) + "\"}";
        }
        print(out + (passes.isEmpty() ? "]\n}\n" : "\n  ]\n}\n"));
        return Success;
    }
    if (passes.isEmpty()) {
        print("No shift has been recorded.\n");
        return Success;
    }
    for (const ShiftJob::PassInfo &p : passes) {
        print(p.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() + "  "
              + Journal::kindName(p.kind).leftJustified(7) + QByteArray::number(p.shiftSeconds).rightJustified(12)
              + " s  " + (QByteArray::number(p.changed) + '/' + QByteArray::number(p.pictures)).rightJustified(13)
              + "  " + stateOf(p).leftJustified(12) + ProgressLine::printable(QDir::toNativeSeparators(p.folder))
              + "\n    " + ProgressLine::printable(QDir::toNativeSeparators(p.journal)) + '\n');
    }
    return Success;
}

int CliCommand::fromJournal(ShiftJob::Task task)
{
    const bool undo = task == ShiftJob::Task::Undo;
    QString journal = options.journal;
    if (journal.isEmpty()) {
        const ShiftJob::PassInfo pass = undo ? ShiftJob::lastUndoable() : ShiftJob::interrupted();
        if (!pass.isValid()) {
            if (!undo) {
                // The newest shift may have been cancelled rather than cut off.
                const QList<ShiftJob::PassInfo> passes = ShiftJob::history();
                for (auto it = passes.crbegin(); it != passes.crend(); ++it) {
                    if (it->kind == Journal::Kind::Undo)
                        break;
                    if (it->cancelled && !it->undone && !it->resumed)
                        journal = it->journal;
                    break;
                }
            }
            if (journal.isEmpty())
                return badInput(undo ? QStringLiteral("no shift to undo") : QStringLiteral("no interrupted shift to resume"));
        } else {
            journal = pass.journal;
        }
    } else if (!PathBytes::isFile(journal)) {
        return badInput(QStringLiteral("%1: no such journal").arg(journal));
    }

    // The folder and shift of the pass, from the shift that started it.
    QList<Journal::Record> chain;
    QString error;
    if (!ShiftJob::journalChain(journal, &chain, &error))
        return badInput(error);
    const Journal::Record &record = chain.front();
    if (record.header.kind == Journal::Kind::Undo)
        return badInput(QStringLiteral("%1 is the journal of an undo").arg(journal));

    const QByteArray what = undo ? "undo" : "resume";
    const QByteArray question = (undo ? "Set back the shift by " : "Finish the shift by ")
                                + QByteArray::number(record.header.shiftSeconds) + " seconds of "
                                + ProgressLine::printable(QDir::toNativeSeparators(record.header.folder)) + " ("
                                + record.header.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1()
                                + ")" + (record.header.choice.isEmpty() ? QByteArray()
                                         : ", pictures " + ShiftJob::Choice::fromJson(record.header.choice).describe().toUtf8())
                                + '?';
    if (!options.yes && !options.dryRun) {
        if (isatty(STDIN_FILENO) != 1)
            return badInput(QStringLiteral("no terminal to ask for confirmation: add --yes to %1, or --dry-run; "
                                           "nothing was changed").arg(QString::fromLatin1(what)));
        if (!askYesNo(question)) {
            print("Nothing was changed.\n");
            return NotAllChanged;
        }
    }

    job.sourceJournal = journal;
    job.dryRun = options.dryRun;
    state.cancelRequested = false;
    {
        CancelOnSignal cancelOnSignal(state.cancelRequested);
        runPass(task, undo ? QStringLiteral("Undoing") : QStringLiteral("Resuming"), record.header.pictures);
    }
    if (!job.refusal.isEmpty()) {
        progress.write(stderr, "kelvaro-cli: " + ProgressLine::printable(job.refusal) + '\n');
        return NotAllChanged;
    }
    const ShiftJob::Counts &c = job.counts;
    const bool cancelled = state.cancelRequested;
    if (options.json) {
        printJson({{"source", jsonString(journal)},
                   {"folder", jsonString(record.header.folder)},
                   {"shift_seconds", QByteArray::number(record.header.shiftSeconds)},
                   {"changed", QByteArray::number(c.changed)},
                   {"already_done", QByteArray::number(c.alreadyDone)},
                   {"not_changed", QByteArray::number(c.notChanged)},
                   {"unrecognised", QByteArray::number(c.unrecognised)},
                   {"added_since", QByteArray::number(c.addedSince)},
                   {"times_not_set", QByteArray::number(c.timesNotSet)},
                   {"sidecars", QByteArray::number(c.sidecars)},
                   {"problem", job.problem.isEmpty() ? QByteArray("null") : jsonString(job.problem)},
                   {"cancelled", cancelled ? "true" : "false"},
                   {"dry_run", options.dryRun ? "true" : "false"},
                   {"journal", job.journalPath.isEmpty() ? QByteArray("null") : jsonString(job.journalPath)}});
    } else {
        QByteArray text = (cancelled ? QByteArray("Cancelled. ") : QByteArray())
                          + (undo ? (options.dryRun ? "Would set back: " : "Set back: ")
                                  : (options.dryRun ? "Would finish: " : "Finished: "))
                          + QByteArray::number(c.changed) + ", already " + (undo ? "as before" : "shifted")
                          + ": " + QByteArray::number(c.alreadyDone) + ", not changed: "
                          + QByteArray::number(c.notChanged) + '.';
        if (c.sidecars)
            text += "\nSidecar files " + QByteArray(undo ? "set back: " : "finished: ") + QByteArray::number(c.sidecars) + '.';
        if (c.unrecognised)
            text += "\nLeft alone, holding neither the old nor the new date (or replaced since): "
                    + QByteArray::number(c.unrecognised) + '.';
        for (const QString &line : job.notes)
            text += "\n  " + ProgressLine::printable(line);
        print(text + writingReport(options.dryRun) + '\n');
    }
    return !cancelled && c.notChanged == 0 && c.unrecognised == 0 && c.timesNotSet == 0 && job.problem.isEmpty()
               ? Success : NotAllChanged;
}
