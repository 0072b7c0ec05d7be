// The code, the search and the tests find a page's controls by the names the
// page data gives them. Building the pages looks up every box, drop-down and
// option their code wires; a name the data lacks stops the program there.

#include "core/catalog/pagebuilders.h"
#include "core/catalog/tagbuilder.h"
#include "core/catalog/tagsearch.h"
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

// A tag read back fills its builder's controls by these names: a box for
// each number, a drop-down holding the builder's items for each choice, and
// an option button for each layout.
TEST_F(ControlNames, EveryBuilderInputNamesAControlThatHoldsItsValues)
{
    for (const PageBuilder &builder : pageBuilders()) {
        qsizetype input = 0;
        for (const OpeningPart &part : builder.builder().opening) {
            if (part.kind == OpeningPart::Kind::Text)
                continue;
            ASSERT_LT(input, qsizetype(builder.inputControls.size()));
            const QString name = QString::fromLatin1(builder.inputControls[size_t(input++)]);
            QWidget *control = page(builder.page)->findChild<QWidget *>(name);
            if (part.kind == OpeningPart::Kind::Number) {
                EXPECT_NE(qobject_cast<QLineEdit *>(control), nullptr) << name.toStdString();
            } else if (auto *dropDown = qobject_cast<QComboBox *>(control)) {
                QStringList items;
                for (int i = 0; i < dropDown->count(); ++i)
                    items << dropDown->itemText(i);
                EXPECT_EQ(items, choiceItems(*part.choices)) << name.toStdString();
            } else {
                ADD_FAILURE() << name.toStdString() << " is no drop-down";
            }
        }
        for (const char *option : builder.layoutOptions)
            EXPECT_NE(page(builder.page)->findChild<QAbstractButton *>(QString::fromLatin1(option)), nullptr) << option;
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
