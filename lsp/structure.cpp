#include "lsp/structure.h"

#include "lsp/protocol.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSymbolStruct = protocol::number(protocol::SymbolKind::Struct);
constexpr int kHighlightText = protocol::number(protocol::DocumentHighlightKind::Text);
// A symbol's detail: the opening tag's attributes, cut to a line of this length.
constexpr qsizetype kDetailLength = 60;

int lineOf(const PositionMapper &positions, qsizetype offset)
{
    return positions.position(offset)[QLatin1StringView("line")].toInt();
}

QString attributesOf(const DocumentAnalysis &analysis, const TemplateNode &tag)
{
    const NodeParts<TagAttribute> attributes = analysis.parsed().attributesOf(tag);
    if (attributes.isEmpty())
        return {};
    const qsizetype start = attributes.first().name.start;
    const TagAttribute &last = attributes.last();
    QString text = analysis.text().sliced(start, std::max(last.name.end(), last.value.end()) - start).simplified();
    if (text.size() > kDetailLength)
        text = text.left(kDetailLength - 1) + u'…';
    return text;
}

} // namespace

QJsonArray documentSymbols(const DocumentAnalysis &analysis, const PositionMapper &positions,
                           const ClientSupport &client, const QString &uri)
{
    const TemplateBlocks &blocks = analysis.blocks();
    const QList<TemplateNode> &nodes = analysis.parsed().nodes;
    // After its closing tag, or where it was taken as closed.
    const auto blockEnd = [&](const TemplateBlock &block) {
        return block.close >= 0 ? nodes[block.close].range.end() : block.content.end();
    };
    const auto symbolOf = [&](const TemplateBlock &block) {
        const TemplateNode &open = nodes[block.open];
        return QJsonObject{
            {u"name"_s, u'{' + analysis.textOf(open.name).toString() + u'}'},
            {u"detail"_s, attributesOf(analysis, open)},
            {u"kind"_s, kSymbolStruct},
            {u"range"_s, positions.range(open.range.start, blockEnd(block) - open.range.start)},
            {u"selectionRange"_s, positions.range(open.name.start, open.name.length)},
        };
    };
    if (!client.hierarchicalSymbols) {
        QJsonArray flat;
        for (const TemplateBlock &block : blocks.blocks) {
            const QJsonObject symbol = symbolOf(block);
            QJsonObject information{
                {u"name"_s, symbol[u"name"_s]},
                {u"kind"_s, kSymbolStruct},
                {u"location"_s, QJsonObject{{u"uri"_s, uri}, {u"range"_s, symbol[u"range"_s]}}},
            };
            if (block.parent >= 0)
                information.insert(u"containerName"_s, u'{' + analysis.textOf(nodes[blocks.blocks[block.parent].open].name).toString() + u'}');
            flat << information;
        }
        return flat;
    }
    // Children before parents: blocks stand in order of their opening
    // tags, so going backwards every child is complete before its parent.
    QList<QJsonObject> symbols(blocks.blocks.size());
    QList<QJsonArray> children(blocks.blocks.size());
    QJsonArray roots;
    for (qsizetype b = blocks.blocks.size() - 1; b >= 0; --b) {
        QJsonObject symbol = symbolOf(blocks.blocks[b]);
        if (!children[b].isEmpty())
            symbol.insert(u"children"_s, children[b]);
        const qsizetype parent = blocks.blocks[b].parent;
        if (parent >= 0)
            children[parent].prepend(symbol);
        else
            roots.prepend(symbol);
    }
    return roots;
}

QJsonArray foldingRanges(const DocumentAnalysis &analysis, const PositionMapper &positions)
{
    QJsonArray ranges;
    const QList<TemplateNode> &nodes = analysis.parsed().nodes;
    for (const TemplateBlock &block : analysis.blocks().blocks) {
        if (block.close < 0)
            continue;
        const int start = lineOf(positions, nodes[block.open].range.start);
        const int end = lineOf(positions, nodes[block.close].range.start) - 1;
        if (end > start)
            ranges << QJsonObject{{u"startLine"_s, start}, {u"endLine"_s, end}};
    }
    for (const TemplateNode &node : nodes) {
        if (node.kind != NodeKind::Comment)
            continue;
        const int start = lineOf(positions, node.range.start);
        const int end = lineOf(positions, node.range.end());
        if (end > start)
            ranges << QJsonObject{{u"startLine"_s, start}, {u"endLine"_s, end}, {u"kind"_s, u"comment"_s}};
    }
    return ranges;
}

QJsonArray documentHighlights(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions)
{
    const CursorContext cursor = analysis.cursorAt(offset);
    if (!cursor.onTag())
        return {};
    const qsizetype index = cursor.node;
    const QList<TemplateNode> &nodes = analysis.parsed().nodes;
    for (const TemplateBlock &block : analysis.blocks().blocks) {
        if (block.open != index && block.close != index)
            continue;
        QJsonArray highlights;
        for (const qsizetype tag : {block.open, block.close}) {
            if (tag >= 0)
                highlights << QJsonObject{{u"range"_s, positions.range(nodes[tag].name.start, nodes[tag].name.length)},
                                          {u"kind"_s, kHighlightText}};
        }
        return highlights;
    }
    return {};
}
