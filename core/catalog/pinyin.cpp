#include "core/catalog/pinyin.h"

#include <algorithm>
#include <iterator>

namespace {

struct PinyinRow {
    char32_t han;
    const char *syllable;
};

constexpr PinyinRow kPinyin[] = {
#include "pinyintable.inc"
};

const char *syllableOf(char32_t han)
{
    const auto row = std::lower_bound(std::begin(kPinyin), std::end(kPinyin), han,
                                      [](const PinyinRow &r, char32_t c) { return r.han < c; });
    return row != std::end(kPinyin) && row->han == han ? row->syllable : nullptr;
}

bool isLatinOrDigit(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

QStringList pinyinWords(QStringView text)
{
    QStringList words;
    QString latin;
    auto endLatin = [&] {
        if (!latin.isEmpty())
            words << latin.toLower();
        latin.clear();
    };
    for (char32_t c : text.toUcs4()) {
        if (isLatinOrDigit(c)) {
            latin += QChar(c);
            continue;
        }
        endLatin();
        if (const char *syllable = syllableOf(c))
            words << QString::fromLatin1(syllable);
        else if (c > 0x2E80 && QChar::isLetter(c))
            words << QString::fromUcs4(&c, 1);
    }
    endLatin();
    return words;
}

QString pinyinInitials(QStringView text)
{
    QString initials;
    for (const QString &word : pinyinWords(text))
        initials += word.front();
    return initials;
}
