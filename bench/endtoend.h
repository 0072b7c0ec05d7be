#pragma once

#include <QString>

#include <vector>

// Start-up as the user sees it: from starting the program to its first
// window painted on a real X server (a private Xvfb), the tool against the
// bare window (bench/barewindow_main.cpp), both started the same way, in
// fresh processes taken in turns. Each program reports the moment its first
// window was painted and flushed (ZUVI_REPORT_FIRST_PAINT) and quits.
struct EndToEndFigures {
    int rounds = 0;
    QString error;   // empty when every start reported its first paint

    // Milliseconds from just before the process was spawned to the first
    // paint, one per round.
    std::vector<double> tool;
    std::vector<double> bare;
    double toolMedian = 0;
    double bareMedian = 0;
};

// Runs the rounds the first time it is called.
const EndToEndFigures &endToEndFigures();
