#pragma once

#include "shell/catalogpage.h"

class PageWindow;
class QLineEdit;

// The list page: the 21 entries of its catalog, and the list loop builder
// whose three parameter boxes rebuild the snippet on every change of their
// text. The builder leaves the entry selection alone.
class ListPage : public CatalogPage
{
    Q_OBJECT
public:
    explicit ListPage(PageWindow *window);

    // Title length: rebuilds the snippet but leaves the clipboard as it is.
    void Text2_Change();
    // Summary length and page size: rebuild the snippet and copy it.
    void Text3_Change();
    void Text4_Change();

private:
    QLineEdit *box(const QString &name) const;
    void writeListTag();

    QLineEdit *m_titleLen = nullptr;
    QLineEdit *m_infoLen = nullptr;
    QLineEdit *m_pageSize = nullptr;
};
