#include "shell/entrybutton.h"

EntryButton::EntryButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent)
{
    setAutoExclusive(false);
}

bool EntryButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void EntryButton::nextCheckState()
{
    setChecked(true);
}
