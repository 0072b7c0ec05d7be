#include "pages/home/homepage.h"

#include "core/catalog/pagetable.h"
#include "core/catalog/pageview.h"
#include "core/catalog/snippet.h"
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
      m_columnId(widget<QLineEdit>(QStringLiteral("columnId"))),
      m_columnCount(widget<QLineEdit>(QStringLiteral("columnCount"))),
      m_columnAttribute(fill(widget<QComboBox>(QStringLiteral("columnAttribute")), columnAttributeItems())),
      m_otherField(fill(widget<QComboBox>(QStringLiteral("otherField")), otherFieldItems())),
      m_articleColumnId(widget<QLineEdit>(QStringLiteral("articleColumnId"))),
      m_articleTitleLength(widget<QLineEdit>(QStringLiteral("articleTitleLength"))),
      m_articleRows(widget<QLineEdit>(QStringLiteral("articleRows"))),
      m_articleSummaryLength(widget<QLineEdit>(QStringLiteral("articleSummaryLength"))),
      m_articleTimeStyle(fill(widget<QComboBox>(QStringLiteral("articleTimeStyle")), timeStyleItems())),
      m_articleAttribute(fill(widget<QComboBox>(QStringLiteral("articleAttribute")), articleAttributeItems())),
      m_articleOrder(fill(widget<QComboBox>(QStringLiteral("articleOrder")), orderingItems()))
{
    // Option `option` of articleListSnippet: the layouts, then the click count.
    for (int option = 0; option <= kArticleLayouts; ++option) {
        const QString name = option < kArticleLayouts ? QStringLiteral("articleLayout%1").arg(option)
                                                      : QStringLiteral("articleClicks");
        auto *button = widget<QAbstractButton>(name);
        m_articleOptions << button;
        connect(button, &QAbstractButton::clicked, this, [this, option] { showArticleList(option); });
    }

    // Every edit of a box counts: keystrokes, deletions, pastes. A choice
    // counts also when the user picks the item already shown, so the
    // drop-downs report `activated`, not a change of index.
    for (QLineEdit *box : {m_columnId, m_columnCount})
        connect(box, &QLineEdit::textChanged, this, &HomePage::rebuildMenu);
    connect(m_columnAttribute, &QComboBox::activated, this, &HomePage::rebuildMenu);
    connect(m_otherField, &QComboBox::activated, this, &HomePage::showOtherField);
    for (QLineEdit *box : {m_articleColumnId, m_articleTitleLength, m_articleRows, m_articleSummaryLength})
        connect(box, &QLineEdit::textChanged, this, &HomePage::rebuildInLayoutOne);
    for (QComboBox *choice : {m_articleAttribute, m_articleOrder})
        connect(choice, &QComboBox::activated, this, &HomePage::rebuildInLayoutOne);
    connect(m_articleTimeStyle, &QComboBox::activated, this, &HomePage::showTimeStyle);
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
    return ArticleListInputs{.columnId = m_articleColumnId->text(),
                             .attribute = m_articleAttribute->currentText(),
                             .titleLength = m_articleTitleLength->text(),
                             .summaryLength = m_articleSummaryLength->text(),
                             .rows = m_articleRows->text(),
                             .ordering = m_articleOrder->currentText()};
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
    m_articleOptions.first()->setChecked(true);
    showArticleList(0);
}

void HomePage::showTimeStyle()
{
    if (const auto lines = timeStyleSnippet(m_articleTimeStyle->currentText()))
        view().present(snippetText(*lines));
}
