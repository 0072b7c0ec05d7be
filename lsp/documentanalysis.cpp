#include "lsp/documentanalysis.h"

DocumentAnalysis::DocumentAnalysis(QString text, SiteSetup setup)
    : m_text(std::move(text)), m_setup(std::move(setup)), m_analysis(analyseTemplate(m_text, m_setup.context))
{
    // Only the configured findings are ever answered with: the checker's own are not kept beside them.
    m_analysis.findings = m_setup.configured(std::move(m_analysis.findings));
}
