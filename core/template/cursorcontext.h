#pragma once

#include "core/template/templateparser.h"

#include <QStringView>

// What a cursor stands in, read from the parsed template, so that every
// feature of the language server (completion, hover, partner highlights,
// definition) answers for the same place.
//
// An offset lies between two characters. Where it stands inside a piece, it
// is in that piece. At an edge:
//   - At a piece's end, it is in the piece while typing would continue it:
//     a name, a word, a value without its closing quote, PHP, a tag or a
//     placeholder without its '}'. After a closing '}', "/}" or closing
//     quote it is past the piece.
//   - Text typed right before it (a word, '{', "{zuvi:", "{/") keeps it in
//     the text, even where a piece starts at it: "fenye|{zuvi:if}" is the
//     word "fenye" being typed.
//   - Otherwise it is in the piece that starts at it: at a tag's '{' it is
//     on that tag, with nothing of it typed yet.
enum class CursorKind : quint8 {
    Text,            // plain text, markup, a comment's text
    TagName,         // an opening tag from its '{' through the end of its name
    AttributeName,   // an attribute's name, or after a blank in a tag where a new one would go
    AttributeValue,  // inside a value: between its quotes, or over an unquoted one
    InTag,           // elsewhere in an opening tag: an '=', a quote, before "/}" or '}'
    ClosingTag,      // {/zuvi:name}, or "{/" and a name being typed in text
    Placeholder,     // {$…}
    Php,             // a {zuvi:php} block's content, or between <?php and ?>
};

struct CursorContext {
    CursorKind kind = CursorKind::Text;
    // The tag, placeholder or PHP block; -1 in text, for a closing tag being
    // typed and for PHP between <?php and ?>.
    qsizetype node = -1;
    // The index in the tag's attributes: on a name, in a value, or on the
    // '=' and opening quote between them (InTag); -1 elsewhere.
    qsizetype attribute = -1;
    // What has been typed up to the cursor that completion replaces: the
    // word in text (from its '{' or "{zuvi:" when one comes first), the tag
    // from its '{', the closing tag from its '{', the attribute's name, the
    // value from its start. Empty at the cursor elsewhere.
    TextRange typed;
    // Of a tag name or a word in text: the part of `typed` a search of the
    // catalog matches, without the '{' and the "zuvi:" prefix; empty while
    // that prefix itself is being typed ("{zu").
    TextRange query;
    // AttributeValue: the value without its quotes.
    TextRange value;

    // Whether the cursor is on a template tag of the text, opening or closing.
    bool onTag() const { return node >= 0 && kind != CursorKind::Placeholder && kind != CursorKind::Php; }
    // Whether `typed` starts with '{'.
    bool braced(QStringView text) const { return typed.length > 0 && text[typed.start] == u'{'; }
};

CursorContext cursorContextAt(QStringView text, const ParsedTemplate &parsed, qsizetype offset);
