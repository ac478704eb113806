#pragma once

#include <QAction>

// "Undo last shift" in the tool bar, with its shortcut and tooltip. Its texts
// are the window's (translation context MainWindow).
class UndoShiftAction : public QAction
{
public:
    explicit UndoShiftAction(QObject *parent);
    void retranslate();
};
