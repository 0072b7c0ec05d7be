#pragma once

#include <QString>

#include <span>

struct TagBuilder;

// The builders the pages offer, each with the name it goes by outside its
// page (in the search palette and as an editor template) and the box where
// the user starts typing into it. The article list stands in layout one,
// which its inputs choose.
struct PageBuilder {
    int page;
    const char16_t *caption;
    const char *firstInput;   // object name of its first box on the page
    const TagBuilder &(*builder)();
};

std::span<const PageBuilder> pageBuilders();
