// Build-time helper: draws the program's SVG icon into the PNG sizes of the
// hicolor icon theme, so the build needs no image tool beyond Qt itself.
//
//   kelvaro-iconrender ICON.svg OUTDIR NAME SIZE...
//
// writes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png for every SIZE and exits with 0,
// or prints what went wrong and exits with 1.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: kelvaro-iconrender ICON.svg OUTDIR NAME SIZE...\n");
        return 1;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kelvaro-iconrender: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDir out(args.at(2));
    const QString name = args.at(3);
    for (int i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "kelvaro-iconrender: bad size %s\n", qPrintable(args.at(i)));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        // Straight (not premultiplied) alpha is what PNG stores.
        if (!out.mkpath(dir)
            || !image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG", 9)) {
            std::fprintf(stderr, "kelvaro-iconrender: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
