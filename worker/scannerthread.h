#pragma once

#include <QDir>
#include <QThread>

class MainWindow;

// The worker thread of one pass: it runs the window's folder walk on one top
// folder and ends when the walk returns.
class ScannerThread : public QThread {
public:
    ScannerThread(MainWindow *owner, const QDir &folder);
    ~ScannerThread() override;

protected:
    void run() override;

private:
    MainWindow *owner;   // not owned
    QDir folder;
};
