#include "shell/pageoptions.h"

#include <QAbstractButton>
#include <QKeyEvent>

#include <algorithm>

void PageOptions::addGroup(QList<QAbstractButton *> options)
{
    if (options.isEmpty())
        return;
    std::stable_sort(options.begin(), options.end(), [](const QAbstractButton *a, const QAbstractButton *b) {
        const QPoint pa = a->mapTo(a->window(), QPoint(0, a->height() / 2));
        const QPoint pb = b->mapTo(b->window(), QPoint(0, b->height() / 2));
        // Options whose middles are within a few pixels share a row.
        if (qAbs(pa.y() - pb.y()) > 4)
            return pa.y() < pb.y();
        return pa.x() < pb.x();
    });
    // Tab leaves a group from whichever of its options is selected. The
    // options are created in the page data's order, where another frame's
    // options or the page's boxes may lie between them; placed one after the
    // other in the focus chain, Tab goes on to the same control from each.
    for (qsizetype i = 1; i < options.size(); ++i)
        QWidget::setTabOrder(options[i - 1], options[i]);
    const qsizetype group = m_groups.size();
    m_groups.append(options);
    for (QAbstractButton *option : options) {
        m_groupOf.insert(option, group);
        option->installEventFilter(this);
        connect(option, &QAbstractButton::toggled, this,
                [this, option](bool checked) { onToggled(option, checked); });
        if (option->isChecked())
            onToggled(option, true);
    }
    if (!m_selected || m_groupOf.value(m_selected) != group)
        makeTabStop(options.first());
}

void PageOptions::onToggled(QAbstractButton *option, bool checked)
{
    if (!checked) {
        if (m_selected == option)
            m_selected = nullptr;
        return;
    }
    QAbstractButton *previous = m_selected;
    m_selected = option;
    // Clearing raises no click: only the chosen option's handler runs.
    if (previous && previous != option)
        previous->setChecked(false);
    makeTabStop(option);
}

void PageOptions::makeTabStop(QAbstractButton *option)
{
    for (QAbstractButton *member : m_groups[m_groupOf.value(option)])
        member->setFocusPolicy(member == option ? Qt::StrongFocus : Qt::ClickFocus);
}

bool PageOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *option = qobject_cast<QAbstractButton *>(watched);
    const int key = static_cast<QKeyEvent *>(event)->key();
    int step = 0;
    if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    if (!option || step == 0 || !m_groupOf.contains(option))
        return false;
    const QList<QAbstractButton *> &group = m_groups[m_groupOf.value(option)];
    const qsizetype next = (group.indexOf(option) + step + group.size()) % group.size();
    QAbstractButton *target = group[next];
    target->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    target->click();   // choosing by keyboard writes and copies as a click does
    return true;
}
