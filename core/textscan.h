#pragma once

#include <QStringView>
#include <QtAlgorithms>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The offset of the first `first` or `second` at or after `from` in `text`,
// or the text's size when neither comes. Readers that only stop at a few
// characters (the template parser at '{' and '<', the line index at line
// breaks) skip the text between with it: eight characters to a step where
// the processor has SSE2, one by one elsewhere and at the end.
inline qsizetype nextOfEither(QStringView text, qsizetype from, char16_t first, char16_t second)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i firsts = _mm_set1_epi16(short(first));
    const __m128i seconds = _mm_set1_epi16(short(second));
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(chunk, firsts), _mm_cmpeq_epi16(chunk, seconds));
        if (const int mask = _mm_movemask_epi8(hits))
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == first || data[i] == second)
            return i;
    }
    return size;
}
