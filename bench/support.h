#pragma once

#include "bench/barewindow.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <vector>

class PageSet;
class PageWindow;
class QWidget;

using Clock = std::chrono::steady_clock;

inline double millisecondsBetween(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

inline double secondsBetween(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double>(end - start).count();
}

// Delivers what is pending (expose events, update requests), so that every
// visible window has been painted when it returns on the offscreen platform.
void settle();

// The middle of the values (the mean of the two middle ones for an even
// count); 0 for none.
double median(std::vector<double> values);

// Counts the paint events a widget receives, so that a measurement can make
// sure it included a paint.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QObject *watched);
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_count = 0;
};

// settle(), and on a real window system, where the expose event comes back
// from the server, waits on until `paints` has counted a paint (at most 5 s)
// and settles once more. False if nothing was painted.
bool settleUntilPainted(const PaintCounter &paints);

// The page currently visible; nullptr if none is.
PageWindow *visiblePage(const PageSet &pages);
// A click on navigation button `target` of the visible page, as the user
// gives it. Does not wait for the paint.
void clickNavigation(PageSet &pages, int target);

// Resident memory of a process, this one by default, from
// /proc/<pid>/status, in MiB: everything, and its anonymous and file-backed
// parts.
struct Residency {
    double total = 0;
    double anonymous = 0;
    double fileBacked = 0;
    double peak = 0;   // VmHWM: the most resident at any time so far
};
Residency readResidency(int pid = 0);
// The part of the resident memory in images shared with the X server (the
// windows' backing stores), from /proc/self/smaps, in MiB.
double readSharedImageResidency();

// Lets every Qt message through except the offscreen platform's notes about
// what it cannot do (raise(), a runtime directory), which would break up the
// result table.
void silencePlatformNotes();

// Short page names for benchmark names: "home", "lists", ...
const char *pageSlug(int page);
