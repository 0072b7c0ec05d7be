#pragma once

#include <QProxyStyle>

// The platform's style, with a focus frame for the pages that is always drawn
// and easy to tell apart: a dotted rectangle inside the focused control. The
// stock frame is drawn only after a key moved the focus, and on push buttons
// it is the same highlighted outline as the default button's, so focus that
// lands on a page's own (default) button would not show at all.
class PageStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
