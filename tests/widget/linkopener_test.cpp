// The opener process belongs to neither the page nor the program: the program
// never waits for it, and leaving does not end it.

#include "shell/linkopener.h"
#include "tests/support/fakeclipboard.h"
#include "tests/support/fakeopener.h"
#include "tests/support/qtprinters.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(LinkOpener, AnOpenerStillRunningOutlivesTheOpenerAndItsWindow)
{
    FakeOpeners fakes;
    ASSERT_TRUE(fakes.isValid());
    const QString release = fakes.path(QStringLiteral("release"));
    const QString ended = fakes.path(QStringLiteral("ended"));
    // Runs, like a browser in the foreground, until the test lets it end
    // (or ten seconds have passed), then says so.
    const QString program = fakes.write(QStringLiteral("foreground"), QStringLiteral(
        "i=0\n"
        "while [ ! -e '%1' ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
        "[ -e '%1' ] && printf '%s\\n' \"$1\" > '%2'\n").arg(release, ended));

    FakeClipboard clipboard;
    auto window = std::make_unique<QWidget>();
    auto *opener = new LinkOpener(window.get(), clipboard);
    opener->setProgram(program);
    QSignalSpy opened(opener, &LinkOpener::opened);
    QSignalSpy failed(opener, &LinkOpener::failed);
    const QUrl address(QStringLiteral("https://example.com/page/"));
    opener->open(address);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakes.opened() == QStringList{address.toString()}; }));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(failed.isEmpty());

    // The window and its opener go, as they do when the program ends.
    window.reset();
    ASSERT_TRUE(QFile(release).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(ended); }))
        << "the opener was ended with its window";
    QFile file(ended);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).trimmed(), address.toString());
}

} // namespace
