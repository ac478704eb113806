#pragma once

#include <QColor>
#include <QProxyStyle>

// The buttons' style: one that paints them in the palette's colours on
// every desktop, with a frame of two pixels in `frame` around the button that
// has the keyboard focus (the style's own thin line is hard to see on the blue).
class ButtonStyle : public QProxyStyle
{
public:
    explicit ButtonStyle(const QColor &frame);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;

private:
    QColor frame;
};
