// What the window says while and after it writes, held against what the
// pictures hold: the progress bar, the result of a cancel, the question after
// a killed shift, the dates shown after each pass, the close question and the
// presses a screen reader makes. Every write to a .jpg waits (the preloaded
// shim's KELVARO_FAULT_SLOW), so that a pass is met in its middle; the trees
// are built under other names and renamed, so that building them is quick.
#include "capturedate.h"
#include "datereader.h"
#include "isolatedhome.h"
#include "jpegbuilder.h"
#include "mainwindow.h"
#include "mainwindowform.h"
#include "modalanswers.h"
#include "translations.h"

#include <QAccessible>
#include <QApplication>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

using namespace jpegtest;
using namespace modal;

namespace {

const QDateTime base = CaptureDate::parse("2012:05:06 10:00:00");

Bytes dated(const QDateTime &when)
{
    const std::string text = when.isValid() ? CaptureDate::format(when).toStdString() : "0000:00:00 00:00:00";
    ExifBlock exif(ByteOrder::Intel);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::DateTime, text).subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, text);
    return Jpeg::camera(exif).bytes();
}

// A tree of `count` pictures a minute apart (the first the oldest) in
// folders of 20, and `undated` pictures without a usable date. Each is
// written under a name the shim does not slow, then renamed.
struct Tree {
    QTemporaryDir dir;
    QStringList dated;   // the pictures with a date, and each one's date
    QList<QDateTime> dates;

    Tree(int count, int undated)
    {
        for (int i = 0; i < count + undated; ++i) {
            const QString path = dir.filePath(QString("f%1/p%2.jpg").arg(i / 20).arg(i));
            const QDateTime when = i < count ? base.addSecs(60 * i) : QDateTime();
            QDir().mkpath(QFileInfo(path).path());
            const QString building = dir.filePath("building");
            QVERIFY(writeFile(QFile::encodeName(building).toStdString(), ::dated(when)));
            QVERIFY(QFile::rename(building, path));
            if (i < count) {
                dated << path;
                dates << when;
            }
        }
    }
    QString path() const { return dir.path(); }
    // The pictures that hold their date moved by `seconds`.
    int moved(qint64 seconds) const
    {
        int n = 0;
        for (int i = 0; i < dated.size(); ++i)
            n += DateReader::read(dated[i]).oldDate == dates[i].addSecs(seconds);
        return n;
    }
    // The oldest date the pictures hold now.
    QDateTime oldestHeld() const
    {
        QDateTime oldest;
        for (const QString &path : dated) {
            const QDateTime d = DateReader::read(path).oldDate;
            if (!oldest.isValid() || d < oldest)
                oldest = d;
        }
        return oldest;
    }
};

// Whether a dialog opened while a screen reader's press ran.
bool askedWhilePressing = false;

bool idle(MainWindow &w) { return w.ui->pushButtonSelect->isEnabled() && !w.timer; }

void runDating(MainWindow &w, const QString &folder)
{
    chooseFolder(folder);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && w.phase == WalkState::Dating && w.validCount > 0, 20000);
}

// Waits until no picture's write ends for a while (the writing paused, or
// the pass ended) and returns how many had ended.
int settled(MainWindow &w)
{
    int last = -1;
    while (w.doneCount != last) {
        last = w.doneCount;
        QTest::qWait(400);
    }
    return last;
}

// Presses `object` (a button, or a tool bar action's button) as a screen
// reader does; true when the press returned before any question opened.
bool pressAsScreenReader(QObject *object)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    if (!face || !face->actionInterface())
        return false;
    askedWhilePressing = false;
    modal::seen = [](QWidget *) { askedWhilePressing = true; };
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    modal::seen = nullptr;
    return !askedWhilePressing && !QApplication::activeModalWidget();
}

void installLanguage(const QString &language)
{
    for (QTranslator *t : qApp->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    if (language != "en")
        QCOMPARE(Translations::install(*qApp, QLocale(language), {KELVARO_QM_DIR}, {}), language);
}

} // namespace

class TestWindowCounts : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QVERIFY2(qEnvironmentVariableIntValue("KELVARO_FAULT_SLOW") > 0, "the writes are to be slowed");
    }
    void cleanup()
    {
        installLanguage("en");
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).removeRecursively();
    }

    void cancelledShiftTellsWhatIsWritten_data();
    void cancelledShiftTellsWhatIsWritten();
    void closeQuestionHoldsTheWriting_data();
    void closeQuestionHoldsTheWriting();
    void startUpQuestionAfterAKill_data();
    void startUpQuestionAfterAKill();
    void everyPressReturnsBeforeItsQuestion_data();
    void everyPressReturnsBeforeItsQuestion();
};

void TestWindowCounts::cancelledShiftTellsWhatIsWritten_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("held");           // the writing held before the cancel, the bar compared
    QTest::addColumn<QString>("cancelled");   // the result box's heading and counts
    QTest::addColumn<QString>("setBack");     // the undo's counts
    const QString english = "Cancelled after %1 of %2 pictures.\n\nChanged: %1, not changed: %3, could not be read: 0.";
    const QString englishUndo = "Set back: %1, already as before: %2, not changed: 0.";
    QTest::newRow("English, held") << "en" << true << english << englishUndo;
    QTest::newRow("English, running") << "en" << false << english << englishUndo;
    QTest::newRow("German, held") << "de" << true
                                  << "Abgebrochen nach %1 von %2 Fotos.\n\nGeändert: %1, nicht geändert: %3, "
                                     "nicht lesbar: 0."
                                  << "Zurückgesetzt: %1, schon wie vorher: %2, nicht geändert: 0.";
}

// The progress bar counts the pictures written, of those the question
// counted; the result of a cancel tells the same number, the dates shown
// are those the pictures hold, and the undo sets back as many as changed.
// A further shift needs no new choice of the folder.
void TestWindowCounts::cancelledShiftTellsWhatIsWritten()
{
    QFETCH(QString, language);
    QFETCH(bool, held);
    QFETCH(QString, cancelled);
    QFETCH(QString, setBack);
    installLanguage(language);
    const int count = 120;
    Tree tree(count, 4);
    MainWindow w;
    w.show();
    runDating(w, tree.path());
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), base);

    // Each picture an hour later; written from the middle of the tree on,
    // the oldest picture may or may not be among the first.
    w.ui->dateTimeEditNew->setDateTime(base.addSecs(3600));
    QString question;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    QTRY_VERIFY_WITH_TIMEOUT(w.doneCount >= 24, 20000);
    int done = -1;
    if (held) {
        w.pauseRequested = true;
        done = settled(w);
        w.timerElapsed();
        QCOMPARE(w.ui->progressBar->maximum(), count);
        QCOMPARE(w.ui->progressBar->value(), done);
        QCOMPARE(tree.moved(3600), done);
    }

    // Cancelled: a held pass begins no other picture.
    QString result;
    answerBox(QMessageBox::Ok, &result);
    w.ui->pushButtonCancel->click();
    QTRY_VERIFY_WITH_TIMEOUT(!result.isEmpty() && idle(w), 20000);
    w.pauseRequested = false;
    if (held)
        QCOMPARE(tree.moved(3600), done);
    else
        done = tree.moved(3600);
    QVERIFY(done < count);
    const QString told = cancelled.arg(QLocale().toString(done), QLocale().toString(count),
                                       QLocale().toString(count - done));
    QVERIFY2(result.startsWith(told), qPrintable(result));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), tree.oldestHeld());
    QCOMPARE(w.ui->dateTimeEditNew->dateTime(), tree.oldestHeld());
    QVERIFY(w.ui->pushButtonShift->isVisible() && w.ui->pushButtonShift->isEnabled());

    // Undone through the tool bar, as a screen reader presses it.
    QString undoQuestion, undone;
    answerBox(QMessageBox::Yes, &undoQuestion);
    QVERIFY(pressAsScreenReader(w.ui->mainToolBar->widgetForAction(w.undoAction)));
    answerBox(QMessageBox::Ok, &undone);
    QTRY_VERIFY_WITH_TIMEOUT(!undone.isEmpty() && idle(w), 20000);
    QCOMPARE(tree.moved(0), count);
    QVERIFY2(undone.contains(setBack.arg(QLocale().toString(done), QLocale().toString(count - done))),
             qPrintable(undone));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), base);

    // A further shift from the dates shown, without choosing the folder.
    w.ui->dateTimeEditNew->setDateTime(base.addSecs(-60));
    answerBox(QMessageBox::Yes, &question);
    QString whole;
    answerBox(QMessageBox::Ok, &whole);
    w.change();
    QTRY_VERIFY_WITH_TIMEOUT(!whole.isEmpty() && idle(w), 30000);
    QCOMPARE(tree.moved(-60), count);
    QCOMPARE(w.doneCount.load(), count);
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), base.addSecs(-60));
}

void TestWindowCounts::closeQuestionHoldsTheWriting_data()
{
    QTest::addColumn<bool>("stop");
    QTest::newRow("no: the shift goes on") << false;
    QTest::newRow("yes: it stops where it stood") << true;
}

// While the close question is open no picture is begun: the pictures in
// hand are finished and the count stands still until the answer.
void TestWindowCounts::closeQuestionHoldsTheWriting()
{
    QFETCH(bool, stop);
    const int count = 120;
    Tree tree(count, 0);
    MainWindow w;
    w.show();
    runDating(w, tree.path());
    w.ui->dateTimeEditNew->setDateTime(base.addSecs(3600));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    QTRY_VERIFY_WITH_TIMEOUT(w.doneCount >= 16, 20000);

    int whenAsked = -1, whenAnswered = -1;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        whenAsked = tree.moved(3600);
        // Long enough for some forty more pictures, were they written.
        QTimer::singleShot(600, box, [&, box] {
            whenAnswered = tree.moved(3600);
            answerBox(QMessageBox::Ok, &result);
            box->button(stop ? QMessageBox::Yes : QMessageBox::No)->click();
        });
    });
    QVERIFY(!w.close());
    QTRY_VERIFY_WITH_TIMEOUT(!result.isEmpty(), 30000);
    QVERIFY(whenAsked >= 16);
    // The pictures in hand when it opened, at most one per job.
    QVERIFY2(whenAnswered - whenAsked <= ShiftJob::defaultJobs(), qPrintable(QString("%1 then %2")
                                                                               .arg(whenAsked)
                                                                               .arg(whenAnswered)));
    if (stop) {
        QCOMPARE(tree.moved(3600), whenAnswered);
        QVERIFY2(result.startsWith(QString("Cancelled after %1 of %2 pictures.").arg(whenAnswered).arg(count)),
                 qPrintable(result));
        QTRY_VERIFY(!w.isVisible());
    } else {
        QCOMPARE(tree.moved(3600), count);
        QVERIFY(w.isVisible());
    }
}

void TestWindowCounts::startUpQuestionAfterAKill_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("asked");
    QTest::newRow("English") << "en" << "The last shift of %1 stopped after %2 of %3 pictures.";
    QTest::newRow("German") << "de" << "Die letzte Verschiebung in %1 wurde nach %2 von %3 Fotos unterbrochen.";
}

// kelvaro-cli killed in the middle of a shift: its journal, `history` and the
// window's question at start-up name the pictures written, short of them by
// at most those in flight; undoing it sets back every one.
void TestWindowCounts::startUpQuestionAfterAKill()
{
    QFETCH(QString, language);
    QFETCH(QString, asked);
    const int count = 150, jobs = 4;
    Tree tree(count, 3);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(KELVARO_CLI),
              {"shift", tree.path(), "--by", "3600", "--yes", "--jobs", QString::number(jobs)});
    QVERIFY(cli.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(tree.moved(3600) >= 50, 30000);
    cli.kill();
    QVERIFY(cli.waitForFinished());
    const int written = tree.moved(3600);
    QVERIFY(written < count);

    QProcess history;
    history.setProcessEnvironment(env);
    history.start(QStringLiteral(KELVARO_CLI), {"history", "--json"});
    QVERIFY(history.waitForFinished(30000));
    const QJsonObject last =
        QJsonDocument::fromJson(history.readAllStandardOutput()).object()["passes"].toArray().last().toObject();
    const int told = last["changed"].toInt();
    QCOMPARE(last["pictures"].toInt(), count);
    QVERIFY2(told <= written && told >= written - jobs, qPrintable(QString("%1 of %2").arg(told).arg(written)));

    installLanguage(language);
    QString question, result;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        question = box->text();
        answerBox(QMessageBox::Ok, &result);
        for (QAbstractButton *b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::DestructiveRole)
                b->click();   // undo it
    });
    MainWindow w;
    QTRY_VERIFY_WITH_TIMEOUT(!result.isEmpty() && idle(w), 30000);
    QCOMPARE(question, asked.arg(QDir::toNativeSeparators(tree.path()), QLocale().toString(told),
                                 QLocale().toString(count)));
    QCOMPARE(tree.moved(0), count);
    // The tree of the undone shift is shown, with the dates it holds.
    QCOMPARE(w.ui->folderEdit->text(), tree.path());
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), base);
    QVERIFY(!w.ui->pushButtonShift->isHidden() && w.ui->pushButtonShift->isEnabled());
}

void TestWindowCounts::everyPressReturnsBeforeItsQuestion_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("Select") << "pushButtonSelect";
    QTest::newRow("Shift") << "pushButtonShift";
    QTest::newRow("Undo last shift") << "actionUndoLastShift";
}

// A screen reader's press returns at once; its question opens after it.
void TestWindowCounts::everyPressReturnsBeforeItsQuestion()
{
    QFETCH(QString, control);
    Tree tree(3, 0);
    MainWindow w;
    w.show();
    runDating(w, tree.path());
    // Something to undo.
    w.ui->dateTimeEditNew->setDateTime(base.addSecs(60));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    answerBox(QMessageBox::Ok, &result);
    w.change();
    QTRY_VERIFY_WITH_TIMEOUT(!result.isEmpty() && idle(w), 20000);
    QVERIFY(w.undoAction->isEnabled());

    QObject *pressed = w.findChild<QPushButton *>(control);
    if (!pressed)
        pressed = w.ui->mainToolBar->widgetForAction(w.findChild<QAction *>(control));
    QVERIFY(pressed);
    bool asked = false;
    whenModal([&](QWidget *modal) {
        asked = true;
        qobject_cast<QDialog *>(modal)->reject();
    });
    QVERIFY(pressAsScreenReader(pressed));
    QTRY_VERIFY(asked);
    QTRY_VERIFY(idle(w));
    QCOMPARE(tree.moved(60), 3);   // every question declined
}

QTEST_MAIN(TestWindowCounts)
#include "tst_windowcounts.moc"
