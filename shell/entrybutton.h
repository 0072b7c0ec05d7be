#pragma once

#include <QRadioButton>

// An option button that reacts to a click anywhere in its rectangle, not only
// on its indicator and caption, and reports mouse movement over it.
class EntryButton : public QRadioButton
{
    Q_OBJECT
public:
    EntryButton(const QString &caption, QWidget *parent);

signals:
    void hovered();

protected:
    bool hitButton(const QPoint &pos) const override;
    void mouseMoveEvent(QMouseEvent *event) override;
};
