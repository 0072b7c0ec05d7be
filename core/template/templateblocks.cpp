#include "core/template/templateblocks.h"

#include "core/check/nearmiss.h"
#include "core/catalog/tagknowledge.h"
#include "core/template/nametable.h"
#include "core/template/templatesyntax.h"

#include <algorithm>
#include <vector>

namespace {

// Per node: whether it opens a block. A tag the knowledge does not know
// opens one when a closing tag of its name comes after it; the closing tags
// are only gathered when the text has such a tag.
QList<bool> opensBlock(QStringView text, const ParsedTemplate &parsed, const TagKnowledge &knowledge)
{
    QList<bool> opens(parsed.nodes.size(), false);
    const auto nameOf = [&](const TemplateNode &node) { return text.sliced(node.name.start, node.name.length); };
    QList<qsizetype> unknown;   // opening tags the knowledge does not know, in order
    for (qsizetype i = 0; i < parsed.nodes.size(); ++i) {
        const TemplateNode &node = parsed.nodes[i];
        if (node.kind != NodeKind::Tag || node.form != TagForm::Open)
            continue;
        if (const TagInfo *info = knowledge.find(nameOf(node)))
            opens[i] = info->block;
        else
            unknown.append(i);
    }
    NameTable<bool> closedLater;
    qsizetype next = parsed.nodes.size() - 1;
    for (auto tag = unknown.crbegin(); tag != unknown.crend(); ++tag) {
        for (; next > *tag; --next) {
            const TemplateNode &node = parsed.nodes[next];
            if (node.kind == NodeKind::Tag && node.form == TagForm::Close)
                closedLater.entry(nameOf(node)) = true;
        }
        opens[*tag] = closedLater.find(nameOf(parsed.nodes[*tag])) != nullptr;
    }
    return opens;
}

// Whether the closing tag's name is a slip of the open block's: both with
// the "zuvi:" prefix or both without, and the rest a slip.
bool isNameSlip(QStringView closing, QStringView open)
{
    const QLatin1String prefix = templatesyntax::kTagPrefix;
    if (closing.startsWith(prefix) != open.startsWith(prefix))
        return false;
    const qsizetype skip = closing.startsWith(prefix) ? prefix.size() : 0;
    return isSlipOf(closing.sliced(skip), open.sliced(skip));
}

class Pairing
{
public:
    Pairing(QStringView text, const ParsedTemplate &parsed, const TagKnowledge &knowledge)
        : m_text(text), m_parsed(parsed), m_opens(opensBlock(text, parsed, knowledge))
    {
        m_result.blockOfNode.fill(-1, parsed.nodes.size());
        m_result.blocks.reserve(std::count(m_opens.cbegin(), m_opens.cend(), true));
    }

    TemplateBlocks run()
    {
        for (qsizetype i = 0; i < m_parsed.nodes.size(); ++i) {
            const TemplateNode &node = m_parsed.nodes[i];
            if (node.kind != NodeKind::Tag)
                continue;
            if (node.form == TagForm::Close)
                close(i);
            else if (m_opens[i])
                open(i);
            else if (m_open.empty() && templatesyntax::isElseTag(name(i)))
                m_result.faults.append({BlockFault::Kind::ElseOutside, i, -1, {}});
        }
        for (const qsizetype block : m_open) {
            m_result.blocks[block].content = range(m_result.blocks[block].content.start, m_text.size());
            m_result.faults.append({BlockFault::Kind::NeverClosed, m_result.blocks[block].open, block, {}});
        }
        return std::move(m_result);
    }

private:
    QStringView name(qsizetype node) const
    {
        const TextRange &range = m_parsed.nodes[node].name;
        return m_text.sliced(range.start, range.length);
    }
    static TextRange range(qsizetype from, qsizetype to) { return {from, to - from}; }

    void open(qsizetype node)
    {
        TemplateBlock block;
        block.open = node;
        block.parent = m_open.empty() ? -1 : m_open.back();
        block.content.start = m_parsed.nodes[node].range.end();
        m_result.blockOfNode[node] = m_result.blocks.size();
        m_open.push_back(m_result.blocks.size());
        m_result.blocks.append(block);
        const qsizetype nameIndex = m_openByName.indexOf(name(node));
        ++m_openByName.valueAt(nameIndex);
        m_openNames.push_back(nameIndex);
    }

    // Ends the innermost open block at `end`, by the closing tag `node` or
    // (-1) by none.
    void end(qsizetype node, qsizetype end)
    {
        const qsizetype index = m_open.back();
        m_open.pop_back();
        TemplateBlock &block = m_result.blocks[index];
        block.content = range(block.content.start, end);
        block.close = node;
        if (node >= 0)
            m_result.blockOfNode[node] = index;
        --m_openByName.valueAt(m_openNames.back());
        m_openNames.pop_back();
    }

    // A closing tag crossing blocks still open inside its own is reported
    // once and closes them, so that one slip gives one fault.
    void close(qsizetype node)
    {
        const QStringView closing = name(node);
        const qsizetype start = m_parsed.nodes[node].range.start;
        // Only when a block of its name is open is the stack searched, and
        // then what lies above it is closed: linear over the whole text.
        const qsizetype *openOfName = m_openByName.find(closing);
        qsizetype match = openOfName && *openOfName > 0 ? openCount() - 1 : -1;
        while (match >= 0 && name(m_result.blocks[m_open[size_t(match)]].open) != closing)
            --match;
        if (match < 0) {
            BlockFault fault{BlockFault::Kind::NothingOpen, node, -1, {}};
            if (!m_open.empty() && isNameSlip(closing, name(m_result.blocks[m_open.back()].open))) {
                fault.block = m_open.back();
                end(node, start);
            }
            m_result.faults.append(fault);
            return;
        }
        if (match < openCount() - 1) {
            BlockFault fault{BlockFault::Kind::Crossing, node, m_open[size_t(match)], {}};
            while (openCount() - 1 > match) {
                fault.crossed.append(m_open.back());
                end(-1, start);
            }
            m_result.faults.append(fault);
        }
        end(node, start);
    }

    QStringView m_text;
    const ParsedTemplate &m_parsed;
    QList<bool> m_opens;
    qsizetype openCount() const { return qsizetype(m_open.size()); }

    // Stacks of the pairing's own, pushed and popped at every block, where
    // a vector's push costs less than QList's general append.
    std::vector<qsizetype> m_open;   // the blocks open, innermost last
    NameTable<qsizetype> m_openByName;   // how many blocks of each name are open
    std::vector<qsizetype> m_openNames;   // the name of each of m_open in m_openByName
    TemplateBlocks m_result;
};

} // namespace

qsizetype TemplateBlocks::blockAt(qsizetype offset) const
{
    const auto after = std::upper_bound(blocks.cbegin(), blocks.cend(), offset,
                                        [](qsizetype o, const TemplateBlock &b) { return o < b.content.start; });
    qsizetype block = after - blocks.cbegin() - 1;
    while (block >= 0 && !blocks[block].content.contains(offset))
        block = blocks[block].parent;
    return block;
}

TemplateBlocks pairBlocks(QStringView text, const ParsedTemplate &parsed, const TagKnowledge &knowledge)
{
    return Pairing(text, parsed, knowledge).run();
}
