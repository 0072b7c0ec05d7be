#include "lsp/semantictokens.h"

#include "core/template/templatetokens.h"

#include <QJsonArray>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The legend, standard token types only; a token's type is its index here.
enum TokenType { Macro, Property, String, Variable, Function };
const char *const kTokenTypes[] = {"macro", "property", "string", "variable", "function"};

// The template's own kinds; the rest belongs to HTML, CSS, script or PHP.
std::optional<TokenType> typeOf(TokenKind kind)
{
    switch (kind) {
    case TokenKind::TemplateTag:
        return Macro;   // expanded by the CMS before the page reaches a browser
    case TokenKind::TemplateAttribute:
        return Property;
    case TokenKind::TemplateValue:
        return String;
    case TokenKind::Placeholder:
        return Variable;
    case TokenKind::PlaceholderFilter:
        return Function;
    default:
        return std::nullopt;
    }
}

QJsonArray toJson(const QList<int> &numbers)
{
    QJsonArray array;
    for (const int number : numbers)
        array.append(number);
    return array;
}

} // namespace

QList<int> encodeSemanticTokens(QStringView text, const PositionMapper &positions)
{
    QList<int> data;
    int line = 0;
    int character = 0;
    for (const TemplateToken &token : tokenizeTemplate(text)) {
        const std::optional<TokenType> type = typeOf(token.kind);
        if (!type)
            continue;
        // Tokens never hold a line break, so start and end share a line.
        const QJsonObject start = positions.position(token.start);
        const QJsonObject end = positions.position(token.start + token.length);
        const int tokenLine = start[u"line"_s].toInt();
        const int tokenCharacter = start[u"character"_s].toInt();
        data << tokenLine - line << (tokenLine == line ? tokenCharacter - character : tokenCharacter)
             << end[u"character"_s].toInt() - tokenCharacter << int(*type) << 0;
        line = tokenLine;
        character = tokenCharacter;
    }
    return data;
}

QJsonObject SemanticTokens::provider()
{
    QJsonArray types;
    for (const char *type : kTokenTypes)
        types.append(QLatin1StringView(type));
    return QJsonObject{
        {u"legend"_s, QJsonObject{{u"tokenTypes"_s, types}, {u"tokenModifiers"_s, QJsonArray()}}},
        {u"full"_s, QJsonObject{{u"delta"_s, true}}},
        {u"range"_s, false},
    };
}

SemanticTokens::Result &SemanticTokens::remember(const QString &uri, QList<int> data)
{
    Result &result = m_last[uri];
    result.id = QString::number(m_nextId++);
    result.data = std::move(data);
    return result;
}

QJsonObject SemanticTokens::full(const QString &uri, QStringView text, const PositionMapper &positions)
{
    const Result &result = remember(uri, encodeSemanticTokens(text, positions));
    return QJsonObject{{u"resultId"_s, result.id}, {u"data"_s, toJson(result.data)}};
}

QJsonObject SemanticTokens::delta(const QString &uri, const QString &previousResultId, QStringView text,
                                  const PositionMapper &positions)
{
    const auto last = m_last.constFind(uri);
    if (last == m_last.cend() || last->id != previousResultId)
        return full(uri, text, positions);
    const QList<int> before = last->data;
    const Result &result = remember(uri, encodeSemanticTokens(text, positions));
    const QList<int> &after = result.data;
    // One edit: what lies between the numbers both share at the start and
    // those they share at the end. An edit in a template moves the tokens
    // of one place, and the encoding is relative, so the rest stays alike.
    const qsizetype shortest = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shortest && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shortest - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    QJsonArray edits;
    if (head != before.size() || head != after.size()) {
        edits.append(QJsonObject{
            {u"start"_s, int(head)},
            {u"deleteCount"_s, int(before.size() - head - tail)},
            {u"data"_s, toJson(after.mid(head, after.size() - head - tail))},
        });
    }
    return QJsonObject{{u"resultId"_s, result.id}, {u"edits"_s, edits}};
}
