#pragma once

#include <vector>

// A step of a real-window scenario: click a control of the visible page (by
// its name in the page data, or a navigation button "navigationButton<k>"),
// then optionally type text and press a key, then compare the clipboard.
struct Step {
    int page;                             // the page the step happens on
    const char *control;                  // e.g. "homePageTag4", "columnId"; nullptr: no click
    const char16_t *typed = nullptr;      // typed after the click (at the end of the box)
    const char *key = nullptr;            // xdotool key names pressed after typing, e.g. "Tab space"
    const char16_t *clipboard = nullptr;  // the clipboard text expected afterwards
    bool clipboardKept = false;           // the clipboard must keep what it held before
    int arrivesOn = 0;                    // the page the step's keys navigate to, if they do
};

// Scenarios run one after the other in one program; each starts from the
// state the one before it left.
struct Scenario {
    const char *name;
    std::vector<Step> steps;
};

// Every registered scenario, in registration order.
std::vector<Scenario> &allScenarios();

// Adds scenarios at start-up: `static ScenarioRegistration home{{...}};`
struct ScenarioRegistration {
    explicit ScenarioRegistration(std::vector<Scenario> scenarios)
    {
        for (Scenario &s : scenarios)
            allScenarios().push_back(std::move(s));
    }
};
