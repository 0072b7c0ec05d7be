#include "pages/home/homepage.h"

#include "shell/navigation.h"
#include "shell/pagefactory.h"
#include "shell/pagewindow.h"
#include "shell/tagmechanism.h"

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

HomePage::HomePage(PageWindow *window)
    : CatalogPage(window, catalogFileName(Page::Home), TagPage::Selection::ToolkitGroup, QString()),
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
    for (int i = 0; i <= kArticleLayouts; ++i) {
        auto *option = widget<QAbstractButton>(QStringLiteral("Option2(%1)").arg(i));
        m_layoutOptions << option;
        connect(option, &QAbstractButton::clicked, this, [this, i] { Option2_Click(qint16(i)); });
    }

    // A choice counts also when the user picks the item already shown, so
    // the drop-downs report `activated`, not a change of index.
    connect(m_columnAttribute, &QComboBox::activated, this, &HomePage::Combo1_Click);
    connect(m_otherField, &QComboBox::activated, this, &HomePage::Combo2_Click);
    connect(m_timeStyle, &QComboBox::activated, this, &HomePage::Combo3_Click);
    connect(m_articleAttribute, &QComboBox::activated, this, &HomePage::Combo4_Click);
    connect(m_ordering, &QComboBox::activated, this, &HomePage::Combo5_Click);
    // Every edit of a box counts: keystrokes, deletions, pastes.
    connect(m_columnId, &QLineEdit::textChanged, this, &HomePage::Text2_Change);
    connect(m_columnCount, &QLineEdit::textChanged, this, &HomePage::Text3_Change);
    connect(m_listColumnId, &QLineEdit::textChanged, this, &HomePage::Text4_Change);
    connect(m_titleLength, &QLineEdit::textChanged, this, &HomePage::Text5_Change);
    connect(m_rows, &QLineEdit::textChanged, this, &HomePage::Text6_Change);
    connect(m_summaryLength, &QLineEdit::textChanged, this, &HomePage::Text7_Change);
}

void HomePage::writeAndCopy(const QStringList &lines)
{
    writeSnippet(view(), lines);
    copyToClipboard(view());
}

void HomePage::rebuildMenu()
{
    writeAndCopy(navigationMenuSnippet(m_columnAttribute->currentText(), m_columnId->text(), m_columnCount->text()));
}

void HomePage::Combo1_Click() { rebuildMenu(); }
void HomePage::Text2_Change() { rebuildMenu(); }
void HomePage::Text3_Change() { rebuildMenu(); }

void HomePage::Combo2_Click()
{
    if (const auto lines = otherFieldSnippet(m_otherField->currentText()))
        writeAndCopy(*lines);
}

ArticleListInputs HomePage::articleListInputs() const
{
    return ArticleListInputs{m_listColumnId->text(), m_articleAttribute->currentText(), m_titleLength->text(),
                             m_summaryLength->text(), m_rows->text(), m_ordering->currentText()};
}

void HomePage::Option2_Click(qint16 index)
{
    if (const auto lines = articleListSnippet(index, articleListInputs()))
        writeAndCopy(*lines);
}

void HomePage::rebuildInLayoutOne()
{
    // Selecting layout one clears whatever else of the fourteen was selected;
    // the snippet is written once, here, from the current inputs.
    m_layoutOptions.first()->setChecked(true);
    Option2_Click(0);
}

void HomePage::Text4_Change() { rebuildInLayoutOne(); }
void HomePage::Text5_Change() { rebuildInLayoutOne(); }
void HomePage::Text6_Change() { rebuildInLayoutOne(); }
void HomePage::Text7_Change() { rebuildInLayoutOne(); }
void HomePage::Combo4_Click() { rebuildInLayoutOne(); }
void HomePage::Combo5_Click() { rebuildInLayoutOne(); }

void HomePage::Combo3_Click()
{
    if (const auto lines = timeStyleSnippet(m_timeStyle->currentText()))
        writeAndCopy(*lines);
}
