#pragma once

#include "core/template/templateparser.h"

#include <QList>
#include <QStringView>

class TagKnowledge;

// How the tags of a parsed template pair into blocks: the outline, folding
// and matching of the language server, and the checker's structure checks.
// Which tags open blocks comes from the tag knowledge; a tag it does not
// know opens a block when a closing tag of its name follows it.

struct TemplateBlock {
    qsizetype open = -1;     // node of its opening tag
    qsizetype close = -1;    // node of its closing tag; -1 when it has none
    qsizetype parent = -1;   // the block it stands in; -1 at the top
    // From the end of its opening tag to the start of its closing tag, or
    // to where it was taken as closed: at a closing tag that crossed it, or
    // at the end of the text.
    TextRange content;
};

struct BlockFault {
    enum class Kind : quint8 {
        NeverClosed,   // `block` still open at the end of the text
        NothingOpen,   // the closing tag `node` closes nothing of its name; when its name is a
                       // slip of the innermost open block's, `block` is that block, taken as closed
        Crossing,      // the closing tag `node` closed its block with `crossed` open inside it,
                       // innermost first; they are taken as closed there
        ElseOutside,   // {zuvi:else /} or {zuvi:elseif … /} at `node` stands in no block
    };
    Kind kind = Kind::NeverClosed;
    qsizetype node = -1;
    qsizetype block = -1;
    QList<qsizetype> crossed;
};

// Lists of them grow by moving their bytes.
Q_DECLARE_TYPEINFO(TemplateBlock, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(BlockFault, Q_RELOCATABLE_TYPE);

struct TemplateBlocks {
    QList<TemplateBlock> blocks;   // in order of their opening tags
    QList<qsizetype> blockOfNode;  // per node: the block it opens or closes, or -1
    QList<BlockFault> faults;      // in the order they were met; unclosed blocks last

    // The innermost block whose content holds `offset`, or -1.
    qsizetype blockAt(qsizetype offset) const;
};

TemplateBlocks pairBlocks(QStringView text, const ParsedTemplate &parsed, const TagKnowledge &knowledge);
