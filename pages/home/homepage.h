#pragma once

#include "core/catalog/homebuilders.h"
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

    QLineEdit *m_columnId;
    QLineEdit *m_columnCount;
    QComboBox *m_columnAttribute;
    QComboBox *m_otherField;
    QLineEdit *m_articleColumnId;
    QLineEdit *m_articleTitleLength;
    QLineEdit *m_articleRows;
    QLineEdit *m_articleSummaryLength;
    QComboBox *m_articleTimeStyle;
    QComboBox *m_articleAttribute;
    QComboBox *m_articleOrder;
    QList<QAbstractButton *> m_articleOptions;   // the five layouts, then the click count
};
