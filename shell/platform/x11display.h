#pragma once

#include <QByteArray>

// A connection to the X11 display named as DISPLAY names it, made to learn
// whether it answers, and held open until closed: an X server resets when
// its last client leaves, and refuses connections while it does, so the
// toolkit's own first connection must come before this one goes. With
// libxcb the server is asked (its address and authorization both count);
// without it, any name counts.
class X11Connection
{
public:
    explicit X11Connection(const QByteArray &display);
    ~X11Connection();
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    bool answers() const { return m_answers; }

private:
    void *m_connection = nullptr;
    bool m_answers = false;
};
