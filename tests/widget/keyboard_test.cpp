#include "core/catalog/pagecatalog.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QMap>
#include <QRadioButton>
#include <QSet>

namespace {

class KeyboardTest : public PagesFixture
{
protected:
    // Presses a key on whatever has the focus in the page's window.
    void press(int number, Qt::Key key)
    {
        QWidget *target = page(number)->focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key);
    }
    QString focused(int number) const
    {
        QWidget *w = page(number)->focusWidget();
        return w ? w->objectName() : QString();
    }
    // The option buttons Tab visits in one round from the own button.
    QStringList tabStopsOfOneRound(int number)
    {
        QStringList options;
        page(number)->ownButton()->setFocus();
        for (int i = 0; i < 200; ++i) {
            press(number, Qt::Key_Tab);
            if (page(number)->focusWidget() == page(number)->ownButton())
                break;
            if (qobject_cast<QRadioButton *>(page(number)->focusWidget()))
                options << focused(number);
        }
        return options;
    }
};

TEST_F(KeyboardTest, TabStopsOncePerGroupOfEntries)
{
    goTo(Page::List);
    const QStringList stops = tabStopsOfOneRound(Page::List);
    // Five frames and the row of entries on the page itself.
    const PageCatalog &catalog = content(Page::List)->catalog();
    QSet<QString> groups;
    for (const QString &name : stops)
        groups.insert(catalog.shownInFrame(*catalog.control(name)));
    EXPECT_EQ(stops.size(), 6) << stops.join(u' ').toStdString();
    EXPECT_EQ(groups.size(), 6);
}

// A keyboard user arrows to the option wanted and goes on with Tab: where
// Tab leads must not depend on which option of the group that is.
TEST_F(KeyboardTest, TabLeavesAGroupForTheSameControlWhicheverOptionIsChosen)
{
    for (int number = kFirstPage; number < kLastPage; ++number) {
        goTo(number);
        const PageCatalog &catalog = content(number)->catalog();
        QMap<QString, QStringList> groups;
        for (const CatalogControl &control : catalog.controls()) {
            if (control.kind == CatalogControl::Kind::Entry || control.kind == CatalogControl::Kind::Option)
                groups[catalog.shownInFrame(control)] << control.name;
        }
        for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
            QMap<QString, QStringList> optionsByNext;
            for (const QString &name : group.value()) {
                QAbstractButton *option = button(number, name);
                ASSERT_NE(option, nullptr) << name.toStdString();
                option->click();
                option->setFocus();
                press(number, Qt::Key_Tab);
                optionsByNext[focused(number)] << name;
            }
            EXPECT_EQ(optionsByNext.size(), 1)
                << "page " << number << ", group " << group.key().toStdString() << ": Tab from its options leads to "
                << [&] {
                       QStringList parts;
                       for (auto it = optionsByNext.cbegin(); it != optionsByNext.cend(); ++it)
                           parts << it.key() + QStringLiteral(" (from ") + it.value().join(u' ') + u')';
                       return parts.join(QStringLiteral(", ")).toStdString();
                   }();
        }
    }
}

TEST_F(KeyboardTest, ArrowsChooseTheNextEntryOfTheGroupAndWrap)
{
    goTo(Page::List);
    entry(Page::List, 0)->setFocus();
    press(Page::List, Qt::Key_Down);
    EXPECT_EQ(focused(Page::List), QStringLiteral("listPageTag1"));
    EXPECT_TRUE(entry(Page::List, 1)->isChecked());
    EXPECT_EQ(clipboardText(), QStringLiteral("{zuvi:position style=' ' /}\r\n"));
    EXPECT_EQ(outputText(Page::List), clipboardText());
    press(Page::List, Qt::Key_Up);
    press(Page::List, Qt::Key_Up);
    // Up from the first of 通用标签 wraps to its last entry, 5.
    EXPECT_EQ(focused(Page::List), QStringLiteral("listPageTag5"));
    EXPECT_TRUE(entry(Page::List, 5)->isChecked());
    EXPECT_EQ(clipboardText(), QStringLiteral("<a href=\"{$zuvi.field.typeid|gettoptype=###,'typeurl'}\">\r\n"
                                              "{$zuvi.field.typeid|gettoptype=###,'typename'}\r\n</a>\r\n"));
}

TEST_F(KeyboardTest, TabReturnsToTheChosenEntryOfAGroup)
{
    clickOn(entry(Page::Home, 7));
    const QStringList stops = tabStopsOfOneRound(Page::Home);
    EXPECT_TRUE(stops.contains(QStringLiteral("homePageTag7"))) << stops.join(u' ').toStdString();
    EXPECT_FALSE(stops.contains(QStringLiteral("homePageTag1")));
    // Right moves along the row of global tags.
    entry(Page::Home, 7)->setFocus();
    press(Page::Home, Qt::Key_Right);
    EXPECT_TRUE(entry(Page::Home, 8)->isChecked());
    EXPECT_EQ(clipboardText(), QStringLiteral("{zuvi:global name='web_copyright' /}\r\n"));
}

TEST_F(KeyboardTest, SpaceChoosesTheFocusedEntry)
{
    goTo(Page::Shop);
    entry(Page::Shop, 0)->setFocus();
    press(Page::Shop, Qt::Key_Space);
    EXPECT_TRUE(entry(Page::Shop, 0)->isChecked());
    EXPECT_EQ(clipboardText(), outputText(Page::Shop));
    EXPECT_NE(clipboardText(), QStringLiteral("before the test"));
}

} // namespace
