#pragma once

#include "core/templateparser.h"

#include <QList>
#include <QStringView>

class TagKnowledge;

// How the tags of a template pair into blocks, as the CMS pairs them: a tag
// opens a block when it is known as one, or when a closing tag of its name
// follows somewhere; a closing tag closes the innermost open block of its
// name, and closes with it the blocks opened inside that one and left open
// (it crosses them). Tags with a syntax fault take no part.
struct TemplateBlock {
    qsizetype open = -1;     // node index of the opening tag
    qsizetype close = -1;    // node index of the closing tag, or -1 where none closes it
    qsizetype parent = -1;   // index in `blocks` of the block around it, or -1
    qsizetype crossedBy = -1; // node index of the closing tag that crossed it, or -1
    // Where the block ends: after its closing tag, at the start of the
    // closing tag that crossed it, or at the end of the text.
    qsizetype end = 0;

    bool leftOpen() const { return close < 0 && crossedBy < 0; }   // open to the end of the text
};

struct BlockCrossing {
    qsizetype close = -1;     // node index of the closing tag that crosses
    qsizetype crossed = -1;   // index in `blocks` of the innermost block it crosses
};

struct TemplateBlocks {
    QList<TemplateBlock> blocks;      // in order of their opening tags
    QList<qsizetype> strayCloses;     // node indexes of closing tags with nothing of their name open
    QList<BlockCrossing> crossings;
    // Per node: the innermost block open where it stands, or -1. A block's
    // own tags stand outside it.
    QList<qsizetype> enclosing;

    // The innermost block whose inside (between its tags) holds `offset`, or -1.
    qsizetype innermostAt(const ParsedTemplate &parsed, qsizetype offset) const;
};

TemplateBlocks templateBlocks(QStringView text, const ParsedTemplate &parsed, const TagKnowledge &knowledge);
