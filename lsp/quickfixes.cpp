#include "lsp/quickfixes.h"

#include <QHash>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

struct Edit {
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
};

class FixFinder
{
public:
    explicit FixFinder(const DocumentAnalysis &analysis) : m_analysis(analysis)
    {
        const QList<TemplateNode> &nodes = analysis.parsed().nodes;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (nodes[i].kind != NodeKind::Tag)
                continue;
            m_byNameStart.insert(nodes[i].name.start, i);
            m_byStart.insert(nodes[i].range.start, i);
        }
    }

    // The title and edits that fix `finding`; no edits where none is known.
    std::pair<QString, QList<Edit>> fix(const Finding &finding) const
    {
        const TemplateBlocks &blocks = m_analysis.blocks();
        const QList<TemplateNode> &nodes = m_analysis.parsed().nodes;
        if (finding.code == u"E101"_s) {
            const qsizetype node = m_byNameStart.value(finding.start, -1);
            for (const TemplateBlock &block : blocks.blocks) {
                if (block.open == node)
                    return insertClosing(name(node), enclosingEnd(block.parent));
            }
        } else if (finding.code == u"E103"_s) {
            const qsizetype node = m_byStart.value(finding.start, -1);
            for (const BlockCrossing &crossing : blocks.crossings) {
                if (crossing.close == node)
                    return insertClosing(name(blocks.blocks[crossing.crossed].open), nodes[node].range.start);
            }
        } else if (finding.code == u"E102"_s) {
            return {u"删除 %1"_s.arg(m_analysis.textOf({finding.start, finding.length})), {{finding.start, finding.length, {}}}};
        } else if (!finding.replacement.isEmpty()) {
            QList<Edit> edits{{finding.start, finding.length, finding.replacement}};
            // A tag's name goes with its closing tag's.
            const qsizetype node = m_byNameStart.value(finding.start, -1);
            for (const TemplateBlock &block : blocks.blocks) {
                if (node >= 0 && block.open == node && block.close >= 0 && nodes[node].name.length == finding.length)
                    edits << Edit{nodes[block.close].name.start, nodes[block.close].name.length, finding.replacement};
            }
            return {u"改为 %1"_s.arg(finding.replacement), edits};
        }
        return {};
    }

private:
    QString name(qsizetype node) const { return m_analysis.textOf(m_analysis.parsed().nodes[node].name).toString(); }

    // Where the inside of block `b` ends: before its closing tag, where a
    // closing tag crossed it, or at the end of the text; the text's end
    // for no block.
    qsizetype enclosingEnd(qsizetype b) const
    {
        if (b < 0)
            return m_analysis.text().size();
        const TemplateBlock &block = m_analysis.blocks().blocks[b];
        return block.close >= 0 ? m_analysis.parsed().nodes[block.close].range.start : block.end;
    }

    static std::pair<QString, QList<Edit>> insertClosing(const QString &name, qsizetype at)
    {
        const QString closing = u"{/"_s + name + u'}';
        return {u"插入 %1"_s.arg(closing), {{at, 0, closing}}};
    }

    const DocumentAnalysis &m_analysis;
    QHash<qsizetype, qsizetype> m_byNameStart;   // tag nodes by the start of their name
    QHash<qsizetype, qsizetype> m_byStart;       // tag nodes by their start
};

} // namespace

QJsonArray quickFixes(const DocumentAnalysis &analysis, qsizetype start, qsizetype end, const PositionMapper &positions,
                      const QString &uri, const QJsonArray &clientDiagnostics)
{
    QJsonArray actions;
    std::optional<FixFinder> finder;
    for (const Finding &finding : analysis.findings()) {
        if (finding.start > end || finding.start + finding.length < start)
            continue;
        if (!finder)
            finder.emplace(analysis);
        const auto [title, edits] = finder->fix(finding);
        if (edits.isEmpty())
            continue;
        QJsonArray textEdits;
        for (const Edit &edit : edits)
            textEdits << QJsonObject{{u"range"_s, positions.range(edit.start, edit.length)}, {u"newText"_s, edit.text}};
        QJsonObject action{
            {u"title"_s, title},
            {u"kind"_s, u"quickfix"_s},
            {u"isPreferred"_s, true},
            {u"edit"_s, QJsonObject{{u"changes"_s, QJsonObject{{uri, textEdits}}}}},
        };
        const QJsonObject range = positions.range(finding.start, finding.length);
        for (const QJsonValue &diagnostic : clientDiagnostics) {
            if (diagnostic[QLatin1StringView("code")] == finding.code && diagnostic[QLatin1StringView("range")] == range) {
                action.insert(u"diagnostics"_s, QJsonArray{diagnostic});
                break;
            }
        }
        actions << action;
    }
    return actions;
}
