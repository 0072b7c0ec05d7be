#include "core/theme/themeentries.h"

#include "core/catalog/catalogtags.h"
#include "core/catalog/pagetable.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The file names the template-file entries' captions give
// ("用户登录后的效果users_info.htm文件"), read from the catalog once.
const QStringList &catalogTemplateNames()
{
    static const QStringList names = [] {
        static const QRegularExpression fileName(QStringLiteral("[A-Za-z0-9_.-]+\\.html?"));
        QStringList found;
        for (const CatalogTag &tag : catalogTags()) {
            if (tag.page != Page::TemplateFiles)
                continue;
            const QRegularExpressionMatch match = fileName.match(tag.caption);
            if (match.hasMatch())
                found << match.captured().toLower();
        }
        return found;
    }();
    return names;
}

} // namespace

bool isEntryTemplate(QStringView path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = path.sliced(slash + 1).toString().toLower();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView suffix = QStringView(name).sliced(dot);
    if (suffix != u".htm" && suffix != u".html")
        return false;
    const QStringView stem = QStringView(name).first(dot);
    return stem == u"index" || stem.startsWith(u"lists_") || stem.startsWith(u"view_")
        || catalogTemplateNames().contains(name);
}
