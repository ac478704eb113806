// How a journal records each picture's outcome: as a fixed code, and, in the
// journals of Kelvaro 1.0, as the English text of the log.
#include "journal.h"

#include <QtTest>

using Status = PictureStatus;

Q_DECLARE_METATYPE(PictureStatus)

class TestJournal : public QObject {
    Q_OBJECT

private slots:
    void outcomesReadBack_data();
    void outcomesReadBack();
    void unknownOutcomesReadAsNothing_data();
    void unknownOutcomesReadAsNothing();
};

// Every status with the code a journal writes for it and the text Kelvaro 1.0
// wrote instead (both are read back, so neither may change).
void TestJournal::outcomesReadBack_data()
{
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("firstRelease");

    QTest::newRow("usable") << Status::Usable << "usable" << "usable date";
    QTest::newRow("changed") << Status::Changed << "changed" << "changed";
    QTest::newRow("cannot open") << Status::CannotOpen << "cannot_open" << "cannot be opened";
    QTest::newRow("no EXIF") << Status::NoExif << "no_exif" << "no EXIF block";
    QTest::newRow("no date") << Status::NoDate << "no_date" << "no DateTimeOriginal";
    QTest::newRow("not a date") << Status::NotADate << "not_a_date" << "DateTimeOriginal is not a date";
    QTest::newRow("out of range") << Status::OutOfRange << "out_of_range"
                                  << "shifted date outside the years 1000 to 9999";
    QTest::newRow("date not found") << Status::DateNotFound << "date_not_found" << "date text not found in the header";
    QTest::newRow("read failed") << Status::ReadFailed << "read_failed" << "read failed";
    QTest::newRow("write failed") << Status::WriteFailed << "write_failed" << "write failed";
    QTest::newRow("already seen") << Status::AlreadySeen << "already_seen" << "met before through a link";
    QTest::newRow("locked") << Status::Locked << "locked" << "in use by another program";
    QTest::newRow("changed elsewhere") << Status::ChangedElsewhere << "changed_elsewhere" << "changed by another program";
    QTest::newRow("unrecognised") << Status::Unrecognised << "unrecognised" << "holds neither the old nor the new date";
    QTest::newRow("already done") << Status::AlreadyDone << "already_done" << "already holds the new date";
    QTest::newRow("added since") << Status::AddedSince << "added_since" << "added since the dates were read";
    QTest::newRow("not regular") << Status::NotRegular << "not_regular" << "not a regular file";
    QTest::newRow("close failed") << Status::CloseFailed << "close_failed" << "written, but closing the file failed";
    QTest::newRow("not chosen") << Status::NotChosen << "not_chosen" << "not among the chosen pictures";
    QTest::newRow("not confirmed") << Status::NotConfirmed << "not_confirmed" << "date not read before the question";
    QTest::newRow("picture not changed") << Status::PictureNotChanged << "picture_not_changed"
                                         << "its picture was not changed";
}

void TestJournal::outcomesReadBack()
{
    QFETCH(Status, status);
    QFETCH(QString, code);
    QFETCH(QString, firstRelease);
    QCOMPARE(QString::fromLatin1(Journal::outcomeCode(status)), code);
    for (const QString &recorded : {code, firstRelease}) {
        Status read = status == Status::WriteFailed ? Status::Changed : Status::WriteFailed;
        QVERIFY2(Journal::outcomeOf(recorded, &read), qPrintable(recorded));
        QCOMPARE(read, status);
    }
}

void TestJournal::unknownOutcomesReadAsNothing_data()
{
    QTest::addColumn<QString>("recorded");
    QTest::newRow("empty") << "";
    QTest::newRow("another word") << "moved";
    QTest::newRow("a code in capitals") << "ALREADY_DONE";
    QTest::newRow("a text in other capitals") << "Changed";
    QTest::newRow("a text with a space after it") << "write failed ";
    QTest::newRow("a text cut short") << "already holds the new";
    QTest::newRow("a code and a text run together") << "changed changed";
    QTest::newRow("a code as JSON") << "\"changed\"";
}

void TestJournal::unknownOutcomesReadAsNothing()
{
    QFETCH(QString, recorded);
    Status read;
    QVERIFY(!Journal::outcomeOf(recorded, &read));
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
