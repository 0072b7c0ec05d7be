#include "shell/outputbox.h"

#include "shell/fonts.h"
#include "shell/templatehighlighter.h"

#include <algorithm>

namespace {

constexpr qreal kPointSize = 10.5;

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

bool showsNothing(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

} // namespace

OutputBox::OutputBox(QWidget *parent) : QPlainTextEdit(parent)
{
    // Until it takes the code face, the Song face at the same size, which the
    // page's usage line and text boxes load anyway.
    setFont(songFont(kPointSize));
    new TemplateHighlighter(this);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab leaves the box, so a keyboard user is never trapped in it.
    setTabChangesFocus(true);
}

void OutputBox::setText(const QString &text)
{
    // The face first: the text is laid out once, in it.
    if (!showsNothing(text))
        takeCodeFace();
    setWordWrapMode(hasLongUnbrokenRun(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setPlainText(text);
}

void OutputBox::focusInEvent(QFocusEvent *event)
{
    takeCodeFace();
    QPlainTextEdit::focusInEvent(event);
}

void OutputBox::insertFromMimeData(const QMimeData *source)
{
    takeCodeFace();
    QPlainTextEdit::insertFromMimeData(source);
}

void OutputBox::takeCodeFace()
{
    if (m_hasCodeFace)
        return;
    m_hasCodeFace = true;
    setFont(codeFont(kPointSize));
}
