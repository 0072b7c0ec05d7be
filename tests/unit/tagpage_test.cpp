#include "shell/pagecatalog.h"
#include "shell/tagpage.h"
#include "tests/support/fakepageview.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

const char *const kFixture = R"(
[frame Frame1]
in = page
at = 0 0 3000 3000
caption = 组

[entry 0]
caption = 甲
in = Frame1
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
    FakePageView view{2};
};

TEST_F(TagPageTest, ClickSelectsThenWritesThenCopies)
{
    TagPage page(view, catalog, TagPage::Selection::WalkEntries);
    view.output = QStringLiteral("the user's own text");
    page.Option1_Click(1);
    EXPECT_EQ(view.calls, (QStringList{"SetEntryValue(0,0)", "SetEntryValue(1,1)", "SetEntryValue(2,0)",
                                       "SetOutputText", "SetClipboardText"}));
    const QString expected = QStringLiteral("{zuvi:b} \r\n  <a href=\"x\">{$field.title}</a>\r\n{/zuvi:b}\r\n");
    EXPECT_EQ(view.output, expected);
    EXPECT_EQ(view.clipboard, expected);
}

TEST_F(TagPageTest, ClickingAnotherEntryClearsTheFirstWhateverItsContainer)
{
    TagPage page(view, catalog, TagPage::Selection::WalkEntries);
    page.Option1_Click(0);
    page.Option1_Click(2);
    EXPECT_EQ(view.selectedEntries(), QList<qint16>{2});
    EXPECT_EQ(view.clipboard, QStringLiteral("{zuvi:c /}\r\n"));
}

TEST_F(TagPageTest, ClickingTheSelectedEntryAgainWritesAndCopiesAgain)
{
    TagPage page(view, catalog, TagPage::Selection::WalkEntries);
    page.Option1_Click(0);
    view.output = QStringLiteral("edited");
    view.clipboard = QStringLiteral("something else");
    page.Option1_Click(0);
    EXPECT_EQ(view.output, QStringLiteral("{zuvi:a /}\r\n"));
    EXPECT_EQ(view.clipboard, view.output);
    EXPECT_EQ(view.clipboardWrites, 2);
}

TEST_F(TagPageTest, AnIndexWithoutSnippetChangesOnlyTheSelection)
{
    TagPage page(view, catalog, TagPage::Selection::WalkEntries);
    view.output = QStringLiteral("kept");
    view.clipboard = QStringLiteral("kept too");
    page.Option1_Click(7);
    page.Option1_Click(-3);
    EXPECT_EQ(view.output, QStringLiteral("kept"));
    EXPECT_EQ(view.clipboard, QStringLiteral("kept too"));
    EXPECT_TRUE(view.selectedEntries().isEmpty());
}

TEST_F(TagPageTest, AToolkitGroupPageLeavesSelectionToTheGroup)
{
    TagPage page(view, catalog, TagPage::Selection::ToolkitGroup);
    page.Option1_Click(2);
    EXPECT_EQ(view.calls, (QStringList{"SetOutputText", "SetClipboardText"}));
}

TEST_F(TagPageTest, HoverSetsTheTipOnlyWhereOneIsGiven)
{
    TagPage page(view, catalog, TagPage::Selection::WalkEntries);
    page.Option1_MouseMove(0);
    page.Option1_MouseMove(2);
    page.Option1_MouseMove(9);
    EXPECT_TRUE(view.tips.isEmpty());
    page.Option1_MouseMove(1);
    page.Option1_MouseMove(1);
    EXPECT_EQ(view.tips, (QMap<qint16, QString>{{1, QStringLiteral("提示文字")}}));
    EXPECT_EQ(view.output, QString());   // hovering writes nothing
}

} // namespace
