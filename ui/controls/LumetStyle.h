#pragma once

#include <QProxyStyle>

// The platform's own style with one thing left out: its focus rectangles.
// The panel marks the control that has the keyboard's focus with its own
// frame, and only while the keyboard is in use (LumetFocusFrame); the
// platform's dotted rectangle would show on a clicked button as well, and
// on Windows already at start on the chosen effect.
class LumetStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
