#pragma once

#include "pages/home/builders.h"
#include "shell/catalogpage.h"

class PageWindow;
class QAbstractButton;
class QComboBox;
class QLineEdit;

// The home page: the global site tags of its catalog, the navigation menu
// builder and the article list builder. The eight tags and the six article
// list options form one exclusive group of fourteen.
class HomePage : public CatalogPage
{
    Q_OBJECT
public:
    explicit HomePage(PageWindow *window);

    // Navigation menu builder.
    void Combo1_Click();
    void Text2_Change();
    void Text3_Change();
    void Combo2_Click();

    // Article list builder.
    void Option2_Click(qint16 index);
    void Text4_Change();
    void Text5_Change();
    void Text6_Change();
    void Text7_Change();
    void Combo4_Click();
    void Combo5_Click();
    void Combo3_Click();

private:
    void rebuildMenu();
    void rebuildInLayoutOne();
    ArticleListInputs articleListInputs() const;
    void writeAndCopy(const QStringList &lines);

    QLineEdit *m_columnId;        // Text2
    QLineEdit *m_columnCount;     // Text3
    QComboBox *m_columnAttribute; // Combo1
    QComboBox *m_otherField;      // Combo2
    QLineEdit *m_listColumnId;    // Text4
    QLineEdit *m_titleLength;     // Text5
    QLineEdit *m_rows;            // Text6
    QLineEdit *m_summaryLength;   // Text7
    QComboBox *m_timeStyle;       // Combo3
    QComboBox *m_articleAttribute; // Combo4
    QComboBox *m_ordering;        // Combo5
    QList<QAbstractButton *> m_layoutOptions;   // Option2(0)..Option2(5)
};
