#pragma once

#include <QString>

#include <span>

struct TagBuilder;

// The builders the pages offer, each with the name it goes by outside its
// page (in the search palette and as an editor template), the box where
// the user starts typing into it, and the controls its inputs come from.
// The article list stands first in layout one, which its inputs choose.
struct PageBuilder {
    int page;
    const char16_t *caption;
    const char *firstInput;   // object name of its first box on the page
    // Object names of the boxes and drop-downs that hold the builder's
    // inputs, in the order of its inputs (TagBuilder::inputCount()).
    std::span<const char *const> inputControls;
    // The option buttons that choose the layout, in layout order; none for
    // a builder with one layout.
    std::span<const char *const> layoutOptions;
    const TagBuilder &(*builderInLayout)(int layout);

    int layoutCount() const { return layoutOptions.empty() ? 1 : int(layoutOptions.size()); }
    const TagBuilder &builder(int layout = 0) const { return builderInLayout(layout); }
};

std::span<const PageBuilder> pageBuilders();
