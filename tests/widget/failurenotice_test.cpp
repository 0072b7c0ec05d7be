// The failure notice's copy button: what it copies, when it is shown, and
// what its caption tells the user.

#include "shell/failurenotice.h"
#include "tests/support/fakeclipboard.h"
#include "tests/support/qtprinters.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class FailureNoticeCopy : public testing::Test
{
protected:
    void SetUp() override
    {
        QApplication::clipboard()->setText(QStringLiteral("before the test"));
        notice->offerDetailCopy(QStringLiteral("复制网址"), clipboard);
        copy = notice->copyButton();
        ASSERT_NE(copy, nullptr);
    }

    FakeClipboard clipboard;
    QWidget window;
    FailureNotice *notice = new FailureNotice(&window, QStringLiteral("Notice"), true);
    QPushButton *copy = nullptr;
};

TEST_F(FailureNoticeCopy, CopiesTheDetailShownAndStartsAfreshWithTheNextOne)
{
    const QString first = QStringLiteral("https://example.com/第一/?a=1&b=2");
    notice->showFailure(QStringLiteral("无法打开"), first);
    EXPECT_TRUE(copy->isVisible());
    EXPECT_EQ(copy->text(), QStringLiteral("复制网址"));
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), first);
    EXPECT_EQ(copy->text(), QStringLiteral("已复制"));

    const QString second = QStringLiteral("https://example.com/second/");
    notice->showFailure(QStringLiteral("无法打开"), second);
    EXPECT_EQ(copy->text(), QStringLiteral("复制网址"));
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), second);

    // Without a detail there is nothing to copy.
    notice->showFailure(QStringLiteral("无法打开"));
    EXPECT_FALSE(copy->isVisible());
    EXPECT_FALSE(notice->detailLine()->isVisible());
}

TEST_F(FailureNoticeCopy, ARefusedCopySaysSoAndLeavesTheLineToCopyByHand)
{
    clipboard.refuse();
    const QString detail = QStringLiteral("https://example.com/");
    notice->showFailure(QStringLiteral("无法打开"), detail);
    copy->click();

    EXPECT_EQ(clipboard.refused, QStringList{detail});
    EXPECT_NE(copy->text(), QStringLiteral("已复制"));
    EXPECT_NE(copy->text(), QStringLiteral("复制网址"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before the test"));
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->detailLine()->isVisible());
}

} // namespace
