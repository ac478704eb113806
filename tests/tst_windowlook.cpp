// The window under desktop styles other than its own, after a dating pass
// of a tree of two cameras: every text it shows, in the window and in what
// it opens (the camera list, the calendar, message boxes), stands out from
// what it is drawn on, as drawn; and every control a screen reader reaches
// has a name.

#include "isolatedhome.h"
#include "jpegbuilder.h"
#include "mainwindow.h"
#include "mainwindowform.h"
#include "modalanswers.h"
#include "oldestpicture.h"
#include "pathbytes.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using namespace jpegtest;
using namespace modal;

namespace {

Bytes shot(const std::string &text, const std::string &make, const std::string &model)
{
    return Jpeg::shot(text, make, model);
}

// The contrast ratio of two colours as the web's accessibility guidelines
// define it, from 1 (the same) to 21 (black on white).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// What a text is drawn on (the most frequent colour of the area that holds
// it) and its strongest colour against that.
struct Measure {
    QColor background, text;
    double ratio = 1;
};

Measure measure(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    Measure m;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            m.background = QColor(it.key());
        }
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double ratio = contrast(QColor(it.key()), m.background);
        if (ratio > m.ratio) {
            m.ratio = ratio;
            m.text = QColor(it.key());
        }
    }
    return m;
}

// A desktop's look: a style and the palette that comes with it.
struct Theme {
    QString style;
    QPalette palette;
};

QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x35, 0x35, 0x35), base(0x23, 0x23, 0x23), text(0xee, 0xee, 0xee);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor t = g == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : text;
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::WindowText, t);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::AlternateBase, window);
        p.setColor(g, QPalette::Text, t);
        p.setColor(g, QPalette::Button, window);
        p.setColor(g, QPalette::ButtonText, t);
        p.setColor(g, QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        p.setColor(g, QPalette::HighlightedText, Qt::white);
        p.setColor(g, QPalette::ToolTipBase, base);
        p.setColor(g, QPalette::ToolTipText, text);
        p.setColor(g, QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
        p.setColor(g, QPalette::Light, QColor(0x50, 0x50, 0x50));
        p.setColor(g, QPalette::Midlight, QColor(0x45, 0x45, 0x45));
        p.setColor(g, QPalette::Mid, QColor(0x2a, 0x2a, 0x2a));
        p.setColor(g, QPalette::Dark, QColor(0x20, 0x20, 0x20));
        p.setColor(g, QPalette::Shadow, Qt::black);
    }
    return p;
}

// White and yellow on black, as high-contrast desktop themes have it.
QPalette highContrastPalette()
{
    QPalette p(Qt::white, Qt::black);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, Qt::black);
        p.setColor(g, QPalette::Text, g == QPalette::Disabled ? QColor(0x00, 0xff, 0x00) : QColor(Qt::white));
        p.setColor(g, QPalette::WindowText, g == QPalette::Disabled ? QColor(0x00, 0xff, 0x00) : QColor(Qt::white));
        p.setColor(g, QPalette::ButtonText, g == QPalette::Disabled ? QColor(0x00, 0xff, 0x00) : QColor(Qt::yellow));
        p.setColor(g, QPalette::Button, Qt::black);
        p.setColor(g, QPalette::Highlight, QColor(0x00, 0xff, 0xff));
        p.setColor(g, QPalette::HighlightedText, Qt::black);
    }
    return p;
}

} // namespace

class TestWindowLook : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void textStandsOut_data();
    void textStandsOut();
    void everyControlHasAName_data();
    void everyControlHasAName();
    void oldestPictureIsShown_data();
    void oldestPictureIsShown();
    void noOldestPictureBeforeADate();
    void urlOfAPicture_data();
    void urlOfAPicture();
    void newTextsAreTranslated_data();
    void newTextsAreTranslated();

private:
    QTemporaryDir settingsDir;
    QTemporaryDir tree;
    QString originalStyle;
    // Puts on the look of the row's theme; false when its style is missing.
    bool wearTheme(const QString &theme);
    void takeOffTheme();
    // A window that has read the tree's dates, shown.
    std::unique_ptr<MainWindow> datedWindow();
    // Chooses `folder` in the next folder dialog (opened by the Select
    // button, or by the window at start-up) and waits for its dates.
    static bool chooseFolder(MainWindow &w, const QString &folder, bool viaButton);
};

void TestWindowLook::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    originalStyle = QApplication::style()->name();
    const QList<std::pair<QString, Bytes>> files = {
        {"canon/1.jpg", shot("2012:05:06 10:00:00", "Canon", "Canon EOS 5D")},
        {"canon/2.jpg", shot("2012:05:06 12:00:00", "Canon", "Canon EOS 5D")},
        {"phone/1.jpg", shot("2012:05:05 08:00:00", "Google", "Pixel 7")},
    };
    for (const auto &f : files) {
        const QString path = tree.filePath(f.first);
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(writeFile(QFile::encodeName(path).toStdString(), f.second));
    }
}

void TestWindowLook::init()
{
    QSettings("Morvane", "Kelvaro").clear();
}

bool TestWindowLook::wearTheme(const QString &theme)
{
    if (theme == "Adwaita-Dark") {
        if (!QStyleFactory::keys().contains(theme, Qt::CaseInsensitive))
            return false;
        QApplication::setStyle(theme);
        QApplication::setPalette(QApplication::style()->standardPalette());
    } else {
        QApplication::setStyle("Fusion");
        QApplication::setPalette(theme == "Fusion dark" ? darkPalette() : highContrastPalette());
    }
    return true;
}

void TestWindowLook::takeOffTheme()
{
    QApplication::setStyle(originalStyle);
    QApplication::setPalette(QApplication::style()->standardPalette());
}

std::unique_ptr<MainWindow> TestWindowLook::datedWindow()
{
    auto w = std::make_unique<MainWindow>();
    w->show();
    return chooseFolder(*w, tree.path(), false) ? std::move(w) : nullptr;
}

bool TestWindowLook::chooseFolder(MainWindow &w, const QString &folder, bool viaButton)
{
    whenModal([folder](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *name = dialog ? dialog->findChild<QLineEdit *>("fileNameEdit") : nullptr;
        if (!name)
            return;
        name->setText(folder);
        static_cast<QDialog *>(dialog)->accept();
    });
    if (viaButton)
        w.ui->pushButtonSelect->click();
    // The dating pass has ended when the Shift button is back and the
    // progress timer gone.
    return QTest::qWaitFor([&w] { return w.ui->pushButtonShift->isVisible() && !w.timer; }, 20000)
           && w.ui->folderEdit->text() == folder;
}

// Rows: each theme with each widget that shows a text.
void TestWindowLook::textStandsOut_data()
{
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QString>("widget");
    for (const char *theme : {"Adwaita-Dark", "Fusion dark", "high contrast"})
        for (const char *widget :
             {"tool bar", "tool bar disabled", "camera label", "camera choice", "camera list", "camera list current",
              "calendar day", "calendar weekend", "calendar weekdays", "calendar month", "message box text",
              "message box button", "progress bar low", "progress bar high", "caption", "current date", "new date",
              "folder field", "check box"})
            QTest::newRow(qPrintable(QString("%1: %2").arg(theme, widget))) << QString(theme) << QString(widget);
}

void TestWindowLook::textStandsOut()
{
    QFETCH(QString, theme);
    QFETCH(QString, widget);
    if (!wearTheme(theme))
        QSKIP("this style is not installed");
    struct TakeOff {
        TestWindowLook *test;
        ~TakeOff() { test->takeOffTheme(); }
    } takeOff{this};
    std::unique_ptr<MainWindow> w = datedWindow();
    QVERIFY(w);
    QVERIFY(w->cameraCombo);
    QTRY_VERIFY(w->cameraCombo->isVisible());

    // The image the text is drawn in, and the area of the text in it.
    QImage image;
    QRect area;
    double least = 4.5;
    const auto grabOf = [&](QWidget *target, const QRect &where) {
        image = target->grab().toImage();
        const qreal scale = image.devicePixelRatio();
        area = QRect(where.topLeft() * scale, where.size() * scale);
    };
    std::unique_ptr<QMessageBox> box;
    if (widget == "tool bar" || widget == "tool bar disabled") {
        QAction *action = widget == "tool bar" ? w->findChild<QAction *>("actionShowOldestPicture")
                                               : w->findChild<QAction *>("actionUndoLastShift");
        QVERIFY(action);
        // Undo is offered when the shared test data folder holds a journal
        // another test left there: disabled here, it is measured as such.
        if (widget == "tool bar disabled")
            action->setEnabled(false);
        QCOMPARE(action->isEnabled(), widget == "tool bar");
        QWidget *button = w->ui->mainToolBar->widgetForAction(action);
        QVERIFY(button && button->isVisible());
        grabOf(button, button->rect().adjusted(3, 3, -3, -3));
        // A disabled control may be paler, but not unreadable.
        if (!action->isEnabled())
            least = 3.0;
    } else if (widget == "camera label") {
        grabOf(w->cameraLabel, w->cameraLabel->contentsRect());
    } else if (widget == "camera choice") {
        QStyleOptionComboBox option;
        option.initFrom(w->cameraCombo);
        option.editable = false;
        option.currentText = w->cameraCombo->currentText();
        grabOf(w->cameraCombo, w->cameraCombo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                        QStyle::SC_ComboBoxEditField, w->cameraCombo));
    } else if (widget == "camera list" || widget == "camera list current") {
        w->cameraCombo->showPopup();
        QAbstractItemView *view = w->cameraCombo->view();
        QTRY_VERIFY(view->isVisible());
        const QModelIndex index = view->model()->index(widget == "camera list" ? 1 : 0, 0);
        view->setCurrentIndex(view->model()->index(0, 0));
        QCoreApplication::processEvents();
        grabOf(view->viewport(), view->visualRect(index));
    } else if (widget.startsWith("calendar")) {
        // Opened by a click on the field's arrow.
        QDateTimeEdit *edit = w->ui->dateTimeEditNew;
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 6, edit->height() / 2));
        QCalendarWidget *calendar = edit->calendarWidget();
        QTRY_VERIFY(calendar->isVisible());
        if (widget != "calendar month") {
            auto *days = calendar->findChild<QAbstractItemView *>("qt_calendar_calendarview");
            QVERIFY(days);
            // A weekday or a day of the weekend in the middle of the month
            // shown (its number is there once), not the chosen day (in the
            // highlight); or the name of Wednesday in the row above.
            const QDate chosen = calendar->selectedDate();
            QDate day(chosen.year(), chosen.month(), 8);
            while (day == chosen || (day.dayOfWeek() >= Qt::Saturday) != (widget == "calendar weekend"))
                day = day.addDays(1);
            const QString text = widget == "calendar weekdays"
                                     ? calendar->locale().dayName(Qt::Wednesday, QLocale::ShortFormat)
                                     : QString::number(day.day());
            QModelIndex cell;
            for (int row = 0; row < days->model()->rowCount() && !cell.isValid(); ++row)
                for (int column = 0; column < days->model()->columnCount(); ++column) {
                    const QModelIndex i = days->model()->index(row, column);
                    if (i.data().toString() == text && (row > 0) == (widget != "calendar weekdays"))
                        cell = i;
                }
            QVERIFY2(cell.isValid(), qPrintable(text));
            grabOf(days->viewport(), days->visualRect(cell));
        } else {
            auto *month = calendar->findChild<QToolButton *>("qt_calendar_monthbutton");
            QVERIFY(month);
            grabOf(month, month->rect().adjusted(2, 2, -2, -2));
        }
    } else if (widget == "message box text" || widget == "message box button") {
        box = std::make_unique<QMessageBox>(QMessageBox::Warning, "Kelvaro", "The picture could not be shown.",
                                            QMessageBox::Ok, w.get());
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        if (widget == "message box text") {
            auto *label = box->findChild<QLabel *>("qt_msgbox_label");
            QVERIFY(label);
            grabOf(label, label->contentsRect());
        } else {
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            ok->setIcon(QIcon());
            grabOf(ok, ok->rect().adjusted(4, 4, -4, -4));
        }
    } else if (widget == "progress bar low" || widget == "progress bar high") {
        QProgressBar *bar = w->ui->progressBar;
        bar->show();
        bar->setRange(0, 100);
        bar->setValue(widget == "progress bar low" ? 5 : 95);
        QCoreApplication::processEvents();
        QStyleOptionProgressBar option;
        option.initFrom(bar);
        option.minimum = 0;
        option.maximum = 100;
        option.progress = bar->value();
        option.text = bar->text();
        option.textVisible = true;
        QRect label = bar->style()->subElementRect(QStyle::SE_ProgressBarLabel, &option, bar);
        // The text itself, in the middle of the label's room.
        const QSize text = bar->fontMetrics().size(0, bar->text());
        QRect tight(QPoint(0, 0), text);
        tight.moveCenter(label.center());
        grabOf(bar, tight.intersected(label));
    } else if (widget == "caption") {
        grabOf(w->ui->label_3, w->ui->label_3->contentsRect());
    } else if (widget == "current date" || widget == "new date") {
        QDateTimeEdit *edit = widget == "new date" ? w->ui->dateTimeEditNew : w->ui->dateTimeEditCurrent;
        QLineEdit *line = edit->findChild<QLineEdit *>();
        QVERIFY(line);
        grabOf(line, line->rect());
    } else if (widget == "folder field") {
        grabOf(w->ui->folderEdit, w->ui->folderEdit->rect().adjusted(3, 3, -3, -3));
    } else if (widget == "check box") {
        QStyleOptionButton option;
        option.initFrom(w->ui->checkBoxFileDate);
        grabOf(w->ui->checkBoxFileDate, w->ui->checkBoxFileDate->style()->subElementRect(
                                            QStyle::SE_CheckBoxContents, &option, w->ui->checkBoxFileDate));
    }
    QVERIFY(!image.isNull() && !area.isEmpty());
    const Measure m = measure(image, area);
    QVERIFY2(m.ratio >= least,
             qPrintable(QString("%1 on %2: %3").arg(m.text.name(), m.background.name()).arg(m.ratio)));
    w->cameraCombo->hidePopup();
}

// A screen reader walks the window's tree: every control in it, shown or
// not, says what it is. Rows: before any tree was read, and after a tree of
// two cameras (the camera choice and "Show oldest picture" enabled).
void TestWindowLook::everyControlHasAName_data()
{
    QTest::addColumn<bool>("dated");
    QTest::newRow("new window") << false;
    QTest::newRow("after dating") << true;
}

void TestWindowLook::everyControlHasAName()
{
    QFETCH(bool, dated);
    std::unique_ptr<MainWindow> w;
    if (dated) {
        w = datedWindow();
        QVERIFY(w);
    } else {
        w = std::make_unique<MainWindow>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    const QSet<QAccessible::Role> controls = {
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::Slider, QAccessible::ButtonMenu,
        QAccessible::ButtonDropDown, QAccessible::ButtonDropGrid, QAccessible::PageTab, QAccessible::Link,
        QAccessible::ProgressBar, QAccessible::MenuItem, QAccessible::ScrollBar, QAccessible::Dial};
    QStringList unnamed, seen;
    std::function<void(QAccessibleInterface *, const QString &)> walk = [&](QAccessibleInterface *node,
                                                                           const QString &where) {
        const QString name = node->text(QAccessible::Name);
        const QString here = where + '/' + QString::number(int(node->role()), 16) + ':' + name;
        const bool control = controls.contains(node->role()) || node->state().focusable;
        if (control) {
            seen << name;
            if (name.trimmed().isEmpty()) {
                QObject *object = node->object();
                unnamed << here + (object ? " (" + QString(object->metaObject()->className()) + ' '
                                                + object->objectName() + ')'
                                          : QString());
            }
        }
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface *child = node->child(i))
                walk(child, here);
    };
    walk(QAccessible::queryAccessibleInterface(w.get()), QString());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
    // The walk reached the tool bar's controls.
    QVERIFY2(seen.contains("Undo last shift") && seen.contains("Show oldest picture"), qPrintable(seen.join(", ")));
    QCOMPARE(seen.contains("Cameras"), dated);   // the camera list
}

// "Show oldest picture" hands the oldest picture (of the camera chosen) to
// the desktop's viewer, and the current date's tooltip names it; a picture
// that cannot be shown is told, not silently dropped.
void TestWindowLook::oldestPictureIsShown_data()
{
    QTest::addColumn<QString>("camera");     // chosen in the camera choice; empty: every camera
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("viewerFound");
    QTest::newRow("every camera") << "" << "phone/1.jpg" << true;
    QTest::newRow("Canon") << "Canon EOS 5D" << "canon/1.jpg" << true;
    QTest::newRow("the phone") << "Google Pixel 7" << "phone/1.jpg" << true;
    QTest::newRow("no viewer") << "Canon EOS 5D" << "canon/1.jpg" << false;
}

void TestWindowLook::oldestPictureIsShown()
{
    QFETCH(QString, camera);
    QFETCH(QString, picture);
    QFETCH(bool, viewerFound);
    std::unique_ptr<MainWindow> w = datedWindow();
    QVERIFY(w);
    QList<QUrl> opened;
    w->oldestPicture->openUrl = [&opened, viewerFound](const QUrl &url) {
        opened << url;
        return viewerFound;
    };
    QAction *show = w->findChild<QAction *>("actionShowOldestPicture");
    QVERIFY(show);
    QCOMPARE(show->text(), QString("Show oldest picture"));
    QVERIFY(show->isEnabled());
    QVERIFY(w->ui->mainToolBar->actions().contains(show));
    if (!camera.isEmpty()) {
        // Another camera first: the choice, not the first dating, decides.
        w->cameraCombo->setCurrentIndex(w->cameraCombo->count() - 1);
        w->cameraCombo->setCurrentIndex(w->cameraCombo->findData(camera));
    }

    const QString path = tree.filePath(picture);
    QCOMPARE(w->ui->dateTimeEditCurrent->toolTip(), "The oldest picture: " + QDir::toNativeSeparators(path));
    QString told;
    if (!viewerFound)
        whenModal([&told](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            told = box ? box->text() : QString("not a message box");
            if (box)
                box->accept();
        });
    show->trigger();
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    QCOMPARE(told, viewerFound ? QString() : "The picture " + QDir::toNativeSeparators(path) + " could not be shown.");
}

// Until a dating pass found a usable date, and from the moment another tree
// is chosen, there is no oldest picture to show.
void TestWindowLook::noOldestPictureBeforeADate()
{
    {
        MainWindow w;
        QAction *show = w.findChild<QAction *>("actionShowOldestPicture");
        QVERIFY(show && !show->isEnabled());
        QVERIFY(w.ui->dateTimeEditCurrent->toolTip().isEmpty());
    }
    // A tree whose only picture has no date, read after the tree of three.
    QTemporaryDir dateless;
    QVERIFY(writeFile(QFile::encodeName(dateless.filePath("x.jpg")).toStdString(),
                      Jpeg().soi().sof(8, 8).sos().eoi().bytes()));
    std::unique_ptr<MainWindow> w = datedWindow();
    QVERIFY(w);
    QAction *show = w->findChild<QAction *>("actionShowOldestPicture");
    QVERIFY(show->isEnabled());
    QVERIFY(chooseFolder(*w, dateless.path(), true));
    QCOMPARE(w->ui->numberEdit->text(), QString("1 (0 valid)"));
    QVERIFY(!show->isEnabled());
    QVERIFY(w->ui->dateTimeEditCurrent->toolTip().isEmpty());
}

// The viewer gets a file URL that leads to the very bytes of the name, also
// when they are not UTF-8.
void TestWindowLook::urlOfAPicture_data()
{
    QTest::addColumn<QByteArray>("path");   // as the file system names it
    QTest::addColumn<QByteArray>("url");
    QTest::newRow("plain") << QByteArray("/home/ada/Pictures/a.jpg") << QByteArray("file:///home/ada/Pictures/a.jpg");
    QTest::newRow("space, hash, percent") << QByteArray("/p/a b#1%.jpg") << QByteArray("file:///p/a%20b%231%25.jpg");
    QTest::newRow("UTF-8") << QByteArray("/p/M\xc3\xbcnchen.jpg") << QByteArray("file:///p/M%C3%BCnchen.jpg");
#ifndef _WIN32
    QTest::newRow("not UTF-8") << QByteArray("/p/M\xfcnchen.jpg") << QByteArray("file:///p/M%FCnchen.jpg");
#endif
}

void TestWindowLook::urlOfAPicture()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, url);
    QCOMPARE(OldestPicture::urlOf(PathBytes::decode(path)).toEncoded(), url);
}

// The texts of the tool bar's action and extension button, of the camera
// list and of the current date's tooltip go through the window's
// translations, and change with the language while the window is open.
void TestWindowLook::newTextsAreTranslated_data()
{
    QTest::addColumn<QString>("language");   // empty: a translator that marks every text it is asked for
    QTest::addColumn<QStringList>("texts");  // action, its tooltip, extension, list, field's tooltip
    QTest::newRow("marked") << ""
                            << QStringList{"<<Show oldest picture>>", "<<Open %1 in the desktop's picture viewer>>",
                                           "<<More tools>>", "<<Cameras>>", "<<The oldest picture: %1>>"};
    QTest::newRow("German") << "de_DE"
                            << QStringList{"Ältestes Foto zeigen", "%1 im Bildbetrachter des Desktops öffnen",
                                           "Weitere Werkzeuge", "Kameras", "Das älteste Foto: %1"};
}

void TestWindowLook::newTextsAreTranslated()
{
    QFETCH(QString, language);
    QFETCH(QStringList, texts);
    std::unique_ptr<MainWindow> w = datedWindow();
    QVERIFY(w && w->cameraCombo);
    class Marking : public QTranslator {
    public:
        QString translate(const char *context, const char *source, const char *, int) const override
        {
            return qstrcmp(context, "MainWindow") == 0 ? "<<" + QString::fromUtf8(source) + ">>" : QString();
        }
        bool isEmpty() const override { return false; }
    } marking;
    QTranslator german;
    if (language.isEmpty())
        QVERIFY(QCoreApplication::installTranslator(&marking));
    else
        QVERIFY(german.load(QLocale(language), "kelvaro", "_", KELVARO_QM_DIR)
                && QCoreApplication::installTranslator(&german));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    const QString path = QDir::toNativeSeparators(tree.filePath("phone/1.jpg"));
    QAction *show = w->findChild<QAction *>("actionShowOldestPicture");
    auto *more = w->ui->mainToolBar->findChild<QToolButton *>("qt_toolbar_ext_button");
    QVERIFY(show && more);
    const QStringList shown{show->text(), show->toolTip(), more->accessibleName(),
                            w->cameraCombo->view()->accessibleName(), w->ui->dateTimeEditCurrent->toolTip()};
    QCoreApplication::removeTranslator(&marking);
    QCoreApplication::removeTranslator(&german);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(shown,
             QStringList({texts[0], QString(texts[1]).arg(path), texts[2], texts[3], QString(texts[4]).arg(path)}));
    QCOMPARE(show->text(), QString("Show oldest picture"));
    QCOMPARE(more->accessibleName(), QString("More tools"));
}

QTEST_MAIN(TestWindowLook)
#include "tst_windowlook.moc"
