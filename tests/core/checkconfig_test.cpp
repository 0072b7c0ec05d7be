// The site's checker configuration: what it accepts, how it says what is
// wrong, where it is found, and what it does to findings.
#include "core/check/checkconfig.h"
#include "core/catalog/tagknowledge.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/site/.zuvi-check.json");

TEST(CheckConfig, ReadsEveryKey)
{
    const QByteArray json = R"({
      "templateRoot": "template/default",
      "siteRoot": "..",
      "ignore": ["old/**", "*.bak.htm"],
      "severity": {"W1": "off", "W301": "error", "E": "warning"},
      "tags": [{"name": "zuvi:mylist", "block": true, "attributes": ["row", "typeid"]}, {"name": "hit"}]
    })";
    QString error;
    const auto config = CheckConfig::parse(json, kPath, &error);
    ASSERT_TRUE(config) << error.toStdString();
    EXPECT_EQ(config->templateRoot, QStringLiteral("/site/template/default"));
    EXPECT_EQ(config->siteRoot, QStringLiteral("/"));
    EXPECT_EQ(config->ignore, (QStringList{QStringLiteral("old/**"), QStringLiteral("*.bak.htm")}));
    ASSERT_EQ(config->siteTags.size(), 2);
    EXPECT_EQ(config->siteTags[0].name, QStringLiteral("mylist")) << "the zuvi: prefix is not part of the name";
    EXPECT_TRUE(config->siteTags[0].block);
    EXPECT_EQ(config->siteTags[0].attributes, (QStringList{QStringLiteral("row"), QStringLiteral("typeid")}));
    EXPECT_FALSE(config->siteTags[1].block);
}

struct FaultCase {
    const char *json;
    const char *error;   // after "path:"
};

TEST(CheckConfig, SaysWhereAndWhatIsWrong)
{
    const FaultCase cases[] = {
        {"{\n  \"ignore\": [\"a\",]\n}", "2:19: object is missing after a comma"},
        {"[1]", "1:1: the configuration is a JSON object"},
        {"{\n  \"templateroot\": \"x\"\n}", "2:3: unknown key \"templateroot\"; the keys are templateRoot, siteRoot, ignore, severity and tags"},
        {"{\"templateRoot\": 3}", "1:2: \"templateRoot\" is a folder's path"},
        {"{\"ignore\": \"*.htm\"}", "1:2: \"ignore\" is a list of file patterns"},
        {"{\"severity\": {\"W1\": \"loud\"}}", "1:15: \"W1\": the severity is error, warning, info or off"},
        {"{\"severity\": {\"w101\": \"off\"}}", "1:15: \"w101\" is no code nor the start of one (docs/checks.md lists them)"},
        {"{\"tags\": [{\"name\": \"a\"},\n  {\"block\": true}]}", "2:3: every tag in \"tags\" has a \"name\""},
        {"{\"tags\": [{\"name\": \"x\", \"blok\": true}]}",
         "1:25: tag \"x\": \"blok\" is not one of name (text), block (true or false), attributes (a list of names)"},
        {"{\"tags\": [{\"name\": \"x\", \"attributes\": \"row\"}]}",
         "1:25: tag \"x\": \"attributes\" is not one of name (text), block (true or false), attributes (a list of names)"},
        // A lone value is valid JSON, and still no object.
        {"null", "1:1: the configuration is a JSON object"},
        {"\n  3", "2:3: the configuration is a JSON object"},
        {" \n", "1:1: the configuration is empty; it is a JSON object, {} at the least"},
        {"nul", "1:3: illegal value"},
        // A key given twice is never silently the last one.
        {"{\"ignore\": [],\n \"ignore\": [\"a\"]}", "2:2: \"ignore\" is given twice"},
        {"{\"ignore\": [], \"\\u0069gnore\": []}", "1:16: \"ignore\" is given twice"},
        {"{\"severity\": {\"W1\": \"off\", \"W1\": \"error\"}}", "1:28: \"W1\" is given twice"},
        {"{\"tags\": [{\"name\": \"a\", \"name\": \"b\"}]}", "1:25: \"name\" is given twice"},
        // Names a template can write.
        {"{\"tags\": [{\"name\": \"my list}{\"}]}",
         "1:20: \"my list}{\" is no tag name: letters, digits and _ after an optional zuvi:, not starting with a digit"},
        {"{\"tags\": [{\"name\": \"zuvi:\"}]}",
         "1:20: \"zuvi:\" is no tag name: letters, digits and _ after an optional zuvi:, not starting with a digit"},
        {"{\"tags\": [{\"name\": \"9a\"}]}",
         "1:20: \"9a\" is no tag name: letters, digits and _ after an optional zuvi:, not starting with a digit"},
        {"{\"tags\": [{\"name\": \"x\", \"attributes\": [\"row\", \"a b\"]}]}",
         "1:47: tag \"x\": \"a b\" is no attribute name: letters, digits, _, -, : and ."},
        // Ignore patterns are compiled as they are read.
        {"{\"ignore\": [\"a\", \"\"]}", "1:18: an ignore pattern is never empty"},
    };
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(c.json);
        QString error;
        EXPECT_FALSE(CheckConfig::parse(c.json, kPath, &error));
        EXPECT_EQ(error, kPath + u':' + QString::fromUtf8(c.error));
    }
}

// A pattern too long for a regular expression is refused where it stands,
// not left to match nothing; one under the limit works, however long.
TEST(CheckConfig, IgnorePatternsHaveALengthLimit)
{
    const QString longest = QString(CheckConfig::kMaxPatternLength - 4, u'a') + QStringLiteral(".htm");
    QString error;
    const auto config = CheckConfig::parse("{\"ignore\": [\"" + longest.toUtf8() + "\"]}", kPath, &error);
    ASSERT_TRUE(config) << error.toStdString();
    EXPECT_TRUE(config->ignores(QStringLiteral("/site/pc/") + longest));
    EXPECT_FALSE(config->ignores(QStringLiteral("/site/pc/b.htm")));

    const QByteArray tooLong(1024 * 1024, 'a');
    EXPECT_FALSE(CheckConfig::parse("{\n \"ignore\": [\"x\", \"" + tooLong + "\"]}", kPath, &error));
    EXPECT_EQ(error, kPath + QStringLiteral(":2:18: an ignore pattern is at most %1 characters long; this one has %2")
                                 .arg(CheckConfig::kMaxPatternLength)
                                 .arg(tooLong.size()));
}

// A site of very many tags: each is known, its attributes too, and what
// the catalog knew of a tag it declares again is kept.
TEST(CheckConfig, ManySiteTagsAreAllKnown)
{
    QByteArray json = "{\"tags\": [";
    for (int i = 0; i < 160000; ++i)
        json += "{\"name\": \"site" + QByteArray::number(i) + "\", \"attributes\": [\"a" + QByteArray::number(i % 7)
            + "\"]},";
    json += "{\"name\": \"zuvi:arclist\", \"attributes\": [\"mine\", \"row\"]}]}";
    QString error;
    const auto config = CheckConfig::parse(json, kPath, &error);
    ASSERT_TRUE(config) << error.toStdString();
    ASSERT_EQ(config->siteTags.size(), 160001);
    const TagKnowledge knowledge = TagKnowledge::catalog().withSiteTags(config->siteTags);
    for (const int i : {0, 77777, 159999}) {
        const TagInfo *tag = knowledge.find(QStringLiteral("zuvi:site%1").arg(i));
        ASSERT_TRUE(tag) << i;
        EXPECT_TRUE(tag->attribute(QStringLiteral("a%1").arg(i % 7))) << i;
    }
    const TagInfo *arclist = knowledge.find(QStringLiteral("zuvi:arclist"));
    ASSERT_TRUE(arclist);
    EXPECT_TRUE(arclist->block) << "the catalog's knowledge stays";
    EXPECT_TRUE(arclist->attribute(QStringLiteral("mine")));
    ASSERT_TRUE(arclist->attribute(QStringLiteral("row")));
    EXPECT_TRUE(arclist->attribute(QStringLiteral("row"))->numeric) << "the catalog's attribute is kept, not replaced";
    EXPECT_TRUE(std::is_sorted(knowledge.tags().cbegin(), knowledge.tags().cend(),
                               [](const TagInfo &a, const TagInfo &b) { return a.name < b.name; }));
    EXPECT_TRUE(knowledge.isAttributeName(QStringLiteral("a6")));
}

TEST(CheckConfig, IsFoundInTheNearestFolderAbove)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("theme/pc/inc")));
    auto touch = [&](const QString &relative) {
        QFile file(root.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    touch(QStringLiteral(".zuvi-check.json"));
    touch(QStringLiteral("theme/pc/.zuvi-check.json"));
    touch(QStringLiteral("theme/pc/inc/head.htm"));
    touch(QStringLiteral("theme/index.htm"));
    EXPECT_EQ(CheckConfig::find(root.filePath(QStringLiteral("theme/pc/inc/head.htm"))),
              root.filePath(QStringLiteral("theme/pc/.zuvi-check.json")));
    EXPECT_EQ(CheckConfig::find(root.filePath(QStringLiteral("theme/index.htm"))),
              root.filePath(QStringLiteral(".zuvi-check.json")));
}

TEST(CheckConfig, IgnoresFilesByGlob)
{
    const auto config = CheckConfig::parse(R"({"ignore": ["old/**", "*.bak.htm", "pc/?.htm"]})", kPath, nullptr);
    ASSERT_TRUE(config);
    const struct {
        const char *file;
        bool ignored;
    } cases[] = {
        {"/site/old/index.htm", true},       {"/site/old/a/b/list.htm", true},  {"/site/new/old.htm", false},
        {"/site/a/b/list.bak.htm", true},    {"/site/list.htm", false},         {"/site/pc/a.htm", true},
        {"/site/pc/ab.htm", false},          {"/site/m/pc/a.htm", false},       {"/elsewhere/old/x.htm", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(config->ignores(QString::fromUtf8(c.file)), c.ignored) << c.file;
}

TEST(CheckConfig, SeveritiesByLongestPrefixAndOff)
{
    const auto config =
        CheckConfig::parse(R"({"severity": {"W": "info", "W1": "off", "W103": "error", "E2": "warning"}})", kPath, nullptr);
    ASSERT_TRUE(config);
    auto finding = [](const char *code, Severity severity) {
        Finding f;
        f.code = QString::fromLatin1(code);
        f.severity = severity;
        return f;
    };
    const QList<Finding> result = config->applySeverities({
        finding("W101", Severity::Warning),   // off by W1
        finding("W103", Severity::Warning),   // error: W103 is longer than W1
        finding("W301", Severity::Warning),   // info by W
        finding("E201", Severity::Error),     // warning by E2
        finding("E101", Severity::Error),     // unchanged
    });
    ASSERT_EQ(result.size(), 4);
    EXPECT_EQ(result[0].code, QStringLiteral("W103"));
    EXPECT_EQ(result[0].severity, Severity::Error);
    EXPECT_EQ(result[1].severity, Severity::Info);
    EXPECT_EQ(result[2].severity, Severity::Warning);
    EXPECT_EQ(result[3].severity, Severity::Error);
}

TEST(CodeSelection, SelectsAndIgnoresByPrefix)
{
    const CodeSelection selection{{QStringLiteral("E"), QStringLiteral("W3")}, {QStringLiteral("E2")}};
    EXPECT_TRUE(selection.accepts(QStringLiteral("E101")));
    EXPECT_FALSE(selection.accepts(QStringLiteral("E201"))) << "ignore wins over select";
    EXPECT_TRUE(selection.accepts(QStringLiteral("W301")));
    EXPECT_FALSE(selection.accepts(QStringLiteral("W101")));
    EXPECT_TRUE(CodeSelection{}.accepts(QStringLiteral("W101")));
}

} // namespace
