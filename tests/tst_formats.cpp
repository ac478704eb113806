// The seam every file format stands behind: a file a format claims by its
// first bytes goes through locate, a planned shift, the shift's runs written,
// locate again (every field now spells the shifted time) and the shift back,
// which gives the original bytes again. Content no format claims is left to
// nobody. Each format brings its builders here.
#include <QCryptographicHash>
#include <QtTest>

#include <functional>

#include "dateshift.h"
#include "formatlist.h"
#include "jpegbuilder.h"
#include "samplefiles.h"

using jpegtest::Bytes;
using jpegtest::ByteOrder;
using jpegtest::Jpeg;

namespace {

using samples::Build;

FoundDates locate(const FileFormat &format, const Bytes &bytes, bool *ok)
{
    MemorySource file(bytes);
    FoundDates found;
    *ok = format.locate(file, &found);
    return found;
}

bool shifted(const Bytes &bytes, const FoundDates &found, const WallClock &capture, int64_t seconds, Bytes *out,
             DateShift::Plan *plan)
{
    MemorySource file(bytes);
    if (!DateShift::plan(file, found.fields, found.derived, capture, seconds, false, plan))
        return false;
    *out = bytes;
    for (const DateShift::Run &r : plan->runs) {
        if (r.offset + r.to.size() > out->size() || r.from.size() != r.to.size())
            return false;
        std::copy(r.to.begin(), r.to.end(), out->begin() + ptrdiff_t(r.offset));
    }
    return true;
}

WallClock clockOf(const std::string &text)
{
    WallClock t;
    DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(text.data()), text.size(), &t);
    return t;
}

} // namespace

Q_DECLARE_METATYPE(Build)

class TestFormats : public QObject {
    Q_OBJECT
private slots:
    void shiftAndBack_data();
    void shiftAndBack();
    void everyFormatHasABuilder();
    void unclaimed_data();
    void unclaimed();
    void claimedButUnread_data();
    void claimedButUnread();
    void candidates_data();
    void candidates();
};

using samples::Sample;
using samples::all;

void TestFormats::shiftAndBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Build>("build");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<int>("fields");
    for (const Sample &s : all())
        QTest::newRow(s.name) << QString(s.format) << s.build << s.seconds << s.fields;
}

void TestFormats::shiftAndBack()
{
    QFETCH(QString, format);
    QFETCH(Build, build);
    QFETCH(qint64, seconds);
    QFETCH(int, fields);
    const std::string capture = "2008:03:16 10:52:01";
    const Bytes original = build(capture);

    // 1. Claimed by its first bytes, and located.
    const FileFormat *f = FormatList::forContent(original.data(), std::min(original.size(), FileFormat::sniffBytes));
    QVERIFY(f);
    QCOMPARE(QString(f->name()), format);
    bool ok = false;
    const FoundDates before = locate(*f, original, &ok);
    if (fields == 0) {
        // Claimed, but its format cannot move its time in place: never written.
        QVERIFY(ok && before.unsupported && before.fields.empty());
        return;
    }
    QVERIFY(ok && before.hasMetadata && !before.unsupported);
    QCOMPARE(before.captureText, capture);
    QCOMPARE(int(before.fields.size()), fields);
    QCOMPARE(std::count_if(before.fields.begin(), before.fields.end(),
                           [](const DateField &d) { return d.role == DateRole::Capture; }),
             ptrdiff_t(1));

    // 2. Moved: every field moves, and the file reads the shifted time.
    const WallClock from = clockOf(capture), to = DateCodec::addSeconds(from, seconds);
    Bytes moved;
    DateShift::Plan there;
    QVERIFY(shifted(original, before, from, seconds, &moved, &there));
    int count = 0;
    for (const auto &m : there.moved)
        count += m.second;
    QCOMPARE(count, fields);
    QCOMPARE(moved.size(), original.size());
    QVERIFY(moved != original);
    const FoundDates after = locate(*f, moved, &ok);
    QVERIFY(ok);
    QCOMPARE(clockOf(after.captureText), to);
    QCOMPARE(int(after.fields.size()), fields);
    QCOMPARE(after.derived.size(), before.derived.size());
    QCOMPARE(after.digestsLeft, 0);
    for (size_t i = 0; i < after.fields.size(); ++i) {
        const DateField &d = after.fields[i];
        QCOMPARE(d.offset, before.fields[i].offset);
        unsigned char expected[32];
        // A field that keeps a distance from the capture time (a UTC copy) keeps it.
        QVERIFY(DateCodec::encode(d.encoding, d.skew ? DateCodec::addSeconds(to, d.skew) : to, expected));
        QCOMPARE(d.value, std::string(reinterpret_cast<const char *>(expected), d.width));
    }

    // 3. Moved back: the very bytes it had.
    Bytes back;
    DateShift::Plan home;
    QVERIFY(shifted(moved, after, to, -seconds, &back, &home));
    QCOMPARE(home.digestsUpdated, there.digestsUpdated);
    QVERIFY2(back == original, "the shift back does not give the original bytes");
}

void TestFormats::everyFormatHasABuilder()
{
    // A format added to the list without a builder above would go untested.
    QSet<QString> built;
    for (const Sample &s : all())
        built.insert(s.format);
    for (const FileFormat *f : FormatList::all())
        QVERIFY2(built.contains(f->name()), f->name());
}

void TestFormats::unclaimed_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte of a JPEG") << QByteArray("\xFF", 1);
    QTest::newRow("a JPEG's marker the wrong way round") << QByteArray("\xD8\xFF\xE1", 3);
    QTest::newRow("TIFF's marks of two byte orders") << QByteArray("II\0*\x08\0\0\0", 8);
    QTest::newRow("TIFF's magic number in the other byte order") << QByteArray("MM*\0\0\0\0\x08", 8);
    QTest::newRow("Panasonic's mark in Motorola order") << QByteArray("MMU\0\0\0\0\x08", 8);
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1A\n", 8);
    QTest::newRow("GIF") << QByteArray("GIF89a");
    QTest::newRow("an XMP sidecar") << QByteArray("<?xpacket begin='\xEF\xBB\xBF'?><x:xmpmeta/>");
    QTest::newRow("text") << QByteArray("2008:03:16 10:52:01\n");
    QTest::newRow("FUJIFILM without the RAW mark") << QByteArray("FUJIFILM</tiff:MaH\0\0", 20);
    QTest::newRow("the RAF mark cut short") << QByteArray("FUJIFILMCCD-RAW");
    QTest::newRow("a heap's name at the wrong place") << QByteArray("II\x1A\0\0\0\0HEAPCCDR", 15);
    QTest::newRow("a heap after no byte order") << QByteArray("IM\x1A\0\0\0HEAPCCDR", 14);
    QTest::newRow("a heap's name of another kind") << QByteArray("II\x1A\0\0\0HEAPJPGM", 14);
    QTest::newRow("X3F's mark cut short") << QByteArray("FOV");
    QTest::newRow("MRW's mark without its NUL") << QByteArray("MRM\0\0\0\0\x10", 8);
    QTest::newRow("X3F's mark in lower case") << QByteArray("fovb");
    QTest::newRow("a RIFF file of sound") << QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16);
    QTest::newRow("an OpenDML extension's RIFF") << QByteArray("RIFF\x04\0\0\0AVIX", 12);
    QTest::newRow("AVI's form in lower case") << QByteArray("RIFF\x04\0\0\0avi ", 12);
    QTest::newRow("a transport stream's video packet first") << QByteArray("\x47\x50\x11\x10", 4);
    QTest::newRow("a transport packet with its error flag") << QByteArray("\x47\xC0\x00\x10", 4);
    QTest::newRow("a transport packet, scrambled") << QByteArray("\x47\x40\x00\xD0", 4);
}

void TestFormats::unclaimed()
{
    QFETCH(QByteArray, head);
    const auto *bytes = reinterpret_cast<const unsigned char *>(head.constData());
    QVERIFY(!FormatList::forContent(bytes, size_t(head.size())));
    // And no format takes it when asked straight.
    for (const FileFormat *f : FormatList::all()) {
        QVERIFY(!f->sniff(bytes, size_t(head.size())));
        MemorySource file(bytes, size_t(head.size()));
        FoundDates found;
        QVERIFY(!f->locate(file, &found));
        QVERIFY(found.fields.empty());
    }
}

void TestFormats::claimedButUnread_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("format");
    QTest::newRow("a bare TIFF header, IFD0 past its end") << QByteArray("II*\0\x08\0\0\0", 8) << "TIFF";
    QTest::newRow("a bare BigTIFF header") << QByteArray("MM\0+\0\x08\0\0\0\0\0\0\0\0\0\x10", 16) << "TIFF";
    QTest::newRow("Olympus's mark alone") << QByteArray("IIRO") << "TIFF";
    QTest::newRow("a transport stream's first packet cut short") << QByteArray("\x47\x40\x00\x10\0\0\xB0", 7)
                                                                 << "MTS";
    QTest::newRow("a stamped transport packet's header alone") << QByteArray("\0\0\0\0\x47\x40\x00\x10", 8)
                                                               << "MTS";
}

void TestFormats::claimedButUnread()
{
    // Claimed by its first bytes, but there is nothing to read behind them.
    QFETCH(QByteArray, head);
    QFETCH(QString, format);
    const auto *bytes = reinterpret_cast<const unsigned char *>(head.constData());
    const FileFormat *f = FormatList::forContent(bytes, size_t(head.size()));
    QVERIFY(f);
    QCOMPARE(QString(f->name()), format);
    MemorySource file(bytes, size_t(head.size()));
    FoundDates found;
    QVERIFY(!f->locate(file, &found));
    QVERIFY(!found.hasMetadata && found.fields.empty());
}

void TestFormats::candidates_data()
{
    QTest::addColumn<QByteArray>("extension");
    QTest::addColumn<bool>("candidate");
    for (const char *e : {"jpg", "JPG", "jpeg", "JPEG", "Jpe", "jfif", "jFIF", "thm", "THM"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"raf", "RAF", "mrw", "MRw", "crw", "Crw", "x3f", "X3F"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"tif", "TIFF", "nef", "NEF", "cr2", "dng", "Arw", "orf", "rw2", "pef", "3fr", "iiq"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"heic", "HEIC", "heif", "hif", "HIF", "avif", "AVIF"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"cr3", "CR3", "Cr3"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"mp4", "MP4", "mov", "MOV", "m4v", "3gp", "3G2", "lrv", "LRV"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"avi", "AVI", "mts", "MTS", "m2ts", "M2TS"})
        QTest::newRow(e) << QByteArray(e) << true;
    for (const char *e : {"jp", "jpgx", "xmp", "", "ti", "tiff.", "jpg.", "j"})
        QTest::newRow(qPrintable(QString("not '%1'").arg(e))) << QByteArray(e) << false;
    QTest::newRow("a NUL inside") << QByteArray("jp\0g", 4) << false;
    for (const char *e : {"ra", "rafx", "crw~", "x3", "hei", "heics", "hi", "cr", "cr33", "crx"})
        QTest::newRow(qPrintable(QString("not '%1'").arg(e))) << QByteArray(e) << false;
    for (const char *e : {"mp", "mp4v", "mo", "3g", "m4a", "th", "thmb", "av", "avix", "mt", "m2t", "ts", "wav"})
        QTest::newRow(qPrintable(QString("not '%1'").arg(e))) << QByteArray(e) << false;
}

void TestFormats::candidates()
{
    QFETCH(QByteArray, extension);
    QTEST(FormatList::isCandidate(extension.constData(), size_t(extension.size())), "candidate");
}

QTEST_APPLESS_MAIN(TestFormats)
#include "tst_formats.moc"
