#pragma once

#include "lsp/positions.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringView>

// textDocument/semanticTokens/full and /full/delta: the template tags,
// their attributes and values, and the placeholders with their filters, as
// the tool's code view colours them (core/template/templatetokens.h), so that an
// editor without a grammar for them colours them too. HTML, CSS, script and
// PHP are left to the editor's own highlighting.
class SemanticTokens
{
public:
    // The capability's value: the legend of standard token types, full
    // documents and deltas.
    static QJsonObject provider();

    // The tokens of `text`, remembered under `uri` for a later delta.
    QJsonObject full(const QString &uri, QStringView text, const PositionMapper &positions);
    // The edit from the result `previousResultId` to the tokens of `text`;
    // all the tokens where that result is not the last one given for `uri`.
    QJsonObject delta(const QString &uri, const QString &previousResultId, QStringView text,
                      const PositionMapper &positions);
    // A closed document's last result is not needed any more.
    void forget(const QString &uri) { m_last.remove(uri); }

private:
    struct Result {
        QString id;
        QList<int> data;
    };
    Result &remember(const QString &uri, QList<int> data);

    QHash<QString, Result> m_last;   // by URI
    quint64 m_nextId = 1;
};

// The protocol's encoding of the template tokens of `text`: five numbers a
// token (line delta, start delta, length, type, modifiers), lengths and
// starts in the position encoding `positions` counts in.
QList<int> encodeSemanticTokens(QStringView text, const PositionMapper &positions);
