#include "lsp/documentanalysis.h"

#include <algorithm>

DocumentAnalysis::DocumentAnalysis(QString text, SiteSetup setup)
    : m_text(std::move(text)), m_setup(std::move(setup)), m_parsed(parseTemplate(m_text))
{
}

const TemplateBlocks &DocumentAnalysis::blocks() const
{
    if (!m_blocks)
        m_blocks = templateBlocks(m_text, m_parsed, knowledge());
    return *m_blocks;
}

const QList<Finding> &DocumentAnalysis::findings() const
{
    if (!m_findings)
        m_findings = m_setup.configured(checkTemplate(m_text, m_setup.context));
    return *m_findings;
}

qsizetype DocumentAnalysis::nodeAt(qsizetype offset) const
{
    // Nodes stand in order of their start; only comments hold others.
    const QList<TemplateNode> &nodes = m_parsed.nodes;
    auto after = std::upper_bound(nodes.cbegin(), nodes.cend(), offset,
                                  [](qsizetype at, const TemplateNode &node) { return at < node.range.start; });
    for (auto it = after; it != nodes.cbegin();) {
        --it;
        if (it->range.contains(offset))
            return it - nodes.cbegin();
        if (it->kind != NodeKind::Comment && it->range.end() < offset) {
            // Earlier pieces other than comments end before this one; only
            // a comment further back may still hold the offset.
            for (auto back = it; back != nodes.cbegin();) {
                --back;
                if (back->kind == NodeKind::Comment && back->range.contains(offset))
                    return back - nodes.cbegin();
            }
            return -1;
        }
    }
    return -1;
}
