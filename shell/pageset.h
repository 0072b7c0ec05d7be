#pragma once

#include "core/navigation.h"
#include "core/pagetable.h"

#include <QObject>

#include <array>
#include <functional>

class PageWindow;

// The nine pages for the whole run. A page is created when first needed and
// never destroyed; navigation only shows and hides.
class PageSet : public QObject, public PageHost
{
    Q_OBJECT
public:
    using Factory = std::function<PageWindow *(int page)>;
    explicit PageSet(Factory factory);
    ~PageSet() override;

    // Creates the home page and shows it.
    void start();
    PageWindow *page(int number) const;   // nullptr until created

    bool exists(int page) const override;
    void create(int page) override;
    void show(int page) override;
    void hide(int page) override;
    void focusOwnButton(int page) override;

private:
    Factory m_factory;
    std::array<PageWindow *, kLastPage + 1> m_pages{};   // index 0 unused
};
