#pragma once

#include "clioptions.h"
#include "clioutput.h"
#include "cliquestions.h"
#include "folderwalk.h"
#include "jobmessages.h"
#include "picturelisting.h"
#include "progressline.h"
#include "resultreport.h"
#include "shiftjob.h"
#include "walkstate.h"

#include <QString>

#include <cstdio>

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
    int dates();
    int shift();
    int history();
    int fromJournal(ShiftJob::Task task);
    int badInput(const QString &message);
    bool folderIsUsable();
    void runPass(ShiftJob::Task task, const QString &label, int total);
    void surveyAndDate();
    void pictureDone(const QString &path, const PictureResult &result) override;
    void linkSkipped(const QString &path) override;
    void unreadable(const QString &path, const char *reason) override;
    JobMessages::Pass pass() const;
    QString unknownCamera() const;

    const CliOptions &options;
    WalkState state;
    ShiftJob job{state, this};
    ProgressLine progress;
    CliOutput output;
    PictureListing listing{output, job};
    ResultReport results{output, job};
    CliQuestions questions{progress};
    qint64 shiftSeconds = 0;
    int datingFolders = 0;
};
