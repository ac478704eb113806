// The window driven as a user drives it: the folder dialog, the passes, the
// question and the result box, on trees generated in a temporary folder.
#include "capturedate.h"
#include "isolatedhome.h"
#include "jpegbuilder.h"
#include "mainwindow.h"
#include "mainwindowform.h"
#include "modalanswers.h"
#include "datereader.h"
#include "samplefiles.h"
#include "shiftjob.h"
#include "triptree.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include <functional>
#include <memory>

using namespace jpegtest;
using namespace modal;

namespace {

Bytes dated(const std::string &text, size_t scan = 256)
{
    ExifBlock exif(ByteOrder::Intel);
    const int sub = exif.addDirectory();
    exif.ascii(0, tag::DateTime, text).subDirectory(0, tag::ExifIfd, sub).ascii(sub, tag::DateTimeOriginal, text);
    return Jpeg::camera(exif, scan).bytes();
}

// A picture of a camera that writes `make` and `model` (empty: no such tag).
Bytes shot(const std::string &text, const std::string &make, const std::string &model)
{
    return Jpeg::shot(text, make, model, ByteOrder::Motorola);
}

void put(const QString &path, const Bytes &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY(writeFile(path.toUtf8().toStdString(), bytes));
}

QDateTime wallClock(const char *text) { return CaptureDate::parse(QByteArray(text)); }

std::shared_ptr<bool> cancelDialog()
{
    return whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
}

bool idle(MainWindow &w) { return w.ui->pushButtonSelect->isEnabled() && !w.timer; }

// Answers the next message boxes one after the other, each by the label of
// one of its buttons, keeping their texts (in `texts`, in order).
void answerBoxesWith(QStringList labels, std::shared_ptr<QStringList> texts)
{
    if (labels.isEmpty())
        return;
    const QString label = labels.takeFirst();
    whenModal([label, labels, texts](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        texts->append(box->text());
        QAbstractButton *wanted = nullptr;
        for (QAbstractButton *b : box->buttons())
            if (b->text().remove('&') == label)
                wanted = b;
        QVERIFY2(wanted, qPrintable(label));
        answerBoxesWith(labels, texts);   // before the click: it may open the next box
        wanted->click();
    });
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Stops a pass after `after` pictures were written, as a crash would.
class StopAfter : public FolderWalk::Observer {
public:
    StopAfter(WalkState &state, int after) : state(state), after(after) {}
    void pictureDone(const QString &, const PictureResult &r) override
    {
        if (r.status == PictureStatus::Changed && --after == 0)
            state.cancelRequested = true;
    }
    WalkState &state;
    int after;
};

// Shifts `folder` by `seconds` until `after` pictures are written (and the
// others in hand), then takes the closing line off the journal: what a killed
// pass leaves behind. `changed` tells how many were written.
void interruptedShift(const QString &folder, qint64 seconds, int after, int *changed = nullptr)
{
    WalkState state;
    StopAfter stop(state, after);
    ShiftJob job(state, &stop);
    job.reset();
    job.folder = folder;
    job.run(ShiftJob::Task::Dating);
    state.shiftSeconds = seconds;
    state.adaptFileTimes = true;
    job.run(ShiftJob::Task::Shifting);
    QVERIFY(job.refusal.isEmpty());
    QVERIFY(job.counts.changed >= after);
    if (changed)
        *changed = job.counts.changed;
    QFile journal(job.journalPath);
    QVERIFY(journal.open(QIODevice::ReadWrite));
    QByteArray lines = journal.readAll();
    QVERIFY(lines.endsWith("}\n"));
    lines.chop(1);
    lines.truncate(lines.lastIndexOf('\n') + 1);
    QVERIFY(journal.resize(0));
    journal.write(lines);
}

} // namespace

class TestController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void startUpOpensTheDialogAndRemembersTheFolder();
    void firstDialogOpensInPictures();
    void cancelledDialogChangesNothing();
    void datingShowsCountsAndOldestDate_data();
    void datingShowsCountsAndOldestDate();
    void noUsablePictureDisablesShift();
    void shiftEndToEnd();
    void declinedQuestionWritesNothing();
    void farDatesShiftExactly_data();
    void farDatesShiftExactly();
    void returnInTheNewDateAsksTheQuestion();
    void cancelDuringShift();
    void closingWhileAPassRuns();
    void windowAndCommandLineAgree();
    void undoAfterCancel();
    void startUpOffersAnInterruptedShift_data();
    void startUpOffersAnInterruptedShift();
    void shiftOutOfRangeIsRefused();
    void closingDuringAShiftAsksAndReports();
    void shiftAfterAnotherShiftOfTheTreeIsRefused();
    void inputsAreLockedWhileAShiftRuns();
    void textsTellTheShift();
    void unreadableFolderIsTold();
    void cameraChoiceShiftsOneCamera();
    void oneCameraKeepsTheChoiceHidden();
    void rawAndJpegPairMoveTogether();
    void aTripMovesByAnHourAndBack();

private:
    QTemporaryDir settingsDir;
    QTemporaryDir tree;
    void runDating(MainWindow &w, const QString &folder, bool viaButton = false);
};

void TestController::initTestCase()
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
}

void TestController::init()
{
    QSettings("Morvane", "Kelvaro").clear();
}

// Selects `folder` in the dialog that opens at start-up (or through the
// Select button) and waits for the dating pass to end.
void TestController::runDating(MainWindow &w, const QString &folder, bool viaButton)
{
    chooseFolder(folder);
    if (viaButton) {
        w.ui->pushButtonSelect->click();
        QVERIFY(!idle(w));
    }
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && w.phase == WalkState::Dating, 20000);
}

void TestController::startUpOpensTheDialogAndRemembersTheFolder()
{
    put(tree.filePath("start/a.jpg"), dated("2012:05:06 10:00:00"));
    {
        MainWindow w;
        QVERIFY(w.ui->progressBar->isHidden());
        QVERIFY(w.ui->pushButtonShift->isHidden());
        QVERIFY(w.ui->pushButtonCancel->isHidden());
        w.show();
        runDating(w, tree.filePath("start"));   // the dialog opens by itself
        QCOMPARE(w.ui->folderEdit->text(), tree.filePath("start"));
    }
    QCOMPARE(QSettings("Morvane", "Kelvaro").value("folderName").toString(), tree.filePath("start"));
    MainWindow again;
    QCOMPARE(again.folderName, tree.filePath("start"));
    const auto cancelled = cancelDialog();
    QTRY_VERIFY(*cancelled);
}

// When the remembered folder is gone (or there is none), the dialog opens in
// the user's Pictures folder, or the home folder when there is none: not in
// the working directory, where the passes would otherwise run.
void TestController::firstDialogOpensInPictures()
{
    QSettings("Morvane", "Kelvaro").setValue("folderName", tree.filePath("gone"));
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString expected = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    MainWindow w;
    QString opened;
    const auto seen = whenModal([&opened](QWidget *modal) {
        opened = qobject_cast<QFileDialog *>(modal)->directory().absolutePath();
        qobject_cast<QDialog *>(modal)->reject();
    });
    QTRY_VERIFY(*seen);
    QCOMPARE(opened, QDir(expected).absolutePath());
}

void TestController::cancelledDialogChangesNothing()
{
    put(tree.filePath("kept/a.jpg"), dated("2012:05:06 10:00:00"));
    MainWindow w;
    const auto cancelled = cancelDialog();
    QTRY_VERIFY(*cancelled);
    QCOMPARE(w.ui->folderEdit->text(), QString());
    QVERIFY(w.ui->pushButtonSelect->isEnabled());
    QVERIFY(!w.timer);

    // After a real choice, a cancelled dialog keeps the folder and its results.
    runDating(w, tree.filePath("kept"), true);
    cancelDialog();
    w.select();
    QCOMPARE(w.folderName, tree.filePath("kept"));
    QCOMPARE(w.ui->folderEdit->text(), tree.filePath("kept"));
    QCOMPARE(QSettings("Morvane", "Kelvaro").value("folderName").toString(), tree.filePath("kept"));
    QCOMPARE(w.ui->numberEdit->text(), QString("1 (1 valid)"));
    QVERIFY(w.ui->pushButtonShift->isEnabled());
}

void TestController::datingShowsCountsAndOldestDate_data()
{
    QTest::addColumn<QStringList>("files");   // name=date
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("oldest");
    QTest::addColumn<QString>("newest");

    QTest::newRow("7 (6 valid)")
        << QStringList{"a.jpg=2012:05:06 10:00:00", "s/b.JPG=2011:01:01 08:30:00", "c.jpg=2012:01:01 00:00:00",
                       "s/t/d.jpg=2012:02:02 00:00:00", "e.jpg=2013:03:03 00:00:00", "f.jpg=0000:00:00 00:00:00",
                       "notes-jpg=", "g.jpeg=2000:01:01 00:00:00", ".hidden.jpg=1990:01:01 00:00:00"}
        << "7 (6 valid)" << "2000:01:01 00:00:00" << "2013:03:03 00:00:00";
    // A date in Berlin's spring-forward gap is an ordinary capture time.
    QTest::newRow("spring gap") << QStringList{"a.jpg=2012:03:25 02:30:00", "b.jpg=2012:03:25 03:30:00"}
                                << "2 (2 valid)" << "2012:03:25 02:30:00" << "2012:03:25 03:30:00";
}

void TestController::datingShowsCountsAndOldestDate()
{
    QFETCH(QStringList, files);
    QFETCH(QString, count);
    QFETCH(QString, oldest);
    QFETCH(QString, newest);
    QTemporaryDir top;
    for (const QString &f : files) {
        const QString date = f.section('=', 1);
        put(top.filePath(f.section('=', 0, 0)), date.isEmpty() ? Bytes{'t'} : dated(date.toStdString()));
    }
    MainWindow w;
    runDating(w, top.path());
    QCOMPARE(w.ui->numberEdit->text(), count);
    QCOMPARE(w.oldestDate.toString(CaptureDate::pattern), oldest);
    QCOMPARE(w.newestDate.toString(CaptureDate::pattern), newest);
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock(oldest.toLatin1()));
    QCOMPARE(w.ui->dateTimeEditNew->dateTime(), wallClock(oldest.toLatin1()));
    QVERIFY(w.ui->pushButtonShift->isVisible() || w.ui->pushButtonShift->isVisibleTo(&w));
    QVERIFY(w.ui->pushButtonShift->isEnabled());
    QVERIFY(w.ui->progressBar->isHidden());
}

void TestController::noUsablePictureDisablesShift()
{
    QTemporaryDir good, bad, empty;
    put(good.filePath("a.jpg"), dated("2012:05:06 10:00:00"));
    put(bad.filePath("a.jpg"), dated("0000:00:00 00:00:00"));
    MainWindow w;
    runDating(w, good.path());
    QVERIFY(w.ui->pushButtonShift->isEnabled());
    // Pictures without a usable date are counted; only a tree without any
    // picture has none found. Either way the previous folder's dates go.
    const QList<QPair<QString, QString>> cases = {{bad.path(), "1 (0 valid)"}, {empty.path(), "No jpgs found"}};
    for (const auto &c : cases) {
        runDating(w, good.path(), true);
        QVERIFY(!w.ui->dateTimeEditCurrent->text().isEmpty());
        runDating(w, c.first, true);
        QCOMPARE(w.ui->numberEdit->text(), c.second);
        QVERIFY(!w.ui->pushButtonShift->isEnabled());
        QCOMPARE(w.ui->dateTimeEditCurrent->text().trimmed(), QString());
        QCOMPARE(w.ui->dateTimeEditNew->text().trimmed(), QString());
    }
    QCOMPARE(w.folderCount.load(), 1);
    QCOMPARE(w.ui->progressBar->maximum(), 0);
}

void TestController::shiftEndToEnd()
{
    QTemporaryDir top;
    put(top.filePath("a.jpg"), dated("2012:03:24 12:00:00"));
    put(top.filePath("sub/b.jpg"), dated("2012:05:06 10:00:00"));
    put(top.filePath("sub/c.jpg"), dated("0000:00:00 00:00:00"));
    put(top.filePath("sub/locked.jpg"), dated("2012:04:01 00:00:00"));
    QVERIFY(QFile::setPermissions(top.filePath("sub/locked.jpg"), QFile::ReadOwner | QFile::ReadGroup));
    MainWindow w;
    runDating(w, top.path());
    QCOMPARE(w.ui->numberEdit->text(), QString("4 (3 valid)"));

    // One day later, across Berlin's change to summer time.
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:03:25 12:00:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.ui->pushButtonShift->click();
    QCOMPARE(question, QString("3 pictures in 2 folders, dated from\n2012:03:24 12:00:00 to \n"
                               "2012:05:06 10:00:00\nwill be changed.\n\nDo you want to proceed?\n\n"
                               "Every capture time moves by +1:00:00:00 (new range 2012:03:25 12:00:00 to 2012:05:07 10:00:00).\n"
                               "Left alone (no usable date or read-only): 2."));
    QCOMPARE(w.shiftSeconds, qint64(86400));
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    // The read-only picture was left alone, and the box says so.
    QCOMPARE(result, QString("1 of 3 pictures with a usable date could not be changed.\n\n"
                             "Changed: 2, not changed: 1, could not be read: 0.\n"
                             "The changed pictures moved by +1:00:00:00."));
    QCOMPARE(DateReader::read(top.filePath("sub/locked.jpg")).oldDate, wallClock("2012:04:01 00:00:00"));
    QCOMPARE(DateReader::read(top.filePath("a.jpg")).oldDate, wallClock("2012:03:25 12:00:00"));
    QCOMPARE(DateReader::read(top.filePath("sub/b.jpg")).oldDate, wallClock("2012:05:07 10:00:00"));
    // The dates were read again: the window is ready for a further shift.
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:03:25 12:00:00"));
    QVERIFY(!w.ui->pushButtonShift->isHidden() && w.ui->pushButtonShift->isEnabled());
    QVERIFY(w.ui->pushButtonCancel->isHidden());
}

void TestController::declinedQuestionWritesNothing()
{
    QTemporaryDir top;
    const Bytes bytes = dated("2012:05:06 10:00:00");
    put(top.filePath("a.jpg"), bytes);
    MainWindow w;
    runDating(w, top.path());
    w.ui->dateTimeEditNew->setDateTime(wallClock("2013:05:06 10:00:00"));
    QString question;
    answerBox(QMessageBox::No, &question);
    w.change();
    QVERIFY(!question.isEmpty());
    QCOMPARE(w.phase.load(), int(WalkState::Dating));
    QVERIFY(w.ui->pushButtonShift->isEnabled());
    QVERIFY(readFile(top.filePath("a.jpg").toUtf8().toStdString()) == bytes);
}

// Capture dates far from today, shown as they are, and shifted to exactly the
// date typed in.
void TestController::farDatesShiftExactly_data()
{
    QTest::addColumn<QString>("oldest");
    QTest::addColumn<QString>("newest");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("newestAfter");
    QTest::newRow("1700") << "1700:03:01 12:00:00" << "1752:09:04 10:00:00" << "1700-03-02 12:00:05"
                          << "1752:09:05 10:00:05";
    QTest::newRow("9999") << "9999:12:30 00:00:00" << "9999:12:31 00:00:00" << "9999-12-30 23:59:59"
                          << "9999:12:31 23:59:59";
}

void TestController::farDatesShiftExactly()
{
    QFETCH(QString, oldest);
    QFETCH(QString, newest);
    QFETCH(QString, typed);
    QFETCH(QString, newestAfter);
    QTemporaryDir top;
    put(top.filePath("a.jpg"), dated(oldest.toStdString()));
    put(top.filePath("b.jpg"), dated(newest.toStdString()));
    MainWindow w;
    w.show();
    runDating(w, top.path());
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock(oldest.toLatin1()));

    w.ui->dateTimeEditNew->setFocus();
    w.ui->dateTimeEditNew->selectAll();
    QTest::keyClicks(w.ui->dateTimeEditNew, typed);
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    answerBox(QMessageBox::Ok, &result);
    w.ui->pushButtonShift->click();
    QVERIFY2(question.contains(oldest + " to \n" + newest + "\n"), qPrintable(question));
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    const QString typedAsExif = QString(typed).replace('-', ':');
    QCOMPARE(DateReader::read(top.filePath("a.jpg")).oldDate, wallClock(typedAsExif.toLatin1()));
    QCOMPARE(DateReader::read(top.filePath("b.jpg")).oldDate, wallClock(newestAfter.toLatin1()));
}

// Return in the new date is the Shift button: the question follows, and
// nothing is written before it is answered.
void TestController::returnInTheNewDateAsksTheQuestion()
{
    QTemporaryDir top;
    const Bytes bytes = dated("2012:05:06 10:00:00");
    put(top.filePath("a.jpg"), bytes);
    MainWindow w;
    w.show();
    runDating(w, top.path());
    w.ui->dateTimeEditNew->setDateTime(wallClock("2013:05:06 10:00:00"));
    QString question;
    answerBox(QMessageBox::No, &question);
    QTest::keyClick(w.ui->dateTimeEditNew, Qt::Key_Return);
    QTRY_VERIFY(!question.isEmpty());
    QVERIFY2(question.endsWith("Do you want to proceed?\n\nEvery capture time moves by +365:00:00:00 "
                               "(new range 2013:05:06 10:00:00 to 2013:05:06 10:00:00)."),
             qPrintable(question));
    QCOMPARE(w.phase.load(), int(WalkState::Dating));
    QVERIFY(readFile(QFile::encodeName(top.filePath("a.jpg")).toStdString()) == bytes);
}

void TestController::cancelDuringShift()
{
    QTemporaryDir top;
    const int count = 2000;
    for (int i = 0; i < count; ++i)
        put(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i)), dated("2012:05:06 10:00:00"));
    MainWindow w;
    runDating(w, top.path());
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    while (w.pictureCount == 0)
        QThread::yieldCurrentThread();
    w.ui->pushButtonCancel->click();
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);

    // Every picture is either wholly shifted or untouched, and the box says how many.
    int shifted = 0;
    for (int i = 0; i < count; ++i) {
        const QDateTime d = DateReader::read(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i))).oldDate;
        QVERIFY(d == wallClock("2012:05:06 10:00:00") || d == wallClock("2012:05:06 11:00:00"));
        shifted += d == wallClock("2012:05:06 11:00:00");
    }
    QVERIFY(shifted < count);
    QCOMPARE(w.changedCount.load(), shifted);
    QVERIFY2(result.startsWith(QString("Cancelled after %1 of %2 pictures.\n\nChanged: %3, not changed: %4, "
                                       "could not be read: 0.")
                                   .arg(QLocale().toString(shifted), QLocale().toString(count),
                                        QLocale().toString(shifted), QLocale().toString(count - shifted))),
             qPrintable(result));
    QVERIFY(!result.contains("have been changed"));
}

void TestController::closingWhileAPassRuns()
{
    QTemporaryDir top;
    for (int i = 0; i < 2000; ++i)
        put(top.filePath(QString("d%1/p%2.jpg").arg(i / 50).arg(i)), dated("2012:05:06 10:00:00"));
    auto *w = new MainWindow;
    const auto chosen = chooseFolder(top.path());
    QTRY_VERIFY(*chosen);   // by now select() has started the survey pass
    delete w;   // stops the worker and waits for it; nothing is used after this
}

void TestController::windowAndCommandLineAgree()
{
    QTemporaryDir top;
    const char *dates[] = {"2012:05:06 10:00:00", "2011:01:01 08:30:00", "0000:00:00 00:00:00",
                           "2013:07:08 09:10:11", "2012:03:25 02:30:00"};
    for (int i = 0; i < 40; ++i)
        put(top.filePath(QString("y%1/m%2/p%3.%4").arg(i % 3).arg(i % 5).arg(i).arg(i % 4 ? "jpg" : "JPG")),
            dated(dates[i % 5]));
    put(top.filePath("y0/notes.jpg"), Bytes{'n'});
    MainWindow w;
    runDating(w, top.path());

    QProcess cli;
    cli.start(QStringLiteral(KELVARO_CLI), {"dates", top.path(), "--json"});
    QVERIFY(cli.waitForFinished(30000));
    const QJsonObject o = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QCOMPARE(o["folders"].toInt(), w.folderCount.load());
    QCOMPARE(o["pictures"].toInt(), w.pictureCount.load());
    QCOMPARE(o["valid"].toInt(), w.validCount.load());
    QCOMPARE(o["oldest"].toString(), w.oldestDate.toString(CaptureDate::pattern));
    QCOMPARE(o["newest"].toString(), w.newestDate.toString(CaptureDate::pattern));
    QCOMPARE(w.ui->numberEdit->text(), QString("41 (32 valid)"));
}

void TestController::undoAfterCancel()
{
    QTemporaryDir top;
    const int count = 2000;
    const Bytes original = dated("2012:05:06 10:00:00");
    for (int i = 0; i < count; ++i)
        put(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i)), original);
    MainWindow w;
    runDating(w, top.path());
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    while (w.pictureCount == 0)
        QThread::yieldCurrentThread();
    w.ui->pushButtonCancel->click();
    // The result box of a cancelled pass offers Undo beside OK.
    auto texts = std::make_shared<QStringList>();
    answerBoxesWith({"Undo", "OK"}, texts);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && texts->size() == 2, 20000);
    QVERIFY(texts->at(0).startsWith("Cancelled after "));
    QVERIFY2(texts->at(1).startsWith("The shift of"), qPrintable(texts->at(1)));
    for (int i = 0; i < count; ++i)
        QCOMPARE(fileBytes(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i))),
                 QByteArray(reinterpret_cast<const char *>(original.data()), int(original.size())));
    QVERIFY(!w.undoAction->isEnabled());   // nothing left to undo
}

void TestController::startUpOffersAnInterruptedShift_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("expected");   // the date every picture ends with
    QTest::newRow("finish it") << "Finish it" << "2012:05:06 11:00:00";
    QTest::newRow("undo it") << "Undo it" << "2012:05:06 10:00:00";
}

void TestController::startUpOffersAnInterruptedShift()
{
    QFETCH(QString, choice);
    QFETCH(QString, expected);
    QTemporaryDir top;
    const int count = 600;
    for (int i = 0; i < count; ++i)
        put(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i)), dated("2012:05:06 10:00:00"));
    const QDateTime before = QFileInfo(top.filePath("f0/p0.jpg")).lastModified();
    int changed = 0;
    interruptedShift(top.path(), 3600, 300, &changed);
    QVERIFY(changed < count);

    auto texts = std::make_shared<QStringList>();
    answerBoxesWith({choice, "OK"}, texts);
    MainWindow w;
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && texts->size() == 2, 20000);
    QCOMPARE(texts->at(0), QString("The last shift of %1 stopped after %3 of %2 pictures.")
                               .arg(QDir::toNativeSeparators(top.path())).arg(count).arg(changed));
    for (int i = 0; i < count; ++i)
        QCOMPARE(DateReader::read(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i))).oldDate,
                 wallClock(expected.toLatin1().constData()));
    if (choice == "Undo it")
        QCOMPARE(QFileInfo(top.filePath("f0/p0.jpg")).lastModified(), before);
    else
        QCOMPARE(QFileInfo(top.filePath("f5/p599.jpg")).lastModified(),
                 QDateTime(QDate(2012, 5, 6), QTime(11, 0), Qt::LocalTime));
    QVERIFY(!ShiftJob::interrupted().isValid());   // not offered again
}

void TestController::shiftOutOfRangeIsRefused()
{
    QTemporaryDir top;
    const Bytes late = dated("9999:12:31 22:00:00"), early = dated("1700:01:01 00:00:00");
    put(top.filePath("late.jpg"), late);
    put(top.filePath("early.jpg"), early);
    MainWindow w;
    runDating(w, top.path());
    // Two hours later would carry the newest picture past the year 9999.
    w.ui->dateTimeEditNew->setDateTime(w.ui->dateTimeEditCurrent->dateTime().addSecs(7200));
    QString refusal;
    answerBox(QMessageBox::Ok, &refusal);
    w.change();
    QVERIFY2(refusal.contains("outside the years 1000 to 9999; nothing was changed"), qPrintable(refusal));
    QCOMPARE(w.phase.load(), int(WalkState::Dating));
    QVERIFY(readFile(QFile::encodeName(top.filePath("late.jpg")).toStdString()) == late);
    QVERIFY(readFile(QFile::encodeName(top.filePath("early.jpg")).toStdString()) == early);
}

void TestController::closingDuringAShiftAsksAndReports()
{
    QTemporaryDir top;
    const int count = 2000;
    for (int i = 0; i < count; ++i)
        put(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i)), dated("2012:05:06 10:00:00"));
    MainWindow w;
    w.show();
    runDating(w, top.path());
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question, stop, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    answerBox(QMessageBox::Yes, &stop);
    QVERIFY(!w.close());   // asks first: the window stays until the pass has stopped
    QVERIFY(stop.contains("Stop after the picture in hand?"));
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(!result.isEmpty(), 20000);
    QTRY_VERIFY(!w.isVisible());
    QVERIFY2(result.startsWith("Cancelled after "), qPrintable(result));
    int shifted = 0;
    for (int i = 0; i < count; ++i)
        shifted += DateReader::read(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i))).oldDate
                   == wallClock("2012:05:06 11:00:00");
    QCOMPARE(w.changedCount.load(), shifted);
    QVERIFY(shifted < count);
}

// While a shift runs the window's inputs cannot change it: the box of the
// file times is disabled (and the pass took its state once, at the start),
// the Select button's slot does nothing, and the folder field only shows.
void TestController::inputsAreLockedWhileAShiftRuns()
{
    QTemporaryDir top;
    const int count = 600;
    for (int i = 0; i < count; ++i)
        put(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i)), dated("2012:05:06 10:00:00"));
    MainWindow w;
    QVERIFY(!w.oldestDate.isValid());   // no date read yet
    QVERIFY(w.ui->folderEdit->isReadOnly());
    runDating(w, top.path());
    QVERIFY(w.ui->checkBoxFileDate->isChecked() && w.ui->checkBoxFileDate->isEnabled());
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    QTRY_VERIFY(!question.isEmpty());
    QVERIFY(!w.ui->checkBoxFileDate->isEnabled());
    // A dialog opened now would be found by this timer; the slot must return first.
    bool armed = true, opened = false;
    QTimer::singleShot(50, &w, [&] {
        if (QWidget *modal = QApplication::activeModalWidget(); armed && qobject_cast<QFileDialog *>(modal)) {
            opened = true;
            qobject_cast<QDialog *>(modal)->reject();
        }
    });
    w.select();
    armed = false;
    QVERIFY(!opened);
    QCOMPARE(w.folderName, top.path());
    // Changing the shared flag mid-pass does not change the pass.
    while (w.pictureCount == 0)
        QThread::yieldCurrentThread();
    w.adaptFileTimes = false;
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    QVERIFY(w.ui->checkBoxFileDate->isEnabled());
    QCOMPARE(w.changedCount.load(), count);
    qint64 instant = 0;
    QVERIFY(CaptureDate::localInstant(wallClock("2012:05:06 11:00:00"), &instant));
    for (int i = 0; i < count; ++i)
        QCOMPARE(QFileInfo(top.filePath(QString("f%1/p%2.jpg").arg(i / 100).arg(i))).lastModified().toSecsSinceEpoch(),
                 instant);
}

// The texts tell what will happen and what did: nothing for a shift of zero,
// the shift and the new range for a complete one.
void TestController::textsTellTheShift()
{
    QTemporaryDir top;
    put(top.filePath("a.jpg"), dated("2012:05:06 10:00:00"));
    put(top.filePath("b.jpg"), dated("2013:01:02 03:04:05"));
    const QByteArray before = fileBytes(top.filePath("a.jpg"));
    MainWindow w;
    runDating(w, top.path());
    QString zero;
    answerBox(QMessageBox::Ok, &zero);
    w.change();
    QCOMPARE(zero, QString("The new date equals the current one: nothing to change."));
    QCOMPARE(w.phase.load(), int(WalkState::Dating));
    QCOMPARE(fileBytes(top.filePath("a.jpg")), before);

    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 09:00:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    QVERIFY2(question.endsWith("\n\nEvery capture time moves by -1:00:00 (new range 2012:05:06 09:00:00 to 2013:01:02 02:04:05)."),
             qPrintable(question));
    QCOMPARE(result, QString("2 pictures in 1 folders, dated from\n2012:05:06 10:00:00 to \n2013:01:02 03:04:05\n"
                             "have been changed.\n\nEvery capture time moved by -1:00:00 "
                             "(now 2012:05:06 09:00:00 to 2013:01:02 02:04:05)."));
}

// A folder that cannot be listed is counted and told in the question and
// the result, which then is a warning.
void TestController::unreadableFolderIsTold()
{
#ifdef _WIN32
    QSKIP("Windows has no permission bits that keep a folder from being listed");
#else
    if (::geteuid() == 0)
        QSKIP("root may list any folder");
#endif
    QTemporaryDir top;
    put(top.filePath("a.jpg"), dated("2012:05:06 10:00:00"));
    put(top.filePath("locked/b.jpg"), dated("2012:05:06 10:00:00"));
    QVERIFY(QFile::setPermissions(top.filePath("locked"), QFileDevice::Permissions()));
    MainWindow w;
    runDating(w, top.path());
    QCOMPARE(w.unreadableCount.load(), 1);
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    QFile::setPermissions(top.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY2(question.endsWith("\nCould not be read: 1."), qPrintable(question));
    QVERIFY2(result.endsWith("\n\nCould not be read: 1."), qPrintable(result));
}

void TestController::cameraChoiceShiftsOneCamera()
{
    QTemporaryDir top;
    const QList<QPair<QString, Bytes>> files = {
        {"cam/1.jpg", shot("2012:05:06 10:00:00", "Canon", "Canon EOS 5D")},
        {"cam/2.jpg", shot("2012:05:06 12:00:00", "Canon", "Canon EOS 5D")},
        {"cam/3.jpg", shot("2012:05:07 09:00:00", "Canon", "Canon EOS 5D")},
        {"phone/1.jpg", shot("2012:05:06 11:00:00", "", "Pixel 7")},
        {"phone/2.jpg", shot("2012:05:06 13:00:00", "", "Pixel 7")},
        {"n.jpg", shot("2012:05:05 08:00:00", "NIKON CORPORATION", "NIKON D70")},
    };
    for (const auto &f : files)
        put(top.filePath(f.first), f.second);
    MainWindow w;
    w.show();
    runDating(w, top.path());

    QVERIFY(w.cameraCombo && w.cameraLabel);
    QTRY_VERIFY(w.cameraCombo->isVisible() && w.cameraLabel->isVisible());
    QCOMPARE(w.cameraLabel->text(), QString("Camera:"));
    QCOMPARE(w.cameraLabel->buddy(), w.cameraCombo);
    QCOMPARE(w.cameraCombo->accessibleName(), QString("Camera"));
    QStringList items;
    for (int i = 0; i < w.cameraCombo->count(); ++i)
        items << w.cameraCombo->itemText(i);
    QCOMPARE(items, (QStringList{"All cameras (6)", "Canon EOS 5D (3)", "Pixel 7 (2)",
                                 "NIKON CORPORATION NIKON D70 (1)"}));
    QCOMPARE(w.ui->numberEdit->text(), QString("6 (6 valid)"));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:05:05 08:00:00"));

    // Each camera shows its own count and oldest picture; All cameras goes back.
    w.cameraCombo->setCurrentIndex(1);
    QCOMPARE(w.ui->numberEdit->text(), QString("3 (3 valid)"));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:05:06 10:00:00"));
    QCOMPARE(w.ui->dateTimeEditNew->dateTime(), wallClock("2012:05:06 10:00:00"));
    w.cameraCombo->setCurrentIndex(0);
    QCOMPARE(w.ui->numberEdit->text(), QString("6 (6 valid)"));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:05:05 08:00:00"));
    w.cameraCombo->setCurrentIndex(2);
    QCOMPARE(w.ui->numberEdit->text(), QString("2 (2 valid)"));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:05:06 11:00:00"));
    QCOMPARE(w.ui->dateTimeEditNew->dateTime(), wallClock("2012:05:06 11:00:00"));

    // The phone was half an hour slow: only its two pictures move.
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:30:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.ui->pushButtonShift->click();
    QCOMPARE(question, QString("2 pictures of Pixel 7 in 3 folders, dated from\n2012:05:06 11:00:00 to \n"
                               "2012:05:06 13:00:00\nwill be changed.\n\nDo you want to proceed?\n\n"
                               "Every capture time moves by +0:30:00 (new range 2012:05:06 11:30:00 to 2012:05:06 13:30:00).\n"
                               "Left alone (no usable date, not chosen or read-only): 4."));
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    QCOMPARE(result, QString("2 pictures of Pixel 7 in 3 folders, dated from\n2012:05:06 11:00:00 to \n"
                             "2012:05:06 13:00:00\nhave been changed.\n\n"
                             "Every capture time moved by +0:30:00 (now 2012:05:06 11:30:00 to 2012:05:06 13:30:00)."));
    QCOMPARE(DateReader::read(top.filePath("phone/1.jpg")).oldDate, wallClock("2012:05:06 11:30:00"));
    QCOMPARE(DateReader::read(top.filePath("phone/2.jpg")).oldDate, wallClock("2012:05:06 13:30:00"));
    for (const auto &f : files)
        if (!f.first.startsWith("phone/"))
            QVERIFY2(readFile(QFile::encodeName(top.filePath(f.first)).toStdString()) == f.second,
                     qPrintable(f.first));
    QCOMPARE(w.changedCount.load(), 2);
    // The dates were read again: the choice is offered afresh, the phone
    // still chosen, with the date its oldest picture holds now.
    QVERIFY(w.cameraCombo->isEnabled());
    QCOMPARE(w.cameraCombo->currentIndex(), 2);
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:05:06 11:30:00"));
}

// A tree of one camera (or of pictures naming none) shows no camera choice,
// also after a tree of several.
void TestController::oneCameraKeepsTheChoiceHidden()
{
    QTemporaryDir several, one;
    put(several.filePath("a.jpg"), shot("2012:05:06 10:00:00", "Canon", "Canon EOS 5D"));
    put(several.filePath("b.jpg"), shot("2012:05:06 11:00:00", "", "Pixel 7"));
    put(one.filePath("a.jpg"), shot("2012:05:06 10:00:00", "Canon", "Canon EOS 5D"));
    put(one.filePath("b.jpg"), shot("2012:05:07 10:00:00", "Canon", "Canon EOS 5D"));
    // Unusable pictures of another camera offer nothing to choose.
    put(one.filePath("c.jpg"), shot("0000:00:00 00:00:00", "", "Pixel 7"));
    {
        MainWindow w;
        runDating(w, one.path());
        QVERIFY(!w.cameraCombo);
        QCOMPARE(w.ui->mainToolBar->actions().size(), 2);   // undo and the oldest picture
        QCOMPARE(w.ui->numberEdit->text(), QString("3 (2 valid)"));
    }
    MainWindow w;
    w.show();
    runDating(w, several.path());
    QVERIFY(w.cameraCombo);
    QTRY_VERIFY(w.cameraCombo->isVisible());
    w.cameraCombo->setCurrentIndex(2);
    runDating(w, one.path(), true);
    QTRY_VERIFY(!w.cameraCombo->isVisible());
    QVERIFY(!w.cameraLabel->isVisible());
    // The earlier choice is gone: the question is about every picture.
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2012:05:06 10:00:00"));
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 10:00:01"));
    QString question;
    answerBox(QMessageBox::No, &question);
    w.change();
    QCOMPARE(question, QString("2 pictures in 1 folders, dated from\n2012:05:06 10:00:00 to \n"
                               "2012:05:07 10:00:00\nwill be changed.\n\nDo you want to proceed?\n\n"
                               "Every capture time moves by +0:00:01 (new range 2012:05:06 10:00:01 to 2012:05:07 10:00:01).\n"
                               "Left alone (no usable date or read-only): 1."));
}

void TestController::shiftAfterAnotherShiftOfTheTreeIsRefused()
{
    // The dates the window shows were read before kelvaro-cli shifted the
    // tree: the window's shift would start from stale dates, so it refuses.
#ifdef Q_OS_WIN
    QSKIP("the program started here cannot be pointed at this test's journal folder on Windows");
#endif
    QTemporaryDir top;
    put(top.filePath("a.jpg"), dated("2012:05:06 10:00:00"));
    MainWindow w;
    runDating(w, top.path());
    QProcess cli;
    // The same journals and locks as this process, which runs in Qt's test mode.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(KELVARO_CLI), {"shift", top.path(), "--by", "60", "--yes"});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    QVERIFY(!question.isEmpty());
    QString refusal;
    answerBox(QMessageBox::Ok, &refusal);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !refusal.isEmpty(), 20000);
    QVERIFY2(refusal.contains("since its dates were read"), qPrintable(refusal));
    QCOMPARE(DateReader::read(top.filePath("a.jpg")).oldDate, wallClock("2012:05:06 10:01:00"));
}

// A RAW+JPEG pair moves together, and NAME.xmp with it once; a file whose
// format is not supported is counted apart and keeps every byte. The
// question and the result tell how many of the pictures are RAW files.
void TestController::rawAndJpegPairMoveTogether()
{
    QTemporaryDir top;
    put(top.filePath("a.jpg"), dated("2012:05:06 10:00:00"));
    put(top.filePath("a.NEF"), samples::cameraTiff(tifftest::Header::Motorola, "2012:05:06 10:00:00"));
    put(top.filePath("b.x3f"), rawtest::x3f());
    XmpPacket xmp;
    xmp.attribute("xmp:CreateDate", "2012-05-06T10:00:00");
    const std::string sidecar = xmp.text();
    put(top.filePath("a.xmp"), Bytes(sidecar.begin(), sidecar.end()));
    const QByteArray unsupported = fileBytes(top.filePath("b.x3f"));
    MainWindow w;
    runDating(w, top.path());
    QCOMPARE(w.ui->numberEdit->text(), QString("3 (2 valid, 1 format not supported)"));

    w.ui->dateTimeEditNew->setDateTime(wallClock("2012:05:06 11:00:00"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    QCOMPARE(question, QString("2 pictures in 1 folders, dated from\n2012:05:06 10:00:00 to \n2012:05:06 10:00:00\n"
                               "will be changed.\n\nDo you want to proceed?\n\n"
                               "Every capture time moves by +1:00:00 (new range 2012:05:06 11:00:00 to 2012:05:06 11:00:00).\n"
                               "RAW files among the pictures to change: 1.\n"
                               "Left alone, format not supported: 1."));
    QCOMPARE(result, QString("2 pictures in 1 folders, dated from\n2012:05:06 10:00:00 to \n2012:05:06 10:00:00\n"
                             "have been changed.\n\nEvery capture time moved by +1:00:00 "
                             "(now 2012:05:06 11:00:00 to 2012:05:06 11:00:00).\n"
                             "RAW files among the changed pictures: 1.\n\n"
                             "Also moved: 0 XMP dates, 0 IPTC dates, 1 sidecar files."));
    for (const char *name : {"a.jpg", "a.NEF"})
        QCOMPARE(DateReader::read(top.filePath(name)).oldDate, wallClock("2012:05:06 11:00:00"));
    QVERIFY(fileBytes(top.filePath("a.xmp")).contains("xmp:CreateDate=\"2012-05-06T11:00:00\""));
    QCOMPARE(fileBytes(top.filePath("b.x3f")), unsupported);
}

// RAW+JPEG pairs of several makers, a HEIC and two videos moved by +1 h in
// the window: every copy of each file's capture time moves by the hour as an
// outside reader reads it, a later edit time stays; Undo last shift gives
// every byte back.
void TestController::aTripMovesByAnHourAndBack()
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        QSKIP("exiftool is not installed");
    const std::string t = "2019:07:24 11:25:40";
    const std::vector<trip::File> files = trip::files(t);
    QTemporaryDir top;
    for (const trip::File &f : files)
        put(top.filePath(f.name), f.bytes);
    const auto before = trip::outsideTimes(top.path());
    MainWindow w;
    runDating(w, top.path());
    QCOMPARE(w.ui->numberEdit->text(), QStringLiteral("%1 (%1 valid)").arg(files.size()));
    QCOMPARE(w.ui->dateTimeEditCurrent->dateTime(), wallClock("2019:07:24 11:25:40"));

    w.ui->dateTimeEditNew->setDateTime(wallClock("2019:07:24 12:25:40"));
    QString question, result;
    answerBox(QMessageBox::Yes, &question);
    w.change();
    answerBox(QMessageBox::Ok, &result);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !result.isEmpty(), 20000);
    QVERIFY2(question.contains("RAW files among the pictures to change: 6."), qPrintable(question));
    QVERIFY2(result.startsWith(QStringLiteral("%1 pictures").arg(files.size())), qPrintable(result));
    int moved = 0;
    const QString problem = trip::shiftProblem(before, trip::outsideTimes(top.path()), t, 3600, files, &moved);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(moved >= 60);

    QVERIFY(w.undoAction->isEnabled());
    QString undoQuestion, undoResult;
    answerBox(QMessageBox::Yes, &undoQuestion);
    w.undoAction->trigger();
    answerBox(QMessageBox::Ok, &undoResult);
    QTRY_VERIFY_WITH_TIMEOUT(idle(w) && !undoResult.isEmpty(), 20000);
    for (const trip::File &f : files)
        QVERIFY2(fileBytes(top.filePath(f.name))
                     == QByteArray(reinterpret_cast<const char *>(f.bytes.data()), int(f.bytes.size())),
                 qPrintable(f.name));
}

QTEST_MAIN(TestController)
#include "tst_controller.moc"
