#include "shell/navigationbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

NavigationButton::NavigationButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}

void NavigationButton::setBoldCaption(bool bold)
{
    if (bold == m_boldCaption)
        return;
    m_boldCaption = bold;
    update();
}

void NavigationButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!m_boldCaption)
        return;
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const qreal ratio = devicePixelRatio();
    for (int step = 1; step <= qMax(1, qRound(ratio)); ++step) {
        painter.save();
        painter.translate(step / ratio, 0);
        painter.drawControl(QStyle::CE_PushButtonLabel, option);
        painter.restore();
    }
}
