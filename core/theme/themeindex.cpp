#include "core/theme/themeindex.h"

#include "core/files/rawbytes.h"

#include "core/catalog/tagknowledge.h"
#include "core/template/templateblocks.h"
#include "core/check/templatecheck.h"
#include "core/files/templatefile.h"
#include "core/files/templatesources.h"
#include "core/template/templatesyntax.h"
#include "core/template/textscan.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

bool isAtOrUnder(QStringView path, QStringView folder)
{
    if (folder.isEmpty() || !path.startsWith(folder))
        return false;
    return path.size() == folder.size() || path[folder.size()] == u'/' || folder.endsWith(u'/');
}

namespace {

QString cleanAbsolute(const QString &path)
{
    if (path.isEmpty())
        return path;
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QFileInfo(path).absoluteFilePath());
}

ThemeLinkKind kindOf(QStringView tag)
{
    const QStringView name = templatesyntax::hasTagPrefix(tag) ? tag.sliced(templatesyntax::kTagPrefix.size()) : tag;
    return name == u"include" ? ThemeLinkKind::Include : ThemeLinkKind::Static;
}

bool lessByPath(const ThemeLinkAt &a, const ThemeLinkAt &b)
{
    return a.source != b.source ? a.source < b.source : a.link.path.start < b.link.path.start;
}

} // namespace

ThemeIndex::ThemeIndex(const QString &templateRoot, const QString &siteRoot, ThemeContents contents)
    : m_templateRoot(cleanAbsolute(templateRoot)), m_siteRoot(cleanAbsolute(siteRoot)), m_contents(contents)
{
}

void ThemeIndex::build()
{
    m_templates.clear();
    for (const TemplateSource &source : templateSources(m_templateRoot).files)
        readFile(QDir::cleanPath(source.absolutePath));
}

bool ThemeIndex::isThemeTemplate(const QString &path) const
{
    if (!isAtOrUnder(path, m_templateRoot) || path.size() == m_templateRoot.size())
        return false;
    if (!path.endsWith(u".htm", Qt::CaseInsensitive) && !path.endsWith(u".html", Qt::CaseInsensitive))
        return false;
    // Hidden files and folders are no part of the theme, as `check` skips them.
    return !relativePath(path).startsWith(u'.') && !relativePath(path).contains(u"/.");
}

namespace {

// Lines and UTF-16 columns of offsets asked in increasing order, counted
// from one to the next only as far as the last (a LineIndex of the whole
// text costs more than the rest of a template's indexing). Breaks as
// LineIndex breaks: CR LF, LF or CR.
class LineCounter
{
public:
    explicit LineCounter(QStringView text) : m_text(text) {}

    // Line and column of `offset`, not before the one asked last.
    std::pair<qsizetype, qsizetype> at(qsizetype offset)
    {
        while (true) {
            const qsizetype lineBreak = nextOfAny(m_text, m_counted, u'\n', u'\r');
            if (lineBreak >= offset) {
                m_counted = offset;
                break;
            }
            m_counted = lineBreak + 1;
            if (m_text[lineBreak] == u'\r' && m_counted < m_text.size() && m_text[m_counted] == u'\n')
                ++m_counted;
            ++m_line;
            m_lineStart = m_counted;
        }
        return {m_line, offset - m_lineStart};
    }

private:
    QStringView m_text;
    qsizetype m_line = 0;
    qsizetype m_lineStart = 0;
    qsizetype m_counted = 0;
};

// Whether two versions of a template name the same files the same way.
bool sameNames(const QList<ThemeLink> &a, const QList<ThemeLink> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const ThemeLink &x, const ThemeLink &y) {
        return x.kind == y.kind && x.target == y.target;
    });
}

} // namespace

ThemeTemplate ThemeIndex::read(const QString &path, QStringView text) const
{
    CheckContext context;
    context.templateRoot = m_templateRoot;
    context.siteRoot = m_siteRoot;
    const ParsedTemplate parsed = parseTemplate(text);
    const QList<FileReference> references = fileReferences(text, parsed, context);
    ThemeTemplate entry{path, {}, {}};
    entry.links.reserve(references.size());
    LineCounter lines(text);
    for (const FileReference &reference : references) {
        const auto [line, column] = lines.at(reference.path.start);
        const TemplateNode &tag = parsed.nodes[reference.node];
        entry.links.append({kindOf(text.sliced(tag.name.start, tag.name.length)), reference.path, line, column,
                            text.sliced(reference.path.start, reference.path.length).toString(), reference.resolved});
    }
    if (m_contents == ThemeContents::LinksAndBlocks) {
        const TemplateBlocks blocks = pairBlocks(text, parsed, TagKnowledge::catalog());
        LineCounter blockLines(text);
        entry.blocks.reserve(blocks.blocks.size());
        for (const TemplateBlock &block : blocks.blocks) {
            const TextRange name = parsed.nodes[block.open].name;
            const auto [line, column] = blockLines.at(name.start);
            entry.blocks.append({text.sliced(name.start, name.length).toString(), name, line, column});
        }
    }
    return entry;
}

bool ThemeIndex::setText(const QString &path, QStringView text)
{
    const QString clean = cleanAbsolute(path);
    if (!isThemeTemplate(clean))
        return false;
    ThemeTemplate entry = read(clean, text);
    const auto old = m_templates.constFind(clean);
    const bool changed = old == m_templates.cend() || !sameNames(old->links, entry.links);
    m_templates.insert(clean, std::move(entry));
    return changed;
}

void ThemeIndex::readFile(const QString &path)
{
    QString error;
    const std::optional<DecodedTemplate> decoded = readTemplateFile(rawBytesFromText(path), &error);
    setText(path, decoded ? QStringView(decoded->text) : QStringView());
}

void ThemeIndex::readFolder(const QString &path)
{
    const QString clean = cleanAbsolute(path);
    if (!isAtOrUnder(clean, m_templateRoot) && !isAtOrUnder(m_templateRoot, clean))
        return;
    for (const TemplateSource &source : templateSources(clean).files) {
        if (isThemeTemplate(QDir::cleanPath(source.absolutePath)))
            readFile(QDir::cleanPath(source.absolutePath));
    }
}

void ThemeIndex::remove(const QString &path)
{
    const QString clean = cleanAbsolute(path);
    m_templates.removeIf([&](const auto &entry) { return isAtOrUnder(entry.key(), clean); });
}

void ThemeIndex::rename(const QString &from, const QString &to)
{
    const QString source = cleanAbsolute(from);
    const QString target = cleanAbsolute(to);
    QList<ThemeTemplate> moved;
    for (auto it = m_templates.begin(); it != m_templates.end();) {
        if (isAtOrUnder(it.key(), source)) {
            moved.append(std::move(it.value()));
            it = m_templates.erase(it);
        } else {
            ++it;
        }
    }
    for (ThemeTemplate &entry : moved) {
        entry.path = target + entry.path.sliced(source.size());
        if (isThemeTemplate(entry.path))
            m_templates.insert(entry.path, std::move(entry));
    }
    // A file renamed to a template's name (page.txt -> page.htm) is one now;
    // a folder moved in from outside the theme brings its templates.
    if (moved.isEmpty() && isThemeTemplate(target) && QFileInfo(target).isFile())
        readFile(target);
    else if (moved.isEmpty() && QFileInfo(target).isDir())
        readFolder(target);
}

QString ThemeIndex::relativePath(const QString &path) const
{
    if (!isAtOrUnder(path, m_templateRoot))
        return path;
    QStringView rest = QStringView(path).sliced(m_templateRoot.size());
    while (rest.startsWith(u'/'))
        rest = rest.sliced(1);
    return rest.toString();
}

QStringList ThemeIndex::templates() const
{
    QStringList paths = m_templates.keys();
    std::sort(paths.begin(), paths.end());
    return paths;
}

const ThemeTemplate *ThemeIndex::find(const QString &path) const
{
    const auto it = m_templates.constFind(cleanAbsolute(path));
    return it == m_templates.cend() ? nullptr : &*it;
}

QList<ThemeLinkAt> ThemeIndex::linksTo(const QString &path) const
{
    const QString clean = cleanAbsolute(path);
    QList<ThemeLinkAt> found;
    for (const ThemeTemplate &entry : m_templates) {
        for (const ThemeLink &link : entry.links) {
            if (isAtOrUnder(link.target, clean))
                found.append({entry.path, link});
        }
    }
    std::sort(found.begin(), found.end(), lessByPath);
    return found;
}

QList<ThemeLinkAt> ThemeIndex::includesOf(const QString &path) const
{
    const QString clean = cleanAbsolute(path);
    QList<ThemeLinkAt> found;
    for (const ThemeTemplate &entry : m_templates) {
        for (const ThemeLink &link : entry.links) {
            if (link.kind == ThemeLinkKind::Include && link.target == clean)
                found.append({entry.path, link});
        }
    }
    std::sort(found.begin(), found.end(), lessByPath);
    return found;
}
