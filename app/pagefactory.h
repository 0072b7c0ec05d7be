#pragma once

class PageWindow;

// The composition root: builds page `number` in its initial state, hidden,
// as the page table describes it: the window with its navigation bar and the
// page's own content.
PageWindow *createPageWindow(int number);
