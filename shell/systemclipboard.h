#pragma once

#include <QString>

#include <functional>

// Puts text on the system clipboard and says whether it got there. Writing
// can fail where another program holds the clipboard or the platform refuses
// the program's request; Qt itself reports nothing, so afterwards the X server
// is asked who owns the clipboard (on X11), or the clipboard whether it holds
// the text (elsewhere).
bool putOnClipboard(const QString &text);

// The function that does the writing. Tests put in one that plays a clipboard
// refusing text; the previous writer is returned so that it can be restored.
using ClipboardWriter = std::function<bool(const QString &text)>;
ClipboardWriter replaceClipboardWriter(ClipboardWriter writer);
