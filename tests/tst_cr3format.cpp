// Canon's CR3: the EXIF texts of the CMT boxes, the movie, track and media
// header times that hold the capture time in UTC (which move, keeping their
// distance to it, and which stay), the XMP packet, and damaged files that
// must give no fields.
#include <QtTest>

#include <map>
#include <vector>

#include "cr3builder.h"
#include "cr3format.h"
#include "dateshift.h"
#include "samplefiles.h"
#include "sparsesource.h"

using isotest::Cr3;
using jpegtest::Bytes;
using tifftest::Header;

Q_DECLARE_METATYPE(Bytes)

namespace {

const std::string kTime = "2008:03:16 10:52:01";

Cr3 camera(Header header, const std::string &zone, int64_t utcOffset)
{
    return Cr3::camera(header, kTime, zone, utcOffset);
}

// Maker notes whose TimeInfo (tag 0x0035) names a zone of `minutes`.
Bytes timeInfo(int32_t minutes)
{
    tifftest::Tiff notes(Header::Intel);
    Bytes v;
    for (int32_t x : {16, minutes, 19, 60})
        for (int i = 0; i < 4; ++i)
            v.push_back(uint8_t(uint32_t(x) >> (8 * i)));
    notes.value(0, 0x0035, jpegtest::format::Long, 4, v);
    return notes.bytes();
}

std::string xmpPacket()
{
    jpegtest::XmpPacket x;
    x.attribute("xmp:CreateDate", samples::iso(kTime) + "+02:00").element("photoshop:DateCreated", samples::iso(kTime));
    return x.text();
}

FoundDates locate(const Bytes &file, bool *claimed = nullptr)
{
    MemorySource source(file);
    FoundDates found;
    const bool read = Cr3Format().locate(source, &found);
    if (claimed)
        *claimed = read;
    return found;
}

bool isHeaderTime(const DateField &f)
{
    return f.encoding == DateEncoding::Seconds1904x32 || f.encoding == DateEncoding::Seconds1904x64;
}

// The 32-bit big-endian value `at` bytes after the first `type` in `file` replaced.
Bytes patched(Bytes file, const char *type, long at, uint32_t value)
{
    const auto it = std::search(file.begin(), file.end(), type, type + 4);
    const size_t p = size_t(it - file.begin() + at);
    for (int i = 0; i < 4; ++i)
        file[p + size_t(i)] = uint8_t(value >> (24 - 8 * i));
    return file;
}

WallClock clockOf(const std::string &text)
{
    WallClock t;
    DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(text.data()), text.size(), &t);
    return t;
}

} // namespace

class TestCr3Format : public QObject {
    Q_OBJECT
private slots:
    void located_data();
    void located();
    void shiftKeepsSkew_data();
    void shiftKeepsSkew();
    void damaged_data();
    void damaged();
    void cutAnywhere();
    void bigFileFewReads();
    void sniff_data();
    void sniff();
};

void TestCr3Format::located_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<int>("texts");     // EXIF and XMP texts
    QTest::addColumn<int>("headers");   // header times that move
    QTest::addColumn<qlonglong>("skew");
    const uint64_t utc = Cr3::seconds1904(kTime) - 7200;
    auto row = [](const char *name, const Cr3 &c, int texts, int headers, qlonglong skew) {
        QTest::newRow(name) << c.bytes() << texts << headers << skew;
    };
    // Two tracks: mvhd, and tkhd and mdhd of each, two times apiece.
    row("Intel, zone +02:00 named: every header time, 2 h behind", camera(Header::Intel, "+02:00", 7200), 3, 10, -7200);
    row("Motorola, zone -05:30 named", camera(Header::Motorola, "-05:30", -19800), 3, 10, 19800);
    row("no zone named: +05:45, a whole number of quarter hours", camera(Header::Intel, "", 20700), 3, 10, -20700);
    row("no zone named: -14:00, the farthest zone", camera(Header::Motorola, "", -14 * 3600), 3, 10, 14 * 3600);
    row("headers written 40 s after the shot", camera(Header::Intel, "+02:00", 7200 - 40), 3, 10, -7160);
    row("headers in local time though a zone is named", camera(Header::Intel, "+02:00", 0), 3, 10, 0);
    row("headers 2 minutes off the named zone stay", camera(Header::Intel, "+02:00", 7200 + 120), 3, 0, 0);
    row("no zone named, 7 minutes off a quarter hour: stay", camera(Header::Intel, "", 3600 + 420), 3, 0, 0);
    row("no zone named, 15 hours away: stay", camera(Header::Intel, "", 15 * 3600), 3, 0, 0);
    row("Canon's TimeInfo names the zone", camera(Header::Intel, "", 7200).makerNotes(timeInfo(120)), 3, 10, -7200);
    row("Canon's TimeInfo names another zone: stay", camera(Header::Intel, "", 7200).makerNotes(timeInfo(60)), 3, 0,
        0);
    row("zero media times stay", camera(Header::Intel, "+02:00", 7200).mediaTimes(0, 0), 3, 6, -7200);
    row("edited a year later: the modification times stay",
        camera(Header::Intel, "+02:00", 7200).times(utc, utc + 365 * 86400), 3, 5, -7200);
    row("no zone named, the movie's creation time zero: a track's tells",
        camera(Header::Intel, "", 7200).mediaTimes(utc, utc).times(0, utc), 3, 7, -7200);
    row("64-bit header times", camera(Header::Motorola, "+02:00", 7200).headerVersion(1), 3, 10, -7200);
    row("XMP at the top level", camera(Header::Intel, "+02:00", 7200).xmp(xmpPacket()), 5, 10, -7200);
    row("XMP inside moov", camera(Header::Intel, "+02:00", 7200).xmp(xmpPacket(), true).tracks(1), 5, 6, -7200);

    // The capture time from CMT1 when CMT2 has none; CMT2's texts still move.
    tifftest::Tiff one, two;
    one.ascii(0, tifftest::tag::Make, "Canon").ascii(0, tifftest::tag::DateTimeOriginal, kTime);
    two.ascii(0, tifftest::tag::DateTimeDigitized, kTime).ascii(0, 0x9011, "+02:00");
    row("DateTimeOriginal only in CMT1", Cr3(one.bytes(), two.bytes()).times(utc, utc), 2, 10, -7200);
}

void TestCr3Format::located()
{
    QFETCH(Bytes, file);
    QFETCH(int, texts);
    QFETCH(int, headers);
    QFETCH(qlonglong, skew);
    bool claimed = false;
    const FoundDates found = locate(file, &claimed);
    QVERIFY(claimed && found.hasMetadata && !found.captureUtc);
    QCOMPARE(found.captureText, kTime);
    QCOMPARE(found.make, std::string("Canon"));
    int captures = 0, moved = 0;
    for (size_t i = 0; i < found.fields.size(); ++i) {
        const DateField &f = found.fields[i];
        QVERIFY(f.offset + f.width <= file.size());
        QCOMPARE(std::string(file.begin() + long(f.offset), file.begin() + long(f.offset + f.width)), f.value);
        if (i > 0)
            QVERIFY(found.fields[i - 1].offset + found.fields[i - 1].width <= f.offset);
        captures += f.role == DateRole::Capture;
        if (isHeaderTime(f)) {
            ++moved;
            QCOMPARE(qlonglong(f.skew), skew);
        } else {
            QCOMPARE(f.skew, int64_t(0));
        }
    }
    QCOMPARE(captures, 1);
    QCOMPARE(int(found.fields.size()) - moved, texts);
    QCOMPARE(moved, headers);
}

void TestCr3Format::shiftKeepsSkew_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<qlonglong>("seconds");
    QTest::newRow("zone named, a day and an hour on") << camera(Header::Intel, "+02:00", 7200).bytes()
                                                      << qlonglong(90000);
    QTest::newRow("no zone named, back over a new year") << camera(Header::Motorola, "", -19800).bytes()
                                                         << qlonglong(-76 * 86400);
    QTest::newRow("64-bit times, ten years on") << camera(Header::Intel, "+02:00", 7200).headerVersion(1).bytes()
                                                << qlonglong(3653LL * 86400);
}

void TestCr3Format::shiftKeepsSkew()
{
    // Shifted, every header time moves by the same seconds and is found again
    // at the same distance from the new capture time; shifted back, the bytes.
    QFETCH(Bytes, file);
    QFETCH(qlonglong, seconds);
    const FoundDates before = locate(file);
    MemorySource source(file);
    DateShift::Plan plan;
    QVERIFY(DateShift::plan(source, before.fields, before.derived, clockOf(kTime), seconds, false, &plan));
    QCOMPARE(plan.runs.size(), before.fields.size());
    Bytes moved = file;
    for (const DateShift::Run &r : plan.runs)
        std::copy(r.to.begin(), r.to.end(), moved.begin() + long(r.offset));
    const FoundDates after = locate(moved);
    const WallClock to = DateCodec::addSeconds(clockOf(kTime), seconds);
    QCOMPARE(clockOf(after.captureText), to);
    QCOMPARE(after.fields.size(), before.fields.size());
    for (size_t i = 0; i < after.fields.size(); ++i) {
        const DateField &f = after.fields[i];
        QCOMPARE(f.skew, before.fields[i].skew);
        WallClock held;
        QVERIFY(DateCodec::decode(f.encoding, reinterpret_cast<const unsigned char *>(f.value.data()), f.width, &held));
        if (isHeaderTime(f))
            QCOMPARE(held, DateCodec::addSeconds(to, f.skew));
    }
    MemorySource shifted(moved);
    QVERIFY(DateShift::plan(shifted, after.fields, after.derived, to, -seconds, false, &plan));
    for (const DateShift::Run &r : plan.runs)
        std::copy(r.to.begin(), r.to.end(), moved.begin() + long(r.offset));
    QVERIFY(moved == file);
}

void TestCr3Format::damaged_data()
{
    QTest::addColumn<Bytes>("file");
    const Cr3 good = camera(Header::Intel, "+02:00", 7200).xmp(xmpPacket());
    const Bytes bytes = good.bytes();
    QTest::newRow("moov's size past the end") << patched(bytes, "moov", -4, 0x7FFFFFF0u);
    QTest::newRow("Canon's box past moov's end") << patched(bytes, "uuid", -4, 0x100000u);
    QTest::newRow("CMT2's size below its own header") << patched(bytes, "CMT2", -4, 4);
    QTest::newRow("a track's size past moov's end") << patched(bytes, "trak", -4, 0x100000u);
    QTest::newRow("mdia's size past its track's end") << patched(bytes, "mdia", -4, 0x10000u);
    QTest::newRow("mdat's size past the end") << patched(bytes, "mdat", -4, 0x7FFFFFFFu);
    Bytes trailer = bytes;
    trailer.insert(trailer.end(), {0, 0, 0, 0x12, 'S', 'E', 'F', 'H', 0xFF});
    QTest::newRow("bytes after the last box that are no box") << trailer;

    tifftest::Tiff one, two;
    one.ascii(0, tifftest::tag::Make, "Canon").ascii(0, tifftest::tag::DateTime, kTime);
    two.ascii(0, tifftest::tag::DateTimeOriginal, kTime);
    tifftest::Tiff farIfd = two;
    farIfd.headerOffset(0x10000);
    QTest::newRow("CMT2's IFD0 past its box") << Cr3(one.bytes(), farIfd.bytes()).bytes();
    tifftest::Tiff farMake;
    farMake.rawEntry(0, tifftest::tag::Make, jpegtest::format::Ascii, 6, 0x10000)
        .ascii(0, tifftest::tag::DateTime, kTime);
    QTest::newRow("CMT1's Make past its box") << Cr3(farMake.bytes(), two.bytes()).bytes();
    tifftest::Tiff farDate;
    farDate.ascii(0, tifftest::tag::Make, "Canon").rawEntry(0, tifftest::tag::DateTime, jpegtest::format::Ascii, 20,
                                                            0x10000);
    QTest::newRow("CMT1's ModifyDate past its box") << Cr3(farDate.bytes(), two.bytes()).bytes();
    QTest::newRow("maker notes whose IFD0 lies past their box")
        << Cr3(one.bytes(), two.bytes()).makerNotes(tifftest::Tiff().headerOffset(0x10000).bytes()).bytes();
}

void TestCr3Format::damaged()
{
    QFETCH(Bytes, file);
    QElapsedTimer clock;
    clock.start();
    bool claimed = false;
    const FoundDates found = locate(file, &claimed);
    QVERIFY(claimed);
    QVERIFY(found.fields.empty());
    QVERIFY(!found.hasMetadata);
    QVERIFY(clock.elapsed() < 2000);
}

void TestCr3Format::cutAnywhere()
{
    // Every prefix that ends inside a box gives no field. One that ends
    // between two top-level boxes is a sound file of fewer boxes (as an
    // emptied sample without 'mdat' is).
    const Bytes file = camera(Header::Motorola, "+02:00", 7200).xmp(xmpPacket()).imageBytes(64).bytes();
    QCOMPARE(int(locate(file).fields.size()), 5 + 10);
    std::vector<size_t> ends;
    for (size_t at = 0; at + 8 <= file.size(); ends.push_back(at))
        at += size_t(file[at]) << 24 | size_t(file[at + 1]) << 16 | size_t(file[at + 2]) << 8 | file[at + 3];
    QCOMPARE(ends.size(), size_t(4));   // ftyp, moov, the XMP box, mdat
    const std::map<size_t, size_t> sound = {{ends[0], 0}, {ends[1], 3 + 10}, {ends[2], 5 + 10}};
    for (size_t n = 0; n < file.size(); ++n) {
        const Bytes cut(file.begin(), file.begin() + long(n));
        const size_t fields = locate(cut).fields.size();
        const auto expected = sound.find(n);
        QVERIFY2(fields == (expected == sound.end() ? 0 : expected->second),
                 qPrintable(QString("%1 of %2: %3").arg(n).arg(file.size()).arg(fields)));
    }
}

void TestCr3Format::bigFileFewReads()
{
    // 50 MB of image data after moov: a few small reads, none in the image data.
    const Cr3 cr3 = camera(Header::Intel, "+02:00", 7200).xmp(xmpPacket()).imageBytes(50 << 20);
    isotest::SparseSource file(cr3.sparse());
    FoundDates found;
    QVERIFY(Cr3Format().locate(file, &found));
    QCOMPARE(int(found.fields.size()), 5 + 10);
    QVERIFY(!file.touchedImage);
    QVERIFY2(file.reads < 60, qPrintable(QString::number(file.reads)));
    QVERIFY2(file.bytesRead < 8 * 1024, qPrintable(QString::number(file.bytesRead)));
}

void TestCr3Format::sniff_data()
{
    QTest::addColumn<Bytes>("head");
    QTest::addColumn<bool>("claimed");
    QTest::newRow("crx") << isotest::ftyp("crx ", {"crx ", "isom"}).bytes() << true;
    QTest::newRow("crx among the compatible brands only") << isotest::ftyp("isom", {"crx "}).bytes() << false;
    QTest::newRow("heic") << isotest::ftyp("heic", {"mif1", "heic"}).bytes() << false;
    QTest::newRow("crx without its space") << isotest::ftyp("crxx", {}).bytes() << false;
    QTest::newRow("cut before the brand ends") << Bytes{0, 0, 0, 16, 'f', 't', 'y', 'p', 'c', 'r', 'x'} << false;
    QTest::newRow("crx where no ftyp is") << Bytes{0, 0, 0, 16, 'f', 'r', 'e', 'e', 'c', 'r', 'x', ' '} << false;
}

void TestCr3Format::sniff()
{
    QFETCH(Bytes, head);
    QTEST(Cr3Format().sniff(head.data(), std::min(head.size(), FileFormat::sniffBytes)), "claimed");
}

QTEST_APPLESS_MAIN(TestCr3Format)
#include "tst_cr3format.moc"
