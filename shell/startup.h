#pragma once

// What the program sets up between constructing its QApplication and showing
// the first page: its names, its style, the page fonts and the window icon.
void prepareApplication();
