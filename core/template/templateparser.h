#pragma once

#include <QList>
#include <QStringView>

// A whole template read into its pieces, for the checker and the language
// server. The CMS's template engine knows no HTML: only template tags,
// placeholders and the PHP held in {zuvi:php} blocks are read; HTML comments
// are kept because suppression comments live in them, and the tags inside
// a comment are pieces of their own all the same. Plain text is what lies
// between the pieces. Offsets are UTF-16 offsets into the text.

struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype end() const { return start + length; }
    bool contains(qsizetype offset) const { return offset >= start && offset <= end(); }
    friend bool operator==(const TextRange &, const TextRange &) = default;
};

struct TagAttribute {
    TextRange name;
    TextRange value;          // quotes included; empty, at the name's end, when the attribute has no value
    bool quoted = false;
    // Whether an '=' follows the name, even with nothing after it yet.
    bool hasValue() const { return value.length > 0 || value.start > name.end(); }
};

enum class TagForm : quint8 {
    Open,     // {zuvi:name …}: opens a block, or stands alone when the tag is not a block
    Single,   // {zuvi:name … /}
    Close,    // {/zuvi:name}
};

enum class NodeKind : quint8 {
    Tag,
    Placeholder,  // {$…}
    Php,          // the content of a {zuvi:php} block, between its tags
    Comment,      // <!-- … -->, its delimiters included
};

// A piece's share of one of the parsed template's lists (its attributes, its
// filters): every piece's are kept in one list, so that a piece costs no
// allocation of its own. Valid while the ParsedTemplate it came from is.
template <typename T>
class NodeParts
{
public:
    NodeParts() = default;
    NodeParts(const T *first, qsizetype size) : m_first(first), m_size(size) {}

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    const T &operator[](qsizetype i) const { return m_first[i]; }
    const T &first() const { return m_first[0]; }
    const T &last() const { return m_first[m_size - 1]; }
    const T *begin() const { return m_first; }
    const T *end() const { return m_first + m_size; }
    const T *cbegin() const { return begin(); }
    const T *cend() const { return end(); }

private:
    const T *m_first = nullptr;
    qsizetype m_size = 0;
};

struct TemplateNode {
    TextRange range;                  // the whole piece
    qsizetype comment = -1;           // the comment node it stands in, or -1
    // Tags: the name as written ("zuvi:list", "volist").
    TextRange name;
    // Placeholders: the variable.
    TextRange variable;
    // A tag's attributes, a placeholder's filters after each '|': where they
    // start in ParsedTemplate's list of them, and how many (see
    // ParsedTemplate::attributesOf and filtersOf).
    qsizetype firstPart = 0;
    quint32 partCount = 0;
    NodeKind kind = NodeKind::Tag;
    TagForm form = TagForm::Open;     // tags
};

enum class SyntaxFault : quint8 {
    TagNotClosed,          // an opening tag without its closing '}'
    ValueNotClosed,        // a quoted attribute value without its closing quote
    PlaceholderNotClosed,  // {$… without its closing '}' on its line
};

struct SyntaxError {
    SyntaxFault fault;
    TextRange range;       // of what is not closed: the tag's start and name, the value, the placeholder
    qsizetype node = -1;   // the node it belongs to
};

// Lists of nodes grow by moving their bytes.
Q_DECLARE_TYPEINFO(TextRange, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(TagAttribute, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(TemplateNode, Q_RELOCATABLE_TYPE);

struct ParsedTemplate {
    QList<TemplateNode> nodes;         // in order of their start; comments contain the nodes inside them
    QList<TagAttribute> attributes;    // every tag's, in the order of the tags
    QList<TextRange> filters;          // every placeholder's, in the order of the placeholders
    QList<SyntaxError> errors;         // one per fault, in order: reading goes on after each

    // A tag's attributes in the order written; none for other nodes.
    NodeParts<TagAttribute> attributesOf(const TemplateNode &node) const
    {
        return node.kind == NodeKind::Tag ? NodeParts<TagAttribute>(attributes.constData() + node.firstPart, node.partCount)
                                          : NodeParts<TagAttribute>();
    }
    // A placeholder's filters, each after its '|'; none for other nodes.
    NodeParts<TextRange> filtersOf(const TemplateNode &node) const
    {
        return node.kind == NodeKind::Placeholder ? NodeParts<TextRange>(filters.constData() + node.firstPart, node.partCount)
                                                  : NodeParts<TextRange>();
    }
};

// Reads the whole text, in time linear in the length of the text.
//
// Recovery, so that one fault gives one error: a tag that meets markup
// ('<'), a placeholder or the next template tag ('{') or the end of the
// text before its '}' ends at the end of its first line, and reading goes
// on there; a quoted value still open where a '}' stands
// after it on its line ends at that '}', which closes the tag; a value
// whose quote never comes ends at the end of its line.
ParsedTemplate parseTemplate(QStringView text);

// The name of a tag without the "zuvi:" prefix ("list" for "zuvi:list").
QStringView tagName(QStringView text, const TemplateNode &node);

// The innermost node whose range holds `offset` (its end included), or -1.
qsizetype nodeAt(const ParsedTemplate &parsed, qsizetype offset);
