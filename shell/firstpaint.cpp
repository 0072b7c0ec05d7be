#include "shell/firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

// Watches every event until a window receives its first paint event. The
// report is posted from there: the window's paint and the flush of its
// backing store happen in the same call, so the posted report runs when both
// have returned, ahead of any other posted work.
class FirstPaintReporter : public QObject
{
public:
    explicit FirstPaintReporter(bool quitAfterwards) : m_quitAfterwards(quitAfterwards) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            QCoreApplication::instance()->removeEventFilter(this);
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        }
        return false;
    }

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::fprintf(stderr, "first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stderr);
        if (m_quitAfterwards)
            QCoreApplication::quit();
        return true;
    }

private:
    bool m_quitAfterwards;
};

} // namespace

void reportFirstPaintIfAsked()
{
    if (!qEnvironmentVariableIsSet("ZUVI_REPORT_FIRST_PAINT"))
        return;
    auto *reporter = new FirstPaintReporter(qEnvironmentVariableIsSet("ZUVI_QUIT_AFTER_FIRST_PAINT"));
    reporter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(reporter);
}
