// The main window as it stands right after construction: its widget tree,
// fixed size, palette, fonts, texts, language changes and button wiring.
//
// The tests never run the event loop for long: the window's own start-up work
// must not get a chance to run in between.

#include "isolatedhome.h"

#include <QtTest>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>

#include <memory>

#include "jobmessages.h"
#include "mainwindow.h"
#include "mainwindowform.h"
#include "shiftjob.h"
#include "translations.h"

namespace {

// The thirteen widgets of the grid, in the order the form creates them.
const QStringList gridWidgets = {
    "pushButtonSelect", "label", "folderEdit", "progressBar", "label_2", "numberEdit",
    "label_3", "dateTimeEditCurrent", "label_4", "dateTimeEditNew", "pushButtonShift",
    "checkBoxFileDate", "pushButtonCancel",
};

const QDateTime startDate(QDate(2000, 1, 1), QTime(0, 0));

// Marks every text it translates in the window's context, so a test sees
// which texts went through the translation function and with what context.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (qstrcmp(context, "MainWindow") != 0)
            return QString();
        return QLatin1String("<<") + QString::fromUtf8(sourceText) + QLatin1String(">>");
    }
    bool isEmpty() const override { return false; }
};

// Every widget's enabled and hidden state plus the contents the form does not own.
struct Snapshot
{
    QMap<QString, QPair<bool, bool>> states;
    QString folder, number;
    QDateTime current, changed;
    bool checked;

    static Snapshot take(MainWindow &w)
    {
        Snapshot s;
        for (QWidget *child : w.findChildren<QWidget *>()) {
            if (!child->objectName().isEmpty())
                s.states.insert(child->objectName(), { child->isEnabled(), child->isHidden() });
        }
        s.folder = w.ui->folderEdit->text();
        s.number = w.ui->numberEdit->text();
        s.current = w.ui->dateTimeEditCurrent->dateTime();
        s.changed = w.ui->dateTimeEditNew->dateTime();
        s.checked = w.ui->checkBoxFileDate->isChecked();
        return s;
    }
};

// The contrast ratio of two colours as the web's accessibility guidelines
// define it, from 1 (the same) to 21 (black on white).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    QWidget *widget(const QString &name) const
    {
        return window->findChild<QWidget *>(name);
    }

private slots:
    void init() { window = std::make_unique<MainWindow>(); }
    void cleanup() { window.reset(); }

    void windowCannotBeResized()
    {
        const QSize fixed(506, 370);
        QCOMPARE(window->size(), fixed);
        QCOMPARE(window->minimumSize(), fixed);
        QCOMPARE(window->maximumSize(), fixed);
        QCOMPARE(window->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        QCOMPARE(window->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);

        window->show();
        window->resize(800, 600);
        QCOMPARE(window->size(), fixed);
        window->resize(100, 100);
        QCOMPARE(window->size(), fixed);
    }

    void widgetTree()
    {
        const MainWindowForm &f = *window->ui;
        QCOMPARE(window->objectName(), QString("MainWindow"));
        QCOMPARE(window->metaObject()->className(), "MainWindow");
        QCOMPARE(window->centralWidget(), f.centralWidget);
        QCOMPARE(f.layoutWidget->parent(), f.centralWidget);
        QCOMPARE(f.layoutWidget->geometry(), QRect(9, 9, 486, 296));
        QVERIFY(!f.centralWidget->layout());
        QCOMPARE(f.layoutWidget->layout(), f.gridLayout);
        QCOMPARE(f.gridLayout->spacing(), 6);
        QCOMPARE(f.gridLayout->contentsMargins(), QMargins(0, 0, 0, 0));

        // Children of the grid's carrier in creation order: the layout, then
        // the thirteen widgets, each named after its member.
        QStringList names;
        for (QObject *child : f.layoutWidget->children())
            names << child->objectName();
        QCOMPARE(names, QStringList { "gridLayout" } + gridWidgets);

        QCOMPARE(f.mainToolBar->parent(), window.get());
        QCOMPARE(window->toolBarArea(f.mainToolBar), Qt::TopToolBarArea);
        // The tool bar holds two actions: undo of the last shift, with
        // Ctrl+Z, and the oldest picture shown, disabled until there is one.
        QCOMPARE(f.mainToolBar->actions().size(), 2);
        QCOMPARE(f.mainToolBar->actions().first()->text(), QString("Undo last shift"));
        QCOMPARE(f.mainToolBar->actions().first()->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(f.mainToolBar->actions().last()->text(), QString("Show oldest picture"));
        QVERIFY(!f.mainToolBar->actions().last()->isEnabled());
        QCOMPARE(window->statusBar(), f.statusBar);
        QCOMPARE(f.statusBar->parent(), window.get());
    }

    void focusChainFollowsCreationOrder()
    {
        QStringList chain;
        QWidget *w = window.get();
        do {
            if (gridWidgets.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != window.get());
        QCOMPARE(chain, gridWidgets);
        QVERIFY(chain.indexOf("checkBoxFileDate") < chain.indexOf("pushButtonCancel"));
    }

    void gridCells_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("columnSpan");
        QTest::newRow("select") << "pushButtonSelect" << 0 << 0 << 2;
        QTest::newRow("label") << "label" << 1 << 0 << 1;
        QTest::newRow("folder") << "folderEdit" << 1 << 1 << 1;
        QTest::newRow("progress") << "progressBar" << 2 << 1 << 1;
        QTest::newRow("label_2") << "label_2" << 3 << 0 << 1;
        QTest::newRow("number") << "numberEdit" << 3 << 1 << 1;
        QTest::newRow("label_3") << "label_3" << 4 << 0 << 1;
        QTest::newRow("current") << "dateTimeEditCurrent" << 4 << 1 << 1;
        QTest::newRow("label_4") << "label_4" << 5 << 0 << 1;
        QTest::newRow("new") << "dateTimeEditNew" << 5 << 1 << 1;
        QTest::newRow("shift") << "pushButtonShift" << 6 << 0 << 2;
        QTest::newRow("cancel") << "pushButtonCancel" << 7 << 0 << 2;
        // The whole row, so that its text is never cut by the field column.
        QTest::newRow("file date") << "checkBoxFileDate" << 8 << 0 << 2;
    }

    void gridCells()
    {
        QFETCH(QString, name);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, columnSpan);

        QGridLayout *grid = window->ui->gridLayout;
        QWidget *w = widget(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), window->ui->layoutWidget);
        const int index = grid->indexOf(w);
        QVERIFY(index >= 0);
        int r, c, rs, cs;
        grid->getItemPosition(index, &r, &c, &rs, &cs);
        QCOMPARE(r, row);
        QCOMPARE(c, column);
        QCOMPARE(rs, 1);
        QCOMPARE(cs, columnSpan);
        QCOMPARE(grid->itemAt(index)->alignment(), Qt::Alignment());
    }

    void emptyCells()
    {
        QVERIFY(!window->ui->gridLayout->itemAtPosition(2, 0));
    }

    void initialStates()
    {
        const MainWindowForm &f = *window->ui;
        QVERIFY(!f.pushButtonShift->isEnabled());
        QVERIFY(!f.dateTimeEditCurrent->isEnabled());
        QVERIFY(f.dateTimeEditNew->isEnabled());
        QVERIFY(f.pushButtonSelect->isEnabled());
        QVERIFY(f.checkBoxFileDate->isChecked());
        QVERIFY(f.numberEdit->isReadOnly());
        QVERIFY(f.folderEdit->isReadOnly());   // chosen through the dialog only
        QVERIFY(f.folderEdit->text().isEmpty());
        QVERIFY(f.numberEdit->text().isEmpty());
        QCOMPARE(f.progressBar->value(), 24);
        QCOMPARE(f.progressBar->minimum(), 0);
        QCOMPARE(f.progressBar->maximum(), 100);
        // Date and clock time only: the zone of the edits is the controller's business.
        for (const QDateTimeEdit *edit : { f.dateTimeEditCurrent, f.dateTimeEditNew }) {
            QCOMPARE(edit->dateTime().date(), startDate.date());
            QCOMPARE(edit->dateTime().time(), startDate.time());
        }
    }

    void buttonLooks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("select") << "pushButtonSelect";
        QTest::newRow("shift") << "pushButtonShift";
        QTest::newRow("cancel") << "pushButtonCancel";
    }

    void buttonLooks()
    {
        QFETCH(QString, name);
        auto *button = window->findChild<QPushButton *>(name);
        QVERIFY(button);
        QVERIFY(button->autoFillBackground());
        QCOMPARE(button->iconSize(), QSize(24, 24));
        QVERIFY(!button->icon().isNull());
        const QImage image = button->icon().pixmap(24, 24).toImage();
        QCOMPARE(image.size(), QSize(24, 24));
        QVERIFY(image.pixelColor(12, 12).alpha() > 0);
    }

    void windowLooks()
    {
        const MainWindowForm &f = *window->ui;
        QVERIFY(!window->windowIcon().isNull());
        // One icon object serves the window and the Shift button.
        QCOMPARE(f.pushButtonShift->icon().cacheKey(), window->windowIcon().cacheKey());
        QVERIFY(qAbs(window->windowOpacity() - 0.95) < 0.005);
        QVERIFY(!window->autoFillBackground());
        QVERIFY(!window->unifiedTitleAndToolBarOnMac());
        QVERIFY(!f.numberEdit->autoFillBackground());

        const QFont font = window->font();
        QCOMPARE(font.pointSize(), 12);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.bold());
        QVERIFY(!font.italic());
    }

    void fonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ownFont");
        for (const QString &name : gridWidgets)
            QTest::newRow(qPrintable(name)) << name << (name != "progressBar");
    }

    void fonts()
    {
        QFETCH(QString, name);
        QFETCH(bool, ownFont);
        QWidget *w = widget(name);
        QCOMPARE(w->testAttribute(Qt::WA_SetFont), ownFont);
        QCOMPARE(w->font().pointSize(), 12);
        QCOMPARE(w->font().family(), window->font().family());
        QCOMPARE(w->font().weight(), QFont::Normal);
    }

    void palette_data()
    {
        QTest::addColumn<QPalette::ColorGroup>("group");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::addColumn<QColor>("colour");
        const QColor blue(0, 85, 255), white(255, 255, 255), yellow(255, 255, 127);
        QTest::newRow("active button") << QPalette::Active << QPalette::Button << blue;
        QTest::newRow("active base") << QPalette::Active << QPalette::Base << white;
        QTest::newRow("active window") << QPalette::Active << QPalette::Window << yellow;
        QTest::newRow("inactive button") << QPalette::Inactive << QPalette::Button << blue;
        QTest::newRow("inactive base") << QPalette::Inactive << QPalette::Base << white;
        QTest::newRow("inactive window") << QPalette::Inactive << QPalette::Window << yellow;
        QTest::newRow("disabled button") << QPalette::Disabled << QPalette::Button << blue;
        QTest::newRow("disabled base") << QPalette::Disabled << QPalette::Base << yellow;
        QTest::newRow("disabled window") << QPalette::Disabled << QPalette::Window << yellow;
    }

    void palette()
    {
        QFETCH(QPalette::ColorGroup, group);
        QFETCH(QPalette::ColorRole, role);
        QFETCH(QColor, colour);
        QCOMPARE(window->palette().brush(group, role).style(), Qt::SolidPattern);
        QCOMPARE(window->palette().color(group, role), colour);
        // Set once on the window, inherited by the widgets.
        QCOMPARE(window->ui->dateTimeEditNew->palette().color(group, role), colour);
        QCOMPARE(window->ui->pushButtonCancel->palette().color(group, role), colour);
    }

    // Under a dark desktop palette, every text of the window stands out from
    // what it is drawn on by at least 4.5 : 1, as drawn: the most frequent
    // colour of the widget against its text's strongest one.
    void textContrast_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : { "pushButtonSelect", "label", "folderEdit", "label_2", "numberEdit",
                                  "label_3", "dateTimeEditCurrent", "label_4", "dateTimeEditNew",
                                  "pushButtonShift", "checkBoxFileDate" })
            QTest::newRow(name) << QString(name);
        QTest::newRow("disabled shift") << "pushButtonShift";
    }

    void textContrast()
    {
        QFETCH(QString, name);
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
            for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
                dark.setColor(group, role, QColor(0xee, 0xee, 0xee));
            for (QPalette::ColorRole role : { QPalette::Window, QPalette::Base, QPalette::Button })
                dark.setColor(group, role, QColor(0x30, 0x30, 0x30));
        }
        QApplication::setPalette(dark);
        MainWindow w;
        QApplication::setPalette(before);
        w.ui->folderEdit->setText("/home/ada/Pictures");
        w.ui->numberEdit->setText("3000 (2990 valid)");
        w.ui->pushButtonShift->setEnabled(QTest::currentDataTag() != QLatin1String("disabled shift"));
        w.show();
        auto *widget = w.findChild<QWidget *>(name);
        if (auto *button = qobject_cast<QPushButton *>(widget))
            button->setIcon(QIcon());   // its colours are not the text's

        const QImage image = widget->grab().toImage();
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y)];
        QRgb background = counts.begin().key();
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (it.value() > counts[background])
                background = it.key();
        double best = 1;
        for (auto it = counts.begin(); it != counts.end(); ++it)
            best = qMax(best, contrast(QColor(it.key()), QColor(background)));
        // Disabled, a button may be paler, but not unreadable.
        const double least = widget->isEnabled() || name != "pushButtonShift" ? 4.5 : 3.0;
        QVERIFY2(best >= least, qPrintable(QString("%1 on %2: %3").arg(name, QColor(background).name())
                                               .arg(best)));
    }

    // The button that has the keyboard focus shows it by a frame that stands
    // out from the yellow window and from the button alike.
    void focusFrame_data() { buttonLooks_data(); }

    void focusFrame()
    {
        QFETCH(QString, name);
        auto *button = window->findChild<QPushButton *>(name);
        button->show();
        button->setEnabled(true);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QColor yellow(255, 255, 127);
        const auto edge = [button] {
            const QImage image = button->grab().toImage();
            return QColor(image.pixel(1, image.height() / 2));
        };
        const QColor without = edge();
        // Reached with the keyboard: Tab away from it and back.
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Tab);
        QVERIFY(!button->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(button->hasFocus());
        const QColor with = edge();
        QVERIFY2(contrast(with, yellow) >= 4.5 && contrast(with, without) >= 3,
                 qPrintable(with.name() + " after " + without.name()));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("text");
        const QString selectTip = "Select the top folder of your JPGs to be shifted";
        QTest::newRow("select tip") << "pushButtonSelect" << QByteArray("toolTip") << selectTip;
        QTest::newRow("select") << "pushButtonSelect" << QByteArray("text") << "Select top folder...";
        QTest::newRow("label") << "label" << QByteArray("text") << "Top folder";
        QTest::newRow("label_2") << "label_2" << QByteArray("text") << "Number of pictures";
        QTest::newRow("label_3") << "label_3" << QByteArray("text")
                                 << "Current date of first picture";
        QTest::newRow("label_4") << "label_4" << QByteArray("text") << "New date of first picture";
        QTest::newRow("new date tip") << "dateTimeEditNew" << QByteArray("toolTip")
                                      << "Set the new date of first(oldest) picture";
        QTest::newRow("shift") << "pushButtonShift" << QByteArray("text")
                               << "Shift all time stamps in EXIF Info";
        QTest::newRow("file date tip")
            << "checkBoxFileDate" << QByteArray("toolTip")
            << "If checked, not only the EXIF date is shifted but also the file attribute "
               "(recommended)";
        QTest::newRow("file date") << "checkBoxFileDate" << QByteArray("text")
                                   << "Adapt also time stamps of files";
        QTest::newRow("cancel tip")
            << "pushButtonCancel" << QByteArray("toolTip")
            << "Stop after the picture in hand: every picture is either wholly shifted or left as it was";
        QTest::newRow("cancel") << "pushButtonCancel" << QByteArray("text") << "Cancel";
    }

    void texts()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QString, text);
        QCOMPARE(widget(name)->property(property.constData()).toString(), text);
    }

    void title()
    {
        const QString title = window->windowTitle();
        QVERIFY2(title.startsWith("Kelvaro 1.0   "), qPrintable(title));
        QVERIFY2(title.size() > 14 && !title.at(14).isSpace(), qPrintable(title));
    }

    // A language change re-applies the thirteen texts through the translation
    // function, context "MainWindow", and touches nothing else.
    void languageChange()
    {
        MainWindowForm &f = *window->ui;
        window->show();

        f.folderEdit->setText("/pictures/2019");
        f.numberEdit->setText("417");
        f.dateTimeEditCurrent->setDateTime(QDateTime(QDate(2019, 7, 14), QTime(9, 30, 5)));
        f.dateTimeEditNew->setDateTime(QDateTime(QDate(2019, 7, 15), QTime(10, 0, 0)));
        f.checkBoxFileDate->setChecked(false);
        f.pushButtonShift->setEnabled(true);
        f.pushButtonSelect->setEnabled(false);
        f.progressBar->hide();
        f.pushButtonCancel->hide();
        f.statusBar->showMessage("busy");
        const Snapshot before = Snapshot::take(*window);

        struct Text { QWidget *widget; const char *property; };
        const QList<Text> texts = {
            { window.get(), "windowTitle" },
            { f.pushButtonSelect, "toolTip" }, { f.pushButtonSelect, "text" },
            { f.label, "text" }, { f.label_2, "text" }, { f.label_3, "text" },
            { f.label_4, "text" }, { f.dateTimeEditNew, "toolTip" },
            { f.pushButtonShift, "text" }, { f.checkBoxFileDate, "toolTip" },
            { f.checkBoxFileDate, "text" }, { f.pushButtonCancel, "toolTip" },
            { f.pushButtonCancel, "text" },
        };
        QStringList original;
        for (const Text &t : texts)
            original << t.widget->property(t.property).toString();

        MarkingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(texts[i].widget->property(texts[i].property).toString(),
                     "<<" + original[i] + ">>");
        }

        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(texts[i].widget->property(texts[i].property).toString(), original[i]);

        const Snapshot after = Snapshot::take(*window);
        QCOMPARE(after.states, before.states);
        QCOMPARE(after.folder, before.folder);
        QCOMPARE(after.number, before.number);
        QCOMPARE(after.current, before.current);
        QCOMPARE(after.changed, before.changed);
        QCOMPARE(after.checked, before.checked);
        QCOMPARE(f.statusBar->currentMessage(), QString("busy"));
        QVERIFY(f.numberEdit->isReadOnly());
    }

    void publicSlotsInOrder()
    {
        const QMetaObject *meta = window->metaObject();
        QStringList names;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Public)
                names << QString::fromLatin1(method.methodSignature());
        }
        QCOMPARE(names, QStringList({ "select()", "workingThreadFinshed()", "timerElapsed()",
                                      "startAutoSelect()", "change()", "cancel()" }));
    }

    // Each button is wired to its own slot of the window and to nothing else
    // of it: a disconnect naming signal and slot succeeds only if exactly that
    // connection exists. Made again, the connection carries a click to the
    // slot, seen by what the slot does where it starts no work: Select opens
    // the folder dialog, Shift with no dates read says there is nothing to
    // shift, Cancel raises the cancel flag. Every dialog is closed unanswered.
    void connections_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("dialog");   // "class: title or text" of the dialog the slot opens
        QTest::addColumn<bool>("cancels");
        QTest::newRow("select") << "pushButtonSelect" << QByteArray(SIGNAL(clicked()))
                                << QByteArray(SLOT(select())) << "QFileDialog: Select Top Folder" << false;
        QTest::newRow("shift") << "pushButtonShift" << QByteArray(SIGNAL(clicked(bool)))
                               << QByteArray(SLOT(change()))
                               << "QMessageBox: " + JobMessages::nothingToShift() << false;
        QTest::newRow("cancel") << "pushButtonCancel" << QByteArray(SIGNAL(clicked()))
                                << QByteArray(SLOT(cancel())) << QString() << true;
    }

    void connections()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, signal);
        QFETCH(QByteArray, slot);
        QFETCH(QString, dialog);
        QFETCH(bool, cancels);
        QWidget *button = widget(name);
        window->show();
        button->setEnabled(true);

        QVERIFY(QObject::disconnect(button, signal.constData(), window.get(), slot.constData()));
        QVERIFY(!QObject::disconnect(button, nullptr, window.get(), nullptr));
        QVERIFY(QObject::connect(button, signal.constData(), window.get(), slot.constData()));

        // Runs only while a dialog's own event loop runs.
        QStringList opened;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &closer, [&opened] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            opened << QString::fromLatin1(modal->metaObject()->className()) + ": "
                          + (modal->inherits("QMessageBox") ? modal->property("text").toString()
                                                            : modal->windowTitle());
            QVERIFY(QMetaObject::invokeMethod(modal, "reject"));
        });
        closer.start(0);
        QVERIFY(!window->cancelRequested);
        QTest::mouseClick(button, Qt::LeftButton);
        closer.stop();

        if (dialog.isEmpty())
            QCOMPARE(opened, QStringList());
        else
            QVERIFY2(opened.contains(dialog), qPrintable(opened.join(" | ")));
        QCOMPARE(window->cancelRequested.load(), cancels);
        // Nothing started.
        QVERIFY(window->ui->pushButtonSelect->isEnabled());
        QVERIFY(!window->timer);
        QCOMPARE(window->ui->folderEdit->text(), QString());
    }

    // Both date fields show one pattern, with four-digit years and seconds,
    // in every locale, and a whole date typed over the selected field is
    // taken exactly as typed.
    void typingAWholeDate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en_US") << "en_US" << "1996-11-05 15:55:52" << "1996-11-05 15:55:52";
        QTest::newRow("de_DE") << "de_DE" << "1700-01-02 03:04:05" << "1700-01-02 03:04:05";
        QTest::newRow("ja_JP") << "ja_JP" << "9999-12-31 23:59:59" << "9999-12-31 23:59:59";
        QTest::newRow("short parts") << "en_US" << "2019-6-1 8:00:00" << "2019-06-01 08:00:00";
        QTest::newRow("other separators") << "de_DE" << "2019/06/01 08.30.00" << "2019-06-01 08:30:00";
    }

    void typingAWholeDate()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        MainWindow w;
        QLocale::setDefault(QLocale::system());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ui->dateTimeEditCurrent->setDateTime(QDateTime(QDate(1996, 11, 5), QTime(15, 55, 52), Qt::UTC));
        QCOMPARE(w.ui->dateTimeEditCurrent->text(), QString("1996-11-05 15:55:52"));

        QDateTimeEdit *edit = w.ui->dateTimeEditNew;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->dateTime(), QDateTime(QDate::fromString(shown.left(10), "yyyy-MM-dd"),
                                             QTime::fromString(shown.mid(11), "HH:mm:ss"), Qt::UTC));
    }

    // A screen reader names each field after its caption, and the progress
    // bar; the field that only shows the current date is left out of the tab
    // chain.
    void accessibility()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QList<QPair<QString, QString>> spoken = {
            { "folderEdit", "Top folder" }, { "numberEdit", "Number of pictures" },
            { "dateTimeEditCurrent", "Current date of first picture" },
            { "dateTimeEditNew", "New date of first picture" }, { "progressBar", "Progress" } };
        for (const auto &field : spoken)
            QCOMPARE(QAccessible::queryAccessibleInterface(widget(field.first))->text(QAccessible::Name),
                     field.second);

        window->ui->numberEdit->setFocus();
        QTest::keyClick(window->ui->numberEdit, Qt::Key_Tab);
        QVERIFY(window->ui->dateTimeEditNew->hasFocus());
    }

    // The German translation as the build compiles it, with Qt's own:
    // installed while the window is open, it is applied at once, to the
    // window and the job's question; taken away, the English texts return.
    void germanTexts()
    {
        window->show();
        QCOMPARE(Translations::install(*qApp, QLocale("de_DE"), { KELVARO_QM_DIR }), QString("de"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(window->ui->label_3->text(), QString("Bisheriges Datum des ältesten Fotos"));
        QCOMPARE(window->ui->pushButtonCancel->text(), QString("Abbrechen"));
        QCOMPARE(window->ui->progressBar->accessibleName(), QString("Fortschritt"));
        QVERIFY(JobMessages::confirmation(3, 1, startDate, startDate)
                    .startsWith("3 Fotos in 1 Ordner, aufgenommen zwischen\n2000:01:01 00:00:00 und"));
        ShiftJob::Choice phone;
        phone.cameras << "Pixel 7";
        QVERIFY(JobMessages::confirmation(2, 1, startDate, startDate, phone.describe())
                    .startsWith("2 Fotos von Pixel 7 in 1 Ordner, aufgenommen zwischen\n"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Ja"));
        // The question tells the RAW files and those of a format not supported.
        JobMessages::Pass pass;
        pass.pictures = 4;
        pass.valid = 3;
        pass.raw = 2;
        pass.unsupported = 1;
        pass.folders = 1;
        pass.oldest = pass.newest = startDate;
        pass.shiftSeconds = 60;
        QVERIFY2(JobMessages::confirmation(pass).endsWith("\nRAW-Dateien unter den zu ändernden Fotos: 2.\n"
                                                          "Nicht angetastet, Format nicht unterstützt: 1."),
                 qPrintable(JobMessages::confirmation(pass)));

        removeTranslators();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(window->ui->label_3->text(), QString("Current date of first picture"));
    }

    // The first of the user's languages that there is a translation for,
    // a region falling back to its language; none for English.
    void languageOfLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::newRow("en_US") << "en_US" << "";
        QTest::newRow("de_AT") << "de_AT" << "de";
        QTest::newRow("pt_BR") << "pt_BR" << "pt_BR";
        QTest::newRow("zh_TW") << "zh_TW" << "";   // no traditional characters yet
    }

    void languageOfLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QCOMPARE(Translations::install(*qApp, QLocale(locale), { KELVARO_QM_DIR }, {}), language);
        removeTranslators();
    }

    // A longer translation or a larger font widens the window instead of
    // cutting a text: every caption, field and button gets its room.
    void nothingIsCut_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("points");
        QTest::newRow("English") << "en_US" << 12;
        QTest::newRow("French") << "fr_FR" << 12;
        QTest::newRow("German, large font") << "de_DE" << 20;
    }

    void nothingIsCut()
    {
        QFETCH(QString, locale);
        QFETCH(int, points);
        Translations::install(*qApp, QLocale(locale), { KELVARO_QM_DIR }, {});
        MainWindow w;
        w.ui->pushButtonShift->show();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        removeTranslators();
        if (points != 12) {
            // Widgets may come and go while fonts change: each is looked at
            // only while it is there.
            QList<QPointer<QWidget>> all;
            for (QWidget *child : w.findChildren<QWidget *>())
                all << child;
            all << &w;
            for (const QPointer<QWidget> &child : all) {
                if (!child)
                    continue;
                QFont font = child->font();
                font.setPointSize(points);
                child->setFont(font);
            }
        }
        QCoreApplication::processEvents();
        for (const QString &name : gridWidgets) {
            QWidget *child = w.findChild<QWidget *>(name);
            if (child->isHidden())
                continue;
            QVERIFY2(child->width() >= child->minimumSizeHint().width(), qPrintable(name));
            QVERIFY2(w.rect().contains(QRect(child->mapTo(&w, QPoint(0, 0)), child->size())), qPrintable(name));
        }
    }

private:
    static void removeTranslators()
    {
        for (QTranslator *translator : qApp->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
