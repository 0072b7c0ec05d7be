#pragma once

#include <QRadioButton>

// An option button of a page: it reacts to a click anywhere in its
// rectangle, not only on its indicator and caption, and a click always
// selects it, even when it is selected already. Clearing the others is the
// page's business (PageOptions), as its options may sit in different frames.
class EntryButton : public QRadioButton
{
    Q_OBJECT
public:
    EntryButton(const QString &caption, QWidget *parent);

protected:
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;
};
