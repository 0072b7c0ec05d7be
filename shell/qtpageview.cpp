#include "shell/qtpageview.h"

#include "shell/failurenotice.h"
#include "shell/systemclipboard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPlainTextEdit>

QtPageView::QtPageView(QPlainTextEdit *output, QMap<qint16, QAbstractButton *> entries,
                       QButtonGroup *group)
    : m_output(output), m_entries(std::move(entries)), m_group(group)
{
    QObject::connect(m_output->document(), &QTextDocument::contentsChanged, m_output, [this] {
        if (!m_writing)
            m_userEdited = true;
    });
}

QString QtPageView::GetOutputText() const
{
    if (!m_userEdited)
        return m_written;
    QString text = m_output->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

namespace {

// Wrapping at word boundaries rescans a long run without blanks for every
// screen line, which grows with the square of the run (a pasted megabyte of
// digits took seconds); text with a run longer than any screen line wraps
// anywhere instead.
bool hasLongUnbrokenRun(const QString &text)
{
    constexpr qsizetype kLongRun = 512;
    qsizetype run = 0;
    for (QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongRun)
            return true;
    }
    return false;
}

// Clears a button of an exclusive group, which the group itself refuses to do
// for its checked button.
void clearExclusive(QButtonGroup *group, QAbstractButton *button)
{
    const bool exclusive = group && group->exclusive();
    if (exclusive)
        group->setExclusive(false);
    button->setChecked(false);
    if (exclusive)
        group->setExclusive(true);
}

} // namespace

void QtPageView::SetOutputText(const QString &text)
{
    m_output->setWordWrapMode(hasLongUnbrokenRun(text) ? QTextOption::WrapAnywhere
                                                       : QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_writing = true;
    m_output->setPlainText(text);
    m_writing = false;
    m_written = text;
    m_userEdited = false;
}

qint16 QtPageView::HighestEntryIndex() const
{
    return m_entries.isEmpty() ? qint16(-1) : m_entries.lastKey();
}

void QtPageView::SetEntryValue(qint16 index, bool selected)
{
    QAbstractButton *button = m_entries.value(index);
    if (!button || button->isChecked() == selected)
        return;
    if (selected)
        button->click();   // selects it and runs its handler, as a user's click
    else
        clearExclusive(m_group, button);
}

void QtPageView::SetEntryTip(qint16 index, const QString &text)
{
    if (QAbstractButton *button = m_entries.value(index))
        button->setToolTip(text);
}

QString clipboardFailureMessage()
{
    return QStringLiteral("无法写入剪切板，生成的代码仍在输出框中，请从输出框中选中后复制。");
}

void QtPageView::SetClipboardText(const QString &text)
{
    if (putOnClipboard(text)) {
        m_clipboardFailing = false;
        return;
    }
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
