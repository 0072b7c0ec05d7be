// The tokens of any text, as the output box's highlighter asks for them: in
// order, apart, inside their line, the same line by line as for the whole
// text, and from any state a line may be handed.
#include "core/template/templatetokens.h"
#include "tests/fuzz/fuzzsupport.h"

#include <cstring>

namespace {

void checkTokens(QStringView text, const QList<TemplateToken> &tokens, const char *what)
{
    qsizetype end = 0;
    for (const TemplateToken &token : tokens) {
        fuzzCheck(token.start >= end && token.length > 0 && token.start + token.length <= text.size(), what,
                  fuzzShown(text.toString()));
        const QStringView covered = text.sliced(token.start, token.length);
        fuzzCheck(!covered.contains(u'\n') && !covered.contains(u'\r'), "no token over a line break",
                  fuzzShown(text.toString()));
        fuzzCheck(int(token.kind) >= 0 && int(token.kind) < kTokenKindCount, "a known kind");
        end = token.start + token.length;
    }
}

void checkText(const QString &text, int anyState)
{
    const QList<TemplateToken> whole = tokenizeTemplate(text);
    checkTokens(text, whole, "tokens in order and inside the text");

    // Line by line, as the output box's blocks go to QSyntaxHighlighter, with
    // the same result: the box breaks lines at LF, at CR, and at CR LF once.
    QList<TemplateToken> byLine;
    QList<QStringView> lines;
    int state = kTextStart;
    const QString normalized =
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QList<qsizetype> starts;   // of each line in `text`
    for (qsizetype i = 0, line = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\n' || text[i] == u'\r') {
            lines.append(QStringView(text).sliced(line, i - line));
            starts.append(line);
            if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n')
                ++i;
            line = i + 1;
        }
    }
    fuzzCheck(lines.size() == normalized.count(u'\n') + 1, "as many lines as the box has", fuzzShown(text));
    for (qsizetype l = 0; l < lines.size(); ++l) {
        QList<TemplateToken> lineTokens;
        state = tokenizeTemplateLine(lines[l], state, lineTokens);
        fuzzCheck(state >= 0, "a line ends in a state", fuzzShown(text));
        for (TemplateToken token : lineTokens) {
            token.start += starts[l];
            byLine.append(token);
        }
    }
    fuzzCheck(byLine == whole, "line by line as the whole text", fuzzShown(text));

    // The first line from a state out of anywhere.
    const QStringView first = lines.first();
    QList<TemplateToken> fromAnyState;
    const int next = tokenizeTemplateLine(first, anyState, fromAnyState);
    checkTokens(first, fromAnyState, "tokens from any state in order and inside the line");
    fuzzCheck(next >= 0, "any state gives a state", fuzzShown(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int anyState = 0;
    std::memcpy(&anyState, data, qMin(size, sizeof anyState));
    // The bytes as UTF-8 text, and as raw UTF-16 with any surrogates.
    checkText(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)), anyState);
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    checkText(utf16, ~anyState);
    return 0;
}
