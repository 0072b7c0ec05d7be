#include "core/template/cursorcontext.h"

#include "core/template/templatesyntax.h"
#include "core/template/textscan.h"

#include <algorithm>

using namespace templatesyntax;

namespace {

TextRange between(qsizetype from, qsizetype to)
{
    return {from, to - from};
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Whether a piece ending at `offset` is still open to typing there.
bool continuesAtEnd(QStringView text, const TemplateNode &node)
{
    switch (node.kind) {
    case NodeKind::Php:
        return true;   // its closing tag starts where it ends
    case NodeKind::Tag:
        if (node.form == TagForm::Close)
            return false;
        [[fallthrough]];
    case NodeKind::Placeholder:
        return node.range.length > 0 && text[node.range.end() - 1] != u'}';
    case NodeKind::Comment:
        break;
    }
    return false;
}

// The part of a typed tag start that names what is looked for: "{zuvi:fen"
// and "fen" look for "fen"; "{", "{zu" and "{zuvi:" for everything, the
// prefix being on its way.
TextRange queryOf(QStringView text, TextRange typed)
{
    QStringView part = text.sliced(typed.start, typed.length);
    qsizetype start = typed.start;
    const bool braced = part.startsWith(u'{');
    if (braced) {
        part = part.sliced(1);
        ++start;
    }
    if (hasTagPrefix(part))
        return between(start + kTagPrefix.size(), typed.end());
    if (braced && kTagPrefix.startsWith(part))
        return between(typed.end(), typed.end());
    return between(start, typed.end());
}

// Whether `offset` is in PHP code opened by <?php, <?= or "<? " and not yet
// closed by ?>. The parser does not read these (the template engine leaves
// them to PHP), so the nearest opener or closer before the offset decides.
bool inPhpCode(QStringView text, qsizetype offset)
{
    for (qsizetype i = lastOf(text, offset, u'?'); i > 0; i = lastOf(text, i, u'?')) {
        if (i + 2 <= offset && text[i + 1] == u'>')
            return false;
        if (text[i - 1] != u'<')
            continue;
        const QStringView after = text.sliced(i + 1);
        if (after.startsWith(QLatin1String("php"), Qt::CaseInsensitive) || after.startsWith(u'=') || after.isEmpty()
            || after.front().isSpace())
            return true;
    }
    return false;
}

class ContextReader
{
public:
    ContextReader(QStringView text, const ParsedTemplate &parsed, qsizetype offset)
        : m_text(text), m_parsed(parsed), m_offset(std::clamp<qsizetype>(offset, 0, text.size()))
    {
    }

    CursorContext read()
    {
        m_context.typed = m_context.query = between(m_offset, m_offset);
        const qsizetype before = pieceEndingAt();
        if (before >= 0) {
            // The closing tag of a PHP block is PHP to the parser until it is whole.
            if (m_parsed.nodes[before].kind == NodeKind::Php && closingTyped())
                return m_context;
            return inPiece(before);
        }
        if (textTyped())
            return m_context;
        const qsizetype after = pieceStartingAt();
        if (after >= 0)
            return inPiece(after);
        if (inPhpCode(m_text, m_offset))
            m_context.kind = CursorKind::Php;
        return m_context;
    }

private:
    QChar at(qsizetype i) const { return i >= 0 && i < m_text.size() ? m_text[i] : QChar(); }

    // The piece holding the character before the offset, where the offset
    // is inside it or at an end that typing continues; -1 if none.
    qsizetype pieceEndingAt() const
    {
        const QList<TemplateNode> &nodes = m_parsed.nodes;
        const auto first = std::lower_bound(nodes.cbegin(), nodes.cend(), m_offset,
                                            [](const TemplateNode &node, qsizetype o) { return node.range.start < o; });
        if (first == nodes.cbegin())
            return -1;
        // Comments hold the pieces inside them, which follow them: the last
        // piece starting before the offset is the innermost one there.
        const qsizetype last = first - nodes.cbegin() - 1;
        const TemplateNode &node = nodes[last];
        if (node.kind == NodeKind::Comment)
            return -1;
        if (m_offset < node.range.end() || (m_offset == node.range.end() && continuesAtEnd(m_text, node)))
            return last;
        return -1;
    }

    // The first piece starting at the offset, comments aside; -1 if none.
    qsizetype pieceStartingAt() const
    {
        const QList<TemplateNode> &nodes = m_parsed.nodes;
        auto it = std::lower_bound(nodes.cbegin(), nodes.cend(), m_offset,
                                   [](const TemplateNode &node, qsizetype o) { return node.range.start < o; });
        for (; it != nodes.cend() && it->range.start == m_offset; ++it) {
            if (it->kind != NodeKind::Comment)
                return it - nodes.cbegin();
        }
        return -1;
    }

    // A closing tag's "{/" and the start of its name right before the offset.
    bool closingTyped()
    {
        qsizetype nameStart = m_offset;
        while (isIdentifierChar(at(nameStart - 1)) || at(nameStart - 1) == u':')
            --nameStart;
        if (at(nameStart - 1) != u'/' || at(nameStart - 2) != u'{')
            return false;
        m_context.kind = CursorKind::ClosingTag;
        m_context.typed = between(nameStart - 2, m_offset);
        return true;
    }

    // Text typed right before the offset: a closing tag begun, or a word,
    // maybe after '{' or "{zuvi:", or a '{' alone.
    bool textTyped()
    {
        if (closingTyped())
            return true;
        qsizetype start = m_offset;
        while (isWordChar(at(start - 1)))
            --start;
        const qsizetype prefixStart = start - kTagPrefix.size();
        if (prefixStart > 0 && hasTagPrefix(m_text.sliced(prefixStart)) && at(prefixStart - 1) == u'{')
            start = prefixStart - 1;
        else if (at(start - 1) == u'{')
            --start;
        m_context.typed = between(start, m_offset);
        m_context.query = queryOf(m_text, m_context.typed);
        if (start == m_offset)
            return false;
        if (inPhpCode(m_text, m_offset)) {
            m_context.kind = CursorKind::Php;
            m_context.typed = m_context.query = between(m_offset, m_offset);
        }
        return true;
    }

    CursorContext inPiece(qsizetype index)
    {
        m_context = {};
        m_context.node = index;
        m_context.typed = m_context.query = between(m_offset, m_offset);
        const TemplateNode &node = m_parsed.nodes[index];
        switch (node.kind) {
        case NodeKind::Placeholder:
            m_context.kind = CursorKind::Placeholder;
            break;
        case NodeKind::Php:
            m_context.kind = CursorKind::Php;
            break;
        case NodeKind::Comment:
            m_context.node = -1;
            break;
        case NodeKind::Tag:
            if (node.form == TagForm::Close) {
                m_context.kind = CursorKind::ClosingTag;
                m_context.typed = between(node.range.start, m_offset);
            } else {
                inTag(node);
            }
            break;
        }
        return m_context;
    }

    void inTag(const TemplateNode &tag)
    {
        if (m_offset <= tag.name.end()) {
            m_context.kind = CursorKind::TagName;
            m_context.typed = between(tag.range.start, m_offset);
            m_context.query = queryOf(m_text, m_context.typed);
            return;
        }
        const NodeParts<TagAttribute> attributes = m_parsed.attributesOf(tag);
        for (qsizetype i = 0; i < attributes.size(); ++i) {
            const TagAttribute &attribute = attributes[i];
            if (m_offset < attribute.name.start)
                break;
            if (m_offset <= attribute.name.end()) {
                m_context.kind = CursorKind::AttributeName;
                m_context.attribute = i;
                m_context.typed = between(attribute.name.start, m_offset);
                return;
            }
            const TextRange inside = valueInside(attribute);
            if (attribute.hasValue() && m_offset >= inside.start && m_offset <= inside.end()) {
                m_context.kind = CursorKind::AttributeValue;
                m_context.attribute = i;
                m_context.value = inside;
                m_context.typed = between(inside.start, m_offset);
                return;
            }
            if (m_offset < inside.start) {
                m_context.kind = CursorKind::InTag;   // on its '=' or opening quote
                m_context.attribute = i;
                return;
            }
        }
        // Between attributes or after the last: a new one goes after a blank.
        m_context.kind = at(m_offset - 1).isSpace() ? CursorKind::AttributeName : CursorKind::InTag;
    }

    // A value without its quotes; a value whose closing quote is missing
    // runs to its end.
    TextRange valueInside(const TagAttribute &attribute) const
    {
        const TextRange &value = attribute.value;
        if (!attribute.quoted)
            return value;
        const bool closed = value.length > 1 && m_text[value.end() - 1] == m_text[value.start];
        return between(value.start + 1, value.end() - (closed ? 1 : 0));
    }

    QStringView m_text;
    const ParsedTemplate &m_parsed;
    qsizetype m_offset;
    CursorContext m_context;
};

} // namespace

CursorContext cursorContextAt(QStringView text, const ParsedTemplate &parsed, qsizetype offset)
{
    return ContextReader(text, parsed, offset).read();
}
