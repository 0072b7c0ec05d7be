#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class QAbstractButton;

// Keyboard use of a page's option buttons, as in any dialog with option
// groups: Tab stops once per group (on its selected option, or its first),
// and the arrow keys move through the options of the group, wrapping round,
// choosing each one as a click would.
class EntryKeyboard : public QObject
{
    Q_OBJECT
public:
    explicit EntryKeyboard(QObject *parent) : QObject(parent) {}

    // Adds a group; its options are ordered as read, top to bottom, then
    // left to right.
    void addGroup(QList<QAbstractButton *> options);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeTabStop(QAbstractButton *option);

    QList<QList<QAbstractButton *>> m_groups;
    QHash<QAbstractButton *, qsizetype> m_groupOf;
};
