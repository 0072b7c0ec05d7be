#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QGroupBox>

// The common tags page and the visual editing page on screen.

namespace {

using OtherUiPagesTest = PagesFixture;

TEST_F(OtherUiPagesTest, TheSwitchTagReplacesALongerSnippetCompletely)
{
    goTo(Page::VisualEditing);
    clickOn(entry(Page::VisualEditing, 1));
    const QString before = outputText(Page::VisualEditing);
    ASSERT_EQ(before.count(QStringLiteral("\r\n")), 18);
    ASSERT_EQ(clipboardText(), before);

    clickOn(entry(Page::VisualEditing, 10));
    const QString expected = QStringLiteral("{zuvi:ui open='off' /}\r\n");
    EXPECT_EQ(outputText(Page::VisualEditing), expected);
    EXPECT_EQ(clipboardText().toUtf8(), expected.toUtf8());
    EXPECT_TRUE(entry(Page::VisualEditing, 10)->isChecked());
    EXPECT_FALSE(entry(Page::VisualEditing, 1)->isChecked());
}

TEST_F(OtherUiPagesTest, PageEntriesLieOverTheFramesSixthRowAndAreDrawnAboveIt)
{
    goTo(Page::CommonTags);
    PageWindow *window = page(Page::CommonTags);
    auto *frame = window->findChild<QGroupBox *>(QStringLiteral("commonTags"));
    ASSERT_NE(frame, nullptr);
    for (int column = 0; column < 4; ++column) {
        QAbstractButton *onPage = entry(Page::CommonTags, 20 + column);
        QAbstractButton *below = entry(Page::CommonTags, 24 + column);
        ASSERT_TRUE(onPage && below) << column;
        EXPECT_EQ(onPage->parentWidget(), window) << 20 + column;
        EXPECT_EQ(below->parentWidget(), frame) << 24 + column;

        // One grid: same column as the frame's last row, one row (24 px) up.
        const QRect rect(onPage->mapTo(window, QPoint(0, 0)), onPage->size());
        const QPoint belowAt = below->mapTo(window, QPoint(0, 0));
        EXPECT_EQ(rect.topLeft(), belowAt - QPoint(0, 24)) << 20 + column;
        EXPECT_TRUE(frame->geometry().contains(rect)) << 20 + column;
        EXPECT_EQ(window->childAt(rect.center()), onPage) << 20 + column;
    }
}

} // namespace
