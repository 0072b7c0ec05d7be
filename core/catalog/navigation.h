#pragma once

#include <QtGlobal>

// What navigation needs of the set of page windows.
class PageHost
{
public:
    virtual ~PageHost() = default;
    virtual bool exists(int page) const = 0;
    virtual void create(int page) = 0;
    virtual void show(int page) = 0;
    virtual void hide(int page) = 0;
    virtual void focusOwnButton(int page) = 0;
};

// A click on navigation button `index` of page `page`: the own button takes
// the focus, the target is shown first (created if needed), then every other
// page is created if needed and hidden in the target's hide order, so a page
// is always visible.
void navigationClick(PageHost &host, int page, qint16 index);
