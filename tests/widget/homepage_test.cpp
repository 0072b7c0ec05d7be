#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QButtonGroup>

namespace {

using HomePageTest = PagesFixture;

struct GlobalTag {
    int index;
    const char16_t *caption;
    const char16_t *text;
};

const GlobalTag kGlobalTags[] = {
    {1, u"网站名称", u"{zuvi:global name='web_name' /}\r\n"},
    {2, u"网站LOGO", u"{zuvi:global name='web_logo' /}\r\n"},
    {3, u"网站备案号", u"{zuvi:global name='web_recordnum' /}\r\n"},
    {4, u"友情链接",
     u"{zuvi:flink type='text' row='100' titlelen='20'} \r\n"
     u"<a href='{$field.url}' {$field.target}>{$field.title}</a>\r\n"
     u"{/zuvi:flink}\r\n"},
    {5, u"网站标题", u"{zuvi:global name='web_title' /}\r\n"},
    {6, u"站点描述", u"{zuvi:global name='web_description' /}\r\n"},
    {7, u"默认关键字", u"{zuvi:global name='web_keywords' /}\r\n"},
    {8, u"网站版权", u"{zuvi:global name='web_copyright' /}\r\n"},
};

TEST_F(HomePageTest, EachGlobalTagPutsItsExactTextInTheBoxAndOnTheClipboard)
{
    for (const GlobalTag &tag : kGlobalTags) {
        QAbstractButton *option = entry(Page::Home, tag.index);
        ASSERT_NE(option, nullptr) << tag.index;
        EXPECT_EQ(option->text(), QString::fromUtf16(tag.caption));
        clickOn(option);
        const QString expected = QString::fromUtf16(tag.text);
        EXPECT_EQ(outputText(Page::Home), expected) << tag.index;
        EXPECT_EQ(clipboardText().toUtf8(), expected.toUtf8()) << tag.index;
        EXPECT_TRUE(option->isChecked());
    }
}

TEST_F(HomePageTest, TheUsersTypingIsReplacedByTheNextClick)
{
    QPlainTextEdit *box = content(Page::Home)->outputBox();
    clickOn(entry(Page::Home, 1));
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    typeText(box, QStringLiteral("我的修改"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(outputText(Page::Home), QStringLiteral("{zuvi:global name='web_name' /}\r\n我的修改\r\n"));
    clickOn(entry(Page::Home, 1));
    EXPECT_EQ(outputText(Page::Home), QStringLiteral("{zuvi:global name='web_name' /}\r\n"));
    EXPECT_EQ(clipboardText(), QStringLiteral("{zuvi:global name='web_name' /}\r\n"));
}

TEST_F(HomePageTest, FourteenOptionsFormOneExclusiveGroup)
{
    QList<QAbstractButton *> options;
    for (int i = 1; i <= 8; ++i)
        options << entry(Page::Home, i);
    for (int i = 0; i <= 5; ++i)
        options << button(Page::Home, QStringLiteral("Option2(%1)").arg(i));
    ASSERT_EQ(options.count(nullptr), 0);
    for (QAbstractButton *option : options) {
        clickOn(option);
        for (QAbstractButton *other : options)
            EXPECT_EQ(other->isChecked(), other == option) << other->objectName().toStdString();
    }
    // A second click on the selected option keeps it selected.
    clickOn(options.first());
    clickOn(options.first());
    EXPECT_TRUE(options.first()->isChecked());
}

TEST_F(HomePageTest, EntriesAreDrawnAboveTheFramesTheyLieOver)
{
    QAbstractButton *option = entry(Page::Home, 4);
    EXPECT_EQ(option->parentWidget(), page(Page::Home));
    const QPoint centre = option->mapTo(page(Page::Home), option->rect().center());
    EXPECT_EQ(page(Page::Home)->childAt(centre), option);
}

} // namespace
