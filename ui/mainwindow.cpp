#include "mainwindow.h"

#include "capturedate.h"
#include "jobmessages.h"
#include "mainwindowform.h"
#include "scannerthread.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QToolBar>

namespace {

const char organisation[] = "Morvane";
const char application[] = "Kelvaro";
const char folderKey[] = "folderName";

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), timer(nullptr), undoAction(nullptr), oldestDateRelay(this), job(*this, &oldestDateRelay)
{
    ui = new MainWindowForm;
    ui->setupUi(this);

    // Capture dates carry no time zone: both fields show wall-clock values.
    for (QDateTimeEdit *edit : {ui->dateTimeEditCurrent, ui->dateTimeEditNew}) {
        const QDateTime shown = edit->dateTime();
        edit->setTimeSpec(Qt::UTC);
        edit->setDateTime(QDateTime(shown.date(), shown.time(), Qt::UTC));
    }

    job.reset();
    adaptFileTimes = ui->checkBoxFileDate->isChecked();

    undoAction = new QAction(tr("Undo last shift"), this);
    undoAction->setObjectName(QStringLiteral("actionUndoLastShift"));
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setToolTip(tr("Set the pictures of the last shift back to their earlier dates and file times"));
    connect(undoAction, &QAction::triggered, this, [this] { undoLastShift(); });
    ui->mainToolBar->addAction(undoAction);
    updateUndoAction();

    ui->progressBar->hide();
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->hide();

    QSettings settings(organisation, application);
    folderName = settings.value(folderKey).toString();

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
        undoAction->setText(tr("Undo last shift"));
        undoAction->setToolTip(tr("Set the pictures of the last shift back to their earlier dates and file times"));
        if (cameraLabel) {
            cameraLabel->setText(tr("Camera:"));
            cameraCombo->setAccessibleName(tr("Camera"));
            if (cameraCombo->count() > 0)
                cameraCombo->setItemText(0, tr("All cameras (%1)").arg(validCount.load()));
        }
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool writing = passRunning() && runningTask != ShiftJob::Task::Survey
                         && runningTask != ShiftJob::Task::Dating;
    if (!writing) {
        event->accept();
        return;
    }
    // A pass that writes is never cut off in the middle: the user may stop it
    // after the picture in hand, and then sees what was done.
    event->ignore();
    if (cancelRequested)
        return;   // stopping already; the result box follows
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, "Kelvaro",
        tr("Pictures are being changed.\n\nStop after the picture in hand? You will see what was changed "
           "and can undo it."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes && passRunning()) {
        closeWhenDone = true;
        cancelRequested = true;
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
        this, tr("Select Top Folder"), folderName,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // A cancelled dialog changes nothing and starts nothing.
    if (chosen.isEmpty() || passRunning())
        return;

    folderName = chosen;
    ui->folderEdit->setText(folderName);
    QSettings(organisation, application).setValue(folderKey, folderName);
    ui->numberEdit->setText(tr("please wait ..."));

    job.reset();
    job.folder = folderName;
    hideCameras();

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
    if (cameraCombo)
        cameraCombo->setEnabled(false);   // the choice is made between passes
    updateUndoAction();
    thread->start(QThread::InheritPriority);
}

QString MainWindow::countText() const
{
    return QString::number(pictureCount) + " (" + QString::number(validCount) + " valid)";
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
    case Shifting:
        ui->progressBar->setValue(pictureCount);
        break;
    default:
        break;
    }
}

void MainWindow::workingThreadFinshed()
{
    runningThread = nullptr;   // it deletes itself
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
        if (validCount > 0) {
            ui->numberEdit->setText(countText());
            ui->dateTimeEditCurrent->setDateTime(oldestDate);
            ui->dateTimeEditNew->setDateTime(ui->dateTimeEditCurrent->dateTime());
            ui->pushButtonShift->setEnabled(true);
            offerCameras();
        } else {
            ui->numberEdit->setText(tr("No jpgs found"));
            ui->pushButtonShift->setEnabled(false);
        }
        updateUndoAction();
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
        QMessageBox::warning(this, "Kelvaro", job.refusal, QMessageBox::Ok);
        return;
    }
    ui->dateTimeEditCurrent->setDateTime(ui->dateTimeEditNew->dateTime());
    const ShiftJob::Tally &chosen = job.chosen();
    QString text = JobMessages::result(chosen.valid, folderCount, chosen.oldest, chosen.newest, cancelRequested,
                                       changedCount, job.choice().describe());
    if (job.counts.addedSince)
        text += tr("\n\nAdded since the dates were read, left alone: %1.").arg(job.counts.addedSince);
    if (job.counts.timesNotSet)
        text += tr("\n\nFile times could not be set: %1.").arg(job.counts.timesNotSet);
    if (!job.problem.isEmpty())
        text += "\n\n" + job.problem + '.';
    const bool partial = cancelRequested || changedCount != chosen.valid || !job.problem.isEmpty()
                         || job.counts.timesNotSet > 0;
    QMessageBox box(partial ? QMessageBox::Warning : QMessageBox::Information, "Kelvaro", text, QMessageBox::Ok,
                    this);
    if (!job.notes.isEmpty())
        box.setDetailedText(job.notes.join('\n'));
    QPushButton *undo = nullptr;
    const QString journal = job.journalPath;
    if (partial && !journal.isEmpty()) {
        undo = box.addButton(tr("Undo"), QMessageBox::ActionRole);
        undo->setToolTip(tr("Set every picture this shift changed back to its earlier date and file times"));
    }
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (undo && box.clickedButton() == undo)
        runFromJournal(ShiftJob::Task::Undo, journal);
}

void MainWindow::showJournalResult()
{
    ui->pushButtonSelect->setEnabled(true);
    ui->progressBar->hide();
    ui->pushButtonCancel->hide();
    stopProgressTimer();
    updateUndoAction();
    if (!job.refusal.isEmpty()) {
        QMessageBox::warning(this, "Kelvaro", job.refusal, QMessageBox::Ok);
        return;
    }
    const bool undo = runningTask == ShiftJob::Task::Undo;
    const ShiftJob::Counts &c = job.counts;
    QString text = undo ? tr("The shift of %1 was undone.").arg(QDir::toNativeSeparators(job.journalHeader.folder))
                        : tr("The shift of %1 was finished.").arg(QDir::toNativeSeparators(job.journalHeader.folder));
    if (cancelRequested)
        text = tr("Cancelled.");
    text += "\n\n" + (undo ? tr("Set back: %1, already as before: %2, not changed: %3.")
                           : tr("Finished: %1, already shifted: %2, not changed: %3."))
                         .arg(c.changed).arg(c.alreadyDone).arg(c.notChanged + c.unrecognised);
    if (!job.problem.isEmpty())
        text += "\n\n" + job.problem + '.';
    const bool partial = cancelRequested || c.notChanged || c.unrecognised || !job.problem.isEmpty();
    QMessageBox box(partial ? QMessageBox::Warning : QMessageBox::Information, "Kelvaro", text, QMessageBox::Ok,
                    this);
    if (!job.notes.isEmpty())
        box.setDetailedText(job.notes.join('\n'));
    box.exec();
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
    const int done = pass.changed;
    QMessageBox box(QMessageBox::Question, "Kelvaro",
                    tr("The last shift of %1 stopped after %2 of %3 pictures.")
                        .arg(QDir::toNativeSeparators(pass.folder))
                        .arg(done)
                        .arg(pass.pictures),
                    QMessageBox::NoButton, this);
    box.setInformativeText(tr("Finish it to shift the remaining pictures, or undo it to set back those "
                              "already shifted."));
    QPushButton *finish = box.addButton(tr("Finish it"), QMessageBox::AcceptRole);
    QPushButton *undo = box.addButton(tr("Undo it"), QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(tr("Later"), QMessageBox::RejectRole);
    box.setDefaultButton(finish);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == finish)
        runFromJournal(ShiftJob::Task::Resume, pass.journal);
    else if (box.clickedButton() == undo)
        runFromJournal(ShiftJob::Task::Undo, pass.journal);
    else
        return false;
    return true;
}

void MainWindow::runFromJournal(ShiftJob::Task task, const QString &journal)
{
    if (passRunning())
        return;
    Journal::Record record;
    if (!Journal::summarize(journal, &record)) {
        QMessageBox::warning(this, "Kelvaro", tr("The journal %1 cannot be read.").arg(QDir::toNativeSeparators(journal)),
                             QMessageBox::Ok);
        return;
    }
    cancelRequested = false;
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
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, "Kelvaro",
        tr("Set every picture of the last shift of %1 back to its earlier date and file times?")
            .arg(QDir::toNativeSeparators(pass.folder)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
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
    if (!cameraCombo) {
        auto *box = new QWidget(this);
        auto *layout = new QHBoxLayout(box);
        layout->setContentsMargins(6, 0, 0, 0);
        cameraLabel = new QLabel(tr("Camera:"), box);
        cameraLabel->setObjectName(QStringLiteral("cameraLabel"));
        cameraCombo = new QComboBox(box);
        cameraCombo->setObjectName(QStringLiteral("cameraCombo"));
        cameraCombo->setAccessibleName(tr("Camera"));
        // The window has a fixed width: long camera names are cut short in the
        // box, and shown whole in its list.
        cameraCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        cameraCombo->setMinimumContentsLength(16);
        cameraLabel->setBuddy(cameraCombo);
        layout->addWidget(cameraLabel);
        layout->addWidget(cameraCombo);
        cameraAction = ui->mainToolBar->addWidget(box);
        connect(cameraCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this](int index) { cameraChosen(index); });
    }
    const QSignalBlocker blocker(cameraCombo);
    cameraCombo->clear();
    cameraCombo->addItem(tr("All cameras (%1)").arg(validCount.load()), QString());
    for (const ShiftJob::Camera &camera : cameras)
        cameraCombo->addItem(QStringLiteral("%1 (%2)").arg(camera.name).arg(camera.valid), camera.name);
    cameraCombo->setCurrentIndex(0);
    cameraCombo->view()->setMinimumWidth(cameraCombo->view()->sizeHintForColumn(0) + 24);
    cameraCombo->setEnabled(true);
    cameraAction->setVisible(true);
}

void MainWindow::hideCameras()
{
    if (!cameraAction)
        return;
    cameraAction->setVisible(false);
    const QSignalBlocker blocker(cameraCombo);
    cameraCombo->clear();
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
            count = QString::number(camera.pictures) + " (" + QString::number(camera.valid) + " valid)";
    ui->numberEdit->setText(count);
    ui->dateTimeEditCurrent->setDateTime(job.chosen().oldest);
    ui->dateTimeEditNew->setDateTime(job.chosen().oldest);
}

void MainWindow::change()
{
    if (passRunning())
        return;
    const qint64 seconds = ui->dateTimeEditCurrent->dateTime().secsTo(ui->dateTimeEditNew->dateTime());
    // The same check as kelvaro-cli's: no picture may leave the years 1000 to 9999.
    const QString outOfRange = job.rangeProblem(seconds);
    if (!outOfRange.isEmpty()) {
        QMessageBox::warning(this, "Kelvaro", outOfRange, QMessageBox::Ok);
        return;
    }
    const ShiftJob::Tally &chosen = job.chosen();
    QString question = JobMessages::confirmation(chosen.valid, folderCount, chosen.oldest, chosen.newest,
                                                 job.choice().describe());
    if (outsideLinks > 0)
        question += tr("\n\n%1 links lead outside the folder; they are not followed.").arg(outsideLinks.load());
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, "Kelvaro", question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;

    ui->progressBar->show();
    ui->pushButtonSelect->setEnabled(false);
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->show();
    pictureCount = 0;
    changedCount = 0;
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
