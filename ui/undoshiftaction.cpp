#include "undoshiftaction.h"

#include <QCoreApplication>
#include <QKeySequence>

UndoShiftAction::UndoShiftAction(QObject *parent) : QAction(parent)
{
    setObjectName(QStringLiteral("actionUndoLastShift"));
    setShortcut(QKeySequence::Undo);
    retranslate();
}

void UndoShiftAction::retranslate()
{
    setText(QCoreApplication::translate("MainWindow", "Undo last shift"));
    setToolTip(QCoreApplication::translate(
        "MainWindow", "Set the pictures of the last shift back to their earlier dates and file times"));
}
