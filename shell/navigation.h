#pragma once

#include <QList>
#include <QtGlobal>

// Pages are numbered as the buttons of the navigation bar.
namespace Page {
enum : int { Home = 1, List, Content, Shop, CommonTags, VisualEditing, TemplateFiles, ExtensionFunctions, About };
}
constexpr int kFirstPage = Page::Home;
constexpr int kLastPage = Page::About;

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

// The order in which the eight pages other than `target` are hidden.
QList<int> hideOrder(int target);

// A click on navigation button `index` of page `page`: the own button takes
// the focus, the target is shown first (created if needed), then every other
// page is created if needed and hidden, so a page is always visible.
void navigationClick(PageHost &host, int page, qint16 index);
