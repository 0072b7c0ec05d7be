#include "core/catalog/homebuilders.h"
#include "core/catalog/twips.h"
#include "shell/failurenotice.h"
#include "shell/parameterbox.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QRadioButton>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The home page's drop-downs, each with the table of items it offers.
struct DropDown {
    const char *name;
    QStringList (*items)();
};
const DropDown kDropDowns[] = {
    {"columnAttribute", columnAttributeItems}, {"otherField", otherFieldItems},
    {"articleTimeStyle", timeStyleItems},      {"articleAttribute", articleAttributeItems},
    {"articleOrder", orderingItems},
};

class HomeBuildersTest : public PagesFixture
{
protected:
    QLineEdit *box(const char *name) const
    {
        return page(Page::Home)->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    QComboBox *combo(const char *name) const
    {
        return page(Page::Home)->findChild<QComboBox *>(QString::fromLatin1(name));
    }
    QAbstractButton *layout(int i) const { return button(Page::Home, QStringLiteral("articleLayout%1").arg(i)); }
    QAbstractButton *clickCount() const { return button(Page::Home, QStringLiteral("articleClicks")); }

    // Picks an item the way a user does: opens the list and clicks the item.
    static void choose(QComboBox *combo, const QString &item)
    {
        const int index = combo->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QRect rect = list->visualRect(list->model()->index(index, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        ASSERT_TRUE(QTest::qWaitFor([list] { return !list->window()->isVisible(); }));
    }
    // The names of the checked options of the page.
    QStringList checkedOptions() const
    {
        QStringList names;
        for (QRadioButton *b : page(Page::Home)->findChildren<QRadioButton *>()) {
            if (b->isChecked())
                names << b->objectName();
        }
        return names;
    }
    void expectBoxAndClipboard(const QString &text)
    {
        EXPECT_EQ(outputText(Page::Home), text);
        EXPECT_EQ(clipboardText(), text);
    }
    static QString menu(const QString &opening)
    {
        return opening + QStringLiteral("\r\n<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n");
    }
    static QString layoutOne(const QString &opening)
    {
        return opening + QStringLiteral("\r\n<li>\r\n<a href='{$field.typeurl}'>{$field.typename}</a>\r\n"
                                        "<a href='{$field.arcurl}'>{$field.title}</a>\r\n</li>\r\n{/zuvi:arclist}\r\n");
    }
};

TEST_F(HomeBuildersTest, DropDownsShowTheirItemsAndStartOnTheFirst)
{
    for (const DropDown &dropDown : kDropDowns) {
        QComboBox *shown = combo(dropDown.name);
        QStringList items;
        for (int i = 0; i < shown->count(); ++i)
            items << shown->itemText(i);
        EXPECT_EQ(items, dropDown.items()) << dropDown.name;
        EXPECT_EQ(shown->currentIndex(), 0) << dropDown.name;
    }
    EXPECT_TRUE(checkedOptions().isEmpty());
}

TEST_F(HomeBuildersTest, AnOpenListShowsItsLongestItemWhole)
{
    int narrowerThanAnItem = 0;
    for (const DropDown &dropDown : kDropDowns) {
        QComboBox *box = combo(dropDown.name);
        const int longest = box->view()->sizeHintForColumn(0);
        narrowerThanAnItem += longest > box->width();
        box->showPopup();
        EXPECT_GE(box->view()->width(), longest) << dropDown.name;
        box->hidePopup();
    }
    // Some closed boxes are narrower than their items; their lists are not.
    EXPECT_GT(narrowerThanAnItem, 0);
}

TEST_F(HomeBuildersTest, MenuIsRebuiltKeystrokeByKeystroke)
{
    QLineEdit *columnId = box("columnId");
    typeText(columnId, QStringLiteral("5"));
    expectBoxAndClipboard(menu("{zuvi:channel type='top' typeid='5' currentstyle='on'}"));
    typeText(box("columnCount"), QStringLiteral("10"));
    choose(combo("columnAttribute"), QStringLiteral("下级栏目"));
    expectBoxAndClipboard(menu("{zuvi:channel type='son' typeid='5' row='10' currentstyle='on'}"));
    QTest::keyClick(columnId, Qt::Key_Backspace);
    expectBoxAndClipboard(menu("{zuvi:channel type='son' row='10' currentstyle='on'}"));
    typeText(columnId, QStringLiteral("a"));
    expectBoxAndClipboard(menu("{zuvi:channel type='son' row='10' currentstyle='on'}"));
    // The builder leaves the option group alone.
    EXPECT_TRUE(checkedOptions().isEmpty());
}

TEST_F(HomeBuildersTest, ChoosingTheShownItemAgainCountsAsAChoice)
{
    choose(combo("columnAttribute"), QStringLiteral("顶级栏目"));
    expectBoxAndClipboard(menu("{zuvi:channel type='top' currentstyle='on'}"));
    choose(combo("articleTimeStyle"), QStringLiteral("2018-08-08"));
    content(Page::Home)->outputBox()->setPlainText(QStringLiteral("edited"));
    choose(combo("articleTimeStyle"), QStringLiteral("2018-08-08"));
    expectBoxAndClipboard(QStringLiteral("{$field.add_time|MyDate='Y-m-d',###}\r\n"));
}

TEST_F(HomeBuildersTest, NeutralItemsEmptyTheBoxAndTheClipboard)
{
    choose(combo("otherField"), QStringLiteral("栏目图片"));
    expectBoxAndClipboard(QStringLiteral("{$field.litpic}\r\n"));
    choose(combo("otherField"), QStringLiteral("下拉选择"));
    expectBoxAndClipboard(QString());
    clickOn(layout(1));
    choose(combo("articleTimeStyle"), QStringLiteral("无时间显示"));
    expectBoxAndClipboard(QString());
    EXPECT_EQ(checkedOptions(), QStringList{"articleLayout1"});   // time styles select nothing
}

TEST_F(HomeBuildersTest, TypingAListParameterSwitchesToLayoutOne)
{
    clickOn(layout(3));
    ASSERT_EQ(checkedOptions(), QStringList{"articleLayout3"});
    typeText(box("articleRows"), QStringLiteral("7"));
    EXPECT_EQ(checkedOptions(), QStringList{"articleLayout0"});
    expectBoxAndClipboard(layoutOne("{zuvi:arclist row='7' orderby='now'}"));

    typeText(box("articleColumnId"), QStringLiteral("12"));
    typeText(box("articleTitleLength"), QStringLiteral("3a"));
    typeText(box("articleSummaryLength"), QStringLiteral("80"));
    expectBoxAndClipboard(layoutOne("{zuvi:arclist typeid='12' infolen='80' row='7' orderby='now'}"));
    QTest::keyClick(box("articleTitleLength"), Qt::Key_Backspace);
    expectBoxAndClipboard(layoutOne("{zuvi:arclist typeid='12' titlelen='3' infolen='80' row='7' orderby='now'}"));
}

TEST_F(HomeBuildersTest, ChoosingAnAttributeClearsASelectedGlobalTag)
{
    clickOn(entry(Page::Home, 4));
    choose(combo("articleAttribute"), QStringLiteral("推荐[c]"));
    EXPECT_EQ(checkedOptions(), QStringList{"articleLayout0"});
    expectBoxAndClipboard(layoutOne("{zuvi:arclist flag='c' orderby='now'}"));
    clickOn(entry(Page::Home, 2));
    choose(combo("articleOrder"), QStringLiteral("随机排序"));
    EXPECT_EQ(checkedOptions(), QStringList{"articleLayout0"});
    expectBoxAndClipboard(layoutOne("{zuvi:arclist flag='c' orderby='rand'}"));
}

TEST_F(HomeBuildersTest, LayoutOptionsUseTheCurrentInputs)
{
    typeText(box("articleColumnId"), QStringLiteral("3"));
    clickOn(layout(4));
    expectBoxAndClipboard(QStringLiteral("{zuvi:arclist typeid='3' orderby='now'}\r\n<li>\r\n<a href='{$field.arcurl}'>{$field.title}</a>\r\n"
                                         "<p>{$field.seo_description}...</p>\r\n</li>\r\n{/zuvi:arclist}\r\n"));
    clickOn(clickCount());
    expectBoxAndClipboard(QStringLiteral("{$field.click}\r\n"));
    EXPECT_EQ(checkedOptions(), QStringList{"articleClicks"});
    // With nothing typed, layout one starts with the shortest opening line.
    QTest::keyClick(box("articleColumnId"), Qt::Key_Backspace);
    clickOn(layout(0));
    expectBoxAndClipboard(layoutOne("{zuvi:arclist orderby='now'}"));
}

TEST_F(HomeBuildersTest, PreviewPicturesShowAtTheirNaturalSize)
{
    const QSize sizes[] = {{120, 72}, {120, 74}, {105, 70}, {111, 70}, {104, 70}};
    for (int i = 0; i < 5; ++i) {
        auto *image = page(Page::Home)->findChild<QLabel *>(QStringLiteral("articleLayoutPicture%1").arg(i));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size(), sizes[i]) << i;
        EXPECT_FALSE(image->pixmap().isNull()) << i;
        EXPECT_EQ(image->pixmap().deviceIndependentSize().toSize(), sizes[i]) << i;
        EXPECT_EQ(image->pos(), toPixels(content(Page::Home)->catalog().control(image->objectName())->at).topLeft())
            << i;
    }
}

} // namespace

namespace {

// A box holds up to 65535 characters, more than a line edit's default of
// 32767: a paste up to the limit is kept whole, a longer one is cut at the
// limit, without half a character at the cut, and the user is told without
// losing the keyboard. The snippet is built from what the box keeps.
TEST_F(HomeBuildersTest, APasteIsKeptUpToTheBoxLimitAndCutThere)
{
    constexpr qsizetype kLimit = 65535;
    const QString emoji = QStringLiteral("😀");   // two UTF-16 units
    struct Case {
        const char *what;
        QString before;        // the box's text before; the cursor at its end
        bool selectAll;        // the paste goes over the whole text
        QString pasted;
        QString kept;          // the box's text after
        bool told;
    };
    const Case cases[] = {
        {"exactly the limit", {}, false, QString(kLimit, u'7'), QString(kLimit, u'7'), false},
        {"one over the limit", {}, false, QString(kLimit + 1, u'7'), QString(kLimit, u'7'), true},
        {"a megabyte", {}, false, QString(1 << 20, u'7'), QString(kLimit, u'7'), true},
        {"after text already there", QStringLiteral("12"), false, QString(kLimit, u'7'),
         QStringLiteral("12") + QString(kLimit - 2, u'7'), true},
        {"over a selected long text", QString(kLimit, u'3'), true, QString(kLimit, u'7'), QString(kLimit, u'7'), false},
        {"a character of two units across the limit", {}, false, QString(kLimit - 1, u'7') + emoji,
         QString(kLimit - 1, u'7'), true},
        {"a character of two units just within", {}, false, QString(kLimit - 2, u'7') + emoji,
         QString(kLimit - 2, u'7') + emoji, false},
    };
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Home)));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QLineEdit *rows = box("articleRows");
        rows->setText(c.before);
        if (FailureNotice *old = page(Page::Home)->findChild<FailureNotice *>(QStringLiteral("PasteCutNotice")))
            old->hide();
        QApplication::clipboard()->setText(c.pasted);
        rows->setFocus();
        if (c.selectAll)
            rows->selectAll();
        QTest::keySequence(rows, QKeySequence::Paste);

        // The texts are compared without printing them.
        EXPECT_EQ(rows->text().size(), c.kept.size());
        EXPECT_TRUE(rows->text() == c.kept);
        EXPECT_EQ(rows->cursorPosition(), c.kept.size());
        const auto *notice = page(Page::Home)->findChild<FailureNotice *>(QStringLiteral("PasteCutNotice"));
        EXPECT_EQ(notice && notice->isVisible(), c.told);
        if (c.told && notice) {
            EXPECT_EQ(notice->message(), pasteCutMessage());
            EXPECT_TRUE(notice->message().contains(QStringLiteral("65535")));
            EXPECT_FALSE(notice->isModal());
            EXPECT_EQ(QApplication::focusWidget(), rows);
        }
        // A numeric text goes into the snippet whole, a cut one as kept.
        if (c.kept.size() > 2 && !c.kept.endsWith(emoji)) {
            EXPECT_TRUE(outputText(Page::Home).startsWith(QStringLiteral("{zuvi:arclist row='") + c.kept + u'\''));
        }
        EXPECT_TRUE(clipboardText() == outputText(Page::Home));
    }
}

} // namespace
