#pragma once

// The main window's widgets, built by setupUi() from mainwindow.ui.
// uic names the generated class after the form's <class> (MainWindow), which
// is also the translation context of all its texts; the window reaches the
// form under this name.
#include "ui_mainwindow.h"

class MainWindowForm : public Ui::MainWindow
{
};
