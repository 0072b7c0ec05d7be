// One tool per user and display: where later starts find the running tool,
// what they tell it, and the lock that makes two starts end with one tool.
// The starts that hand over run on threads of their own, as they would in
// processes of their own, while this one's event loop serves as the tool's.

#include "shell/platform/singleinstance.h"
#include "shell/platform/windowactivation.h"
#include "shell/platform/windowplatform.h"
#include "tests/support/qtprinters.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

namespace {

TEST(StartRequest, TravelsWholeAndNothingElseIsTakenForOne)
{
    const StartRequest requests[] = {
        {},
        {true, QString(), "", ""},
        // A query may hold anything a paste does, line breaks too, and the
        // tokens are bytes.
        {true, QStringLiteral("{zuvi:arclist row='10'}\r\n分页 \"x\"\\n"), "kwin-42_ab.c", "host;123_TIME99"},
        {false, QString(), QByteArray("\0\xff\n", 3), "x y"},
    };
    for (const StartRequest &request : requests) {
        const QByteArray line = request.encode();
        EXPECT_EQ(line.count('\n'), 1);
        EXPECT_TRUE(line.endsWith('\n'));
        EXPECT_EQ(StartRequest::decode(line), request);
    }

    const QByteArray notRequests[] = {
        "",
        "{\"search\":true,\"searchText\":\"\",\"activationToken\":\"\",\"startupId\":\"\"}",   // unended
        "hello\n",
        "[]\n",
        "{\"search\":\"yes\",\"searchText\":\"\",\"activationToken\":\"\",\"startupId\":\"\"}\n",
        "{\"search\":true,\"activationToken\":\"\",\"startupId\":\"\"}\n",
    };
    for (const QByteArray &line : notRequests)
        EXPECT_EQ(StartRequest::decode(line), std::nullopt) << line.toStdString();
}

struct Placement {
    const char *what;
    QStringList arguments;
    SessionEnvironment environment;   // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY
    int sameAs;                       // the row with the same socket, or -1 for a socket of its own
};

TEST(InstanceSocketPath, OneSocketPerDisplayAndNoneWithoutADisplay)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray userRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const Placement placements[] = {
        {"X11 display :0", {}, {"", "", "", ":0"}, -1},
        {"its screen 0", {}, {"", "", "", ":0.0"}, 0},
        {"by the local socket", {}, {"", "", "", "unix:0"}, 0},
        {"chosen on the command line", {"-display", ":0"}, {"", "", "", ":5"}, 0},
        {"X11 platform chosen", {}, {"xcb", "", "", ":0"}, 0},
        {"another X11 display", {}, {"", "", "", ":1"}, -1},
        {"a remote one", {}, {"", "", "", "build-host:0"}, -1},
        {"Wayland with XWayland", {}, {"", "wayland-0", "wayland", ":0"}, -1},
        {"the same, Wayland chosen", {}, {"wayland", "wayland-0", "wayland", ":0"}, 7},
        {"another Wayland display", {}, {"", "wayland-1", "wayland", ":0"}, -1},
    };
    QStringList paths;
    for (const Placement &p : placements) {
        SCOPED_TRACE(p.what);
        const QString path = instanceSocketPath(p.arguments, p.environment);
        EXPECT_TRUE(path.startsWith(runtime.path() + QStringLiteral("/zuvi-taggen-"))) << path.toStdString();
        if (p.sameAs >= 0)
            EXPECT_EQ(path, paths.value(p.sameAs));
        else
            EXPECT_FALSE(paths.contains(path)) << path.toStdString();
        paths << path;
    }
    // Windows on a platform without a display never meet another start.
    EXPECT_EQ(instanceSocketPath({}, {"offscreen", "", "", ":0"}), QString());
    EXPECT_EQ(instanceSocketPath({QStringLiteral("-platform"), QStringLiteral("offscreen")}, {"", "", "", ":0"}),
              QString());
    qputenv("XDG_RUNTIME_DIR", userRuntime);
}

TEST(StartupId, ItsLaunchTimeStampsTheActivation)
{
    const std::pair<QByteArray, quint32> ids[] = {
        {"launcher-1234-host-zuvi-taggen-0_TIME5678", 5678},
        {"kwin;4242_TIME_TIME17", 17},
        {"no-time", 0},
        {"_TIME", 0},
        {"_TIMEsoon", 0},
        {"", 0},
    };
    for (const auto &[id, time] : ids)
        EXPECT_EQ(launchTimeOfStartupId(id), time) << id.toStdString();
}

// A start run on a thread of its own; its answer once it ends.
class Start
{
public:
    Start(const QString &path, StartRequest request)
        : m_thread([this, path, request] {
              SingleInstance start(path);
              m_answer = start.handOver(request);
              m_done = true;
          })
    {
    }
    ~Start() { m_thread.join(); }

    // Serves this thread's events until the start has its answer.
    std::optional<SingleInstance::HandOver> answer(int timeoutMs = 20000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_done && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return m_done ? std::optional(m_answer) : std::nullopt;
    }

private:
    std::atomic<bool> m_done = false;
    SingleInstance::HandOver m_answer{};
    std::thread m_thread;
};

class HandingOver : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_path = m_folder.filePath(QStringLiteral("tool"));
    }
    QTemporaryDir m_folder;
    QString m_path;
};

TEST_F(HandingOver, TheToolCarriesOutEachRequestBeforeTheStartEnds)
{
    SingleInstance tool(m_path);
    ASSERT_EQ(tool.handOver({}), SingleInstance::HandOver::NoRunningTool);
    ASSERT_TRUE(tool.listen()) << tool.errorString().toStdString();
    QList<StartRequest> received;
    QObject::connect(&tool, &SingleInstance::requested, [&](const StartRequest &r) { received << r; });

    const StartRequest search{true, QStringLiteral("fenye"), "token", "id_TIME1"};
    {
        Start start(m_path, search);
        EXPECT_EQ(start.answer(), SingleInstance::HandOver::Done);
    }
    EXPECT_EQ(received, QList<StartRequest>{search});

    // A line that is no request is not carried out, and the tool goes on.
    QLocalSocket stranger;
    stranger.connectToServer(m_path);
    ASSERT_TRUE(stranger.waitForConnected(2000));
    stranger.write("open everything\n");
    stranger.flush();
    QDeadlineTimer deadline(500);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(stranger.readAll(), QByteArray());
    EXPECT_EQ(received.size(), 1);
    {
        Start start(m_path, {});
        EXPECT_EQ(start.answer(), SingleInstance::HandOver::Done);
    }
    EXPECT_EQ(received.size(), 2);
}

// The socket is the user's alone, and a start that listens without having
// taken the lock (it could not be had) leaves a running tool's socket be.
TEST_F(HandingOver, TheSocketIsTheUsersAndAStartWithoutTheLockLeavesItBe)
{
    SingleInstance tool(m_path);
    ASSERT_EQ(tool.handOver({}), SingleInstance::HandOver::NoRunningTool);
    ASSERT_TRUE(tool.listen()) << tool.errorString().toStdString();
    EXPECT_EQ(QFileInfo(m_path).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner
                                                    | QFile::WriteOwner),
              QFile::Permissions());

    SingleInstance unlocked(m_path);
    EXPECT_FALSE(unlocked.listen());
    EXPECT_FALSE(unlocked.errorString().isEmpty());
    int requests = 0;
    QObject::connect(&tool, &SingleInstance::requested, [&] { ++requests; });
    Start start(m_path, {});
    EXPECT_EQ(start.answer(), SingleInstance::HandOver::Done);
    EXPECT_EQ(requests, 1);
}

TEST_F(HandingOver, AStartWaitsWhileAnotherBecomesTheToolThenHandsOverToIt)
{
    SingleInstance first(m_path);
    ASSERT_EQ(first.handOver({}), SingleInstance::HandOver::NoRunningTool);
    int requests = 0;
    QObject::connect(&first, &SingleInstance::requested, [&] { ++requests; });

    // The first holds the lock while it builds its windows: the second
    // finds no tool, but must not become one.
    Start second(m_path, {});
    EXPECT_EQ(second.answer(300), std::nullopt) << "the second start did not wait";
    ASSERT_TRUE(first.listen());
    EXPECT_EQ(second.answer(), SingleInstance::HandOver::Done);
    EXPECT_EQ(requests, 1);
}

} // namespace
