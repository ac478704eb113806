#pragma once

#include "folderwalk.h"
#include "jobmessages.h"
#include "shiftjob.h"
#include "undoshiftaction.h"
#include "walkstate.h"

#include <QDir>
#include <QMainWindow>
#include <QPointer>

class CameraBox;
class MainWindowForm;
class OldestPicture;
class QCloseEvent;
class QComboBox;
class QEvent;
class QLabel;
class QMessageBox;
class QTimer;
class ScannerThread;

// The program's window and the face of the job: it remembers the top folder,
// has the job run the survey, dating and shifting passes (and undo and resume)
// one after the other on a worker thread, shows their progress, asks before
// anything is written and reports the result. A thin controller behind the
// form: how the form and its tool bar look (FormLook, ToolBarLook), the keys
// of the new-date field (NewDateKeys), the camera choice (CameraBox), the
// oldest picture shown (OldestPicture), the undo action (UndoShiftAction),
// the questions (PassQuestions), the result boxes (PassResults) and the
// remembered folder (RememberedFolder) are classes of their own; what a
// question tells of the pass, the job says (ShiftJob::datedPass).
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

    MainWindowForm *ui;   // owned; every widget of the window
    QString folderName;   // the top folder as the folder dialog returned it
    QTimer *timer;        // progress timer of the running pass, or null
    UndoShiftAction *undoAction;   // "Undo last shift" in the tool bar
    // "Camera:" in the tool bar, made the first time a tree holds the pictures
    // of more than one camera and shown only for such trees (null until then).
    QLabel *cameraLabel = nullptr;
    QComboBox *cameraCombo = nullptr;
    // "Show oldest picture" in the tool bar, and the path it opens.
    OldestPicture *oldestPicture = nullptr;

public slots:
    void select();
    void workingThreadFinshed();
    void timerElapsed();
    void startAutoSelect();
    void change();
    void cancel();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Hands each new oldest date of the dating pass to the GUI thread.
    class OldestDateRelay : public FolderWalk::Observer {
    public:
        explicit OldestDateRelay(MainWindow *window) : window(window) {}
        void oldestDateChanged(const QDateTime &date) override;
    private:
        MainWindow *window;
    };

    void startProgressTimer();
    void stopProgressTimer();
    void launchPass(ShiftJob::Task task);
    QString countText() const;
    JobMessages::Pass datedPass(qint64 seconds) const;
    bool passRunning() const { return !runningThread.isNull(); }
    void readDates(const QString &folder);
    void showShiftResult();
    void showJournalResult();
    void passEnded(QMessageBox *result, const QString &folder);
    void showPendingResult();
    bool offerInterruptedPass();
    void runFromJournal(ShiftJob::Task task, const QString &journal);
    void undoLastShift();
    void updateUndoAction();
    void offerCameras();
    void hideCameras();
    void cameraChosen(int index);

    CameraBox *cameraBox = nullptr;          // the tool bar's camera choice, once made
    QAction *cameraAction = nullptr;         // its place in the tool bar
    OldestDateRelay oldestDateRelay;
    ShiftJob job;
    ShiftJob::Task runningTask = ShiftJob::Task::Survey;
    QPointer<ScannerThread> runningThread;   // the worker of the running task, if any
    bool closeWhenDone = false;              // the user closed the window during a shift
    int datedPictures = 0;                   // pictures and folders the dating pass found
    int datedFolders = 0;
    int datedUnsupported = 0;                // of them, files whose format is not supported
    // The result of the writing pass that ended, shown once the dates of its
    // tree are read again, and the camera that pass had chosen.
    QPointer<QMessageBox> pendingResult;
    QString keptCamera;
};
