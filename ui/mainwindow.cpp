#include "mainwindow.h"

#include "camerabox.h"
#include "formlook.h"
#include "jobmessages.h"
#include "mainwindowform.h"
#include "newdatekeys.h"
#include "oldestpicture.h"
#include "passquestions.h"
#include "passresults.h"
#include "rememberedfolder.h"
#include "scannerthread.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), timer(nullptr), undoAction(nullptr), oldestDateRelay(this), job(*this, &oldestDateRelay)
{
    ui = new MainWindowForm;
    ui->setupUi(this);

    FormLook::setUpDateFields(*ui);
    FormLook::setUpColours(*this, *ui);
    // The form makes each caption its field's buddy, so that screen readers
    // name the field after it, names the progress bar, says what the date
    // fields take and leaves the field that only shows the current date out
    // of the tab chain. Return in the new date confirms it, as the Shift
    // button does.
    new NewDateKeys(ui->dateTimeEditNew, ui->pushButtonShift, this);
    FormLook::fitToContents(*this, *ui);

    job.reset();
    adaptFileTimes = ui->checkBoxFileDate->isChecked();

    undoAction = new UndoShiftAction(this);
    // Queued, so that whoever pressed it (a screen reader too) gets its
    // press back at once and the question opens after it.
    connect(undoAction, &QAction::triggered, this, [this] { undoLastShift(); }, Qt::QueuedConnection);
    ui->mainToolBar->addAction(undoAction);
    updateUndoAction();
    oldestPicture = new OldestPicture(ui->mainToolBar, ui->dateTimeEditCurrent, this);

    ui->progressBar->hide();
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->hide();
    // The folder is chosen through the dialog only: a typed path would be
    // shown but never walked.
    ui->folderEdit->setReadOnly(true);

    folderName = RememberedFolder::load();

    QTimer::singleShot(200, this, SLOT(startAutoSelect()));
}

MainWindow::~MainWindow()
{
    // A task still running when the window goes: stop it and wait, so that the
    // worker never touches this window's fields after they are gone.
    if (runningThread) {
        cancelRequested = true;
        runningThread->wait();
        delete runningThread;
    }
    delete ui;
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        undoAction->retranslate();
        oldestPicture->retranslate();
        if (cameraBox)
            cameraBox->retranslate(validCount);
    }
    // New texts or a new font may need more room (setupUi sets the font
    // before the widgets exist: only a shown window is fitted again).
    if (event->type() == QEvent::LanguageChange
        || (event->type() == QEvent::FontChange && isVisible()))
        FormLook::fitToContents(*this, *ui);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool writing = passRunning() && runningTask != ShiftJob::Task::Survey
                         && runningTask != ShiftJob::Task::Dating;
    if (!writing) {
        // The dates are being read again after a pass that wrote: its result
        // is shown before the window closes.
        if (pendingResult && passRunning()) {
            event->ignore();
            closeWhenDone = true;
            cancelRequested = true;
            return;
        }
        event->accept();
        return;
    }
    // A pass that writes is never cut off in the middle: the user may stop it
    // after the picture in hand, and then sees what was done. While the
    // question is open the pictures in hand are finished and no other begun,
    // so that the pass stops where it stood when the user asked.
    event->ignore();
    if (cancelRequested)
        return;   // stopping already; the result box follows
    pauseRequested = true;
    const QPointer<ScannerThread> asked = runningThread;
    const bool stop = PassQuestions::stopWriting(this);
    if (asked && asked == runningThread) {
        pauseRequested = false;
        if (stop) {
            closeWhenDone = true;
            cancelRequested = true;
        }
    } else if (stop) {
        // The pass ended while the question was open (its end lowered the
        // pause): the window closes as asked, through the usual way.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void MainWindow::OldestDateRelay::oldestDateChanged(const QDateTime &date)
{
    MainWindow *w = window;
    QMetaObject::invokeMethod(
        w, [w, date] { w->ui->dateTimeEditCurrent->setDateTime(date); }, Qt::QueuedConnection);
}

void MainWindow::select()
{
    if (passRunning())
        return;   // one task at a time
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Select Top Folder"), RememberedFolder::startFolder(folderName),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // A cancelled dialog changes nothing and starts nothing.
    if (chosen.isEmpty() || passRunning())
        return;
    readDates(chosen);
}

// The survey and dating passes of `folder`, which becomes the window's folder.
void MainWindow::readDates(const QString &folder)
{
    folderName = folder;
    ui->folderEdit->setText(folderName);
    RememberedFolder::save(folderName);
    ui->numberEdit->setText(tr("please wait ..."));

    job.reset();
    job.folder = folderName;
    datedUnsupported = 0;
    hideCameras();
    oldestPicture->setPath(QString());

    ui->pushButtonSelect->setEnabled(false);
    ui->progressBar->hide();
    ui->pushButtonShift->hide();

    startProgressTimer();
    launchPass(ShiftJob::Task::Survey);
}

void MainWindow::startProgressTimer()
{
    if (timer)
        return;
    timer = new QTimer(this);
    connect(timer, SIGNAL(timeout()), this, SLOT(timerElapsed()));
    timer->start(200);
}

void MainWindow::stopProgressTimer()
{
    if (!timer)
        return;
    timer->stop();
    delete timer;
    timer = nullptr;
}

void MainWindow::launchPass(ShiftJob::Task task)
{
    ScannerThread *thread = new ScannerThread(&job, task);
    connect(thread, SIGNAL(finished()), this, SLOT(workingThreadFinshed()));
    // Released once its end has been handled.
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    runningThread = thread;
    runningTask = task;
    folderCount = 0;
    // The box is read when a shift starts; it cannot change while any pass runs.
    ui->checkBoxFileDate->setEnabled(false);
    if (cameraCombo)
        cameraCombo->setEnabled(false);   // the choice is made between passes
    updateUndoAction();
    thread->start(QThread::InheritPriority);
}

JobMessages::Pass MainWindow::datedPass(qint64 seconds) const
{
    return job.datedPass(datedPictures, datedFolders, seconds);
}

QString MainWindow::countText() const
{
    if (datedUnsupported > 0)
        return tr("%1 (%2 valid, %3 format not supported)").arg(pictureCount).arg(validCount).arg(datedUnsupported);
    return tr("%1 (%2 valid)").arg(pictureCount).arg(validCount);
}

void MainWindow::timerElapsed()
{
    switch (phase) {
    case Survey:
        ui->numberEdit->setText(QString::number(pictureCount));
        break;
    case Dating:
        ui->progressBar->setValue(pictureCount);
        ui->numberEdit->setText(countText());
        break;
    case Shifting: {
        // The pictures whose write has ended, of those the pass set out to change.
        const int total = qMax(1, writingTotal.load());
        ui->progressBar->setMaximum(total);
        ui->progressBar->setValue(qMin(doneCount.load(), total));
        break;
    }
    default:
        break;
    }
}

void MainWindow::workingThreadFinshed()
{
    runningThread = nullptr;   // it deletes itself
    pauseRequested = false;    // a close question still open asked about this pass
    ui->checkBoxFileDate->setEnabled(true);
    switch (runningTask) {
    case ShiftJob::Task::Survey:
        ui->progressBar->setMaximum(pictureCount);
        ui->progressBar->show();
        launchPass(ShiftJob::Task::Dating);
        break;
    case ShiftJob::Task::Dating:
        ui->pushButtonSelect->setEnabled(true);
        ui->progressBar->hide();
        ui->pushButtonShift->show();
        stopProgressTimer();
        datedPictures = pictureCount;
        datedFolders = folderCount;
        datedUnsupported = job.kinds().unsupported;
        // No date of this folder to show: the previous folder's go too.
        FormLook::showDates(*ui, validCount > 0 ? oldestDate : QDateTime());
        if (validCount > 0) {
            ui->numberEdit->setText(countText());
            ui->pushButtonShift->setEnabled(true);
            oldestPicture->setPath(oldestPath);
            offerCameras();
            // Read again after a pass that wrote: the camera that pass had chosen stays chosen.
            const int kept = cameraCombo && !keptCamera.isEmpty() ? cameraCombo->findData(keptCamera) : -1;
            if (kept > 0)
                cameraCombo->setCurrentIndex(kept);
        } else {
            // Pictures without a usable date are still pictures found.
            ui->numberEdit->setText(pictureCount > 0 ? countText() : tr("No jpgs found"));
            ui->pushButtonShift->setEnabled(false);
        }
        updateUndoAction();
        keptCamera.clear();
        showPendingResult();
        break;
    case ShiftJob::Task::Shifting:
        showShiftResult();
        break;
    case ShiftJob::Task::Undo:
    case ShiftJob::Task::Resume:
        showJournalResult();
        break;
    }
    if (closeWhenDone && !passRunning())
        close();
}

void MainWindow::showShiftResult()
{
    ui->pushButtonSelect->setEnabled(true);
    ui->progressBar->hide();
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->hide();
    stopProgressTimer();
    updateUndoAction();
    if (!job.refusal.isEmpty()) {
        ui->pushButtonShift->show();
        if (cameraCombo)
            cameraCombo->setEnabled(true);   // nothing was written: the choice still holds
        QMessageBox::warning(this, tr("Kelvaro"), job.refusal, QMessageBox::Ok);
        return;
    }
    passEnded(PassResults::shiftBox(this, job, *this, datedPass(shiftSeconds)), job.folder);
}

void MainWindow::showJournalResult()
{
    ui->pushButtonSelect->setEnabled(true);
    ui->progressBar->hide();
    ui->pushButtonCancel->hide();
    stopProgressTimer();
    updateUndoAction();
    if (!job.refusal.isEmpty()) {
        QMessageBox::warning(this, tr("Kelvaro"), job.refusal, QMessageBox::Ok);
        return;
    }
    passEnded(PassResults::journalBox(this, job, runningTask == ShiftJob::Task::Undo, cancelRequested),
              job.journalHeader.folder);
}

// After a pass that wrote (whole, cancelled or partial): its tree's dates are
// read again before its result is shown, so that both date fields show the
// dates the pictures hold and a further shift starts from them.
void MainWindow::passEnded(QMessageBox *result, const QString &folder)
{
    pendingResult = result;
    keptCamera = cameraAction && cameraAction->isVisible() ? cameraCombo->currentData().toString() : QString();
    if (closeWhenDone || folder.isEmpty())
        showPendingResult();
    else
        readDates(folder);
}

void MainWindow::showPendingResult()
{
    if (!pendingResult)
        return;
    const QString undoJournal = PassResults::show(pendingResult);
    if (!undoJournal.isEmpty())
        runFromJournal(ShiftJob::Task::Undo, undoJournal);
}

void MainWindow::startAutoSelect()
{
    if (offerInterruptedPass())
        return;
    select();
}

// A shift that stopped without its end (a crash, a power cut, a killed
// process) is offered to be finished or undone before anything else.
bool MainWindow::offerInterruptedPass()
{
    const ShiftJob::PassInfo pass = ShiftJob::interrupted();
    if (!pass.isValid())
        return false;
    switch (PassQuestions::askInterrupted(this, pass)) {
    case PassQuestions::Interrupted::Finish:
        runFromJournal(ShiftJob::Task::Resume, pass.journal);
        return true;
    case PassQuestions::Interrupted::Undo:
        runFromJournal(ShiftJob::Task::Undo, pass.journal);
        return true;
    case PassQuestions::Interrupted::Later:
        break;
    }
    return false;
}

void MainWindow::runFromJournal(ShiftJob::Task task, const QString &journal)
{
    if (passRunning())
        return;
    Journal::Record record;
    if (!Journal::summarize(journal, &record)) {
        QMessageBox::warning(this, tr("Kelvaro"), tr("The journal %1 cannot be read.").arg(QDir::toNativeSeparators(journal)),
                             QMessageBox::Ok);
        return;
    }
    cancelRequested = false;
    writingTotal = record.header.pictures;
    doneCount = 0;
    job.sourceJournal = journal;
    job.dryRun = false;
    ui->pushButtonSelect->setEnabled(false);
    ui->pushButtonShift->hide();
    ui->progressBar->setMaximum(qMax(1, record.header.pictures));
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    ui->pushButtonCancel->show();
    pictureCount = 0;
    startProgressTimer();
    launchPass(task);
}

void MainWindow::undoLastShift()
{
    if (passRunning())
        return;
    const ShiftJob::PassInfo pass = ShiftJob::lastUndoable();
    if (!pass.isValid())
        return;
    if (PassQuestions::confirmUndo(this, pass))
        runFromJournal(ShiftJob::Task::Undo, pass.journal);
}

void MainWindow::updateUndoAction()
{
    undoAction->setEnabled(!passRunning() && ShiftJob::lastUndoable().isValid());
}

// After the dating pass: a tree with usable pictures of more than one camera
// offers to shift one camera's pictures alone, most pictures first.
void MainWindow::offerCameras()
{
    QList<ShiftJob::Camera> cameras;
    for (const ShiftJob::Camera &camera : job.cameras())
        if (camera.valid > 0)
            cameras << camera;
    if (cameras.size() < 2) {
        hideCameras();
        return;
    }
    if (!cameraBox) {
        cameraBox = new CameraBox(this);
        cameraLabel = cameraBox->label;
        cameraCombo = cameraBox->combo;
        cameraAction = ui->mainToolBar->addWidget(cameraBox);
        connect(cameraCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this](int index) { cameraChosen(index); });
    }
    cameraBox->fill(cameras, validCount);
    cameraAction->setVisible(true);
    FormLook::fitToContents(*this, *ui);   // room for the choice beside the actions
}

void MainWindow::hideCameras()
{
    if (!cameraAction)
        return;
    cameraAction->setVisible(false);
    cameraBox->clear();
    FormLook::fitToContents(*this, *ui);
}

// Shows the chosen camera's pictures (or all) and its oldest picture, from
// which the new date starts.
void MainWindow::cameraChosen(int index)
{
    if (index < 0 || passRunning())
        return;
    const QString name = cameraCombo->itemData(index).toString();
    ShiftJob::Choice choice;
    if (!name.isEmpty())
        choice.cameras << name;
    job.choose(choice);
    QString count = countText();
    for (const ShiftJob::Camera &camera : job.cameras())
        if (camera.name == name)
            count = tr("%1 (%2 valid)").arg(camera.pictures).arg(camera.valid);
    ui->numberEdit->setText(count);
    ui->dateTimeEditCurrent->setDateTime(job.chosen().oldest);
    ui->dateTimeEditNew->setDateTime(job.chosen().oldest);
    oldestPicture->setPath(job.chosen().oldestPath);
}

void MainWindow::change()
{
    if (passRunning())
        return;
    const qint64 seconds = ui->dateTimeEditCurrent->dateTime().secsTo(ui->dateTimeEditNew->dateTime());
    // The same check as kelvaro-cli's: no picture may leave the years 1000 to 9999.
    const QString outOfRange = job.rangeProblem(seconds);
    if (!outOfRange.isEmpty()) {
        QMessageBox::warning(this, tr("Kelvaro"), outOfRange, QMessageBox::Ok);
        return;
    }
    if (seconds == 0) {
        QMessageBox::information(this, tr("Kelvaro"), JobMessages::nothingToShift(), QMessageBox::Ok);
        return;
    }
    if (!PassQuestions::confirmShift(this, datedPass(seconds), outsideLinks))
        return;

    ui->progressBar->show();
    ui->pushButtonSelect->setEnabled(false);
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->show();
    pictureCount = 0;
    changedCount = 0;
    doneCount = 0;
    writingTotal = job.chosen().valid;
    cancelRequested = false;
    shiftSeconds = seconds;
    // The box's state when the pass starts counts for the whole pass.
    adaptFileTimes = ui->checkBoxFileDate->isChecked();
    startProgressTimer();
    launchPass(ShiftJob::Task::Shifting);
}

void MainWindow::cancel()
{
    cancelRequested = true;
}
