#pragma once

#include "core/template/templatetokens.h"

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

class QPlainTextEdit;

// Colours the snippet in an output box by its tokens (core/template/templatetokens.h).
// Display only: the formats live in the box's layout, never in its text, so
// what is shown, copied and typed stays the same characters.
class TemplateHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    // Follows the box's base colour: a new palette, a dark desktop's say,
    // colours the text anew.
    explicit TemplateHighlighter(QPlainTextEdit *box);

protected:
    void highlightBlock(const QString &text) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void takeColours();

    QPlainTextEdit *m_box;
    std::array<QTextCharFormat, kTokenKindCount> m_formats;
    QList<TemplateToken> m_tokens;   // reused from block to block
};

// The contrast every token colour keeps against the base it is drawn on.
inline constexpr double kMinimumTokenContrast = 4.5;

// A kind of token's colour on `base`: from the set made for light bases or
// the one for dark bases, whichever suits the base, taken towards black or
// white where a base between the two would leave less than
// kMinimumTokenContrast.
QColor tokenColour(TokenKind kind, const QColor &base);
