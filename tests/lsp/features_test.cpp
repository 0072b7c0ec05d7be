// What the server answers about a template: hover on tags and attributes,
// the outline, folding and partner highlights from the blocks, quick fixes
// that make the checker's findings go, links and definitions of the files a
// template names as files and folders come and go, and pulled diagnostics;
// each as a table of requests and the answers they must get.
#include "tests/lsp/lspsession.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

const QString kUri = QStringLiteral("untitled:features");

QJsonObject markdownClient()
{
    return parseJson(R"({"textDocument":{"hover":{"contentFormat":["markdown","plaintext"]},
                                          "documentSymbol":{"hierarchicalDocumentSymbolSupport":true}}})")
        .toObject();
}

// The text with '|' where the cursor stands, and its line and UTF-16 character.
std::tuple<QString, int, int> cursorIn(const QString &marked)
{
    const qsizetype at = marked.indexOf(u'|');
    const QString before = marked.left(at);
    QString text = marked;
    text.remove(at, 1);
    return {text, int(before.count(u'\n')), int(before.size() - (before.lastIndexOf(u'\n') + 1))};
}

// --- hover ---

struct HoverCase {
    const char *what;
    QString marked;
    QStringList shows;   // parts of the hover's text; none: no hover at all
    const char *range = nullptr;
    bool markdown = true;
};

class HoverTest : public testing::TestWithParam<HoverCase> {};

TEST_P(HoverTest, SaysWhatTheToolKnows)
{
    const HoverCase &c = GetParam();
    LspSession session;
    session.initialize(c.markdown ? markdownClient() : QJsonObject());
    const auto [text, line, character] = cursorIn(c.marked);
    session.open(kUri, text);
    const QJsonValue hover = session.request(QStringLiteral("textDocument/hover"), documentPosition(kUri, line, character))
                                 .value(QStringLiteral("result"));
    if (c.shows.isEmpty()) {
        EXPECT_TRUE(hover.isNull()) << c.what << ": " << shown(hover);
        return;
    }
    const QString value = hover[QStringLiteral("contents")][QStringLiteral("value")].toString();
    EXPECT_EQ(hover[QStringLiteral("contents")][QStringLiteral("kind")].toString(),
              c.markdown ? QStringLiteral("markdown") : QStringLiteral("plaintext"));
    for (const QString &part : c.shows)
        EXPECT_TRUE(value.contains(part)) << c.what << ": no \"" << part.toStdString() << "\" in\n" << value.toStdString();
    if (c.range) {
        EXPECT_TRUE(jsonIncludes(hover[QStringLiteral("range")], parseJson(c.range))) << c.what << ": " << shown(hover);
    }
}

const HoverCase kHovers[] = {
    {"a single tag: caption, page, attributes", QStringLiteral("<p>中文 {zuvi:page|list listsize='2' /}</p>"),
     {QStringLiteral("**`{zuvi:pagelist}`** 单独使用的标签"), QStringLiteral("分页标签 · 列表标签"),
      QStringLiteral("属性：`listitem`、`listsize`")},
     R"({"start":{"line":0,"character":7},"end":{"line":0,"character":20}})"},
    {"a block: its closing tag, numbers and drop-downs", QStringLiteral("{|zuvi:arclist}{/zuvi:arclist}"),
     {QStringLiteral("块标签，以 `{/zuvi:arclist}` 结束"), QStringLiteral("`row`（数字）"),
      QStringLiteral("`orderby`（now、click、sort_order、rand）")}},
    {"the closing tag names the same tag", QStringLiteral("{zuvi:tag}{/zuvi:t|ag}"),
     {QStringLiteral("tag列表 · 列表标签  \ngetall"), QStringLiteral("getall获取类型，0为当前内容页TAG标记，1为获取全部TAG标记")},
     R"({"start":{"line":0,"character":12},"end":{"line":0,"character":20}})"},
    {"plain text for a client without Markdown", QStringLiteral("{zuvi:page|list /}"),
     {QStringLiteral("{zuvi:pagelist} 单独使用的标签"), QStringLiteral("分页标签 · 列表标签")}, nullptr, false},
    {"an attribute: its values", QStringLiteral("{zuvi:arclist orde|rby='click'}"),
     {QStringLiteral("**`orderby`** {zuvi:arclist} 的属性"), QStringLiteral("可选值：`now`、`click`、`sort_order`、`rand`")},
     R"({"start":{"line":0,"character":14},"end":{"line":0,"character":29}})"},
    {"an attribute's value", QStringLiteral("{zuvi:arclist orderby='cl|ick'}"), {QStringLiteral("可选值：")}},
    {"a number", QStringLiteral("{zuvi:arclist r|ow='3'}"), {QStringLiteral("取值为数字")}},
    {"an attribute the tool does not know", QStringLiteral("{zuvi:arclist mi|ne='3'}"), {}},
    {"a tag the tool does not know", QStringLiteral("{zuvi:mi|ne}"), {}},
    {"a placeholder", QStringLiteral("{$field.ti|tle}"), {}},
    {"text", QStringLiteral("分|页"), {}},
    // The edges of a tag, as every feature of the server reads them.
    {"at the tag's {", QStringLiteral("<p>|{zuvi:pagelist /}"), {QStringLiteral("分页标签 · 列表标签")},
     R"({"start":{"line":0,"character":4},"end":{"line":0,"character":17}})"},
    {"at a closing tag's {", QStringLiteral("{zuvi:tag}|{/zuvi:tag}"), {QStringLiteral("tag列表 · 列表标签")}},
    {"a word typed right before a tag is text", QStringLiteral("中文|{zuvi:pagelist /}"), {}},
    {"just after the tag's }", QStringLiteral("{zuvi:pagelist /}|x"), {}},
    {"right after a value's closing quote", QStringLiteral("{zuvi:arclist row='3'|}"), {}},
    {"on the = before a value", QStringLiteral("{zuvi:arclist orderby=|'click'}"), {QStringLiteral("可选值：")},
     R"({"start":{"line":0,"character":14},"end":{"line":0,"character":29}})"},
    {"a value holding a }", QStringLiteral("{zuvi:arclist orderby='a}|b'}"), {QStringLiteral("可选值：")}},
    {"PHP", QStringLiteral("{zuvi:php}arc|list{/zuvi:php}"), {}},
};

INSTANTIATE_TEST_SUITE_P(Places, HoverTest, testing::ValuesIn(kHovers));

// --- outline, folding, partners ---

// Lines: 0 <ul>  1 {zuvi:channel type='top'}  2 <li>{zuvi:if …}  3 <b>x</b>
// 4 {/zuvi:if}</li>  5 {/zuvi:channel}  6 <!-- 注释  7 -->  8 中文{zuvi:arclist row='1'}
const QString kStructured = QStringLiteral(
    "<ul>\n{zuvi:channel type='top'}\n  <li>{zuvi:if condition='1'}\n    <b>x</b>\n  {/zuvi:if}</li>\n"
    "{/zuvi:channel}\n<!-- 注释\n-->\n中文{zuvi:arclist row='1'}");

#define POS(l, c) R"({"line":)" #l R"(,"character":)" #c "}"
#define RANGE(l1, c1, l2, c2) R"({"start":)" POS(l1, c1) R"(,"end":)" POS(l2, c2) "}"

TEST(Structure, OutlineIsTheTreeOfBlocks)
{
    LspSession session;
    session.initialize(markdownClient());
    session.open(kUri, kStructured);
    const QJsonValue symbols = session.request(QStringLiteral("textDocument/documentSymbol"),
                                               QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}}}})
                                   .value(QStringLiteral("result"));
    EXPECT_TRUE(jsonIncludes(symbols, parseJson(R"([
        {"name":"{zuvi:channel}","detail":"type='top'","range":)" RANGE(1, 0, 5, 15) R"(,"selectionRange":)" RANGE(1, 1, 1, 13) R"(,
         "children":[{"name":"{zuvi:if}","detail":"condition='1'","range":)" RANGE(2, 6, 4, 12) R"(}]},
        {"name":"{zuvi:arclist}","range":)" RANGE(8, 2, 8, 24) R"(}])")))
        << shown(symbols);

    // Without the tree: a flat list, each inner block naming its container.
    LspSession flat;
    flat.initialize();
    flat.open(kUri, kStructured);
    const QJsonValue information = flat.request(QStringLiteral("textDocument/documentSymbol"),
                                                QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}}}})
                                       .value(QStringLiteral("result"));
    EXPECT_TRUE(jsonIncludes(information, parseJson(R"([
        {"name":"{zuvi:channel}","location":{"uri":"untitled:features","range":)" RANGE(1, 0, 5, 15) R"(}},
        {"name":"{zuvi:if}","containerName":"{zuvi:channel}"},
        {"name":"{zuvi:arclist}"}])")))
        << shown(information);
}

TEST(Structure, FoldsBlocksAndCommentsOverSeveralLines)
{
    LspSession session;
    session.initialize();
    session.open(kUri, kStructured + QStringLiteral("\n{zuvi:if}{/zuvi:if}\n{zuvi:if}\n{/zuvi:if}"));
    const QJsonValue ranges = session.request(QStringLiteral("textDocument/foldingRange"),
                                              QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}}}})
                                  .value(QStringLiteral("result"));
    // The block left open, the one on one line and the one with nothing
    // between its lines fold nowhere.
    EXPECT_TRUE(jsonIncludes(ranges, parseJson(R"([{"startLine":1,"endLine":4},{"startLine":2,"endLine":3},
                                                  {"startLine":6,"endLine":7,"kind":"comment"}])")))
        << shown(ranges);
}

struct HighlightCase {
    const char *what;
    int line, character;
    const char *highlights;
};

class HighlightTest : public testing::TestWithParam<HighlightCase> {};

TEST_P(HighlightTest, ShowsTheTagsPartner)
{
    const HighlightCase &c = GetParam();
    LspSession session;
    session.initialize();
    session.open(kUri, kStructured);
    const QJsonValue highlights = session.request(QStringLiteral("textDocument/documentHighlight"),
                                                  documentPosition(kUri, c.line, c.character))
                                      .value(QStringLiteral("result"));
    EXPECT_TRUE(jsonIncludes(highlights, parseJson(c.highlights))) << c.what << ": " << shown(highlights);
}

const HighlightCase kHighlights[] = {
    {"on an opening tag", 2, 9, "[{\"range\":" RANGE(2, 7, 2, 14) ",\"kind\":1},{\"range\":" RANGE(4, 4, 4, 11) "}]"},
    {"on a closing tag", 5, 3, "[{\"range\":" RANGE(1, 1, 1, 13) "},{\"range\":" RANGE(5, 2, 5, 14) "}]"},
    {"on a block left open", 8, 5, "[{\"range\":" RANGE(8, 3, 8, 15) "}]"},
    {"in text", 3, 6, "[]"},
    {"at an opening tag's {", 1, 0, "[{\"range\":" RANGE(1, 1, 1, 13) "},{\"range\":" RANGE(5, 2, 5, 14) "}]"},
    {"at a closing tag's {", 4, 2, "[{\"range\":" RANGE(2, 7, 2, 14) "},{\"range\":" RANGE(4, 4, 4, 11) "}]"},
    {"just after a tag's }", 1, 25, "[]"},
    {"a word right before a tag is text", 8, 2, "[]"},
};

INSTANTIATE_TEST_SUITE_P(Tags, HighlightTest, testing::ValuesIn(kHighlights));

// --- quick fixes ---

// The text with the edits of one action made, as a client makes them.
QString applied(const QString &text, const QJsonArray &edits)
{
    const auto offsetOf = [&](const QJsonValue &p) {
        const QStringList lines = text.split(u'\n');
        qsizetype offset = 0;
        for (int l = 0; l < p[QStringLiteral("line")].toInt(); ++l)
            offset += lines[l].size() + 1;
        return offset + p[QStringLiteral("character")].toInt();
    };
    QList<std::tuple<qsizetype, qsizetype, QString>> changes;
    for (const QJsonValue &edit : edits)
        changes.append({offsetOf(edit[QStringLiteral("range")][QStringLiteral("start")]),
                        offsetOf(edit[QStringLiteral("range")][QStringLiteral("end")]), edit[QStringLiteral("newText")].toString()});
    std::sort(changes.begin(), changes.end(), [](const auto &a, const auto &b) { return std::get<0>(a) > std::get<0>(b); });
    QString result = text;
    for (const auto &[start, end, newText] : changes)
        result.replace(start, end - start, newText);
    return result;
}

struct FixCase {
    const char *what;
    QString marked;        // '|' where the fix is asked for
    const char *code;      // the finding fixed
    QString title;
    QString fixed;
};

class QuickFixTest : public testing::TestWithParam<FixCase> {};

TEST_P(QuickFixTest, TheFixMakesTheFindingGo)
{
    const FixCase &c = GetParam();
    LspSession session;
    session.initialize();
    const auto [text, line, character] = cursorIn(c.marked);
    session.open(kUri, text);
    // Each finding of the code, and the one at the cursor.
    const auto ofCode = [&](const QJsonArray &diagnostics) {
        QJsonArray found;
        for (const QJsonValue &diagnostic : diagnostics) {
            if (diagnostic[QStringLiteral("code")] == QString::fromLatin1(c.code))
                found << diagnostic;
        }
        return found;
    };
    const QJsonArray before = ofCode(session.lastDiagnostics(kUri).value_or(QJsonArray()));
    QJsonValue ours;
    for (const QJsonValue &diagnostic : before) {
        const QJsonValue range = diagnostic[QStringLiteral("range")];
        if (range[QStringLiteral("start")][QStringLiteral("line")].toInt() == line
            && range[QStringLiteral("start")][QStringLiteral("character")].toInt() <= character
            && range[QStringLiteral("end")][QStringLiteral("character")].toInt() >= character)
            ours = diagnostic;
    }
    ASSERT_TRUE(ours.isObject()) << c.what << ": no " << c.code << " at the cursor in " << shown(before);
    const QJsonObject at = position(line, character);
    const QJsonArray actions =
        session.request(QStringLiteral("textDocument/codeAction"),
                        QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}}},
                                    {QStringLiteral("range"), QJsonObject{{QStringLiteral("start"), at}, {QStringLiteral("end"), at}}},
                                    {QStringLiteral("context"), QJsonObject{{QStringLiteral("diagnostics"), QJsonArray{ours}}}}})
            .value(QStringLiteral("result"))
            .toArray();
    QJsonObject action;
    for (const QJsonValue &candidate : actions) {
        if (candidate[QStringLiteral("title")] == c.title)
            action = candidate.toObject();
    }
    ASSERT_FALSE(action.isEmpty()) << c.what << ": " << shown(actions);
    EXPECT_EQ(action[QStringLiteral("kind")].toString(), QStringLiteral("quickfix"));
    EXPECT_EQ(action[QStringLiteral("diagnostics")].toArray(), QJsonArray{ours}) << c.what;
    const QString fixed = applied(text, action[QStringLiteral("edit")][QStringLiteral("changes")][kUri].toArray());
    EXPECT_EQ(fixed, c.fixed) << c.what;

    LspSession again;
    again.initialize();
    again.open(kUri, fixed);
    const QJsonArray after = ofCode(again.lastDiagnostics(kUri).value_or(QJsonArray()));
    EXPECT_EQ(after.size(), before.size() - 1) << c.what << ": " << shown(after);
}

const FixCase kFixes[] = {
    {"a block left open: its closing tag at the end", QStringLiteral("<ul>\n{zuvi:arc|list row='1'}\n<li/>\n"), "E101",
     QStringLiteral("插入 {/zuvi:arclist}"), QStringLiteral("<ul>\n{zuvi:arclist row='1'}\n<li/>\n{/zuvi:arclist}")},
    {"a block left open inside another left open: at the end of that one",
     QStringLiteral("{zuvi:channel}\n中文{zuvi:arc|list row='1'}<li/>{zuvi:if}{/zuvi:if}"), "E101", QStringLiteral("插入 {/zuvi:arclist}"),
     QStringLiteral("{zuvi:channel}\n中文{zuvi:arclist row='1'}<li/>{zuvi:if}{/zuvi:if}{/zuvi:arclist}")},
    {"a crossing closing tag: the crossed block's closing tag before it",
     QStringLiteral("{zuvi:channel}{zuvi:if}x{/zuvi:cha|nnel}"), "E103", QStringLiteral("插入 {/zuvi:if}"),
     QStringLiteral("{zuvi:channel}{zuvi:if}x{/zuvi:if}{/zuvi:channel}")},
    {"a stray closing tag removed", QStringLiteral("a{/zuvi:|if}b"), "E102", QStringLiteral("删除 {/zuvi:if}"), QStringLiteral("ab")},
    {"a misspelled tag, in its closing tag too", QStringLiteral("{zuvi:arcl|st row='1'}x{/zuvi:arclst}"), "W101",
     QStringLiteral("改为 zuvi:arclist"), QStringLiteral("{zuvi:arclist row='1'}x{/zuvi:arclist}")},
    {"a misspelled attribute", QStringLiteral("{zuvi:arclist title|lne='2'}{/zuvi:arclist}"), "W102",
     QStringLiteral("改为 titlelen"), QStringLiteral("{zuvi:arclist titlelen='2'}{/zuvi:arclist}")},
};

INSTANTIATE_TEST_SUITE_P(Findings, QuickFixTest, testing::ValuesIn(kFixes));

TEST(QuickFix, OnlyWhereAFindingIsAndWhenQuickFixesAreWanted)
{
    LspSession session;
    session.initialize();
    session.open(kUri, QStringLiteral("a{/zuvi:if}b\nclean line"));
    const auto actions = [&](int line, const QJsonValue &only) {
        QJsonObject context{{QStringLiteral("diagnostics"), QJsonArray()}};
        if (!only.isUndefined())
            context.insert(QStringLiteral("only"), only);
        return session.request(QStringLiteral("textDocument/codeAction"),
                               QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}}},
                                           {QStringLiteral("range"), QJsonObject{{QStringLiteral("start"), position(line, 0)},
                                                                                 {QStringLiteral("end"), position(line, 3)}}},
                                           {QStringLiteral("context"), context}})
            .value(QStringLiteral("result"))
            .toArray();
    };
    EXPECT_EQ(actions(0, QJsonValue::Undefined).size(), 1);
    EXPECT_EQ(actions(1, QJsonValue::Undefined).size(), 0) << "no finding there";
    EXPECT_EQ(actions(0, QJsonArray{QStringLiteral("refactor")}).size(), 0) << "only refactorings asked for";
    EXPECT_EQ(actions(0, QJsonArray{QStringLiteral("quickfix")}).size(), 1);
}

// --- files a template names ---

// A theme on disk: head.htm beside the folder pc/ of the template, which
// also names a file not written yet.
class ThemeOnDisk
{
public:
    ThemeOnDisk()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("pc"));
        write(QStringLiteral("head.htm"));
    }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString uri(const QString &name) const { return uriOfPath(path(name)); }
    void write(const QString &name) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QJsonArray folders() const
    {
        return QJsonArray{QJsonObject{{QStringLiteral("uri"), uriOfPath(m_dir.path())}, {QStringLiteral("name"), QStringLiteral("theme")}}};
    }

private:
    QTemporaryDir m_dir;
};

const QString kNaming = QStringLiteral("<p>中文</p>{zuvi:include file='head.htm' /}\n{zuvi:include file='new.htm' /}\n");

struct DefinitionCase {
    const char *what;
    int line, character;
    const char *target;   // the file jumped to, or nullptr for none
};

TEST(Files, DefinitionAndLinksResolveAsTheCheckerDoes)
{
    ThemeOnDisk theme;
    LspSession session;
    session.initialize({}, theme.folders());
    const QString uri = theme.uri(QStringLiteral("pc/index.htm"));
    session.open(uri, kNaming);

    const DefinitionCase cases[] = {
        {"on the path, after Chinese", 0, 32, "head.htm"},
        {"on the tag's name", 0, 12, "head.htm"},
        {"at the tag's {", 0, 9, "head.htm"},
        {"just after the tag's /}", 0, 41, nullptr},
        {"on a file that does not exist", 1, 22, nullptr},
        {"in text", 0, 1, nullptr},
    };
    for (const DefinitionCase &c : cases) {
        const QJsonValue found =
            session.request(QStringLiteral("textDocument/definition"), documentPosition(uri, c.line, c.character))
                .value(QStringLiteral("result"));
        if (c.target) {
            EXPECT_TRUE(jsonIncludes(found, parseJson(QStringLiteral(R"({"uri":"%1","range":{"start":{"line":0,"character":0}}})")
                                                          .arg(theme.uri(QString::fromLatin1(c.target)))
                                                          .toUtf8()
                                                          .constData())))
                << c.what << ": " << shown(found);
        } else {
            EXPECT_TRUE(found.isNull()) << c.what << ": " << shown(found);
        }
    }
    const QJsonValue links = session.request(QStringLiteral("textDocument/documentLink"),
                                             QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}}}})
                                 .value(QStringLiteral("result"));
    EXPECT_TRUE(jsonIncludes(links, parseJson(QStringLiteral(R"([{"range":)" RANGE(0, 29, 0, 37) R"(,"target":"%1"}])")
                                                  .arg(theme.uri(QStringLiteral("head.htm")))
                                                  .toUtf8()
                                                  .constData())))
        << shown(links);
}

// Links lead to files under the root, by clean paths: none out of the
// theme, none to a folder, and a path through a folder and back is the file.
TEST(Files, LinksStayUnderTheRootAndLeadToFiles)
{
    ThemeOnDisk theme;
    LspSession session;
    session.initialize({}, theme.folders());
    const QString uri = theme.uri(QStringLiteral("pc/index.htm"));
    session.open(uri, QStringLiteral("{zuvi:include file='../../../../../../../../etc/passwd' /}{zuvi:include file='.' /}"
                                     "{zuvi:include file='pc' /}{zuvi:include file='pc/../head.htm' /}"));
    const QJsonArray links = session.request(QStringLiteral("textDocument/documentLink"),
                                             QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}}}})
                                 .value(QStringLiteral("result"))
                                 .toArray();
    ASSERT_EQ(links.size(), 1) << shown(links);
    EXPECT_EQ(links[0].toObject().value(QStringLiteral("target")).toString(), theme.uri(QStringLiteral("head.htm")));
    const QJsonValue outside =
        session.request(QStringLiteral("textDocument/definition"), documentPosition(uri, 0, 30)).value(QStringLiteral("result"));
    EXPECT_TRUE(outside.isNull()) << shown(outside);
}

// Whether an included file is missing (W301) follows the folders and the
// files around the template: a workspace folder added, a file opened in the
// client before it is saved, and one written on disk that the client tells
// of.
TEST(Files, FindingsFollowTheFilesAndFoldersAroundTheTemplate)
{
    ThemeOnDisk theme;
    LspSession session;
    session.initialize();
    const QString uri = theme.uri(QStringLiteral("pc/index.htm"));
    const auto missing = [&] {
        QStringList files;
        const QJsonArray published = session.lastDiagnostics(uri).value_or(QJsonArray());
        for (const QJsonValue &finding : published) {
            if (finding[QStringLiteral("code")] == QStringLiteral("W301"))
                files << kNaming.split(u'\n')[finding[QStringLiteral("range")][QStringLiteral("start")][QStringLiteral("line")].toInt()]
                             .section(u'\'', 1, 1);
        }
        return files;
    };
    session.open(uri, kNaming);
    EXPECT_EQ(missing(), (QStringList{QStringLiteral("head.htm"), QStringLiteral("new.htm")}))
        << "without a workspace, under the template's own folder";

    session.notify(QStringLiteral("workspace/didChangeWorkspaceFolders"),
                   QJsonObject{{QStringLiteral("event"), QJsonObject{{QStringLiteral("added"), theme.folders()},
                                                                     {QStringLiteral("removed"), QJsonArray()}}}});
    EXPECT_EQ(missing(), QStringList{QStringLiteral("new.htm")}) << "under the workspace folder";

    session.open(theme.uri(QStringLiteral("new.htm")), QStringLiteral("<p>新</p>"));
    EXPECT_EQ(missing(), QStringList()) << "open in the client, not yet saved";
    session.notify(QStringLiteral("textDocument/didClose"),
                   QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), theme.uri(QStringLiteral("new.htm"))}}}});
    EXPECT_EQ(missing(), QStringList{QStringLiteral("new.htm")}) << "closed unsaved";

    theme.write(QStringLiteral("new.htm"));
    session.notify(QStringLiteral("workspace/didChangeWatchedFiles"),
                   QJsonObject{{QStringLiteral("changes"), QJsonArray{QJsonObject{{QStringLiteral("uri"), theme.uri(QStringLiteral("new.htm"))},
                                                                                  {QStringLiteral("type"), 1}}}}});
    EXPECT_EQ(missing(), QStringList()) << "written on disk";
}

// --- pulled diagnostics ---

TEST(Diagnostics, PulledWhereTheClientPullsThemAndNotPushed)
{
    LspSession session;
    const QJsonObject answer = session.initialize(parseJson(R"({"textDocument":{"diagnostic":{"dynamicRegistration":false}}})").toObject());
    EXPECT_TRUE(answer[QStringLiteral("result")][QStringLiteral("capabilities")][QStringLiteral("diagnosticProvider")].isObject());
    session.open(kUri, QStringLiteral("中文{/zuvi:if}"));
    EXPECT_FALSE(session.lastDiagnostics(kUri)) << "nothing pushed";
    const QJsonValue report = session.request(QStringLiteral("textDocument/diagnostic"),
                                              QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}}}})
                                  .value(QStringLiteral("result"));
    EXPECT_TRUE(jsonIncludes(report, parseJson(R"({"kind":"full","items":[{"code":"E102","range":)" RANGE(0, 2, 0, 12) "}]}")))
        << shown(report);

    LspSession pushed;
    EXPECT_FALSE(pushed.initialize()[QStringLiteral("result")][QStringLiteral("capabilities")].toObject().contains(
        QStringLiteral("diagnosticProvider")));
}

// A pulling client is asked to pull again when another document's findings
// may have changed (a file opened that it may include), where it takes
// such requests.
TEST(Diagnostics, PullingClientsAreAskedToPullAgain)
{
    for (const bool refresh : {true, false}) {
        LspSession session;
        session.initialize(parseJson(refresh ? R"({"textDocument":{"diagnostic":{}},"workspace":{"diagnostics":{"refreshSupport":true}}})"
                                             : R"({"textDocument":{"diagnostic":{}}})")
                               .toObject());
        session.takeSent();
        session.open(QStringLiteral("untitled:first"), QStringLiteral("{zuvi:include file='second.htm' /}"));
        EXPECT_TRUE(session.takeSent().isEmpty()) << "nothing else open";
        session.open(QStringLiteral("untitled:second"), QString());
        const QList<QJsonObject> sent = session.takeSent();
        ASSERT_EQ(sent.size(), refresh ? 1 : 0);
        if (refresh) {
            EXPECT_EQ(sent[0][QStringLiteral("method")].toString(), QStringLiteral("workspace/diagnostic/refresh"));
            EXPECT_TRUE(sent[0].contains(QStringLiteral("id"))) << "a request";
        }
    }
}

} // namespace
