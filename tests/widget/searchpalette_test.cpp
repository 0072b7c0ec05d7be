// The search palette on the real widgets, driven by key events.
#include "shell/failurenotice.h"
#include "shell/parameterbox.h"
#include "shell/searchpalette.h"
#include "tests/support/pagedata.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include "core/catalog/homebuilders.h"
#include "core/catalog/listtag.h"
#include "core/catalog/snippet.h"

#include <QComboBox>
#include <QLabel>

#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>

namespace {

class SearchPaletteTest : public PagesFixture
{
protected:
    // Ctrl+K as the user presses it, on the control that has the focus.
    void pressCtrlK(QWidget *focused)
    {
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_K, Qt::ControlModifier);
    }
    SearchPalette *palette() const { return pages.searchPalette(); }
    QLineEdit *query() const { return palette()->queryField(); }
    QString selectedCaption() const { return palette()->resultList()->currentIndex().data().toString(); }

    struct PageState {
        QString output;
        QAbstractButton *selected;
        bool operator==(const PageState &) const = default;
    };
    PageState state(int number) const { return {outputText(number), content(number)->selectedOption()}; }
};

TEST_F(SearchPaletteTest, OpensFromAnyControlOfAPageAndChangesNothing)
{
    auto *box = page(Page::Home)->findChild<QLineEdit *>(QStringLiteral("columnId"));
    typeText(box, QStringLiteral("12"));
    clickOn(entry(Page::Home, 2));
    const PageState before = state(Page::Home);
    const QString clipboard = clipboardText();
    // Even from a box that would take Ctrl+K as "delete to the end of the line".
    box->setCursorPosition(0);
    pressCtrlK(box);
    ASSERT_NE(palette(), nullptr);
    EXPECT_TRUE(palette()->isVisible());
    EXPECT_TRUE(query()->hasFocus());
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    EXPECT_EQ(selectedCaption(), entry(Page::Home, 1)->text()) << "an empty query lists everything";
    QTest::keyClick(query(), Qt::Key_Escape);
    EXPECT_FALSE(palette()->isVisible());
    EXPECT_TRUE(state(Page::Home) == before);
    EXPECT_EQ(clipboardText(), clipboard);

    // Ctrl+F opens it too.
    QTest::keyClick(content(Page::Home)->outputBox(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(palette()->isVisible());
}

TEST_F(SearchPaletteTest, EnterShowsTheEntrysPageAndClicksItWithTheFocusOnIt)
{
    pressCtrlK(page(Page::Home)->ownButton());
    QTest::keyClicks(query(), QStringLiteral("fenye"));
    EXPECT_EQ(selectedCaption(), QStringLiteral("分页标签"));
    QTest::keyClick(query(), Qt::Key_Return);

    EXPECT_FALSE(palette()->isVisible());
    ASSERT_TRUE(page(Page::List) && page(Page::List)->isVisible());
    EXPECT_FALSE(page(Page::Home)->isVisible());
    QAbstractButton *chosen = entry(Page::List, 3);
    EXPECT_TRUE(chosen->isChecked());
    const QString snippet = snippetText(pageData(Page::List).entry(3)->lines);
    EXPECT_EQ(outputText(Page::List), snippet);
    EXPECT_EQ(clipboardText(), snippet);
    EXPECT_EQ(page(Page::List)->focusWidget(), chosen);
}

TEST_F(SearchPaletteTest, ArrowsMoveThroughTheResultsAndChineseIsFoundAsTyped)
{
    pressCtrlK(page(Page::Home)->ownButton());
    typeText(query(), QStringLiteral("会员"));
    EXPECT_EQ(selectedCaption(), QStringLiteral("会员中心登陆"));
    QTest::keyClick(query(), Qt::Key_Down);
    const QString second = selectedCaption();
    EXPECT_NE(second, QStringLiteral("会员中心登陆"));
    EXPECT_TRUE(second.contains(QStringLiteral("会员"))) << second.toStdString();
    QTest::keyClick(query(), Qt::Key_Up);
    EXPECT_EQ(selectedCaption(), QStringLiteral("会员中心登陆"));
    QTest::keyClick(query(), Qt::Key_PageDown);
    EXPECT_NE(selectedCaption(), QStringLiteral("会员中心登陆"));
    EXPECT_TRUE(query()->hasFocus());
}

TEST_F(SearchPaletteTest, ABuilderShowsItsPageWithTheFocusInItsFirstBox)
{
    goTo(Page::Shop);
    const QString clipboard = clipboardText();
    pressCtrlK(page(Page::Shop)->ownButton());
    QTest::keyClicks(query(), QStringLiteral("lbxh"));
    QTest::keyClick(query(), Qt::Key_Return);
    ASSERT_TRUE(page(Page::List)->isVisible());
    EXPECT_EQ(page(Page::List)->focusWidget(), page(Page::List)->findChild<QWidget *>(QStringLiteral("listTitleLength")));
    EXPECT_EQ(clipboardText(), clipboard) << "choosing a builder copies nothing by itself";
}

TEST_F(SearchPaletteTest, EnterWithoutAMatchKeepsThePaletteOpenAndChangesNothing)
{
    pressCtrlK(page(Page::Home)->ownButton());
    QTest::keyClicks(query(), QStringLiteral("qqxzv"));
    EXPECT_EQ(palette()->resultList()->model()->rowCount(), 0);
    QTest::keyClick(query(), Qt::Key_Return);
    EXPECT_TRUE(palette()->isVisible());
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    EXPECT_EQ(outputText(Page::Home), QString());
    EXPECT_FALSE(page(Page::List));
}

// The list is laid out before it is first shown, while its vertical scroll
// bar is not there yet; the rows must still end where the scroll bar begins.
TEST_F(SearchPaletteTest, TheFirstOpeningIsLaidOutAsEveryLaterOne)
{
    struct Layout {
        QRect firstRow;
        bool horizontalBar;
        QImage rows;
    };
    auto openAndLook = [this] {
        pressCtrlK(page(Page::Home)->ownButton());
        QListView *list = palette()->resultList();
        QApplication::processEvents();
        const Layout layout{list->visualRect(list->model()->index(0, 0)),
                            list->horizontalScrollBar()->isVisible(), list->viewport()->grab().toImage()};
        QTest::keyClick(query(), Qt::Key_Escape);
        return layout;
    };
    const Layout first = openAndLook();
    const Layout second = openAndLook();
    QListView *list = palette()->resultList();
    ASSERT_TRUE(list->verticalScrollBar()->isVisibleTo(palette())) << "the empty query lists more than fits";
    EXPECT_FALSE(first.horizontalBar);
    EXPECT_EQ(first.firstRow, second.firstRow);
    EXPECT_LE(first.firstRow.right(), list->viewport()->rect().right()) << "the page names end under the scroll bar";
    // Page names are drawn at the rows' right end: the same pixels both times.
    EXPECT_TRUE(first.rows == second.rows);
}

// The query takes a paste as a parameter box does: what does not fit is cut,
// and a notice says so while the palette stays open with the keyboard.
TEST_F(SearchPaletteTest, APasteLongerThanTheQueryHoldsIsCutAndTheUserTold)
{
    pressCtrlK(page(Page::Home)->ownButton());
    QApplication::clipboard()->setText(QString(ParameterBox::kMaxLength + 5000, u'z'));
    QTest::keyClick(query(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(query()->text().size(), ParameterBox::kMaxLength);
    EXPECT_EQ(query()->text().count(u'z'), ParameterBox::kMaxLength);
    FailureNotice *notice = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("PasteCutNotice") && window->isVisible())
            notice = qobject_cast<FailureNotice *>(window);
    }
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->message(), pasteCutMessage());
    EXPECT_TRUE(palette()->isVisible());
    EXPECT_TRUE(query()->hasFocus());
    EXPECT_EQ(palette()->resultList()->model()->rowCount(), 0);
}

// ---- A builder's tag pasted back into its builder --------------------------

class EditInBuilderTest : public SearchPaletteTest
{
protected:
    // Opens the palette on `page` and pastes `text` into it as the user
    // does, from the clipboard.
    void pasteIntoPalette(int number, const QString &text)
    {
        pressCtrlK(page(number)->ownButton());
        QApplication::clipboard()->setText(text);
        QTest::keyClick(query(), Qt::Key_V, Qt::ControlModifier);
    }
    QString boxText(int number, const char *name) const
    {
        return content(number)->widget<QLineEdit>(QString::fromLatin1(name))->text();
    }
    QString choice(int number, const char *name) const
    {
        return content(number)->widget<QComboBox>(QString::fromLatin1(name))->currentText();
    }
    // The note of what was not kept, where it shows on page `number`.
    QLabel *shownNote(int number) const
    {
        auto *note = page(number)->findChild<QLabel *>(QStringLiteral("NotKeptNote"));
        return note && note->isVisible() ? note : nullptr;
    }
};

TEST_F(EditInBuilderTest, AHandEditedArticleListOpensInItsLayoutWithEveryInputSet)
{
    goTo(Page::Shop);
    pasteIntoPalette(Page::Shop, QStringLiteral(
        "{zuvi:arclist row=\"5\" limit='0,5' orderby=\"click\"\r\n   typeid=\"2\" flag='h' infolen='80'}\r\n"
        "  <li>\r\n  <a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>\r\n"
        "  <span>{$field.seo_description}...</span>\r\n  </li>\r\n{/zuvi:arclist}\r\n"));
    EXPECT_EQ(selectedCaption(), QStringLiteral("在生成器中编辑：文章列表（布局样式四）"));
    EXPECT_EQ(palette()->resultList()->currentIndex().row(), 0);
    QTest::keyClick(query(), Qt::Key_Return);

    EXPECT_FALSE(palette()->isVisible());
    ASSERT_TRUE(page(Page::Home)->isVisible());
    EXPECT_FALSE(page(Page::Shop)->isVisible());
    EXPECT_EQ(boxText(Page::Home, "articleColumnId"), QStringLiteral("2"));
    EXPECT_EQ(choice(Page::Home, "articleAttribute"), QStringLiteral("头条[h]"));
    EXPECT_EQ(boxText(Page::Home, "articleTitleLength"), QString());
    EXPECT_EQ(boxText(Page::Home, "articleSummaryLength"), QStringLiteral("80"));
    EXPECT_EQ(boxText(Page::Home, "articleRows"), QStringLiteral("5"));
    EXPECT_EQ(choice(Page::Home, "articleOrder"), QStringLiteral("按点击数"));
    EXPECT_TRUE(button(Page::Home, QStringLiteral("articleLayout3"))->isChecked());
    // What the page writes for these inputs, as if the user had typed them.
    const QString rebuilt = snippetText(*articleListSnippet(
        3, ArticleListInputs{.columnId = QStringLiteral("2"), .attribute = QStringLiteral("头条[h]"),
                             .summaryLength = QStringLiteral("80"), .rows = QStringLiteral("5"),
                             .ordering = QStringLiteral("按点击数")}));
    EXPECT_EQ(outputText(Page::Home), rebuilt);
    EXPECT_EQ(clipboardText(), rebuilt);

    QLabel *note = shownNote(Page::Home);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), QStringLiteral("未保留：limit='0,5'"));
    EXPECT_TRUE(content(Page::Home)->outputBox()->geometry().contains(note->geometry()));
    // The note leaves the keyboard in the builder's first box.
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Home)));
    QWidget *focus = QApplication::focusWidget();
    EXPECT_EQ(focus, content(Page::Home)->widget(QStringLiteral("articleColumnId")))
        << (focus ? focus->metaObject()->className() : "none");
    // It speaks of the snippet the edit wrote, and goes with it.
    typeText(focus, QStringLiteral("1"));
    EXPECT_EQ(shownNote(Page::Home), nullptr);
}

TEST_F(EditInBuilderTest, ANavigationMenuTagSetsItsDropDownAndTheEarlierNoteGoes)
{
    pasteIntoPalette(Page::Home, QStringLiteral("{zuvi:channel titlelen='3' typeid='4' row='2'}"));
    QTest::keyClick(query(), Qt::Key_Return);
    ASSERT_NE(shownNote(Page::Home), nullptr);
    EXPECT_EQ(shownNote(Page::Home)->text(), QStringLiteral("未保留：titlelen='3'"));

    pasteIntoPalette(Page::Home, QStringLiteral("  {zuvi:channel row='8' type=\"son\" currentstyle='on'}  "));
    EXPECT_EQ(selectedCaption(), QStringLiteral("在生成器中编辑：导航菜单"));
    QTest::keyClick(query(), Qt::Key_Return);
    ASSERT_TRUE(page(Page::Home)->isVisible());
    EXPECT_EQ(choice(Page::Home, "columnAttribute"), QStringLiteral("下级栏目"));
    EXPECT_EQ(boxText(Page::Home, "columnId"), QString()) << "a box the tag leaves out is emptied";
    EXPECT_EQ(boxText(Page::Home, "columnCount"), QStringLiteral("8"));
    const QString rebuilt = snippetText(navigationMenuSnippet(QStringLiteral("下级栏目"), QString(), QStringLiteral("8")));
    EXPECT_EQ(outputText(Page::Home), rebuilt);
    EXPECT_EQ(clipboardText(), rebuilt);
    EXPECT_EQ(shownNote(Page::Home), nullptr) << "the note of the earlier edit goes";
}

// The title length box rebuilds the list page's snippet without copying
// it; an edit that changes that box alone still leaves the rebuilt snippet
// on the clipboard, not the entry chosen before.
TEST_F(EditInBuilderTest, AListTagChangingTheTitleLengthAloneIsCopied)
{
    goTo(Page::List);
    typeText(content(Page::List)->widget(QStringLiteral("listTitleLength")), QStringLiteral("30"));
    typeText(content(Page::List)->widget(QStringLiteral("listSummaryLength")), QStringLiteral("9"));
    clickOn(entry(Page::List, 3));
    pasteIntoPalette(Page::List, QStringLiteral("{zuvi:list infolen='9' titlelen='31'}"));
    EXPECT_EQ(selectedCaption(), QStringLiteral("在生成器中编辑：列表循环"));
    QTest::keyClick(query(), Qt::Key_Return);
    EXPECT_EQ(boxText(Page::List, "listTitleLength"), QStringLiteral("31"));
    EXPECT_EQ(boxText(Page::List, "listSummaryLength"), QStringLiteral("9"));
    EXPECT_EQ(boxText(Page::List, "listPageSize"), QString());
    const QString rebuilt = snippetText(listTagSnippet(QStringLiteral("31"), QStringLiteral("9"), QString()));
    EXPECT_EQ(outputText(Page::List), rebuilt);
    EXPECT_EQ(clipboardText(), rebuilt);
    EXPECT_EQ(shownNote(Page::List), nullptr);
}

// An entry whose snippet a builder could also read: the entry stays first,
// the edit comes next.
TEST_F(EditInBuilderTest, APastedEntrySnippetStillFindsTheEntryFirst)
{
    const QStringList lines = pageData(Page::CommonTags).entry(4)->lines;
    pasteIntoPalette(Page::Home, lines.join(QStringLiteral("  \n")));
    EXPECT_EQ(selectedCaption(), pageData(Page::CommonTags).entry(4)->caption);
    QTest::keyClick(query(), Qt::Key_Down);
    EXPECT_EQ(selectedCaption(), QStringLiteral("在生成器中编辑：文章列表（布局样式一）"));
}

} // namespace
