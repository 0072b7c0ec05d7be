#pragma once

#include "core/theme/themeindex.h"
#include "lsp/positions.h"

#include <QJsonArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// workspace/symbol: the templates of the themes, by their path under the
// template root, and the blocks in them, by the tag's name or by the
// caption of a catalog entry that writes the tag, or its pinyin initials
// (`wzlb` finds the {zuvi:arclist} blocks of 文章列表). A query matches
// loosely, as the protocol asks: its characters in their order, case
// aside; an empty one matches everything. Templates first, then blocks,
// each in order of path and position.
class WorkspaceSymbols
{
public:
    using UriOf = std::function<QString(const QString &path)>;
    // A template's text as the client holds it or the disk has it.
    using TextOf = std::function<QString(const QString &path)>;

    WorkspaceSymbols(UriOf uriOf, TextOf textOf) : m_uriOf(std::move(uriOf)), m_textOf(std::move(textOf)) {}

    QJsonArray find(const QList<const ThemeIndex *> &themes, const QString &query, PositionEncoding encoding) const;

private:
    QJsonArray blocksOf(const ThemeIndex &theme, const ThemeTemplate &entry,
                        const std::function<bool(const QString &)> &tagMatches, PositionEncoding encoding) const;

    UriOf m_uriOf;
    TextOf m_textOf;
};

// Whether the characters of `query` stand in `candidate` in their order, case aside.
bool looselyMatches(QStringView candidate, QStringView query);
