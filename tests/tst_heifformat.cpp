// HEIC, HEIF and AVIF: the Exif and XMP items found through iinf and iloc in
// every layout a writer uses, and damaged files that must give no fields.
#include <QtTest>

#include <functional>

#include "heifformat.h"
#include "isobmffbuilder.h"
#include "sparsesource.h"
#include "isobmffreader.h"
#include "samplefiles.h"

using isotest::Box;
using isotest::Heif;
using jpegtest::ByteOrder;
using jpegtest::Bytes;

Q_DECLARE_METATYPE(Bytes)

namespace {

const std::string kTime = "2008:03:16 10:52:01";

Bytes exifOf(ByteOrder order)
{
    return samples::camera(order, kTime).tiff();
}

std::string xmpPacket()
{
    jpegtest::XmpPacket x;
    x.attribute("xmp:CreateDate", samples::iso(kTime) + ".644").element("photoshop:DateCreated", samples::iso(kTime));
    return x.text();
}

FoundDates locate(const Bytes &file, bool *claimed = nullptr)
{
    MemorySource source(file);
    FoundDates found;
    const bool read = HeifFormat().locate(source, &found);
    if (claimed)
        *claimed = read;
    return found;
}

// The 32-bit big-endian value `at` bytes after the first `type` in `file` replaced.
Bytes patched(Bytes file, const char *type, long at, uint32_t value)
{
    const auto it = std::search(file.begin(), file.end(), type, type + 4);
    const size_t p = size_t(it - file.begin()) + size_t(at);
    file[p] = uint8_t(value >> 24);
    file[p + 1] = uint8_t(value >> 16);
    file[p + 2] = uint8_t(value >> 8);
    file[p + 3] = uint8_t(value);
    return file;
}

// A picture 'meta' with one Exif item whose iloc claims `items` items of
// `extents` extents each, every field of size 0.
Bytes hugeCounts(uint16_t items, uint16_t extents)
{
    Box infe = Box::full("infe", 2);
    infe.number(1, 2).number(0, 2).add({'E', 'x', 'i', 'f'}).text("");
    Box iloc = Box::full("iloc", 1);
    iloc.number(0, 2).number(items, 2);
    for (int i = 0; i < 8; ++i)
        iloc.number(1, 2).number(0, 2).number(0, 2).number(extents, 2);
    Box hdlr = Box::full("hdlr", 0);
    hdlr.number(0, 4).add({'p', 'i', 'c', 't'}).number(0, 12).text("");
    Box meta = Box::full("meta", 0);
    meta.child(hdlr).child(Box::full("iinf", 0).number(1, 2).child(infe)).child(iloc);
    Bytes out = isotest::ftyp("heic", {"mif1"}).bytes(), m = meta.bytes();
    out.insert(out.end(), m.begin(), m.end());
    return out;
}

} // namespace

class TestHeifFormat : public QObject {
    Q_OBJECT
private slots:
    void located_data();
    void located();
    void damaged_data();
    void damaged();
    void cutAnywhere();
    void bigFileFewReads();
    void sniff_data();
    void sniff();
};

void TestHeifFormat::located_data()
{
    QTest::addColumn<Bytes>("file");
    QTest::addColumn<int>("fields");
    QTest::addColumn<qulonglong>("tiffAt");   // where the TIFF structure lies
    QTest::addColumn<qulonglong>("tiffLength");
    const Bytes mm = exifOf(ByteOrder::Motorola), ii = exifOf(ByteOrder::Intel);
    auto row = [](const char *name, const Heif &h, int fields) {
        QTest::newRow(name) << h.bytes() << fields << qulonglong(h.tiff().offset) << qulonglong(h.tiff().length);
    };
    row("Motorola order, Exif\\0\\0 before the header", Heif(mm), 3);
    row("Intel order, offset 0", Heif(ii).exifOffset(0), 3);
    row("offset 6 inside idat", Heif(mm).inIdat(), 3);
    row("offset 0 inside idat, Intel", Heif(ii).exifOffset(0).inIdat(), 3);
    row("three extents one after the other", Heif(mm).extents(3), 3);
    row("three extents inside idat", Heif(ii).inIdat().extents(3), 3);
    row("iloc version 0, 4-byte offsets and lengths", Heif(mm).iloc(0, 4, 4, 0), 3);
    row("iloc version 0, base offsets and no extent offsets", Heif(mm).iloc(0, 0, 4, 4), 3);
    row("iloc version 1, 8-byte fields and an index", Heif(ii).iloc(1, 8, 8, 8, 4), 3);
    row("iloc version 2, 32-bit item ids and counts", Heif(mm).iloc(2, 4, 8, 4, 8).infeVersion(3), 3);
    row("infe version 3", Heif(ii).infeVersion(3), 3);
    row("mdat with a 64-bit size", Heif(mm).largeMdat(), 3);
    row("mdat last with size 0", Heif(mm).lastSizeZero(), 3);
    row("meta after mdat", Heif(ii).metaAfterMdat(), 3);
    row("meta after mdat with size 0", Heif(mm).metaAfterMdat().lastSizeZero(), 3);
    row("meta after mdat, the item in idat", Heif(ii).metaAfterMdat().inIdat(), 3);
    row("an XMP item: an attribute with a fraction, an element", Heif(mm).xmp(xmpPacket()), 5);
    row("AVIF with an XMP item", Heif(ii).brand("avif", {"mif1", "avif", "miaf"}).xmp(xmpPacket()), 5);
    row("AVIF brand only among the compatible ones", Heif(ii).brand("miaf", {"avif"}), 3);
    const Heif late = Heif(mm).metaAfterMdat();
    Bytes trailer = Heif(ii).bytes();
    const Bytes junk = {0, 0, 0, 0, 0, 0, 0x12, 0x34, 'S', 'E', 'F', 'H', 0xFF, 0xFF, 0xFF, 0xFF};
    trailer.insert(trailer.end(), junk.begin(), junk.end());
    QTest::newRow("a trailer that is no box after the last box") << trailer << 3
                                                               << qulonglong(Heif(ii).tiff().offset)
                                                               << qulonglong(Heif(ii).tiff().length);
    Bytes trailerBehind = late.bytes();
    trailerBehind.insert(trailerBehind.end(), junk.begin(), junk.end());
    QTest::newRow("meta last, a trailer after it") << trailerBehind << 3 << qulonglong(late.tiff().offset)
                                                   << qulonglong(late.tiff().length);
    QTest::newRow("no Exif item") << Heif(mm).noExif().xmp(xmpPacket()).bytes() << 0 << 0ULL << 0ULL;
    QTest::newRow("extents apart: not in one piece") << Heif(mm).extents(2, 5).bytes() << 0 << 0ULL << 0ULL;
}

void TestHeifFormat::located()
{
    QFETCH(Bytes, file);
    QFETCH(int, fields);
    QFETCH(qulonglong, tiffAt);
    QFETCH(qulonglong, tiffLength);
    bool claimed = false;
    const FoundDates found = locate(file, &claimed);
    QVERIFY(claimed);
    QCOMPARE(int(found.fields.size()), fields);
    QCOMPARE(found.hasMetadata, fields > 0);
    if (fields == 0)
        return;
    QCOMPARE(found.captureText, kTime);
    QCOMPARE(found.make, std::string("Maker"));
    int captures = 0;
    for (size_t i = 0; i < found.fields.size(); ++i) {
        const DateField &f = found.fields[i];
        QVERIFY(f.offset + f.width <= file.size());
        QCOMPARE(std::string(file.begin() + long(f.offset), file.begin() + long(f.offset + f.width)), f.value);
        if (i > 0)
            QVERIFY(found.fields[i - 1].offset + found.fields[i - 1].width <= f.offset);
        captures += f.role == DateRole::Capture;
        // The EXIF texts lie inside the TIFF structure, where the builder put it.
        if (f.encoding == DateEncoding::ExifText)
            QVERIFY(f.offset >= tiffAt && f.offset + f.width <= tiffAt + tiffLength);
    }
    QCOMPARE(captures, 1);
}

void TestHeifFormat::damaged_data()
{
    QTest::addColumn<Bytes>("file");
    const Bytes mm = exifOf(ByteOrder::Motorola);
    const Bytes good = Heif(mm).bytes();
    QTest::newRow("Exif extent past the end") << Heif(mm).skewExtent(100000).bytes();
    QTest::newRow("Exif extent far past the end") << Heif(mm).iloc(1, 8, 8, 0).skewExtent(0, int64_t(1) << 62).bytes();
    QTest::newRow("Exif extent in idat past idat") << Heif(mm).inIdat().skewExtent(1).bytes();
    QTest::newRow("Exif extent pointing into meta") << Heif(mm).skewExtent(0, -4096 - 60).bytes();
    QTest::newRow("Exif extent of length 0") << Heif(mm).skewExtent(-int64_t(4 + 6 + mm.size())).bytes();
    QTest::newRow("offset to the TIFF header past the item") << Heif(mm).exifOffsetField(0xFFFFFFF0u).bytes();
    QTest::newRow("meta's size past the end") << patched(good, "meta", -4, 0xFFFFFF00u);
    QTest::newRow("iinf's size past meta's end") << patched(good, "iinf", -4, 0x10000u);
    QTest::newRow("hdlr's size below its own header") << patched(good, "hdlr", -4, 4);
    QTest::newRow("a 64-bit size below its own header") << patched(Heif(mm).largeMdat().bytes(), "mdat", 8, 0);
    QTest::newRow("mdat's size past the end") << patched(good, "mdat", -4, 0x7FFFFFFFu);
    QTest::newRow("iloc's item count beyond its box") << patched(good, "iloc", 6, 0xFFFF0000u);
    QTest::newRow("a handler other than pict") << patched(good, "hdlr", 12, 0x76696465u);
    QTest::newRow("iloc version 3") << patched(good, "iloc", 4, 0x03000000u);
    QTest::newRow("huge item and extent counts of empty extents") << hugeCounts(0xFFFF, 0xFFFF);
}

void TestHeifFormat::damaged()
{
    QFETCH(Bytes, file);
    QElapsedTimer clock;
    clock.start();
    const FoundDates found = locate(file);
    QVERIFY(found.fields.empty());
    QVERIFY(clock.elapsed() < 2000);
}

void TestHeifFormat::cutAnywhere()
{
    // Every prefix of a file with meta last and of one with meta first: a
    // box always runs past the cut, so none gives a field.
    for (const Bytes &file : {Heif(exifOf(ByteOrder::Intel)).metaAfterMdat().xmp(xmpPacket()).imageBytes(64).bytes(),
                              Heif(exifOf(ByteOrder::Motorola)).imageBytes(64).bytes()}) {
        QVERIFY(locate(file).fields.size() >= 3);
        for (size_t n = 0; n < file.size(); ++n) {
            const Bytes cut(file.begin(), file.begin() + long(n));
            QVERIFY2(locate(cut).fields.empty(), qPrintable(QString("%1 of %2").arg(n).arg(file.size())));
        }
    }
}

void TestHeifFormat::bigFileFewReads()
{
    // 5 GB of image data in a 64-bit mdat, meta after it: a few small reads,
    // none of them in the image data.
    const Heif heif = Heif(exifOf(ByteOrder::Motorola)).imageBytes(uint64_t(5) << 30).metaAfterMdat()
                          .iloc(1, 8, 8, 0).xmp(xmpPacket());
    isotest::SparseSource file(heif.sparse(), FileFormat::sniffBytes);
    FoundDates found;
    QVERIFY(HeifFormat().locate(file, &found));
    QCOMPARE(int(found.fields.size()), 5);
    QVERIFY(found.fields.front().offset > heif.image().offset + heif.image().length);
    QVERIFY(!file.touchedImage);
    QVERIFY2(file.reads < 40, qPrintable(QString::number(file.reads)));
    QVERIFY2(file.bytesRead < 64 * 1024, qPrintable(QString::number(file.bytesRead)));
}

void TestHeifFormat::sniff_data()
{
    QTest::addColumn<Bytes>("head");
    QTest::addColumn<bool>("claimed");
    auto head = [](const std::string &major, const std::vector<std::string> &compatible) {
        return isotest::ftyp(major, compatible).bytes();
    };
    QTest::newRow("heic") << head("heic", {"mif1", "heic"}) << true;
    QTest::newRow("Apple's: mif1, MiPr, miaf, MiHB, heic") << head("heic", {"mif1", "MiPr", "miaf", "MiHB", "heic"})
                                                          << true;
    QTest::newRow("avif") << head("avif", {"mif1", "avif"}) << true;
    QTest::newRow("an image sequence: msf1 only as compatible") << head("iso8", {"msf1"}) << true;
    QTest::newRow("mif1 past the first 64 bytes")
        << head("isom", {"iso2", "avc1", "mp41", "iso3", "iso4", "iso5", "iso6", "iso7", "iso8", "iso9", "isoa",
                         "isob", "mif1"}) << false;
    QTest::newRow("an MP4") << head("isom", {"isom", "iso2", "avc1", "mp41"}) << false;
    QTest::newRow("a CR3") << head("crx ", {"crx ", "isom"}) << false;
    QTest::newRow("heic as the minor version only") << Bytes{0, 0, 0, 16, 'f', 't', 'y', 'p', 'i', 's', 'o', 'm',
                                                             'h', 'e', 'i', 'c'} << false;
    QTest::newRow("a brand in the next box, not ftyp's") << Bytes{0, 0, 0, 12, 'f', 't', 'y', 'p', 'i', 's', 'o',
                                                                  'm', 'm', 'i', 'f', '1'} << false;
    QTest::newRow("ftyp elsewhere") << Bytes{0, 0, 0, 0, 0, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'} << false;
}

void TestHeifFormat::sniff()
{
    QFETCH(Bytes, head);
    const size_t n = std::min(head.size(), FileFormat::sniffBytes);
    QTEST(HeifFormat().sniff(head.data(), n), "claimed");
}

QTEST_APPLESS_MAIN(TestHeifFormat)
#include "tst_heifformat.moc"
