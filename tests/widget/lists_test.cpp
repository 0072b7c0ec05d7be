#include "core/catalog/pagetable.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QToolTip>

#include <QLineEdit>

namespace {

// The list loop snippet as the output box and the clipboard show it, for the
// given opening tag; its other three lines never change.
QString listTag(const QString &firstLine)
{
    return firstLine + QStringLiteral("\r\n<a href='{$field.arcurl}'>{$field.title}</a>\r\n"
                                      "<span>{$field.seo_description}...</span>\r\n{/zuvi:list}\r\n");
}

class ListPageTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        goTo(Page::List);
    }
    QLineEdit *box(const char *name) const
    {
        return page(Page::List)->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    QAbstractButton *listEntry(int index) const { return entry(Page::List, index); }
    QList<int> selectedEntries() const
    {
        QList<int> selected;
        for (int i = 0; i <= 20; ++i) {
            if (listEntry(i)->isChecked())
                selected << i;
        }
        return selected;
    }
};

struct Keystroke {
    const char *box;
    const char16_t *typed;   // one character, or nullptr for a BackSpace
    const char16_t *boxText;
    const char16_t *firstLine;
    bool copies;
};

// One session of typing, keystroke by keystroke, on a fresh page.
const Keystroke kTyping[] = {
    {"listTitleLength", u"2", u"2", u"{zuvi:list titlelen='2'}", false},
    {"listTitleLength", u"0", u"20", u"{zuvi:list titlelen='20'}", false},
    {"listPageSize", u"1", u"1", u"{zuvi:list titlelen='20' pagesize='1'}", true},
    {"listPageSize", u"0", u"10", u"{zuvi:list titlelen='20' pagesize='10'}", true},
    {"listSummaryLength", u"a", u"a", u"{zuvi:list titlelen='20' pagesize='10'}", true},
    {"listSummaryLength", u"b", u"ab", u"{zuvi:list titlelen='20' pagesize='10'}", true},
    {"listSummaryLength", u"c", u"abc", u"{zuvi:list titlelen='20' pagesize='10'}", true},
    {"listPageSize", nullptr, u"1", u"{zuvi:list titlelen='20' pagesize='1'}", true},
    {"listTitleLength", nullptr, u"2", u"{zuvi:list titlelen='2' pagesize='1'}", false},
    {"listTitleLength", u"x", u"2x", u"{zuvi:list pagesize='1'}", false},
    {"listSummaryLength", nullptr, u"ab", u"{zuvi:list pagesize='1'}", true},
    {"listSummaryLength", nullptr, u"a", u"{zuvi:list pagesize='1'}", true},
    {"listSummaryLength", nullptr, u"", u"{zuvi:list pagesize='1'}", true},
    {"listSummaryLength", u"1", u"1", u"{zuvi:list infolen='1' pagesize='1'}", true},
    {"listSummaryLength", u"6", u"16", u"{zuvi:list infolen='16' pagesize='1'}", true},
    {"listSummaryLength", u"0", u"160", u"{zuvi:list infolen='160' pagesize='1'}", true},
    {"listPageSize", nullptr, u"", u"{zuvi:list infolen='160'}", true},
    {"listTitleLength", u" ", u"2x ", u"{zuvi:list infolen='160'}", false},
};

TEST_F(ListPageTest, EveryKeystrokeRebuildsTheSnippetAndOnlyTitleLengthKeepsTheClipboard)
{
    EXPECT_EQ(outputText(Page::List), initialOutputText(Page::List));
    for (size_t n = 0; n < std::size(kTyping); ++n) {
        const Keystroke &k = kTyping[n];
        QLineEdit *target = box(k.box);
        ASSERT_NE(target, nullptr) << k.box;
        const QString clipboardBefore = clipboardText();
        if (k.typed)
            typeText(target, QString::fromUtf16(k.typed));
        else
            QTest::keyClick(target, Qt::Key_Backspace);
        const std::string step = "keystroke " + std::to_string(n + 1) + " in " + k.box;
        EXPECT_EQ(target->text(), QString::fromUtf16(k.boxText)) << step;
        const QString expected = listTag(QString::fromUtf16(k.firstLine));
        EXPECT_EQ(outputText(Page::List), expected) << step;
        EXPECT_EQ(clipboardText(), k.copies ? expected : clipboardBefore) << step;
    }
}

TEST_F(ListPageTest, PastingAndSettingTheTextFromCodeCountAsChanges)
{
    QApplication::clipboard()->setText(QStringLiteral("160"));
    QTest::keyClick(box("listSummaryLength"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box("listSummaryLength")->text(), QStringLiteral("160"));
    EXPECT_EQ(outputText(Page::List), listTag(QStringLiteral("{zuvi:list infolen='160'}")));
    EXPECT_EQ(clipboardText(), outputText(Page::List));

    box("listTitleLength")->setText(QStringLiteral("30"));
    EXPECT_EQ(outputText(Page::List), listTag(QStringLiteral("{zuvi:list titlelen='30' infolen='160'}")));
    EXPECT_EQ(clipboardText(), listTag(QStringLiteral("{zuvi:list infolen='160'}")));
}

TEST_F(ListPageTest, AChangeReplacesAnEntrysSnippetAndKeepsTheEntrySelected)
{
    clickOn(listEntry(16));
    ASSERT_EQ(outputText(Page::List).count(QStringLiteral("\r\n")), 20);

    typeText(box("listPageSize"), QStringLiteral("5"));
    EXPECT_EQ(outputText(Page::List), listTag(QStringLiteral("{zuvi:list pagesize='5'}")));
    EXPECT_EQ(outputText(Page::List).count(QStringLiteral("\r\n")), 4);
    EXPECT_EQ(selectedEntries(), QList<int>{16});

    // A click replaces the list snippet but leaves the boxes; the next change
    // reads all three again.
    clickOn(listEntry(3));
    EXPECT_EQ(outputText(Page::List), QStringLiteral("{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}\r\n"));
    EXPECT_EQ(box("listPageSize")->text(), QStringLiteral("5"));
    typeText(box("listTitleLength"), QStringLiteral("8"));
    EXPECT_EQ(outputText(Page::List), listTag(QStringLiteral("{zuvi:list titlelen='8' pagesize='5'}")));
    EXPECT_EQ(clipboardText(), QStringLiteral("{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}\r\n"));
    EXPECT_EQ(selectedEntries(), QList<int>{3});
}

TEST_F(ListPageTest, TheBuilderSelectsNothingOnAFreshPage)
{
    typeText(box("listSummaryLength"), QStringLiteral("9"));
    EXPECT_EQ(selectedEntries(), QList<int>{});
}

TEST_F(ListPageTest, OnlyEntries13And15ShowAHoverTip)
{
    const QString tips[] = {
        QStringLiteral("getall获取类型，0为当前内容页TAG标记，1为获取全部TAG标记"),
        QStringLiteral("瀑布流分页要在模板目录pc/system创建一个模板，命名格式为：arclist_+tagid属性名称，"
                       "如：arclist_index001.htm，里面内容为arclist标签包住的代码片段，不包括arclist标签。"),
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i <= 20; ++i) {
            QAbstractButton *option = listEntry(i);
            QTest::mouseMove(option, option->rect().center());
            const QString expected = i == 13 ? tips[0] : i == 15 ? tips[1] : QString();
            EXPECT_EQ(tipText(option), expected) << "entry " << i << ", pass " << pass + 1;
        }
    }
}

// The long tip of entry 15 is shown as a block of a few lines, not as one
// line running across the screen.
TEST_F(ListPageTest, ALongTipWrapsAtAReadableWidth)
{
    QAbstractButton *option = listEntry(15);
    const QPoint at = option->rect().center();
    QHelpEvent hover(QEvent::ToolTip, at, option->mapToGlobal(at));
    QApplication::sendEvent(option, &hover);
    QWidget *tip = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&tip] { return (tip = shownTip()) != nullptr; }));
    const int lineHeight = tip->fontMetrics().height();
    EXPECT_LE(tip->width(), 640);
    EXPECT_GE(tip->height(), 2 * lineHeight);
    QToolTip::hideText();
}

} // namespace
