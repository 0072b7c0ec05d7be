#include "core/templateblocks.h"

#include "core/tagknowledge.h"

#include <QSet>

TemplateBlocks templateBlocks(QStringView text, const ParsedTemplate &parsed, const TagKnowledge &knowledge)
{
    const auto nameOf = [&](const TemplateNode &node) { return text.sliced(node.name.start, node.name.length); };
    QSet<qsizetype> faulted;
    for (const SyntaxError &error : parsed.errors)
        faulted.insert(error.node);
    QSet<QStringView> closed;
    for (const TemplateNode &node : parsed.nodes) {
        if (node.kind == NodeKind::Tag && node.form == TagForm::Close)
            closed.insert(nameOf(node));
    }

    TemplateBlocks result;
    result.enclosing.resize(parsed.nodes.size(), -1);
    QList<qsizetype> open;   // indexes in result.blocks
    for (qsizetype i = 0; i < parsed.nodes.size(); ++i) {
        const TemplateNode &node = parsed.nodes[i];
        result.enclosing[i] = open.isEmpty() ? -1 : open.last();
        if (node.kind != NodeKind::Tag || faulted.contains(i))
            continue;
        const QStringView name = nameOf(node);
        if (node.form == TagForm::Open) {
            const TagInfo *info = knowledge.find(name);
            if (info ? info->block : closed.contains(name)) {
                result.blocks.append({.open = i, .parent = open.isEmpty() ? -1 : open.last(), .end = text.size()});
                open.append(result.blocks.size() - 1);
            }
            continue;
        }
        if (node.form != TagForm::Close)
            continue;
        qsizetype match = open.size() - 1;
        while (match >= 0 && nameOf(parsed.nodes[result.blocks[open[match]].open]) != name)
            --match;
        if (match < 0) {
            result.strayCloses.append(i);
            continue;
        }
        if (match < open.size() - 1)
            result.crossings.append({i, open.last()});
        for (qsizetype crossed = match + 1; crossed < open.size(); ++crossed) {
            result.blocks[open[crossed]].end = node.range.start;
            result.blocks[open[crossed]].crossedBy = i;
        }
        TemplateBlock &block = result.blocks[open[match]];
        result.enclosing[i] = block.parent;
        block.close = i;
        block.end = node.range.end();
        open.resize(match);
    }
    return result;
}

qsizetype TemplateBlocks::innermostAt(const ParsedTemplate &parsed, qsizetype offset) const
{
    qsizetype innermost = -1;
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        const TemplateBlock &block = blocks[b];
        const qsizetype insideStart = parsed.nodes[block.open].range.end();
        if (insideStart > offset)
            break;   // blocks stand in order of their opening tags
        const qsizetype insideEnd = block.close >= 0 ? parsed.nodes[block.close].range.start : block.end;
        if (offset <= insideEnd)
            innermost = b;
    }
    return innermost;
}
