// The theme index: the links each template names, kept current one file at
// a time; the entry templates; the templates never included; the include
// graph drawn from it.
#include "core/theme/themeentries.h"
#include "core/theme/themegraph.h"
#include "core/theme/themeindex.h"
#include "core/theme/themeusage.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kRoot = u"/site/template/pc"_s;

QStringList described(const QList<ThemeLink> &links)
{
    QStringList lines;
    for (const ThemeLink &link : links) {
        lines << u"%1 %2 %3:%4 -> %5"_s.arg(link.kind == ThemeLinkKind::Include ? u"include"_s : u"static"_s,
                                            link.written)
                     .arg(link.line)
                     .arg(link.column)
                     .arg(link.target);
    }
    return lines;
}

TEST(ThemeIndex, LinksOfATextAreTheChecksPathsWithTheirKindAndPosition)
{
    const struct {
        const char *what;
        QString text;
        QStringList links;
    } cases[] = {
        {"an include", u"{zuvi:include file='head.htm' /}"_s,
         {u"include head.htm 0:20 -> /site/template/pc/head.htm"_s}},
        {"the engine's short include", u"{include file=\"inc/a.htm\"}"_s,
         {u"include inc/a.htm 0:15 -> /site/template/pc/inc/a.htm"_s}},
        {"static files, a list with a version", u"{zuvi:static href='a.css, b.js?v=2' /}"_s,
         {u"static a.css 0:19 -> /site/template/pc/a.css"_s, u"static b.js 0:26 -> /site/template/pc/b.js"_s}},
        {"a path from the site root", u"{zuvi:static file='/public/x.js' /}"_s,
         {u"static /public/x.js 0:19 -> /site/public/x.js"_s}},
        {"a path leaving the folder is made clean", u"{zuvi:include file='inc/../foot.htm' /}"_s,
         {u"include inc/../foot.htm 0:20 -> /site/template/pc/foot.htm"_s}},
        {"positions in UTF-16 after CR LF and Chinese", u"<p>页头</p>\r\n  {zuvi:include file='公共/页头.htm' /}"_s,
         {u"include 公共/页头.htm 1:22 -> /site/template/pc/公共/页头.htm"_s}},
        {"an expression names nothing", u"{zuvi:include file='$field.tpl' /}"_s, {}},
        {"other tags' file attributes are not paths", u"{zuvi:arclist file='x.htm'}{/zuvi:arclist}"_s, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ThemeIndex index(kRoot, u"/site"_s);
        index.setText(kRoot + u"/page.htm"_s, c.text);
        const ThemeTemplate *page = index.find(kRoot + u"/page.htm"_s);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(described(page->links), c.links);
    }
}

TEST(ThemeIndex, TemplatesOfTheThemeAreItsHtmFilesOutsideHiddenFolders)
{
    const ThemeIndex index(kRoot);
    const struct {
        QString path;
        bool theme;
    } cases[] = {
        {kRoot + u"/index.htm"_s, true},
        {kRoot + u"/inc/页头.HTML"_s, true},
        {kRoot + u"/css/style.css"_s, false},
        {kRoot + u"/.git/x.htm"_s, false},
        {kRoot + u"/.x.htm"_s, false},
        {u"/site/template/pc2/index.htm"_s, false},   // a sibling whose name starts alike
        {kRoot, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(index.isThemeTemplate(c.path), c.theme) << c.path.toStdString();
}

TEST(ThemeIndex, BuiltFromTheRootAsCheckFindsItsFiles)
{
    ThemeIndex index(QStringLiteral(ZUVI_UNTIDY_THEME));
    index.build();
    QStringList relative;
    for (const QString &path : index.templates())
        relative << index.relativePath(path);
    EXPECT_EQ(relative, (QStringList{u"head.htm"_s, u"inc/menu.htm"_s, u"inc/侧栏.htm"_s, u"index.htm"_s,
                                     u"lists_news.htm"_s, u"loop.htm"_s, u"old.htm"_s, u"system/users_info.htm"_s}));
    QStringList includers;
    for (const ThemeLinkAt &at : index.includesOf(index.templateRoot() + u"/head.htm"_s))
        includers << u"%1:%2"_s.arg(index.relativePath(at.source)).arg(at.link.line);
    EXPECT_EQ(includers, (QStringList{u"index.htm:0"_s, u"lists_news.htm:0"_s, u"lists_news.htm:1"_s}));
}

// A theme on disk, changed as an editor and a file manager change it.
class ThemeOnDisk
{
public:
    ThemeOnDisk()
    {
        write(u"index.htm"_s, u"{zuvi:include file='inc/head.htm' /}{zuvi:static file='inc/s.css' /}"_s);
        write(u"inc/head.htm"_s, u"{zuvi:include file='inc/nav.htm' /}"_s);
        write(u"inc/nav.htm"_s, u"<nav></nav>"_s);
        write(u"inc/s.css"_s, u"nav {}"_s);
    }
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }
    void write(const QString &relative, const QString &text) const
    {
        QDir(m_dir.path()).mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

private:
    QTemporaryDir m_dir;
};

// Each template and what it names, "index.htm: inc/head.htm inc/s.css".
QStringList contents(const ThemeIndex &index)
{
    QStringList lines;
    for (const QString &path : index.templates()) {
        QStringList targets;
        for (const ThemeLink &link : index.find(path)->links)
            targets << index.relativePath(link.target);
        lines << index.relativePath(path) + u": "_s + targets.join(u' ');
    }
    return lines;
}

TEST(ThemeIndex, KeptCurrentFileByFile)
{
    const struct {
        const char *what;
        std::function<void(ThemeIndex &, const ThemeOnDisk &)> change;
        QStringList after;
    } cases[] = {
        {"as built", [](ThemeIndex &, const ThemeOnDisk &) {},
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: "_s, u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a text edited",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             index.setText(disk.path(u"inc/nav.htm"_s), u"{zuvi:include file='inc/a.htm' /}"_s);
         },
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: inc/a.htm"_s, u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a file created",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             disk.write(u"lists_a.htm"_s, u"{include file='inc/nav.htm'}"_s);
             index.readFile(disk.path(u"lists_a.htm"_s));
         },
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: "_s, u"index.htm: inc/head.htm inc/s.css"_s,
          u"lists_a.htm: inc/nav.htm"_s}},
        {"a file deleted",
         [](ThemeIndex &index, const ThemeOnDisk &disk) { index.remove(disk.path(u"inc/nav.htm"_s)); },
         {u"inc/head.htm: inc/nav.htm"_s, u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a folder deleted",
         [](ThemeIndex &index, const ThemeOnDisk &disk) { index.remove(disk.path(u"inc"_s)); },
         {u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a file renamed keeps what it names",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             index.rename(disk.path(u"inc/head.htm"_s), disk.path(u"inc/页头.htm"_s));
         },
         {u"inc/nav.htm: "_s, u"inc/页头.htm: inc/nav.htm"_s, u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a folder renamed",
         [](ThemeIndex &index, const ThemeOnDisk &disk) { index.rename(disk.path(u"inc"_s), disk.path(u"parts"_s)); },
         {u"index.htm: inc/head.htm inc/s.css"_s, u"parts/head.htm: inc/nav.htm"_s, u"parts/nav.htm: "_s}},
        {"renamed to no template's name",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             index.rename(disk.path(u"inc/nav.htm"_s), disk.path(u"inc/nav.txt"_s));
         },
         {u"inc/head.htm: inc/nav.htm"_s, u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a folder whose name starts alike is left",
         [](ThemeIndex &index, const ThemeOnDisk &disk) { index.remove(disk.path(u"in"_s)); },
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: "_s, u"index.htm: inc/head.htm inc/s.css"_s}},
        {"a folder created with templates in it",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             disk.write(u"m/新/view_a.htm"_s, u"{include file='inc/nav.htm'}"_s);
             disk.write(u"m/.old/b.htm"_s, u""_s);
             index.readFolder(disk.path(u"m"_s));
         },
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: "_s, u"index.htm: inc/head.htm inc/s.css"_s,
          u"m/新/view_a.htm: inc/nav.htm"_s}},
        {"a folder moved in from outside the theme",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             disk.write(u"parts/a.htm"_s, u"{include file='inc/head.htm'}"_s);
             index.rename(disk.path(u"../elsewhere"_s), disk.path(u"parts"_s));
         },
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: "_s, u"index.htm: inc/head.htm inc/s.css"_s,
          u"parts/a.htm: inc/head.htm"_s}},
        {"a file that is no template is not indexed",
         [](ThemeIndex &index, const ThemeOnDisk &disk) {
             index.setText(disk.path(u"inc/s.css"_s), u"{zuvi:include file='x.htm' /}"_s);
         },
         {u"inc/head.htm: inc/nav.htm"_s, u"inc/nav.htm: "_s, u"index.htm: inc/head.htm inc/s.css"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ThemeOnDisk disk;
        ThemeIndex index(disk.path(u"."_s));
        index.build();
        c.change(index, disk);
        EXPECT_EQ(contents(index), c.after);
    }
}

TEST(ThemeIndex, SaysWhetherWhatATemplateNamesChanged)
{
    ThemeIndex index(kRoot);
    const QString page = kRoot + u"/page.htm"_s;
    EXPECT_TRUE(index.setText(page, u"<p></p>"_s)) << "new to the index";
    EXPECT_FALSE(index.setText(page, u"<p>文字</p>"_s));
    EXPECT_TRUE(index.setText(page, u"{zuvi:include file='a.htm' /}"_s));
    EXPECT_FALSE(index.setText(page, u"<p>前</p>{zuvi:include file=\"a.htm\" /}"_s)) << "moved, same file";
    EXPECT_TRUE(index.setText(page, u"{zuvi:static file='a.htm' /}"_s)) << "the same file, no longer included";
    EXPECT_FALSE(index.setText(kRoot + u"/a.css"_s, u"{zuvi:include file='b.htm' /}"_s)) << "no template";
}

TEST(ThemeIndex, BlocksKeptOnlyWhenAsked)
{
    const QString text = u"<p>广告</p>{zuvi:adv pid='1'}\r\n  {zuvi:arclist row='5'}{$title}{/zuvi:arclist}{/zuvi:adv}"
                         u"{zuvi:global name='x' /}{zuvi:mine}{/zuvi:mine}"_s;
    ThemeIndex links(kRoot);
    links.setText(kRoot + u"/a.htm"_s, text);
    EXPECT_TRUE(links.find(kRoot + u"/a.htm"_s)->blocks.isEmpty());

    ThemeIndex outline(kRoot, {}, ThemeContents::LinksAndBlocks);
    outline.setText(kRoot + u"/a.htm"_s, text);
    QStringList blocks;
    for (const ThemeBlock &block : outline.find(kRoot + u"/a.htm"_s)->blocks)
        blocks << u"%1 %2:%3 %4"_s.arg(block.tag).arg(block.line).arg(block.column).arg(text.sliced(block.name.start, block.name.length));
    EXPECT_EQ(blocks, (QStringList{u"zuvi:adv 0:10 zuvi:adv"_s, u"zuvi:arclist 1:3 zuvi:arclist"_s, u"zuvi:mine 1:83 zuvi:mine"_s}));
}

TEST(ThemeIndex, LinksToAFolderAreEveryLinkUnderIt)
{
    const ThemeOnDisk disk;
    ThemeIndex index(disk.path(u"."_s));
    index.build();
    QStringList found;
    for (const ThemeLinkAt &at : index.linksTo(disk.path(u"inc"_s)))
        found << index.relativePath(at.source) + u" "_s + at.link.written;
    EXPECT_EQ(found, (QStringList{u"inc/head.htm inc/nav.htm"_s, u"index.htm inc/head.htm"_s, u"index.htm inc/s.css"_s}));
    EXPECT_TRUE(index.includesOf(disk.path(u"inc/s.css"_s)).isEmpty()) << "a static file is not included";
}

TEST(EntryTemplates, AreThoseTheCmsLoadsByItself)
{
    const struct {
        const char *path;
        bool entry;
    } cases[] = {
        {"index.htm", true},        {"pc/index.html", true},       {"lists_article.htm", true},
        {"m/view_商品.htm", true},  {"system/users_info.htm", true}, {"article_pay.htm", true},
        {"product_comment.htm", true}, {"comment_list.htm", true}, {"INDEX.HTM", true},
        {"header.htm", false},      {"index.php", false},          {"lists.htm", false},
        {"inc/myview_a.htm", false}, {"index.htm/part.htm", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isEntryTemplate(QString::fromUtf8(c.path)), c.entry) << c.path;
}

TEST(UnusedTemplates, AreTheOnesNoOtherTemplateIncludesAndNoEntry)
{
    ThemeIndex untidy(QStringLiteral(ZUVI_UNTIDY_THEME));
    untidy.build();
    QStringList unused;
    for (const QString &path : unusedTemplates(untidy))
        unused << untidy.relativePath(path);
    // loop.htm includes only itself; old.htm only a hidden draft includes.
    EXPECT_EQ(unused, (QStringList{u"loop.htm"_s, u"old.htm"_s}));

    ThemeIndex clean(QStringLiteral(ZUVI_FIXTURE_THEME));
    clean.build();
    EXPECT_EQ(unusedTemplates(clean), QStringList());
}

TEST(UnusedTemplates, GiveOneWarningPerTemplateOfATheme)
{
    CheckedThemes themes;
    const QString root = QStringLiteral(ZUVI_UNTIDY_THEME);
    const QList<Finding> old = themes.unusedFindings(root + u"/old.htm"_s, root);
    ASSERT_EQ(old.size(), 1);
    EXPECT_EQ(old[0].code, u"W303"_s);
    EXPECT_EQ(old[0].severity, Severity::Warning);
    EXPECT_EQ(old[0].start, 0);
    EXPECT_TRUE(old[0].message.contains(u"old.htm"_s)) << old[0].message.toStdString();
    EXPECT_TRUE(themes.unusedFindings(root + u"/inc/menu.htm"_s, root).isEmpty());
    EXPECT_TRUE(themes.unusedFindings(root + u"/index.htm"_s, root + u"/"_s).isEmpty());
    EXPECT_EQ(themes.themes().size(), 1) << "the same root, written two ways, is read once";
}

TEST(ThemeGraph, DrawsEntriesOnTopAndMissingIncludesDashedRed)
{
    ThemeIndex untidy(QStringLiteral(ZUVI_UNTIDY_THEME));
    untidy.build();
    const QString expected = uR"(digraph theme {
  rankdir=TB;
  node [shape=box, fontname="sans-serif"];
  {
    rank=min;
    "index.htm";
    "lists_news.htm";
    "system/users_info.htm";
  }
  "head.htm";
  "inc/menu.htm";
  "inc/侧栏.htm";
  "loop.htm";
  "old.htm";
  "foot.htm" [style=dashed, color=red, fontcolor=red, tooltip="missing"];
  "inc/侧栏.htm" -> "inc/menu.htm";
  "index.htm" -> "head.htm";
  "index.htm" -> "inc/侧栏.htm";
  "index.htm" -> "foot.htm";
  "lists_news.htm" -> "head.htm";
  "loop.htm" -> "loop.htm";
}
)"_s;
    EXPECT_EQ(QString::fromUtf8(themeGraphDot({&untidy})), expected);
}

TEST(ThemeGraph, SeveralThemesEachInAFrameNamedByAbsolutePaths)
{
    ThemeIndex untidy(QStringLiteral(ZUVI_UNTIDY_THEME));
    untidy.build();
    ThemeIndex clean(QStringLiteral(ZUVI_FIXTURE_THEME));
    clean.build();
    const QString dot = QString::fromUtf8(themeGraphDot({&untidy, &clean}));
    EXPECT_TRUE(dot.contains(u"subgraph \"cluster_0\""_s));
    EXPECT_TRUE(dot.contains(u"subgraph \"cluster_1\""_s));
    // Both themes have an index.htm: apart, not one node.
    EXPECT_TRUE(dot.contains(u'"' + untidy.templateRoot() + u"/index.htm\" -> \""_s));
    EXPECT_TRUE(dot.contains(u'"' + clean.templateRoot() + u"/index.htm\" -> \""_s));
}

} // namespace
