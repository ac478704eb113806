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
