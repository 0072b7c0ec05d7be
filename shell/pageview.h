#pragma once

#include <QString>
#include <QtGlobal>

// The narrow window onto a tag page's widgets. Page logic talks to the
// toolkit only through these operations, so it can run against a fake view in
// tests. Indices are those of the page's entry array Option1.
class PageView
{
public:
    virtual ~PageView() = default;

    virtual QString GetOutputText() const = 0;
    virtual void SetOutputText(const QString &text) = 0;
    virtual qint16 HighestEntryIndex() const = 0;
    // Clearing an entry, or selecting the one already selected, runs no
    // handler; selecting an unselected entry runs its click handler exactly
    // as a user's click would.
    virtual void SetEntryValue(qint16 index, bool selected) = 0;
    virtual void SetEntryTip(qint16 index, const QString &text) = 0;
    virtual void SetClipboardText(const QString &text) = 0;
};
