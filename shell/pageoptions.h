#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class QAbstractButton;

// The option buttons of one page (its tag entries, and on the home page its
// layout options): at most one of them is selected across the whole page,
// whatever frame holds it. For the keyboard they fall into groups, one per
// frame: Tab stops once per group (on its selected option, or its first), and
// the arrow keys move through the options of the group, wrapping round,
// choosing each one as a click would. A group's options follow each other in
// the Tab order, in reading order, so Tab leaves a group for the same control
// whichever option is selected.
//
// The buttons must not be in an exclusive QButtonGroup nor auto-exclusive:
// Qt gives such a set a single Tab stop for all its buttons.
class PageOptions : public QObject
{
    Q_OBJECT
public:
    explicit PageOptions(QObject *parent) : QObject(parent) {}

    // Adds a group; its options are ordered as read, top to bottom, then
    // left to right.
    void addGroup(QList<QAbstractButton *> options);

    // The selected option of the page, or nullptr.
    QAbstractButton *selected() const { return m_selected; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onToggled(QAbstractButton *option, bool checked);
    void makeTabStop(QAbstractButton *option);

    QList<QList<QAbstractButton *>> m_groups;
    QHash<QAbstractButton *, qsizetype> m_groupOf;
    QAbstractButton *m_selected = nullptr;
};
