#include "clicommand.h"

#include "datereader.h"

#include "cancelonsignal.h"
#include "console.h"
#include "datingreport.h"
#include "historyreport.h"
#include "pathbytes.h"
#include "terminalenglish.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define STDIN_FILENO 0
#define STDERR_FILENO 2
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

CliCommand::CliCommand(const CliOptions &options, FILE *report)
    : options(options), progress(Console::isVirtualTerminal(STDERR_FILENO)), output(report, progress, options.json)
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
        output.print(CliOptions::usage().toUtf8());
        return Success;
    case CliOptions::Command::Version:
        output.print("kelvaro-cli " KELVARO_VERSION "\n");
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
    // A pass that writes counts the pictures written (or looked at and left
    // alone) against the pictures it sets out to change, as the window does;
    // the others count the pictures met.
    const bool writing = task == ShiftJob::Task::Shifting || task == ShiftJob::Task::Undo
                         || task == ShiftJob::Task::Resume;
    // Progress is sampled, not signalled: at most ten redraws a second.
    while (!worker->wait(QDeadlineTimer(100))) {
        if (writing)
            progress.update(state.doneCount, state.writingTotal > 0 ? int(state.writingTotal) : total);
        else
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
    choice.kinds = options.kinds;
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

void CliCommand::unreadable(const QString &path, const char *why)
{
    if (state.phase == WalkState::Dating)
        listing.unreadable(path, why);
}

void CliCommand::pictureDone(const QString &path, const PictureResult &result)
{
    listing.picture(path, result);
}

JobMessages::Pass CliCommand::pass() const
{
    return job.datedPass(state.pictureCount, datingFolders, shiftSeconds);
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
        listing.start(PictureListing::Kind::Dates);
    surveyAndDate();
    const DatingReport dated(state, job, datingFolders);
    if (options.json) {
        CliOutput::Fields fields = dated.countFields();
        if (options.cameras)
            fields.push_back({"cameras", dated.camerasJson()});
        output.printJson(fields);
    } else {
        output.print(dated.countText() + (options.cameras ? dated.camerasText() : QByteArray()));
    }
    return Success;
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

    // The counts of the dating pass, taken before a dry run's second reading pass.
    const DatingReport dated(state, job, datingFolders);
    const CliOutput::Fields counts = dated.countFields();
    auto report = [&](const QByteArray &text, int changed, bool cancelled, bool dryRun) {
        results.shift(counts, text, {valid, valid > 0 || options.hasShift, shiftSeconds, changed, cancelled, dryRun});
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
        return badInput(state.validCount == 1
                            ? QStringLiteral("the one picture with a usable date is not chosen; nothing was changed")
                            : QStringLiteral("none of the %1 pictures with a usable date is chosen; nothing was changed")
                                  .arg(state.validCount.load()));
    if (!options.picture.isNull()) {
        // The picture whose true time is known: the shift is that time minus
        // the time it carries.
        const PictureResult known = DateReader::read(options.picture);
        if (known.status != PictureStatus::Usable)
            return badInput(QStringLiteral("%1: %2; cannot take the shift from it")
                                .arg(options.picture, QString::fromUtf8(CliOutput::reason(known))));
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
        listing.start(PictureListing::Kind::Preview, shiftSeconds);
        const QDateTime oldest = state.oldestDate, newest = state.newestDate;
        const QString oldestPath = state.oldestPath, newestPath = state.newestPath;
        const int allValid = state.validCount;
        progress.setQuiet(true);
        runPass(ShiftJob::Task::Dating, QStringLiteral("Checking"), pictures);
        progress.setQuiet(false);
        state.oldestDate = oldest;
        state.newestDate = newest;
        state.oldestPath = oldestPath;
        state.newestPath = newestPath;
        state.validCount = allValid;
        state.pictureCount = pictures;
        report(dated.countText() + "Shift:    " + QByteArray::number(shiftSeconds)
                   + " seconds\nDry run: nothing was written.",
               0, false, true);
        return Success;
    }

    if (!options.yes) {
        if (!Console::isTerminal(STDIN_FILENO))
            return badInput(QStringLiteral("no terminal to ask for confirmation: add --yes to write, "
                                           "or --dry-run to see what would change; nothing was changed"));
        if (!questions.confirmShift(pass(), state.outsideLinks)) {
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
    // A pass that stopped itself (its journal failed) was not cancelled: its
    // problem says why it stopped.
    const bool cancelled = state.cancelRequested && job.problem.isEmpty();
    const int changed = state.changedCount;
    JobMessages::Pass shifted = pass();
    shifted.pictures = pictures;
    QByteArray text = TerminalEnglish::ofTotal(
        JobMessages::result(shifted, cancelled, state.doneCount, changed).toUtf8(), shifted.valid);
    text += results.writingText(false);
    report(text, changed, cancelled, false);
    return !cancelled && changed == valid && job.problem.isEmpty() && job.counts.timesNotSet == 0
                   && job.counts.notConfirmed == 0
               ? unreadOrSuccess : NotAllChanged;
}

int CliCommand::history()
{
    const QList<ShiftJob::PassInfo> passes = ShiftJob::history();
    output.print(options.json ? HistoryReport::json(passes) : HistoryReport::text(passes));
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
    // Damaged lines and a cut anywhere in the chain; no closing line in the
    // journal named (an interrupted pass, or one cut short).
    int damaged = 0;
    bool cut = false, closed = true;
    for (const Journal::Record &link : chain) {
        Journal::Record summary;
        if (!Journal::summarize(link.path, &summary))
            continue;
        damaged += int(summary.damaged.size());
        cut = cut || summary.cut;
        if (&link == &chain.back())
            closed = summary.closed;
    }
    const QString journalState = JobMessages::journalState(damaged, cut, closed);

    if (!options.yes && !options.dryRun) {
        if (isatty(STDIN_FILENO) != 1)
            return badInput(QStringLiteral("no terminal to ask for confirmation: add --yes to %1, or --dry-run; "
                                           "nothing was changed").arg(undo ? QLatin1String("undo") : QLatin1String("resume")));
        if (!questions.confirmFromJournal(undo, record.header, journalState)) {
            output.print("Nothing was changed.\n");
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
    // A pass that stopped itself (its journal failed) was not cancelled: its
    // problem says why it stopped.
    const bool cancelled = state.cancelRequested && job.problem.isEmpty();
    // The pass read every line: what it found wrong with the journal counts too.
    const QString stateAfter = JobMessages::journalState(std::max(damaged, c.damaged),
                                                         cut || c.journalCut || c.listLost, closed);
    results.fromJournal(journal, record.header, undo, cancelled, options.dryRun, stateAfter);
    return !cancelled && c.notChanged == 0 && c.unrecognised == 0 && c.timesNotSet == 0 && job.problem.isEmpty()
                   && c.journalSound()
               ? Success : NotAllChanged;
}
