// What waits for the first window to be painted: the single instance's
// listening, which the first page need not wait for. It runs once, after the
// paint, or after its deadline where no window is painted at all.

#include "shell/firstpaint.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Serves events until `done` or `timeoutMs` has passed.
void serveUntil(const int &done, int timeoutMs)
{
    for (QDeadlineTimer deadline(timeoutMs); done == 0 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(AfterFirstPaint, RunsOnceAfterAWindowIsPaintedAndNotBefore)
{
    int runs = 0;
    bool paintedFirst = false;
    QWidget window;
    window.resize(200, 100);
    afterFirstPaint([&] {
        ++runs;
        paintedFirst = window.isVisible();
    }, 60000);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0) << "ran before any window was painted";

    window.show();
    serveUntil(runs, 5000);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(paintedFirst);

    // Later paints, of this window or another, run nothing again.
    QWidget second;
    second.show();
    window.update();
    QDeadlineTimer settle(200);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(runs, 1);
}

TEST(AfterFirstPaint, WithoutAWindowPaintedRunsAtItsDeadline)
{
    int runs = 0;
    afterFirstPaint([&] { ++runs; }, 300);
    QDeadlineTimer early(100);
    while (!early.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(runs, 0) << "ran long before its deadline";
    serveUntil(runs, 5000);
    EXPECT_EQ(runs, 1);
}

} // namespace
