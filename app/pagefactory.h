#pragma once

#include "shell/pageset.h"

class Clipboard;

// The composition root: the factory that builds each page in its initial
// state, hidden, as the page table describes it: the window with its
// navigation bar and the page's own content. Every page puts its snippets on
// `clipboard`, which must outlive the pages.
PageSet::Factory pageFactory(Clipboard &clipboard);
