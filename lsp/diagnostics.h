#pragma once

#include "lsp/documentanalysis.h"
#include "lsp/positions.h"

#include <QByteArray>
#include <QHash>

// The checker's findings of a document as the protocol's diagnostics, with
// their codes, configured severities and Chinese messages; a faulty
// configuration is one more diagnostic at the start of the document. Written
// as the JSON array's bytes: a keystroke publishes them again, and on a
// template with findings on hundreds of lines building them as QJsonObjects
// cost more than reading the template.
class DiagnosticEncoder
{
public:
    // `more`: findings from beyond the document (about its theme), first.
    QByteArray encode(const DocumentAnalysis &analysis, const PositionMapper &positions,
                      const QList<Finding> &more = {});

private:
    // What a diagnostic says besides its range: most stay the same from one
    // keystroke to the next, so each is written once and kept while some
    // finding of the document says it.
    struct Said {
        QString code;
        int severity = 0;
        QString message;
        friend bool operator==(const Said &, const Said &) = default;
        friend size_t qHash(const Said &said, size_t seed = 0)
        {
            return qHashMulti(seed, said.code, said.severity, said.message);
        }
    };
    void append(QByteArray &out, qsizetype start, qsizetype length, Said said, const PositionMapper &positions,
                QHash<Said, QByteArray> &kept);

    QHash<Said, QByteArray> m_written;
};
