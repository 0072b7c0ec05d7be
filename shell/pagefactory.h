#pragma once

#include <QString>

class PageWindow;

// Builds page `number` in its initial state, hidden: the window with its
// navigation bar and the page's own content.
PageWindow *createPageWindow(int number);

// The data file of a tag page, e.g. "lists.page"; empty for the about page.
QString catalogFileName(int number);
