// Completion where the cursor stands: the catalog's tags in text (by tag
// name, caption, pinyin or initials, with or without "{" or "{zuvi:"),
// attribute names inside a tag, drop-down values inside a value, the
// closing tag after "{/"; and the inserted text is the export's snippet.
#include "lsp/catalogindex.h"
#include "tests/core/editorexpand.h"
#include "tests/lsp/lspsession.h"
#include "tests/support/qtprinters.h"

namespace {

const QString kUri = QStringLiteral("untitled:completion");

// The document's text with '|' where the cursor stands.
struct Cursor {
    QString text;
    int line = 0;
    int character = 0;   // UTF-16
};

Cursor cursorIn(const QString &marked)
{
    Cursor cursor;
    const qsizetype at = marked.indexOf(u'|');
    cursor.text = marked;
    cursor.text.remove(at, 1);
    const QString before = marked.left(at);
    cursor.line = int(before.count(u'\n'));
    cursor.character = int(before.size() - (before.lastIndexOf(u'\n') + 1));
    return cursor;
}

QJsonObject complete(LspSession &session, const QString &marked, const QJsonObject &capabilities = {})
{
    session.initialize(capabilities);
    const Cursor cursor = cursorIn(marked);
    session.open(kUri, cursor.text);
    return session.request(QStringLiteral("textDocument/completion"), documentPosition(kUri, cursor.line, cursor.character))
        .value(QStringLiteral("result"))
        .toObject();
}

QJsonObject complete(const QString &marked, const QJsonObject &capabilities = {})
{
    LspSession session;
    return complete(session, marked, capabilities);
}

// The item as completionItem/resolve gives it back.
QJsonObject resolved(LspSession &session, const QJsonObject &item)
{
    return session.request(QStringLiteral("completionItem/resolve"), item).value(QStringLiteral("result")).toObject();
}

QStringList labels(const QJsonObject &list)
{
    QStringList result;
    for (const QJsonValue &item : list[QStringLiteral("items")].toArray())
        result << item[QStringLiteral("label")].toString();
    return result;
}

struct CompletionCase {
    const char *what;
    QString marked;
    QStringList first;        // the labels the list starts with
    QString contains;         // a label somewhere in the list
    int rangeStart = -1;      // of the first item's edit, on the cursor's line
    int rangeEnd = -1;
    qsizetype count = -1;     // of the items, where it matters
};

// Stand-ins in the table for the catalog's first caption and its size,
// which are read once the program runs.
const QString kFirstCaption = QStringLiteral("<the catalog's first caption>");
constexpr qsizetype kAll = -2;

class CompletionTest : public testing::TestWithParam<CompletionCase> {};

TEST_P(CompletionTest, OffersWhatFitsThePlace)
{
    const CompletionCase &c = GetParam();
    const QJsonObject list = complete(c.marked);
    const QStringList found = labels(list);
    const QList<CatalogItem> &catalog = CatalogIndex::instance().items();
    QStringList first = c.first;
    first.replaceInStrings(kFirstCaption, catalog.first().caption);
    EXPECT_EQ(found.mid(0, first.size()), first) << c.what;
    if (!c.contains.isEmpty()) {
        EXPECT_TRUE(found.contains(c.contains)) << c.what << ": " << found.join(u' ').toStdString();
    }
    if (c.count >= 0) {
        EXPECT_EQ(found.size(), c.count == kAll ? catalog.size() : c.count) << c.what << ": " << found.join(u' ').toStdString();
    }
    if (c.rangeStart >= 0 && !found.isEmpty()) {
        const Cursor cursor = cursorIn(c.marked);
        const QJsonValue range = list[QStringLiteral("items")][0][QStringLiteral("textEdit")][QStringLiteral("range")];
        EXPECT_TRUE(jsonIncludes(range, QJsonObject{{QStringLiteral("start"), position(cursor.line, c.rangeStart)},
                                                    {QStringLiteral("end"), position(cursor.line, c.rangeEnd)}}))
            << c.what << ": " << shown(range);
    }
}


const CompletionCase kCases[] = {
    {"pinyin", QStringLiteral("<li>fenye|"), {QStringLiteral("分页标签")}, {}, 4, 9},
    {"initials", QStringLiteral("fybq|"), {QStringLiteral("分页标签")}, {}, 0, 4},
    {"the tag's name", QStringLiteral("pagelist|"), {}, QStringLiteral("分页标签"), 0, 8},
    {"the caption", QStringLiteral("分页|"), {QStringLiteral("分页标签")}, {}, 0, 2},
    {"after {zuvi: and Chinese and a pair", QStringLiteral("中文\U0001D11E {zuvi:fenye|"), {QStringLiteral("分页标签")}, {}, 5, 16},
    {"after {", QStringLiteral("x{fen|"), {QStringLiteral("分页标签")}, {}, 1, 5},
    {"everything after {zuvi:", QStringLiteral("{zuvi:|"), {kFirstCaption}, {}, 0, 6, kAll},
    {"everything after {zu", QStringLiteral("{zu|"), {kFirstCaption}, {}, 0, 3, kAll},
    {"everything after {", QStringLiteral("a\n{|"), {kFirstCaption}, {}, 0, 1, kAll},
    {"nothing typed yet", QStringLiteral("abc |"), {}, {}, -1, -1, 0},
    {"nothing in a placeholder", QStringLiteral("{$field.ti|}"), {}, {}, -1, -1, 0},
    {"nothing in PHP", QStringLiteral("{zuvi:php}fenye|{/zuvi:php}"), {}, {}, -1, -1, 0},
    {"attributes the tag takes, not those it has", QStringLiteral("{zuvi:arclist row='10' |}"),
     {QStringLiteral("addfields"), QStringLiteral("arcrank"), QStringLiteral("channelid")}, {}, 23, 23, 11},
    {"an attribute begun", QStringLiteral("{zuvi:arclist ti|}"), {}, QStringLiteral("titlelen"), 14, 16},
    {"a name written is replaced whole", QStringLiteral("{zuvi:arclist ti|tlelen='3'}"), {}, QStringLiteral("titlelen"), 14, 22},
    {"an unknown tag has no attributes to offer", QStringLiteral("{zuvi:mine |}"), {}, {}, -1, -1, 0},
    {"drop-down values", QStringLiteral("{zuvi:arclist orderby='|'}"),
     {QStringLiteral("now"), QStringLiteral("click"), QStringLiteral("sort_order"), QStringLiteral("rand")}, {}, 23, 23, 4},
    {"a value begun is replaced whole", QStringLiteral("{zuvi:arclist orderby=\"cl|ick\"}"), {QStringLiteral("now")}, {}, 23, 28},
    {"a value without drop-down", QStringLiteral("{zuvi:arclist row='|'}"), {}, {}, -1, -1, 0},
    {"after {/ the innermost open block", QStringLiteral("{zuvi:arclist}{zuvi:if condition='1'}{/zuvi:if}\n  {/|"),
     {QStringLiteral("{/zuvi:arclist}")}, {}, 2, 4, 1},
    {"a closing name begun, and its }", QStringLiteral("{zuvi:arclist}{zuvi:volist name='a'}\n{/zuvi:vo|}"),
     {QStringLiteral("{/zuvi:volist}")}, {}, 0, 10, 1},
    {"after {/ with nothing open", QStringLiteral("{zuvi:if}{/zuvi:if}{/|"), {}, {}, -1, -1, 0},
    // The edges of a tag, as every feature of the server reads them.
    {"a word typed right before a tag", QStringLiteral("<li>fenye|{zuvi:if}{/zuvi:if}"), {QStringLiteral("分页标签")}, {}, 4, 9},
    {"nothing typed at a tag's {", QStringLiteral("<p>|{zuvi:arclist}"), {}, {}, -1, -1, 0},
    {"nothing just after a tag's }", QStringLiteral("{zuvi:arclist}|"), {}, {}, -1, -1, 0},
    {"nothing right after a closing quote", QStringLiteral("{zuvi:arclist row='10'|}"), {}, {}, -1, -1, 0},
    {"nothing on an = before its value", QStringLiteral("{zuvi:arclist orderby=|'click'}"), {}, {}, -1, -1, 0},
    {"an unquoted value from its start, replaced whole", QStringLiteral("{zuvi:arclist orderby=|click}"),
     {QStringLiteral("now")}, {}, 22, 27, 4},
    {"a closing tag begun in its name is replaced whole", QStringLiteral("{zuvi:arclist}{zuvi:volist name='a'}\n{/zuvi:v|o}"),
     {QStringLiteral("{/zuvi:volist}")}, {}, 0, 10, 1},
    {"the closing tag of a PHP block", QStringLiteral("{zuvi:php}echo 1;\n{/|"), {QStringLiteral("{/zuvi:php}")}, {}, 0, 2, 1},
    {"nothing in PHP code", QStringLiteral("<p>x</p><?php echo fenye|; ?>"), {}, {}, -1, -1, 0},
    {"nothing for a brace in PHP code", QStringLiteral("<?php if ($a) {|"), {}, {}, -1, -1, 0},
    {"tags again after ?>", QStringLiteral("<?php x(); ?>fenye|"), {QStringLiteral("分页标签")}, {}, 13, 18},
};

INSTANTIATE_TEST_SUITE_P(Places, CompletionTest, testing::ValuesIn(kCases));

QJsonObject itemLabelled(const QJsonObject &list, const QString &label)
{
    for (const QJsonValue &item : list[QStringLiteral("items")].toArray()) {
        if (item[QStringLiteral("label")] == label)
            return item.toObject();
    }
    return {};
}

const QJsonObject kSnippetClient{
    {QStringLiteral("textDocument"),
     QJsonObject{{QStringLiteral("completion"),
                  QJsonObject{{QStringLiteral("completionItem"),
                               QJsonObject{{QStringLiteral("snippetSupport"), true},
                                           {QStringLiteral("documentationFormat"), QJsonArray{QStringLiteral("markdown")}}}}}}}}};

// With snippets every item inserts, when no field is changed, exactly what
// the plain item inserts; the builders' numbers and drop-downs are tab stops.
TEST(Completion, SnippetsInsertWhatThePlainTextDoes)
{
    const QJsonArray plain = complete(QStringLiteral("{|"))[QStringLiteral("items")].toArray();
    const QJsonArray snippets = complete(QStringLiteral("{|"), kSnippetClient)[QStringLiteral("items")].toArray();
    const qsizetype all = CatalogIndex::instance().items().size();
    ASSERT_EQ(plain.size(), all);
    ASSERT_EQ(snippets.size(), all);
    for (qsizetype i = 0; i < all; ++i) {
        const QString label = plain[i][QStringLiteral("label")].toString();
        EXPECT_EQ(plain[i][QStringLiteral("insertTextFormat")].toInt(), 1) << label.toStdString();
        EXPECT_EQ(snippets[i][QStringLiteral("insertTextFormat")].toInt(), 2) << label.toStdString();
        const Expansion expanded = VsCodeExpander(snippets[i][QStringLiteral("textEdit")][QStringLiteral("newText")].toString(), {}).expand();
        EXPECT_EQ(expanded.error, QString()) << label.toStdString();
        EXPECT_EQ(expanded.lines.join(u'\n'), plain[i][QStringLiteral("textEdit")][QStringLiteral("newText")].toString())
            << label.toStdString();
    }
    const QJsonObject listLoop = itemLabelled(complete(QStringLiteral("lbxh|"), kSnippetClient), QStringLiteral("列表循环"));
    EXPECT_TRUE(listLoop[QStringLiteral("textEdit")][QStringLiteral("newText")].toString().startsWith(
        QStringLiteral("{zuvi:list titlelen='${1:30}' infolen='${2:100}' pagesize='${3:10}'\\}\n")))
        << shown(listLoop);
}

// On a name already written the whole name is replaced: a value it has
// stays as it is, and a name without one gets one.
TEST(Completion, AttributeNamesKeepTheValueWritten)
{
    const struct {
        QString marked;
        QString inserted;
    } cases[] = {
        {QStringLiteral("{zuvi:arclist ti|tlelen='3'}"), QStringLiteral("titlelen")},
        {QStringLiteral("{zuvi:arclist ti|tlelen= }"), QStringLiteral("titlelen")},
        {QStringLiteral("{zuvi:arclist ti|tlelen}"), QStringLiteral("titlelen=''")},
        {QStringLiteral("{zuvi:arclist ti|}"), QStringLiteral("titlelen=''")},
    };
    for (const auto &c : cases) {
        const QJsonObject item = itemLabelled(complete(c.marked), QStringLiteral("titlelen"));
        EXPECT_EQ(item[QStringLiteral("textEdit")][QStringLiteral("newText")].toString(), c.inserted) << c.marked.toStdString();
    }
}

// The client is told that items are resolved, and the list that it is to
// ask again as the word grows.
TEST(Completion, ListsAreIncompleteAndItemsResolved)
{
    LspSession session;
    const QJsonObject answer = session.initialize();
    EXPECT_TRUE(jsonIncludes(answer[QStringLiteral("result")][QStringLiteral("capabilities")][QStringLiteral("completionProvider")],
                             parseJson(R"({"resolveProvider":true})")))
        << shown(answer);
    EXPECT_EQ(complete(QStringLiteral("{zuvi:fen|"))[QStringLiteral("isIncomplete")], QJsonValue(true));
    // An item not of the catalog comes back as it went.
    const QJsonObject attribute = complete(QStringLiteral("{zuvi:arclist ti|}"))[QStringLiteral("items")][0].toObject();
    ASSERT_FALSE(attribute.isEmpty());
    EXPECT_EQ(resolved(session, attribute), attribute) << shown(resolved(session, attribute));
}

// What an item says of itself: the caption, the tag and the page, and the
// words it is found by; resolved, the tip and the code, while what it
// inserts stays as it was.
TEST(Completion, ItemsDescribeTheirTag)
{
    LspSession plainSession;
    const QJsonObject listed = itemLabelled(complete(plainSession, QStringLiteral("fenye|")), QStringLiteral("分页标签"));
    EXPECT_FALSE(listed.contains(QStringLiteral("documentation"))) << "the list stays small: " << shown(listed);
    const QJsonObject pageList = resolved(plainSession, listed);
    EXPECT_EQ(pageList[QStringLiteral("textEdit")], listed[QStringLiteral("textEdit")]);
    EXPECT_TRUE(jsonIncludes(pageList, parseJson(R"({
        "detail": "{zuvi:pagelist} · 列表标签",
        "filterText": "pagelist fenyebiaoqian fybq 分页标签",
        "documentation": {"kind": "plaintext", "value": "{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}"},
        "textEdit": {"newText": "{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}"}})")))
        << shown(pageList);
    EXPECT_EQ(complete(QStringLiteral("{zuvi:fy|"))[QStringLiteral("items")][0][QStringLiteral("filterText")].toString(),
              QStringLiteral("{zuvi:pagelist fenyebiaoqian fybq 分页标签"))
        << "after a brace the filter text starts as the typed text does";

    // An entry with a tip shows it above its code.
    const CatalogItem *tipped = nullptr;
    for (const CatalogItem &item : CatalogIndex::instance().items()) {
        if (!item.tip.isEmpty()) {
            tipped = &item;
            break;
        }
    }
    ASSERT_TRUE(tipped);
    LspSession snippetSession;
    const QJsonObject listedWithTip = itemLabelled(complete(snippetSession, QStringLiteral("{|"), kSnippetClient), tipped->caption);
    const QJsonObject withTip = resolved(snippetSession, listedWithTip);
    // Tab stops and all: a resolved snippet inserts what the listed one does.
    EXPECT_EQ(withTip[QStringLiteral("textEdit")], listedWithTip[QStringLiteral("textEdit")]);
    EXPECT_EQ(withTip[QStringLiteral("insertTextFormat")].toInt(), 2);
    const QString documentation = withTip[QStringLiteral("documentation")][QStringLiteral("value")].toString();
    EXPECT_EQ(withTip[QStringLiteral("documentation")][QStringLiteral("kind")].toString(), QStringLiteral("markdown"));
    EXPECT_TRUE(documentation.startsWith(tipped->tip + QStringLiteral("\n\n```html\n"))) << documentation.toStdString();
    EXPECT_TRUE(documentation.contains(tipped->plainText)) << documentation.toStdString();
}

} // namespace
