#include "bench/support.h"

#include "core/catalog/pagetable.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

void settle()
{
    // The first round delivers the expose and posted update requests; a
    // second one picks up what painting itself posted.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

bool settleUntilPainted(const PaintCounter &paints)
{
    settle();
    if (paints.count() > 0)
        return true;
    QDeadlineTimer deadline(5000);
    // Wakes the wait below now and then, so that the deadline is seen.
    QTimer wake;
    wake.start(5);
    while (paints.count() == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settle();
    return paints.count() > 0;
}

PaintCounter::PaintCounter(QObject *watched)
{
    // Not a child of the watched object: either may go first.
    watched->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++m_count;
    return false;
}

PageWindow *visiblePage(const PageSet &pages)
{
    for (int p = kFirstPage; p <= kLastPage; ++p) {
        if (PageWindow *window = pages.page(p); window && window->isVisible())
            return window;
    }
    return nullptr;
}

void clickNavigation(PageSet &pages, int target)
{
    if (PageWindow *window = visiblePage(pages))
        window->navigationButton(target)->click();
}

Residency readResidency(int pid)
{
    Residency r;
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return r;
    const auto kibToMib = [](const QByteArray &line) {
        // "VmRSS:\t   26632 kB"
        return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    };
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            r.total = kibToMib(line);
        else if (line.startsWith("RssAnon:"))
            r.anonymous = kibToMib(line);
        else if (line.startsWith("RssFile:"))
            r.fileBacked = kibToMib(line);
        else if (line.startsWith("VmHWM:"))
            r.peak = kibToMib(line);
    }
    return r;
}

double readSharedImageResidency()
{
    QFile maps(QStringLiteral("/proc/self/smaps"));
    if (!maps.open(QIODevice::ReadOnly))
        return 0;
    double kib = 0;
    bool shared = false;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        // A mapping's header starts with its address range, "7f1d...-7f1d... rw-s ...".
        if (!line.isEmpty() && line.indexOf(':') > line.indexOf(' '))
            shared = line.contains("/memfd:xorg") || line.contains("/SYSV");
        else if (shared && line.startsWith("Rss:"))
            kib += line.mid(4).trimmed().split(' ').value(0).toDouble();
    }
    return kib / 1024.0;
}

namespace {

QtMessageHandler previousHandler = nullptr;

void filterPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("does not support raise()"))
        || message.contains(QLatin1String("XDG_RUNTIME_DIR not set")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void silencePlatformNotes()
{
    previousHandler = qInstallMessageHandler(filterPlatformNotes);
}

const char *pageSlug(int page)
{
    static const char *const slugs[] = {"",      "home", "lists", "content", "shop",
                                        "other", "ui",   "files", "functions", "about"};
    return page >= kFirstPage && page <= kLastPage ? slugs[page] : "?";
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
