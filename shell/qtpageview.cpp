#include "shell/qtpageview.h"

#include "shell/copiednote.h"
#include "shell/failurenotice.h"
#include "shell/outputbox.h"
#include "shell/platform/clipboard.h"

QtPageView::QtPageView(OutputBox *output, Clipboard &clipboard) : m_output(output), m_clipboard(clipboard) {}

QString QtPageView::outputText() const
{
    // The box keeps lines, not line ends: it turns CR LF into line breaks.
    QString text = m_output->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

void QtPageView::setOutputText(const QString &text)
{
    m_output->setText(text);
}

QString clipboardFailureMessage()
{
    return QStringLiteral("无法写入剪切板，生成的代码仍在输出框中，请从输出框中选中后复制。");
}

void QtPageView::copyToClipboard(const QString &text)
{
    if (m_clipboard.put(text)) {
        m_clipboardFailing = false;
        if (m_output) {
            if (!m_copiedNote)
                m_copiedNote = new CopiedNote(m_output);
            m_copiedNote->flash();
        }
        return;
    }
    // A note of an earlier copy would now be wrong.
    if (m_copiedNote)
        m_copiedNote->hide();
    // The text stays in the output box for the user to copy by hand. The
    // notice comes once for a run of failures (each keystroke in a builder box
    // copies) and leaves the keyboard where the user is typing.
    if (m_clipboardFailing || !m_output)
        return;
    m_clipboardFailing = true;
    if (!m_clipboardNotice)
        m_clipboardNotice = new FailureNotice(m_output->window(), QStringLiteral("ClipboardFailureNotice"), false);
    m_clipboardNotice->showFailure(clipboardFailureMessage());
}
