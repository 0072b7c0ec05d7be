#include "pages/lists/listpage.h"

#include "core/catalog/listtag.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/pageview.h"
#include "core/catalog/snippet.h"
#include "shell/pagewindow.h"

#include <QLineEdit>

ListPage::ListPage(PageWindow *window, Clipboard &clipboard)
    : CatalogPage(window, Page::List, clipboard),
      m_titleLength(widget<QLineEdit>(QStringLiteral("listTitleLength"))),
      m_summaryLength(widget<QLineEdit>(QStringLiteral("listSummaryLength"))),
      m_pageSize(widget<QLineEdit>(QStringLiteral("listPageSize")))
{
    // textChanged reports every change of the text: each keystroke, deletion
    // and paste. The title length rebuilds the snippet but leaves the
    // clipboard as it is; the other two boxes copy it too.
    connect(m_titleLength, &QLineEdit::textChanged, this, [this] { view().setOutputText(listTag()); });
    for (QLineEdit *copying : {m_summaryLength, m_pageSize})
        connect(copying, &QLineEdit::textChanged, this, [this] { view().present(listTag()); });
}

QString ListPage::listTag() const
{
    // All three boxes are read afresh, whichever of them changed.
    return snippetText(listTagSnippet(m_titleLength->text(), m_summaryLength->text(), m_pageSize->text()));
}
