#pragma once

#include <QString>

// A tag page's output box and the clipboard, as the page's logic sees them.
// The logic works on this alone, so it runs against a fake in tests.
class PageView
{
public:
    virtual ~PageView() = default;

    // The output box's whole text, lines ended by CR LF.
    virtual QString outputText() const = 0;
    // Replaces the output box's whole text, whatever the user typed there.
    virtual void setOutputText(const QString &text) = 0;
    // Replaces the clipboard's content with the text, as plain text.
    virtual void copyToClipboard(const QString &text) = 0;

    // Shows a snippet and puts the same text on the clipboard: what a choice
    // on a tag page does.
    void present(const QString &text)
    {
        setOutputText(text);
        copyToClipboard(text);
    }
};
