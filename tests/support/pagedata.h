#pragma once

#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"

#include <array>
#include <memory>

// The data of tag page `page` as built into the program, loaded once.
inline const PageCatalog &pageData(int page)
{
    static std::array<std::unique_ptr<PageCatalog>, kLastPage + 1> loaded;
    if (!loaded[page])
        loaded[page] = std::make_unique<PageCatalog>(PageCatalog::load(dataFilePath(page)));
    return *loaded[page];
}
