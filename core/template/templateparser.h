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

struct TemplateNode {
    NodeKind kind = NodeKind::Tag;
    TextRange range;                  // the whole piece
    qsizetype comment = -1;           // the comment node it stands in, or -1
    // Tags: the name as written ("zuvi:list", "volist"), the form, the attributes.
    TextRange name;
    TagForm form = TagForm::Open;
    QList<TagAttribute> attributes;
    // Placeholders: the variable, and each filter after a '|'.
    TextRange variable;
    QList<TextRange> filters;
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
    QList<TemplateNode> nodes;   // in order of their start; comments contain the nodes inside them
    QList<SyntaxError> errors;   // one per fault, in order: reading goes on after each
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
