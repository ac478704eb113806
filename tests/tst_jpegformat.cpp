// The JPEG format: what it reads of a header, every copy of the capture time
// it lists there (EXIF, XMP, IPTC and its digest), the move of those fields
// by a date shift, and the MD5 behind the digest. Most cases build a picture
// twice, once with the capture time and once with the shifted time, and
// expect the fields of the first, moved, to turn it into the second, byte
// for byte.
#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>

#include "dateshift.h"
#include "jpegbuilder.h"
#include "jpegformat.h"
#include "md5.h"
#include "xmppacket.h"

using jpegtest::Bytes;
using jpegtest::ByteOrder;
using jpegtest::ExifBlock;
using jpegtest::extendedXmpPayload;
using jpegtest::IptcBlock;
using jpegtest::Jpeg;
using jpegtest::readFile;
using jpegtest::writeFile;
using XmpBuilder = jpegtest::XmpPacket;
namespace tag = jpegtest::tag;

namespace {

// A capture time in the forms a header spells it.
struct Capture {
    std::string exif;   // "YYYY:MM:DD HH:MM:SS"
    std::string iso() const
    {
        std::string s = exif;
        s[4] = s[7] = '-';
        s[10] = 'T';
        return s;
    }
    std::string ymd() const { return exif.substr(0, 4) + exif.substr(5, 2) + exif.substr(8, 2); }
    std::string hms() const { return exif.substr(11, 2) + exif.substr(14, 2) + exif.substr(17, 2); }
    WallClock clock() const
    {
        WallClock t;
        DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(exif.data()), exif.size(), &t);
        return t;
    }
};

const Capture kOriginal{"2008:03:16 10:52:01"};
const Capture kShifted{"2011:12:31 23:59:30"};   // every field differs
const int64_t kSeconds = DateCodec::toEpochSeconds(kShifted.clock()) - DateCodec::toEpochSeconds(kOriginal.clock());

} // namespace

using Build = std::function<Jpeg(const Capture &)>;
using Parts = std::function<void(const Capture &, Jpeg &)>;
Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(Bytes)

namespace {

Bytes md5Of(const Bytes &data)
{
    const QByteArray d = QCryptographicHash::hash(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data.data()), int(data.size())),
        QCryptographicHash::Md5);
    return Bytes(d.begin(), d.end());
}

ExifBlock exifDates(const Capture &t, const std::string &dateTime = {}, const std::string &original = {})
{
    ExifBlock e(ByteOrder::Motorola);
    const int sub = e.addDirectory();
    e.ascii(0, tag::Make, "Canon").ascii(0, tag::Model, "Canon EOS 5D")
        .ascii(0, tag::DateTime, dateTime.empty() ? t.exif : dateTime).subDirectory(0, tag::ExifIfd, sub)
        .ascii(sub, tag::DateTimeOriginal, original.empty() ? t.exif : original)
        .ascii(sub, tag::DateTimeDigitized, t.exif);
    return e;
}

// A camera picture (EXIF with three copies of the time) with more segments
// between its EXIF block and its frame.
Build picture(Parts more)
{
    return [more](const Capture &t) {
        Jpeg j;
        j.soi().app1(exifDates(t));
        more(t, j);
        j.dqt().sof(480, 640).sos().scanData(64).eoi();
        return j;
    };
}

Build withXmp(std::function<void(const Capture &, XmpBuilder &)> fill)
{
    return picture([fill](const Capture &t, Jpeg &j) {
        XmpBuilder x;
        fill(t, x);
        j.xmp(x);
    });
}

// Digest: "" none, "current" the MD5 of the data, anything else 16 fixed bytes.
Build withIptc(std::function<void(const Capture &, IptcBlock &)> fill, const std::string &digest = {})
{
    return picture([fill, digest](const Capture &t, Jpeg &j) {
        IptcBlock i;
        fill(t, i);
        if (digest == "current")
            i.digest(md5Of(i.iim()));
        else if (!digest.empty())
            i.digest(Bytes(16, uint8_t(digest[0])));
        j.app13(i);
    });
}

// What the format found in a file and the plan that moves it by kSeconds.
struct Found {
    bool located = false;
    bool planned = false;
    FoundDates dates;
    DateShift::Plan plan;
    bool exifOnly = false;

    int moved(DateEncoding e) const
    {
        const auto it = plan.moved.find(e);
        return it == plan.moved.end() ? 0 : it->second;
    }
    // The encoding of the field a run moves; none for a digest.
    bool isExifText(const DateShift::Run &run) const
    {
        return std::any_of(dates.fields.begin(), dates.fields.end(), [&run](const DateField &f) {
            return f.offset == run.offset && f.encoding == DateEncoding::ExifText;
        });
    }
};

Found find(const Bytes &bytes, bool exifOnly = false)
{
    Found f;
    f.exifOnly = exifOnly;
    MemorySource file(bytes);
    f.located = JpegFormat().locate(file, &f.dates);
    f.planned = DateShift::plan(file, f.dates.fields, f.dates.derived, kOriginal.clock(), kSeconds, exifOnly, &f.plan);
    return f;
}

// The counts a shift reports. An IPTC date and time pair counts once; with
// EXIF text only, nothing beyond it is reported.
QString describe(const Found &f)
{
    return QString("exif %1 xmp %2 iptc %3 extended %4 digest %5/%6")
        .arg(f.moved(DateEncoding::ExifText)).arg(f.moved(DateEncoding::XmpText)).arg(f.moved(DateEncoding::IptcDate))
        .arg(f.exifOnly ? 0 : f.dates.extendedXmp).arg(f.plan.digestsUpdated).arg(f.exifOnly ? 0 : f.dates.digestsLeft);
}

// Sorted, apart, inside, and each new text as long as the bytes it replaces,
// which are the bytes the run says it replaces.
bool wellFormed(const std::vector<DateShift::Run> &runs, const Bytes &bytes)
{
    uint64_t end = 0;
    for (const DateShift::Run &r : runs) {
        if (r.offset < end || r.offset + r.to.size() > bytes.size() || r.from.size() != r.to.size()
            || r.to.empty() || r.from != std::string(bytes.begin() + ptrdiff_t(r.offset), bytes.begin() + ptrdiff_t(r.offset + r.from.size())))
            return false;
        end = r.offset + r.to.size();
    }
    return true;
}

Bytes patched(Bytes bytes, const std::vector<DateShift::Run> &runs)
{
    for (const DateShift::Run &r : runs)
        std::copy(r.to.begin(), r.to.end(), bytes.begin() + ptrdiff_t(r.offset));
    return bytes;
}

// The XMP copies of a sidecar file, whose bytes are one XMP packet, moved.
Found findInSidecar(const Bytes &bytes)
{
    Found f;
    MemorySource file(bytes);
    const ConstByteView packet(bytes.data(), bytes.size());
    f.dates.fields = XmpPacket::findCopies(packet, 0, kOriginal.clock());
    f.located = true;
    f.planned = DateShift::plan(file, f.dates.fields, {}, kOriginal.clock(), kSeconds, false, &f.plan);
    return f;
}

Bytes text(const std::string &s) { return Bytes(s.begin(), s.end()); }

// The bytes of a picture with EXIF, XMP in both forms, extended XMP and IPTC
// with its digest, all holding the capture time.
Jpeg everything(const Capture &t)
{
    XmpBuilder x;
    x.attribute("xmp:CreateDate", t.iso() + "-04:00").attribute("xmp:MetadataDate", "2013:01:02T09:00:00Z")
        .element("exif:DateTimeOriginal", t.iso() + ".50").element("photoshop:DateCreated", t.iso());
    IptcBlock i;
    i.dataset(2, 55, t.ymd()).dataset(2, 60, t.hms() + "-0400").dataset(2, 120, "Harbour at dawn");
    i.digest(md5Of(i.iim()));
    Jpeg j;
    j.soi().app1(exifDates(t)).xmp(x)
        .segment(0xE1, extendedXmpPayload("0123456789ABCDEF0123456789ABCDEF", 60, 0,
                                          "<exif:DateTimeOriginal>2008-03-16T10:52:01</exif:DateTimeOriginal>"))
        .app13(i).dqt().sof(480, 640).sos().scanData(64).eoi();
    return j;
}

// A source whose reads past `limit` fail, as a file on a failing disk does.
class FailingSource : public ByteSource {
public:
    FailingSource(const Bytes &bytes, uint64_t limit) : inner(bytes), limit(limit) {}
    uint64_t size() const override { return inner.size(); }
    bool readAt(uint64_t offset, void *to, size_t n) override
    {
        return offset + n <= limit && inner.readAt(offset, to, n);
    }

private:
    MemorySource inner;
    uint64_t limit;
};

} // namespace

class TestJpegFormat : public QObject {
    Q_OBJECT
private slots:
    void md5_data();
    void md5();
    void md5AgreesInPieces();
    void copies_data();
    void copies();
    void exifOnlyIsTheBlindSearch();
    void cutHeadersStayInside();
    void header_data();
    void header();
    void headerEndIsWhereTheReaderStops_data();
    void headerEndIsWhereTheReaderStops();
    void theCaptureFieldIsDateTimeOriginal();
    void readFailures();
    void sidecar_data();
    void sidecar();
    void exiftoolReadsTheShiftedCopies();
};

void TestJpegFormat::md5_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("digest");
    // The test suite of RFC 1321, and the lengths around the padding's edges.
    const char *rfc[][2] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto &r : rfc)
        QTest::newRow(r[0]) << QByteArray(r[0]) << QByteArray(r[1]);
    for (int n : {55, 56, 63, 64, 65, 119, 120, 128, 100000}) {
        const QByteArray m(n, 'k');
        QTest::newRow(qPrintable(QString("%1 bytes").arg(n)))
            << m << QCryptographicHash::hash(m, QCryptographicHash::Md5).toHex();
    }
}

void TestJpegFormat::md5()
{
    QFETCH(QByteArray, message);
    const Md5::Digest d = Md5::of(ConstByteView(reinterpret_cast<const unsigned char *>(message.constData()),
                                                size_t(message.size())));
    QTEST(QByteArray(reinterpret_cast<const char *>(d.data()), int(d.size())).toHex(), "digest");
}

void TestJpegFormat::md5AgreesInPieces()
{
    // Random data fed in random pieces gives the digest of the whole.
    QRandomGenerator random(20080316);
    for (int round = 0; round < 200; ++round) {
        QByteArray data(int(random.bounded(3000)), Qt::Uninitialized);
        for (char &c : data)
            c = char(random.bounded(256));
        Md5 md5;
        for (int at = 0; at < data.size();) {
            const int n = qMin(data.size() - at, int(random.bounded(150)));
            md5.add(ConstByteView(reinterpret_cast<const unsigned char *>(data.constData()) + at, size_t(n)));
            at += n;
        }
        const Md5::Digest d = md5.finish();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(d.data()), 16),
                 QCryptographicHash::hash(data, QCryptographicHash::Md5));
    }
}

void TestJpegFormat::copies_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QString>("counts");
    auto row = [](const char *name, Build b, const char *counts) { QTest::newRow(name) << b << QString(counts); };
    auto xmp = [](std::function<void(const Capture &, XmpBuilder &)> fill) { return withXmp(fill); };
    auto none = [](const Capture &, Jpeg &) {};

    row("EXIF copies only", picture(none), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    // The decoder would write into the block here (the comment's trailing
    // spaces): it reads it again from a copy, with the same result.
    row("EXIF with a UserComment ending in spaces", [](const Capture &t) {
        ExifBlock e = exifDates(t);
        const std::string comment("ASCII\0\0\0Hello   ", 16);
        e.value(1, tag::UserComment, jpegtest::format::Undefined, uint32_t(comment.size()), Bytes(comment.begin(), comment.end()));
        return Jpeg::camera(e);
    }, "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("EXIF: a later DateTime stays", [](const Capture &t) {
        return Jpeg::camera(exifDates(t, "2013:01:02 09:00:00"));
    }, "exif 2 xmp 0 iptc 0 extended 0 digest 0/0");

    // XMP: every value equal to the capture time to the second, whatever its property.
    row("XMP attribute with zone", xmp([](const Capture &t, XmpBuilder &x) {
        x.attribute("xmp:CreateDate", t.iso() + "-04:00");
    }), "exif 3 xmp 1 iptc 0 extended 0 digest 0/0");
    row("XMP element with fraction", xmp([](const Capture &t, XmpBuilder &x) {
        x.element("exif:DateTimeOriginal", t.iso() + ".50");
    }), "exif 3 xmp 1 iptc 0 extended 0 digest 0/0");
    row("XMP fraction and Z, bare, +0100, +02", xmp([](const Capture &t, XmpBuilder &x) {
        x.element("xmp:CreateDate", t.iso() + ".123456Z").attribute("photoshop:DateCreated", t.iso())
            .attribute("xmp:ModifyDate", t.iso() + "+0100").element("xmp:MetadataDate", t.iso() + "+02");
    }), "exif 3 xmp 4 iptc 0 extended 0 digest 0/0");
    row("XMP white space, single quotes, list item", xmp([](const Capture &t, XmpBuilder &x) {
        x.element("xmp:CreateDate", "\n    " + t.iso() + "-04:00\n   ")
            .raw("   <exif:DateTimeDigitized rdf:value='" + t.iso() + "'/>\n")
            .raw("   <dc:date><rdf:Seq><rdf:li>" + t.iso() + "</rdf:li></rdf:Seq></dc:date>\n");
    }), "exif 3 xmp 3 iptc 0 extended 0 digest 0/0");
    // Whatever follows the date-time inside its value stays as written.
    row("XMP malformed zone after a fraction", xmp([](const Capture &t, XmpBuilder &x) {
        x.attribute("xmp:CreateDate", t.iso() + ".0+1:00").element("exif:DateTimeOriginal", t.iso() + ".0+1:00");
    }), "exif 3 xmp 2 iptc 0 extended 0 digest 0/0");
    row("XMP zones spelled oddly", xmp([](const Capture &t, XmpBuilder &x) {
        x.attribute("dc:rights", t.iso() + "+1").attribute("xmp:ModifyDate", t.iso() + "-4:0")
            .element("xmp:MetadataDate", t.iso() + " +0100 ").element("photoshop:DateCreated", t.iso() + "+02:00:00");
    }), "exif 3 xmp 4 iptc 0 extended 0 digest 0/0");
    // Words after it make the value the user's text, not a date.
    row("XMP other text after the date-time", xmp([](const Capture &, XmpBuilder &x) {
        x.attribute("dc:source", "2008-03-16T10:52:01 roll 4").attribute("dc:format", "2008-03-16T10:52:01'")
            .element("dc:identifier", "2008-03-16T10:52:01\"").element("dc:title", "2008-03-16T10:52:01 Birthday");
    }), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("XMP values that are not the capture time", xmp([](const Capture &, XmpBuilder &x) {
        x.attribute("xmp:MetadataDate", "2008-03-16T10:52:02")       // another second
            .attribute("xmp:ModifyDate", "2008-03-16T10:52")         // minutes only
            .attribute("xmp:CreateDate", "2008-03-16")               // a date only
            .attribute("dc:rights", "2008-03-16T10:52:015")          // seconds that go on
            .attribute("dc:format", "2008-03-16T10:52:01" + std::string(65, 'Z'))   // too much after it
            .raw("   <dc:source s='2008-03-16T10:52:01/><b a='x'/>\n")   // a quote closed past markup
            .element("dc:title", "on 2008-03-16T10:52:01");
    }), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("extended XMP is left alone", picture([](const Capture &, Jpeg &j) {
        j.segment(0xE1, extendedXmpPayload("0123456789ABCDEF0123456789ABCDEF", 100, 0,
                                           "<xmp:CreateDate>2008-03-16T10:52:01</xmp:CreateDate>"));
        j.segment(0xE1, extendedXmpPayload("0123456789ABCDEF0123456789ABCDEF", 100, 50, "xmp:CreateDate='2008-03-16T10:52:01'"));
    }), "exif 3 xmp 0 iptc 0 extended 2 digest 0/0");
    row("other APP1 and APP2 names are not XMP", picture([](const Capture &, Jpeg &j) {
        j.segment(0xE1, text(std::string("http://ns.adobe.com/xap/1.0/x", 29) + "<a>2008-03-16T10:52:01</a>"));
        j.segment(0xE1, text("http://ns.adobe.com/xap/1.0/<a>2008-03-16T10:52:01</a>"));
        j.segment(0xE2, text(std::string("http://ns.adobe.com/xap/1.0/\0", 29) + "<a>2008-03-16T10:52:01</a>"));
    }), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("XMP after the start of scan is not searched", [](const Capture &t) {
        XmpBuilder x;
        x.element("xmp:CreateDate", "2008-03-16T10:52:01");
        Jpeg j;
        j.soi().app1(exifDates(t)).sof(8, 8).sos().raw({0xFF, 0xE1, 0x01, 0x00}).raw(x.app1Payload()).eoi();
        return j;
    }, "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("XMP past the segments the reader holds, inside the first 4096 bytes", [](const Capture &t) {
        XmpBuilder x;
        x.element("xmp:CreateDate", t.iso());
        Jpeg j;
        j.soi().app1(exifDates(t));
        for (int i = 0; i < 25; ++i)
            j.segment(0xDB, Bytes(5, uint8_t(i)));
        j.xmp(x).sof(8, 8).sos().scanData(64).eoi();
        return j;
    }, "exif 3 xmp 1 iptc 0 extended 0 digest 0/0");

    // IPTC: date and time pairs, and the digest of the data.
    row("IPTC created pair with zone", withIptc([](const Capture &t, IptcBlock &i) {
        i.dataset(1, 90, "\x1B%G").dataset(2, 55, t.ymd()).dataset(2, 60, t.hms() + "-0400");
    }), "exif 3 xmp 0 iptc 1 extended 0 digest 0/0");
    row("IPTC both pairs, time without zone, resource with a name before", withIptc([](const Capture &t, IptcBlock &i) {
        i.resource(0x03ED, "res", Bytes(16, 1)).resource(0x040C, "", Bytes(3, 2))
            .dataset(2, 62, t.ymd()).dataset(2, 63, t.hms()).dataset(2, 55, t.ymd()).dataset(2, 60, t.hms() + "+0000");
    }), "exif 3 xmp 0 iptc 2 extended 0 digest 0/0");
    row("IPTC with its digest", withIptc([](const Capture &t, IptcBlock &i) {
        i.dataset(2, 55, t.ymd()).dataset(2, 60, t.hms() + "-0400");
    }, "current"), "exif 3 xmp 0 iptc 1 extended 0 digest 1/0");
    row("IPTC with a digest that did not match", withIptc([](const Capture &t, IptcBlock &i) {
        i.dataset(2, 55, t.ymd()).dataset(2, 60, t.hms() + "-0400");
    }, "x"), "exif 3 xmp 0 iptc 1 extended 0 digest 0/1");
    row("IPTC pairs that are not the capture time", withIptc([](const Capture &, IptcBlock &i) {
        i.dataset(2, 55, "20080316").dataset(2, 60, "105202-0400")   // another second
            .dataset(2, 62, "20080316").dataset(2, 63, "10520");     // a time too short
    }, "current"), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("IPTC without the time keeps a digest that did not match", withIptc([](const Capture &, IptcBlock &i) {
        i.dataset(2, 55, "20080316").dataset(2, 60, "105202").dataset(2, 120, "a caption");
    }, "x"), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("IPTC date without a time", withIptc([](const Capture &, IptcBlock &i) {
        i.dataset(2, 55, "20080316").dataset(2, 63, "105201");   // a date of one pair, a time of the other
    }), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("EXIF text in an IPTC caption moves the digest", withIptc([](const Capture &t, IptcBlock &i) {
        i.dataset(2, 120, "Taken " + t.exif + " at the harbour");
    }, "current"), "exif 4 xmp 0 iptc 0 extended 0 digest 1/0");
    row("IPTC resource cut by its segment", picture([](const Capture &, Jpeg &j) {
        IptcBlock i;
        i.dataset(2, 55, "20080316").dataset(2, 60, "105201");
        Bytes p = i.app13Payload();
        p[14 + 11] += 1;   // the resource's size one byte past the segment
        j.segment(0xED, p);
    }), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("IPTC after an unknown resource signature", picture([](const Capture &, Jpeg &j) {
        IptcBlock i;
        i.dataset(2, 55, "20080316").dataset(2, 60, "105201");
        Bytes p = i.app13Payload();
        p[14] = 'X';
        j.segment(0xED, p);
    }), "exif 3 xmp 0 iptc 0 extended 0 digest 0/0");
    row("everything", everything, "exif 3 xmp 3 iptc 1 extended 1 digest 1/0");
}

void TestJpegFormat::copies()
{
    QFETCH(Build, build);
    const Bytes before = build(kOriginal).bytes();
    const Found f = find(before);
    QVERIFY(f.located && f.planned);
    QVERIFY(wellFormed(f.plan.runs, before));
    QTEST(describe(f), "counts");
    // Each field lists the bytes it stood for, and an IPTC time moves with its date.
    for (const DateField &d : f.dates.fields)
        QVERIFY(d.value == std::string(before.begin() + ptrdiff_t(d.offset), before.begin() + ptrdiff_t(d.offset + d.width)));
    QCOMPARE(f.moved(DateEncoding::IptcTime), f.moved(DateEncoding::IptcDate));
    const Bytes after = patched(before, f.plan.runs);
    QCOMPARE(after.size(), before.size());
    QVERIFY2(after == build(kShifted).bytes(), "the runs do not turn the picture into the shifted one");
}

void TestJpegFormat::exifOnlyIsTheBlindSearch()
{
    // Asked for EXIF text only, the plan moves exactly what the full plan
    // moves in EXIF form, and that is every 19-byte copy of the text in the
    // header region, including one in scan data and one that ends on the
    // last byte.
    Jpeg j = everything(kOriginal);
    j.raw(text(kOriginal.exif));
    const Bytes bytes = j.bytes();
    const Found exifOnly = find(bytes, true);
    const Found all = find(bytes);
    std::vector<uint64_t> expected, fromAll, fromExifOnly;
    const std::string hay(bytes.begin(), bytes.end());
    for (size_t at = hay.find(kOriginal.exif); at != std::string::npos; at = hay.find(kOriginal.exif, at + 19))
        expected.push_back(at);
    for (const DateShift::Run &r : all.plan.runs)
        if (all.isExifText(r))
            fromAll.push_back(r.offset);
    for (const DateShift::Run &r : exifOnly.plan.runs) {
        QVERIFY(exifOnly.isExifText(r));
        QCOMPARE(r.to, kShifted.exif);
        fromExifOnly.push_back(r.offset);
    }
    QCOMPARE(expected.size(), size_t(4));
    QCOMPARE(fromExifOnly, expected);
    QCOMPARE(fromAll, expected);
    QCOMPARE(describe(exifOnly), QString("exif 4 xmp 0 iptc 0 extended 0 digest 0/0"));

    // A capture text that is no date is told as it stands, and has no fields.
    const Bytes blank = Jpeg::camera(exifDates({"    :  :     :  :  "})).bytes();
    const Found odd = find(blank);
    QVERIFY(odd.located && odd.dates.hasMetadata);
    QCOMPARE(odd.dates.captureText, std::string("    :  :     :  :  "));
    QCOMPARE(odd.dates.fields.size(), size_t(0));
}

void TestJpegFormat::cutHeadersStayInside()
{
    // Every prefix of a rich header, in a buffer of exactly its size (the
    // sanitizer build catches any read past it): runs stay inside it, and
    // those beyond EXIF form are runs of the whole header.
    const Bytes whole = everything(kOriginal).bytes();
    const Found full = find(whole);
    for (size_t n = 0; n <= whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + ptrdiff_t(n));
        const Found f = find(cut);
        QVERIFY2(wellFormed(f.plan.runs, cut), qPrintable(QString("cut at %1").arg(n)));
        QVERIFY2(f.dates.headerEnd <= n, qPrintable(QString("cut at %1").arg(n)));
        for (const DateShift::Run &r : f.plan.runs) {
            if (f.isExifText(r))
                continue;
            const bool inFull = std::any_of(full.plan.runs.begin(), full.plan.runs.end(), [&](const DateShift::Run &g) {
                return g.offset == r.offset && g.to == r.to;
            });
            QVERIFY2(inFull, qPrintable(QString("cut at %1: a run at %2").arg(n).arg(r.offset)));
        }
    }
}

void TestJpegFormat::header_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<bool>("jpeg");
    QTest::addColumn<QString>("read");   // hasMetadata, captureText, make, model, field count
    auto row = [](const char *name, const Bytes &b, bool jpeg, const char *read) {
        QTest::newRow(name) << b << jpeg << QString(read);
    };
    const Jpeg camera = Jpeg::camera(exifDates(kOriginal));

    row("camera", camera.bytes(), true, "1|2008:03:16 10:52:01|Canon|Canon EOS 5D|3");
    row("no EXIF", Jpeg().soi().dqt().sof(8, 8).sos().eoi().bytes(), true, "0||||0");
    row("not a day", Jpeg::camera(exifDates(kOriginal, {}, "2008:02:30 10:52:01")).bytes(), true,
        "1|2008:02:30 10:52:01|Canon|Canon EOS 5D|0");
    row("a date only", Jpeg::camera(exifDates(kOriginal, {}, "2008:03:16")).bytes(), true,
        "1|2008:03:16|Canon|Canon EOS 5D|0");
    row("year 999", Jpeg::camera(exifDates(kOriginal, {}, "0999:03:16 10:52:01")).bytes(), true,
        "1|0999:03:16 10:52:01|Canon|Canon EOS 5D|0");
    row("a broken EXIF block, then a good one", Jpeg().soi().segment(0xE1, text(std::string("Exif\0\0XX", 8)))
        .app1(exifDates(kOriginal)).sos().eoi().bytes(), true, "1|2008:03:16 10:52:01|Canon|Canon EOS 5D|3");
    row("a second EXIF block is not the picture's", Jpeg().soi().app1(exifDates(kOriginal))
        .app1(exifDates(kShifted)).sos().eoi().bytes(), true, "1|2008:03:16 10:52:01|Canon|Canon EOS 5D|3");
    row("cut in the EXIF block", Bytes(camera.bytes().begin(), camera.bytes().begin() + 40), true, "0||||0");
    row("TIFF", text(std::string("II*\0\x08\0\0\0", 8)), false, "0||||0");
    row("one byte", Bytes{0xFF}, false, "0||||0");
    row("empty", Bytes{}, false, "0||||0");
}

void TestJpegFormat::header()
{
    QFETCH(Bytes, bytes);
    QFETCH(bool, jpeg);
    MemorySource file(bytes);
    FoundDates found;
    QCOMPARE(JpegFormat().locate(file, &found), jpeg);
    QCOMPARE(JpegFormat().sniff(bytes.data(), std::min<size_t>(bytes.size(), FileFormat::sniffBytes)), jpeg);
    const QString read = QString("%1|%2|%3|%4|%5").arg(int(found.hasMetadata)).arg(found.captureText.c_str())
                             .arg(found.make.c_str()).arg(found.model.c_str()).arg(found.fields.size());
    QTEST(read, "read");
    QVERIFY(found.headerEnd <= bytes.size());
}

void TestJpegFormat::headerEndIsWhereTheReaderStops_data()
{
    // The worker reads a picture's header up to here: just past the start of
    // scan's segment, or wherever the walk had to stop.
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<int>("end");   // 0 or less: counted back from the end of the file
    const Bytes camera = Jpeg::camera(exifDates(kOriginal), 300).bytes();
    Jpeg many;
    many.soi();
    for (int i = 0; i < 22; ++i)
        many.segment(0xDB, Bytes(3, 0));
    QTest::newRow("just past the start of scan") << camera << -302;
    QTest::newRow("held segments run out") << many.sos().bytes() << 2 + 20 * 7;
    QTest::newRow("APP0 and comments are not held") << [] {
        Jpeg j;
        j.soi();
        for (int i = 0; i < 30; ++i)
            j.segment(0xE0, Bytes(3, 0)).comment("c");
        return j.sos().bytes();
    }() << 0;
    QTest::newRow("seven fill bytes") << Jpeg().soi().raw(Bytes(7, 0xFF)).sos().bytes() << 9;
    QTest::newRow("length 1") << Jpeg().soi().raw({0xFF, 0xDB, 0, 1, 5, 5}).bytes() << 6;
    QTest::newRow("cut payload") << Jpeg().soi().raw({0xFF, 0xDB, 0, 9, 1}).bytes() << 0;
    QTest::newRow("end of image") << Jpeg().soi().segment(0xD9, {}).dqt().sos().bytes() << 6;
    QTest::newRow("not a JPEG") << text("GIF89a") << 1;
}

void TestJpegFormat::headerEndIsWhereTheReaderStops()
{
    QFETCH(Bytes, bytes);
    QFETCH(int, end);
    const Found f = find(bytes);
    QCOMPARE(f.dates.headerEnd, uint64_t(end <= 0 ? int(bytes.size()) + end : end));
}

void TestJpegFormat::theCaptureFieldIsDateTimeOriginal()
{
    // Only DateTimeOriginal holds the time: its one field is the capture.
    const Bytes alone = Jpeg::camera(exifDates(kShifted, {}, kOriginal.exif)).bytes();
    const Found a = find(alone);
    QCOMPARE(a.dates.fields.size(), size_t(1));
    QCOMPARE(int(a.dates.fields[0].role), int(DateRole::Capture));

    // With its copies around it, it is still the one capture field.
    const Found all = find(Jpeg::camera(exifDates(kOriginal)).bytes());
    QCOMPARE(all.dates.fields.size(), size_t(3));
    for (const DateField &f : all.dates.fields)
        QCOMPARE(int(f.role), int(f.offset == a.dates.fields[0].offset ? DateRole::Capture : DateRole::Copy));

    // Its text copied in a segment before the EXIF block: still the one in the block.
    const Bytes early = Jpeg().soi().comment(kOriginal.exif).app1(exifDates(kShifted, {}, kOriginal.exif)).sos().bytes();
    const Found e = find(early);
    QCOMPARE(e.dates.fields.size(), size_t(2));
    QCOMPARE(int(e.dates.fields[0].role), int(DateRole::Copy));
    QCOMPARE(int(e.dates.fields[1].role), int(DateRole::Capture));
}

void TestJpegFormat::readFailures()
{
    // A read that fails anywhere the format reads fails the whole locate.
    const Bytes bytes = everything(kOriginal).bytes();
    for (uint64_t limit : {uint64_t(0), uint64_t(1), uint64_t(100), uint64_t(1000), uint64_t(bytes.size() - 1)}) {
        FailingSource file(bytes, limit);
        FoundDates found;
        QVERIFY2(!JpegFormat().locate(file, &found), qPrintable(QString("reads fail from %1").arg(limit)));
    }
    FailingSource file(bytes, 4096);   // the file is smaller: nothing fails
    FoundDates found;
    QVERIFY(JpegFormat().locate(file, &found));
    QCOMPARE(found.fields.size(), size_t(3 + 3 + 2));
}

void TestJpegFormat::sidecar_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("xmp");
    XmpBuilder packet[2];
    for (int i = 0; i < 2; ++i) {
        const Capture &t = i ? kShifted : kOriginal;
        packet[i].attribute("xmp:CreateDate", t.iso() + "-04:00").element("exif:DateTimeOriginal", t.iso() + ".5")
            .element("exif:DateTimeDigitized", "2008-03-16T10:52").attribute("tiff:DateTime", kOriginal.exif);
    }
    QTest::newRow("packet") << QByteArray::fromStdString(packet[0].text())
                            << QByteArray::fromStdString(packet[1].text()) << 2;
    QTest::newRow("value at the very start and end")
        << QByteArray(">2008-03-16T10:52:01<") << QByteArray(">2011-12-31T23:59:30<") << 1;
    QTest::newRow("malformed zone kept")
        << QByteArray("<a b=\"2008-03-16T10:52:01.0+1:00\"/>") << QByteArray("<a b=\"2011-12-31T23:59:30.0+1:00\"/>") << 1;
    QTest::newRow("cut after the value") << QByteArray("'2008-03-16T10:52:01Z") << QByteArray("'2008-03-16T10:52:01Z") << 0;
    QTest::newRow("no delimiter before") << QByteArray("2008-03-16T10:52:01\"") << QByteArray("2008-03-16T10:52:01\"") << 0;
    QTest::newRow("empty file") << QByteArray() << QByteArray() << 0;
}

void TestJpegFormat::sidecar()
{
    QFETCH(QByteArray, before);
    const Bytes bytes(before.begin(), before.end());
    const Found f = findInSidecar(bytes);
    QVERIFY(f.planned);
    QVERIFY(wellFormed(f.plan.runs, bytes));
    QTEST(f.moved(DateEncoding::XmpText), "xmp");
    QCOMPARE(f.moved(DateEncoding::ExifText), 0);
    const Bytes after = patched(bytes, f.plan.runs);
    QTEST(QByteArray(reinterpret_cast<const char *>(after.data()), int(after.size())), "after");
}

namespace {

// exiftool's view of a file's dates and IPTC digests: "[Group] Tag" -> value.
QMap<QString, QString> exiftoolDates(const QString &exiftool, const QString &path)
{
    QProcess p;
    p.start(exiftool, {"-a", "-G1", "-s", "-time:all", "-IPTCDigest", "-CurrentIPTCDigest", path});
    if (!p.waitForFinished(60000))
        return {};
    QMap<QString, QString> out;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const int colon = line.indexOf(": ");
        if (colon < 0 || line.startsWith("[System]"))
            continue;
        out.insert(QString::fromUtf8(line.left(colon)).simplified(), QString::fromUtf8(line.mid(colon + 2)).trimmed());
    }
    return out;
}

} // namespace

void TestJpegFormat::exiftoolReadsTheShiftedCopies()
{
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        QSKIP("exiftool is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    // 1. Our own picture, and one whose XMP, IPTC and digest exiftool wrote.
    const QString ours = dir.filePath("ours.jpg"), theirs = dir.filePath("theirs.jpg");
    const QString plain = dir.filePath("plain.jpg"), sidecar = dir.filePath("ours.xmp");
    QVERIFY(writeFile(ours.toStdString(), everything(kOriginal).bytes()));
    QVERIFY(writeFile(plain.toStdString(), Jpeg::camera(exifDates(kOriginal)).bytes()));
    QProcess write;
    write.start(exiftool, {"-q", "-o", theirs, "-XMP-xmp:CreateDate=2008:03:16 10:52:01-04:00",
                           "-XMP-exif:DateTimeOriginal=2008:03:16 10:52:01.25",
                           "-XMP-photoshop:DateCreated=2008:03:16 10:52:01", "-IPTC:DateCreated=2008:03:16",
                           "-IPTC:TimeCreated=10:52:01-04:00", "-IPTC:DigitalCreationDate=2008:03:16",
                           "-IPTC:DigitalCreationTime=10:52:01", "-IPTCDigest=new", plain});
    QVERIFY(write.waitForFinished(60000));
    QCOMPARE(write.exitCode(), 0);
    XmpBuilder packet;
    packet.attribute("xmp:CreateDate", kOriginal.iso() + "+02:00").element("exif:DateTimeOriginal", kOriginal.iso())
        .attribute("xmp:ModifyDate", kOriginal.iso() + ".0+1:00");
    QVERIFY(writeFile(sidecar.toStdString(), text(packet.text())));

    const QMap<QString, QString> theirsBefore = exiftoolDates(exiftool, theirs);
    QCOMPARE(theirsBefore.value("[Photoshop] IPTCDigest"), theirsBefore.value("[File] CurrentIPTCDigest"));

    for (const QString &path : {ours, theirs, sidecar}) {
        const Bytes bytes = readFile(path.toStdString());
        const Found f = path == sidecar ? findInSidecar(bytes) : find(bytes);
        QVERIFY(f.planned);
        QVERIFY(writeFile(path.toStdString(), patched(bytes, f.plan.runs)));
        if (path == theirs)
            QCOMPARE(describe(f), QString("exif 3 xmp 3 iptc 2 extended 0 digest 1/0"));
    }

    // 2. exiftool reads every copy shifted, and takes the IPTC digest for current.
    const QString s = "2011:12:31 23:59:30";
    const QMap<QString, QString> a = exiftoolDates(exiftool, ours);
    QCOMPARE(a.value("[IFD0] ModifyDate"), s);
    QCOMPARE(a.value("[ExifIFD] DateTimeOriginal"), s);
    QCOMPARE(a.value("[ExifIFD] CreateDate"), s);
    QCOMPARE(a.value("[XMP-xmp] CreateDate"), s + "-04:00");
    QCOMPARE(a.value("[XMP-xmp] MetadataDate"), QString("2013:01:02T09:00:00Z"));
    QCOMPARE(a.value("[XMP-exif] DateTimeOriginal"), s + ".50");
    QCOMPARE(a.value("[XMP-photoshop] DateCreated"), s);
    QCOMPARE(a.value("[IPTC] DateCreated"), QString("2011:12:31"));
    QCOMPARE(a.value("[IPTC] TimeCreated"), QString("23:59:30-04:00"));
    QVERIFY(!a.value("[Photoshop] IPTCDigest").isEmpty());
    QCOMPARE(a.value("[Photoshop] IPTCDigest"), a.value("[File] CurrentIPTCDigest"));

    const QMap<QString, QString> b = exiftoolDates(exiftool, theirs);
    QCOMPARE(b.size(), theirsBefore.size());
    for (auto it = theirsBefore.begin(); it != theirsBefore.end(); ++it) {
        if (it.key().endsWith("IPTCDigest"))
            continue;
        QString expected = it.value();
        expected.replace("2008:03:16", "2011:12:31").replace("10:52:01", "23:59:30");
        QCOMPARE(it.key() + " " + b.value(it.key()), it.key() + " " + expected);
    }
    QVERIFY(b.value("[Photoshop] IPTCDigest") != theirsBefore.value("[Photoshop] IPTCDigest"));
    QCOMPARE(b.value("[Photoshop] IPTCDigest"), b.value("[File] CurrentIPTCDigest"));

    const QMap<QString, QString> c = exiftoolDates(exiftool, sidecar);
    QCOMPARE(c.value("[XMP-xmp] CreateDate"), s + "+02:00");
    QCOMPARE(c.value("[XMP-exif] DateTimeOriginal"), s);
    QCOMPARE(c.value("[XMP-xmp] ModifyDate"), s + ".0+1:00");
}

QTEST_APPLESS_MAIN(TestJpegFormat)
#include "tst_jpegformat.moc"
