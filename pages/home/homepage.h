#pragma once

#include "shell/catalogpage.h"

class PageWindow;

// The home page: the global site tags of its catalog, and the fourteen
// option buttons (eight tags, six article list options) as one exclusive group.
class HomePage : public CatalogPage
{
    Q_OBJECT
public:
    explicit HomePage(PageWindow *window);
};
