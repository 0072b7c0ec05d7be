#include "shell/pagestyle.h"

#include <QPainter>
#include <QStyleOption>

void PageStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    if (element != PE_FrameFocusRect) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(option->palette.color(QPalette::WindowText), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void PageStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // The base style marks a focused push button by its outline alone; the
    // frame stands clear of the outline.
    if (element == CE_PushButton && (option->state & State_HasFocus)) {
        QStyleOptionFocusRect frame;
        frame.QStyleOption::operator=(*option);
        frame.rect = subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(2, 2, -2, -2);
        drawPrimitive(PE_FrameFocusRect, &frame, painter, widget);
    }
}
