#pragma once

#include <QDateTime>

class MainWindowForm;
class QWidget;

// How the window's form looks on every desktop and in every language: the
// date fields' pattern and range, text colours that stay readable on the
// form's own colours, and a fixed size that holds every text.
class FormLook
{
public:
    // Both date fields show and take one pattern in every locale, with
    // four-digit years and seconds, as zone-less wall-clock values.
    static void setUpDateFields(const MainWindowForm &form);
    // Both date fields show `oldest`, the new one open for a date; an
    // invalid date: nothing to show (a blank at their lowest value), the new
    // one closed.
    static void showDates(const MainWindowForm &form, const QDateTime &oldest);
    // Dark text on the form's yellow, white and blue, whatever the desktop
    // style; the buttons get a style of their own, owned by `window`.
    static void setUpColours(QWidget &window, const MainWindowForm &form);
    // Grows the fixed window when its texts need more room than the form's
    // size (a large font, a longer translation) or its tool bar more width
    // than the form; never shrinks below it.
    static void fitToContents(QWidget &window, const MainWindowForm &form);
};
