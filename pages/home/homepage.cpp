#include "pages/home/homepage.h"

#include "core/pagetable.h"
#include "core/pageview.h"
#include "core/snippet.h"
#include "shell/pagewindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace {

QComboBox *fill(QComboBox *combo, const QStringList &items)
{
    combo->addItems(items);
    combo->setCurrentIndex(0);
    return combo;
}

} // namespace

HomePage::HomePage(PageWindow *window, Clipboard &clipboard)
    : CatalogPage(window, Page::Home, clipboard),
      m_columnId(widget<QLineEdit>(QStringLiteral("Text2"))),
      m_columnCount(widget<QLineEdit>(QStringLiteral("Text3"))),
      m_columnAttribute(fill(widget<QComboBox>(QStringLiteral("Combo1")), columnAttributeItems())),
      m_otherField(fill(widget<QComboBox>(QStringLiteral("Combo2")), otherFieldItems())),
      m_listColumnId(widget<QLineEdit>(QStringLiteral("Text4"))),
      m_titleLength(widget<QLineEdit>(QStringLiteral("Text5"))),
      m_rows(widget<QLineEdit>(QStringLiteral("Text6"))),
      m_summaryLength(widget<QLineEdit>(QStringLiteral("Text7"))),
      m_timeStyle(fill(widget<QComboBox>(QStringLiteral("Combo3")), timeStyleItems())),
      m_articleAttribute(fill(widget<QComboBox>(QStringLiteral("Combo4")), articleAttributeItems())),
      m_ordering(fill(widget<QComboBox>(QStringLiteral("Combo5")), orderingItems()))
{
    for (int layout = 0; layout <= kArticleLayouts; ++layout) {
        auto *option = widget<QAbstractButton>(QStringLiteral("Option2(%1)").arg(layout));
        m_layoutOptions << option;
        connect(option, &QAbstractButton::clicked, this, [this, layout] { showArticleList(layout); });
    }

    // Every edit of a box counts: keystrokes, deletions, pastes. A choice
    // counts also when the user picks the item already shown, so the
    // drop-downs report `activated`, not a change of index.
    for (QLineEdit *box : {m_columnId, m_columnCount})
        connect(box, &QLineEdit::textChanged, this, &HomePage::rebuildMenu);
    connect(m_columnAttribute, &QComboBox::activated, this, &HomePage::rebuildMenu);
    connect(m_otherField, &QComboBox::activated, this, &HomePage::showOtherField);
    for (QLineEdit *box : {m_listColumnId, m_titleLength, m_rows, m_summaryLength})
        connect(box, &QLineEdit::textChanged, this, &HomePage::rebuildInLayoutOne);
    for (QComboBox *choice : {m_articleAttribute, m_ordering})
        connect(choice, &QComboBox::activated, this, &HomePage::rebuildInLayoutOne);
    connect(m_timeStyle, &QComboBox::activated, this, &HomePage::showTimeStyle);
}

void HomePage::rebuildMenu()
{
    view().present(snippetText(
        navigationMenuSnippet(m_columnAttribute->currentText(), m_columnId->text(), m_columnCount->text())));
}

void HomePage::showOtherField()
{
    if (const auto lines = otherFieldSnippet(m_otherField->currentText()))
        view().present(snippetText(*lines));
}

ArticleListInputs HomePage::articleListInputs() const
{
    return ArticleListInputs{.columnId = m_listColumnId->text(),
                             .attribute = m_articleAttribute->currentText(),
                             .titleLength = m_titleLength->text(),
                             .summaryLength = m_summaryLength->text(),
                             .rows = m_rows->text(),
                             .ordering = m_ordering->currentText()};
}

void HomePage::showArticleList(int layout)
{
    if (const auto lines = articleListSnippet(layout, articleListInputs()))
        view().present(snippetText(*lines));
}

void HomePage::rebuildInLayoutOne()
{
    // Selecting layout one clears whatever else of the page was selected; the
    // snippet is written once, here, from the current inputs.
    m_layoutOptions.first()->setChecked(true);
    showArticleList(0);
}

void HomePage::showTimeStyle()
{
    if (const auto lines = timeStyleSnippet(m_timeStyle->currentText()))
        view().present(snippetText(*lines));
}
