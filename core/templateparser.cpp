#include "core/templateparser.h"

#include "core/templatesyntax.h"

using namespace templatesyntax;

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Reads the text once from start to end. Every search either moves the
// position past what it read or is remembered (see m_noQuoteUntil), so the
// time is linear in the length of the text.
class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    ParsedTemplate run()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == u'<' && m_pos >= m_commentEnd && m_text.sliced(m_pos).startsWith(QLatin1String("<!--")))
                readComment();
            else if (c == u'{' && readTemplate())
                continue;
            else
                ++m_pos;
        }
        return std::move(m_result);
    }

private:
    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }
    static TextRange range(qsizetype from, qsizetype to) { return {from, to - from}; }

    // Whether a template tag (not a placeholder) starts at `i`.
    bool isTagStart(qsizetype i) const
    {
        if (at(i) != u'{')
            return false;
        if (at(i + 1) == u'/')
            return tagNameEnd(m_text, i + 2) > i + 2;
        const qsizetype end = tagNameEnd(m_text, i + 1);
        return end > i + 1 && mayFollowTagName(at(end));
    }

    void fault(SyntaxFault kind, TextRange where)
    {
        m_result.errors.append({kind, where, m_result.nodes.size()});
    }

    // The comment is a node; reading goes on inside it, since the template
    // engine expands the tags there too.
    void readComment()
    {
        const qsizetype close = m_text.indexOf(QLatin1String("-->"), m_pos + 4);
        m_commentEnd = close < 0 ? m_text.size() : close + 3;
        TemplateNode node;
        node.kind = NodeKind::Comment;
        node.range = range(m_pos, m_commentEnd);
        m_result.nodes.append(node);
        m_pos += 4;
    }

    bool readTemplate()
    {
        if (at(m_pos + 1) == u'$') {
            readPlaceholder();
            return true;
        }
        if (at(m_pos + 1) == u'/')
            return readClosingTag();
        const qsizetype nameEnd = tagNameEnd(m_text, m_pos + 1);
        if (nameEnd == m_pos + 1 || !mayFollowTagName(at(nameEnd)))
            return false;
        readOpeningTag(nameEnd);
        return true;
    }

    bool readClosingTag()
    {
        const qsizetype start = m_pos;
        const qsizetype nameEnd = tagNameEnd(m_text, start + 2);
        if (nameEnd == start + 2)
            return false;
        TemplateNode node;
        node.form = TagForm::Close;
        node.name = range(start + 2, nameEnd);
        qsizetype i = nameEnd;
        while (at(i) == u' ' || at(i) == u'\t')
            ++i;
        if (at(i) == u'}') {
            ++i;
        } else {
            fault(SyntaxFault::TagNotClosed, range(start, nameEnd));
            i = nameEnd;
        }
        node.range = range(start, i);
        m_result.nodes.append(node);
        m_pos = i;
        return true;
    }

    void readOpeningTag(qsizetype nameEnd)
    {
        const qsizetype start = m_pos;
        TemplateNode node;
        node.name = range(start + 1, nameEnd);
        qsizetype i = nameEnd;
        bool closed = false;
        bool faulted = false;
        while (!closed && !faulted) {
            const QChar c = at(i);
            if (i >= m_text.size() || isTagStart(i)) {
                fault(SyntaxFault::TagNotClosed, range(start, nameEnd));
                break;
            }
            if (c == u'}') {
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
                node.attributes.append(attribute);
            } else {
                ++i;
            }
        }
        // A value left open ended at the '}' on its line, which then closes the tag.
        if (faulted && at(i) == u'}')
            ++i;
        node.range = range(start, i);
        m_result.nodes.append(node);
        m_pos = i;
        if (node.form == TagForm::Open && closed)
            readPhp(m_text.sliced(node.name.start, node.name.length));
    }

    // A quoted value, which may span lines. Without its closing quote before
    // the next template tag or the end of the text, it ends at the first '}'
    // or line break: one fault, and the tag counts as closed there.
    qsizetype readQuoted(qsizetype i, TagAttribute &attribute, bool &faulted)
    {
        const QChar quote = m_text[i];
        const int which = quote == u'"' ? 0 : 1;
        qsizetype j = i + 1;
        if (j < m_noQuoteUntil[which]) {
            j = m_noQuoteUntil[which];
        } else {
            while (j < m_text.size() && m_text[j] != quote && !isTagStart(j))
                ++j;
        }
        attribute.quoted = true;
        if (j < m_text.size() && m_text[j] == quote) {
            attribute.value = range(i, j + 1);
            return j + 1;
        }
        m_noQuoteUntil[which] = j;
        qsizetype end = i + 1;
        while (end < j && m_text[end] != u'}' && !isLineBreak(m_text[end]))
            ++end;
        attribute.value = range(i, end);
        fault(SyntaxFault::ValueNotClosed, attribute.value);
        faulted = true;
        return end;
    }

    // After {zuvi:php}: the PHP up to its closing tag, which is read next.
    void readPhp(QStringView name)
    {
        const int php = phpTagIndex(name);
        if (php < 0)
            return;
        const qsizetype close = m_text.indexOf(kPhpTags[php].closer, m_pos);
        const qsizetype end = close < 0 ? m_text.size() : close;
        TemplateNode node;
        node.kind = NodeKind::Php;
        node.range = range(m_pos, end);
        m_result.nodes.append(node);
        m_pos = end;
    }

    // {$field.title} or {$field.add_time|MyDate='Y-m-d',###}: on one line,
    // up to its '}' outside quotes.
    void readPlaceholder()
    {
        const qsizetype start = m_pos;
        TemplateNode node;
        node.kind = NodeKind::Placeholder;
        qsizetype i = start + 2;
        while (i < m_text.size() && m_text[i] != u'|' && m_text[i] != u'}' && !isLineBreak(m_text[i]))
            ++i;
        node.variable = range(start + 2, i);
        while (at(i) == u'|') {
            const qsizetype filter = ++i;
            QChar quote;
            while (i < m_text.size() && !isLineBreak(m_text[i])) {
                const QChar c = m_text[i];
                if (!quote.isNull())
                    quote = c == quote ? QChar() : quote;
                else if (c == u'\'' || c == u'"')
                    quote = c;
                else if (c == u'}' || c == u'|')
                    break;
                ++i;
            }
            node.filters.append(range(filter, i));
        }
        if (at(i) == u'}') {
            ++i;
        } else {
            fault(SyntaxFault::PlaceholderNotClosed, range(start, i));
        }
        node.range = range(start, i);
        m_result.nodes.append(node);
        m_pos = i;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_commentEnd = 0;
    // Where a search for a closing quote (double, single) last stopped
    // without one: no such quote lies before it.
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
    return name.startsWith(kTagPrefix) ? name.sliced(kTagPrefix.size()) : name;
}
