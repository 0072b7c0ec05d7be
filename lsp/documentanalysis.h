#pragma once

#include "core/templateblocks.h"
#include "core/templatecheck.h"
#include "core/templateparser.h"
#include "lsp/sitesetup.h"

#include <QList>
#include <QString>

#include <optional>

// One version of an open document read for the server's answers: its
// pieces, its blocks, and its findings, each worked out once when first
// asked for.
class DocumentAnalysis
{
public:
    DocumentAnalysis(QString text, SiteSetup setup);

    const QString &text() const { return m_text; }
    const SiteSetup &setup() const { return m_setup; }
    const TagKnowledge &knowledge() const { return *m_setup.knowledge; }
    const ParsedTemplate &parsed() const { return m_parsed; }
    const TemplateBlocks &blocks() const;
    // The checker's findings with the configured severities.
    const QList<Finding> &findings() const;

    // The innermost piece whose range holds `offset` (its end included), or -1.
    qsizetype nodeAt(qsizetype offset) const;
    QStringView textOf(const TextRange &range) const { return QStringView(m_text).sliced(range.start, range.length); }

private:
    QString m_text;
    SiteSetup m_setup;
    ParsedTemplate m_parsed;
    mutable std::optional<TemplateBlocks> m_blocks;
    mutable std::optional<QList<Finding>> m_findings;
};
