#include "mainwindow.h"

#include <QEvent>

#include "mainwindowform.h"

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    ui = new MainWindowForm;
    ui->setupUi(this);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void MainWindow::select()
{
}

void MainWindow::workingThreadFinshed()
{
}

void MainWindow::timerElapsed()
{
}

void MainWindow::startAutoSelect()
{
}

void MainWindow::change()
{
}

void MainWindow::cancel()
{
}
