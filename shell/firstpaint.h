#pragma once

#include <functional>

// With ZUVI_REPORT_FIRST_PAINT set, prints one line to stderr,
//   first-paint <CLOCK_MONOTONIC nanoseconds>
// once the first window has been painted and its backing store flushed to
// the window system; with ZUVI_QUIT_AFTER_FIRST_PAINT set as well, the event
// loop then ends. Start-up is measured with it from outside, from process
// start to the first page on the screen. Without the variable nothing is
// installed.
void reportFirstPaintIfAsked();

// Runs `work` once, after the first window has been painted and flushed
// (after the report above), or after `latestMs` where no window is painted
// by then (one that the window manager keeps hidden, say): for what the
// first page need not wait for.
void afterFirstPaint(std::function<void()> work, int latestMs = 2000);
