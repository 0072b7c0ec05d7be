#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QButtonGroup>

namespace {

using HomePageTest = PagesFixture;

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
    for (int i = 0; i < 5; ++i)
        options << button(Page::Home, QStringLiteral("articleLayout%1").arg(i));
    options << button(Page::Home, QStringLiteral("articleClicks"));
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
