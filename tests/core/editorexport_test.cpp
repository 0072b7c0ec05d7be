#include "core/catalog/catalogdigest.h"
#include "core/catalog/editorexport.h"
#include "core/catalog/homebuilders.h"
#include "core/catalog/listtag.h"
#include "core/catalog/tagbuilder.h"
#include "tests/core/editorexpand.h"
#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <functional>

namespace {

QString pageCaption(int page)
{
    return QString::fromUtf16(pageInfo(page).caption);
}

// An export read back as the editors would read it.
struct ReadBack {
    QJsonObject vsCode;
    JetBrainsSet jetBrains;
    QByteArray jetBrainsXml;
};

ReadBack readBack(const QList<EditorTemplate> &templates)
{
    ReadBack read;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(vsCodeSnippets(templates), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    read.vsCode = json.object();
    read.jetBrainsXml = jetBrainsTemplateSet(templates);
    read.jetBrains = readJetBrains(read.jetBrainsXml);
    EXPECT_EQ(read.jetBrains.error, QString());
    return read;
}

const ReadBack &catalogExport()
{
    static const ReadBack read = readBack(catalogTemplates());
    return read;
}

// The VS Code snippet and the JetBrains template of what `page` shows as
// `caption`: there must be exactly one of each.
struct Exported {
    QJsonObject vsCode;
    const JetBrainsTemplate *jetBrains = nullptr;
};

std::optional<Exported> findExported(int page, const QString &caption)
{
    const ReadBack &read = catalogExport();
    QList<QJsonObject> snippets;
    for (const auto &value : read.vsCode) {
        const QJsonObject snippet = value.toObject();
        if (snippet[u"description"] == pageCaption(page) && snippet[u"prefix"].toArray().last() == caption)
            snippets << snippet;
    }
    if (snippets.size() != 1) {
        ADD_FAILURE() << snippets.size() << " VS Code snippets for " << caption.toStdString();
        return std::nullopt;
    }
    const QString prefix = snippets.front()[u"prefix"].toArray().first().toString();
    const JetBrainsTemplate *found = nullptr;
    for (const JetBrainsTemplate &t : read.jetBrains.templates) {
        if (t.name == prefix) {
            if (found) {
                ADD_FAILURE() << "two JetBrains templates named " << prefix.toStdString();
                return std::nullopt;
            }
            found = &t;
        }
    }
    if (!found) {
        ADD_FAILURE() << "no JetBrains template named " << prefix.toStdString();
        return std::nullopt;
    }
    return Exported{snippets.front(), found};
}

// ---- Every entry of every tag page -----------------------------------------

// The three builders as the pages call them, with what their inputs are.
struct BuilderCase {
    const char16_t *caption;
    int page;
    QList<QStringList> inputs;   // per input in the builder's order: a drop-down's items, or none for a number box
    std::function<QStringList(const QStringList &)> build;
    const char16_t *defaultOpening;   // with the export's defaults
};

std::vector<BuilderCase> builderCases()
{
    return {
        {u"导航菜单", Page::Home, {columnAttributeItems(), {}, {}},
         [](const QStringList &in) { return navigationMenuSnippet(in[0], in[1], in[2]); },
         u"{zuvi:channel type='top' typeid='1' row='10' currentstyle='on'}"},
        {u"文章列表", Page::Home, {{}, articleAttributeItems(), {}, {}, {}, orderingItems()},
         [](const QStringList &in) {
             const ArticleListInputs inputs{.columnId = in[0],
                                            .attribute = in[1],
                                            .titleLength = in[2],
                                            .summaryLength = in[3],
                                            .rows = in[4],
                                            .ordering = in[5]};
             return articleListSnippet(0, inputs).value();
         },
         u"{zuvi:arclist typeid='1' titlelen='30' infolen='100' row='10' orderby='now'}"},
        {u"列表循环", Page::List, {{}, {}, {}},
         [](const QStringList &in) { return listTagSnippet(in[0], in[1], in[2]); },
         u"{zuvi:list titlelen='30' infolen='100' pagesize='10'}"},
    };
}

TEST(EditorExport, EveryEntryOfEveryTagPageInsertsExactlyItsLines)
{
    const ReadBack &read = catalogExport();
    qsizetype entries = 0;
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        if (!pageInfo(page).dataFile)
            continue;
        for (const CatalogControl *entry : pageData(page).entries()) {
            ++entries;
            SCOPED_TRACE(QStringLiteral("page %1, entry %2 %3").arg(page).arg(entry->index).arg(entry->caption).toStdString());
            const auto exported = findExported(page, entry->caption);
            ASSERT_TRUE(exported);

            const QJsonObject &snippet = exported->vsCode;
            EXPECT_EQ(snippet[u"scope"].toString(), QStringLiteral("html,php"));
            EXPECT_EQ(snippet[u"prefix"].toArray().size(), 2);
            const Expansion vsCode = expandVsCode(snippet[u"body"].toArray());
            EXPECT_EQ(vsCode.error, QString());
            EXPECT_EQ(vsCode.lines, entry->lines);
            EXPECT_TRUE(vsCode.defaults.isEmpty()) << "an entry has no fields";

            const JetBrainsTemplate &t = *exported->jetBrains;
            EXPECT_EQ(t.description, entry->caption);
            EXPECT_EQ(t.toReformat, QStringLiteral("false"));
            EXPECT_EQ(t.toShortenFQNames, QStringLiteral("true"));
            EXPECT_EQ(t.contexts, (QMap<QString, QString>{{"HTML", "true"}, {"PHP", "true"}}));
            const Expansion jetBrains = expandJetBrains(t);
            EXPECT_EQ(jetBrains.error, QString());
            EXPECT_EQ(jetBrains.lines, entry->lines);
        }
    }
    // Nothing else is exported but the builders.
    const qsizetype expected = entries + qsizetype(builderCases().size());
    EXPECT_EQ(read.vsCode.size(), expected);
    EXPECT_EQ(read.jetBrains.templates.size(), expected);
    EXPECT_EQ(read.jetBrains.group, QStringLiteral("ZuviCMS"));
}

// ---- The builders ----------------------------------------------------------

// Expanded with any choice and any numbers, a builder's template inserts what
// the builder writes for the same drop-down items and box texts.
TEST(EditorExport, BuildersInsertWhatTheBuilderWritesForTheSameValues)
{
    for (const BuilderCase &c : builderCases()) {
        const auto exported = findExported(c.page, QString::fromUtf16(c.caption));
        ASSERT_TRUE(exported) << QString::fromUtf16(c.caption).toStdString();
        const JetBrainsTemplate &jetBrains = *exported->jetBrains;
        const QJsonArray body = exported->vsCode[u"body"].toArray();
        const std::pair<const char *, std::function<Expansion(const Picks &)>> formats[] = {
            {"VS Code", [&](const Picks &picks) { return expandVsCode(body, picks); }},
            {"JetBrains", [&](const Picks &picks) { return expandJetBrains(jetBrains, picks); }},
        };
        for (const auto &[format, expand] : formats) {
            SCOPED_TRACE(QString::fromUtf16(c.caption).toStdString() + " in " + format);
            const Expansion defaults = expand({});
            ASSERT_EQ(defaults.error, QString());
            ASSERT_EQ(defaults.defaults.size(), c.inputs.size()) << "one field per input";

            // Its defaults: the first item of each drop-down, the suggested numbers.
            QStringList inputs;
            for (int i = 0; i < c.inputs.size(); ++i) {
                inputs << (c.inputs[i].isEmpty() ? defaults.defaults[i] : c.inputs[i].front());
                EXPECT_EQ(defaults.choices.value(i).size(), c.inputs[i].size()) << "field " << i;
            }
            EXPECT_EQ(defaults.lines, c.build(inputs));
            EXPECT_EQ(defaults.lines.value(0), QString::fromUtf16(c.defaultOpening));

            // Each item of each drop-down, the others left as they are.
            for (int i = 0; i < c.inputs.size(); ++i) {
                for (int option = 0; option < c.inputs[i].size(); ++option) {
                    QStringList chosen = inputs;
                    chosen[i] = c.inputs[i][option];
                    const Expansion expansion = expand({{i, Pick{QString(), option}}});
                    EXPECT_EQ(expansion.error, QString());
                    EXPECT_EQ(expansion.lines, c.build(chosen)) << "field " << i << " option " << option;
                }
            }

            // Every number box at once, each to a number of its own.
            Picks numbers;
            QStringList typed = inputs;
            for (int i = 0; i < c.inputs.size(); ++i) {
                if (c.inputs[i].isEmpty()) {
                    typed[i] = QString::number(11 + i);
                    numbers.insert(i, Pick{typed[i]});
                }
            }
            const Expansion expansion = expand(numbers);
            EXPECT_EQ(expansion.error, QString());
            EXPECT_EQ(expansion.lines, c.build(typed));
        }
    }
}

// A choice's options are the values its drop-down gives, escaped for each
// format; an empty value, which neither editor offers as an option, carries
// the character beside it. Every option of every such template inserts what
// the builder writes for the item behind it.
struct ChoiceCase {
    const char *what;
    std::function<TagBuilder()> builder;
    const char16_t *vsCodeOpening;
    const char16_t *jetBrainsOpening;
    const char16_t *jetBrainsExpression;   // of the first variable
    friend void PrintTo(const ChoiceCase &c, std::ostream *os) { *os << c.what; }
};

const ChoiceTable &trickyValues()
{
    static const ChoiceTable table = {{"i0", "a,b"}, {"i1", "c|d"}, {"i2", "e\\f"},
                                      {"i3", "g\"h"}, {"i4", "$i}"},  {"i5", "<j&>"}};
    return table;
}
const ChoiceTable &nothingFirst()
{
    static const ChoiceTable table = {{"none", ""}, {"some", " f='1'"}};
    return table;
}
const ChoiceTable &nothingLast()
{
    static const ChoiceTable table = {{"one", "1"}, {"none", ""}};
    return table;
}
const ChoiceTable &nothingOrBang()
{
    static const ChoiceTable table = {{"none", ""}, {"bang", "!"}};
    return table;
}
const ChoiceTable &nothingOrX()
{
    static const ChoiceTable table = {{"none", ""}, {"x", "x"}};
    return table;
}

class ExportedChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ExportedChoice, EveryOptionInsertsWhatTheBuilderWritesForItsItem)
{
    const ChoiceCase &c = GetParam();
    const TagBuilder builder = c.builder();
    QList<EditorTemplate> templates{builderTemplate(builder)};
    templates[0].caption = QStringLiteral("甲");
    templates[0].page = Page::Home;
    assignNames(templates);
    const ReadBack read = readBack(templates);
    const QJsonArray body = read.vsCode[u"甲"].toObject()[u"body"].toArray();
    ASSERT_EQ(read.jetBrains.templates.size(), 1);
    const JetBrainsTemplate &jetBrains = read.jetBrains.templates.front();

    EXPECT_EQ(body.first().toString(), QString::fromUtf16(c.vsCodeOpening));
    EXPECT_EQ(jetBrains.value.split(u'\n').first(), QString::fromUtf16(c.jetBrainsOpening));
    ASSERT_FALSE(jetBrains.variables.isEmpty());
    EXPECT_EQ(jetBrains.variables.front().expression, QString::fromUtf16(c.jetBrainsExpression));
    for (const JetBrainsVariable &variable : jetBrains.variables)
        EXPECT_EQ(variable.alwaysStopAt, QStringLiteral("true"));

    // The builder's inputs: the first item of each drop-down, the
    // suggestion of each number.
    QStringList inputs;
    QList<const ChoiceTable *> tables;
    for (const OpeningPart &part : builder.opening) {
        if (part.kind == OpeningPart::Kind::Text)
            continue;
        tables << part.choices;
        inputs << (part.choices ? part.choices->front().first : part.suggestion);
    }
    const std::pair<const char *, std::function<Expansion(const Picks &)>> formats[] = {
        {"VS Code", [&](const Picks &picks) { return expandVsCode(body, picks); }},
        {"JetBrains", [&](const Picks &picks) { return expandJetBrains(jetBrains, picks); }},
    };
    for (const auto &[format, expand] : formats) {
        SCOPED_TRACE(format);
        const Expansion defaults = expand({});
        ASSERT_EQ(defaults.error, QString());
        EXPECT_EQ(defaults.lines, builder.lines(inputs));
        for (int field = 0; field < tables.size(); ++field) {
            for (int option = 0; option < defaults.choices.value(field).size(); ++option) {
                QStringList chosen = inputs;
                chosen[field] = tables[field]->at(option).first;
                const Expansion expansion = expand({{field, Pick{QString(), option}}});
                EXPECT_EQ(expansion.error, QString());
                EXPECT_EQ(expansion.lines, builder.lines(chosen)) << "field " << field << " option " << option;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, ExportedChoice, testing::Values(
    ChoiceCase{"commas, pipes, backslashes, quotes, dollars and markup in the options",
               [] { return TagBuilder{{textPart("["), choicePart(trickyValues(), "V"), textPart("]")}, {}}; },
               u"[${1|a\\,b,c\\|d,e\\\\f,g\"h,$i},<j&>|}]", u"[$V$]",
               u"enum(\"a,b\",\"c|d\",\"e\\\\f\",\"g\\\"h\",\"$i}\",\"<j&>\")"},
    ChoiceCase{"nothing first: the blank after it joins every option",
               [] { return TagBuilder{{textPart("{a"), choicePart(nothingFirst(), "F"), textPart(" b}")}, {"{/a}"}}; },
               u"{a${1| , f='1' |}b\\}", u"{a$F$b}", u"enum(\" \",\" f='1' \")"},
    ChoiceCase{"nothing last, at the end of the line: the character before it joins",
               [] { return TagBuilder{{textPart("x="), choicePart(nothingLast(), "N")}, {}}; },
               u"x${1|=1,=|}", u"x$N$", u"enum(\"=1\",\"=\")"},
    ChoiceCase{"nothing before a number's fragment",
               [] {
                   return TagBuilder{{textPart("t"), choicePart(nothingOrBang(), "B"), numberPart("n", "N", "5"),
                                      textPart("}")}, {}};
               },
               u"t${1| ,! |}n='${2:5}'\\}", u"t$B$n='$N$'}", u"enum(\" \",\"! \")"},
    ChoiceCase{"a comma is the character beside it",
               [] { return TagBuilder{{textPart("f("), choicePart(nothingOrX(), "X"), textPart(",y)")}, {}}; },
               u"f(${1|\\,,x\\,|}y)", u"f($X$y)", u"enum(\",\",\"x,\")"},
    ChoiceCase{"a character outside the basic plane beside it stays whole",
               [] { return TagBuilder{{choicePart(nothingOrX(), "X"), textPart(u"😀b"_qs)}, {}}; },
               u"${1|😀,x😀|}b", u"$X$b", u"enum(\"😀\",\"x😀\")"},
    ChoiceCase{"nothing with no text beside it: a free field holding nothing",
               [] { return TagBuilder{{choicePart(nothingOrX(), "X")}, {"$"}}; },
               u"${1}", u"$X$", u""}));

// ---- Escaping of fixed lines -----------------------------------------------

struct EscapeCase {
    const char *what;
    QStringList lines;
    QStringList vsCodeBody;   // the strings of the body array
    QString jetBrainsValue;   // the value attribute as XML gives it back
    friend void PrintTo(const EscapeCase &c, std::ostream *os) { *os << c.what; }
};

class ExportedEscapes : public testing::TestWithParam<EscapeCase> {};

TEST_P(ExportedEscapes, LinesArriveAsWritten)
{
    const EscapeCase &c = GetParam();
    QList<EditorTemplate> templates{fixedTemplate(c.lines)};
    templates[0].caption = QStringLiteral("甲");
    templates[0].page = Page::Content;
    assignNames(templates);
    const ReadBack read = readBack(templates);

    const QJsonArray body = read.vsCode[u"甲"].toObject()[u"body"].toArray();
    QStringList bodyLines;
    for (const auto &line : body)
        bodyLines << line.toString();
    EXPECT_EQ(bodyLines, c.vsCodeBody);
    const Expansion vsCode = expandVsCode(body);
    EXPECT_EQ(vsCode.error, QString());
    EXPECT_EQ(vsCode.lines, c.lines);

    ASSERT_EQ(read.jetBrains.templates.size(), 1);
    EXPECT_EQ(read.jetBrains.templates.front().value, c.jetBrainsValue);
    const Expansion jetBrains = expandJetBrains(read.jetBrains.templates.front());
    EXPECT_EQ(jetBrains.error, QString());
    EXPECT_EQ(jetBrains.lines, c.lines);
    // A line break written raw into an attribute would come back as a blank.
    EXPECT_EQ(read.jetBrainsXml.count("&#10;"), c.lines.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, ExportedEscapes, testing::Values(
    EscapeCase{"a field placeholder", {"{$field.title}"}, {"{\\$field.title\\}"}, "{$$field.title}"},
    EscapeCase{"backslashes", {"\\think\\Db::name('ad')"}, {"\\\\think\\\\Db::name('ad')"}, "\\think\\Db::name('ad')"},
    EscapeCase{"text that reads as a tab stop", {"preg_replace('/x/', '${1}', $p);"},
               {"preg_replace('/x/', '\\${1\\}', \\$p);"}, "preg_replace('/x/', '$${1}', $$p);"},
    EscapeCase{"text that reads as a JetBrains variable", {"$END$ $$"}, {"\\$END\\$ \\$\\$"}, "$$END$$ $$$$"},
    EscapeCase{"quotes and markup", {"<a href=\"x\" title='y'>&amp; < ></a>"},
               {"<a href=\"x\" title='y'>&amp; < ></a>"}, "<a href=\"x\" title='y'>&amp; < ></a>"},
    EscapeCase{"line breaks between lines, blank lines and indents kept", {"<ul>", "", "    <li>|#,</li>", "</ul>"},
               {"<ul>", "", "    <li>|#,</li>", "</ul>"}, "<ul>\n\n    <li>|#,</li>\n</ul>"}));

// ---- Prefixes and keys -----------------------------------------------------

TEST(EditorExport, PrefixesAreTypeableUniqueAndStable)
{
    const ReadBack &read = catalogExport();
    const QRegularExpression typeable(QStringLiteral("^[a-z0-9]+$"));
    QSet<QString> prefixes;
    for (const auto &value : read.vsCode) {
        const QString prefix = value.toObject()[u"prefix"].toArray().first().toString();
        EXPECT_TRUE(typeable.match(prefix).hasMatch()) << prefix.toStdString();
        EXPECT_FALSE(prefixes.contains(prefix)) << prefix.toStdString();
        prefixes << prefix;
    }
    QSet<QString> names;
    for (const JetBrainsTemplate &t : read.jetBrains.templates)
        names << t.name;
    EXPECT_EQ(names, prefixes);

    // Users learn these: they must not change from one release to the next.
    const struct {
        int page;
        const char16_t *caption;
        const char *prefix;
    } examples[] = {
        {Page::List, u"分页标签", "zvfybq"},
        {Page::List, u"arcpagelist瀑布流分页列表", "zvapblfylb"},
        {Page::List, u"Generator", "zvg"},
        // Two pages have a 网站标题/文章标题, whose initials agree: the page tells them apart.
        {Page::Home, u"网站标题", "zvwzbt1"},
        {Page::Content, u"文章标题", "zvwzbt3"},
        {Page::Home, u"导航菜单", "zvdhcd"},
        {Page::Home, u"文章列表", "zvwzlb"},
        {Page::List, u"列表循环", "zvlbxh"},
    };
    for (const auto &example : examples) {
        const auto exported = findExported(example.page, QString::fromUtf16(example.caption));
        ASSERT_TRUE(exported);
        EXPECT_EQ(exported->jetBrains->name, QString::fromLatin1(example.prefix));
    }
}

struct NamingCase {
    const char16_t *caption;
    int page;
    int tiebreak;
    const char *prefix;
    const char16_t *key;
};

// Each group is one set of templates named together.
TEST(EditorExport, TwinNamesGetThePageAndThenTheIndex)
{
    const std::vector<std::vector<NamingCase>> groups = {
        // The same caption on two pages.
        {{u"网站标题", 1, 5, "zvwzbt1", u"网站标题 (首页标签)"}, {u"网站标题", 3, 2, "zvwzbt3", u"网站标题 (内容标签)"}},
        // Different captions with the same initials: only the prefixes need the page.
        {{u"网站标题", 1, 5, "zvwzbt1", u"网站标题"}, {u"文章标题", 3, 2, "zvwzbt3", u"文章标题"}},
        // Twice on one page and once on another: the page, then the index.
        {{u"分页", 2, 4, "zvfy24", u"分页 (列表标签 4)"},
         {u"分页", 2, 9, "zvfy29", u"分页 (列表标签 9)"},
         {u"分页", 3, 4, "zvfy3", u"分页 (内容标签)"}},
        // A name made longer can meet another's first name; that one moves on too.
        {{u"a", 1, 0, "zva10", u"a (首页标签 0)"}, {u"a", 1, 1, "zva11", u"a (首页标签 1)"},
         {u"a 1", 2, 0, "zva12", u"a 1"}},
        // Nothing typeable in the caption leaves the bare "zv"; unique, it needs no more.
        {{u"——", 5, 0, "zv", u"——"}, {u"标签", 5, 1, "zvbq", u"标签"}},
    };
    for (const auto &group : groups) {
        QList<EditorTemplate> templates;
        for (const NamingCase &c : group) {
            EditorTemplate t = fixedTemplate({QStringLiteral("x")});
            t.caption = QString::fromUtf16(c.caption);
            t.page = c.page;
            t.tiebreak = c.tiebreak;
            templates << t;
        }
        assignNames(templates);
        for (qsizetype i = 0; i < templates.size(); ++i) {
            EXPECT_EQ(templates[i].prefix, QString::fromLatin1(group[i].prefix)) << templates[i].caption.toStdString();
            EXPECT_EQ(templates[i].key, QString::fromUtf16(group[i].key)) << templates[i].caption.toStdString();
        }
    }
}

// ---- The snippets file's bytes ----------------------------------------------

// The file as QJsonDocument writes it indented: editors read either, but a
// user's version control sees every byte, so a new release must not
// reformat the file it wrote before.
QByteArray asQtWritesIt(const QList<EditorTemplate> &templates)
{
    QJsonObject file;
    for (const EditorTemplate &t : templates) {
        QJsonArray body;
        for (const QString &line : snippetBody(t))
            body << line;
        file.insert(t.key, QJsonObject{{u"prefix"_qs, QJsonArray{t.prefix, t.caption}},
                                       {u"description"_qs, pageCaption(t.page)},
                                       {u"scope"_qs, u"html,php"_qs},
                                       {u"body"_qs, body}});
    }
    return QJsonDocument(file).toJson(QJsonDocument::Indented);
}

// The export command writes the files of the digest compiled in; they are
// what the templates of the page data make now.
TEST(EditorExport, TheDigestCompiledInHoldsTheFilesThePagesMake)
{
    ASSERT_NE(catalogdigest::compiled(), nullptr) << "core_tests is linked with the digest, as the programs are";
    const QList<EditorTemplate> templates = catalogTemplates();
    EXPECT_EQ(catalogVsCodeSnippets(), vsCodeSnippets(templates));
    EXPECT_EQ(catalogJetBrainsTemplateSet(), jetBrainsTemplateSet(templates));
}

TEST(EditorExport, SnippetsFileIsByteForByteTheIndentedJson)
{
    EXPECT_EQ(vsCodeSnippets(catalogTemplates()), asQtWritesIt(catalogTemplates()));

    // Keys that sort differently by bytes and by UTF-16 units, control
    // characters, a template with no lines, and no templates at all.
    QList<EditorTemplate> odd;
    for (const QStringList &lines : {QStringList{u"a\tb\bc\fd\x01"_qs, u"二"_qs}, QStringList{}, QStringList{u"\"q\" \\"_qs}})
        odd << fixedTemplate(lines);
    odd[0].caption = u"\U0001F600"_qs;   // a surrogate pair: below U+FF5E in UTF-16
    odd[1].caption = u"\uFF5E"_qs;
    odd[2].caption = u"Zz"_qs;
    for (EditorTemplate &t : odd)
        t.page = Page::Content;
    assignNames(odd);
    EXPECT_EQ(vsCodeSnippets(odd), asQtWritesIt(odd));
    EXPECT_EQ(vsCodeSnippets({}), asQtWritesIt({}));
}

} // namespace
