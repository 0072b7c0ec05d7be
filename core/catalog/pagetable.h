#pragma once

#include "core/catalog/twips.h"

#include <QString>

#include <array>

// The nine pages of the tool, numbered as the buttons of the navigation bar.
namespace Page {
enum : int { Home = 1, List, Content, Shop, CommonTags, VisualEditing, TemplateFiles, ExtensionFunctions, About };
}
constexpr int kFirstPage = Page::Home;
constexpr int kLastPage = Page::About;
constexpr int kPageCount = kLastPage - kFirstPage + 1;

// What a page holds besides the window and the navigation bar every page has.
enum class PageKind {
    Catalog,   // tag entries from its data file, and nothing more
    Home,      // its data file, plus the navigation menu and article list builders
    List,      // its data file, plus the list loop builder
    About,     // links to the vendor's site; no entries, no output box
};

// One row of the page table.
struct PageInfo {
    int number;
    const char16_t *caption;      // of its navigation button
    const char *windowName;       // object name of its window
    int clientWidth;              // twips; every page is 9195 high
    const char *dataFile;         // under :/catalog/; nullptr for the about page
    PageKind kind;
    int buttonLeft;               // its navigation button, in twips
    int buttonWidth;
    std::array<int, kPageCount - 1> hideOrder;   // the other pages, in the order navigation hides them
};

// The row of page `number`; the number must be a page's.
const PageInfo &pageInfo(int number);
bool isPage(int number);

// The page's data file as a resource path, e.g. ":/catalog/lists.page";
// empty for a page without one.
QString dataFilePath(int number);

// The page window's client area.
TwipRect clientArea(int page);

// Where navigation button `index` (1..9) stands on page `page`.
TwipRect navigationButtonRect(int page, int index);
