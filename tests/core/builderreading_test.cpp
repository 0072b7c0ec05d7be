// Reading a builder's tag back into its inputs: every builder and layout
// round trip, hand-edited tags, and texts that are no builder's tag.
#include "core/catalog/builderreading.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/numeric.h"
#include "core/catalog/snippet.h"
#include "core/catalog/tagbuilder.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

// Box texts a user may type: empty, numbers as typed (blanks, sign, point,
// exponent), and texts that are no number, which the tag leaves out.
const QStringList &boxTexts()
{
    static const QStringList texts = {
        QString(), QStringLiteral("7"), QStringLiteral(" 12 "), QStringLiteral("-3"), QStringLiteral("1.5"),
        QStringLiteral("1e5"), QStringLiteral("abc"), QStringLiteral("12abc"), QStringLiteral("1 0"),
        QStringLiteral("中文"), QStringLiteral("１２"), QStringLiteral("."),
    };
    return texts;
}

// Every text each input of `builder` can hold: the box texts, or every item
// of its drop-down.
QList<QStringList> valuesOfEachInput(const TagBuilder &builder)
{
    QList<QStringList> values;
    for (const OpeningPart &part : builder.opening) {
        if (part.kind == OpeningPart::Kind::Number)
            values << boxTexts();
        else if (part.kind == OpeningPart::Kind::Choice)
            values << choiceItems(*part.choices);
    }
    return values;
}

// Two starting points: the page as it opens (boxes empty, first items), and
// every box with a number of its own and every drop-down on its last item,
// so that a value read into the wrong input shows.
QList<QStringList> baselines(const TagBuilder &builder)
{
    QStringList filled;
    int number = 11;
    for (const QStringList &values : valuesOfEachInput(builder))
        filled << (values == boxTexts() ? QString::number(number++) : values.back());
    return {builder.initialInputs(), filled};
}

// What the boxes hold after reading back: a text that is no number wrote
// nothing, so its box comes back empty.
QStringList keptInputs(const TagBuilder &builder, QStringList inputs)
{
    const QList<QStringList> values = valuesOfEachInput(builder);
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        if (values[i] == boxTexts() && !isNumeric(inputs[i]))
            inputs[i].clear();
    }
    return inputs;
}

QString describe(const PageBuilder &builder, int layout, const QStringList &inputs)
{
    return QString::fromUtf16(builder.caption) + QStringLiteral(" layout %1: ").arg(layout)
           + inputs.join(QStringLiteral(" | "));
}

TEST(BuilderReading, EveryBuilderLayoutAndInputValueRoundTripsToTheSameBytes)
{
    for (const PageBuilder &builder : pageBuilders()) {
        for (int layout = 0; layout < builder.layoutCount(); ++layout) {
            const TagBuilder &tag = builder.builder(layout);
            const QList<QStringList> values = valuesOfEachInput(tag);
            ASSERT_EQ(values.size(), tag.inputCount());
            for (const QStringList &baseline : baselines(tag)) {
                for (qsizetype input = 0; input < values.size(); ++input) {
                    for (const QString &value : values[input]) {
                        QStringList inputs = baseline;
                        inputs[input] = value;
                        SCOPED_TRACE(describe(builder, layout, inputs).toStdString());
                        const QString snippet = snippetText(tag.lines(inputs));

                        const std::optional<BuilderReading> whole = readBuilderSnippet(snippet);
                        ASSERT_TRUE(whole);
                        EXPECT_EQ(whole->builder, &builder);
                        EXPECT_EQ(whole->layout, layout);
                        EXPECT_EQ(whole->inputs, keptInputs(tag, inputs));
                        EXPECT_EQ(whole->notKept, QStringList());
                        EXPECT_EQ(snippetText(whole->lines()), snippet);

                        // The opening tag alone gives the same inputs.
                        const QString opening = tag.openingLine(inputs);
                        const std::optional<BuilderReading> tagAlone = readBuilderSnippet(opening);
                        ASSERT_TRUE(tagAlone);
                        EXPECT_EQ(tagAlone->builder, &builder);
                        EXPECT_EQ(tagAlone->inputs, whole->inputs);
                        EXPECT_EQ(tagAlone->notKept, QStringList());
                        EXPECT_EQ(tagAlone->lines().value(0), opening);
                    }
                }
            }
        }
    }
}

// What the page shows each input with, so a description that gains an
// input without a control to fill fails here.
TEST(BuilderReading, EveryBuilderNamesAControlForEachInputAndLayout)
{
    for (const PageBuilder &builder : pageBuilders()) {
        SCOPED_TRACE(QString::fromUtf16(builder.caption).toStdString());
        for (int layout = 0; layout < builder.layoutCount(); ++layout)
            EXPECT_EQ(qsizetype(builder.inputControls.size()), builder.builder(layout).inputCount());
    }
}

const PageBuilder &builderCalled(const char16_t *caption)
{
    for (const PageBuilder &builder : pageBuilders()) {
        if (QString::fromUtf16(builder.caption) == QString::fromUtf16(caption))
            return builder;
    }
    throw std::logic_error("no such builder");
}

struct HandEdited {
    const char *name;
    const char16_t *text;
    const char16_t *builder;
    int layout;
    QStringList inputs;
    QStringList notKept;
    friend void PrintTo(const HandEdited &c, std::ostream *os) { *os << c.name; }
};

class HandEditedTag : public testing::TestWithParam<HandEdited> {};

TEST_P(HandEditedTag, FillsWhatTheBuilderHasAndNamesTheRest)
{
    const HandEdited &c = GetParam();
    const std::optional<BuilderReading> reading = readBuilderSnippet(QString::fromUtf16(c.text));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->builder, &builderCalled(c.builder));
    EXPECT_EQ(reading->layout, c.layout);
    EXPECT_EQ(reading->inputs, c.inputs);
    EXPECT_EQ(reading->notKept, c.notKept);
}

const QString kListBody = QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>\n"
                                         "<span>{$field.seo_description}...</span>\n");

INSTANTIATE_TEST_SUITE_P(Tags, HandEditedTag, testing::Values(
    HandEdited{"ReorderedDoubleQuotedWithBlanksAndLf",
               u"{zuvi:list  pagesize=\"10\"\n   titlelen = '30' }\n"
               u"<a href='{$field.arcurl}'>{$field.title}</a>\n<span>{$field.seo_description}...</span>\n{/zuvi:list}\n",
               u"列表循环", 0, {"30", "", "10"}, {}},
    HandEdited{"CrLfIndentedBodyChoosesItsLayout",
               u"  {zuvi:arclist row=\"5\" orderby=\"click\" typeid=\"2\" flag=\"h\"}\r\n"
               u"    <li>\r\n      <a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>  \r\n"
               u"      <span>{$field.seo_description}...</span>\r\n    </li>\r\n  {/zuvi:arclist}\r\n\r\n",
               u"文章列表", 3, {"2", "头条[h]", "", "", "5", "按点击数"}, {}},
    HandEdited{"UnquotedValues", u"{zuvi:channel typeid=3 row=8 type=son}", u"导航菜单", 0,
               {"下级栏目", "3", "8"}, {}},
    HandEdited{"MissingDropDownAttributesTakeWhatLeavesThemOutOrTheFirstItem",
               u"{zuvi:arclist typeid='4'}", u"文章列表", 0, {"4", "无属性", "", "", "", "发布时间"}, {}},
    HandEdited{"AttributesTheBuilderDoesNotHave", u"{zuvi:arclist typeid='2' limit='0,5' row='5' titlelen='20'}",
               u"文章列表", 0, {"2", "无属性", "20", "", "5", "发布时间"}, {"limit='0,5'"}},
    HandEdited{"ValuesABoxCannotWriteBack", u"{zuvi:list titlelen='abc' infolen=\"12\" pagesize=''}", u"列表循环",
               0, {"", "12", ""}, {"titlelen='abc'", "pagesize=''"}},
    HandEdited{"ValueOutsideADropDown", u"{zuvi:arclist orderby='hits' flag='x'}", u"文章列表", 0,
               {"", "无属性", "", "", "", "发布时间"}, {"orderby='hits'", "flag='x'"}},
    HandEdited{"TheBuildersOwnAttributeWithAnotherValue",
               u"{zuvi:channel type='son' currentstyle='active' row='4'}", u"导航菜单", 0, {"下级栏目", "", "4"},
               {"currentstyle='active'"}},
    HandEdited{"TheBuildersOwnAttributeAsItWritesIt", u"{zuvi:channel currentstyle=\"on\" type='self'}",
               u"导航菜单", 0, {"同级栏目", "", ""}, {}},
    HandEdited{"ARepeatedAttributeKeepsTheFirst", u"{zuvi:list titlelen='3' titlelen='4'}", u"列表循环", 0,
               {"3", "", ""}, {"titlelen='4'"}},
    HandEdited{"TextThatIsNoAttribute", u"{zuvi:list 'x' titlelen='3' , infolen}", u"列表循环", 0, {"3", "", ""},
               {"'x'", ",", "infolen"}},
    HandEdited{"ABodyOfNoLayout",
               u"{zuvi:arclist row='2'}\n<li>{$field.title}</li>\n{/zuvi:arclist}", u"文章列表", 0,
               {"", "无属性", "", "", "2", "发布时间"}, {"循环内的代码"}},
    HandEdited{"AnEmptyBodyLosesNothing", u"{zuvi:list pagesize='9'}{/zuvi:list}", u"列表循环", 0, {"", "", "9"},
               {}}));

TEST(BuilderReading, TextThatIsNoBuildersTagGivesNothing)
{
    const char16_t *const texts[] = {
        u"",
        u"fenye",
        u"{zuvi:volist name='x' id='vo'}",             // a tag no builder writes
        u"{zuvi:list titlelen='3'",                    // still being typed
        u"{zuvi:list titlelen='3}",                    // a quote left open
        u"{zuvi:list /}",
        u"{/zuvi:list}",
        u"{$field.title}",
        u"<ul>{zuvi:list}{/zuvi:list}</ul>",           // more than the snippet
        u"{zuvi:list}{/zuvi:list}\n{zuvi:list}{/zuvi:list}",
        u"{zuvi:list}\n<li>a tag without its closing tag</li>",
        u"<!-- {zuvi:list} -->",
    };
    for (const char16_t *text : texts)
        EXPECT_FALSE(readBuilderSnippet(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
}

} // namespace
