#include "core/check/nearmiss.h"

#include <QVarLengthArray>

#include <algorithm>

namespace {

int allowedDistance(QStringView typed)
{
    return typed.size() > 6 ? 2 : 1;
}

} // namespace

// The optimal string alignment distance: insertions, deletions,
// substitutions and swaps of neighbours each count one.
int typingDistance(QStringView a, QStringView b)
{
    const qsizetype width = b.size() + 1;
    QVarLengthArray<int, 3 * 32> rows(3 * width);
    int *before = rows.data();        // row i - 2
    int *previous = before + width;   // row i - 1
    int *current = previous + width;  // row i
    for (qsizetype j = 0; j < width; ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j < width; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        int *const reused = before;
        before = previous;
        previous = current;
        current = reused;
    }
    return previous[b.size()];
}

bool isSlipOf(QStringView typed, QStringView known)
{
    if (typed == known || qAbs(typed.size() - known.size()) > allowedDistance(typed))
        return false;
    return typingDistance(typed, known) <= allowedDistance(typed);
}

void NearestName::consider(QStringView known)
{
    if (m_typed == known || qAbs(m_typed.size() - known.size()) > allowedDistance(m_typed))
        return;
    const int distance = typingDistance(m_typed, known);
    if (distance <= allowedDistance(m_typed) && (m_best.isEmpty() || distance < m_distance)) {
        m_best = known.toString();
        m_distance = distance;
    }
}
