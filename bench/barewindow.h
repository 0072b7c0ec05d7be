#pragma once

#include <memory>

class QWidget;

// The baseline every start-up is compared with: a top-level window of a
// page's size holding one QPlainTextEdit over all of it, centred, shown,
// raised and activated the way a page is shown.
std::unique_ptr<QWidget> showBareWindow();
