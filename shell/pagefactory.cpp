#include "shell/pagefactory.h"

#include "pages/about/aboutpage.h"
#include "pages/home/homepage.h"
#include "pages/lists/listpage.h"
#include "shell/catalogpage.h"
#include "shell/navigation.h"
#include "shell/pagewindow.h"

QString catalogFileName(int page)
{
    switch (page) {
    case Page::Home: return QStringLiteral("home.page");
    case Page::List: return QStringLiteral("lists.page");
    case Page::Content: return QStringLiteral("content.page");
    case Page::Shop: return QStringLiteral("shop.page");
    case Page::CommonTags: return QStringLiteral("other.page");
    case Page::VisualEditing: return QStringLiteral("ui.page");
    case Page::TemplateFiles: return QStringLiteral("files.page");
    case Page::ExtensionFunctions: return QStringLiteral("functions.page");
    default: return {};
    }
}

PageWindow *createPageWindow(int number)
{
    auto *window = new PageWindow(number);
    QObject *content = nullptr;
    if (number == Page::Home) {
        content = new HomePage(window);
    } else if (number == Page::List) {
        content = new ListPage(window);
    } else if (const QString file = catalogFileName(number); !file.isEmpty()) {
        // The extension functions share one frame, so one group keeps them
        // exclusive; the other pages spread their entries over several.
        const auto selection = number == Page::ExtensionFunctions ? TagPage::Selection::ToolkitGroup
                                                                : TagPage::Selection::WalkEntries;
        content = new CatalogPage(window, file, selection, initialOutputText());
    } else if (number == Page::About) {
        content = new AboutPage(window);
    }
    window->setContent(content);
    return window;
}
