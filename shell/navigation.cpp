#include "shell/navigation.h"

QList<int> hideOrder(int target)
{
    switch (target) {
    case 1: return {2, 3, 4, 5, 6, 7, 9, 8};
    case 2: return {1, 3, 4, 5, 6, 7, 9, 8};
    case 3: return {1, 2, 4, 5, 6, 7, 9, 8};
    case 4: return {3, 1, 2, 5, 6, 7, 9, 8};
    case 5: return {4, 3, 1, 2, 6, 7, 9, 8};
    case 6: return {5, 4, 3, 1, 2, 7, 9, 8};
    case 7: return {6, 5, 4, 3, 1, 2, 9, 8};
    case 8: return {7, 6, 5, 4, 3, 1, 2, 9};
    case 9: return {7, 6, 5, 4, 3, 1, 2, 8};
    default: return {};
    }
}

void navigationClick(PageHost &host, int page, qint16 index)
{
    host.focusOwnButton(page);
    if (index < kFirstPage || index > kLastPage)
        return;
    const int target = index;
    if (!host.exists(target))
        host.create(target);
    host.show(target);
    for (int other : hideOrder(target)) {
        if (!host.exists(other))
            host.create(other);
        host.hide(other);
    }
}
