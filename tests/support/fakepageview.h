#pragma once

#include "shell/pageview.h"

#include <QMap>
#include <QStringList>

#include <functional>

// A PageView without widgets. It keeps the state a real page would show and
// records every call, so tests can check both the outcome and the order.
class FakePageView : public PageView
{
public:
    explicit FakePageView(qint16 highestIndex = 0) : highest(highestIndex) {}

    QString GetOutputText() const override { return output; }
    void SetOutputText(const QString &text) override
    {
        calls << QStringLiteral("SetOutputText");
        output = text;
    }
    qint16 HighestEntryIndex() const override { return highest; }
    void SetEntryValue(qint16 index, bool value) override
    {
        calls << QStringLiteral("SetEntryValue(%1,%2)").arg(index).arg(value);
        const bool was = selected.value(index, false);
        selected[index] = value;
        if (value && !was && onClick)
            onClick(index);
    }
    void SetEntryTip(qint16 index, const QString &text) override
    {
        calls << QStringLiteral("SetEntryTip(%1)").arg(index);
        tips[index] = text;
    }
    void SetClipboardText(const QString &text) override
    {
        calls << QStringLiteral("SetClipboardText");
        clipboard = text;
        ++clipboardWrites;
    }

    QList<qint16> selectedEntries() const
    {
        QList<qint16> result;
        for (auto it = selected.cbegin(); it != selected.cend(); ++it) {
            if (it.value())
                result << it.key();
        }
        return result;
    }

    qint16 highest;
    QString output;
    QString clipboard;
    int clipboardWrites = 0;
    QMap<qint16, bool> selected;
    QMap<qint16, QString> tips;
    QStringList calls;
    std::function<void(qint16)> onClick;   // what selecting an unselected entry runs
};
