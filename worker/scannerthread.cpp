#include "scannerthread.h"

#include "mainwindow.h"

ScannerThread::ScannerThread(MainWindow *owner, const QDir &folder)
    : QThread(nullptr), owner(owner), folder(folder)
{
}

ScannerThread::~ScannerThread() = default;

void ScannerThread::run()
{
    QDir top(folder);
    owner->scanFolder(top);
}
