#pragma once

#include <QObject>

class QDateTimeEdit;
class QPushButton;
class QWidget;

// The keys typed into the new-date field: a whole date typed over the
// selected field is taken as typed, whatever separators it uses, and Return
// confirms the date as the Shift button does.
class NewDateKeys : public QObject
{
public:
    // Watches `edit` from now on; `shift` is clicked while it is shown in
    // `window` and enabled. Owned by `window`.
    NewDateKeys(QDateTimeEdit *edit, QPushButton *shift, QWidget *window);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QDateTimeEdit *edit;
    QPushButton *shift;
    QWidget *window;
};
