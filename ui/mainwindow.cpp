#include "mainwindow.h"

#include "capturedate.h"
#include "jobmessages.h"
#include "mainwindowform.h"
#include "pathbytes.h"
#include "scannerthread.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPainter>
#include <QProxyStyle>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <QToolBar>

namespace {

const char organisation[] = "Morvane";
const char application[] = "Kelvaro";
const char folderKey[] = "folderName";

// Both date fields show and take this pattern in every locale: four-digit
// years and seconds, so no date is ever read back with a guessed century.
const char datePattern[] = "yyyy-MM-dd HH:mm:ss";

// The years a capture date can hold in place of the old text.
const QDateTime firstDate(QDate(1000, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime lastDate(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

// The form's own size; the window is never smaller.
const QSize formSize(506, 370);

const QColor darkText(0x1a, 0x1a, 0x1a);

// The buttons' style: one that paints them in the palette's colours on
// every desktop, with a frame of two dark pixels around the button that has
// the keyboard focus (the style's own thin line is hard to see on the blue).
class ButtonStyle : public QProxyStyle
{
public:
    ButtonStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_PushButton && (option->state & State_HasFocus)
            && (option->state & State_KeyboardFocusChange)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setPen(QPen(darkText, 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }
};

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), timer(nullptr), undoAction(nullptr), oldestDateRelay(this), job(*this, &oldestDateRelay)
{
    ui = new MainWindowForm;
    ui->setupUi(this);

    setUpDateFields();
    setUpColours();
    setUpAccessibility();
    fitToContents();

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
    // The folder is chosen through the dialog only: a typed path would be
    // shown but never walked.
    ui->folderEdit->setReadOnly(true);

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
    // New texts or a new font may need more room (setupUi sets the font
    // before the widgets exist: only a shown window is fitted again).
    if (event->type() == QEvent::LanguageChange
        || (event->type() == QEvent::FontChange && isVisible()))
        fitToContents();
}

void MainWindow::setUpDateFields()
{
    // Capture dates carry no time zone: both fields show wall-clock values.
    for (QDateTimeEdit *edit : {ui->dateTimeEditCurrent, ui->dateTimeEditNew}) {
        const QDateTime shown = edit->dateTime();
        edit->setTimeSpec(Qt::UTC);
        edit->setDisplayFormat(QLatin1String(datePattern));
        edit->setDateTimeRange(firstDate, lastDate);
        edit->setCalendarPopup(true);
        edit->setDateTime(QDateTime(shown.date(), shown.time(), Qt::UTC));
    }
}

void MainWindow::setUpColours()
{
    // The form paints the window yellow, the fields white and the buttons
    // blue (drawn pale by the style below); the text colours must match
    // those, not the desktop style, or a dark style puts light text on them.
    // Dark text everywhere, at least 4.5 : 1 against each of them; greyed
    // when disabled, still 4.5 : 1 on the yellow, where the current date is
    // shown in a disabled field.
    QPalette colours = palette();
    const QColor greyed(0x4d, 0x4d, 0x4d);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? greyed : darkText;
        colours.setColor(group, QPalette::WindowText, text);
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::ButtonText, text);
        colours.setColor(group, QPalette::PlaceholderText, greyed);
    }
    setPalette(colours);

    // Some styles draw buttons in colours of their own whatever the palette
    // says (a dark style draws them dark grey, under the dark text).
    auto *buttonStyle = new ButtonStyle;
    buttonStyle->setParent(this);
    for (QPushButton *button : {ui->pushButtonSelect, ui->pushButtonShift, ui->pushButtonCancel})
        button->setStyle(buttonStyle);
}

void MainWindow::setUpAccessibility()
{
    // The form makes each caption its field's buddy, so that screen readers
    // name the field after it, names the progress bar, says what the date
    // fields take and leaves the field that only shows the current date out
    // of the tab chain. Return in the new date confirms it, as the Shift
    // button does.
    ui->dateTimeEditNew->installEventFilter(this);
}

void MainWindow::fitToContents()
{
    // The room every widget needs, whether shown now or not, so that the
    // size does not change from one step of a job to the next.
    // As the grid reckons it: a widget that may not shrink needs its size hint.
    const auto need = [](const QWidget *w) {
        QSize size = w->minimumSizeHint().expandedTo(w->minimumSize());
        const QSizePolicy policy = w->sizePolicy();
        if (!(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag))
            size.setWidth(qMax(size.width(), w->sizeHint().width()));
        if (!(policy.verticalPolicy() & QSizePolicy::ShrinkFlag))
            size.setHeight(qMax(size.height(), w->sizeHint().height()));
        return size;
    };
    const MainWindowForm &f = *ui;
    int captions = 0, fields = 0, spanning = 0;
    using Widgets = std::initializer_list<const QWidget *>;
    for (const QWidget *w : Widgets{f.label, f.label_2, f.label_3, f.label_4})
        captions = qMax(captions, need(w).width());
    for (const QWidget *w : Widgets{f.folderEdit, f.progressBar, f.numberEdit, f.dateTimeEditCurrent, f.dateTimeEditNew})
        fields = qMax(fields, need(w).width());
    for (const QWidget *w : Widgets{f.pushButtonSelect, f.pushButtonShift, f.pushButtonCancel, f.checkBoxFileDate})
        spanning = qMax(spanning, need(w).width());
    const int width = qMax(captions + f.gridLayout->horizontalSpacing() + fields, spanning);

    // One row each; Shift and Cancel take turns in the same place.
    const QList<QList<const QWidget *>> rows = {
        {f.pushButtonSelect}, {f.label, f.folderEdit}, {f.progressBar}, {f.label_2, f.numberEdit},
        {f.label_3, f.dateTimeEditCurrent}, {f.label_4, f.dateTimeEditNew},
        {f.pushButtonShift, f.pushButtonCancel}, {f.checkBoxFileDate}};
    int height = f.gridLayout->verticalSpacing() * int(rows.size() - 1);
    for (const auto &row : rows) {
        int tallest = 0;
        for (const QWidget *w : row)
            tallest = qMax(tallest, need(w).height());
        height += tallest;
    }

    const QSize carrier = QSize(width, height).expandedTo(f.layoutWidget->minimumSize())
                              .expandedTo(formSize - QSize(20, 74));
    f.layoutWidget->resize(carrier);
    f.centralWidget->setMinimumSize(carrier + QSize(9, 9));
    // The form's margins around the grid, and room for tool and status bar.
    const QSize needed = (carrier + QSize(20, 74)).expandedTo(layout()->minimumSize());
    setFixedSize(needed.expandedTo(formSize));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->dateTimeEditNew && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        QDateTimeEdit *edit = ui->dateTimeEditNew;
        // A date typed over the whole selected text: the field takes typed
        // digits section by section, so the typing starts in the first one,
        // the year, which the digits then overwrite.
        const auto *text = edit->findChild<QLineEdit *>();
        if (text && !key->text().isEmpty() && key->text().at(0).isDigit() && text->hasSelectedText()
            && text->selectedText() == text->text())
            edit->setSelectedSection(edit->sectionAt(0));
        // A full section moves on to the next by itself; a separator typed
        // after it ("-", ":", a space, or another one such as "/" or ".")
        // then finds the cursor already past the field's own separator, and
        // must not move on a second time.
        if (text && key->text().size() == 1 && key->text().at(0).isPrint()
            && !key->text().at(0).isLetterOrNumber() && text->cursorPosition() > 0
            && QStringLiteral("-: ").contains(text->text().at(text->cursorPosition() - 1)))
            return true;

        QPushButton *shift = ui->pushButtonShift;
        // Return confirms the date as the Shift button does, after the field
        // has taken the typed value in, and only while the button is there.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && shift->isVisibleTo(this)
            && shift->isEnabled())
            QMetaObject::invokeMethod(shift, &QAbstractButton::animateClick, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::startFolder() const
{
    if (!folderName.isEmpty() && QFileInfo(folderName).isDir())
        return folderName;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
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
        this, tr("Kelvaro"),
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
        this, tr("Select Top Folder"), startFolder(),
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
    // The box is read when a shift starts; it cannot change while any pass runs.
    ui->checkBoxFileDate->setEnabled(false);
    if (cameraCombo)
        cameraCombo->setEnabled(false);   // the choice is made between passes
    updateUndoAction();
    thread->start(QThread::InheritPriority);
}

JobMessages::Pass MainWindow::datedPass(qint64 seconds) const
{
    // The chosen pictures (every picture when nothing was chosen).
    const ShiftJob::Tally &chosen = job.chosen();
    JobMessages::Pass pass;
    pass.pictures = datedPictures;
    pass.valid = chosen.valid;
    pass.folders = datedFolders;
    pass.oldest = chosen.oldest;
    pass.newest = chosen.newest;
    pass.chosen = job.choice().describe();
    pass.shiftSeconds = seconds;
    pass.readOnly = readOnlyCount;
    pass.unreadable = unreadableCount;
    return pass;
}

QString MainWindow::countText() const
{
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
        ui->dateTimeEditNew->setEnabled(validCount > 0);
        // A date field shows nothing (a blank special text at its lowest
        // value) only while there is no date to show.
        for (QDateTimeEdit *edit : {ui->dateTimeEditCurrent, ui->dateTimeEditNew})
            edit->setSpecialValueText(validCount > 0 ? QString() : QStringLiteral(" "));
        if (validCount > 0) {
            ui->numberEdit->setText(countText());
            ui->dateTimeEditCurrent->setDateTime(oldestDate);
            ui->dateTimeEditNew->setDateTime(ui->dateTimeEditCurrent->dateTime());
            ui->pushButtonShift->setEnabled(true);
            offerCameras();
        } else {
            // Pictures without a usable date are still pictures found.
            ui->numberEdit->setText(pictureCount > 0 ? countText() : tr("No jpgs found"));
            ui->pushButtonShift->setEnabled(false);
            // No date of this folder to show: the previous folder's go.
            for (QDateTimeEdit *edit : {ui->dateTimeEditCurrent, ui->dateTimeEditNew})
                edit->setDateTime(edit->minimumDateTime());
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
        QMessageBox::warning(this, tr("Kelvaro"), job.refusal, QMessageBox::Ok);
        return;
    }
    ui->dateTimeEditCurrent->setDateTime(ui->dateTimeEditNew->dateTime());
    QString text = JobMessages::result(datedPass(shiftSeconds), cancelRequested, pictureCount, changedCount);
    if (job.counts.xmpDates || job.counts.iptcDates || job.counts.sidecars)
        text += tr("\n\nAlso moved: %1 XMP dates, %2 IPTC dates, %3 sidecar files.")
                    .arg(job.counts.xmpDates)
                    .arg(job.counts.iptcDates)
                    .arg(job.counts.sidecars);
    if (job.counts.addedSince)
        text += tr("\n\nAdded since the dates were read, left alone: %1.").arg(job.counts.addedSince);
    if (job.counts.timesNotSet)
        text += tr("\n\nFile times could not be set: %1.").arg(job.counts.timesNotSet);
    if (!job.problem.isEmpty())
        text += "\n\n" + job.problem + '.';
    const bool partial = cancelRequested || changedCount != job.chosen().valid || !job.problem.isEmpty()
                         || job.counts.timesNotSet > 0 || unreadableCount > 0;
    QMessageBox box(partial ? QMessageBox::Warning : QMessageBox::Information, tr("Kelvaro"), text, QMessageBox::Ok,
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
        QMessageBox::warning(this, tr("Kelvaro"), job.refusal, QMessageBox::Ok);
        return;
    }
    const bool undo = runningTask == ShiftJob::Task::Undo;
    const ShiftJob::Counts &c = job.counts;
    QString text = undo ? tr("The shift of %1 was undone.").arg(PathBytes::display(job.journalHeader.folder))
                        : tr("The shift of %1 was finished.").arg(PathBytes::display(job.journalHeader.folder));
    if (cancelRequested)
        text = tr("Cancelled.");
    text += "\n\n" + (undo ? tr("Set back: %1, already as before: %2, not changed: %3.")
                           : tr("Finished: %1, already shifted: %2, not changed: %3."))
                         .arg(c.changed).arg(c.alreadyDone).arg(c.notChanged + c.unrecognised);
    if (!job.problem.isEmpty())
        text += "\n\n" + job.problem + '.';
    const bool partial = cancelRequested || c.notChanged || c.unrecognised || !job.problem.isEmpty();
    QMessageBox box(partial ? QMessageBox::Warning : QMessageBox::Information, tr("Kelvaro"), text, QMessageBox::Ok,
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
    QMessageBox box(QMessageBox::Question, tr("Kelvaro"),
                    tr("The last shift of %1 stopped after %2 of %3 pictures.")
                        .arg(PathBytes::display(pass.folder))
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
        QMessageBox::warning(this, tr("Kelvaro"), tr("The journal %1 cannot be read.").arg(QDir::toNativeSeparators(journal)),
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
        this, tr("Kelvaro"),
        tr("Set every picture of the last shift of %1 back to its earlier date and file times?")
            .arg(PathBytes::display(pass.folder)),
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
            count = tr("%1 (%2 valid)").arg(camera.pictures).arg(camera.valid);
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
        QMessageBox::warning(this, tr("Kelvaro"), outOfRange, QMessageBox::Ok);
        return;
    }
    if (seconds == 0) {
        QMessageBox::information(this, tr("Kelvaro"), JobMessages::nothingToShift(), QMessageBox::Ok);
        return;
    }
    QString question = JobMessages::confirmation(datedPass(seconds));
    if (outsideLinks > 0)
        question += tr("\n\n%1 links lead outside the folder; they are not followed.").arg(outsideLinks.load());
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Kelvaro"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
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
