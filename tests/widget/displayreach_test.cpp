// Whether the windows can open, decided before Qt starts: from the platform
// Qt is about to try and whether its display answers.

#include "shell/platform/displayreach.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct Start {
    const char *what;
    QStringList arguments;
    SessionEnvironment environment;   // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY
    QByteArray answeringX11;          // the one X11 display that answers, if any
    bool waylandAnswers;
    const char *refusal;              // what the reason names; nullptr: the windows may open
};

void PrintTo(const Start &start, std::ostream *out)
{
    *out << start.what;
}

class DisplayReach : public testing::TestWithParam<Start>
{
};

TEST_P(DisplayReach, RefusesOnlyWhereEveryPlatformTriedLacksItsDisplay)
{
    const Start &start = GetParam();
    QByteArrayList x11Asked;
    const DisplayAnswers answers{
        [&](const QByteArray &display) {
            x11Asked << display;
            return !start.answeringX11.isEmpty() && display == start.answeringX11;
        },
        [&](const QByteArray &) { return start.waylandAnswers; }};
    const QString why = unreachableDisplay(start.arguments, start.environment, answers);
    if (start.refusal) {
        EXPECT_TRUE(why.contains(QString::fromUtf8(start.refusal))) << why.toStdString();
        EXPECT_FALSE(why.contains(u'\n'));
    } else {
        EXPECT_EQ(why, QString());
    }
    EXPECT_FALSE(x11Asked.contains(QByteArray())) << "an unnamed X11 display is never asked";
}

INSTANTIATE_TEST_SUITE_P(
    Starts, DisplayReach,
    testing::Values(
        Start{"NothingAtAll", {}, {"", "", "tty", ""}, "", false, "DISPLAY is not set"},
        Start{"NothingAtAllNamesWaylandToo", {}, {"", "", "", ""}, "", false, "WAYLAND_DISPLAY is not set"},
        Start{"X11Answers", {}, {"", "", "x11", ":0"}, ":0", false, nullptr},
        Start{"X11Gone", {}, {"", "", "", ":7"}, "", false, "X11 display :7 does not answer"},
        Start{"WaylandSessionAnswers", {}, {"", "wayland-0", "wayland", ""}, "", true, nullptr},
        Start{"WaylandGoneXWaylandAnswers", {}, {"", "wayland-0", "wayland", ":0"}, ":0", false, nullptr},
        Start{"WaylandGone", {}, {"", "wayland-1", "wayland", ""}, "", false, "Wayland display wayland-1 does not answer"},
        // A Wayland socket the session does not name is not what Qt tries.
        Start{"WaylandNotNamedBySession", {}, {"", "", "tty", ""}, "", true, "DISPLAY is not set"},
        Start{"Offscreen", {}, {"offscreen", "", "", ""}, "", false, nullptr},
        Start{"OffscreenWithOptions", {}, {"offscreen:configfile=/tmp/screen.json", "", "", ""}, "", false, nullptr},
        Start{"AnotherPlatformIsQtsToJudge", {}, {"vnc", "", "", ""}, "", false, nullptr},
        Start{"ChosenXcbWithWaylandOnly", {}, {"xcb", "wayland-0", "wayland", ""}, "", true, "DISPLAY is not set"},
        Start{"ChosenWaylandWithX11Only", {}, {"wayland", "", "", ":0"}, ":0", false, "WAYLAND_DISPLAY is not set"},
        Start{"ChosenListWithOneThatAnswers", {}, {"xcb;wayland", "wayland-0", "wayland", ":3"}, "", true, nullptr},
        Start{"PlatformArgumentOverVariable", {"-platform", "offscreen"}, {"xcb", "", "", ""}, "", false, nullptr},
        Start{"PlatformArgumentWithTwoDashes", {"--platform", "xcb"}, {"offscreen", "", "", ""}, "", false,
              "DISPLAY is not set"},
        Start{"DisplayArgumentOverVariable", {"-display", ":1", "-reverse"}, {"", "", "", ":0"}, ":1", false, nullptr},
        Start{"StyleArgumentChangesNothing", {"-style", "fusion"}, {"", "", "", ""}, "", false, "DISPLAY is not set"}),
    [](const testing::TestParamInfo<Start> &info) { return std::string(info.param.what); });

} // namespace
