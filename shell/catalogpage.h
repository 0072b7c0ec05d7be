#pragma once

#include "shell/pagecatalog.h"
#include "shell/tagpage.h"

#include <QHash>
#include <QObject>

#include <memory>

class QButtonGroup;
class QLabel;
class QPlainTextEdit;
class QtPageView;

// A tag page built from its data file: frames, labels, entries with their
// tips, input controls and the output box, placed on the page window. Pages
// without behaviour of their own are this and nothing more; pages with
// builders find their input controls here by name and wire them.
class CatalogPage : public QObject
{
    Q_OBJECT
public:
    CatalogPage(QWidget *window, const QString &catalogFile, TagPage::Selection selection,
                const QString &initialOutput);
    ~CatalogPage() override;

    const PageCatalog &catalog() const { return m_catalog; }
    PageView &view();
    TagPage &tagPage() { return *m_tagPage; }

    QWidget *widget(const QString &name) const { return m_widgets.value(name); }
    template <typename T> T *widget(const QString &name) const
    {
        return qobject_cast<T *>(widget(name));
    }
    QPlainTextEdit *outputBox() const { return m_output; }
    // Every option button of the page (entries and others) in one exclusive group.
    QButtonGroup *optionGroup() const { return m_group; }

private:
    QWidget *createControl(const CatalogControl &control, QWidget *parent);

    PageCatalog m_catalog;
    QHash<QString, QWidget *> m_widgets;
    QPlainTextEdit *m_output = nullptr;
    QButtonGroup *m_group = nullptr;
    QList<QLabel *> m_pictureLabels;   // in the order of the page data
    std::unique_ptr<QtPageView> m_view;
    std::unique_ptr<TagPage> m_tagPage;
};

// The texts every tag page shares.
QString usageText();
QString initialOutputText();   // pages 2 to 8; the home page starts empty
