#include "core/catalog/tagsearch.h"

#include "core/catalog/catalogtags.h"
#include "core/catalog/pinyin.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace {

SearchItem makeItem(const CatalogTag &tag)
{
    SearchItem item;
    item.page = tag.page;
    item.control = tag.control;
    item.builder = tag.isBuilder();
    item.caption = tag.caption;
    item.pageName = tag.pageName;
    item.firstLine = tag.lines.value(0);
    item.captionText = tag.caption.toLower();
    item.captionWords = pinyinWords(tag.caption);
    item.initials = pinyinInitials(tag.caption);
    item.snippetText = tag.lines.join(u'\n').toLower();
    if (!item.builder)
        item.wholeSnippet = comparableSnippet(tag.lines.join(u'\n'));
    return item;
}

// How well an item matches; lower is better.
enum Rank {
    WholeSnippet,       // the query is the entry's snippet, pasted
    CaptionStart,       // the caption, its pinyin or its initials begin with the query
    CaptionWord,        // a word of the caption (or its pinyin from a syllable on) begins with it
    CaptionAnywhere,
    SnippetWord,        // a word of the snippet begins with it
    SnippetAnywhere,
};

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Whether `text` holds `query`, and whether at the start of a word.
std::optional<bool> findInText(const QString &text, const QString &query)
{
    std::optional<bool> found;
    for (qsizetype at = text.indexOf(query); at >= 0; at = text.indexOf(query, at + 1)) {
        const bool wordStart = at == 0 || !isWordCharacter(text[at - 1]) || !isWordCharacter(query[0]);
        if (wordStart)
            return true;
        found = false;
    }
    return found;
}

std::optional<Rank> rank(const SearchItem &item, const QString &query, const QString &compact,
                         const QString &whole)
{
    if (!item.wholeSnippet.isEmpty() && item.wholeSnippet == whole)
        return WholeSnippet;
    if (item.captionText.startsWith(query) || item.captionText.startsWith(compact))
        return CaptionStart;
    // Pinyin typed with or without blanks: the joined syllables from any
    // word on. Initials count from the first word only, or the shortest
    // queries would match almost everything.
    const QString joined = item.captionWords.join(QString());
    if (!compact.isEmpty() && joined.startsWith(compact))
        return CaptionStart;
    if (compact.size() >= 2 && item.initials.startsWith(compact))
        return CaptionStart;
    qsizetype offset = 0;
    for (const QString &word : item.captionWords) {
        if (offset > 0 && QStringView(joined).mid(offset).startsWith(compact))
            return CaptionWord;
        offset += word.size();
    }
    if (const auto found = findInText(item.captionText, query))
        return *found ? CaptionWord : CaptionAnywhere;
    if (compact.size() >= 2 && (joined.contains(compact) || item.initials.contains(compact)))
        return CaptionAnywhere;
    if (const auto found = findInText(item.snippetText, query))
        return *found ? SnippetWord : SnippetAnywhere;
    return std::nullopt;
}

} // namespace

QString comparableSnippet(QStringView text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines;
    for (QStringView line : text.split(lineEnd)) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1].isSpace())
            --end;
        lines << line.first(end).toString();
    }
    return lines.join(u'\n').trimmed();
}

TagSearch TagSearch::forAllPages()
{
    QList<SearchItem> items;
    for (const CatalogTag &tag : catalogTags())
        items << makeItem(tag);
    return TagSearch(std::move(items));
}

bool TagSearch::isWholeSnippet(qsizetype item, const QString &query) const
{
    const QString &whole = m_items[item].wholeSnippet;
    return !whole.isEmpty() && whole == comparableSnippet(query);
}

QList<qsizetype> TagSearch::find(const QString &query) const
{
    const QString lower = query.trimmed().toLower();
    QString compact = lower;
    compact.remove(u' ');
    const QString whole = comparableSnippet(query);
    QList<std::pair<Rank, qsizetype>> ranked;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (lower.isEmpty()) {
            ranked.append({CaptionStart, i});
        } else if (const auto r = rank(m_items[i], lower, compact, whole)) {
            ranked.append({*r, i});
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<qsizetype> result;
    result.reserve(ranked.size());
    for (const auto &[r, i] : ranked)
        result << i;
    return result;
}
