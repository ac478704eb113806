#pragma once

#include <QObject>

class QStyle;
class QToolBar;
class QWidget;

// How the window's tool bar looks on every desktop: every widget in it (the
// actions' buttons, the camera choice and its list, whenever they come) is
// drawn by the window's own style in the window's colours, as the form is,
// so that no desktop style puts its own dark panels under the form's dark
// text. The button that shows the actions that do not fit gets a name that
// screen readers read out. Its texts are the window's (translation context
// MainWindow).
class ToolBarLook : public QObject
{
public:
    // `style` (not owned) draws the bar and everything in it.
    ToolBarLook(QToolBar *bar, QStyle *style);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void adopt(QWidget *widget);
    void nameExtension();

    QToolBar *bar;
    QStyle *style;
};
