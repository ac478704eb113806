#pragma once

#include <QColor>
#include <QProxyStyle>

// The style of the buttons, the progress bar and the tool bar: one that
// paints them in the palette's colours on every desktop, with a frame of two
// pixels in `frame` around the button that has the keyboard focus (the
// style's own thin line is hard to see on the blue). A combo box's list is a
// plain list in the box's colours, not a menu in the desktop's.
class ButtonStyle : public QProxyStyle
{
public:
    explicit ButtonStyle(const QColor &frame);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

private:
    QColor frame;
};
