#include "lsp/documentanalysis.h"

DocumentAnalysis::DocumentAnalysis(QString text, SiteSetup setup)
    : m_text(std::move(text)), m_setup(std::move(setup)), m_analysis(analyseTemplate(m_text, m_setup.context)),
      m_findings(m_setup.configured(m_analysis.findings))
{
}
