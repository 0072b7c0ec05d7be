// The code, the search and the tests find a page's controls by the names the
// page data gives them. Building the pages looks up every box, drop-down and
// option their code wires; a name the data lacks stops the program there.

#include "core/tagsearch.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class ControlNames : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        goTo(Page::Home);   // every page built
    }
};

TEST_F(ControlNames, EveryControlOfThePageDataIsTheOneWidgetOfItsName)
{
    for (int number = Page::Home; number <= Page::ExtensionFunctions; ++number) {
        for (const CatalogControl &control : content(number)->catalog().controls()) {
            const QList<QWidget *> named = page(number)->findChildren<QWidget *>(control.name);
            EXPECT_EQ(named.size(), 1) << "page " << number << ": " << control.name.toStdString();
        }
    }
}

TEST_F(ControlNames, EverySearchItemNamesAControlOfItsPage)
{
    const TagSearch search = TagSearch::forAllPages();
    for (const SearchItem &item : search.items()) {
        QWidget *control = page(item.page)->findChild<QWidget *>(item.control);
        ASSERT_NE(control, nullptr) << "page " << item.page << ": " << item.control.toStdString();
        // An entry is chosen by a click, a builder by typing into its box.
        if (item.builder)
            EXPECT_NE(qobject_cast<QLineEdit *>(control), nullptr) << item.control.toStdString();
        else
            EXPECT_NE(qobject_cast<QAbstractButton *>(control), nullptr) << item.control.toStdString();
    }
}

// The program that dies is this test binary run again for the one test, so
// that the threads of the running application are not forked.
TEST_F(ControlNames, ALookupOfANameThePageLacksStopsTheProgramNamingIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(content(Page::Home)->widget(QStringLiteral("columnIdentifier")),
                 "page 1 has no control named columnIdentifier");
    EXPECT_DEATH(content(Page::List)->widget<QComboBox>(QStringLiteral("listPageSize")),
                 "control listPageSize of page 2 is a ParameterBox, not a QComboBox");
}

} // namespace
