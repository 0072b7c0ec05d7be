#include "lsp/pathrename.h"

#include "core/theme/themeindex.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool isTemplateName(QStringView path)
{
    return path.endsWith(u".htm", Qt::CaseInsensitive) || path.endsWith(u".html", Qt::CaseInsensitive);
}

QString writtenPath(const DocumentAnalysis &analysis, const FileReference &reference)
{
    return analysis.textOf(reference.path).toString();
}

} // namespace

std::optional<FileReference> pathToRename(const DocumentAnalysis &analysis, qsizetype offset)
{
    for (const FileReference &reference : analysis.fileReferences()) {
        if (reference.path.contains(offset) && reference.path.length > 0 && !reference.resolved.isEmpty())
            return reference;
    }
    return std::nullopt;
}

QString renameRefusal(const DocumentAnalysis &analysis, const FileReference &reference)
{
    const QString written = writtenPath(analysis, reference);
    if (reference.outsideRoot)
        return u"无法重命名 %1：它在根目录之外"_s.arg(written);
    if (!QFileInfo(reference.resolved).isFile())
        return u"无法重命名 %1：没有这个文件"_s.arg(written);
    return {};
}

RenamedFile renamedFile(const DocumentAnalysis &analysis, const FileReference &reference, const QString &newName)
{
    const QString written = writtenPath(analysis, reference);
    const auto refuse = [&](const QString &why) { return RenamedFile{{}, u"无法重命名 %1：%2"_s.arg(written, why)}; };
    const QString name = newName.trimmed();
    if (name.isEmpty())
        return refuse(u"新路径是空的"_s);
    // What would end the value or the tag, split a list of static files,
    // or be read as a version after the name.
    for (const QChar c : name) {
        if (QStringView(u"'\"{},?#").contains(c) || c.category() == QChar::Other_Control)
            return refuse(u"路径中不能有 %1"_s.arg(c.category() == QChar::Other_Control ? u"控制字符"_s : QString(c)));
    }
    const CheckContext &context = analysis.setup().context;
    const bool fromSite = name.startsWith(u'/');
    const QString root = QDir::cleanPath(fromSite ? context.siteRoot : context.templateRoot);
    if (fromSite && context.siteRoot.isEmpty())
        return refuse(u"以 / 开头的路径要在站点根目录下找，而配置没有给出 siteRoot"_s);
    const QString target = QDir::cleanPath(root + u'/' + name);
    const QString templateRoot = QDir::cleanPath(context.templateRoot);
    if (!isAtOrUnder(target, root) || target == root || (reference.include && !isAtOrUnder(target, templateRoot)))
        return refuse(u"%1 不在%2根目录下"_s.arg(name, fromSite && !reference.include ? u"站点"_s : u"模板"_s));
    if (reference.include && !isTemplateName(target))
        return refuse(u"include 引用的模板要以 .htm 或 .html 结尾"_s);
    if (target == reference.resolved)
        return {target, {}};
    const QFileInfo there(target);
    if (there.exists() || there.isSymLink())
        return refuse(u"%1 已经存在"_s.arg(name));
    if (!there.dir().exists())
        return refuse(u"没有文件夹 %1"_s.arg(QDir(root).relativeFilePath(there.path())));
    return {target, {}};
}
