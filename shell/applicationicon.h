#pragma once

#include <QIcon>

// The icon of the program and of its tag pages, drawn at the icon theme's
// sizes, each decoded once, when a platform first asks for it: offscreen and
// on Wayland, which show no window icon, nothing is decoded.
QIcon applicationIcon();
