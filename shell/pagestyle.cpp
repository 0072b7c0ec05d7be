#include "shell/pagestyle.h"

#include "shell/fonts.h"

#include <QPainter>
#include <QStyleOption>

#include <cmath>

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

void PageStyle::drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
                             const QString &text, QPalette::ColorRole textRole) const
{
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
    // The Song faces have a single weight, so bold is FreeType's emboldening,
    // which widens the strokes by a 24th of the font's pixel size. Qt sizes
    // the font in logical pixels and scales the glyphs to the screen, so at
    // twice the density the strokes gain half a screen pixel on characters 24
    // pixels tall, and the bold own button reads as regular text. Bold Song
    // text is drawn once more for each step of density above 1x, one screen
    // pixel further right each time.
    const QFont &font = painter->font();
    if (!font.bold() || font.family() != songFamily())
        return;
    const qreal scale = std::hypot(painter->deviceTransform().m11(), painter->deviceTransform().m12());
    for (int step = 1; step < qRound(scale); ++step) {
        painter->save();
        painter->translate(step / scale, 0);
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        painter->restore();
    }
}
