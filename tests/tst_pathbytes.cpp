// File names as bytes: every name survives the trip into the program's paths
// and back, whatever its bytes; the pool of I/O threads hands out every piece
// of work exactly once.
#include "iopool.h"
#include "pathbytes.h"

#include <QtTest>

#include <atomic>
#include <vector>

class TestPathBytes : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void poolDoesEveryIndexOnce_data();
    void poolDoesEveryIndexOnce();
};

void TestPathBytes::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");   // as a log line names it

    QTest::newRow("ascii") << QByteArray("/photos/IMG_0001.JPG") << "/photos/IMG_0001.JPG";
    QTest::newRow("utf-8") << QByteArray("/Fotos/M\xc3\xbcnchen/caf\xc3\xa9.jpg") << QString::fromUtf8("/Fotos/München/café.jpg");
    QTest::newRow("four-byte utf-8") << QByteArray("\xf0\x9f\x93\xb7.jpg") << QString::fromUtf8("\xf0\x9f\x93\xb7.jpg");
#ifndef _WIN32
    QTest::newRow("latin-1 byte") << QByteArray("caf\xe9.jpg") << "caf\\xe9.jpg";
    QTest::newRow("latin-1 folder") << QByteArray("/M\xfcnchen/x.jpg") << "/M\\xfcnchen/x.jpg";
    QTest::newRow("cut sequence at the end") << QByteArray("a\xc3") << "a\\xc3";
    QTest::newRow("cut sequence before ascii") << QByteArray("\xe2\x82.jpg") << "\\xe2\\x82.jpg";
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf" "b") << "a\\xc0\\xafb";
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xb3\xa9") << "\\xed\\xb3\\xa9";
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << "\\xf4\\x90\\x80\\x80";
    QTest::newRow("lone continuation") << QByteArray("\x80x") << "\\x80x";
    // A character beyond U+FFFF is held as a surrogate pair whose low half
    // lies where the bytes' stand-ins do: it must stay one character.
    QTest::newRow("four-byte utf-8, then a lone byte")
        << QByteArray("\xf0\x9f\x93\xb7\xe9") << QString::fromUtf8("\xf0\x9f\x93\xb7") + "\\xe9";
    QTest::newRow("every high byte") << [] {
        QByteArray b;
        for (int c = 0x80; c <= 0xff; ++c)
            b += char(c);
        return b;
    }() << [] {
        QString s;
        for (int c = 0x80; c <= 0xff; ++c)
            s += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
        return s;
    }();
#endif
}

void TestPathBytes::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString path = PathBytes::decode(bytes);
    QCOMPARE(PathBytes::encode(path), bytes);
    QCOMPARE(QString::fromUtf8(PathBytes::displayBytes(path)), shown);
    // Another name never decodes to the same path.
    QVERIFY(PathBytes::decode(bytes + 'x') != path);
}

void TestPathBytes::poolDoesEveryIndexOnce_data()
{
    QTest::addColumn<int>("jobs");
    QTest::newRow("one after the other") << 1;
    QTest::newRow("8 jobs") << 8;
    QTest::newRow("more jobs than work") << 64;
}

void TestPathBytes::poolDoesEveryIndexOnce()
{
    QFETCH(int, jobs);
    IoPool pool(jobs);
    QCOMPARE(pool.jobs(), jobs);
    // Several rounds of different sizes on the same threads, as the passes do.
    for (const size_t count : {size_t(0), size_t(1), size_t(7), size_t(1000), size_t(3)}) {
        std::vector<std::atomic<int>> done(count);
        pool.forEach(count, [&](size_t i) { ++done[i]; });
        for (size_t i = 0; i < count; ++i)
            QCOMPARE(done[i].load(), 1);
    }
}

QTEST_GUILESS_MAIN(TestPathBytes)
#include "tst_pathbytes.moc"
