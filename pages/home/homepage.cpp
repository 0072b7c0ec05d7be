#include "pages/home/homepage.h"

#include "shell/navigation.h"
#include "shell/pagefactory.h"
#include "shell/pagewindow.h"

HomePage::HomePage(PageWindow *window)
    : CatalogPage(window, catalogFileName(Page::Home), TagPage::Selection::ToolkitGroup, QString())
{
}
