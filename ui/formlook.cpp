#include "formlook.h"

#include "buttonstyle.h"
#include "mainwindowform.h"
#include "toolbarlook.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLayout>
#include <QPalette>
#include <QPushButton>
#include <QTextCharFormat>
#include <QToolBar>

namespace {

// Both date fields show and take this pattern in every locale: four-digit
// years and seconds, so no date is ever read back with a guessed century.
const char datePattern[] = "yyyy-MM-dd HH:mm:ss";

// The years a capture date can hold in place of the old text.
const QDateTime firstDate(QDate(1000, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime lastDate(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

// The form's own size; the window is never smaller.
const QSize formSize(506, 370);

const QColor darkText(0x1a, 0x1a, 0x1a);
// 8 : 1 against white.
const QColor highlight(0x1d, 0x4e, 0x9e);
// 7.5 : 1 against white.
const QColor weekendRed(0xb0, 0x00, 0x00);

} // namespace

void FormLook::setUpDateFields(const MainWindowForm &form)
{
    // Capture dates carry no time zone: both fields show wall-clock values.
    for (QDateTimeEdit *edit : {form.dateTimeEditCurrent, form.dateTimeEditNew}) {
        const QDateTime shown = edit->dateTime();
        edit->setTimeSpec(Qt::UTC);
        edit->setDisplayFormat(QLatin1String(datePattern));
        edit->setDateTimeRange(firstDate, lastDate);
        edit->setCalendarPopup(true);
        edit->setDateTime(QDateTime(shown.date(), shown.time(), Qt::UTC));
        // Weekends in a red that reads on white (Qt's pure red does not,
        // at 4 : 1).
        QCalendarWidget *calendar = edit->calendarWidget();
        for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) {
            QTextCharFormat format = calendar->weekdayTextFormat(day);
            format.setForeground(weekendRed);
            calendar->setWeekdayTextFormat(day, format);
        }
    }
}

void FormLook::setUpColours(QWidget &window, const MainWindowForm &form)
{
    // The form paints the window yellow, the fields white and the buttons
    // blue (drawn pale by the style below); the text colours must match
    // those, not the desktop style, or a dark style puts light text on them.
    // Dark text everywhere, at least 4.5 : 1 against each of them; greyed
    // when disabled, still 4.5 : 1 on the yellow, where the current date is
    // shown in a disabled field.
    QPalette colours = window.palette();
    const QColor greyed(0x4d, 0x4d, 0x4d);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? greyed : darkText;
        colours.setColor(group, QPalette::WindowText, text);
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::ButtonText, text);
        colours.setColor(group, QPalette::PlaceholderText, greyed);
        // What is chosen in a list, and the done part of the progress bar:
        // white on a dark blue, not whatever pair the desktop has.
        colours.setColor(group, QPalette::Highlight, highlight);
        colours.setColor(group, QPalette::HighlightedText, Qt::white);
        // The calendar's row of weekday names, under dark text.
        colours.setColor(group, QPalette::AlternateBase, QColor(0xec, 0xec, 0xec));
    }
    window.setPalette(colours);

    // Some styles draw buttons in colours of their own whatever the palette
    // says (a dark style draws them dark grey, under the dark text), and
    // tool bars, combo boxes and progress bars too.
    auto *buttonStyle = new ButtonStyle(darkText);
    buttonStyle->setParent(&window);
    for (QPushButton *button : {form.pushButtonSelect, form.pushButtonShift, form.pushButtonCancel})
        button->setStyle(buttonStyle);
    // A dark style draws the progress bar's text grey, beside the bar, on
    // the yellow, and the date fields' arrow buttons dark grey.
    using Widgets = std::initializer_list<QWidget *>;
    for (QWidget *w : Widgets{form.progressBar, form.dateTimeEditCurrent, form.dateTimeEditNew})
        w->setStyle(buttonStyle);
    // The same for the tool bar and what comes into it.
    new ToolBarLook(form.mainToolBar, buttonStyle);
}

void FormLook::fitToContents(QWidget &window, const MainWindowForm &f)
{
    // The room every widget needs, whether shown now or not, so that the
    // size does not change from one step of a job to the next.
    // As the grid reckons it: a widget that may not shrink needs its size hint.
    const auto need = [](const QWidget *w) {
        QSize size = w->minimumSizeHint().expandedTo(w->minimumSize());
        const QSizePolicy policy = w->sizePolicy();
        if (!(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag))
            size.setWidth(qMax(size.width(), w->sizeHint().width()));
        if (!(policy.verticalPolicy() & QSizePolicy::ShrinkFlag))
            size.setHeight(qMax(size.height(), w->sizeHint().height()));
        return size;
    };
    int captions = 0, fields = 0, spanning = 0;
    using Widgets = std::initializer_list<const QWidget *>;
    for (const QWidget *w : Widgets{f.label, f.label_2, f.label_3, f.label_4})
        captions = qMax(captions, need(w).width());
    for (const QWidget *w : Widgets{f.folderEdit, f.progressBar, f.numberEdit, f.dateTimeEditCurrent, f.dateTimeEditNew})
        fields = qMax(fields, need(w).width());
    for (const QWidget *w : Widgets{f.pushButtonSelect, f.pushButtonShift, f.pushButtonCancel, f.checkBoxFileDate})
        spanning = qMax(spanning, need(w).width());
    const int width = qMax(captions + f.gridLayout->horizontalSpacing() + fields, spanning);

    // One row each; Shift and Cancel take turns in the same place.
    const QList<QList<const QWidget *>> rows = {
        {f.pushButtonSelect}, {f.label, f.folderEdit}, {f.progressBar}, {f.label_2, f.numberEdit},
        {f.label_3, f.dateTimeEditCurrent}, {f.label_4, f.dateTimeEditNew},
        {f.pushButtonShift, f.pushButtonCancel}, {f.checkBoxFileDate}};
    int height = f.gridLayout->verticalSpacing() * int(rows.size() - 1);
    for (const auto &row : rows) {
        int tallest = 0;
        for (const QWidget *w : row)
            tallest = qMax(tallest, need(w).height());
        height += tallest;
    }

    // The tool bar gets the width of all it shows (what does not fit would
    // go behind its extension button, out of sight), and the grid with it.
    const QSize carrier = QSize(width, height).expandedTo(f.layoutWidget->minimumSize())
                              .expandedTo(formSize - QSize(20, 74))
                              .expandedTo(QSize(f.mainToolBar->sizeHint().width() - 20, 0));
    f.layoutWidget->resize(carrier);
    f.centralWidget->setMinimumSize(carrier + QSize(9, 9));
    // The form's margins around the grid, and room for tool and status bar.
    const QSize needed = (carrier + QSize(20, 74)).expandedTo(window.layout()->minimumSize());
    window.setFixedSize(needed.expandedTo(formSize));
}

void FormLook::showDates(const MainWindowForm &form, const QDateTime &oldest)
{
    const bool any = oldest.isValid();
    form.dateTimeEditNew->setEnabled(any);
    for (QDateTimeEdit *edit : {form.dateTimeEditCurrent, form.dateTimeEditNew}) {
        edit->setSpecialValueText(any ? QString() : QStringLiteral(" "));
        edit->setDateTime(any ? oldest : edit->minimumDateTime());
    }
}
