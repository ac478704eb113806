// Parsing the command line of kelvaro-cli: what is accepted, and the one
// message for each kind of bad input.
#include "clioptions.h"
#include "formatlist.h"

#include <QtTest>

class TestCliOptions : public QObject {
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void choice_data();
    void choice();
    void jobs_data();
    void jobs();
    void types_data();
    void types();
};

using Command = CliOptions::Command;
Q_DECLARE_METATYPE(CliOptions::Command)

void TestCliOptions::accepted_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CliOptions::Command>("command");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("flags");       // the switches that are on
    QTest::addColumn<qint64>("shift");        // --by, or -1 when --oldest-to was given
    QTest::addColumn<QString>("oldestTo");

    QTest::newRow("dates") << QStringList{"dates", "DIR"} << Command::Dates << "DIR" << "" << qint64(0) << "";
    QTest::newRow("dates, options first")
        << QStringList{"dates", "--json", "--list", "DIR"} << Command::Dates << "DIR" << "json list" << qint64(0) << "";
    QTest::newRow("seconds") << QStringList{"shift", "DIR", "--by", "3600"} << Command::Shift << "DIR" << ""
                             << qint64(3600) << "";
    QTest::newRow("negative seconds, value looks like an option")
        << QStringList{"shift", "DIR", "--by", "-60", "--yes"} << Command::Shift << "DIR" << "yes" << qint64(-60) << "";
    QTest::newRow("clock with sign, inline value")
        << QStringList{"shift", "--by=+1:00:00", "DIR"} << Command::Shift << "DIR" << "" << qint64(3600) << "";
    QTest::newRow("days") << QStringList{"shift", "DIR", "--by", "-2:03:00:00"} << Command::Shift << "DIR" << ""
                          << qint64(-(2 * 86400 + 3 * 3600)) << "";
    QTest::newRow("hours past a day without days")
        << QStringList{"shift", "DIR", "--by", "36:00:05"} << Command::Shift << "DIR" << "" << qint64(129605) << "";
    QTest::newRow("oldest-to and every switch")
        << QStringList{"shift", "DIR", "--oldest-to", "2012:01:01 00:00:00", "--keep-file-times", "--dry-run",
                       "-y", "--json"}
        << Command::Shift << "DIR" << "json keep dry yes" << qint64(-1) << "2012:01:01 00:00:00";
    QTest::newRow("a folder that starts with a dash")
        << QStringList{"dates", "--", "-odd"} << Command::Dates << "-odd" << "" << qint64(0) << "";
    QTest::newRow("help wins") << QStringList{"shift", "DIR", "--by", "x", "--help"} << Command::Help << "" << ""
                               << qint64(0) << "";
    QTest::newRow("version") << QStringList{"--version"} << Command::Version << "" << "" << qint64(0) << "";
}

void TestCliOptions::accepted()
{
    QFETCH(QStringList, arguments);
    QFETCH(CliOptions::Command, command);
    QFETCH(QString, folder);
    QFETCH(QString, flags);
    QFETCH(qint64, shift);
    QFETCH(QString, oldestTo);

    const CliOptions o = CliOptions::parse(arguments);
    QVERIFY2(o.ok(), qPrintable(o.error));
    QCOMPARE(o.command, command);
    QCOMPARE(o.folder, folder);
    QStringList on;
    if (o.json) on << "json";
    if (o.list) on << "list";
    if (o.keepFileTimes) on << "keep";
    if (o.dryRun) on << "dry";
    if (o.yes) on << "yes";
    QCOMPARE(on.join(' '), flags);
    if (shift == -1) {
        QVERIFY(!o.hasShift);
        QCOMPARE(o.oldestTo, QDateTime(QDate::fromString(oldestTo.left(10), "yyyy:MM:dd"),
                                       QTime::fromString(oldestTo.mid(11), "hh:mm:ss"), Qt::UTC));
    } else {
        QCOMPARE(o.shiftSeconds, shift);
        QCOMPARE(o.hasShift, command == Command::Shift);
    }
}

void TestCliOptions::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("nothing") << QStringList() << "no command given";
    QTest::newRow("unknown command") << QStringList{"move", "DIR"} << "unknown command 'move'";
    QTest::newRow("no folder") << QStringList{"dates"} << "no folder given";
    QTest::newRow("two folders") << QStringList{"dates", "a", "b"} << "one folder only";
    QTest::newRow("shift option on dates") << QStringList{"dates", "DIR", "--by", "5"} << "unknown option --by";
    QTest::newRow("list on shift") << QStringList{"shift", "DIR", "--by", "5", "--list"} << "unknown option --list";
    QTest::newRow("value on a switch") << QStringList{"dates", "DIR", "--json=yes"} << "takes no value";
    QTest::newRow("neither shift") << QStringList{"shift", "DIR"} << "give the shift with --by";
    QTest::newRow("both shifts") << QStringList{"shift", "DIR", "--by", "5", "--oldest-to", "2012:01:01 00:00:00"}
                                 << "either --by or --oldest-to, not both";
    QTest::newRow("twice") << QStringList{"shift", "DIR", "--by", "5", "--by", "6"} << "--by given twice";
    QTest::newRow("missing value") << QStringList{"shift", "DIR", "--by"} << "--by needs a value";
    QTest::newRow("unit") << QStringList{"shift", "DIR", "--by", "1h"} << "invalid shift '1h'";
    QTest::newRow("60 minutes") << QStringList{"shift", "DIR", "--by", "1:60:00"} << "invalid shift";
    QTest::newRow("24 hours with days") << QStringList{"shift", "DIR", "--by", "1:24:00:00"} << "invalid shift";
    QTest::newRow("empty") << QStringList{"shift", "DIR", "--by="} << "invalid shift";
    QTest::newRow("beyond any date") << QStringList{"shift", "DIR", "--by", "999999999999999"} << "invalid shift";
    QTest::newRow("no such day") << QStringList{"shift", "DIR", "--oldest-to", "2012:02:30 00:00:00"}
                                 << "invalid date '2012:02:30 00:00:00'";
    QTest::newRow("year 999") << QStringList{"shift", "DIR", "--oldest-to", "0999:12:31 00:00:00"} << "invalid date";
    QTest::newRow("trailing text") << QStringList{"shift", "DIR", "--oldest-to", "2012:01:01 00:00:00Z"}
                                   << "invalid date";
    QTest::newRow("other pattern") << QStringList{"shift", "DIR", "--oldest-to", "2012-01-01 00:00:00"}
                                   << "invalid date";
    QTest::newRow("picture without its time") << QStringList{"shift", "DIR", "--picture", "p.jpg"} << "--picture needs --to";
    QTest::newRow("picture and by") << QStringList{"shift", "DIR", "--picture", "p.jpg", "--to", "2012:01:01 00:00:00",
                                                   "--by", "5"} << "not two";
    QTest::newRow("limits the wrong way round")
        << QStringList{"shift", "DIR", "--by", "5", "--from", "2012:01:02 00:00:00", "--to", "2012:01:01 00:00:00"}
        << "--from 2012:01:02 00:00:00 is later than --to 2012:01:01 00:00:00";
    QTest::newRow("limit that does not parse") << QStringList{"shift", "DIR", "--by", "5", "--from", "2012:01:01"}
                                               << "invalid date '2012:01:01' for --from";
    QTest::newRow("to twice") << QStringList{"shift", "DIR", "--by", "5", "--to", "2012:01:01 00:00:00", "--to",
                                             "2012:01:02 00:00:00"} << "--to given twice";
    QTest::newRow("empty camera") << QStringList{"shift", "DIR", "--by", "5", "--camera", ""} << "camera's name";
    QTest::newRow("camera on dates") << QStringList{"dates", "DIR", "--camera", "X"} << "unknown option --camera";
    QTest::newRow("cameras on shift") << QStringList{"shift", "DIR", "--by", "5", "--cameras"}
                                      << "unknown option --cameras";
    QTest::newRow("no jobs") << QStringList{"dates", "DIR", "--jobs", "0"} << "invalid --jobs '0'";
    QTest::newRow("too many jobs") << QStringList{"dates", "DIR", "--jobs=65"} << "from 1 to 64";
    QTest::newRow("jobs not a number") << QStringList{"shift", "DIR", "--by", "5", "--jobs", "x"} << "invalid --jobs";
    QTest::newRow("jobs without a value") << QStringList{"undo", "--jobs"} << "--jobs needs a value";
    QTest::newRow("jobs on history") << QStringList{"history", "--jobs", "2"} << "unknown option --jobs";
    QTest::newRow("unknown kind") << QStringList{"shift", "DIR", "--by", "5", "--types", "raw,png"}
                                  << "unknown kind 'png' for --types: give jpeg, raw, tiff";
    QTest::newRow("empty kind") << QStringList{"shift", "DIR", "--by", "5", "--types=raw,"} << "unknown kind ''";
    QTest::newRow("types without a value") << QStringList{"shift", "DIR", "--by", "5", "--types"}
                                           << "--types needs a value";
    QTest::newRow("types on dates") << QStringList{"dates", "DIR", "--types", "raw"} << "unknown option --types";
}

// --to is a limit, except beside --picture, where it is that picture's true time.
void TestCliOptions::choice_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("cameras");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("pictureTime");

    QTest::newRow("cameras, repeated once") << QStringList{"shift", "D", "--camera", "Pixel 7", "--camera=Canon EOS 5D",
                                                           "--camera", "Pixel 7", "--by", "5"}
                                            << QStringList{"Pixel 7", "Canon EOS 5D"} << "" << "" << "" << "";
    QTest::newRow("limits") << QStringList{"shift", "D", "--oldest-to", "2012:01:01 00:00:00", "--from",
                                           "2012:01:01 00:00:00", "--to", "2012:01:01 00:00:00"}
                            << QStringList() << "2012:01:01 00:00:00" << "2012:01:01 00:00:00" << "" << "";
    QTest::newRow("picture: --to is its time, before or after it")
        << QStringList{"shift", "D", "--to", "2012:03:04 05:06:07", "--picture", "clock.jpg", "--from",
                       "2011:01:01 00:00:00"}
        << QStringList() << "2011:01:01 00:00:00" << "" << "clock.jpg" << "2012:03:04 05:06:07";
}

void TestCliOptions::choice()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, cameras);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, picture);
    QFETCH(QString, pictureTime);
    const CliOptions o = CliOptions::parse(arguments);
    QVERIFY2(o.ok(), qPrintable(o.error));
    auto text = [](const QDateTime &d) { return d.isValid() ? d.toString("yyyy:MM:dd hh:mm:ss") : QString(); };
    QCOMPARE(o.cameraNames, cameras);
    QCOMPARE(text(o.from), from);
    QCOMPARE(text(o.to), to);
    QCOMPARE(o.picture, picture);
    QCOMPARE(text(o.pictureTime), pictureTime);
}

void TestCliOptions::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliOptions o = CliOptions::parse(arguments);
    QVERIFY(!o.ok());
    QVERIFY2(o.error.contains(message), qPrintable(o.error));
    QVERIFY(!o.error.contains('\n'));
}

void TestCliOptions::jobs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("jobs");   // 0: the default
    QTest::newRow("not given") << QStringList{"dates", "DIR"} << 0;
    QTest::newRow("one") << QStringList{"dates", "DIR", "--jobs", "1"} << 1;
    QTest::newRow("inline, shift") << QStringList{"shift", "DIR", "--by", "5", "--jobs=64"} << 64;
    QTest::newRow("undo") << QStringList{"undo", "--jobs", "3"} << 3;
    QTest::newRow("resume with a journal") << QStringList{"resume", "J", "--jobs", "16"} << 16;
}

void TestCliOptions::jobs()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, jobs);
    const CliOptions o = CliOptions::parse(arguments);
    QVERIFY2(o.ok(), qPrintable(o.error));
    QCOMPARE(o.jobs, jobs);
}

// --types names kinds as the listings do, in any letter case; naming every
// kind is no choice at all.
void TestCliOptions::types_data()
{
    QTest::addColumn<QStringList>("types");   // the values of --types
    QTest::addColumn<QString>("kinds");       // chosen, as listed; empty: every kind

    QTest::newRow("not given") << QStringList() << "";
    QTest::newRow("one") << QStringList{"raw"} << "raw";
    QTest::newRow("two, any case, spaces") << QStringList{"TIFF, Jpeg"} << "tiff jpeg";
    QTest::newRow("repeated") << QStringList{"raw", "raw,tiff"} << "raw tiff";
    QStringList every;
    for (FileKind kind : FormatList::kinds())
        every << FormatList::kindName(kind);
    QTest::newRow("every kind") << QStringList{every.join(',')} << "";
}

void TestCliOptions::types()
{
    QFETCH(QStringList, types);
    QFETCH(QString, kinds);
    QStringList arguments{"shift", "DIR", "--by", "5"};
    for (const QString &t : types)
        arguments << "--types" << t;
    const CliOptions o = CliOptions::parse(arguments);
    QVERIFY2(o.ok(), qPrintable(o.error));
    QStringList chosen;
    for (FileKind kind : o.kinds)
        chosen << FormatList::kindName(kind);
    QCOMPARE(chosen.join(' '), kinds);
}

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
