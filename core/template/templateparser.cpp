#include "core/template/templateparser.h"

#include "core/template/templatesyntax.h"
#include "core/template/textscan.h"

#include <algorithm>

using namespace templatesyntax;

namespace {

// Reads the text once from start to end. Every search either moves the
// position past what it read, stops within the line it started on, or is
// remembered (see m_noQuoteUntil), so the time is linear in the length of
// the text.
class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    ParsedTemplate run()
    {
        // Room for a piece per '{' and per '!' (of "<!--") from the start:
        // growing the list as pieces come cost a quarter of the parser.
        const qsizetype pieces = countOfEither(m_text, u'{', u'!');
        m_result.nodes.resize(pieces);
        // And for about one attribute a piece, about what templates have.
        m_result.attributes.reserve(pieces);
        // Only a '{' or the "<!--" of a comment can start a piece: the text
        // between is skipped to the next '{' or '!', which markup has far
        // fewer of than '<'.
        for (;;) {
            const qsizetype from = m_pos;
            m_pos = nextOfAny(m_text, from, u'{', u'!');
            if (m_pos >= m_text.size())
                break;
            if (m_text[m_pos] == u'!') {
                const qsizetype open = m_pos - 1;   // where "<!--" would start
                if (open >= from && open >= m_commentEnd && isCommentStart(open)) {
                    m_pos = open;
                    readComment();
                } else {
                    ++m_pos;
                }
                continue;
            }
            const TagStart start = tagStartAt(m_text, m_pos);
            switch (start.kind) {
            case TagStart::Kind::None:
                ++m_pos;
                break;
            case TagStart::Kind::Placeholder:
                readPlaceholder();
                break;
            case TagStart::Kind::Closing:
                readClosingTag(start);
                break;
            case TagStart::Kind::Opening:
                readOpeningTag(start);
                break;
            }
        }
        // Braces of scripts and styles are no pieces: a list left mostly
        // empty gives its room back.
        m_result.nodes.resize(m_nodeCount);
        if (m_result.nodes.capacity() > 2 * m_result.nodes.size() + 64)
            m_result.nodes.squeeze();
        if (m_result.attributes.capacity() > 2 * m_result.attributes.size() + 64)
            m_result.attributes.squeeze();
        return std::move(m_result);
    }

private:
    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }
    static TextRange range(qsizetype from, qsizetype to) { return {from, to - from}; }

    bool isCommentStart(qsizetype i) const
    {
        return m_text[i] == u'<' && at(i + 1) == u'!' && at(i + 2) == u'-' && at(i + 3) == u'-';
    }

    // Whether a template tag (not a placeholder) starts at `i`.
    bool isTagStart(qsizetype i) const
    {
        if (m_text[i] != u'{')
            return false;
        const TagStart::Kind kind = tagStartAt(m_text, i).kind;
        return kind == TagStart::Kind::Opening || kind == TagStart::Kind::Closing;
    }

    void fault(SyntaxFault kind, TextRange where)
    {
        m_result.errors.append({kind, where, m_nodeCount});
    }

    void append(TemplateNode &node)
    {
        if (node.range.start < m_commentEnd)
            node.comment = m_comment;
        push(node);
    }

    // Into the room made up front, past QList's append, whose general path
    // (detaching, growing at either end) cost more than the parser's own
    // work on a piece; the list takes its size at the end.
    void push(const TemplateNode &node)
    {
        if (m_nodeCount == m_result.nodes.size())
            m_result.nodes.resize(2 * m_nodeCount + 16);   // a PHP block's content is a piece without a brace
        m_result.nodes.data()[m_nodeCount++] = node;
    }

    // The first "-->" at or after `from`, or -1: found by its '>', which
    // markup has fewer of than '-'.
    qsizetype commentCloseAfter(qsizetype from) const
    {
        for (qsizetype end = nextOfAny(m_text, from + 2, u'>'); end < m_text.size(); end = nextOfAny(m_text, end + 1, u'>')) {
            if (m_text[end - 1] == u'-' && m_text[end - 2] == u'-')
                return end - 2;
        }
        return -1;
    }

    // The comment is a node; reading goes on inside it, since the template
    // engine expands the tags there too.
    void readComment()
    {
        const qsizetype close = commentCloseAfter(m_pos + 4);
        m_commentEnd = close < 0 ? m_text.size() : close + 3;
        m_comment = m_nodeCount;
        TemplateNode node;
        node.kind = NodeKind::Comment;
        node.range = range(m_pos, m_commentEnd);
        push(node);
        m_pos += 4;
    }

    void readClosingTag(const TagStart &start)
    {
        TemplateNode node;
        node.form = TagForm::Close;
        node.name = range(start.nameStart, start.nameEnd);
        node.range = range(m_pos, start.nameEnd + 1);
        append(node);
        m_pos = start.nameEnd + 1;
    }

    void readOpeningTag(const TagStart &start)
    {
        const qsizetype begin = m_pos;
        TemplateNode node;
        node.name = range(start.nameStart, start.nameEnd);
        node.firstPart = m_result.attributes.size();
        qsizetype i = start.nameEnd;
        bool closed = false;
        bool faulted = false;
        while (!closed && !faulted) {
            const QChar c = at(i);
            if (i >= m_text.size() || c == u'{' || c == u'<') {
                // Markup, a placeholder or the next tag: this tag lacks its '}'.
                i = notClosed(node, begin, i);
                faulted = true;
            } else if (c == u'}') {
                closed = true;
                ++i;
            } else if (c == u'/' && at(i + 1) == u'}') {
                node.form = TagForm::Single;
                closed = true;
                i += 2;
            } else if (c == u'"' || c == u'\'') {
                TagAttribute stray;
                i = readQuoted(i, stray, faulted);
            } else if (isAttributeChar(c)) {
                TagAttribute attribute;
                const qsizetype nameStart = i;
                while (isAttributeChar(at(i)))
                    ++i;
                attribute.name = range(nameStart, i);
                attribute.value = range(i, i);
                qsizetype j = i;
                while (at(j).isSpace())
                    ++j;
                if (at(j) == u'=') {
                    ++j;
                    while (at(j).isSpace())
                        ++j;
                    i = j;
                    if (at(i) == u'"' || at(i) == u'\'') {
                        i = readQuoted(i, attribute, faulted);
                    } else {
                        while (i < m_text.size() && !m_text[i].isSpace() && m_text[i] != u'}'
                               && !(m_text[i] == u'/' && at(i + 1) == u'}') && !isTagStart(i))
                            ++i;
                        attribute.value = range(j, i);
                    }
                }
                m_result.attributes.append(attribute);
            } else {
                ++i;
            }
        }
        // A value left open ended at the '}' on its line, which then closes the tag.
        if (faulted && at(i) == u'}') {
            ++i;
            closed = true;
        }
        node.range = range(begin, i);
        node.partCount = quint32(m_result.attributes.size() - node.firstPart);
        m_pos = i;
        const QStringView name = m_text.sliced(node.name.start, node.name.length);
        const bool php = closed && node.form == TagForm::Open && phpTagIndex(name) >= 0;
        append(node);
        if (php)
            readPhp(name);
    }

    // A tag without its '}' before markup, a placeholder, the next template
    // tag or the end of the text: it ends at the end of its first line (or
    // where it was stopped, if sooner), its attributes after that are
    // dropped, and reading goes on from there.
    qsizetype notClosed(TemplateNode &node, qsizetype begin, qsizetype stop)
    {
        qsizetype end = node.name.end();
        while (end < stop && !isLineBreak(m_text[end]))
            ++end;
        QList<TagAttribute> &attributes = m_result.attributes;
        const auto kept = std::remove_if(attributes.begin() + node.firstPart, attributes.end(), [end](const TagAttribute &a) {
            return a.name.end() > end || a.value.end() > end;
        });
        attributes.erase(kept, attributes.end());
        fault(SyntaxFault::TagNotClosed, range(begin, node.name.end()));
        return end;
    }

    // A quoted value, which may span lines. It is not closed when its line
    // has a '}' after the quote but not the closing quote (the '}' was meant
    // to close the tag), or when the quote does not come before the next
    // template tag or the end of the text. One fault, and the value ends at
    // that '}' or at the end of its line.
    qsizetype readQuoted(qsizetype i, TagAttribute &attribute, bool &faulted)
    {
        const char16_t quote = m_text[i].unicode();
        attribute.quoted = true;
        qsizetype brace = -1;
        qsizetype j = i + 1;
        // Its first line, skipped to each character that may end it.
        for (;; ++j) {
            j = nextOfAny(m_text, j, quote, u'\n', u'\r', u'{', u'}');
            if (j >= m_text.size())
                break;
            if (m_text[j] == u'}') {
                if (brace < 0)
                    brace = j;
            } else if (m_text[j] != u'{' || isTagStart(j)) {
                break;
            }
        }
        const qsizetype firstLineEnd = j;
        if (brace < 0 && j < m_text.size() && isLineBreak(m_text[j])) {
            const int which = quote == u'"' ? 0 : 1;
            if (j < m_noQuoteUntil[which]) {
                j = m_noQuoteUntil[which];
            } else {
                for (;; ++j) {
                    j = nextOfAny(m_text, j, quote, u'{');
                    if (j >= m_text.size() || m_text[j] == quote || isTagStart(j))
                        break;
                }
            }
            if (j >= m_text.size() || m_text[j] != quote)
                m_noQuoteUntil[which] = j;
        }
        if (j < m_text.size() && m_text[j] == quote) {
            attribute.value = range(i, j + 1);
            return j + 1;
        }
        const qsizetype end = brace >= 0 ? brace : firstLineEnd;
        attribute.value = range(i, end);
        fault(SyntaxFault::ValueNotClosed, attribute.value);
        faulted = true;
        return end;
    }

    // After {zuvi:php}: the PHP up to its closing tag, which is read next.
    void readPhp(QStringView name)
    {
        const qsizetype close = m_text.indexOf(kPhpTags[phpTagIndex(name)].closer, m_pos);
        const qsizetype end = close < 0 ? m_text.size() : close;
        TemplateNode node;
        node.kind = NodeKind::Php;
        node.range = range(m_pos, end);
        append(node);
        m_pos = end;
    }

    // {$field.title} or {$field.add_time|MyDate='Y-m-d',###}: on one line,
    // up to its '}' outside quotes.
    void readPlaceholder()
    {
        const qsizetype start = m_pos;
        TemplateNode node;
        node.kind = NodeKind::Placeholder;
        qsizetype i = placeholderVariableEnd(m_text, start + 2);
        node.variable = range(start + 2, i);
        node.firstPart = m_result.filters.size();
        while (at(i) == u'|') {
            const qsizetype filter = i + 1;
            i = placeholderFilterEnd(m_text, filter);
            m_result.filters.append(range(filter, i));
        }
        node.partCount = quint32(m_result.filters.size() - node.firstPart);
        if (at(i) == u'}')
            ++i;
        else
            fault(SyntaxFault::PlaceholderNotClosed, range(start, i));
        node.range = range(start, i);
        append(node);
        m_pos = i;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_commentEnd = 0;
    qsizetype m_comment = -1;   // the last comment read
    qsizetype m_nodeCount = 0;  // of m_result.nodes, the rest being room
    // Where a search for a closing quote (double, single) over lines last
    // stopped without one: no such quote lies before it.
    qsizetype m_noQuoteUntil[2] = {0, 0};
    ParsedTemplate m_result;
};

} // namespace

ParsedTemplate parseTemplate(QStringView text)
{
    return Parser(text).run();
}

QStringView tagName(QStringView text, const TemplateNode &node)
{
    const QStringView name = text.sliced(node.name.start, node.name.length);
    return hasTagPrefix(name) ? name.sliced(kTagPrefix.size()) : name;
}

qsizetype nodeAt(const ParsedTemplate &parsed, qsizetype offset)
{
    const auto after = std::upper_bound(parsed.nodes.cbegin(), parsed.nodes.cend(), offset,
                                        [](qsizetype o, const TemplateNode &node) { return o < node.range.start; });
    if (after == parsed.nodes.cbegin())
        return -1;
    const qsizetype last = after - parsed.nodes.cbegin() - 1;
    if (parsed.nodes[last].range.contains(offset))
        return last;
    const qsizetype comment = parsed.nodes[last].comment;
    return comment >= 0 && parsed.nodes[comment].range.contains(offset) ? comment : -1;
}
