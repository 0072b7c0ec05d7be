// Which windowing platform the program asks Qt for, from the environment it
// is started in.

#include "shell/platform/windowplatform.h"

#include <gtest/gtest.h>

namespace {

struct Session {
    const char *what;
    SessionEnvironment environment;
    const char *platform;   // "": Qt's own choice
};

void PrintTo(const Session &session, std::ostream *out)
{
    *out << session.what;
}

class PlatformChoice : public testing::TestWithParam<Session>
{
};

TEST_P(PlatformChoice, FollowsTheSession)
{
    EXPECT_EQ(preferredPlatform(GetParam().environment), QByteArray(GetParam().platform));
}

// SessionEnvironment: QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY.
INSTANTIATE_TEST_SUITE_P(
    Sessions, PlatformChoice,
    testing::Values(
        Session{"WaylandWithXWayland", {"", "wayland-0", "wayland", ":0"}, "xcb;wayland"},
        Session{"WaylandNamedByTheDisplayAlone", {"", "wayland-1", "", ":1"}, "xcb;wayland"},
        Session{"WaylandNamedByTheSessionTypeAlone", {"", "", "wayland", ":0"}, "xcb;wayland"},
        Session{"PureWayland", {"", "wayland-0", "wayland", ""}, ""},
        Session{"X11", {"", "", "x11", ":0"}, ""},
        Session{"X11WithoutSessionType", {"", "", "", ":0"}, ""},
        Session{"NoDisplayAtAll", {"", "", "tty", ""}, ""},
        Session{"UserChoseWayland", {"wayland", "wayland-0", "wayland", ":0"}, ""},
        Session{"UserChoseXcb", {"xcb", "wayland-0", "wayland", ":0"}, ""},
        Session{"UserChoseOffscreen", {"offscreen", "wayland-0", "wayland", ":0"}, ""}),
    [](const testing::TestParamInfo<Session> &info) { return std::string(info.param.what); });

} // namespace
