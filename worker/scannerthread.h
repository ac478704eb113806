#pragma once

#include "shiftjob.h"

#include <QThread>

// The worker thread of one task of the job: it runs the task and ends when
// the task returns. It never touches a widget; whoever started it learns of
// its end through finished().
class ScannerThread : public QThread {
public:
    ScannerThread(ShiftJob *job, ShiftJob::Task task);
    ~ScannerThread() override;

protected:
    void run() override;

private:
    ShiftJob *job;   // not owned
    ShiftJob::Task task;
};
