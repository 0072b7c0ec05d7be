// The checks are declared once, in core/check/checkrules.cpp: the checker gives
// each with its code and severity, docs/checks.md and the manual describe
// exactly those, and a report's rule descriptions come from the former.
#include "core/check/checkrules.h"
#include "core/check/templatecheck.h"
#include "core/theme/themeusage.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString readText(const char *path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// "E101 block never closed", one entry a check.
QStringList codesAndTitles(const QList<CheckRule> &rules)
{
    QStringList list;
    for (const CheckRule &rule : rules)
        list << rule.code + u' ' + rule.title;
    return list;
}

TEST(CheckRules, TheDocumentationDescribesEveryCheckAndNoOther)
{
    const QList<CheckSection> sections = checkSectionsOf(readText(ZUVI_CHECKS_DOC));
    QStringList documented;
    for (const CheckSection &section : sections) {
        documented << section.code + u' ' + section.title;
        EXPECT_GT(section.description.size(), 40) << section.code.toStdString() << ": says what it finds and how to fix it";
    }
    // In the table's order, so that the page reads as the codes go.
    EXPECT_EQ(documented, codesAndTitles(checkRules()));
    for (const CheckRule &rule : checkRules())
        EXPECT_FALSE(rule.description.isEmpty()) << rule.code.toStdString() << ": the compiled-in page describes it";
}

TEST(CheckRules, TheManualListsEveryCheck)
{
    const QString manual = readText(ZUVI_MANUAL_PATH);
    const qsizetype start = manual.indexOf(u"\n.SS Codes\n"_s);
    ASSERT_GE(start, 0) << "the manual has a list of the codes";
    const qsizetype end = manual.indexOf(QRegularExpression(u"\n\\.S[HS] "_s), start + 1);
    static const QRegularExpression entry(u"^\\.TP\\n\\.B ([A-Z]\\d+)\\n(.+)$"_s, QRegularExpression::MultilineOption);
    QStringList listed;
    for (const QRegularExpressionMatch &match : entry.globalMatch(manual.sliced(start, end - start)))
        listed << match.captured(1) + u' ' + match.captured(2);
    EXPECT_EQ(listed, codesAndTitles(checkRules()));
}

// One text that gives each check once, with its code, its severity and a
// quick fix where the table says it has one.
TEST(CheckRules, TheCheckerGivesEachCheckAsTheTableDeclaresIt)
{
    CheckContext context;
    context.templateRoot = u"/theme"_s;
    context.fileExists = [](const QString &path) { return path == u"/theme/self.htm"; };
    context.includeCycles = [](const QStringList &includes) {
        return QList<QStringList>(includes.size(), {u"/theme/self.htm"_s, u"/theme/self.htm"_s});
    };
    const struct {
        Check check;
        QString text;
    } cases[] = {
        {Check::BlockNeverClosed, u"{zuvi:arclist}"_s},
        {Check::ClosingTagWithNothingOpen, u"{/zuvi:arclist}"_s},
        {Check::ClosingTagCrossesAnOpenBlock, u"{zuvi:arclist}{zuvi:volist}{/zuvi:arclist}"_s},
        {Check::ElseOutsideEveryBlock, u"{zuvi:else /}"_s},
        {Check::TagNeverClosed, u"{zuvi:global name='x'"_s},
        {Check::QuotedValueNeverClosed, u"{zuvi:include file='a.htm /}"_s},
        {Check::PlaceholderNeverClosed, u"{$field.title"_s},
        {Check::IncludeCycle, u"{zuvi:include file='self.htm' /}"_s},
        {Check::UnknownTag, u"{zuvi:arclst /}"_s},
        {Check::NearMissOfAnAttribute, u"{zuvi:arclist titlelne='2'}{/zuvi:arclist}"_s},
        {Check::AttributeGivenTwice, u"{zuvi:arclist row='1' row='2'}{/zuvi:arclist}"_s},
        {Check::WordWhereANumberGoes, u"{zuvi:arclist row='十'}{/zuvi:arclist}"_s},
        {Check::IncludedFileMissing, u"{zuvi:include file='a.htm' /}"_s},
        {Check::FileOutsideItsRoot, u"{zuvi:include file='../a.htm' /}"_s},
    };
    QStringList covered;
    for (const auto &c : cases) {
        const CheckRule &rule = checkRule(c.check);
        SCOPED_TRACE(rule.code.toStdString());
        const QList<Finding> findings = checkTemplate(c.text, context);
        ASSERT_EQ(findings.size(), 1);
        EXPECT_EQ(findings[0].code, rule.code);
        EXPECT_EQ(findings[0].severity, rule.severity);
        EXPECT_EQ(findings[0].hasFix(), !rule.fix.isEmpty()) << rule.fix.toStdString();
        covered << rule.code;
    }

    // The one check of a whole theme.
    CheckedThemes themes;
    const QString root = QStringLiteral(ZUVI_UNTIDY_THEME);
    const QList<Finding> unused = themes.unusedFindings(root + u"/old.htm"_s, root);
    const CheckRule &neverIncluded = checkRule(Check::TemplateNeverIncluded);
    ASSERT_EQ(unused.size(), 1);
    EXPECT_EQ(unused[0].code, neverIncluded.code);
    EXPECT_EQ(unused[0].severity, neverIncluded.severity);
    covered << neverIncluded.code;

    EXPECT_EQ(covered, checkCodes()) << "a case for every check";
}

TEST(CheckRules, CodesAndTheirPrefixesAreKnown)
{
    const struct {
        const char *prefix;
        bool known;
    } cases[] = {
        {"E101", true}, {"W3", true}, {"W", true}, {"E", true},
        {"E1010", false}, {"w101", false}, {"I", false}, {"X1", false}, {"W4", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(startsSomeCode(QString::fromLatin1(c.prefix)), c.known) << c.prefix;
}

TEST(CheckRules, SectionsAreReadFromTheirHeadingToTheNext)
{
    const QList<CheckSection> sections = checkSectionsOf(
        u"# Checks\nIntro.\n\n## E101 block never closed\nFirst line,\nsecond.\n\n## Not a code\nSkipped.\n"
        "## W7 a warning\n`x` \u2192 `y`\n## I9 a note\n# Another part\nNot of I9.\n"_s);
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0].code, u"E101"_s);
    EXPECT_EQ(sections[0].title, u"block never closed"_s);
    EXPECT_EQ(sections[0].description, u"First line,\nsecond."_s);
    EXPECT_EQ(sections[1].code, u"W7"_s);
    EXPECT_EQ(sections[1].description, u"`x` \u2192 `y`"_s);
    EXPECT_EQ(sections[2].code, u"I9"_s);
    EXPECT_TRUE(sections[2].description.isEmpty());
}

} // namespace
