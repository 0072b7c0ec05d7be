#include "lsp/workspacesymbols.h"

#include "core/template/templatesyntax.h"
#include "core/template/textposition.h"
#include "lsp/catalogindex.h"
#include "lsp/protocol.h"

#include <QHash>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// What a block of the tag named `tag` (as written) is found by: the name,
// and each catalog entry's caption and initials.
bool blockMatches(const QString &tag, const QString &query)
{
    if (looselyMatches(tag, query))
        return true;
    const QString named = templatesyntax::hasTagPrefix(tag) ? tag : templatesyntax::kTagPrefix.toString() + tag;
    const CatalogIndex &catalog = CatalogIndex::instance();
    for (const qsizetype item : catalog.itemsWriting(named)) {
        const CatalogItem &entry = catalog.items()[item];
        if (looselyMatches(entry.initials, query) || looselyMatches(entry.caption, query))
            return true;
    }
    return false;
}

QJsonObject symbol(const QString &name, protocol::SymbolKind kind, const QString &uri, const QJsonObject &range,
                   const QString &container = {})
{
    QJsonObject information{{u"name"_s, name},
                            {u"kind"_s, protocol::number(kind)},
                            {u"location"_s, QJsonObject{{u"uri"_s, uri}, {u"range"_s, range}}}};
    if (!container.isEmpty())
        information.insert(u"containerName"_s, container);
    return information;
}

QJsonObject utf16Range(qsizetype line, qsizetype column, qsizetype length)
{
    const auto at = [&](qsizetype character) {
        return QJsonObject{{u"line"_s, line}, {u"character"_s, character}};
    };
    return {{u"start"_s, at(column)}, {u"end"_s, at(column + length)}};
}

} // namespace

bool looselyMatches(QStringView candidate, QStringView query)
{
    qsizetype at = 0;
    for (const QChar c : query) {
        if (c.isSpace())
            continue;
        at = candidate.indexOf(c, at, Qt::CaseInsensitive);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

QJsonArray WorkspaceSymbols::find(const QList<const ThemeIndex *> &themes, const QString &query,
                                  PositionEncoding encoding) const
{
    QJsonArray templates;
    QJsonArray blocks;
    // Each tag judged once: a theme opens the same few tags thousands of times.
    QHash<QString, bool> tags;
    const auto tagMatches = [&](const QString &tag) {
        auto it = tags.find(tag);
        if (it == tags.end())
            it = tags.insert(tag, blockMatches(tag, query));
        return *it;
    };
    for (const ThemeIndex *theme : themes) {
        for (const QString &path : theme->templates()) {
            const QString relative = theme->relativePath(path);
            if (looselyMatches(relative, query))
                templates << symbol(relative, protocol::SymbolKind::File, m_uriOf(path), utf16Range(0, 0, 0));
            for (const QJsonValue &block : blocksOf(*theme, *theme->find(path), tagMatches, encoding))
                blocks << block;
        }
    }
    for (const QJsonValue &block : blocks)
        templates << block;
    return templates;
}

QJsonArray WorkspaceSymbols::blocksOf(const ThemeIndex &theme, const ThemeTemplate &entry,
                                      const std::function<bool(const QString &)> &tagMatches,
                                      PositionEncoding encoding) const
{
    QJsonArray found;
    // The index counts in UTF-16, as the protocol does by default; another
    // unit needs the template's lines, read once for all its blocks.
    std::optional<QString> text;
    std::optional<LineIndex> lines;
    const QString uri = m_uriOf(entry.path);
    const QString container = theme.relativePath(entry.path);
    for (const ThemeBlock &block : entry.blocks) {
        if (!tagMatches(block.tag))
            continue;
        QJsonObject range;
        if (encoding == PositionEncoding::Utf16) {
            range = utf16Range(block.line, block.column, block.name.length);
        } else {
            if (!text) {
                text = m_textOf(entry.path);
                lines.emplace(*text);
            }
            range = PositionMapper(*lines, encoding).range(block.name.start, block.name.length);
        }
        found << symbol(u'{' + block.tag + u'}', protocol::SymbolKind::Struct, uri, range, container);
    }
    return found;
}
