// The server across a theme, driven as a raw client drives it: every
// include of a file (textDocument/references), in the client's position
// unit and with unsaved texts counted, and the edits a rename of a file or
// folder needs (workspace/willRenameFiles).
#include "lsp/documents.h"
#include "tests/lsp/lspsession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ThemeFolder
{
public:
    ThemeFolder()
    {
        write(u"index.htm"_s, u"{zuvi:include file='inc/头部.htm' /}\n{zuvi:static file='css/a.css' /}\n"_s);
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

private:
    void write(const QString &name, const QString &text)
    {
        QDir(m_dir.path()).mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
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
