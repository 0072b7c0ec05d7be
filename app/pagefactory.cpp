#include "app/pagefactory.h"

#include "core/catalog/pagetable.h"
#include "pages/about/aboutpage.h"
#include "pages/home/homepage.h"
#include "pages/lists/listpage.h"
#include "shell/catalogpage.h"
#include "shell/pagewindow.h"

namespace {

PageWindow *createPageWindow(int number, Clipboard &clipboard)
{
    auto *window = new PageWindow(number);
    QObject *content = nullptr;
    switch (pageInfo(number).kind) {
    case PageKind::Catalog: content = new CatalogPage(window, number, clipboard); break;
    case PageKind::Home: content = new HomePage(window, clipboard); break;
    case PageKind::List: content = new ListPage(window, clipboard); break;
    case PageKind::About: content = new AboutPage(window, clipboard); break;
    }
    window->setContent(content);
    return window;
}

} // namespace

PageSet::Factory pageFactory(Clipboard &clipboard)
{
    return [&clipboard](int number) { return createPageWindow(number, clipboard); };
}
