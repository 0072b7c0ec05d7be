#pragma once

#include "core/catalog/pagecatalog.h"
#include "core/catalog/tagpage.h"

#include <QHash>
#include <QObject>

#include <memory>

class Clipboard;
class PageOptions;
class PageView;
class QAbstractButton;
class QLabel;
class OutputBox;
class QtPageView;

// A tag page built from its data file: frames, labels, entries with their
// tips, input controls and the output box, placed on the page window. Pages
// without behaviour of their own are this and nothing more; pages with
// builders find their input controls here by name and wire them.
class CatalogPage : public QObject
{
    Q_OBJECT
public:
    // The page's snippets go to `clipboard`.
    CatalogPage(QWidget *window, int page, Clipboard &clipboard);
    ~CatalogPage() override;

    const PageCatalog &catalog() const { return m_catalog; }
    PageView &view();

    // A control by its name in the page data, e.g. "columnId" or
    // "listPageTag3". The code names only controls the data has: a name the
    // page lacks, or a control of another class, stops the program.
    QWidget *widget(const QString &name) const;
    template <typename T> T *widget(const QString &name) const
    {
        QWidget *found = widget(name);
        auto *control = qobject_cast<T *>(found);
        if (!control)
            wrongClass(name, found, T::staticMetaObject.className());
        return control;
    }
    OutputBox *outputBox() const { return m_output; }
    // The page's selected option button (entry or other option), or nullptr.
    QAbstractButton *selectedOption() const;

private:
    QWidget *createControl(const CatalogControl &control, QWidget *parent);
    [[noreturn]] void wrongClass(const QString &name, const QWidget *found, const char *wanted) const;

    int m_page;
    PageCatalog m_catalog;
    QHash<QString, QWidget *> m_widgets;
    OutputBox *m_output = nullptr;
    PageOptions *m_options = nullptr;
    std::unique_ptr<QtPageView> m_view;
    std::unique_ptr<TagPage> m_tagPage;
};
