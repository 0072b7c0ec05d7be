#pragma once

#include "core/catalog/pageview.h"

#include <QStringList>

// A PageView without widgets. It keeps what a real page would show and
// records every call, so tests can check both the outcome and the order.
class FakePageView : public PageView
{
public:
    QString outputText() const override { return output; }
    void setOutputText(const QString &text) override
    {
        calls << QStringLiteral("setOutputText");
        output = text;
    }
    void copyToClipboard(const QString &text) override
    {
        calls << QStringLiteral("copyToClipboard");
        clipboard = text;
    }

    QString output;
    QString clipboard;
    QStringList calls;
};
