#include "mainwindow.h"

#include "jobmessages.h"
#include "mainwindowform.h"
#include "scannerthread.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>

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
    : QMainWindow(parent), timer(nullptr), oldestDateRelay(this)
{
    ui = new MainWindowForm;
    ui->setupUi(this);

    setUpDateFields();
    setUpColours();
    setUpAccessibility();
    fitToContents();

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
    // A field that only shows a value is left out of the tab chain.
    ui->dateTimeEditCurrent->setFocusPolicy(Qt::NoFocus);
    // Return in the new date confirms it, as the Shift button does.
    ui->dateTimeEditNew->installEventFilter(this);
    // Screen readers name each field after its caption (its buddy); they
    // also say what the date fields take.
    for (QDateTimeEdit *edit : {ui->dateTimeEditCurrent, ui->dateTimeEditNew})
        edit->setAccessibleDescription(tr("Year-month-day and hours:minutes:seconds"));
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
        // A full section moves on to the next by itself; the separator typed
        // after it is then already behind the cursor, and must not move on
        // a second time.
        if (text && key->text().size() == 1 && QStringLiteral("-: ").contains(key->text())
            && text->cursorPosition() > 0 && text->text().at(text->cursorPosition() - 1) == key->text().at(0))
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
        this, tr("Select Top Folder"), startFolder(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // A cancelled dialog changes nothing and starts nothing.
    if (chosen.isEmpty())
        return;

    folderName = chosen;
    ui->folderEdit->setText(folderName);
    QSettings(organisation, application).setValue(folderKey, folderName);
    ui->numberEdit->setText(tr("please wait ..."));

    phase = Survey;
    cancelRequested = false;
    pictureCount = 0;
    validCount = 0;
    folderCount = 0;
    // Beyond the years a capture date can hold, so that any picture's date,
    // however far from today, becomes the oldest and the newest.
    oldestDate = lastDate.addYears(1);
    newestDate = firstDate.addYears(-1);

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
            ui->numberEdit->setText(tr("No jpgs found"));
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
        QMessageBox::information(this, tr("Kelvaro"),
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
        this, tr("Kelvaro"), JobMessages::confirmation(validCount, folderCount, oldestDate, newestDate),
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
