#pragma once

#include <QByteArray>

// Whether the X11 display named as DISPLAY names it accepts a connection.
// With libxcb a connection is made and closed; without it, any name counts.
bool x11DisplayAnswers(const QByteArray &display);
