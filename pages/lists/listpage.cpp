#include "pages/lists/listpage.h"

#include "pages/lists/listtag.h"
#include "shell/navigation.h"
#include "shell/pagefactory.h"
#include "shell/pagewindow.h"
#include "shell/tagmechanism.h"

#include <QLineEdit>

ListPage::ListPage(PageWindow *window)
    : CatalogPage(window, catalogFileName(Page::List), TagPage::Selection::WalkEntries, initialOutputText()),
      m_titleLen(box(QStringLiteral("Text2"))),
      m_infoLen(box(QStringLiteral("Text3"))),
      m_pageSize(box(QStringLiteral("Text4")))
{
    // textChanged reports every change of the text: each keystroke, deletion
    // and paste.
    connect(m_titleLen, &QLineEdit::textChanged, this, &ListPage::Text2_Change);
    connect(m_infoLen, &QLineEdit::textChanged, this, &ListPage::Text3_Change);
    connect(m_pageSize, &QLineEdit::textChanged, this, &ListPage::Text4_Change);
}

QLineEdit *ListPage::box(const QString &name) const
{
    auto *lineEdit = widget<QLineEdit>(name);
    if (!lineEdit)
        qFatal("the list page has no text box %s", qPrintable(name));
    return lineEdit;
}

void ListPage::Text2_Change()
{
    writeListTag();
}

void ListPage::Text3_Change()
{
    writeListTag();
    copyToClipboard(view());
}

void ListPage::Text4_Change()
{
    writeListTag();
    copyToClipboard(view());
}

void ListPage::writeListTag()
{
    // All three boxes are read afresh, whichever of them changed.
    writeSnippet(view(), listTagSnippet(m_titleLen->text(), m_infoLen->text(), m_pageSize->text()));
}
