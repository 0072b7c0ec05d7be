#include "core/catalog/navigation.h"

#include "core/catalog/pagetable.h"

void navigationClick(PageHost &host, int page, qint16 index)
{
    host.focusOwnButton(page);
    if (!isPage(index))
        return;
    const int target = index;
    if (!host.exists(target))
        host.create(target);
    host.show(target);
    for (int other : pageInfo(target).hideOrder) {
        if (!host.exists(other))
            host.create(other);
        host.hide(other);
    }
}
