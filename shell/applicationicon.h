#pragma once

#include <QIcon>

// The icon of the program and of its tag pages, drawn at the icon theme's
// sizes and decoded once. The platforms that show no window icon (Wayland,
// offscreen) decode a size when it is first asked for; on X11 the sizes every
// window hands to the window manager are decoded on a worker thread as soon
// as the icon is made, so that the first page need not wait for them.
QIcon applicationIcon();
