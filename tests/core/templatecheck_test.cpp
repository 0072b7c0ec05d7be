// The template checker: each check's findings at their line and column,
// recovery after each fault, positions after Chinese text and under every
// line end, inline suppression, the site's own tags, included files; and
// nothing on what the tool itself writes.
#include "core/catalogtags.h"
#include "core/pagebuilders.h"
#include "core/snippet.h"
#include "core/tagbuilder.h"
#include "core/templatecheck.h"
#include "core/textposition.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Each finding as "CODE line:column", lines and UTF-16 columns from 1.
QStringList located(QStringView text, const QList<Finding> &findings)
{
    const LineIndex lines(text);
    QStringList out;
    for (const Finding &f : findings) {
        const TextPosition at = lines.position(f.start, ColumnUnit::Utf16);
        out.append(u"%1 %2:%3"_s.arg(f.code).arg(at.line).arg(at.column));
    }
    return out;
}

struct CheckCase {
    const char *what;
    QString text;
    QStringList findings;
};

class TemplateCheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(TemplateCheckTest, FindsWhatIsWrongAndWhere)
{
    const CheckCase &c = GetParam();
    CheckContext context;
    context.siteTags = {SiteTag{u"banner"_s, true, {u"pos"_s}}};
    context.templateRoot = u"/theme"_s;
    context.siteRoot = u"/site"_s;
    context.fileExists = [](const QString &path) { return path == u"/theme/head.htm" || path == u"/site/css/a.css"; };
    EXPECT_EQ(located(c.text, checkTemplate(c.text, context)), c.findings) << c.what;
}

const CheckCase kCases[] = {
    {"clean", u"{zuvi:arclist typeid='3' row='10'}{$field.title}{zuvi:else /}{/zuvi:arclist}"_s, {}},
    {"a block never closed, at its opening tag; the rest still checked",
     u"<ul>\n  {zuvi:arclist row='10'}\n{zuvi:volist name='x'}{/zuvi:volist}"_s, {u"E101 2:4"_s}},
    {"a closing tag with nothing open", u"x\n{/zuvi:arclist}{zuvi:if condition='1'}{/zuvi:if}"_s, {u"E102 2:1"_s}},
    {"a closing tag crossing a block: once, and b counts as closed",
     u"{zuvi:arclist}{zuvi:volist}{/zuvi:arclist}{zuvi:if}{/zuvi:if}"_s, {u"E103 1:28"_s}},
    {"else outside every block", u"{zuvi:else /}\r\n{zuvi:elseif condition='1' /}{zuvi:if}{zuvi:else /}{/zuvi:if}"_s,
     {u"E104 1:1"_s, u"E104 2:1"_s}},
    {"a tag never closed: one finding", u"{zuvi:arclist row='1'\n{zuvi:if}{/zuvi:if}"_s, {u"E201 1:1"_s}},
    {"a value never closed: one finding", u"{zuvi:include file='head.htm /}\n{$a}"_s, {u"E202 1:20"_s}},
    {"a placeholder never closed", u"中文{$field.title\r{$b}"_s, {u"E203 1:3"_s}},
    {"an unknown tag, close to a known one", u"中\r\n{zuvi:arclst row='1'}{/zuvi:arclst}"_s, {u"W101 2:2"_s}},
    {"an unknown tag near nothing, closed later: a block, no E101", u"{zuvi:qqqqq}{/zuvi:qqqqq}"_s, {u"W101 1:2"_s}},
    {"a near miss attribute only", u"{zuvi:arclist titlelne='2' colour='x' row='1'}{/zuvi:arclist}"_s, {u"W102 1:15"_s}},
    {"the same attribute twice", u"{zuvi:arclist row='1' row='2'}{/zuvi:arclist}"_s, {u"W103 1:23"_s}},
    {"a word where a number goes; expressions are not judged",
     u"{zuvi:arclist row='十' typeid='$t' titlelen='{$n}' infolen=' 2 '}{/zuvi:arclist}"_s, {u"W201 1:19"_s}},
    {"files: relative under the template root, / under the site root, each of a list",
     u"{zuvi:include file='head.htm' /}{zuvi:include file='foot.htm' /}{zuvi:static file='/css/a.css,/css/b.css' /}"
     "{zuvi:include file='$f' /}"_s,
     {u"W301 1:52"_s, u"W301 1:83"_s}},
    {"site tags count as known", u"{zuvi:banner pos='1'}{/zuvi:banner}{zuvi:banner}"_s, {u"E101 1:37"_s}},
    {"a tag in an HTML comment still counts", u"<!-- {zuvi:arclist} -->"_s, {u"E101 1:7"_s}},
    {"suppression of the next line, by code or prefix",
     u"<!-- zuvi-check-disable-next-line W1 -->\n{zuvi:arclst}{zuvi:else /}\n{zuvi:arclst /}"_s,
     {u"E104 2:14"_s, u"W101 3:2"_s}},
    {"suppression of a region",
     u"<!-- zuvi-check-disable -->{zuvi:else /}<!-- zuvi-check-enable -->{zuvi:else /}"_s, {u"E104 1:67"_s}},
};

INSTANTIATE_TEST_SUITE_P(Cases, TemplateCheckTest, testing::ValuesIn(kCases));

TEST(TemplateCheck, MessagesNameTheTagsAndQuickFixesReplace)
{
    const QList<Finding> findings = checkTemplate(u"{zuvi:arclst}{zuvi:volist}"_s, {});
    ASSERT_EQ(findings.size(), 2);
    EXPECT_EQ(findings[0].code, u"W101"_s);
    EXPECT_EQ(findings[0].replacement, u"zuvi:arclist"_s);
    EXPECT_EQ(findings[0].severity, Severity::Warning);
    EXPECT_TRUE(findings[0].message.contains(u"zuvi:arclist"_s));
    EXPECT_EQ(findings[1].code, u"E101"_s);
    EXPECT_TRUE(findings[1].message.contains(u"{/zuvi:volist}"_s));
}

// What the tool writes checks clean, but for the few places where a
// snippet holds a word for the user to replace, listed here by caption.
TEST(TemplateCheck, NothingOnWhatTheToolWrites)
{
    QStringList found;
    auto check = [&](const QString &caption, const QStringList &lines) {
        const QString text = snippetText(lines);
        for (const Finding &f : checkTemplate(text, {}))
            found.append(caption + u": "_s + f.code + u' ' + text.sliced(f.start, f.length));
    };
    forEachTag([&](const CatalogTag &tag) {
        check(tag.caption, tag.lines);
        if (!tag.builder)
            return;
        const TagBuilder &builder = tag.builder->builder();
        QStringList typical = builder.initialInputs();
        qsizetype input = 0;
        for (const OpeningPart &part : builder.opening) {
            if (part.kind == OpeningPart::Kind::Number)
                typical[input] = part.suggestion.isEmpty() ? u"1"_s : part.suggestion;
            if (part.kind != OpeningPart::Kind::Text)
                ++input;
        }
        check(tag.caption, builder.lines(typical));
        input = 0;
        for (const OpeningPart &part : builder.opening) {
            if (part.kind == OpeningPart::Kind::Choice) {
                for (const QString &item : choiceItems(*part.choices)) {
                    QStringList inputs = typical;
                    inputs[input] = item;
                    check(tag.caption, builder.lines(inputs));
                }
            }
            if (part.kind != OpeningPart::Kind::Text)
                ++input;
        }
    });
    found.removeDuplicates();
    const QStringList expected = {
        // A word for the user to replace: left in a live template, a real fault.
        u"每隔N行输出内容判断: W201 '文档ID'"_s,
    };
    EXPECT_EQ(found, expected);
}

TEST(TemplateCheck, TheFixtureThemeChecksClean)
{
    const QString root = QStringLiteral(ZUVI_FIXTURE_THEME);
    CheckContext context;
    context.templateRoot = root;
    QStringList found;
    QDirIterator files(root, {u"*.htm"_s}, QDir::Files, QDirIterator::Subdirectories);
    int checked = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const Finding &f : checkTemplate(text, context))
            found.append(file.fileName() + u": "_s + f.code + u' ' + f.message);
        ++checked;
    }
    EXPECT_GE(checked, 4);
    EXPECT_EQ(found, QStringList());
}

} // namespace
