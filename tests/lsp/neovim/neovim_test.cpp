// The language server under a real client nobody on this project wrote:
// on one template, and (theme_client.lua) across a theme.
// Neovim, run headless, opens the fixture theme's index.htm (Chinese text
// and a character outside the BMP before its faults) and works on it as a
// user does (client.lua): findings, completion, an edit, hover and go to
// definition. The places are judged as Neovim shows them, in
// byte columns of the buffer, worked out here from the template's text; the
// same must come out whether Neovim speaks UTF-16 or UTF-8 to the server.
#include "tests/lsp/lspsession.h"

#include "lsp/catalogindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString kTheme = QStringLiteral(ZUVI_NEOVIM_DIR "/theme");

QStringList templateLines()
{
    QFile file(kTheme + QStringLiteral("/index.htm"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split(u'\n');
}

// Where `what` stands in `line`, counted in UTF-8 bytes or UTF-16 units.
int bytesBefore(const QString &line, const QString &what)
{
    const qsizetype at = line.indexOf(what);
    EXPECT_GE(at, 0) << what.toStdString();
    return int(line.left(at).toUtf8().size());
}
int unitsBefore(const QString &line, const QString &what)
{
    return int(line.indexOf(what));
}

// Runs `script` (a file of this folder) in Neovim on the theme at `root`,
// opening its index.htm; what the script wrote.
QJsonObject runNeovim(const QString &script, const QString &root, const QString &encoding = QStringLiteral("utf-16"))
{
    QTemporaryDir scratch;
    const QString resultPath = scratch.filePath(QStringLiteral("result.json"));
    QProcess nvim;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZUVI_LSP_SERVER"), QStringLiteral(ZUVI_TAGGEN_PATH));
    environment.insert(QStringLiteral("ZUVI_LSP_ROOT"), root);
    environment.insert(QStringLiteral("ZUVI_LSP_FILE"), root + QStringLiteral("/index.htm"));
    environment.insert(QStringLiteral("ZUVI_LSP_RESULT"), resultPath);
    environment.insert(QStringLiteral("ZUVI_LSP_ENCODING"), encoding);
    // Neovim's own state and logs stay in the scratch folder.
    for (const char *name : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "HOME"})
        environment.insert(QString::fromLatin1(name), scratch.path());
    nvim.setProcessEnvironment(environment);
    nvim.start(QStringLiteral(ZUVI_NVIM_PATH),
               {QStringLiteral("--headless"), QStringLiteral("-u"), QStringLiteral("NONE"), QStringLiteral("-i"),
                QStringLiteral("NONE"), QStringLiteral("-n"), QStringLiteral("-c"),
                QStringLiteral("luafile ") + QStringLiteral(ZUVI_NEOVIM_DIR "/") + script});
    const bool finished = nvim.waitForFinished(60000);
    if (!finished)
        nvim.kill();
    EXPECT_TRUE(finished) << "Neovim did not end; its output:\n"
                          << nvim.readAllStandardOutput().toStdString() << nvim.readAllStandardError().toStdString();
    QFile file(resultPath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "Neovim wrote nothing; its output:\n"
                                                << nvim.readAllStandardOutput().toStdString()
                                                << nvim.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

// A finding as Neovim holds it: line, byte columns, code, severity (1 error, 2 warning).
QJsonObject shownFinding(int line, const QString &text, const QString &what, const char *code, int severity)
{
    const int col = bytesBefore(text, what);
    return {{QStringLiteral("line"), line}, {QStringLiteral("col"), col},
            {QStringLiteral("end_col"), col + int(what.toUtf8().size())},
            {QStringLiteral("code"), QString::fromLatin1(code)}, {QStringLiteral("severity"), severity}};
}

class NeovimTest : public testing::TestWithParam<const char *> {};

TEST_P(NeovimTest, ShowsFindingsCompletesFollowsEditsHoversAndJumps)
{
    const QString encoding = QString::fromLatin1(GetParam());
    const QJsonObject result = runNeovim(QStringLiteral("client.lua"), kTheme, encoding);
    ASSERT_FALSE(result.isEmpty());
    ASSERT_FALSE(result.contains(QStringLiteral("error"))) << result[QStringLiteral("error")].toString().toStdString();
    EXPECT_EQ(result[QStringLiteral("encoding")].toString(), encoding);
    EXPECT_EQ(result[QStringLiteral("server_encoding")].toString(), encoding);

    const QStringList lines = templateLines();
    // The block left open, the word where a number goes (an error by the
    // theme's configuration) and the include that names no file; the
    // theme's own tag {zuvi:banner} is known by the same configuration.
    const QJsonObject unclosed = shownFinding(3, lines[3], QStringLiteral("{zuvi:arclist"), "E101", 1);
    const QJsonObject notNumber = shownFinding(3, lines[3], QStringLiteral("'十条'"), "W201", 1);
    const QJsonObject missing = shownFinding(6, lines[6], QStringLiteral("missing.htm"), "W301", 2);
    const QJsonArray findings = result[QStringLiteral("diagnostics")].toArray();
    EXPECT_TRUE(jsonIncludes(findings, QJsonArray{unclosed, notNumber, missing})) << shown(findings);
    EXPECT_EQ(findings[0][QStringLiteral("message")].toString(), QStringLiteral("块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist}"));

    // 分页标签 from "fenye", replacing what was typed; Neovim 0.7 takes no snippets.
    const QJsonObject completion = result[QStringLiteral("completion")].toObject();
    const int typedAt = encoding == QStringLiteral("utf-8") ? bytesBefore(lines[5], QStringLiteral("fenye"))
                                                            : unitsBefore(lines[5], QStringLiteral("fenye"));
    EXPECT_TRUE(jsonIncludes(completion, parseJson(QStringLiteral(R"({
        "label": "分页标签", "insertTextFormat": 1,
        "textEdit": {"range": {"start": {"line": 5, "character": %1}, "end": {"line": 5, "character": %2}}}})")
                                                       .arg(typedAt).arg(typedAt + 5).toUtf8().constData())))
        << shown(completion);
    EXPECT_EQ(result[QStringLiteral("completed_line")].toString(),
              QStringLiteral("<li>{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}</li>"));

    // The block closed by an edit: its finding gone, the others where they were.
    EXPECT_TRUE(jsonIncludes(result[QStringLiteral("diagnostics_after_edit")], QJsonArray{notNumber, missing}))
        << shown(result[QStringLiteral("diagnostics_after_edit")]);

    // Hover on the tag: its entries' captions and the tip the catalog gives one of them.
    const QString hover = result[QStringLiteral("hover")].toString();
    EXPECT_TRUE(hover.contains(QStringLiteral("{zuvi:arclist}"))) << hover.toStdString();
    const CatalogIndex &catalog = CatalogIndex::instance();
    qsizetype tips = 0;
    for (const qsizetype item : catalog.itemsWriting(QStringLiteral("zuvi:arclist"))) {
        const CatalogItem &entry = catalog.items()[item];
        if (entry.tip.isEmpty())
            continue;
        ++tips;
        EXPECT_TRUE(hover.contains(entry.caption)) << hover.toStdString();
        EXPECT_TRUE(hover.contains(entry.tip)) << hover.toStdString();
    }
    EXPECT_GT(tips, 0) << "the fixture's tag has a tip in the catalog";

    // Go to definition on the include: Neovim shows the included file from its start.
    const QJsonObject definition = result[QStringLiteral("definition")].toObject();
    EXPECT_EQ(QFileInfo(definition[QStringLiteral("file")].toString()).canonicalFilePath(),
              QFileInfo(kTheme + QStringLiteral("/head.htm")).canonicalFilePath())
        << shown(definition);
    EXPECT_EQ(definition[QStringLiteral("line")].toInt(), 1);
    EXPECT_EQ(definition[QStringLiteral("col")].toInt(-1), 0);

    EXPECT_EQ(result[QStringLiteral("exit_code")].toInt(-1), 0) << "shutdown and exit";
}

INSTANTIATE_TEST_SUITE_P(Encodings, NeovimTest, testing::Values("utf-16", "utf-8"));

// headertheme/ copied, for the rename changes it on disk.
class ThemeCopy
{
public:
    ThemeCopy() { copy(QStringLiteral(ZUVI_NEOVIM_DIR "/headertheme"), m_dir.path()); }
    QString root() const { return m_dir.path(); }
    QString text(const QString &name) const
    {
        QFile file(QDir(root()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    static void copy(const QString &from, const QString &to)
    {
        QDir(to).mkpath(QStringLiteral("."));
        for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = QDir(to).filePath(entry.fileName());
            if (entry.isDir())
                copy(entry.filePath(), target);
            else
                ASSERT_TRUE(QFile::copy(entry.filePath(), target)) << target.toStdString();
        }
    }
    QTemporaryDir m_dir;
};

TEST(NeovimTheme, CompletesPathsListsIncludesAndRenamesTheIncludedFile)
{
    const ThemeCopy theme;
    const QString header = theme.text(QStringLiteral("header.htm"));
    const QJsonObject result = runNeovim(QStringLiteral("theme_client.lua"), theme.root());
    ASSERT_FALSE(result.isEmpty());
    ASSERT_FALSE(result.contains(QStringLiteral("error"))) << result[QStringLiteral("error")].toString().toStdString();

    // Templates only, in the folder typed so far.
    EXPECT_EQ(result[QStringLiteral("completion_labels")], QJsonValue(QJsonArray{QStringLiteral("页脚.htm")}));
    EXPECT_EQ(result[QStringLiteral("completed_line")].toString(), QStringLiteral("{zuvi:include file='公共/页脚.htm' /}"));

    // The quickfix list: each include's file, line and byte column (from 1).
    QStringList listed;
    for (const QJsonValue &entry : result[QStringLiteral("references")].toArray()) {
        listed << QStringLiteral("%1:%2:%3")
                      .arg(QDir(theme.root()).relativeFilePath(entry[QStringLiteral("file")].toString()))
                      .arg(entry[QStringLiteral("lnum")].toInt())
                      .arg(entry[QStringLiteral("col")].toInt());
    }
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("index.htm:1:21"), QStringLiteral("lists_news.htm:2:21"),
                                   QStringLiteral("公共/页脚.htm:2:23")}));

    // Renamed on disk, the text kept, and every include naming it now.
    EXPECT_FALSE(result[QStringLiteral("old_exists")].toBool(true));
    EXPECT_FALSE(QFileInfo::exists(QDir(theme.root()).filePath(QStringLiteral("header.htm"))));
    EXPECT_EQ(theme.text(QStringLiteral("top.htm")), header);
    EXPECT_EQ(theme.text(QStringLiteral("index.htm")),
              QStringLiteral("{zuvi:include file='top.htm' /}\n<p>首页</p>\n{zuvi:include file='公共/页脚.htm' /}\n"));
    EXPECT_EQ(theme.text(QStringLiteral("lists_news.htm")),
              QStringLiteral("<p>新闻列表</p>\n{zuvi:include file=\"top.htm\" /}\n{zuvi:include file='公共/页脚.htm' /}\n"));
    EXPECT_EQ(theme.text(QStringLiteral("公共/页脚.htm")),
              QStringLiteral("<footer>\n  {zuvi:include file='top.htm' /}\n</footer>\n"));

    EXPECT_EQ(result[QStringLiteral("exit_code")].toInt(-1), 0) << "shutdown and exit";
}

} // namespace
