#include <QApplication>

#include "capturedate.h"
#include "mainwindow.h"
#include "translations.h"

// The icon resources are registered by the code that rcc generates for
// icons.qrc, which runs at static initialisation, before main().
int main(int argc, char *argv[])
{
    CaptureDate::useSystemTimeZone();
    QApplication app(argc, argv);
    // Before the window exists, so that it is built in the user's language.
    Translations::install(app, QLocale());
    MainWindow window;
    window.show();
    return app.exec();
}
