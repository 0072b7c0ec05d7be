#pragma once

#include "bench/support.h"

#include <QString>

// What only a process of its own can show: the first start-up of a run, when
// fonts, style and plugins are loaded for the first time, and the resident
// memory. The benchmark program starts itself again with --zuvi-child=<mode>;
// the child measures once and prints key=value lines for the parent.

bool isChildRun(int argc, char **argv);
int runChild(int argc, char **argv);

struct FreshProcessFigures {
    int rounds = 0;
    QString error;   // empty when every child ran and painted

    // Medians over the rounds, in milliseconds. Start-up runs from the
    // constructed QApplication to the window shown and painted; the
    // navigation times from the click to the target page painted.
    double bareStartup = 0;
    double homeStartup = 0;
    double preparation = 0;   // prepareApplication(), part of homeStartup
    double firstClick = 0;    // home page -> list page: creates the eight others
    double firstVisit = 0;    // list page -> content page: created, never shown before
    double laterClick = 0;    // back to a page shown before
    double laterClickSlowest = 0;   // the slowest of every other page shown again

    // Medians over the rounds, in MiB.
    Residency bare;           // bare window shown and painted
    Residency home;           // home page shown and painted
    Residency ninePages;      // after the first navigation click: all nine created
    Residency allVisited;     // after every page has been shown once
    // Of those, in images shared with the X server (backing stores); none on
    // the offscreen platform.
    double bareSharedImages = 0;
    double visitedSharedImages = 0;
};

// Runs the child processes the first time it is called, on the benchmark's
// own platform (offscreen).
const FreshProcessFigures &freshProcessFigures();

// Resident memory around large pastes into the home page's column ID box,
// in a process of its own: six times another program copies 1 MiB of digits
// and the user selects all in the box and presses Ctrl+V; then the user
// selects all and presses Backspace. MiB, medians over the rounds.
struct PasteMemoryFigures {
    static constexpr int kPastes = 6;

    int rounds = 0;
    QString error;

    double before = 0;               // home page shown, the megabyte made
    double afterPaste[kPastes] = {}; // after each paste, painted
    double peak = 0;                 // VmHWM: the most resident at any time
    double cleared = 0;              // after the box was emptied
    double keptChars = 0;            // what the box kept of a paste
};

// Runs the child processes the first time it is called.
const PasteMemoryFigures &pasteMemoryFigures();

// The same on a private Xvfb, where a window's backing store is an image
// shared with the X server and an expose event comes back from the server.
const FreshProcessFigures &xServerFigures();
