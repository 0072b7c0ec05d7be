// The rule descriptions reports carry come from docs/checks.md: every code
// the checker gives has its section there, with the severity the checker
// gives it.
#include "core/checkrules.h"
#include "core/templatecheck.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList codesOf(const QList<CheckRule> &rules)
{
    QStringList codes;
    for (const CheckRule &rule : rules)
        codes << rule.code;
    return codes;
}

// The codes a source file of the checker gives: the per-text checker's
// add("E101", …), the whole theme's themeFinding("W303", …).
QStringList codesGivenIn(const char *path)
{
    QFile source(QString::fromUtf8(path));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression given(u"(?:add|themeFinding)\\(\"([A-Z]\\d+)\""_s);
    QStringList codes;
    for (const QRegularExpressionMatch &match : given.globalMatch(QString::fromUtf8(source.readAll())))
        codes << match.captured(1);
    codes.removeDuplicates();
    codes.sort();
    return codes;
}

TEST(CheckRules, EveryCodeTheCheckerGivesIsDescribed)
{
    // The codes as the checker's sources give them, so that a new check
    // without its section in docs/checks.md fails here.
    const QStringList perText = codesGivenIn(ZUVI_CHECKER_SOURCE);
    const QStringList wholeTheme = codesGivenIn(ZUVI_THEME_CHECKER_SOURCE);
    ASSERT_FALSE(perText.isEmpty());
    ASSERT_FALSE(wholeTheme.isEmpty());
    QStringList inSource = perText + wholeTheme;
    inSource.sort();
    QStringList described = codesOf(checkRules());
    described.sort();
    EXPECT_EQ(described, inSource);
    for (const CheckRule &rule : checkRules()) {
        EXPECT_FALSE(rule.title.isEmpty()) << rule.code.toStdString();
        EXPECT_GT(rule.description.size(), 40) << rule.code.toStdString() << ": says what it finds and how to fix it";
    }
}

TEST(CheckRules, SeverityIsTheOneTheCheckerGives)
{
    CheckContext context;
    context.templateRoot = u"/theme"_s;
    context.fileExists = [](const QString &path) { return path == u"/theme/self.htm"; };
    context.includeCycles = [](const QStringList &includes) {
        return QList<QStringList>(includes.size(), {u"/theme/self.htm"_s, u"/theme/self.htm"_s});
    };
    const struct {
        const char *code;
        QString text;
    } cases[] = {
        {"E101", u"{zuvi:arclist}"_s},
        {"E102", u"{/zuvi:arclist}"_s},
        {"E103", u"{zuvi:arclist}{zuvi:volist}{/zuvi:arclist}"_s},
        {"E104", u"{zuvi:else /}"_s},
        {"E201", u"{zuvi:global name='x'"_s},
        {"E202", u"{zuvi:include file='a.htm /}"_s},
        {"E203", u"{$field.title"_s},
        {"E301", u"{zuvi:include file='self.htm' /}"_s},
        {"W101", u"{zuvi:arclst /}"_s},
        {"W102", u"{zuvi:arclist titlelne='2'}{/zuvi:arclist}"_s},
        {"W103", u"{zuvi:arclist row='1' row='2'}{/zuvi:arclist}"_s},
        {"W201", u"{zuvi:arclist row='十'}{/zuvi:arclist}"_s},
        {"W301", u"{zuvi:include file='a.htm' /}"_s},
        {"W302", u"{zuvi:include file='../a.htm' /}"_s},
    };
    QStringList covered;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        const auto rule = std::find_if(checkRules().cbegin(), checkRules().cend(),
                                       [&](const CheckRule &r) { return r.code == QLatin1String(c.code); });
        ASSERT_NE(rule, checkRules().cend());
        const QList<Finding> findings = checkTemplate(c.text, context);
        ASSERT_EQ(findings.size(), 1);
        EXPECT_EQ(findings[0].code, rule->code);
        EXPECT_EQ(findings[0].severity, rule->severity);
        covered << rule->code;
    }
    EXPECT_EQ(covered, codesGivenIn(ZUVI_CHECKER_SOURCE)) << "one case per rule of a single text";
}

TEST(CheckRules, SectionsAreReadFromTheirHeadingToTheNext)
{
    const QList<CheckRule> rules = checkRulesOf(
        u"# Checks\nIntro.\n\n## E101 block never closed\nFirst line,\nsecond.\n\n## Not a code\nSkipped.\n"
        "## W7 a warning\n`x` \u2192 `y`\n## I9 a note\n"_s);
    ASSERT_EQ(rules.size(), 3);
    EXPECT_EQ(rules[0].code, u"E101"_s);
    EXPECT_EQ(rules[0].title, u"block never closed"_s);
    EXPECT_EQ(rules[0].description, u"First line,\nsecond."_s);
    EXPECT_EQ(rules[0].severity, Severity::Error);
    EXPECT_EQ(rules[1].severity, Severity::Warning);
    EXPECT_EQ(rules[1].description, u"`x` \u2192 `y`"_s);
    EXPECT_EQ(rules[2].severity, Severity::Info);
    EXPECT_TRUE(rules[2].description.isEmpty());
}

} // namespace
