#pragma once

#include <QIcon>

// The icon of the program and of its tag pages, drawn at the icon theme's
// sizes. Each size is decoded when it is first asked for, and once: the
// platforms that show no window icon (Wayland, offscreen) decode none, and X11
// decodes the sizes it hands to the window manager when the first page shows.
QIcon applicationIcon();
