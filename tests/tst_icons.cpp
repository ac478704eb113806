// The compiled-in SVG icons and the Windows program icon file.

#include <QtTest>

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QtEndian>

namespace {

const char *const iconPaths[] = {
    ":/new/icons/folder-open.svg",
    ":/new/icons/cancel.svg",
    ":/new/icons/Tivromek.svg",
};

// Which icon paths resolved before the application object existed.
QSet<QString> resolvedBeforeApplication;

int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).alpha() == 255;
    }
    return count;
}

quint16 u16(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private:
    QByteArray ico;

private slots:
    void resources_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("nominal");
        QTest::newRow("folder-open") << iconPaths[0] << QSize(48, 48);
        QTest::newRow("cancel") << iconPaths[1] << QSize(48, 48);
        QTest::newRow("Tivromek") << iconPaths[2] << QSize(32, 32);
    }

    // Each icon resolves from static initialisation on, is a drawable SVG of
    // its nominal size, and shows something at the sizes the window uses,
    // without filling the whole square.
    void resources()
    {
        QFETCH(QString, path);
        QFETCH(QSize, nominal);
        QVERIFY(resolvedBeforeApplication.contains(path));

        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("svg"));
        QCOMPARE(reader.size(), nominal);

        const QIcon icon(path);
        QVERIFY(!icon.isNull());
        for (int edge : { 24, 16 }) {
            const QImage image = icon.pixmap(edge, edge).toImage();
            QCOMPARE(image.size(), QSize(edge, edge));
            const int opaque = opaquePixels(image);
            QVERIFY2(opaque > edge * edge / 5, qPrintable(QString::number(opaque)));
            QVERIFY2(opaque < edge * edge, qPrintable(QString::number(opaque)));
        }
    }

    void initTestCase()
    {
        QFile file(QStringLiteral(KELVARO_ICO_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), KELVARO_ICO_FILE);
        ico = file.readAll();
    }

    void windowsIconDirectory()
    {
        QVERIFY(ico.size() >= 6 + 3 * 16);
        QCOMPARE(u16(ico, 0), quint16(0));   // reserved
        QCOMPARE(u16(ico, 2), quint16(1));   // an icon, not a cursor
        QCOMPARE(u16(ico, 4), quint16(3));   // three images
    }

    void windowsIconImages_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("bits");
        QTest::newRow("24 x 24, 24 bit") << 0 << 24 << 24;
        QTest::newRow("16 x 16, 24 bit") << 1 << 16 << 24;
        QTest::newRow("48 x 48, 32 bit") << 2 << 48 << 32;
    }

    // Each directory entry and the BITMAPINFOHEADER it points to agree on the
    // size and depth; the colour bitmap and the 1-bit mask fill the entry
    // exactly; the image has both see-through and covered pixels.
    void windowsIconImages()
    {
        QFETCH(int, index);
        QFETCH(int, edge);
        QFETCH(int, bits);

        const qsizetype entry = 6 + 16 * index;
        QCOMPARE(int(quint8(ico[entry])), edge);       // width
        QCOMPARE(int(quint8(ico[entry + 1])), edge);   // height
        QCOMPARE(int(quint8(ico[entry + 2])), 0);      // no palette
        QCOMPARE(int(u16(ico, entry + 4)), 1);         // planes
        QCOMPARE(int(u16(ico, entry + 6)), bits);
        const quint32 length = u32(ico, entry + 8);
        const quint32 offset = u32(ico, entry + 12);
        QVERIFY(offset >= 6 + 3 * 16 && quint64(offset) + length <= quint64(ico.size()));

        const QByteArray image = ico.mid(offset, length);
        QCOMPARE(u32(image, 0), quint32(40));                    // BITMAPINFOHEADER
        QCOMPARE(qint32(u32(image, 4)), edge);                    // width
        QCOMPARE(qint32(u32(image, 8)), 2 * edge);                // colour + mask rows
        QCOMPARE(u16(image, 12), quint16(1));                     // planes
        QCOMPARE(int(u16(image, 14)), bits);
        QCOMPARE(u32(image, 16), quint32(0));                     // BI_RGB
        QCOMPARE(u32(image, 32), quint32(0));                     // no palette

        const int colourStride = (edge * bits / 8 + 3) & ~3;
        const int maskStride = ((edge + 31) / 32) * 4;
        QCOMPARE(qsizetype(length), qsizetype(40 + edge * (colourStride + maskStride)));

        const char *mask = image.constData() + 40 + edge * colourStride;
        int transparent = 0;
        for (int y = 0; y < edge; ++y) {
            for (int x = 0; x < edge; ++x)
                transparent += (mask[y * maskStride + x / 8] >> (7 - x % 8)) & 1;
        }
        QVERIFY(transparent > 0 && transparent < edge * edge * 3 / 4);

        // Under a set mask bit a 24-bit pixel must be black, or Windows draws
        // it inverted over the background.
        if (bits == 24) {
            for (int y = 0; y < edge; ++y) {
                for (int x = 0; x < edge; ++x) {
                    if (!((mask[y * maskStride + x / 8] >> (7 - x % 8)) & 1))
                        continue;
                    const char *pixel = image.constData() + 40 + y * colourStride + 3 * x;
                    QVERIFY(!pixel[0] && !pixel[1] && !pixel[2]);
                }
            }
        }

        if (bits == 32) {
            int clear = 0, solid = 0;
            for (int i = 0; i < edge * edge; ++i) {
                const quint8 alpha = quint8(image[40 + 4 * i + 3]);
                clear += alpha == 0;
                solid += alpha == 255;
            }
            QCOMPARE(clear, transparent);
            QVERIFY(solid > edge * edge / 4);
        }
    }
};

int main(int argc, char *argv[])
{
    // Before any Qt object exists: only the static registration can have
    // made these paths known.
    for (const char *path : iconPaths) {
        if (QFile::exists(QString::fromLatin1(path)))
            resolvedBeforeApplication.insert(QString::fromLatin1(path));
    }
    QGuiApplication app(argc, argv);
    TestIcons test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_icons.moc"
