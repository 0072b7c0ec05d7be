// Every entry of every tag page, clicked on the real widgets: it is selected
// and every other option of the page cleared, whatever frame holds it, and
// its snippet, with CR LF after each line, is in the output box and on the
// clipboard. The entries come from the page data.
#include "core/catalog/snippet.h"
#include "tests/support/pagedata.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QRadioButton>

namespace {

class EveryEntry : public PagesFixture, public testing::WithParamInterface<int> {};

// The entries in an order that keeps crossing the page: first, last, second,
// second to last, and so on.
QList<const CatalogControl *> zigzag(QList<const CatalogControl *> entries)
{
    QList<const CatalogControl *> order;
    while (!entries.isEmpty()) {
        order << entries.takeFirst();
        if (!entries.isEmpty())
            order << entries.takeLast();
    }
    return order;
}

TEST_P(EveryEntry, SelectsItAloneAndPresentsItsSnippet)
{
    const int number = GetParam();
    goTo(number);
    const PageCatalog &data = pageData(number);
    const QList<QRadioButton *> options = page(number)->findChildren<QRadioButton *>();
    for (const CatalogControl *control : zigzag(data.entries())) {
        QAbstractButton *clicked = entry(number, control->index);
        ASSERT_NE(clicked, nullptr) << control->name.toStdString();
        EXPECT_EQ(clicked->text(), control->caption);
        EXPECT_EQ(clicked->parentWidget()->objectName(),
                  control->onPage() ? page(number)->objectName() : control->frame);

        clickOn(clicked);
        for (QRadioButton *option : options)
            EXPECT_EQ(option->isChecked(), option == clicked)
                << "after " << control->name.toStdString() << ": " << option->objectName().toStdString();
        EXPECT_EQ(content(number)->selectedOption(), clicked);
        const QString expected = snippetText(control->lines);
        EXPECT_EQ(outputText(number), expected) << control->name.toStdString();
        EXPECT_EQ(clipboardText().toUtf8(), expected.toUtf8()) << control->name.toStdString();
    }

    // The selected entry clicked again stays selected and copies again.
    const CatalogControl *last = zigzag(data.entries()).last();
    QApplication::clipboard()->setText(QStringLiteral("elsewhere"));
    clickOn(entry(number, last->index));
    EXPECT_TRUE(entry(number, last->index)->isChecked());
    EXPECT_EQ(clipboardText(), snippetText(last->lines));
}

INSTANTIATE_TEST_SUITE_P(TagPages, EveryEntry, testing::Range(int(Page::Home), int(Page::ExtensionFunctions) + 1),
                         [](const testing::TestParamInfo<int> &info) {
                             return std::string(pageInfo(info.param).windowName);
                         });

} // namespace
