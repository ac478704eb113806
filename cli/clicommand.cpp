#include "clicommand.h"

#include "capturedate.h"
#include "jobmessages.h"

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
// Installs the handler for SIGINT and SIGTERM while it lives.
class CancelOnSignal {
public:
    explicit CancelOnSignal(std::atomic<bool> &flag)
    {
        cancelFlag = &flag;
        oldInt = std::signal(SIGINT, requestCancel);
        oldTerm = std::signal(SIGTERM, requestCancel);
    }
    ~CancelOnSignal()
    {
        std::signal(SIGINT, oldInt == SIG_ERR ? SIG_DFL : oldInt);
        std::signal(SIGTERM, oldTerm == SIG_ERR ? SIG_DFL : oldTerm);
        cancelFlag = nullptr;
    }

private:
    using Handler = void (*)(int);
    Handler oldInt = SIG_DFL;
    Handler oldTerm = SIG_DFL;
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

QByteArray jsonString(const QString &text)
{
    QByteArray out = "\"";
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
    return out + '"';
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
            text += " \"" + result.oldText + '"';
    return text;
}

} // namespace

CliCommand::CliCommand(const CliOptions &options, FILE *report)
    : options(options), report(report), progress(isVirtualTerminal(STDERR_FILENO))
{
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
    }
    return BadInput;
}

int CliCommand::badInput(const QString &message)
{
    progress.write(stderr, "kelvaro-cli: " + message.toUtf8() + '\n');
    return BadInput;
}

bool CliCommand::folderIsUsable()
{
    const QFileInfo info(options.folder);
    if (!info.exists()) {
        badInput(QStringLiteral("%1: no such folder").arg(options.folder));
        return false;
    }
    if (!info.isDir()) {
        badInput(QStringLiteral("%1: not a folder").arg(options.folder));
        return false;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        badInput(QStringLiteral("%1: cannot read this folder").arg(options.folder));
        return false;
    }
    return true;
}

void CliCommand::runPass(WalkState::Phase phase, const QString &label, int total)
{
    state.phase = phase;
    state.pictureCount = 0;
    state.folderCount = 0;
    state.changedCount = 0;
    progress.begin(label, total);
    QThread *worker = QThread::create([this] { FolderWalk(state, this).scanFolder(QDir(options.folder)); });
    worker->start();
    bool told = false;
    // Progress is sampled, not signalled: at most ten redraws a second.
    while (!worker->wait(QDeadlineTimer(100))) {
        progress.update(state.pictureCount);
        if (state.cancelRequested && !told) {
            progress.write(stderr, "Cancelling: finishing the picture in hand.\n");
            told = true;
        }
    }
    delete worker;
    progress.end();
}

void CliCommand::surveyAndDate()
{
    // Capture dates span the years 1000..9999, so any usable one moves these.
    state.oldestDate = QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    state.newestDate = QDateTime(QDate(999, 12, 31), QTime(0, 0), Qt::UTC);
    state.validCount = 0;
    // The survey pass only gives the progress bar its total.
    if (progress.enabled())
        runPass(WalkState::Survey, QStringLiteral("Counting"), 0);
    runPass(WalkState::Dating, QStringLiteral("Reading dates"), state.pictureCount);
    datingFolders = state.folderCount;
}

void CliCommand::pictureDone(const QString &path, const PictureFile::Result &result)
{
    if (listing == Listing::None)
        return;
    const bool usable = result.status == PictureFile::Status::Usable;
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
        line += '}';
    } else {
        line = path.toUtf8() + '\t';
        if (!usable)
            line += reason(result);
        else if (listing == Listing::Dates)
            line += dateText(result.oldDate);
        else
            line += dateText(result.oldDate) + " -> " + dateText(result.oldDate.addSecs(shiftSeconds));
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
            {"newest", jsonDate(state.newestDate, any)}};
}

QByteArray CliCommand::countText() const
{
    const bool any = state.validCount > 0;
    return "Folders:  " + QByteArray::number(datingFolders) + "\nPictures: "
           + QByteArray::number(state.pictureCount.load()) + "\nUsable:   "
           + QByteArray::number(state.validCount.load()) + "\nOldest:   "
           + (any ? dateText(state.oldestDate) : "none") + "\nNewest:   "
           + (any ? dateText(state.newestDate) : "none") + '\n';
}

int CliCommand::dates()
{
    if (!folderIsUsable())
        return BadInput;
    if (options.list)
        startList(Listing::Dates);
    surveyAndDate();
    if (options.json)
        printJson(countFields());
    else
        print(countText());
    return Success;
}

bool CliCommand::confirm()
{
    const QString question = JobMessages::confirmation(state.validCount, datingFolders, state.oldestDate,
                                                       state.newestDate);
    progress.write(stderr, question.toUtf8() + " [y/N] ");
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
    surveyAndDate();
    const int valid = state.validCount;
    const int pictures = state.pictureCount;

    Fields fields = countFields();
    auto report = [&](const QByteArray &text, int changed, bool cancelled, bool dryRun) {
        if (options.json) {
            fields.push_back({"shift_seconds", valid > 0 || options.hasShift
                                                   ? QByteArray::number(shiftSeconds) : "null"});
            fields.push_back({"changed", QByteArray::number(changed)});
            fields.push_back({"not_changed", QByteArray::number(valid - changed)});
            fields.push_back({"cancelled", cancelled ? "true" : "false"});
            fields.push_back({"dry_run", dryRun ? "true" : "false"});
            printJson(fields);
        } else {
            print(text + '\n');
        }
    };

    shiftSeconds = options.hasShift ? options.shiftSeconds : 0;
    if (valid == 0) {
        report("No jpgs found", 0, false, options.dryRun);
        return Success;
    }
    if (!options.hasShift)
        shiftSeconds = state.oldestDate.secsTo(options.oldestTo);

    // Every date lies between the oldest and the newest, so checking those two
    // tells whether every shifted date still fits in place of the old one.
    for (const QDateTime &date : {state.oldestDate, state.newestDate}) {
        const QDateTime moved = date.addSecs(shiftSeconds);
        if (CaptureDate::format(moved).isEmpty())
            return badInput(QStringLiteral("shifting by %1 seconds would move %2 outside the years 1000 to 9999; "
                                           "nothing was changed")
                                .arg(shiftSeconds)
                                .arg(QString::fromLatin1(dateText(date))));
    }

    if (options.dryRun) {
        // A second reading pass lists each picture's old and new date. Its log
        // lines repeat those of the dating pass and are left out.
        startList(Listing::Preview);
        const QDateTime oldest = state.oldestDate, newest = state.newestDate;
        progress.setQuiet(true);
        runPass(WalkState::Dating, QStringLiteral("Checking"), pictures);
        progress.setQuiet(false);
        state.oldestDate = oldest;
        state.newestDate = newest;
        state.validCount = valid;
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
    {
        CancelOnSignal cancelOnSignal(state.cancelRequested);
        runPass(WalkState::Shifting, QStringLiteral("Shifting"), pictures);
    }
    const bool cancelled = state.cancelRequested;
    const int changed = state.changedCount;
    report(JobMessages::result(valid, state.folderCount, state.oldestDate, state.newestDate, cancelled, changed)
               .toUtf8(),
           changed, cancelled, false);
    return !cancelled && changed == valid ? Success : NotAllChanged;
}
