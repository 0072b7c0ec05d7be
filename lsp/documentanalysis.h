#pragma once

#include "core/template/cursorcontext.h"
#include "core/template/templateblocks.h"
#include "core/check/templatecheck.h"
#include "core/template/templateparser.h"
#include "lsp/sitesetup.h"

#include <QList>
#include <QString>

// One version of an open document read for the server's answers: its
// pieces, its blocks and its findings, as the checker reads them, once.
class DocumentAnalysis
{
public:
    DocumentAnalysis(QString text, SiteSetup setup);

    const QString &text() const { return m_text; }
    const SiteSetup &setup() const { return m_setup; }
    const TagKnowledge &knowledge() const { return m_setup.knowledge(); }
    const ParsedTemplate &parsed() const { return m_analysis.parsed; }
    const TemplateBlocks &blocks() const { return m_analysis.blocks; }
    // The checker's findings with the configured severities.
    const QList<Finding> &findings() const { return m_analysis.findings; }
    // The files the text names, where the checker looks for them.
    QList<FileReference> fileReferences() const { return ::fileReferences(m_text, m_analysis.parsed, m_setup.context); }

    // What the cursor at `offset` stands in, the same for every feature.
    CursorContext cursorAt(qsizetype offset) const { return cursorContextAt(m_text, m_analysis.parsed, offset); }
    QStringView textOf(const TextRange &range) const { return QStringView(m_text).sliced(range.start, range.length); }

private:
    QString m_text;
    SiteSetup m_setup;
    TemplateAnalysis m_analysis;   // its findings configured
};
