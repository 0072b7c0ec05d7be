#pragma once

#include "core/catalog/builderreading.h"
#include "core/catalog/tagsearch.h"
#include "shell/parameterbox.h"

#include <QFrame>

#include <optional>

class QLineEdit;
class QListView;
class SearchResults;

// A small box over the current page for finding any tag by typing: a search
// field and the matches below it, best first. Up and Down (and the page
// keys) move in the list, Enter or a double click chooses, Esc or a click
// outside closes it without any change. A tag or snippet that a builder
// writes, typed or pasted, is offered first for editing in that builder
// (after an entry whose whole snippet it is).
class SearchPalette : public QFrame
{
    Q_OBJECT
public:
    SearchPalette();
    ~SearchPalette() override;

    // Shows the palette over `page`, with `query` typed in (cut to the
    // field's length as a paste is).
    void openOver(QWidget *page, const QString &query = {});

    QLineEdit *queryField() const { return m_query; }
    QListView *resultList() const { return m_list; }

signals:
    void chosen(const SearchItem &item);
    // The edit in a builder was chosen, with what the tag gives its inputs.
    void editChosen(const BuilderReading &reading);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showResults();
    void chooseCurrent();
    const TagSearch &search();

    std::optional<TagSearch> m_search;   // built when first opened
    ParameterBox *m_query;
    QListView *m_list;
    SearchResults *m_results;
};
