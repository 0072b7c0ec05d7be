#include "app/pagefactory.h"

#include "core/pagetable.h"
#include "pages/about/aboutpage.h"
#include "pages/home/homepage.h"
#include "pages/lists/listpage.h"
#include "shell/catalogpage.h"
#include "shell/pagewindow.h"

PageWindow *createPageWindow(int number)
{
    auto *window = new PageWindow(number);
    QObject *content = nullptr;
    switch (pageInfo(number).kind) {
    case PageKind::Catalog: content = new CatalogPage(window, number); break;
    case PageKind::Home: content = new HomePage(window); break;
    case PageKind::List: content = new ListPage(window); break;
    case PageKind::About: content = new AboutPage(window); break;
    }
    window->setContent(content);
    return window;
}
