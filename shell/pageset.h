#pragma once

#include "core/catalog/navigation.h"
#include "core/catalog/pagetable.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

class PageWindow;
class SearchPalette;
struct BuilderReading;
struct SearchItem;

// The nine pages for the whole run. A page is created when first needed and
// never destroyed; navigation only shows and hides, and a hidden page keeps
// its state but gives back the image it is drawn into. Ctrl+K or Ctrl+F on any
// page, whatever control has the focus, opens the search palette.
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

    // The page whose window is shown.
    int shownPage() const;
    // Brings the shown page's window to the front for another start of the
    // program, with the tokens the desktop gave that start.
    void comeForward(const QByteArray &activationToken, const QByteArray &startupId);

    // Opens the search palette over page `page`, as Ctrl+K or Ctrl+F there
    // do, with `query` typed in.
    void openSearch(int page, const QString &query = {});
    SearchPalette *searchPalette() const { return m_palette.get(); }   // nullptr until first opened

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Does what the user would do by hand to reach the item: navigates from
    // `from` to its page, then clicks its entry, or puts the focus in the
    // builder's first box.
    void goToItem(int from, const SearchItem &item);
    // Navigates from `from` to the builder's page and fills it from the
    // reading.
    void editInBuilder(int from, const BuilderReading &reading);
    int pageOf(const QObject *object) const;

    Factory m_factory;
    std::unique_ptr<SearchPalette> m_palette;
    int m_paletteOpenedOn = 0;
    std::array<PageWindow *, kLastPage + 1> m_pages{};   // index 0 unused
};
