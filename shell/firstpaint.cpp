#include "shell/firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <utility>

namespace {

// Watches every event until a window receives its first paint event. The
// work is posted from there: the window's paint and the flush of its backing
// store happen in the same call, so the posted work runs when both have
// returned, ahead of other posted work of a lower priority.
class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(std::function<void()> work, Qt::EventPriority priority)
        : m_work(std::move(work)), m_priority(priority)
    {
        setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(this);
    }

    // Runs the work now, unless it ran already.
    void runNow()
    {
        if (!m_work)
            return;
        QCoreApplication::instance()->removeEventFilter(this);
        const std::function<void()> work = std::exchange(m_work, nullptr);
        work();
        deleteLater();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            QCoreApplication::instance()->removeEventFilter(this);
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), m_priority);
        }
        return false;
    }

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        runNow();
        return true;
    }

private:
    std::function<void()> m_work;
    Qt::EventPriority m_priority;
};

} // namespace

void reportFirstPaintIfAsked()
{
    if (!qEnvironmentVariableIsSet("ZUVI_REPORT_FIRST_PAINT"))
        return;
    const bool quitAfterwards = qEnvironmentVariableIsSet("ZUVI_QUIT_AFTER_FIRST_PAINT");
    new FirstPaintWatcher(
        [quitAfterwards] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::fprintf(stderr, "first-paint %lld\n",
                         static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stderr);
            if (quitAfterwards)
                QCoreApplication::quit();
        },
        Qt::HighEventPriority);
}

void afterFirstPaint(std::function<void()> work, int latestMs)
{
    auto *watcher = new FirstPaintWatcher(std::move(work), Qt::NormalEventPriority);
    QTimer::singleShot(latestMs, watcher, [watcher] { watcher->runNow(); });
}
