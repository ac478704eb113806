#include "mainwindow.h"

#include "jobmessages.h"
#include "mainwindowform.h"
#include "scannerthread.h"

#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

namespace {

const char organisation[] = "Morvane";
const char application[] = "Kelvaro";
const char folderKey[] = "folderName";

// The current wall-clock date and time as a zone-less value.
QDateTime wallClockNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), now.time(), Qt::UTC);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), timer(nullptr), oldestDateRelay(this)
{
    ui = new MainWindowForm;
    ui->setupUi(this);

    // Capture dates carry no time zone: both fields show wall-clock values.
    for (QDateTimeEdit *edit : {ui->dateTimeEditCurrent, ui->dateTimeEditNew}) {
        const QDateTime shown = edit->dateTime();
        edit->setTimeSpec(Qt::UTC);
        edit->setDateTime(QDateTime(shown.date(), shown.time(), Qt::UTC));
    }

    phase = Survey;
    cancelRequested = false;
    pictureCount = 0;
    validCount = 0;
    folderCount = 0;
    adaptFileTimes = ui->checkBoxFileDate->isChecked();
    // The shifting pass reads the box's state afresh for every picture.
    connect(ui->checkBoxFileDate, &QCheckBox::toggled, this,
            [this](bool checked) { adaptFileTimes = checked; });

    ui->progressBar->hide();
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->hide();

    QSettings settings(organisation, application);
    folderName = settings.value(folderKey).toString();

    QTimer::singleShot(200, this, SLOT(startAutoSelect()));
}

MainWindow::~MainWindow()
{
    // A pass still running when the window goes: stop it and wait, so that the
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
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void MainWindow::scanFolder(QDir &folder)
{
    FolderWalk(*this, &oldestDateRelay).scanFolder(folder);
}

void MainWindow::OldestDateRelay::oldestDateChanged(const QDateTime &date)
{
    MainWindow *w = window;
    QMetaObject::invokeMethod(
        w, [w, date] { w->ui->dateTimeEditCurrent->setDateTime(date); }, Qt::QueuedConnection);
}

void MainWindow::select()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Select Top Folder"), folderName,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // A cancelled dialog changes nothing and starts nothing.
    if (chosen.isEmpty())
        return;

    folderName = chosen;
    ui->folderEdit->setText(folderName);
    QSettings(organisation, application).setValue(folderKey, folderName);
    ui->numberEdit->setText("please wait ...");

    phase = Survey;
    cancelRequested = false;
    pictureCount = 0;
    validCount = 0;
    folderCount = 0;
    oldestDate = wallClockNow().addYears(100);
    newestDate = wallClockNow().addYears(-100);

    ui->pushButtonSelect->setEnabled(false);
    ui->progressBar->hide();
    ui->pushButtonShift->hide();

    startProgressTimer();
    launchPass();
}

void MainWindow::startProgressTimer()
{
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

void MainWindow::launchPass()
{
    ScannerThread *thread = new ScannerThread(this, QDir(folderName));
    connect(thread, SIGNAL(finished()), this, SLOT(workingThreadFinshed()));
    // Released once its end has been handled.
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    runningThread = thread;
    folderCount = 0;
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
    switch (phase) {
    case Survey:
        ui->progressBar->setMaximum(pictureCount);
        ui->progressBar->show();
        pictureCount = 0;
        phase = Dating;
        launchPass();
        break;
    case Dating:
        ui->pushButtonSelect->setEnabled(true);
        ui->progressBar->hide();
        ui->pushButtonShift->show();
        stopProgressTimer();
        if (validCount > 0) {
            ui->numberEdit->setText(countText());
            ui->dateTimeEditCurrent->setDateTime(oldestDate);
            ui->dateTimeEditNew->setDateTime(ui->dateTimeEditCurrent->dateTime());
            ui->pushButtonShift->setEnabled(true);
        } else {
            ui->numberEdit->setText("No jpgs found");
            ui->pushButtonShift->setEnabled(false);
        }
        break;
    case Shifting: {
        ui->pushButtonSelect->setEnabled(true);
        ui->progressBar->hide();
        ui->pushButtonShift->hide();
        ui->pushButtonCancel->hide();
        stopProgressTimer();
        ui->dateTimeEditCurrent->setDateTime(ui->dateTimeEditNew->dateTime());
        QMessageBox::information(this, "Kelvaro",
                                 JobMessages::result(validCount, folderCount, oldestDate, newestDate,
                                                     cancelRequested, changedCount),
                                 QMessageBox::Ok);
        break;
    }
    default:
        break;
    }
}

void MainWindow::startAutoSelect()
{
    select();
}

void MainWindow::change()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, "Kelvaro", JobMessages::confirmation(validCount, folderCount, oldestDate, newestDate),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;

    ui->progressBar->show();
    ui->pushButtonSelect->setEnabled(false);
    ui->pushButtonShift->hide();
    ui->pushButtonCancel->show();
    pictureCount = 0;
    changedCount = 0;
    phase = Shifting;
    shiftSeconds = ui->dateTimeEditCurrent->dateTime().secsTo(ui->dateTimeEditNew->dateTime());
    startProgressTimer();
    launchPass();
}

void MainWindow::cancel()
{
    cancelRequested = true;
}
