// How a journal records each picture's outcome: as a fixed code, and, in the
// journals of Kelvaro 1.0, as the English text of the log; how each line is
// sealed; what undo and resume accept from a line before they write it.
#include "journal.h"
#include "journalline.h"
#include "journaloutcome.h"
#include "journalreplay.h"

#include <QtTest>

#include <cstdlib>

using Status = PictureStatus;

Q_DECLARE_METATYPE(PictureStatus)

class TestJournal : public QObject {
    Q_OBJECT

private slots:
    void outcomesReadBack_data();
    void outcomesReadBack();
    void unknownOutcomesReadAsNothing_data();
    void unknownOutcomesReadAsNothing();
    void sealCatchesEveryChange();
    void runsMustBeTheShift_data();
    void runsMustBeTheShift();
    void cutJournalCountsPicturesNotSidecars_data();
    void cutJournalCountsPicturesNotSidecars();
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
    // Newer than 1.0: the code is all there is.
    QTest::newRow("journal damaged") << Status::JournalDamaged << "journal_damaged" << "journal_damaged";
}

void TestJournal::outcomesReadBack()
{
    QFETCH(Status, status);
    QFETCH(QString, code);
    QFETCH(QString, firstRelease);
    QCOMPARE(QString::fromLatin1(JournalOutcome::code(status)), code);
    for (const QString &recorded : {code, firstRelease}) {
        Status read = status == Status::WriteFailed ? Status::Changed : Status::WriteFailed;
        QVERIFY2(JournalOutcome::read(recorded, &read), qPrintable(recorded));
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
    QVERIFY(!JournalOutcome::read(recorded, &read));
}

void TestJournal::sealCatchesEveryChange()
{
    QCOMPARE(JournalLine::crc32c("123456789", 9), 0xE3069283u);   // the check value of CRC-32C
    // Every length and alignment agrees with the bit-by-bit definition (the
    // sum runs eight bytes at a time where the processor can).
    QByteArray text;
    for (int i = 0; i < 80; ++i)
        text.append(char(i * 37 + 11));
    for (int from = 0; from < 8; ++from)
        for (int n = 0; from + n <= text.size(); ++n) {
            uint32_t c = 0xFFFFFFFFu;
            for (int i = from; i < from + n; ++i) {
                c ^= uint8_t(text.at(i));
                for (int k = 0; k < 8; ++k)
                    c = c & 1 ? (c >> 1) ^ 0x82F63B78u : c >> 1;
            }
            QCOMPARE(JournalLine::crc32c(text.constData() + from, size_t(n)), c ^ 0xFFFFFFFFu);
        }
    QByteArray line = "{\"n\": 7, \"path\": \"a/b.jpg\", \"old\": \"2012:05:06 10:00:00\", \"runs\": "
                      "[[120, \"2012:05:06 10:00:00\", \"2012:05:06 11:00:00\"]]";
    JournalLine::end(line, 0);
    QVERIFY(line.endsWith("\"}\n"));
    QCOMPARE(JournalLine::check(line), JournalLine::Seal::Sound);
    QCOMPARE(JournalLine::check("{\"n\": 7, \"done\": \"changed\"}\n"), JournalLine::Seal::Unsealed);
    // Every byte but the line feed flipped, dropped or doubled; the line cut
    // at every length: never sound.
    for (int i = 0; i + 1 < line.size(); ++i) {
        for (char bit : {char(0x01), char(0x20), char(0x80)}) {
            QByteArray flipped = line;
            flipped[i] = char(flipped[i] ^ bit);
            QVERIFY2(JournalLine::check(flipped) != JournalLine::Seal::Sound, qPrintable(QString::number(i)));
        }
        QByteArray dropped = line, doubled = line;
        dropped.remove(i, 1);
        doubled.insert(i, line[i]);
        QVERIFY(JournalLine::check(dropped) != JournalLine::Seal::Sound);
        QVERIFY(JournalLine::check(doubled) != JournalLine::Seal::Sound);
        QVERIFY(JournalLine::check(line.left(i) + '\n') != JournalLine::Seal::Sound);
    }
}

void TestJournal::runsMustBeTheShift_data()
{
    QTest::addColumn<QByteArray>("oldDate");
    QTest::addColumn<QByteArray>("newDate");
    QTest::addColumn<QList<QByteArray>>("texts");   // old and new text of each run, in turn
    QTest::addColumn<bool>("sound");
    const QByteArray a = "2012:05:06 10:00:00", b = "2012:05:06 11:00:00";
    const QByteArray md5a(16, 'a'), md5b(16, 'b');
    QTest::newRow("EXIF texts") << a << b << QList<QByteArray>{a, b, a, b} << true;
    QTest::newRow("XMP text") << a << b << QList<QByteArray>{a, b, "2012-05-06T10:00:00", "2012-05-06T11:00:00"} << true;
    QTest::newRow("IPTC date, time and digest")
        << a << b << QList<QByteArray>{a, b, "20120506", "20120506", "100000", "110000", md5a, md5b} << true;
    QTest::newRow("a digest without IPTC texts") << a << b << QList<QByteArray>{a, b, md5a, md5b} << false;
    QTest::newRow("one digit changed") << a << b << QList<QByteArray>{a, b, a, "2012:05:06 19:00:00"} << false;
    QTest::newRow("old and new swapped") << a << b << QList<QByteArray>{b, a} << false;
    QTest::newRow("bytes that are no date") << a << b << QList<QByteArray>{a, "\xFF\xFE" "12:05:06 11:00:00"} << false;
    QTest::newRow("two encodings mixed") << a << b << QList<QByteArray>{a, "2012-05-06T11:00:00"} << false;
    QTest::newRow("dates an hour and a second apart")
        << a << QByteArray("2012:05:06 11:00:01") << QList<QByteArray>{a, "2012:05:06 11:00:01"} << false;
    QTest::newRow("not a date") << QByteArray("2012:13:06 10:00:00") << QByteArray("2012:13:06 11:00:00")
                                << QList<QByteArray>{"2012:13:06 10:00:00", "2012:13:06 11:00:00"} << false;
    QTest::newRow("no runs") << a << b << QList<QByteArray>{} << false;
    QTest::newRow("a copy in UTC moved by the shift")
        << a << b << QList<QByteArray>{a, b, "2012:05:06 08:00:00", "2012:05:06 09:00:00"} << true;
    QTest::newRow("a time of another year moved by the shift")
        << a << b << QList<QByteArray>{a, b, "1983:05:01 10:00:00", "1983:05:01 11:00:00"} << false;
    QTest::newRow("a number that merely grows by the shift")
        << a << b << QList<QByteArray>{a, b, QByteArray::fromHex("00010000"), QByteArray::fromHex("00010E10")} << false;
    QTest::newRow("a copy in UTC moved by another amount")
        << a << b << QList<QByteArray>{a, b, "2012:05:06 08:00:00", "2012:05:06 09:30:00"} << false;
}

void TestJournal::runsMustBeTheShift()
{
    QFETCH(QByteArray, oldDate);
    QFETCH(QByteArray, newDate);
    QFETCH(QList<QByteArray>, texts);
    Journal::Entry entry;
    entry.oldDate = oldDate;
    entry.newDate = newDate;
    for (int i = 0; i + 1 < texts.size(); i += 2)
        entry.runs.push_back({100 + 40 * i, texts[i], texts[i + 1]});
    QTEST(JournalReplay::holdsTheShift(entry, 3600), "sound");
}

QTEST_GUILESS_MAIN(TestJournal)
// A shift that stopped without its closing line: the pictures it changed are
// counted from its done lines, and a sidecar's done line is no picture.
void TestJournal::cutJournalCountsPicturesNotSidecars_data()
{
    QTest::addColumn<int>("sidecars");   // beside each picture
    QTest::addColumn<bool>("summary");   // read as history reads it, or whole
    for (int sidecars : {0, 1, 2})
        for (bool summary : {true, false})
            QTest::addRow("%d sidecar(s) each, %s", sidecars, summary ? "summary" : "whole")
                << sidecars << summary;
}

void TestJournal::cutJournalCountsPicturesNotSidecars()
{
    QFETCH(int, sidecars);
    QFETCH(bool, summary);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    Journal::Header header;
    header.version = 2;
    header.folder = home.path();
    header.shiftSeconds = 3600;
    header.pictures = 3;
    header.started = QDateTime::currentDateTimeUtc();
    QString error, path;
    {
        Journal journal;
        QVERIFY2(journal.create(header, &error), qPrintable(error));
        int n = 0;
        for (int picture = 0; picture < 3; ++picture) {
            for (int k = 0; k <= sidecars; ++k) {
                Journal::Entry e;
                e.n = ++n;
                e.path = QByteArray("p") + QByteArray::number(picture) + (k ? ".xmp" : ".jpg");
                e.sidecar = k > 0;
                e.oldDate = "2012:05:06 10:00:00";
                e.newDate = "2012:05:06 11:00:00";
                e.runs.push_back({100, "2012:05:06 10:00:00", "2012:05:06 11:00:00"});
                journal.intent(e);
            }
        }
        // The first two pictures and all their sidecars were written; the
        // process was killed before the third and before the closing line.
        for (int k = 1; k <= 2 * (sidecars + 1); ++k)
            journal.done(k, Status::Changed);
        QVERIFY(journal.write());
        path = journal.path();
    }   // no closing line, as after a kill
    QVERIFY(QFile::exists(path));
    Journal::Record record;
    if (summary)
        QVERIFY(Journal::summarize(path, &record));
    else
        QVERIFY2(Journal::read(path, &record, &error), qPrintable(error));
    if (before.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", before);
    QVERIFY(!record.closed);
    QCOMPARE(record.changed, 2);
}

#include "tst_journal.moc"
