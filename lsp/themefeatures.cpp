#include "lsp/themefeatures.h"

#include "core/files/rawbytes.h"

#include "core/files/templatefile.h"
#include "core/template/textposition.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QJsonObject ThemeFeatures::fileOperations()
{
    const QJsonObject everything{{u"filters"_s, QJsonArray{QJsonObject{{u"pattern"_s, QJsonObject{{u"glob"_s, u"**"_s}}}}}}};
    return {{u"willRename"_s, everything}, {u"didRename"_s, everything}};
}

ThemeIndex *ThemeFeatures::theme(const QString &templateRoot, const QString &siteRoot)
{
    if (templateRoot.isEmpty())
        return nullptr;
    const QString root = QDir::cleanPath(templateRoot);
    auto it = m_themes.find(root);
    if (it == m_themes.end()) {
        auto index = std::make_unique<ThemeIndex>(root, siteRoot, ThemeContents::LinksAndBlocks);
        index->build();
        // What the client holds open counts, not what was last saved.
        for (const QString &path : index->templates()) {
            if (const std::optional<QString> open = m_openText(path))
                index->setText(path, *open);
        }
        it = m_themes.emplace(root, std::move(index)).first;
    }
    return it->second.get();
}

QList<const ThemeIndex *> ThemeFeatures::themes() const
{
    QList<const ThemeIndex *> all;
    for (const auto &[root, index] : m_themes)
        all << index.get();
    return all;
}

bool ThemeFeatures::textChanged(const QString &path, const QString &text)
{
    bool changed = false;
    for (auto &[root, index] : m_themes)
        changed = index->setText(path, text) || changed;
    return changed;
}

void ThemeFeatures::fileOnDisk(const QString &path)
{
    const bool folder = QFileInfo(path).isDir();
    for (auto &[root, index] : m_themes) {
        if (folder)
            index->readFolder(path);
        else if (index->isThemeTemplate(path))
            index->readFile(path);
    }
}

void ThemeFeatures::deleted(const QString &path)
{
    for (auto &[root, index] : m_themes)
        index->remove(path);
}

void ThemeFeatures::renamed(const QString &from, const QString &to)
{
    for (auto &[root, index] : m_themes)
        index->rename(from, to);
}

QString ThemeFeatures::textOf(const QString &path) const
{
    if (const std::optional<QString> open = m_openText(path))
        return *open;
    QString error;
    const std::optional<DecodedTemplate> decoded = readTemplateFile(rawBytesFromText(path), &error);
    return decoded ? decoded->text : QString();
}

// The link's range in the client's unit: its offsets are UTF-16, the
// client may count otherwise.
QJsonObject ThemeFeatures::range(const QString &path, const ThemeLink &link, PositionEncoding encoding) const
{
    const QString text = textOf(path);
    const LineIndex lines(text);
    return PositionMapper(lines, encoding).range(link.path.start, link.path.length);
}

QJsonValue ThemeFeatures::references(ThemeIndex &theme, const QString &path, qsizetype offset,
                                     PositionEncoding encoding) const
{
    const ThemeTemplate *here = theme.find(path);
    if (!here)
        return QJsonValue::Null;
    const ThemeLink *under = nullptr;
    for (const ThemeLink &link : here->links) {
        if (link.kind == ThemeLinkKind::Include && link.path.contains(offset) && !link.target.isEmpty())
            under = &link;
    }
    if (!under)
        return QJsonValue::Null;
    QJsonArray locations;
    for (const ThemeLinkAt &at : theme.includesOf(under->target))
        locations << QJsonObject{{u"uri"_s, m_uriOf(at.source)}, {u"range"_s, range(at.source, at.link, encoding)}};
    return locations;
}

ThemeFeatures::PathEdits ThemeFeatures::pathEdits(const ThemeIndex &theme, const QString &from, const QString &to,
                                                  PositionEncoding encoding, const QList<ThemeLinkAt> &outside) const
{
    const QString source = QDir::cleanPath(from);
    const QString target = QDir::cleanPath(to);
    QList<ThemeLinkAt> links = theme.linksTo(source);
    for (const ThemeLinkAt &at : outside) {
        if (isAtOrUnder(at.link.target, source))
            links << at;
    }
    PathEdits found;
    for (const ThemeLinkAt &at : std::as_const(links)) {
        const QString moved = target + at.link.target.sliced(source.size());
        const bool fromSite = at.link.written.startsWith(u'/');
        const QString root = fromSite ? theme.siteRoot() : theme.templateRoot();
        if (!isAtOrUnder(moved, root) || moved == root) {
            if (!found.unreachable.contains(at.source))
                found.unreachable << at.source;
            continue;
        }
        const QString written = (fromSite ? u"/"_s : QString()) + QDir(root).relativeFilePath(moved);
        if (found.files.isEmpty() || found.files.last().path != at.source)
            found.files.append({at.source, {}});
        found.files.last().edits << QJsonObject{{u"range"_s, range(at.source, at.link, encoding)}, {u"newText"_s, written}};
    }
    return found;
}

void ThemeFeatures::renameEdits(ThemeIndex &theme, const QString &from, const QString &to, PositionEncoding encoding,
                                QJsonObject &changes) const
{
    // A path that cannot name the new place is left as it is: the rename is
    // the client's, already decided.
    for (const FileEdits &file : pathEdits(theme, from, to, encoding).files) {
        const QString uri = m_uriOf(file.path);
        QJsonArray edits = changes.value(uri).toArray();
        for (const QJsonValue &edit : file.edits)
            edits << edit;
        changes.insert(uri, edits);
    }
}
