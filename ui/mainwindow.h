#pragma once

#include "folderwalk.h"
#include "walkstate.h"

#include <QDir>
#include <QMainWindow>
#include <QPointer>

class MainWindowForm;
class QEvent;
class QTimer;
class ScannerThread;

// The program's window and the controller of the whole job: it remembers the
// top folder, runs the survey, dating and shifting passes one after the other
// on a worker thread, shows their progress, asks before anything is written
// and reports the result.
//
// The state a pass shares with the worker (phase, counters, dates, shift,
// cancel flag) is the WalkState this window is made of; the worker reaches the
// widgets only through queued calls into this thread.
class MainWindow : public QMainWindow, public WalkState
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The folder walk of the current pass; runs on the worker thread.
    void scanFolder(QDir &folder);

    MainWindowForm *ui;   // owned; every widget of the window
    QString folderName;   // the top folder as the folder dialog returned it
    QTimer *timer;        // progress timer of the running pass, or null

public slots:
    void select();
    void workingThreadFinshed();
    void timerElapsed();
    void startAutoSelect();
    void change();
    void cancel();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Hands each new oldest date of the dating pass to the GUI thread.
    class OldestDateRelay : public FolderWalk::Observer {
    public:
        explicit OldestDateRelay(MainWindow *window) : window(window) {}
        void oldestDateChanged(const QDateTime &date) override;
    private:
        MainWindow *window;
    };

    // Set-up steps of the constructor, one concern each.
    void setUpDateFields();
    void setUpColours();
    void setUpAccessibility();
    // Grows the fixed window when its texts need more room than the form's
    // size (a large font, a longer translation); never shrinks below it.
    void fitToContents();
    // Where the folder dialog opens: the remembered folder while it exists,
    // otherwise the user's Pictures folder, otherwise the home folder.
    QString startFolder() const;

    void startProgressTimer();
    void stopProgressTimer();
    void launchPass();
    QString countText() const;

    OldestDateRelay oldestDateRelay;
    QPointer<ScannerThread> runningThread;   // only to wait for it on close
};
