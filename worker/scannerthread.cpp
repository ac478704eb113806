#include "scannerthread.h"

ScannerThread::ScannerThread(ShiftJob *job, ShiftJob::Task task) : QThread(nullptr), job(job), task(task) {}

ScannerThread::~ScannerThread() = default;

void ScannerThread::run()
{
    job->run(task);
}
