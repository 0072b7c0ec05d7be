#pragma once

#include <QRadioButton>

#include <functional>

class QMimeData;

// An option button of a page: it reacts to a click anywhere in its
// rectangle, not only on its indicator and caption, and a click always
// selects it, even when it is selected already. Clearing the others is the
// page's business (PageOptions), as its options may sit in different frames.
//
// A tag entry can also be dragged out: pressed, then moved past the
// platform's drag distance, it carries its snippet as text to any program
// that takes dropped text. A drag is no click: the entry is not chosen.
class EntryButton : public QRadioButton
{
    Q_OBJECT
public:
    EntryButton(const QString &caption, QWidget *parent);

    // The text a drag of the button carries, asked for when a drag starts;
    // a button without one (an option that is no tag entry) is not dragged.
    void setDragText(std::function<QString()> text);
    // What a drag carries: the text as plain text, or nullptr for a button
    // that is not dragged.
    QMimeData *createDragData() const;

protected:
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::function<QString()> m_dragText;
    QPoint m_pressedAt;
    bool m_dragArmed = false;   // pressed with the left button, no drag yet
};
