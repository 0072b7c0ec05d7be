#include "shell/entrybutton.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

EntryButton::EntryButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent)
{
    setAutoExclusive(false);
}

void EntryButton::setDragText(std::function<QString()> text)
{
    m_dragText = std::move(text);
}

QMimeData *EntryButton::createDragData() const
{
    if (!m_dragText)
        return nullptr;
    auto *data = new QMimeData;
    data->setText(m_dragText());
    return data;
}

bool EntryButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void EntryButton::nextCheckState()
{
    setChecked(true);
}

void EntryButton::mousePressEvent(QMouseEvent *event)
{
    m_dragArmed = event->button() == Qt::LeftButton && m_dragText;
    m_pressedAt = event->position().toPoint();
    QRadioButton::mousePressEvent(event);
}

void EntryButton::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragArmed = false;
    QRadioButton::mouseReleaseEvent(event);
}

void EntryButton::mouseMoveEvent(QMouseEvent *event)
{
    // Armed by the press, not by the button being down: a small button is
    // no longer down once the pointer leaves it, which may come before the
    // drag distance is reached.
    const bool dragging = m_dragArmed && (event->buttons() & Qt::LeftButton)
                          && (event->position().toPoint() - m_pressedAt).manhattanLength()
                                 >= QApplication::startDragDistance();
    if (!dragging) {
        QRadioButton::mouseMoveEvent(event);
        return;
    }
    m_dragArmed = false;
    // No longer down, the button lets the release pass without a click.
    setDown(false);
    auto *drag = new QDrag(this);
    drag->setMimeData(createDragData());
    drag->setPixmap(grab());
    drag->setHotSpot(m_pressedAt);
    drag->exec(Qt::CopyAction);
}
