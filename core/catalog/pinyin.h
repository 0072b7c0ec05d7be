#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Pinyin of the tool's own texts (captions, page names), for finding entries
// by typing and for Latin prefixes. The syllables come from ICU's Han-Latin
// transliteration, taken when the project builds for every Han character the
// page data and the core's texts hold.

// The words of a text: each Han character its syllable (lower-case ASCII,
// without tones), each run of Latin letters and digits one word in lower
// case; anything else only separates words. A Han character without a
// syllable stands for itself.
QStringList pinyinWords(QStringView text);

// The first letter of each word: "分页标签" gives "fybq".
QString pinyinInitials(QStringView text);
