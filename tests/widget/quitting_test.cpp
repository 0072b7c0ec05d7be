// The program ends when the user closes the visible page, though the other
// pages still exist, hidden.

#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QTimer>

namespace {

using Quitting = PagesFixture;

TEST_F(Quitting, ClosingTheVisiblePageEndsTheProgram)
{
    goTo(Page::Shop);   // all nine pages exist, eight of them hidden
    ASSERT_TRUE(QGuiApplication::quitOnLastWindowClosed());
    bool timedOut = false;
    QTimer::singleShot(0, page(Page::Shop), [this] { page(Page::Shop)->close(); });
    // A safety net: if closing does not end the event loop, end it here.
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    QObject::connect(&safetyNet, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    safetyNet.start(3000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
}

} // namespace
