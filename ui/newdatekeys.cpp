#include "newdatekeys.h"

#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

NewDateKeys::NewDateKeys(QDateTimeEdit *edit, QPushButton *shift, QWidget *window)
    : QObject(window), edit(edit), shift(shift), window(window)
{
    edit->installEventFilter(this);
}

bool NewDateKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // A date typed over the whole selected text: the field takes typed
        // digits section by section, so the typing starts in the first one,
        // the year, which the digits then overwrite.
        const auto *text = edit->findChild<QLineEdit *>();
        if (text && !key->text().isEmpty() && key->text().at(0).isDigit() && text->hasSelectedText()
            && text->selectedText() == text->text())
            edit->setSelectedSection(edit->sectionAt(0));
        // A full section moves on to the next by itself; a separator typed
        // after it ("-", ":", a space, or another one such as "/" or ".")
        // then finds the cursor already past the field's own separator, and
        // must not move on a second time.
        if (text && key->text().size() == 1 && key->text().at(0).isPrint()
            && !key->text().at(0).isLetterOrNumber() && text->cursorPosition() > 0
            && QStringLiteral("-: ").contains(text->text().at(text->cursorPosition() - 1)))
            return true;

        // Return confirms the date as the Shift button does, after the field
        // has taken the typed value in, and only while the button is there.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && shift->isVisibleTo(window)
            && shift->isEnabled())
            QMetaObject::invokeMethod(shift, &QAbstractButton::animateClick, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
