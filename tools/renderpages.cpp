// Renders every page of the tool into PNG files, after one representative
// click on each, for the README and for checking the layout by eye.
//
//   render-pages <output-directory>
//
// Runs on any Qt platform, the offscreen one included.

#include "shell/catalogpage.h"
#include "shell/copiednote.h"
#include "shell/startup.h"
#include "app/pagefactory.h"
#include "shell/platform/clipboard.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: render-pages <output-directory>");
        return 2;
    }
    prepareApplication();
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;

    // The index of the entry clicked on each page before it is rendered, by
    // page number; none on the about page.
    constexpr int kNone = -1;
    const int representative[] = {kNone, 4, 16, 14, 2, 5, 1, 0, 0, kNone};

    SystemClipboard clipboard;
    PageSet pages(pageFactory(clipboard));
    pages.start();
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        pages.page(Page::Home)->navigationButton(page)->click();
        PageWindow *window = pages.page(page);
        if (auto *content = qobject_cast<CatalogPage *>(window->content()); content && representative[page] != kNone) {
            const CatalogControl *entry = content->catalog().entry(qint16(representative[page]));
            if (!entry)
                qFatal("page %d has no entry %d", page, representative[page]);
            content->widget<QAbstractButton>(entry->name)->click();
        }
        QTest::qWait(20);
        // The page as it stays, after the note of the copy has gone.
        const bool noteGone = QTest::qWaitFor([window] {
            const CopiedNote *note = window->findChild<CopiedNote *>();
            return !note || !note->isVisible();
        }, 3 * CopiedNote::kShownMilliseconds);
        if (!noteGone)
            qWarning("page %d: the note of the copy is still up", page);
        const QString file = out.filePath(QStringLiteral("page%1-%2.png").arg(page).arg(window->objectName()));
        if (!window->grab().save(file)) {
            qWarning("cannot write %s", qPrintable(file));
            return 1;
        }
        pages.page(page)->navigationButton(Page::Home)->click();
    }
    return 0;
}
