#pragma once

#include <optional>

// Whether the window system names this program the owner of the clipboard,
// asked right after a write. Empty where the window system cannot be asked
// (not X11, or built without libxcb): then the clipboard's own word counts.
std::optional<bool> windowSystemSaysWeOwnTheClipboard();
