// Screenshots of the window for the README, not a test: the real window on
// the display it is given (Xvfb through docs/make-shots.sh), after reading
// the dates of a small generated tree of two cameras.
//
//   kelvaro-shots OUT.png [--style NAME] [--language LOCALE] [--open-cameras]
//
// The home and settings folders are temporary ones (isolatedhome.h): the
// user's own remembered folder and journals are neither read nor written.

#include "isolatedhome.h"
#include "jpegbuilder.h"
#include "mainwindow.h"
#include "mainwindowform.h"
#include "translations.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

using namespace jpegtest;

namespace {

Bytes shot(const std::string &text, const std::string &make, const std::string &model)
{
    return Jpeg::shot(text, make, model);
}

bool makeTree(const QString &top)
{
    const QList<std::tuple<const char *, const char *, const char *, const char *>> pictures = {
        {"IMG_0001.JPG", "2019:06:14 09:12:40", "Canon", "Canon EOS 80D"},
        {"IMG_0002.JPG", "2019:06:14 11:03:02", "Canon", "Canon EOS 80D"},
        {"IMG_0003.JPG", "2019:06:15 18:45:10", "Canon", "Canon EOS 80D"},
        {"phone/PXL_0001.jpg", "2019:06:14 08:55:31", "Google", "Pixel 7"},
        {"phone/PXL_0002.jpg", "2019:06:16 10:20:00", "Google", "Pixel 7"},
    };
    for (const auto &[path, date, make, model] : pictures) {
        const QString file = top + '/' + path;
        if (!QDir().mkpath(QFileInfo(file).path())
            || !writeFile(QFile::encodeName(file).toStdString(), shot(date, make, model)))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument("out", "The PNG file to write.");
    parser.addOption({"style", "The widget style.", "name"});
    parser.addOption({"language", "The locale of the texts.", "locale", "en_US"});
    parser.addOption({"open-cameras", "Opens the camera choice's list."});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QString out = parser.positionalArguments().first();
    if (parser.isSet("style")) {
        QStyle *style = QStyleFactory::create(parser.value("style"));
        if (!style) {
            std::fprintf(stderr, "no style %s\n", qPrintable(parser.value("style")));
            return 2;
        }
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
    Translations::install(app, QLocale(parser.value("language")), {KELVARO_QM_DIR});

    // In the temporary home folder, so that the folder field ends as a
    // user's would.
    const QString top = QDir::homePath() + "/Pictures/Lisbon 2019";
    if (!makeTree(top))
        return 1;

    MainWindow window;
    // The folder dialog of the start-up: the tree's top folder, typed in.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            answer.stop();
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(top);
            static_cast<QDialog *>(dialog)->accept();
        }
    });
    answer.start(20);
    window.move(40, 40);
    window.show();

    int result = 1;
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (!window.ui->pushButtonShift->isVisible() || window.timer)
            return;   // still reading dates
        done.stop();
        QRect area = window.frameGeometry();
        if (parser.isSet("open-cameras") && window.cameraCombo) {
            window.cameraCombo->showPopup();
            QWidget *list = window.cameraCombo->view()->window();
            QTimer::singleShot(600, [&, list, area]() mutable {
                area |= list->frameGeometry();
                result = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                 .save(out) ? 0 : 1;
                app.quit();
            });
            return;
        }
        QTimer::singleShot(600, [&, area] {
            result = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(out)
                         ? 0 : 1;
            app.quit();
        });
    });
    done.start(50);
    QTimer::singleShot(30000, &app, &QApplication::quit);
    app.exec();
    return result;
}
