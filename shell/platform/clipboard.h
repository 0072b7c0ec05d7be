#pragma once

#include <QString>

// Where the pages put the snippets they write. The program gives the pages
// the system clipboard; tests give them one that can refuse text.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Puts `text` on the clipboard and says whether it got there.
    virtual bool put(const QString &text) = 0;
};

// The system clipboard. Writing can fail where another program holds the
// clipboard or the platform refuses the program's request; Qt itself reports
// nothing, so afterwards the window system is asked who owns the clipboard
// (the X server, on X11), or the clipboard whether it holds the text
// (elsewhere).
class SystemClipboard final : public Clipboard
{
public:
    bool put(const QString &text) override;
};
