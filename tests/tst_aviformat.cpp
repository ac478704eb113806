// AVI videos: where an IDIT text counts as the recording's time and where it
// does not, shifts that move its weekday with the date and come back to the
// very bytes, damaged chunk structures that give no fields, and AVCHD
// transport streams, claimed but never written.
#include <QtTest>

#include "aviformat.h"
#include "avibuilder.h"
#include "dateshift.h"
#include "formatlist.h"
#include "mtsformat.h"

using avitest::Avi;
using avitest::riffChunk;
using avitest::riffList;
using jpegtest::Bytes;

Q_DECLARE_METATYPE(Bytes)

namespace {

const std::string kTime = "2012:09:10 20:52:00";
const std::string kText = "MON SEP 10 20:52:00 2012";

Bytes text(const std::string &s)
{
    return Bytes(s.begin(), s.end());
}

// The IDIT text as a camera writes it.
std::string idit(const std::string &t = kText)
{
    return t + std::string("\n\0", 2);
}

FoundDates locate(const Bytes &bytes, bool *ok = nullptr)
{
    MemorySource file(bytes);
    FoundDates found;
    const bool located = AviFormat().locate(file, &found);
    if (ok)
        *ok = located;
    return found;
}

// A memory file that remembers every byte read.
class WatchedSource : public MemorySource {
public:
    explicit WatchedSource(const Bytes &b) : MemorySource(b), seen(b.size(), false) {}
    bool readAt(uint64_t offset, void *to, size_t n) override
    {
        for (size_t i = 0; i < n && offset + i < seen.size(); ++i)
            seen[size_t(offset + i)] = true;
        bytesRead += n;
        return MemorySource::readAt(offset, to, n);
    }
    const unsigned char *peek(uint64_t, size_t) override { return nullptr; }
    std::vector<bool> seen;
    uint64_t bytesRead = 0;
};

// An AVI list around `top`, the chunks of its top level.
Bytes riff(const std::vector<Bytes> &top)
{
    return riffList("AVI ", top, true);
}

} // namespace

class TestAviFormat : public QObject {
    Q_OBJECT
private slots:
    void locate_data();
    void locate();
    void shiftAndBack_data();
    void shiftAndBack();
    void damaged_data();
    void damaged();
    void everyCutIsDamaged();
    void neverReadsTheMedia();
    void transportStreams_data();
    void transportStreams();
};

void TestAviFormat::locate_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<int>("fields");
    QTest::addColumn<bool>("unsupported");
    const Bytes hdrl = Avi(kTime).bytes();
    QTest::newRow("IDIT in hdrl") << hdrl << 1 << false;
    QTest::newRow("IDIT at the top level") << Avi(kTime).iditAtTop().bytes() << 1 << false;
    QTest::newRow("IDIT in both, the same time") << Avi(kTime).secondIdit(idit()).bytes() << 2 << false;
    QTest::newRow("a second IDIT of another time stays") << Avi(kTime).secondIdit(idit("TUE SEP 11 20:52:00 2012")).bytes()
                                                         << 1 << false;
    QTest::newRow("the text alone, no line's end") << Avi(kTime).idit(kText).bytes() << 1 << false;
    QTest::newRow("odd length, padded, chunks after it") << Avi(kTime).iditAtTop().idit(kText + "\n").bytes() << 1
                                                         << false;
    QTest::newRow("ICRD, a date alone, is no field") << Avi(kTime).noIdit().info("2012-09-10").bytes() << 0 << false;
    QTest::newRow("no IDIT") << Avi(kTime).noIdit().bytes() << 0 << false;
    QTest::newRow("an IDIT in a stream's list is none")
        << riff({riffList("hdrl", {riffChunk("avih", Bytes(56, 0)),
                                   riffList("strl", {riffChunk("strh", Bytes(56, 0)), riffChunk("IDIT", text(idit()))})}),
                 riffList("movi", {})})
        << 0 << false;
    QTest::newRow("an IDIT in the media data is none")
        << riff({riffList("hdrl", {}), riffList("movi", {riffChunk("IDIT", text(idit()))})}) << 0 << false;
    // Texts that could not be written back as they were: the file is not supported.
    for (const char *t : {"Mon Sep 10 20:52:00 2012", "SUN SEP 10 20:52:00 2012", "MON SEP 09 20:52:00 2012",
                          "2012:09:10 20:52:00", "MON SEP 10 20:52:00 2012 GMT",
                          "MON SEP 10 20:52 2012", ""})
        QTest::newRow(qPrintable(QStringLiteral("IDIT '%1'").arg(t))) << Avi(kTime).idit(idit(t)).bytes() << 0 << true;
    QTest::newRow("an IDIT far longer than a time") << Avi(kTime).idit(idit() + std::string(200, '\0')).bytes() << 0
                                                    << true;
    QTest::newRow("one good IDIT, one in mixed case")
        << Avi(kTime).secondIdit(idit("Mon Sep 10 20:52:00 2012")).bytes() << 0 << true;
}

void TestAviFormat::locate()
{
    QFETCH(Bytes, file);
    QFETCH(int, fields);
    QFETCH(bool, unsupported);
    bool ok = false;
    const FoundDates found = ::locate(file, &ok);
    QVERIFY(ok && found.hasMetadata);
    QCOMPARE(found.unsupported, unsupported);
    QCOMPARE(int(found.fields.size()), fields);
    QCOMPARE(QString::fromStdString(found.captureText), fields ? QString::fromStdString(kTime) : QString());
    for (size_t i = 0; i < found.fields.size(); ++i) {
        const DateField &f = found.fields[i];
        QCOMPARE(f.encoding, DateEncoding::RiffText);
        QCOMPARE(f.role, i == 0 ? DateRole::Capture : DateRole::Copy);
        QCOMPARE(f.value, kText);
        QCOMPARE(std::string(file.begin() + ptrdiff_t(f.offset), file.begin() + ptrdiff_t(f.offset + f.width)), kText);
        // The chunk's id just before its size.
        QCOMPARE(std::string(file.begin() + ptrdiff_t(f.offset - 8), file.begin() + ptrdiff_t(f.offset - 4)),
                 std::string("IDIT"));
        if (i > 0)
            QVERIFY(f.offset > found.fields[i - 1].offset);
    }
}

void TestAviFormat::shiftAndBack_data()
{
    QTest::addColumn<QString>("capture");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("moved");   // the IDIT text after the shift; empty: refused
    QTest::newRow("an hour on") << "2012:09:10 20:52:00" << qint64(3600) << "MON SEP 10 21:52:00 2012";
    QTest::newRow("past midnight, the weekday with it") << "2012:09:10 20:52:00" << qint64(4 * 3600)
                                                        << "TUE SEP 11 00:52:00 2012";
    QTest::newRow("back over a new year") << "2013:01:10 08:00:00" << qint64(-20 * 86400) << "FRI DEC 21 08:00:00 2012";
    QTest::newRow("into a leap day") << "2012:02:28 23:30:00" << qint64(86400) << "WED FEB 29 23:30:00 2012";
    QTest::newRow("a year on") << "2012:09:10 20:52:00" << qint64(365 * 86400) << "TUE SEP 10 20:52:00 2013";
    QTest::newRow("onto a day below 10, a space before its digit") << "2012:09:10 20:52:00" << qint64(-86400)
                                                                   << "SUN SEP  9 20:52:00 2012";
}

void TestAviFormat::shiftAndBack()
{
    QFETCH(QString, capture);
    QFETCH(qint64, seconds);
    QFETCH(QString, moved);
    const Bytes original = Avi(capture.toStdString()).secondIdit(idit(avitest::iditText(capture.toStdString())))
                               .bytes();
    const FoundDates before = ::locate(original);
    QCOMPARE(before.fields.size(), size_t(2));
    WallClock from;
    QVERIFY(DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(before.captureText.data()),
                              before.captureText.size(), &from));
    MemorySource file(original);
    DateShift::Plan plan;
    const bool planned = DateShift::plan(file, before.fields, before.derived, from, seconds, false, &plan);
    QCOMPARE(planned, !moved.isEmpty());
    if (!planned)
        return;   // nothing is written rather than a text that would not read again
    QCOMPARE(int(plan.runs.size()), 2);
    Bytes after = original;
    for (const DateShift::Run &r : plan.runs)
        std::copy(r.to.begin(), r.to.end(), after.begin() + ptrdiff_t(r.offset));
    // Only the two texts changed, each to the new time with its weekday.
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i)
        changed += after[i] != original[i];
    QVERIFY(changed > 0 && changed <= 2 * 24);
    const FoundDates found = ::locate(after);
    QCOMPARE(found.fields.size(), size_t(2));
    for (const DateField &f : found.fields)
        QCOMPARE(QString::fromStdString(f.value), moved);

    MemorySource shifted(after);
    const WallClock to = DateCodec::addSeconds(from, seconds);
    QVERIFY(DateShift::plan(shifted, found.fields, found.derived, to, -seconds, false, &plan));
    for (const DateShift::Run &r : plan.runs)
        std::copy(r.to.begin(), r.to.end(), after.begin() + ptrdiff_t(r.offset));
    QVERIFY2(after == original, "the shift back does not give the original bytes");
}

void TestAviFormat::damaged_data()
{
    QTest::addColumn<Bytes>("file");
    const Bytes good = Avi(kTime).bytes();
    auto withSize = [](Bytes b, size_t at, uint32_t size) {
        for (int i = 0; i < 4; ++i)
            b[at + size_t(i)] = uint8_t(size >> (8 * i));
        return b;
    };
    QTest::newRow("RIFF size past the end") << withSize(good, 4, uint32_t(good.size()));
    QTest::newRow("RIFF size all ones") << withSize(good, 4, 0xFFFFFFFF);
    QTest::newRow("RIFF size below its form") << withSize(good, 4, 2);
    QTest::newRow("hdrl past the RIFF chunk") << withSize(good, 16, uint32_t(good.size()));
    QTest::newRow("hdrl's size too small for its type") << withSize(good, 16, 2);
    const Bytes tooLong = riff({riffList("hdrl", {riffChunk("IDIT", text(idit()))}), riffChunk("JUNK", Bytes(8, 0))});
    QTest::newRow("IDIT past its list") << withSize(tooLong, 12 + 12 + 4, 30);
    QTest::newRow("three bytes left over in a list")
        << riff({riffList("hdrl", {riffChunk("IDIT", text(idit())), Bytes{'J', 'U', 'N'}})});
    Bytes deep = riffList("hdrl", {riffChunk("IDIT", text(idit()))});
    for (int i = 0; i < 8; ++i)
        deep = riffList("deep", {deep});
    QTest::newRow("lists nested too deep") << riff({deep});
    std::vector<Bytes> many(5000, riffChunk("JUNK", {}));
    many.push_back(riffList("hdrl", {riffChunk("IDIT", text(idit()))}));
    QTest::newRow("too many chunks") << riff(many);
}

void TestAviFormat::damaged()
{
    // Claimed, read as damaged: no fields, and nothing read past the file.
    QFETCH(Bytes, file);
    QVERIFY(AviFormat().sniff(file.data(), std::min(file.size(), FileFormat::sniffBytes)));
    bool ok = false;
    const FoundDates found = ::locate(file, &ok);
    QVERIFY(ok);
    QVERIFY(!found.hasMetadata && found.fields.empty() && found.captureText.empty());
    QVERIFY(!found.diagnostic.empty());
}

void TestAviFormat::everyCutIsDamaged()
{
    const Bytes whole = Avi(kTime).iditAtTop().info("2012-09-10").mediaBytes(600).bytes();
    QCOMPARE(::locate(whole).fields.size(), size_t(1));
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + ptrdiff_t(n));
        bool ok = false;
        const FoundDates found = ::locate(cut, &ok);
        QVERIFY2(found.fields.empty() && !found.hasMetadata, qPrintable(QString::number(n)));
        QCOMPARE(ok, n >= 12);   // a file shorter than its RIFF header is none
    }
}

void TestAviFormat::neverReadsTheMedia()
{
    const Avi avi = Avi(kTime).iditAtTop().mediaBytes(1 << 20);
    const Bytes bytes = avi.bytes();
    WatchedSource file(bytes);
    FoundDates found;
    QVERIFY(AviFormat().locate(file, &found));
    QCOMPARE(found.fields.size(), size_t(1));
    const rawtest::Span media = avi.media();
    for (uint64_t i = media.offset; i < media.offset + media.length; ++i)
        QVERIFY2(!file.seen[size_t(i)], qPrintable(QString::number(i)));
    QVERIFY(file.bytesRead < 200);
}

void TestAviFormat::transportStreams_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<bool>("claimed");
    QTest::newRow("192-byte packets") << avitest::mts(true) << true;
    QTest::newRow("188-byte packets") << avitest::mts(false) << true;
    QTest::newRow("one packet") << avitest::mts(true, 1) << true;
    Bytes lost = avitest::mts(true);
    lost[3 * 192 + 4] = 0x46;
    QTest::newRow("the sync byte lost in the fourth packet") << lost << false;
    const Bytes stamped = avitest::mts(true);
    QTest::newRow("192-byte packets read at 188") << Bytes(stamped.begin() + 4, stamped.end()) << false;
}

void TestAviFormat::transportStreams()
{
    // A transport stream keeps its time where a new one may need a byte
    // more: claimed, never a field, never written.
    QFETCH(Bytes, file);
    QFETCH(bool, claimed);
    const FileFormat *f = FormatList::forContent(file.data(), std::min(file.size(), FileFormat::sniffBytes));
    QVERIFY(f);
    QCOMPARE(QString(f->name()), QStringLiteral("MTS"));
    MemorySource source(file);
    FoundDates found;
    QCOMPARE(f->locate(source, &found), claimed);
    QCOMPARE(found.unsupported, claimed);
    QVERIFY(found.fields.empty());
    QCOMPARE(f->kind("m2ts", 4), FileKind::Video);
}

QTEST_APPLESS_MAIN(TestAviFormat)
#include "tst_aviformat.moc"
