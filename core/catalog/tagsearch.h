#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Finding any tag of the tool by typing: every entry of the tag pages and the
// three builders, matched by caption, pinyin, initials, Latin words of the
// caption and words of the snippet.
struct SearchItem {
    int page = 0;
    // The control that choosing the item acts on: the entry ("listPageTag3"),
    // or for a builder its first input box ("articleColumnId").
    QString control;
    bool builder = false;
    QString caption;
    QString pageName;    // the page's navigation caption, e.g. 列表标签
    QString firstLine;   // the snippet's first line

    // What a query is matched against, in lower case.
    QString captionText;
    QStringList captionWords;   // pinyin syllables and Latin words
    QString initials;
    QString snippetText;
    QString wholeSnippet;       // an entry's snippet as comparableSnippet() gives it; empty for a builder
};

// A snippet as a pasted copy is compared with it: line ends of any kind,
// and blanks at the ends of lines and of the whole, do not count.
QString comparableSnippet(QStringView text);

class TagSearch
{
public:
    // Every entry of pages 1 to 8 from the page data, and the builders.
    static TagSearch forAllPages();
    explicit TagSearch(QList<SearchItem> items) : m_items(std::move(items)) {}

    const QList<SearchItem> &items() const { return m_items; }

    // The items that match `query`, best first: caption matches above
    // snippet matches, matches at the start and of whole words above the
    // rest; ties in catalog order (page, then index). An entry whose whole
    // snippet the query is comes before all of them. An empty query matches
    // everything in catalog order.
    QList<qsizetype> find(const QString &query) const;
    // Whether `query` is item `item`'s whole snippet, as find() ranks it.
    bool isWholeSnippet(qsizetype item, const QString &query) const;

private:
    QList<SearchItem> m_items;   // in catalog order
};
