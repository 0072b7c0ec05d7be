#include "shell/systemclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

bool writeSystemClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    // Where the platform knows owners (X11, Windows) owning the clipboard
    // right after the write means the text is there; elsewhere the text is
    // read back, which there is served from the program's own data.
    return clipboard->ownsClipboard() || clipboard->text(QClipboard::Clipboard) == text;
}

ClipboardWriter &currentWriter()
{
    static ClipboardWriter writer = writeSystemClipboard;
    return writer;
}

} // namespace

bool putOnClipboard(const QString &text)
{
    return currentWriter()(text);
}

ClipboardWriter replaceClipboardWriter(ClipboardWriter writer)
{
    ClipboardWriter previous = std::move(currentWriter());
    currentWriter() = writer ? std::move(writer) : ClipboardWriter(writeSystemClipboard);
    return previous;
}
