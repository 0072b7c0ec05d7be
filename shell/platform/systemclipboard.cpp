#include "shell/platform/clipboard.h"

#include "shell/platform/clipboardowner.h"

#include <QClipboard>
#include <QGuiApplication>

bool SystemClipboard::put(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    if (const std::optional<bool> owned = windowSystemSaysWeOwnTheClipboard())
        return *owned;
    // Elsewhere: where the platform knows owners (Windows), owning the
    // clipboard right after the write means the text is there; otherwise the
    // text is read back, which there is served from the program's own data.
    return clipboard->ownsClipboard() || clipboard->text(QClipboard::Clipboard) == text;
}
