#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct TagBuilder;

// The home page's two builders as pure functions: input texts in, snippet
// lines out. The widgets only read their texts and pass them here.

// --- navigation menu ---

// Items of the column attribute drop-down, in list order.
QStringList columnAttributeItems();
// The three-line {zuvi:channel} loop.
QStringList navigationMenuSnippet(const QString &attribute, const QString &columnId, const QString &columnCount);
// What navigationMenuSnippet is made from; its inputs are the attribute, the
// column ID and the column count.
const TagBuilder &navigationMenuBuilder();

// Items of the other-field drop-down, in list order; the first is
// the neutral "下拉选择".
QStringList otherFieldItems();
// What a choice writes: one placeholder line, no lines at all for the neutral
// item (the box is emptied), nothing for a text outside the list.
std::optional<QStringList> otherFieldSnippet(const QString &item);

// --- article list ---

// What the user typed and chose for the article list, by name; set them by
// name too (ArticleListInputs{.columnId = ..., ...}); a field left out is
// empty. Which part of the tag each fills is said once, in homebuilders.cpp.
struct ArticleListInputs {
    QString columnId = {};
    QString attribute = {};       // an item of articleAttributeItems()
    QString titleLength = {};
    QString summaryLength = {};
    QString rows = {};
    QString ordering = {};        // an item of orderingItems()
};

// Items of the article list's drop-downs, in list order.
QStringList articleAttributeItems();
QStringList orderingItems();
QStringList timeStyleItems();

constexpr int kArticleLayouts = 5;     // layouts 0..4; option 5 is the click count

// The {zuvi:arclist ...} line the inputs make.
QString articleListOpeningLine(const ArticleListInputs &inputs);
// The snippet of layout option `option`: 0..4 a list layout, 5 the click
// count placeholder; nothing for any other index.
std::optional<QStringList> articleListSnippet(int option, const ArticleListInputs &inputs);
// What articleListSnippet is made from for list layout `layout` (0..4); its
// inputs stand in the order of the line's parts.
const TagBuilder &articleListBuilder(int layout);
// What a time style choice writes, as otherFieldSnippet.
std::optional<QStringList> timeStyleSnippet(const QString &item);
