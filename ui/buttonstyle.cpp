#include "buttonstyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

ButtonStyle::ButtonStyle(const QColor &frame)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), frame(frame)
{
}

void ButtonStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && (option->state & State_HasFocus)
        && (option->state & State_KeyboardFocusChange)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(frame, 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
}

int ButtonStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                           QStyleHintReturn *returnData) const
{
    // A list that pops up like a menu takes the menu colours of the desktop
    // (its chosen line may be white on a middle blue); a plain list takes the
    // box's own.
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
