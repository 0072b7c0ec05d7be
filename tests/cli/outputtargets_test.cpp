// Where -o may point, and what the program must do with each: regular files
// are replaced whole and keep what the user set on them, anything else is
// written through and never replaced, and every failure says why. Each case
// runs in a scratch folder through a shell, which makes the target and gives
// redirections and names that are not UTF-8.

#include "tests/cli/programrun.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

// Shell tests of what a case needs.
#define AS_ROOT "[ $(id -u) = 0 ]"
#define MOUNT_ALLOWED AS_ROOT " && mkdir m && mount -t tmpfs -o size=64k tmpfs m && umount m && rmdir m"

namespace {

struct Status {
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    ino_t inode = 0;
    nlink_t links = 0;
};

Status statusOf(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_mode, st.st_uid, st.st_gid, st.st_ino, st.st_nlink};
}

struct Target {
    const char *what;
    // Makes the target in the scratch folder; empty when there is nothing to make.
    const char *prepare;
    // Runs "$B" with the target; $EXPORT is "--export vscode".
    const char *command;
    int status;
    // Whether the export must arrive on the command's standard output.
    bool exportOnStandardOutput = false;
    // What the message names besides the target; empty: no message at all.
    const char *message = "";
    // What the folder must hold afterwards, checked by the case.
    std::function<void(const QDir &folder, const std::map<QString, Status> &before)> check = {};
    // A shell test that must pass for the case to run (root, a mount allowed).
    const char *precondition = "";
};

void PrintTo(const Target &target, std::ostream *out)
{
    *out << target.what;
}

class OutputTarget : public testing::TestWithParam<Target>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QTemporaryDir m_dir;
};

// Every name in the folder, hidden ones too: a temporary file left behind shows.
QStringList namesIn(const QDir &folder)
{
    return folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

TEST_P(OutputTarget, IsWrittenAsItsKindWants)
{
    const Target &target = GetParam();
    const QDir folder(m_dir.path());
    if (*target.precondition && runShell(QString::fromUtf8(target.precondition), m_dir.path()).status != 0)
        GTEST_SKIP() << "not here: " << target.precondition;
    if (*target.prepare) {
        const ProgramRun prepared = runShell(QString::fromUtf8(target.prepare), m_dir.path());
        ASSERT_EQ(prepared.status, 0) << prepared.err.toStdString();
    }
    std::map<QString, Status> before;
    for (const QString &name : namesIn(folder))
        before[name] = statusOf(folder.filePath(name));

    const ProgramRun run =
        runShell(QStringLiteral("EXPORT='--export vscode'; ") + QString::fromUtf8(target.command), m_dir.path());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, target.status) << run.err.toStdString();
    if (*target.message) {
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("zuvi-taggen: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(target.message)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("Unknown error")) << run.err.toStdString();
    } else {
        EXPECT_EQ(run.err, QByteArray());
    }
    if (target.exportOnStandardOutput) {
        EXPECT_TRUE(run.out == vsCodeExport()) << run.out.size() << " bytes on standard output";
    }
    if (target.check)
        target.check(folder, before);
}

// The names as the file system holds them, which QDir would read as UTF-8.
QByteArrayList rawNamesIn(const QDir &folder)
{
    QByteArrayList names;
    if (DIR *listing = ::opendir(QFile::encodeName(folder.path()).constData())) {
        while (const dirent *entry = ::readdir(listing)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(listing);
    }
    return names;
}

QByteArray readRawPath(const QByteArray &path)
{
    std::ifstream file(path.toStdString(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return file ? QByteArray::fromStdString(bytes) : QByteArray("<unreadable>");
}

// The folder holds the names it held, and `name` holds the export.
std::function<void(const QDir &, const std::map<QString, Status> &)> holdsTheExport(const QString &name)
{
    return [name](const QDir &folder, const std::map<QString, Status> &before) {
        QStringList expected;
        for (const auto &[existing, status] : before)
            expected << existing;
        if (!expected.contains(name))
            expected << name;
        expected.sort();
        EXPECT_EQ(namesIn(folder), expected);
        EXPECT_TRUE(readFile(folder.filePath(name)) == vsCodeExport()) << name.toStdString() << " is not the export";
    };
}

// Its kind, mode, owner and group as they were.
void keptItsKindAndOwner(const QDir &folder, const std::map<QString, Status> &before, const QString &name)
{
    const Status was = before.at(name);
    const Status now = statusOf(folder.filePath(name));
    EXPECT_EQ(now.mode, was.mode) << name.toStdString();
    EXPECT_EQ(now.owner, was.owner) << name.toStdString();
    EXPECT_EQ(now.group, was.group) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Targets, OutputTarget,
    testing::Values(
        Target{"NewName", "", "$B $EXPORT -o new.json", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   holdsTheExport(QStringLiteral("new.json"))(folder, before);
                   // The mode any new file gets under the shell's umask.
                   EXPECT_EQ(statusOf(folder.filePath(QStringLiteral("new.json"))).mode & 07777, 0666u & ~0022u);
               }},
        Target{"FileOfAnotherOwnerAndMode", "printf old > f && chown 65534:65534 f && chmod 640 f",
               "umask 022; $B $EXPORT -o f", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   holdsTheExport(QStringLiteral("f"))(folder, before);
                   keptItsKindAndOwner(folder, before, QStringLiteral("f"));
               },
               AS_ROOT},
        Target{"FileOfOwnMode", "printf old > f && chmod 604 f", "$B $EXPORT -o f", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   holdsTheExport(QStringLiteral("f"))(folder, before);
                   keptItsKindAndOwner(folder, before, QStringLiteral("f"));
               }},
        Target{"HardLinkedFile", "printf old > f && ln f g", "$B $EXPORT -o f", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   holdsTheExport(QStringLiteral("f"))(folder, before);
                   EXPECT_TRUE(readFile(folder.filePath(QStringLiteral("g"))) == vsCodeExport()) << "the link broke";
                   EXPECT_EQ(statusOf(folder.filePath(QStringLiteral("f"))).links, nlink_t(2));
                   EXPECT_EQ(statusOf(folder.filePath(QStringLiteral("f"))).inode, before.at(QStringLiteral("f")).inode);
               }},
        Target{"SymbolicLinkToAFile", "mkdir real && printf old > real/f && chmod 600 real/f && ln -s real/f link",
               "$B $EXPORT -o link", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   EXPECT_TRUE(S_ISLNK(statusOf(folder.filePath(QStringLiteral("link"))).mode)) << "the link was replaced";
                   EXPECT_TRUE(readFile(folder.filePath(QStringLiteral("real/f"))) == vsCodeExport());
                   EXPECT_EQ(statusOf(folder.filePath(QStringLiteral("real/f"))).mode & 07777, 0600u);
                   EXPECT_EQ(namesIn(QDir(folder.filePath(QStringLiteral("real")))), QStringList{QStringLiteral("f")});
                   EXPECT_EQ(namesIn(folder).size(), before.size());
               }},
        // Root may write it, as the shell's `>` would; it stays read-only.
        Target{"ReadOnlyFileAsRoot", "printf old > f && chmod 444 f", "$B $EXPORT -o f", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   holdsTheExport(QStringLiteral("f"))(folder, before);
                   keptItsKindAndOwner(folder, before, QStringLiteral("f"));
               },
               AS_ROOT},
        Target{"ReadOnlyFileAsAnotherUser", "printf old > f && chmod 444 f",
               // As root, the write is tried as nobody in a folder nobody may write to.
               "if [ $(id -u) = 0 ]; then chmod 755 . && exec setpriv --reuid=65534 --regid=65534 --clear-groups "
               "$B $EXPORT -o f; else exec $B $EXPORT -o f; fi",
               1, false, "cannot write f: Permission denied",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_EQ(readFile(folder.filePath(QStringLiteral("f"))), QByteArray("old"));
                   EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("f")});
               }},
        Target{"CharacterDevice", "mknod null c 1 3", "$B $EXPORT -o null", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_TRUE(S_ISCHR(statusOf(folder.filePath(QStringLiteral("null"))).mode)) << "the device was replaced";
                   EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("null")});
               },
               AS_ROOT},
        Target{"FifoWithAReader", "mkfifo ff", "cat ff > got & $B $EXPORT -o ff; status=$?; wait; exit $status", 0,
               false, "",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_TRUE(S_ISFIFO(statusOf(folder.filePath(QStringLiteral("ff"))).mode)) << "the FIFO was replaced";
                   EXPECT_TRUE(readFile(folder.filePath(QStringLiteral("got"))) == vsCodeExport()) << "the reader missed it";
               }},
        // Opened without waiting: no reader is said at once, not waited for.
        Target{"FifoWithNoReader", "mkfifo ff", "timeout 10 $B $EXPORT -o ff", 2, false,
               "cannot write ff: no process reads from this FIFO",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_TRUE(S_ISFIFO(statusOf(folder.filePath(QStringLiteral("ff"))).mode)) << "the FIFO was replaced";
                   EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("ff")});
               }},
        Target{"FifoWithNoReaderForACheck", "mkfifo ff && printf '{zuvi:arclist}' > a.htm",
               "timeout 10 $B check a.htm -o ff", 2, false, "cannot write ff: no process reads from this FIFO",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_EQ(namesIn(folder), (QStringList{QStringLiteral("a.htm"), QStringLiteral("ff")}));
               }},
        // SIGXFSZ would kill the program with the temporary file left.
        Target{"PastTheFileSizeLimit", "printf old > big.json", "ulimit -f 1; $B $EXPORT -o big.json", 1, false,
               "cannot write big.json: File too large",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_EQ(readFile(folder.filePath(QStringLiteral("big.json"))), QByteArray("old"));
                   EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("big.json")});
               }},
        Target{"DescriptorOfAPipe", "", "$B $EXPORT -o /dev/fd/3 3>&1 1>/dev/null", 0, true},
        Target{"ProcessSubstitution", "", "$B $EXPORT -o >(cat > got); status=$?; wait; exit $status", 0, false, "",
               holdsTheExport(QStringLiteral("got"))},
        Target{"StandardOutputAppendingToAFile", "printf 'before\\n' > log", "$B $EXPORT -o /dev/stdout >> log", 0,
               false, "",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_TRUE(readFile(folder.filePath(QStringLiteral("log"))) == "before\n" + vsCodeExport())
                       << "the file was replaced, not appended to";
               }},
        Target{"Dash", "", "$B $EXPORT -o -", 0, true, "",
               [](const QDir &folder, const std::map<QString, Status> &) { EXPECT_EQ(namesIn(folder), QStringList()); }},
        // Root gets a node of its own: a program that replaced it would otherwise replace the system's.
        Target{"DeviceThatIsFull", AS_ROOT " && mknod full c 1 7 || ln -s /dev/full full", "$B $EXPORT -o full", 1,
               false, "cannot write full: No space left on device",
               [](const QDir &folder, const std::map<QString, Status> &before) {
                   EXPECT_EQ(statusOf(folder.filePath(QStringLiteral("full"))).mode, before.at(QStringLiteral("full")).mode);
                   EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("full")});
               }},
        Target{"FullDisk",
               "mkdir s && mount -t tmpfs -o size=64k tmpfs s && head -c 32768 /dev/zero > s/fill && printf old > s/x.json",
               "$B $EXPORT -o s/x.json; status=$?; ls -A s > left; umount s; exit $status", 1, false,
               "cannot write s/x.json: No space left on device",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_EQ(readFile(folder.filePath(QStringLiteral("left"))), QByteArray("fill\nx.json\n"))
                       << "a temporary file was left on the full disk";
               },
               MOUNT_ALLOWED},
        // 标签.json in GB18030, written under its own bytes.
        Target{"NameThatIsNotUtf8", "", "$B $EXPORT -o \"$(printf '\\261\\352\\307\\251.json')\"", 0, false, "",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   const QByteArray name("\xB1\xEA\xC7\xA9.json");
                   EXPECT_EQ(rawNamesIn(folder), QByteArrayList{name});
                   const QByteArray path = QFile::encodeName(folder.path()) + '/' + name;
                   EXPECT_TRUE(readRawPath(path) == vsCodeExport());
                   ::unlink(path.constData());   // which QTemporaryDir could not name
               }},
        Target{"NameThatIsNotUtf8InTheMessage", "mkdir \"$(printf '\\261\\352')\" && chmod 500 \"$(printf '\\261\\352')\"",
               "if [ $(id -u) = 0 ]; then chmod 755 . && exec setpriv --reuid=65534 --regid=65534 --clear-groups "
               "$B $EXPORT -o \"$(printf '\\261\\352/x')\"; else exec $B $EXPORT -o \"$(printf '\\261\\352/x')\"; fi",
               1, false, "cannot write \xB1\xEA/x: Permission denied",
               [](const QDir &folder, const std::map<QString, Status> &) {
                   EXPECT_EQ(::rmdir((QFile::encodeName(folder.path()) + "/\xB1\xEA").constData()), 0)
                       << "something was left in it";
               }}),
    [](const testing::TestParamInfo<Target> &info) { return std::string(info.param.what); });

// GNU tools' rule: standard output that cannot be written is an error, said
// on standard error; a reader that stops early ends the program quietly.
struct StandardOutputCase {
    const char *command;
    int status;
    const char *message;   // empty: none
};

TEST(StandardOutput, AWriteThatFailsIsAnErrorAndAClosedPipeIsNot)
{
    const StandardOutputCase cases[] = {
        {"$B --version > /dev/full", 1, "zuvi-taggen: write error: No space left on device\n"},
        {"$B --help > /dev/full", 1, "zuvi-taggen: write error: No space left on device\n"},
        {"$B --export jetbrains > /dev/full", 1, "zuvi-taggen: write error: No space left on device\n"},
        {"$B --version >&-", 1, "zuvi-taggen: write error: Bad file descriptor\n"},
        {"$B --export vscode -o - >&-", 1, "zuvi-taggen: write error: Bad file descriptor\n"},
        // The program is ended by SIGPIPE, as cat would be: 128 + 13.
        {"$B --export vscode | head -c 10 > /dev/null; exit ${PIPESTATUS[0]}", 141, ""},
    };
    QTemporaryDir dir;
    for (const StandardOutputCase &c : cases) {
        SCOPED_TRACE(c.command);
        const ProgramRun run = runShell(QString::fromUtf8(c.command), dir.path());
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, QByteArray(c.message));
    }
}

} // namespace
