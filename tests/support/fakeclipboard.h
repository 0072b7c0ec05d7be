#pragma once

#include "shell/platform/clipboard.h"

#include <QStringList>

// The clipboard the tests give the pages: it passes every text on to the
// system clipboard until told to refuse, as the system clipboard does while
// another program holds it; then it keeps what it refused.
class FakeClipboard : public Clipboard
{
public:
    bool put(const QString &text) override
    {
        if (m_refusing) {
            refused << text;
            return false;
        }
        return m_system.put(text);
    }
    void refuse() { m_refusing = true; }
    void accept() { m_refusing = false; }
    bool refusing() const { return m_refusing; }

    QStringList refused;

private:
    SystemClipboard m_system;
    bool m_refusing = false;
};
