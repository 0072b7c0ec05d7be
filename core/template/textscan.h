#pragma once

#include <QStringView>
#include <QtAlgorithms>

#include <algorithm>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The offset of the first of `wanted` (a few characters) at or after `from`
// in `text`, or the text's size when none comes. Readers that only stop at
// a few characters (the template parser at '{' and '!', inside a value at
// its quote, a line break or a brace, the line index at line breaks) skip
// the text between with it: sixteen characters to a step where the
// processor has SSE2, one by one elsewhere and at the end.
template <typename... Wanted>
inline qsizetype nextOfAny(QStringView text, qsizetype from, Wanted... wanted)
{
    static_assert(sizeof...(Wanted) > 0 && (std::is_same_v<Wanted, char16_t> && ...));
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i sought[] = {_mm_set1_epi16(short(wanted))...};
    // Each lane of eight characters: all ones where one of `wanted` stands.
    const auto hitsAt = [&](qsizetype at) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        __m128i hits = _mm_setzero_si128();
        for (const __m128i &one : sought)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chunk, one));
        return hits;
    };
    // Sixteen characters a step, their lanes packed into one byte each.
    for (; i + 16 <= size; i += 16) {
        if (const int mask = _mm_movemask_epi8(_mm_packs_epi16(hitsAt(i), hitsAt(i + 8))))
            return i + qCountTrailingZeroBits(uint(mask));
    }
    for (; i + 8 <= size; i += 8) {
        if (const int mask = _mm_movemask_epi8(hitsAt(i)))
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (((data[i] == wanted) || ...))
            return i;
    }
    return size;
}

// The offset of the last `wanted` before `before` in `text`, or -1: the
// same stride backwards, for readers that look back from a cursor.
inline qsizetype lastOf(QStringView text, qsizetype before, char16_t wanted)
{
    const char16_t *data = text.utf16();
    qsizetype i = before;
#ifdef __SSE2__
    const __m128i wanteds = _mm_set1_epi16(short(wanted));
    for (; i >= 8; i -= 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i - 8));
        // A hit sets both bits of its character: the highest names the last.
        if (const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanteds)))
            return i - 8 + (31 - qCountLeadingZeroBits(uint(mask))) / 2;
    }
#endif
    while (--i >= 0) {
        if (data[i] == wanted)
            return i;
    }
    return -1;
}

// How many `first` and `second` there are in `text`, sixteen characters to
// a step where the processor has SSE2 (counted in the lanes, without a
// population count, which the baseline x86-64 lacks).
inline qsizetype countOfEither(QStringView text, char16_t first, char16_t second)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype count = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i firsts = _mm_set1_epi16(short(first));
    const __m128i seconds = _mm_set1_epi16(short(second));
    const auto hitsAt = [&](qsizetype at) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        return _mm_or_si128(_mm_cmpeq_epi16(chunk, firsts), _mm_cmpeq_epi16(chunk, seconds));
    };
    while (i + 8 <= size) {
        // A lane counts up to 65535: at most that many steps of eight between sums.
        const qsizetype blockEnd = std::min(size, i + 8 * qsizetype(0xffff));
        __m128i lanes = _mm_setzero_si128();
        for (; i + 16 <= blockEnd; i += 16)
            lanes = _mm_sub_epi16(_mm_sub_epi16(lanes, hitsAt(i)), hitsAt(i + 8));   // a hit is -1
        for (; i + 8 <= blockEnd; i += 8)
            lanes = _mm_sub_epi16(lanes, hitsAt(i));
        // Unsigned lanes summed in pairs into four 32-bit sums.
        const __m128i low = _mm_and_si128(lanes, _mm_set1_epi32(0xffff));
        const __m128i high = _mm_srli_epi32(lanes, 16);
        alignas(16) quint32 sums[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(sums), _mm_add_epi32(low, high));
        count += qsizetype(sums[0]) + sums[1] + sums[2] + sums[3];
    }
#endif
    for (; i < size; ++i)
        count += data[i] == first || data[i] == second;
    return count;
}
