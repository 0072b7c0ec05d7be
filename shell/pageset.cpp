#include "shell/pageset.h"

#include "core/catalog/builderreading.h"
#include "core/catalog/pagebuilders.h"
#include "shell/builderfill.h"
#include "shell/catalogpage.h"
#include "shell/pagewindow.h"
#include "shell/platform/windowactivation.h"
#include "shell/searchpalette.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

PageSet::PageSet(Factory factory) : m_factory(std::move(factory))
{
    // Seen before any control of a page: the boxes would take Ctrl+K as
    // "delete to the end of the line".
    QCoreApplication::instance()->installEventFilter(this);
}

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
    m_pages[page]->conceal();
}

void PageSet::focusOwnButton(int page)
{
    m_pages[page]->ownButton()->setFocus();
}

int PageSet::pageOf(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    const QWidget *window = widget ? widget->window() : nullptr;
    for (int number = kFirstPage; number <= kLastPage; ++number) {
        if (window && m_pages[number] == window)
            return number;
    }
    return 0;
}

bool PageSet::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool search = key->modifiers() == Qt::ControlModifier
                            && (key->key() == Qt::Key_K || key->key() == Qt::Key_F);
        if (search) {
            if (const int number = pageOf(watched)) {
                if (event->type() == QEvent::KeyPress)
                    openSearch(number);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

int PageSet::shownPage() const
{
    for (int number = kFirstPage; number <= kLastPage; ++number) {
        if (m_pages[number] && m_pages[number]->isVisible())
            return number;
    }
    return Page::Home;
}

void PageSet::comeForward(const QByteArray &activationToken, const QByteArray &startupId)
{
    PageWindow *window = m_pages[shownPage()];
    if (!window)
        return;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    activateForStart(window->windowHandle(), activationToken, startupId);
}

void PageSet::openSearch(int page, const QString &query)
{
    if (!m_palette) {
        m_palette = std::make_unique<SearchPalette>();
        connect(m_palette.get(), &SearchPalette::chosen, this, [this](const SearchItem &item) {
            goToItem(m_paletteOpenedOn, item);
        });
        connect(m_palette.get(), &SearchPalette::editChosen, this, [this](const BuilderReading &reading) {
            editInBuilder(m_paletteOpenedOn, reading);
        });
    }
    m_paletteOpenedOn = page;
    m_palette->openOver(m_pages[page], query);
}

void PageSet::goToItem(int from, const SearchItem &item)
{
    navigationClick(*this, from, qint16(item.page));
    auto *target = qobject_cast<CatalogPage *>(m_pages[item.page]->content());
    if (!target)
        qFatal("search item %s is on page %d, which has no tags", qPrintable(item.control), item.page);
    QWidget *control = target->widget(item.control);
    if (auto *entry = qobject_cast<QAbstractButton *>(control); entry && !item.builder)
        entry->click();
    control->setFocus(Qt::OtherFocusReason);
}

void PageSet::editInBuilder(int from, const BuilderReading &reading)
{
    const int page = reading.builder->page;
    navigationClick(*this, from, qint16(page));
    auto *target = qobject_cast<CatalogPage *>(m_pages[page]->content());
    if (!target)
        qFatal("builder %s is on page %d, which has no tags", reading.builder->firstInput, page);
    fillBuilder(*target, reading);
}
