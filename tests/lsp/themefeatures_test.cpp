// The server across a theme, driven as a raw client drives it: every
// include of a file (textDocument/references), in the client's position
// unit and with unsaved texts counted; the edits a rename of a file or
// folder needs (workspace/willRenameFiles); renaming a file from a path
// that names it (textDocument/prepareRename, textDocument/rename); the
// theme's templates and blocks (workspace/symbol); and the index following
// the files the client sees created, deleted and renamed.
#include "lsp/documents.h"
#include "lsp/protocol.h"
#include "tests/lsp/lspsession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ThemeFolder
{
public:
    ThemeFolder()
    {
        write(u"index.htm"_s, u"{zuvi:include file='inc/头部.htm' /}\n{zuvi:static file='css/a.css' /}\n"
                              u"<p>广告</p>{zuvi:adv pid='1'}<img />{/zuvi:adv}\n"_s);
        write(u"lists_a.htm"_s, u"<p>列表</p>{zuvi:include file=\"inc/头部.htm\" /}\n"_s);
        write(u"inc/头部.htm"_s, u"<head></head>\n"_s);
        write(u"css/a.css"_s, u"p {}\n"_s);
    }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString uri(const QString &name) const { return uriOfPath(path(name)); }
    QJsonArray folders() const
    {
        return {QJsonObject{{u"uri"_s, uriOfPath(m_dir.path())}, {u"name"_s, u"theme"_s}}};
    }
    QString text(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void write(const QString &name, const QString &text) const
    {
        QDir(m_dir.path()).mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

private:
    QTemporaryDir m_dir;
};

QJsonObject rangeOf(int line, int from, int to)
{
    return {{u"start"_s, position(line, from)}, {u"end"_s, position(line, to)}};
}

TEST(ThemeReferences, EveryIncludeOfTheFileInTheClientsUnit)
{
    const struct {
        const char *encoding;
        int listsFrom, listsTo;   // "inc/头部.htm" after "<p>列表</p>" in lists_a.htm
        int indexTo;
    } cases[] = {
        {"utf-16", 29, 39, 30},
        {"utf-8", 33, 47, 34},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.encoding);
        const ThemeFolder theme;
        LspSession session;
        const QJsonObject capabilities{
            {u"general"_s, QJsonObject{{u"positionEncodings"_s, QJsonArray{QString::fromLatin1(c.encoding)}}}}};
        const QJsonObject answer = session.initialize(capabilities, theme.folders());
        EXPECT_EQ(answer[u"result"_s][u"capabilities"_s][u"referencesProvider"_s], QJsonValue(true));
        session.open(theme.uri(u"index.htm"_s), theme.text(u"index.htm"_s));
        const QJsonObject found =
            session.request(u"textDocument/references"_s, documentPosition(theme.uri(u"index.htm"_s), 0, 22));
        const QJsonArray expected{
            QJsonObject{{u"uri"_s, theme.uri(u"index.htm"_s)}, {u"range"_s, rangeOf(0, 20, c.indexTo)}},
            QJsonObject{{u"uri"_s, theme.uri(u"lists_a.htm"_s)}, {u"range"_s, rangeOf(0, c.listsFrom, c.listsTo)}},
        };
        EXPECT_EQ(found[u"result"_s], QJsonValue(expected)) << shown(found);
    }
}

TEST(ThemeReferences, NothingBesideAnIncludesPathAndUnsavedTextsCount)
{
    const ThemeFolder theme;
    LspSession session;
    session.initialize({}, theme.folders());
    session.open(theme.uri(u"index.htm"_s), theme.text(u"index.htm"_s));
    const QString index = theme.uri(u"index.htm"_s);
    EXPECT_EQ(session.request(u"textDocument/references"_s, documentPosition(index, 1, 22))[u"result"_s],
              QJsonValue(QJsonValue::Null))
        << "a static file is not included";
    EXPECT_EQ(session.request(u"textDocument/references"_s, documentPosition(index, 0, 3))[u"result"_s],
              QJsonValue(QJsonValue::Null))
        << "the tag's name is no path";

    // lists_a.htm open with its include taken out, not saved.
    session.open(theme.uri(u"lists_a.htm"_s), u"<p>列表</p>\n"_s);
    const QJsonArray found =
        session.request(u"textDocument/references"_s, documentPosition(index, 0, 22))[u"result"_s].toArray();
    ASSERT_EQ(found.size(), 1) << shown(found);
    EXPECT_EQ(found[0][u"uri"_s], QJsonValue(index));
    // Closed unsaved: the disk's text counts again.
    session.notify(u"textDocument/didClose"_s,
                   QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, theme.uri(u"lists_a.htm"_s)}}}});
    EXPECT_EQ(session.request(u"textDocument/references"_s, documentPosition(index, 0, 22))[u"result"_s].toArray().size(), 2);
}

TEST(ThemeRename, EditsEveryPathNamingTheFileOrFolder)
{
    const struct {
        const char *what;
        QString from, to;
        QJsonObject changes;   // by file name
    } cases[] = {
        {"a file", u"inc/头部.htm"_s, u"inc/header.htm"_s,
         {{u"index.htm"_s, QJsonArray{QJsonObject{{u"range"_s, rangeOf(0, 20, 30)}, {u"newText"_s, u"inc/header.htm"_s}}}},
          {u"lists_a.htm"_s,
           QJsonArray{QJsonObject{{u"range"_s, rangeOf(0, 29, 39)}, {u"newText"_s, u"inc/header.htm"_s}}}}}},
        {"a folder of static files", u"css"_s, u"样式"_s,
         {{u"index.htm"_s, QJsonArray{QJsonObject{{u"range"_s, rangeOf(1, 19, 28)}, {u"newText"_s, u"样式/a.css"_s}}}}}},
        {"a file none names", u"css/b.css"_s, u"css/c.css"_s, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ThemeFolder theme;
        LspSession session;
        const QJsonObject answer = session.initialize({}, theme.folders());
        EXPECT_TRUE(answer[u"result"_s][u"capabilities"_s][u"workspace"_s][u"fileOperations"_s][u"willRename"_s].isObject());
        const QJsonObject reply = session.request(
            u"workspace/willRenameFiles"_s,
            QJsonObject{{u"files"_s, QJsonArray{QJsonObject{{u"oldUri"_s, theme.uri(c.from)}, {u"newUri"_s, theme.uri(c.to)}}}}});
        if (c.changes.isEmpty()) {
            EXPECT_EQ(reply[u"result"_s], QJsonValue(QJsonValue::Null)) << shown(reply);
            continue;
        }
        QJsonObject expected;
        for (auto it = c.changes.begin(); it != c.changes.end(); ++it)
            expected.insert(theme.uri(it.key()), it.value());
        EXPECT_EQ(reply[u"result"_s][u"changes"_s], QJsonValue(expected)) << shown(reply);
    }
}

TEST(ThemeRename, TheIndexFollowsTheRenameDone)
{
    const ThemeFolder theme;
    LspSession session;
    session.initialize({}, theme.folders());
    session.open(theme.uri(u"index.htm"_s), theme.text(u"index.htm"_s));
    const QJsonObject renamed{
        {u"files"_s, QJsonArray{QJsonObject{{u"oldUri"_s, theme.uri(u"lists_a.htm"_s)}, {u"newUri"_s, theme.uri(u"lists_b.htm"_s)}}}}};
    ASSERT_TRUE(QFile::rename(theme.path(u"lists_a.htm"_s), theme.path(u"lists_b.htm"_s)));
    session.notify(u"workspace/didRenameFiles"_s, renamed);
    const QJsonArray found = session.request(u"textDocument/references"_s,
                                             documentPosition(theme.uri(u"index.htm"_s), 0, 22))[u"result"_s].toArray();
    ASSERT_EQ(found.size(), 2) << shown(found);
    EXPECT_EQ(found[1][u"uri"_s], QJsonValue(theme.uri(u"lists_b.htm"_s)));
}

} // namespace

namespace {

// The labels a completion at the end of `line` (the document's only line) offers.
QStringList pathsOffered(const ThemeFolder &theme, const QString &line, int character = -1)
{
    LspSession session;
    session.initialize({}, theme.folders());
    session.open(theme.uri(u"page.htm"_s), line);
    const QJsonObject answer = session.request(
        u"textDocument/completion"_s,
        documentPosition(theme.uri(u"page.htm"_s), 0, character < 0 ? int(line.size()) : character));
    QStringList labels;
    for (const QJsonValue &item : answer[u"result"_s][u"items"_s].toArray())
        labels << item[u"label"_s].toString();
    return labels;
}

TEST(PathCompletion, FoldersFirstThenTheFilesTheTagTakes)
{
    const ThemeFolder theme;
    const struct {
        const char *what;
        QString line;
        int character;
        QStringList offered;
    } cases[] = {
        {"an include: templates only", u"{zuvi:include file='' /}"_s, 20,
         {u"css/"_s, u"inc/"_s, u"index.htm"_s, u"lists_a.htm"_s}},
        {"a static file: any file", u"{zuvi:static href='css/' /}"_s, 23, {u"a.css"_s}},
        {"a Chinese name, filtered as typed", u"{zuvi:include file=\"inc/头"_s, -1, {u"头部.htm"_s}},
        {"filtered case-blind", u"{include file='LI'}"_s, 17, {u"lists_a.htm"_s}},
        {"the second path of a list", u"{zuvi:static file='css/a.css, c' /}"_s, 31, {u"css/"_s}},
        {"another tag's value is no path", u"{zuvi:arclist file=''}"_s, 20, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pathsOffered(theme, c.line, c.character), c.offered);
    }
}

TEST(PathCompletion, ReplacesTheNameTypedAfterTheLastSlash)
{
    const ThemeFolder theme;
    LspSession session;
    session.initialize({}, theme.folders());
    const QString line = u"<p>头</p>{zuvi:include file='inc/头' /}"_s;
    session.open(theme.uri(u"page.htm"_s), line);
    const QJsonObject answer =
        session.request(u"textDocument/completion"_s, documentPosition(theme.uri(u"page.htm"_s), 0, 33));
    const QJsonArray items = answer[u"result"_s][u"items"_s].toArray();
    ASSERT_EQ(items.size(), 1) << shown(answer);
    EXPECT_EQ(items[0][u"textEdit"_s],
              QJsonValue(QJsonObject{{u"range"_s, rangeOf(0, 32, 33)}, {u"newText"_s, u"头部.htm"_s}}));
    EXPECT_EQ(items[0][u"kind"_s], QJsonValue(17));
}

} // namespace

namespace {

// What a client that renames files in a workspace edit says it can.
const QJsonObject kRenamingClient{
    {u"workspace"_s, QJsonObject{{u"workspaceEdit"_s, QJsonObject{{u"documentChanges"_s, true},
                                                                  {u"resourceOperations"_s, QJsonArray{u"create"_s, u"rename"_s, u"delete"_s}}}}}}};

QJsonObject renameAt(LspSession &session, const QString &uri, int line, int character, const QString &newName)
{
    QJsonObject params = documentPosition(uri, line, character);
    params.insert(u"newName"_s, newName);
    return session.request(u"textDocument/rename"_s, params);
}

QJsonObject textEdit(int line, int from, int to, const QString &newText)
{
    return {{u"range"_s, rangeOf(line, from, to)}, {u"newText"_s, newText}};
}

TEST(PathRename, PrepareGivesThePathAndItsTextOnlyOnAPath)
{
    const ThemeFolder theme;
    LspSession session;
    const QJsonObject answer = session.initialize(kRenamingClient, theme.folders());
    EXPECT_EQ(answer[u"result"_s][u"capabilities"_s][u"renameProvider"_s],
              QJsonValue(QJsonObject{{u"prepareProvider"_s, true}}));
    const QString index = theme.uri(u"index.htm"_s);
    session.open(index, theme.text(u"index.htm"_s));
    const struct {
        const char *what;
        int line, character;
        QJsonValue result;
    } cases[] = {
        {"inside an include's path", 0, 22, QJsonObject{{u"range"_s, rangeOf(0, 20, 30)}, {u"placeholder"_s, u"inc/头部.htm"_s}}},
        {"at its end", 0, 30, QJsonObject{{u"range"_s, rangeOf(0, 20, 30)}, {u"placeholder"_s, u"inc/头部.htm"_s}}},
        {"a static file's path", 1, 20, QJsonObject{{u"range"_s, rangeOf(1, 19, 28)}, {u"placeholder"_s, u"css/a.css"_s}}},
        {"the tag's name", 0, 3, QJsonValue::Null},
        {"a block tag", 2, 14, QJsonValue::Null},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QJsonObject reply =
            session.request(u"textDocument/prepareRename"_s, documentPosition(index, c.line, c.character));
        EXPECT_EQ(reply[u"result"_s], c.result) << shown(reply);
    }
}

TEST(PathRename, EditsEveryPathNamingTheFileThenRenamesIt)
{
    const struct {
        const char *what;
        int line, character;
        QString newName;
        QString from, to;
        QJsonArray indexEdits, listsEdits;
    } cases[] = {
        {"an include, across the theme", 0, 22, u"inc/header.htm"_s, u"inc/头部.htm"_s, u"inc/header.htm"_s,
         {textEdit(0, 20, 30, u"inc/header.htm"_s)}, {textEdit(0, 29, 39, u"inc/header.htm"_s)}},
        {"into another folder", 0, 22, u"css/头部.htm"_s, u"inc/头部.htm"_s, u"css/头部.htm"_s,
         {textEdit(0, 20, 30, u"css/头部.htm"_s)}, {textEdit(0, 29, 39, u"css/头部.htm"_s)}},
        {"a static file", 1, 20, u"css/主.css"_s, u"css/a.css"_s, u"css/主.css"_s,
         {textEdit(1, 19, 28, u"css/主.css"_s)}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ThemeFolder theme;
        LspSession session;
        session.initialize(kRenamingClient, theme.folders());
        const QString index = theme.uri(u"index.htm"_s);
        session.open(index, theme.text(u"index.htm"_s), 7);
        const QJsonObject reply = renameAt(session, index, c.line, c.character, c.newName);
        QJsonArray expected{QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, index}, {u"version"_s, 7}}},
                                        {u"edits"_s, c.indexEdits}}};
        if (!c.listsEdits.isEmpty()) {
            expected << QJsonObject{
                {u"textDocument"_s, QJsonObject{{u"uri"_s, theme.uri(u"lists_a.htm"_s)}, {u"version"_s, QJsonValue::Null}}},
                {u"edits"_s, c.listsEdits}};
        }
        expected << QJsonObject{{u"kind"_s, u"rename"_s}, {u"oldUri"_s, theme.uri(c.from)}, {u"newUri"_s, theme.uri(c.to)}};
        EXPECT_EQ(reply[u"result"_s], QJsonValue(QJsonObject{{u"documentChanges"_s, expected}})) << shown(reply);

        // The client renames the file as asked: its own willRenameFiles gets
        // no second set of edits, and the index follows the rename done.
        const QJsonObject files{
            {u"files"_s, QJsonArray{QJsonObject{{u"oldUri"_s, theme.uri(c.from)}, {u"newUri"_s, theme.uri(c.to)}}}}};
        EXPECT_EQ(session.request(u"workspace/willRenameFiles"_s, files)[u"result"_s], QJsonValue(QJsonValue::Null));
        ASSERT_TRUE(QFile::rename(theme.path(c.from), theme.path(c.to)));
        session.notify(u"workspace/didRenameFiles"_s, files);
        EXPECT_NE(session.request(u"workspace/willRenameFiles"_s, files)[u"result"_s], QJsonValue(QJsonValue::Null))
            << "a rename of the client's own is edited again";
    }
}

TEST(PathRename, FromADocumentTheThemeDoesNotHoldItsOwnPathChangesToo)
{
    const ThemeFolder theme;
    LspSession session;
    session.initialize(kRenamingClient, theme.folders());
    const QString page = theme.uri(u"page.php"_s);
    session.open(page, u"<?php ?>{zuvi:include file='inc/头部.htm' /}"_s, 3);
    const QJsonObject reply = renameAt(session, page, 0, 30, u"inc/header.htm"_s);
    const QJsonArray changes = reply[u"result"_s][u"documentChanges"_s].toArray();
    ASSERT_EQ(changes.size(), 4) << shown(reply);
    EXPECT_EQ(changes[0][u"textDocument"_s][u"uri"_s], QJsonValue(theme.uri(u"index.htm"_s)));
    EXPECT_EQ(changes[1][u"textDocument"_s][u"uri"_s], QJsonValue(theme.uri(u"lists_a.htm"_s)));
    EXPECT_EQ(changes[2], QJsonValue(QJsonObject{
                              {u"textDocument"_s, QJsonObject{{u"uri"_s, page}, {u"version"_s, 3}}},
                              {u"edits"_s, QJsonArray{textEdit(0, 28, 38, u"inc/header.htm"_s)}}}));
    EXPECT_EQ(changes[3][u"kind"_s], QJsonValue(u"rename"_s));
}

TEST(PathRename, RefusedWhereTheThemeWouldBreak)
{
    const struct {
        const char *what;
        int line, character;
        QString newName;
        const char *message;
    } cases[] = {
        {"a file already there", 0, 22, u"lists_a.htm"_s, "无法重命名 inc/头部.htm：lists_a.htm 已经存在"},
        {"out of the template root", 0, 22, u"../头部.htm"_s, "无法重命名 inc/头部.htm：../头部.htm 不在模板根目录下"},
        {"a folder not there", 0, 22, u"parts/头部.htm"_s, "无法重命名 inc/头部.htm：没有文件夹 parts"},
        {"an include named as no template", 0, 22, u"inc/头部.txt"_s, "include 引用的模板要以 .htm 或 .html 结尾"},
        {"a comma would split a list of static files", 1, 20, u"css/a,b.css"_s, "路径中不能有 ,"},
        {"a quote would end the value", 1, 20, u"css/a'.css"_s, "路径中不能有 '"},
        {"nothing", 1, 20, u"  "_s, "新路径是空的"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ThemeFolder theme;
        LspSession session;
        session.initialize(kRenamingClient, theme.folders());
        session.open(theme.uri(u"index.htm"_s), theme.text(u"index.htm"_s));
        const QJsonObject reply = renameAt(session, theme.uri(u"index.htm"_s), c.line, c.character, c.newName);
        EXPECT_EQ(reply[u"error"_s][u"code"_s], QJsonValue(-32803)) << shown(reply);
        EXPECT_TRUE(reply[u"error"_s][u"message"_s].toString().contains(QString::fromUtf8(c.message))) << shown(reply);
        EXPECT_TRUE(QFileInfo(theme.path(u"inc/头部.htm"_s)).isFile());
    }
}

TEST(PathRename, RefusedToAClientThatCannotRenameTheFileInTheSameEdit)
{
    const struct {
        const char *what;
        QJsonObject capabilities;
    } cases[] = {
        {"no workspace edit capabilities", {}},
        {"text edits only", {{u"workspace"_s, QJsonObject{{u"workspaceEdit"_s, QJsonObject{{u"documentChanges"_s, true}}}}}}},
        {"no rename among its operations",
         {{u"workspace"_s, QJsonObject{{u"workspaceEdit"_s, QJsonObject{{u"documentChanges"_s, true},
                                                                         {u"resourceOperations"_s, QJsonArray{u"create"_s}}}}}}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ThemeFolder theme;
        LspSession session;
        session.initialize(c.capabilities, theme.folders());
        const QString index = theme.uri(u"index.htm"_s);
        session.open(index, theme.text(u"index.htm"_s));
        const QJsonObject prepared = session.request(u"textDocument/prepareRename"_s, documentPosition(index, 0, 22));
        EXPECT_TRUE(prepared[u"error"_s][u"message"_s].toString().contains(u"不能在同一次编辑中重命名文件"_s)) << shown(prepared);
        const QJsonObject renamed = renameAt(session, index, 0, 22, u"inc/header.htm"_s);
        EXPECT_EQ(renamed[u"error"_s], prepared[u"error"_s]) << shown(renamed);
    }
}

} // namespace

namespace {

QStringList symbolNames(const QJsonValue &symbols)
{
    QStringList names;
    for (const QJsonValue &symbol : symbols.toArray())
        names << symbol[u"name"_s].toString();
    return names;
}

TEST(WorkspaceSymbols, TemplatesByPathAndBlocksByTagOrCaption)
{
    const ThemeFolder theme;
    LspSession session;
    const QJsonObject answer = session.initialize({}, theme.folders());
    EXPECT_EQ(answer[u"result"_s][u"capabilities"_s][u"workspaceSymbolProvider"_s], QJsonValue(true));
    const struct {
        const char *what;
        QString query;
        QStringList names;
    } cases[] = {
        {"everything", u""_s, {u"inc/头部.htm"_s, u"index.htm"_s, u"lists_a.htm"_s, u"{zuvi:adv}"_s}},
        {"a template's folder and name", u"inc/头"_s, {u"inc/头部.htm"_s}},
        {"its letters in order, case aside", u"IDX"_s, {u"index.htm"_s}},
        {"a block by its tag", u"adv"_s, {u"{zuvi:adv}"_s}},
        {"by the initials of the catalog's caption, 广告位标签调用", u"ggw"_s, {u"{zuvi:adv}"_s}},
        {"by the caption itself", u"广告位"_s, {u"{zuvi:adv}"_s}},
        {"nothing", u"zzz"_s, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QJsonObject reply = session.request(u"workspace/symbol"_s, QJsonObject{{u"query"_s, c.query}});
        EXPECT_EQ(symbolNames(reply[u"result"_s]), c.names) << shown(reply);
    }
}

TEST(WorkspaceSymbols, WhereTheyStandInTheClientsUnit)
{
    const struct {
        const char *encoding;
        int from, to;   // "zuvi:adv" after "<p>广告</p>{"
    } cases[] = {
        {"utf-16", 10, 18},
        {"utf-8", 14, 22},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.encoding);
        const ThemeFolder theme;
        LspSession session;
        session.initialize({{u"general"_s, QJsonObject{{u"positionEncodings"_s, QJsonArray{QString::fromLatin1(c.encoding)}}}}},
                           theme.folders());
        const QJsonArray found =
            session.request(u"workspace/symbol"_s, QJsonObject{{u"query"_s, u"a"_s}})[u"result"_s].toArray();
        ASSERT_EQ(found.size(), 2) << shown(found);
        EXPECT_EQ(found[0], QJsonValue(QJsonObject{
                                {u"name"_s, u"lists_a.htm"_s},
                                {u"kind"_s, 1},
                                {u"location"_s, QJsonObject{{u"uri"_s, theme.uri(u"lists_a.htm"_s)}, {u"range"_s, rangeOf(0, 0, 0)}}}}));
        EXPECT_EQ(found[1], QJsonValue(QJsonObject{
                                {u"name"_s, u"{zuvi:adv}"_s},
                                {u"kind"_s, 23},
                                {u"containerName"_s, u"index.htm"_s},
                                {u"location"_s, QJsonObject{{u"uri"_s, theme.uri(u"index.htm"_s)}, {u"range"_s, rangeOf(2, c.from, c.to)}}}}));
    }
}

} // namespace

namespace {

bool saysUnused(const std::optional<QJsonArray> &diagnostics)
{
    if (!diagnostics)
        return false;
    for (const QJsonValue &diagnostic : *diagnostics) {
        if (diagnostic[u"code"_s] == QJsonValue(u"W303"_s))
            return true;
    }
    return false;
}

// A theme whose configuration names its template root, and the include of
// inc/头部.htm in index.htm asked for every include of that file.
class WatchedTheme
{
public:
    WatchedTheme()
    {
        theme.write(u".zuvi-check.json"_s, uR"({"templateRoot": "."})"_s);
        theme.write(u"inc/spare.htm"_s, u"<p>备用</p>\n"_s);
        session.initialize({}, theme.folders());
        session.open(theme.uri(u"index.htm"_s), theme.text(u"index.htm"_s));
        session.open(theme.uri(u"inc/spare.htm"_s), theme.text(u"inc/spare.htm"_s));
    }
    qsizetype includesOfHead()
    {
        return session.request(u"textDocument/references"_s, documentPosition(theme.uri(u"index.htm"_s), 0, 22))[u"result"_s]
            .toArray()
            .size();
    }
    bool spareUnused() const { return saysUnused(session.lastDiagnostics(theme.uri(u"inc/spare.htm"_s))); }
    void changed(const QString &name, protocol::FileChangeType type)
    {
        session.notify(u"workspace/didChangeWatchedFiles"_s,
                       QJsonObject{{u"changes"_s, QJsonArray{QJsonObject{{u"uri"_s, theme.uri(name)},
                                                                         {u"type"_s, protocol::number(type)}}}}});
    }

    ThemeFolder theme;
    LspSession session;
};

TEST(ThemeWatchedFiles, FilesCreatedDeletedAndChangedElsewhereCount)
{
    using protocol::FileChangeType;
    WatchedTheme watched;
    ASSERT_EQ(watched.includesOfHead(), 2);
    EXPECT_TRUE(watched.spareUnused()) << "no template includes it";

    const QString both = u"{zuvi:include file='inc/头部.htm' /}{zuvi:include file='inc/spare.htm' /}"_s;
    watched.theme.write(u"view_a.htm"_s, both);
    watched.changed(u"view_a.htm"_s, FileChangeType::Created);
    EXPECT_EQ(watched.includesOfHead(), 3);
    EXPECT_FALSE(watched.spareUnused());

    watched.theme.write(u"view_a.htm"_s, u"<p></p>"_s);
    watched.changed(u"view_a.htm"_s, FileChangeType::Changed);
    EXPECT_EQ(watched.includesOfHead(), 2);
    EXPECT_TRUE(watched.spareUnused());

    // A folder moved in is told of as the folder alone.
    watched.theme.write(u"m/手机/view_b.htm"_s, both);
    watched.changed(u"m"_s, FileChangeType::Created);
    EXPECT_EQ(watched.includesOfHead(), 3);
    EXPECT_FALSE(watched.spareUnused());

    ASSERT_TRUE(QDir(watched.theme.path(u"m"_s)).removeRecursively());
    watched.changed(u"m"_s, FileChangeType::Deleted);
    EXPECT_EQ(watched.includesOfHead(), 2);
    EXPECT_TRUE(watched.spareUnused());
}

TEST(ThemeWatchedFiles, OtherTemplatesEditedOrRenamedCount)
{
    WatchedTheme watched;
    const QString index = watched.theme.uri(u"index.htm"_s);
    const auto edited = [&](int version, const QString &text) {
        watched.session.notify(
            u"textDocument/didChange"_s,
            QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, index}, {u"version"_s, version}}},
                        {u"contentChanges"_s, QJsonArray{QJsonObject{{u"text"_s, text}}}}});
    };
    // Unsaved edits of another open template.
    edited(2, u"{zuvi:include file='inc/spare.htm' /}\n"_s);
    EXPECT_FALSE(watched.spareUnused());
    edited(3, u"<p>没有引用</p>\n"_s);
    EXPECT_TRUE(watched.spareUnused());

    // A template on disk including it, then renamed to no template's name.
    watched.theme.write(u"view_x.htm"_s, u"{zuvi:include file='inc/spare.htm' /}"_s);
    watched.changed(u"view_x.htm"_s, protocol::FileChangeType::Created);
    EXPECT_FALSE(watched.spareUnused());
    ASSERT_TRUE(QFile::rename(watched.theme.path(u"view_x.htm"_s), watched.theme.path(u"view_x.txt"_s)));
    watched.session.notify(
        u"workspace/didRenameFiles"_s,
        QJsonObject{{u"files"_s, QJsonArray{QJsonObject{{u"oldUri"_s, watched.theme.uri(u"view_x.htm"_s)},
                                                        {u"newUri"_s, watched.theme.uri(u"view_x.txt"_s)}}}}});
    EXPECT_TRUE(watched.spareUnused());
}

} // namespace
