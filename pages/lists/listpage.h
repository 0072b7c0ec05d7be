#pragma once

#include "shell/catalogpage.h"

class Clipboard;
class PageWindow;
class QLineEdit;

// The list page: the entries of its data, and the list loop builder whose
// three parameter boxes rebuild the snippet on every change of their text.
// The builder leaves the entry selection alone.
class ListPage : public CatalogPage
{
    Q_OBJECT
public:
    ListPage(PageWindow *window, Clipboard &clipboard);

private:
    QString listTag() const;

    QLineEdit *m_titleLength = nullptr;
    QLineEdit *m_summaryLength = nullptr;
    QLineEdit *m_pageSize = nullptr;
};
