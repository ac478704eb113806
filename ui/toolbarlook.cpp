#include "toolbarlook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QToolBar>
#include <QToolButton>

ToolBarLook::ToolBarLook(QToolBar *bar, QStyle *style) : QObject(bar), bar(bar), style(style)
{
    adopt(bar);
    nameExtension();
    bar->installEventFilter(this);
}

bool ToolBarLook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bar) {
        // A widget is polished when it is first shown: an action's button or
        // the camera choice, added at any time, gets the style then.
        if (event->type() == QEvent::ChildPolished) {
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                adopt(child);
        } else if (event->type() == QEvent::LanguageChange) {
            nameExtension();
        }
    }
    return QObject::eventFilter(watched, event);
}

// The widget and everything in it, a combo box's list (a window of its own
// that takes the box's colours) too.
void ToolBarLook::adopt(QWidget *widget)
{
    QList<QWidget *> all = widget->findChildren<QWidget *>();
    all.prepend(widget);
    for (QWidget *w : all)
        if (w->style() != style)   // setting it polishes again: once is enough
            w->setStyle(style);
}

void ToolBarLook::nameExtension()
{
    // Qt makes this button with the bar and shows it when the bar is too
    // narrow; it has an arrow and no text.
    if (auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"),
                                                   Qt::FindDirectChildrenOnly))
        more->setAccessibleName(QCoreApplication::translate("MainWindow", "More tools"));
}
