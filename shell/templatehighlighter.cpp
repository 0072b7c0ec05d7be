#include "shell/templatehighlighter.h"

#include <QEvent>
#include <QPlainTextEdit>

#include <cmath>

namespace {

// One palette, by role rather than by language: the CMS's own tags in
// purples and reds, its placeholders in teal with their filters in amber,
// HTML tags and CSS selectors in blue, attributes and properties in sienna,
// values in green, strings in red, comments in grey.
struct TokenColours {
    QRgb onLight;
    QRgb onDark;
};
constexpr TokenColours kColours[kTokenKindCount] = {
    {0x8b0a8b, 0xe68ae6},   // TemplateTag
    {0x6f42a8, 0xc0a0f0},   // TemplateAttribute
    {0xa8326e, 0xf08cbc},   // TemplateValue
    {0x00707a, 0x4fd0d8},   // Placeholder
    {0x8a5a00, 0xe6c060},   // PlaceholderFilter
    {0x1c4fb0, 0x7cb0ff},   // HtmlTag
    {0xa0442a, 0xf0a080},   // HtmlAttribute
    {0x237018, 0x9ad87a},   // HtmlValue
    {0x5c6670, 0xa8b2ba},   // Comment
    {0x1c3fc4, 0x90a8ff},   // Keyword
    {0xa31515, 0xf09090},   // String
    {0x00707a, 0x4fd0d8},   // Variable
    {0x1c4fb0, 0x7cb0ff},   // CssSelector
    {0xa0442a, 0xf0a080},   // CssProperty
    {0x237018, 0x9ad87a},   // CssValue
};

// WCAG's relative luminance and contrast ratio.
double luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// Above this luminance black stands out more than white.
constexpr double kMiddleLuminance = 0.179;

} // namespace

QColor tokenColour(TokenKind kind, const QColor &base)
{
    const bool lightBase = luminance(base) > kMiddleLuminance;
    const TokenColours &colours = kColours[int(kind)];
    const QColor designed = QColor::fromRgb(lightBase ? colours.onLight : colours.onDark);
    if (contrast(designed, base) >= kMinimumTokenContrast)
        return designed;
    // Black or white keep at least 4.58:1 on any base; the colour goes the
    // least way towards the one that suits the base.
    const QColor end = lightBase ? QColor(Qt::black) : QColor(Qt::white);
    for (int step = 1; step < 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed = QColor::fromRgbF(float(designed.redF() + (end.redF() - designed.redF()) * t),
                                              float(designed.greenF() + (end.greenF() - designed.greenF()) * t),
                                              float(designed.blueF() + (end.blueF() - designed.blueF()) * t));
        if (contrast(mixed, base) >= kMinimumTokenContrast)
            return mixed;
    }
    return end;
}

TemplateHighlighter::TemplateHighlighter(QPlainTextEdit *box) : QSyntaxHighlighter(box), m_box(box)
{
    takeColours();
    box->installEventFilter(this);
    setDocument(box->document());
}

void TemplateHighlighter::takeColours()
{
    const QColor base = m_box->palette().color(QPalette::Base);
    for (int kind = 0; kind < kTokenKindCount; ++kind)
        m_formats[size_t(kind)].setForeground(tokenColour(TokenKind(kind), base));
}

bool TemplateHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && event->type() == QEvent::PaletteChange) {
        takeColours();
        rehighlight();
    }
    return QSyntaxHighlighter::eventFilter(watched, event);
}

namespace {

// How much of a line is coloured. The layout cuts a line at every change of
// colour, and its time grows faster than the line with the number of cuts:
// a megabyte of markup on one line took seconds to colour. No snippet line
// comes near this length; a longer line is a paste, its end unread.
constexpr qsizetype kColouredLength = 10000;

bool onlyBlanks(QStringView text, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        if (text[i] != u' ')
            return false;
    }
    return true;
}

} // namespace

void TemplateHighlighter::highlightBlock(const QString &text)
{
    m_tokens.clear();
    setCurrentBlockState(tokenizeTemplateLine(text, previousBlockState(), m_tokens));
    // Blanks between two tokens, and a line's indentation, are drawn in the
    // colour of the token they touch: no one sees the colour of a blank, and
    // each change of colour is a piece the layout shapes apart and Qt keeps
    // a format range for, paid on every click.
    const qsizetype count = m_tokens.size();
    for (qsizetype i = 0; i < count && m_tokens[i].start < kColouredLength; ++i) {
        const TemplateToken &token = m_tokens[i];
        qsizetype start = token.start;
        qsizetype end = token.start + token.length;
        if (i == 0 && onlyBlanks(text, 0, start))
            start = 0;
        if (const qsizetype next = i + 1 < count ? m_tokens[i + 1].start : text.size(); onlyBlanks(text, end, next))
            end = next;
        end = qMin(end, kColouredLength);
        setFormat(int(start), int(end - start), m_formats[size_t(token.kind)]);
    }
}
