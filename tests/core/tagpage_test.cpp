#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/tagpage.h"
#include "tests/support/fakepageview.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

const char *const kFixture = R"(
[entries demoTag]

[frame group]
in = page
at = 0 0 3000 3000
caption = 组

[entry 0]
caption = 甲
in = group
at = 100 100 500 255
|{zuvi:a /}|

[entry 1]
caption = 乙
in = page
at = 100 400 500 255
tip = 提示文字
|{zuvi:b} |
|  <a href="x">{$field.title}</a>|
|{/zuvi:b}|

[entry 2]
caption = 丙
in = page
at = 100 700 500 255
|{zuvi:c /}|
)";

class TagPageTest : public testing::Test
{
protected:
    PageCatalog catalog = *PageCatalog::parse(QString::fromUtf8(kFixture));
    FakePageView view;
    TagPage page{view, catalog};
};

TEST_F(TagPageTest, AClickReplacesTheUsersTextAndCopiesTheSameText)
{
    view.output = QStringLiteral("the user's own text");
    page.onEntryClicked(1);
    EXPECT_EQ(view.calls, (QStringList{"setOutputText", "copyToClipboard"}));
    const QString expected = QStringLiteral("{zuvi:b} \r\n  <a href=\"x\">{$field.title}</a>\r\n{/zuvi:b}\r\n");
    EXPECT_EQ(view.output, expected);
    EXPECT_EQ(view.clipboard, expected);
}

TEST_F(TagPageTest, ClickingTheSameEntryAgainWritesAndCopiesAgain)
{
    page.onEntryClicked(0);
    view.output = QStringLiteral("edited");
    view.clipboard = QStringLiteral("something else");
    page.onEntryClicked(0);
    EXPECT_EQ(view.output, QStringLiteral("{zuvi:a /}\r\n"));
    EXPECT_EQ(view.clipboard, view.output);
    EXPECT_EQ(view.calls.count(QStringLiteral("copyToClipboard")), 2);
}

TEST_F(TagPageTest, AnIndexWithoutSnippetChangesNothing)
{
    view.output = QStringLiteral("kept");
    view.clipboard = QStringLiteral("kept too");
    for (qint16 index : {qint16(3), qint16(-3), qint16(32767), qint16(-32768)})
        page.onEntryClicked(index);
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(view.output, QStringLiteral("kept"));
    EXPECT_EQ(view.clipboard, QStringLiteral("kept too"));
}

TEST(TagPageTexts, InitialOutputIsEmptyOnlyOnTheHomePage)
{
    EXPECT_EQ(initialOutputText(Page::Home), QString());
    for (int page = Page::List; page <= Page::ExtensionFunctions; ++page)
        EXPECT_EQ(initialOutputText(page), QStringLiteral("\r\n\r\n       \r\n")) << page;
}

} // namespace
