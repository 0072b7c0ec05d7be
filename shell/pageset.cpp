#include "shell/pageset.h"

#include "shell/pagewindow.h"

#include <QPushButton>

PageSet::PageSet(Factory factory) : m_factory(std::move(factory)) {}

PageSet::~PageSet()
{
    for (PageWindow *window : m_pages)
        delete window;
}

void PageSet::start()
{
    create(Page::Home);
    show(Page::Home);
}

PageWindow *PageSet::page(int number) const
{
    return isPage(number) ? m_pages[number] : nullptr;
}

bool PageSet::exists(int page) const
{
    return this->page(page) != nullptr;
}

void PageSet::create(int page)
{
    if (exists(page))
        return;
    PageWindow *window = m_factory(page);
    m_pages[page] = window;
    connect(window, &PageWindow::navigationClicked, this,
            [this, page](qint16 index) { navigationClick(*this, page, index); });
}

void PageSet::show(int page)
{
    m_pages[page]->present();
}

void PageSet::hide(int page)
{
    m_pages[page]->hide();
}

void PageSet::focusOwnButton(int page)
{
    m_pages[page]->ownButton()->setFocus();
}
