#include "shell/entrybutton.h"

EntryButton::EntryButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent)
{
    // Exclusivity is the page's business: entries may sit in different frames.
    setAutoExclusive(false);
    setMouseTracking(true);
}

bool EntryButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void EntryButton::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered();
    QRadioButton::mouseMoveEvent(event);
}
