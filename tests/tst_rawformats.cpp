// The RAW containers that keep their capture time in a block of their own:
// RAF (an embedded JPEG), MRW (a TIFF block), CRW (seconds in a CIFF heap),
// X3F (claimed, never written). What each finds in a camera's file and in
// odd ones, that a shift of the fields turns a file into the one built with
// the shifted time, that damage of every kind gives no field, that no read
// touches image data, and that an outside reader agrees.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "dateshift.h"
#include "formatlist.h"
#include "rawbuilder.h"
#include "samplefiles.h"

using jpegtest::ByteOrder;
using jpegtest::Bytes;
using jpegtest::Jpeg;
using rawtest::CiffHeap;
using rawtest::Crw;
using rawtest::Mrw;
using rawtest::Raf;
using rawtest::Span;
namespace ciff = rawtest::ciff;

namespace {

const std::string kTime = "2005:04:23 17:54:36";

// A file as a format reads it, every read noted.
class CountingSource : public MemorySource {
public:
    explicit CountingSource(const Bytes &bytes) : MemorySource(bytes) {}
    bool readAt(uint64_t offset, void *to, size_t n) override
    {
        reads.push_back({offset, n});
        return MemorySource::readAt(offset, to, n);
    }
    const unsigned char *peek(uint64_t offset, size_t n) override
    {
        reads.push_back({offset, n});
        return MemorySource::peek(offset, n);
    }
    bool touches(const Span &s) const
    {
        for (const Span &r : reads)
            if (r.length && r.offset < s.offset + s.length && s.offset < r.offset + r.length)
                return true;
        return false;
    }
    uint64_t total() const
    {
        uint64_t sum = 0;
        for (const Span &r : reads)
            sum += r.length;
        return sum;
    }
    std::vector<Span> reads;
};

const FileFormat *claimer(const Bytes &bytes)
{
    return FormatList::forContent(bytes.data(), std::min(bytes.size(), FileFormat::sniffBytes));
}

FoundDates locate(const Bytes &bytes, bool *ok = nullptr)
{
    FoundDates found;
    MemorySource file(bytes);
    const FileFormat *f = claimer(bytes);
    const bool located = f && f->locate(file, &found);
    if (ok)
        *ok = located;
    return found;
}

// The fields lie in the file, sorted and apart, and hold what they say.
bool sound(const Bytes &bytes, const FoundDates &found)
{
    uint64_t end = 0;
    for (const DateField &f : found.fields) {
        if (f.offset < end || f.offset + f.width > bytes.size()
            || std::string(bytes.begin() + ptrdiff_t(f.offset), bytes.begin() + ptrdiff_t(f.offset + f.width))
                   != f.value)
            return false;
        end = f.offset + f.width;
    }
    return !(found.unsupported && !found.fields.empty());
}

// The file with its fields moved by `seconds`; empty when the plan fails.
Bytes shifted(const Bytes &bytes, int64_t seconds)
{
    const FoundDates found = locate(bytes);
    WallClock capture;
    DateShift::Plan plan;
    MemorySource file(bytes);
    if (!DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(found.captureText.data()),
                           found.captureText.size(), &capture)
        || !DateShift::plan(file, found.fields, found.derived, capture, seconds, false, &plan))
        return {};
    Bytes out = bytes;
    for (const DateShift::Run &r : plan.runs)
        std::copy(r.to.begin(), r.to.end(), out.begin() + ptrdiff_t(r.offset));
    return out;
}

std::string later(const std::string &t, int64_t seconds)
{
    WallClock c;
    DateCodec::decode(DateEncoding::ExifText, reinterpret_cast<const unsigned char *>(t.data()), t.size(), &c);
    unsigned char out[19];
    return DateCodec::encode(DateEncoding::ExifText, DateCodec::addSeconds(c, seconds), out)
               ? std::string(reinterpret_cast<const char *>(out), 19) : std::string();
}

// `bytes` with `with` written over them from `offset`.
Bytes patched(Bytes bytes, size_t offset, const Bytes &with)
{
    std::copy(with.begin(), with.end(), bytes.begin() + ptrdiff_t(offset));
    return bytes;
}

Bytes cut(const Bytes &bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + ptrdiff_t(n)); }

Bytes rafOf(const std::string &t) { return Raf(Jpeg::camera(samples::camera(ByteOrder::Intel, t)).bytes()).bytes(); }
Bytes crwOf(const std::string &t) { return Crw::camera(t).bytes(); }
Bytes mrwOf(const std::string &t) { return Mrw(samples::camera(ByteOrder::Motorola, t)).bytes(); }
uint32_t sec(const std::string &t) { return uint32_t(rawtest::secondsSince1970(t)); }

// A CRW's image properties holding `props` (and the camera object), built round it.
Bytes crwWith(std::function<void(CiffHeap &)> props)
{
    CiffHeap object, p, root;
    object.value(ciff::MakeModel, Crw::makeModel("Canon", "Canon EOS D30"));
    p.heap(ciff::CameraObject, object);
    props(p);
    root.value(ciff::RawData, Bytes(512, 0x11)).heap(ciff::ImageProps, p);
    return Crw(ByteOrder::Intel, root).bytes();
}

} // namespace

using Build = std::function<Bytes()>;
Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(Span)
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(samples::Build)

class TestRawFormats : public QObject {
    Q_OBJECT
private slots:
    void found_data();
    void found();
    void shiftGivesTheShiftedFile_data();
    void shiftGivesTheShiftedFile();
    void damaged_data();
    void damaged();
    void cutShort_data();
    void cutShort();
    void readsOnlyTheStructure_data();
    void readsOnlyTheStructure();
    void exiftoolReadsTheShiftedTime_data();
    void exiftoolReadsTheShiftedTime();
};

void TestRawFormats::found_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("found");   // "metadata|unsupported capture make/model fields"
    auto row = [](const char *name, const char *format, Build b, const char *found) {
        QTest::newRow(name) << b << QString(format) << QString(found);
    };
    const uint32_t s = sec(kTime);
    const Bytes copy = Crw::captureTime(ByteOrder::Intel, s);
    row("RAF: the JPEG's camera and time", "RAF", [] { return rafOf(kTime); },
        "1|0 2005:04:23 17:54:36 Maker/Model 7 3");
    row("RAF whose EXIF has no time", "RAF", [] {
        jpegtest::ExifBlock e;
        e.ascii(0, jpegtest::tag::Make, "FUJIFILM");
        return Raf(Jpeg::camera(e).bytes()).bytes();
    }, "1|0  FUJIFILM/ 0");
    row("RAF whose JPEG has no EXIF", "RAF", [] { return Raf(Jpeg().soi().sos().eoi().bytes()).bytes(); }, "0|0  / 0");
    row("MRW: the TIFF block's camera and time", "MRW", [] { return mrwOf(kTime); },
        "1|0 2005:04:23 17:54:36 Maker/Model 7 3");
    row("MRW, the TIFF block after a block of unknown name", "MRW", [] {
        return Mrw(samples::camera(ByteOrder::Intel, kTime)).block(std::string("\0PAD", 4), Bytes(9, 0)).bytes();
    }, "1|0 2005:04:23 17:54:36 Maker/Model 7 3");
    row("MRW without a TIFF block", "MRW", [] {
        Bytes b = mrwOf(kTime);
        return patched(b, size_t(Mrw(samples::camera(ByteOrder::Motorola, kTime)).tiff().offset - 7), {'T', 'T', 'X'});
    }, "0|0  / 0");
    row("CRW: the seconds in the image properties", "CRW", [] { return crwOf(kTime); },
        "1|0 2005:04:23 17:54:36 Canon/Canon PowerShot S40 1");
    row("CRW, the time also in the EXIF information", "CRW", [copy] {
        return crwWith([copy](CiffHeap &p) {
            CiffHeap exif;
            exif.value(ciff::CaptureTime, copy);
            p.value(ciff::CaptureTime, copy).heap(ciff::ExifInformation, exif);
        });
    }, "1|0 2005:04:23 17:54:36 Canon/Canon EOS D30 2");
    row("CRW, a second time that differs is no copy", "CRW", [s] {
        return crwWith([s](CiffHeap &p) {
            p.value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, s, 1))
                .value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, s + 1));
        });
    }, "1|0 2005:04:23 17:54:36 Canon/Canon EOS D30 1");
    row("CRW, two entries of one value: one field", "CRW", [copy] {
        return crwWith([copy](CiffHeap &p) {
            p.value(ciff::CaptureTime, copy).rawEntry(ciff::CaptureTime, 12, p.valueAt(1));
        });
    }, "1|0 2005:04:23 17:54:36 Canon/Canon EOS D30 1");
    row("CRW, the seconds held in the entry", "CRW", [s] {
        return crwWith([s](CiffHeap &p) { p.inEntry(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, s)); });
    }, "1|0 2005:04:23 17:54:36 Canon/Canon EOS D30 1");
    row("CRW big-endian: read, not supported", "CRW", [] { return Crw::camera(kTime, ByteOrder::Motorola).bytes(); },
        "1|1 2005:04:23 17:54:36 Canon/Canon PowerShot S40 0");
    row("CRW whose time is zero", "CRW", [] {
        return crwWith([](CiffHeap &p) { p.value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, 0)); });
    }, "1|1  Canon/Canon EOS D30 0");
    row("CRW without a time", "CRW", [] { return crwWith([](CiffHeap &) {}); }, "1|1  Canon/Canon EOS D30 0");
    row("CRW, two times half over each other", "CRW", [] {
        // 42 42 42 42 | 42 42 00 00: the same seconds again two bytes on.
        return crwWith([](CiffHeap &p) {
            p.value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, 0x42424242, 0x4242))
                .rawEntry(ciff::CaptureTime, 10, p.valueAt(1) + 2);
        });
    }, "1|1 2005:03:24 04:29:54 Canon/Canon EOS D30 0");
    row("X3F: the maker, nothing else", "X3F", [] { return rawtest::x3f(); }, "1|1  SIGMA/ 0");
}

void TestRawFormats::found()
{
    QFETCH(Build, build);
    QFETCH(QString, format);
    const Bytes bytes = build();
    const FileFormat *f = claimer(bytes);
    QVERIFY(f);
    QCOMPARE(QString(f->name()), format);
    bool ok = false;
    const FoundDates d = locate(bytes, &ok);
    QVERIFY(ok && sound(bytes, d));
    QTEST(QString("%1|%2 %3 %4/%5 %6").arg(d.hasMetadata).arg(d.unsupported).arg(d.captureText.c_str(), d.make.c_str(),
                                                                                  d.model.c_str()).arg(d.fields.size()),
          "found");
    if (!d.fields.empty())
        QCOMPARE(std::count_if(d.fields.begin(), d.fields.end(),
                               [](const DateField &x) { return x.role == DateRole::Capture; }),
                 ptrdiff_t(1));
}

void TestRawFormats::shiftGivesTheShiftedFile_data()
{
    QTest::addColumn<samples::Build>("build");
    QTest::addColumn<QString>("from");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("planned");
    auto row = [](const char *name, samples::Build b, const char *from, qint64 seconds, bool planned = true) {
        QTest::newRow(name) << b << QString(from) << seconds << planned;
    };
    const qint64 day = 86400;
    row("RAF, a camera's JPEG", rafOf, "2008:03:16 10:52:01", day + 3723);
    row("RAF, the JPEG's XMP, IPTC and digest too",
        [](const std::string &t) { return Raf(samples::richJpeg(t)).bytes(); }, "2008:03:16 10:52:01", -75 * day);
    row("MRW, Motorola order", mrwOf, "2008:03:16 10:52:01", -(16 * day + 10 * 3600 + 52 * 60 + 1));
    row("CRW, every byte of the seconds", crwOf, "2005:04:23 17:54:36", 3653 * day + 3601);
    row("CRW, its copy in the EXIF information too", [](const std::string &t) {
        const Bytes v = Crw::captureTime(ByteOrder::Intel, sec(t), -3600, 7);
        return crwWith([v](CiffHeap &p) {
            CiffHeap exif;
            exif.value(ciff::CaptureTime, v);
            p.value(ciff::CaptureTime, v).heap(ciff::ExifInformation, exif);
        });
    }, "1999:12:31 23:00:00", 3600);
    row("CRW, to the last second 32 bits hold", crwOf, "2106:02:07 06:28:14", 1);
    row("CRW, past the last second 32 bits hold", crwOf, "2106:02:07 06:28:14", 2, false);
    row("CRW, back before 1970", crwOf, "1970:01:01 00:00:05", -5, false);
}

void TestRawFormats::shiftGivesTheShiftedFile()
{
    // The fields of a file built with one time, moved, turn it into the file
    // built with the other, byte for byte: zone codes and all else untouched.
    QFETCH(samples::Build, build);
    QFETCH(QString, from);
    QFETCH(qint64, seconds);
    QFETCH(bool, planned);
    const std::string t = from.toStdString(), to = later(t, seconds);
    const Bytes moved = shifted(build(t), seconds);
    QCOMPARE(!moved.empty(), planned);
    if (planned)
        QVERIFY(moved == build(to));
}

void TestRawFormats::damaged_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<bool>("unsupported");
    const Bytes jpeg = Jpeg::camera(samples::camera(ByteOrder::Intel, kTime)).bytes();
    auto raf = [jpeg](const char *name, uint32_t offset, uint32_t length) {
        QTest::newRow(name) << Build([=] { return Raf(jpeg).jpegField(offset, length).bytes(); }) << false;
    };
    raf("RAF, the JPEG past the end", 1u << 30, 100);
    raf("RAF, the JPEG's length past the end", 148, 1u << 30);
    raf("RAF, the JPEG's end past 32 bits", 0xFFFFFF00u, 0x200);
    raf("RAF, the JPEG said to start in the header", 0, uint32_t(jpeg.size()));
    raf("RAF, no JPEG where the header says", uint32_t(Raf(jpeg).sensor().offset), 200);
    QTest::newRow("RAF cut in its header") << Build([] { return cut(rafOf(kTime), 90); }) << false;

    const jpegtest::ExifBlock exif = samples::camera(ByteOrder::Motorola, kTime);
    auto mrw = [](const char *name, Build b) { QTest::newRow(name) << b << false; };
    mrw("MRW, its block's length past the end", [exif] { return Mrw(exif).lengthField(1u << 30).bytes(); });
    mrw("MRW, a block past the end of its parent", [exif] {
        return Mrw(exif).lengthField(uint32_t(Mrw(exif).tiff().offset + 4)).bytes();
    });
    mrw("MRW, its TIFF block's first directory past the block", [exif] {
        jpegtest::ExifBlock broken = exif;
        return Mrw(broken.headerOffset(1u << 20)).bytes();
    });
    mrw("MRW cut in its mark's block", [] { return cut(mrwOf(kTime), 6); });

    auto crw = [](const char *name, Build b) { QTest::newRow(name) << b << true; };
    crw("CRW, the header's length past the end", [] { return Crw::camera(kTime).headerField(1u << 30).bytes(); });
    crw("CRW, the header's length inside the header", [] { return Crw::camera(kTime).headerField(4).bytes(); });
    crw("CRW, a table past its heap", [] {
        CiffHeap root;
        root.value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, 1)).tableField(0xFFFFFF00u);
        return Crw(ByteOrder::Intel, root).bytes();
    });
    crw("CRW, more entries than its heap holds", [] {
        const Bytes b = crwOf(kTime);
        const size_t table = 26 + (b[b.size() - 4] | b[b.size() - 3] << 8 | b[b.size() - 2] << 16);
        return patched(b, table, {0xFF, 0xFF});
    });
    crw("CRW, a sound heap just past the end of its parent", [] {
        CiffHeap object, props, root;
        object.value(ciff::MakeModel, Crw::makeModel("Canon", "Canon EOS D30"))
            .value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, sec(kTime)));
        props.rawEntry(ciff::CameraObject, uint32_t(object.bytes(ByteOrder::Intel).size()), 2 + 10 + 4);
        root.heap(ciff::ImageProps, props).heap(ciff::CameraObject, object);
        return Crw(ByteOrder::Intel, root).bytes();
    });
    crw("CRW, a heap that is its own parent", [] {
        CiffHeap root;
        root.rawEntry(ciff::ImageProps, 2 + 10 + 4, 0);
        return Crw(ByteOrder::Intel, root).bytes();
    });
    crw("CRW, a heap deeper in that is its own parent", [] {
        return crwWith([](CiffHeap &p) {
            CiffHeap q = p;
            q.rawEntry(ciff::ImageDescription, 0, 0);
            p.rawEntry(ciff::ImageDescription, uint32_t(q.bytes(ByteOrder::Intel).size()), 0);
        });
    });
    crw("CRW, heaps nested nine deep", [] {
        CiffHeap inner;
        inner.value(ciff::CaptureTime, Crw::captureTime(ByteOrder::Intel, sec(kTime)));
        for (int i = 0; i < 9; ++i) {
            CiffHeap outer;
            outer.heap(ciff::ImageProps, inner);
            inner = outer;
        }
        return Crw(ByteOrder::Intel, inner).bytes();
    });
    crw("CRW, one heap named by every entry", [] {
        CiffHeap child, root;
        for (int i = 0; i < 60; ++i)
            child.value(ciff::OwnerName, Bytes(2, 'x'));
        root.heap(ciff::ImageProps, child);
        for (int i = 0; i < 199; ++i)
            root.rawEntry(ciff::ImageProps, uint32_t(child.bytes(ByteOrder::Intel).size()), 0);
        return Crw(ByteOrder::Intel, root).bytes();
    });
    crw("CRW, a time of two bytes", [] { return crwWith([](CiffHeap &p) { p.value(ciff::CaptureTime, {1, 2}); }); });
    crw("CRW, a value of unknown placement", [] { return crwWith([](CiffHeap &p) { p.rawEntry(0x8001, 0, 0); }); });
}

void TestRawFormats::damaged()
{
    // Claimed by its mark, read without a fault, and nothing to write.
    QFETCH(Build, build);
    QFETCH(bool, unsupported);
    const Bytes bytes = build();
    QVERIFY(claimer(bytes));
    const FoundDates d = locate(bytes);
    QVERIFY(d.fields.empty() && !d.hasMetadata);
    QCOMPARE(d.unsupported, unsupported);
    QVERIFY(d.headerEnd <= bytes.size());
}

void TestRawFormats::cutShort_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<qint64>("needed");   // the length from which the fields are all there
    const Raf raf(Jpeg::camera(samples::camera(ByteOrder::Intel, kTime)).bytes()), rich(samples::richJpeg(kTime));
    const Bytes crw = crwOf(kTime), x3f = rawtest::x3f();
    const Mrw mrw(samples::camera(ByteOrder::Motorola, kTime));
    QTest::newRow("MRW") << mrw.bytes() << qint64(mrw.image().offset);
    QTest::newRow("RAF") << raf.bytes() << qint64(raf.jpeg().offset + raf.jpeg().length);
    QTest::newRow("RAF with XMP and IPTC") << rich.bytes() << qint64(rich.jpeg().offset + rich.jpeg().length);
    QTest::newRow("CRW") << crw << qint64(crw.size());
    QTest::newRow("X3F") << x3f << qint64(x3f.size() + 1);
}

void TestRawFormats::cutShort()
{
    // Cut at every length: no fault, and the fields come only with all
    // their structure there.
    QFETCH(Bytes, bytes);
    QFETCH(qint64, needed);
    const size_t whole = locate(bytes).fields.size();
    for (size_t n = 0; n <= bytes.size(); ++n) {
        const Bytes part = cut(bytes, n);
        const FoundDates d = locate(part);
        QVERIFY2(sound(part, d) && d.headerEnd <= n, qPrintable(QString::number(n)));
        QVERIFY2(d.fields.size() == (qint64(n) >= needed ? whole : 0), qPrintable(QString::number(n)));
    }
}

void TestRawFormats::readsOnlyTheStructure_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<Span>("image");
    QTest::addColumn<qint64>("most");   // the most bytes read
    const size_t big = size_t(8) << 20;
    const Raf raf = Raf(Jpeg::camera(samples::camera(ByteOrder::Intel, kTime)).bytes()).sensorBytes(big);
    QTest::newRow("RAF: header and JPEG") << raf.bytes() << raf.sensor() << qint64(92 + raf.jpeg().length);
    const Mrw mrw = Mrw(samples::camera(ByteOrder::Motorola, kTime)).imageBytes(big);
    QTest::newRow("MRW: blocks and TIFF block") << mrw.bytes() << mrw.image() << qint64(mrw.image().offset);
    QTest::newRow("CRW: tables, make and model, time") << Crw::camera(kTime, ByteOrder::Intel, big).bytes()
                                                       << Crw::cameraRawData(big) << qint64(1024);
    QTest::newRow("X3F: the mark") << rawtest::x3f(big) << Span{232, big} << qint64(4);
}

void TestRawFormats::readsOnlyTheStructure()
{
    QFETCH(Bytes, bytes);
    QFETCH(Span, image);
    QFETCH(qint64, most);
    CountingSource file(bytes);
    FoundDates d;
    QVERIFY(claimer(bytes)->locate(file, &d));
    QVERIFY(d.hasMetadata);
    QVERIFY(!file.touches(image));
    QVERIFY2(qint64(file.total()) <= most, qPrintable(QString::number(file.total())));
}

namespace {

// exiftool's lines for a file: "[Group] Tag" -> value.
QMap<QString, QString> exiftoolSays(const QString &exiftool, const QStringList &arguments)
{
    QProcess p;
    p.start(exiftool, arguments);
    if (!p.waitForFinished(60000))
        return {};
    QMap<QString, QString> out;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const int colon = line.indexOf(": ");
        if (colon >= 0)
            out.insert(QString::fromUtf8(line.left(colon)).simplified(),
                       QString::fromUtf8(line.mid(colon + 2)).trimmed());
    }
    return out;
}

} // namespace

void TestRawFormats::exiftoolReadsTheShiftedTime_data()
{
    QTest::addColumn<samples::Build>("build");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tag");   // where exiftool shows the capture time
    QTest::newRow("RAF") << samples::Build(rafOf) << "a.raf" << "[ExifIFD] DateTimeOriginal";
    QTest::newRow("MRW") << samples::Build(mrwOf) << "a.mrw" << "[ExifIFD] DateTimeOriginal";
    QTest::newRow("CRW") << samples::Build(crwOf) << "a.crw" << "[CanonRaw] DateTimeOriginal";
}

void TestRawFormats::exiftoolReadsTheShiftedTime()
{
    // An outside reader sees the shifted time in the file we moved, without
    // a complaint; and the file it writes a time into, we read again.
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        QSKIP("exiftool is not installed");
    QFETCH(samples::Build, build);
    QFETCH(QString, name);
    QFETCH(QString, tag);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ours = dir.filePath(name), theirs = dir.filePath("theirs-" + name);
    const int64_t seconds = 86400 + 3600 + 61;
    const Bytes original = build(kTime), moved = shifted(original, seconds);
    QVERIFY(!moved.empty() && jpegtest::writeFile(ours.toStdString(), moved));

    const auto said =
        exiftoolSays(exiftool, {"-a", "-G1", "-s", "-time:all", "-Make", "-Model", "-Warning", "-Error", ours});
    QCOMPARE(said.value(tag), QString::fromStdString(later(kTime, seconds)));
    const FoundDates d = locate(original);
    QCOMPARE(said.value(tag.contains("Canon") ? "[CanonRaw] Make" : "[IFD0] Make"), QString::fromStdString(d.make));
    QVERIFY2(!said.contains("[ExifTool] Warning") && !said.contains("[ExifTool] Error"),
             qPrintable(QStringList(said.keys()).join(", ")));

    QProcess write;
    write.start(exiftool, {"-q", "-o", theirs, "-AllDates=2010:01:02 03:04:05", ours});
    QVERIFY(write.waitForFinished(60000));
    QCOMPARE(write.exitCode(), 0);
    const FoundDates back = locate(jpegtest::readFile(theirs.toStdString()));
    QCOMPARE(back.captureText, std::string("2010:01:02 03:04:05"));
    QCOMPARE(back.fields.size(), d.fields.size());
}

QTEST_APPLESS_MAIN(TestRawFormats)
#include "tst_rawformats.moc"
