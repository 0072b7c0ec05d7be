#include "shell/tagmechanism.h"

#include "shell/pageview.h"

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

QString snippetText(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + kLineEnd.size();
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

void writeSnippet(PageView &view, const QStringList &lines)
{
    // Building the text first and setting it once leaves the box exactly as
    // line-by-line appending would, with one repaint instead of many.
    view.SetOutputText(snippetText(lines));
}

void copyToClipboard(PageView &view)
{
    view.SetClipboardText(view.GetOutputText());
}

void selectExclusively(PageView &view, qint16 index)
{
    const qint16 highest = view.HighestEntryIndex();
    // The counter is widened so that a highest index of 32767 cannot wrap the
    // loop; no page comes near that.
    for (int i = 0; i <= highest; ++i)
        view.SetEntryValue(static_cast<qint16>(i), i == index);
}

bool isNumeric(QStringView text)
{
    qsizetype pos = 0;
    const qsizetype end = text.size();
    auto isDigit = [&](qsizetype p) { return p < end && text[p] >= u'0' && text[p] <= u'9'; };
    auto skipDigits = [&] {
        const qsizetype start = pos;
        while (isDigit(pos))
            ++pos;
        return pos - start;
    };

    while (pos < end && text[pos] == u' ')
        ++pos;
    if (pos < end && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    qsizetype digits = skipDigits();
    if (pos < end && text[pos] == u'.') {
        ++pos;
        digits += skipDigits();
    }
    if (digits == 0)
        return false;
    if (pos < end && (text[pos] == u'e' || text[pos] == u'E')) {
        ++pos;
        if (pos < end && (text[pos] == u'+' || text[pos] == u'-'))
            ++pos;
        if (skipDigits() == 0)
            return false;
    }
    while (pos < end && text[pos] == u' ')
        ++pos;
    return pos == end;
}

QString numericFragment(QStringView name, const QString &text)
{
    if (text.isEmpty() || !isNumeric(text))
        return {};
    QString fragment;
    fragment.reserve(name.size() + text.size() + 4);
    fragment += u' ';
    fragment += name;
    fragment += QStringLiteral("='");
    fragment += text;
    fragment += u'\'';
    return fragment;
}
