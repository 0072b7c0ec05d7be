#pragma once

#include "core/homebuilders.h"
#include "shell/catalogpage.h"

class Clipboard;
class PageWindow;
class QAbstractButton;
class QComboBox;
class QLineEdit;

// The home page: the global site tags of its data, the navigation menu
// builder and the article list builder. The eight tags and the six article
// list options are the page's options, one selected at most.
class HomePage : public CatalogPage
{
    Q_OBJECT
public:
    HomePage(PageWindow *window, Clipboard &clipboard);

private:
    void rebuildMenu();
    void showOtherField();
    void showArticleList(int layout);
    // An article list input changed: layout one is chosen and rebuilt.
    void rebuildInLayoutOne();
    void showTimeStyle();
    ArticleListInputs articleListInputs() const;

    QLineEdit *m_columnId;          // Text2
    QLineEdit *m_columnCount;       // Text3
    QComboBox *m_columnAttribute;   // Combo1
    QComboBox *m_otherField;        // Combo2
    QLineEdit *m_listColumnId;      // Text4
    QLineEdit *m_titleLength;       // Text5
    QLineEdit *m_rows;              // Text6
    QLineEdit *m_summaryLength;     // Text7
    QComboBox *m_timeStyle;         // Combo3
    QComboBox *m_articleAttribute;  // Combo4
    QComboBox *m_ordering;          // Combo5
    QList<QAbstractButton *> m_layoutOptions;   // Option2(0)..Option2(5)
};
