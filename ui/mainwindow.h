#pragma once

#include <QMainWindow>

class MainWindowForm;
class QEvent;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    MainWindowForm *ui;   // owned; every widget of the window

public slots:
    void select();
    void workingThreadFinshed();
    void timerElapsed();
    void startAutoSelect();
    void change();
    void cancel();

protected:
    void changeEvent(QEvent *event) override;
};
