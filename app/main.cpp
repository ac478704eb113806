#include <QApplication>

#include "mainwindow.h"

// The icon resources are registered by the code that rcc generates for
// icons.qrc, which runs at static initialisation, before main().
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    return app.exec();
}
