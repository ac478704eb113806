#pragma once

#include "clioptions.h"
#include "folderwalk.h"
#include "jobmessages.h"
#include "progressline.h"
#include "shiftjob.h"
#include "walkstate.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

#include <utility>
#include <vector>

// Runs one parsed kelvaro-cli command: the survey and dating passes for
// `dates`, and for `shift` also the shifting pass, each on a worker thread
// while this thread draws the progress line. Returns the exit status.
class CliCommand : private FolderWalk::Observer {
public:
    enum ExitStatus { Success = 0, NotAllChanged = 1, BadInput = 2 };

    // `report` receives the command's own output (standard output by default).
    explicit CliCommand(const CliOptions &options, FILE *report = stdout);
    int run();

private:
    enum class Listing { None, Dates, Preview };
    using Fields = std::vector<std::pair<const char *, QByteArray>>;

    int dates();
    int shift();
    int history();
    int fromJournal(ShiftJob::Task task);
    int badInput(const QString &message);
    bool folderIsUsable();
    bool confirm();
    bool askYesNo(const QByteArray &question);
    void runPass(ShiftJob::Task task, const QString &label, int total);
    QByteArray writingReport(bool dryRun);
    void surveyAndDate();
    void pictureDone(const QString &path, const PictureFile::Result &result) override;
    void linkSkipped(const QString &path) override;
    void unreadable(const QString &path, const char *reason) override;
    void listLine(const QString &path, const QByteArray &jsonFields, const QByteArray &text);
    JobMessages::Pass pass() const;

    // Output: text lines, or one JSON object whose "list" (when there is one)
    // is written while the pass runs, so that nothing grows with the tree.
    void startList(Listing kind);
    void printJson(const Fields &fields);
    void print(const QByteArray &text);
    Fields countFields() const;
    QByteArray countText() const;
    QByteArray camerasJson() const;
    QByteArray camerasText() const;
    QString unknownCamera() const;

    const CliOptions &options;
    FILE *report;
    WalkState state;
    ShiftJob job{state, this};
    ProgressLine progress;
    Listing listing = Listing::None;
    bool listOpen = false;      // a JSON "list" was started
    int listed = 0;
    qint64 shiftSeconds = 0;
    int datingFolders = 0;
};
