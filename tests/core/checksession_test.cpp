// Which configuration governs each checked file, and what it does to the
// file's findings: severities, the site's tags, where includes are looked up.
#include "core/check/checksession.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class CheckSessionTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    void write(const QString &relative, const QByteArray &bytes)
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QFileInfo(relative).path()));
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

TEST_F(CheckSessionTest, EachFileIsGovernedByTheNearestConfiguration)
{
    write(u".zuvi-check.json"_s, R"({"severity": {"W101": "error"}})");
    write(u"m/.zuvi-check.json"_s, R"({"severity": {"W101": "off"}})");
    write(u"bad/.zuvi-check.json"_s, "{\n  \"severty\": {}\n}");
    CheckSession session;
    const CheckConfig *top = session.configFor(path(u"pc/inc/head.htm"_s));
    const CheckConfig *mobile = session.configFor(path(u"m/index.htm"_s));
    ASSERT_TRUE(top && mobile);
    EXPECT_EQ(top->path, path(u".zuvi-check.json"_s));
    EXPECT_EQ(mobile->path, path(u"m/.zuvi-check.json"_s));
    EXPECT_EQ(session.configFor(path(u"pc/index.htm"_s)), top) << "read once, shared by the files it governs";
    EXPECT_EQ(session.configFor(path(u"not-yet-saved.htm"_s)), top) << "a file need not exist";

    QString error;
    EXPECT_EQ(session.configFor(path(u"bad/x.htm"_s), &error), nullptr);
    EXPECT_EQ(error, path(u"bad/.zuvi-check.json"_s)
                         + u":2:3: unknown key \"severty\"; the keys are templateRoot, siteRoot, ignore, severity and tags"_s);

    const QString unknownTag = u"{zuvi:arclst /}"_s;
    EXPECT_EQ(session.check(unknownTag, *top, {}).value(0).severity, Severity::Error);
    EXPECT_TRUE(session.check(unknownTag, *mobile, {}).isEmpty());
}

TEST_F(CheckSessionTest, OneConfigurationForEveryFileWhenNamed)
{
    write(u"site/.zuvi-check.json"_s, R"({"severity": {"W": "off"}})");
    write(u"ci.json"_s, R"({"tags": [{"name": "banner", "block": true}]})");
    CheckSession session(path(u"ci.json"_s));
    const CheckConfig *config = session.configFor(path(u"site/index.htm"_s));
    ASSERT_TRUE(config);
    EXPECT_EQ(config->path, path(u"ci.json"_s));
    EXPECT_EQ(session.check(u"{zuvi:banner}{zuvi:arclst /}"_s, *config, {}).size(), 2)
        << "the site's tag is a block left open; the unknown tag still warns";

    QString error;
    CheckSession missing(path(u"none.json"_s));
    EXPECT_EQ(missing.configFor(path(u"site/index.htm"_s), &error), nullptr);
    EXPECT_TRUE(error.startsWith(u"cannot read "_s + path(u"none.json"_s) + u": "_s)) << error.toStdString();
}

TEST_F(CheckSessionTest, IncludesUnderTheConfiguredRootOrTheOneGiven)
{
    write(u"theme/inc/head.htm"_s, "");
    write(u"site/.zuvi-check.json"_s, R"({"templateRoot": "../theme"})");
    const QString include = u"{zuvi:include file='inc/head.htm' /}"_s;
    CheckSession session;
    const CheckConfig *none = session.configFor(path(u"theme/pages/a.htm"_s));
    const CheckConfig *site = session.configFor(path(u"site/a.htm"_s));
    ASSERT_TRUE(none && site);
    EXPECT_TRUE(session.check(include, *none, path(u"theme"_s)).isEmpty());
    EXPECT_EQ(session.check(include, *none, path(u"theme/pages"_s)).value(0).code, u"W301"_s);
    EXPECT_TRUE(session.check(include, *site, path(u"elsewhere"_s)).isEmpty())
        << "the configuration's root wins over the one given";
}

// A folder, or the root itself, is not the file an include names.
TEST_F(CheckSessionTest, AnIncludeNamesAFileNotAFolder)
{
    write(u"theme/inc/head.htm"_s, "");
    CheckSession session;
    const CheckConfig *config = session.configFor(path(u"theme/a.htm"_s));
    ASSERT_TRUE(config);
    const QList<Finding> findings =
        session.check(u"{zuvi:include file='inc' /}{zuvi:include file='.' /}{zuvi:include file='inc/head.htm' /}"_s, *config,
                      path(u"theme"_s));
    ASSERT_EQ(findings.size(), 2);
    EXPECT_EQ(findings[0].code, u"W301"_s);
    EXPECT_EQ(findings[1].code, u"W301"_s);
    EXPECT_TRUE(findings[1].message.endsWith(u"（查找位置 "_s + QDir::toNativeSeparators(path(u"theme"_s)) + u"）"_s))
        << findings[1].message.toStdString();
}

// Includes that lead back round: each file of a cycle is told at its include
// into the cycle, whether the other files were checked before it or are read
// for it; a file included from two places is no cycle.
TEST_F(CheckSessionTest, IncludeCyclesAreFoundAcrossTheFiles)
{
    write(u"theme/a.htm"_s, "{zuvi:include file='b.htm' /}{zuvi:include file='common.htm' /}");
    write(u"theme/b.htm"_s, "{zuvi:include file='inc/c.htm' /}");
    write(u"theme/inc/c.htm"_s, "x\n{zuvi:include file='a.htm' /}{zuvi:include file='common.htm' /}");
    write(u"theme/common.htm"_s, "");
    write(u"theme/self.htm"_s, "{zuvi:include file='self.htm' /}");
    CheckSession session;
    const CheckConfig *config = session.configFor(path(u"theme/a.htm"_s));
    ASSERT_TRUE(config);
    const auto checked = [&](const QString &name) {
        QFile file(path(u"theme/"_s + name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QStringList found;
        for (const Finding &f : session.check(text, *config, path(u"theme"_s), path(u"theme/"_s + name)))
            found << f.code + u' ' + text.sliced(f.start, f.length) + u": "_s + f.message;
        return found;
    };
    EXPECT_EQ(checked(u"inc/c.htm"_s), QStringList{u"E301 a.htm: {zuvi:include} 循环包含：inc/c.htm → a.htm → b.htm → inc/c.htm"_s})
        << "found from the first file checked, the others read for it";
    EXPECT_EQ(checked(u"a.htm"_s), QStringList{u"E301 b.htm: {zuvi:include} 循环包含：a.htm → b.htm → inc/c.htm → a.htm"_s});
    EXPECT_EQ(checked(u"common.htm"_s), QStringList());
    EXPECT_EQ(checked(u"self.htm"_s), QStringList{u"E301 self.htm: {zuvi:include} 循环包含：self.htm → self.htm"_s});
    EXPECT_TRUE(session.check(u"{zuvi:include file='b.htm' /}"_s, *config, path(u"theme"_s)).isEmpty())
        << "without the file's own path no cycle is looked for";
}

// A cycle longer than a message lists: the first files are named. The
// includes are walked without recursion, however long the chain.
TEST_F(CheckSessionTest, LongIncludeChains)
{
    const int files = 5000;
    for (int i = 0; i < files; ++i)
        write(u"theme/f%1.htm"_s.arg(i), "{zuvi:include file='f" + QByteArray::number((i + 1) % files) + ".htm' /}");
    CheckSession session;
    const CheckConfig *config = session.configFor(path(u"theme/f0.htm"_s));
    ASSERT_TRUE(config);
    const QList<Finding> findings =
        session.check(u"{zuvi:include file='f1.htm' /}"_s, *config, path(u"theme"_s), path(u"theme/f0.htm"_s));
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings[0].message,
              u"{zuvi:include} 循环包含：f0.htm → f1.htm → f2.htm → f3.htm → f4.htm → …（共 %1 个）"_s.arg(files + 1));
    // A file that leads into the cycle is not on it.
    EXPECT_TRUE(session.check(u"{zuvi:include file='f7.htm' /}"_s, *config, path(u"theme"_s), path(u"theme/lead.htm"_s))
                    .isEmpty());
}

// Files as the language server hands them: texts open in the editor over the disk.
class OpenFiles : public TemplateFiles
{
public:
    std::optional<QString> openText(const QString &path) const override
    {
        const auto open = texts.constFind(path);
        return open == texts.cend() ? std::nullopt : std::optional<QString>(*open);
    }
    QHash<QString, QString> texts;
};

// What is a file is one answer for includes, configurations and links: a
// regular file or a link to one, or a document open in the editor; never a
// folder, a link to one, a dangling link or a pipe.
TEST_F(CheckSessionTest, WhatIsAFile)
{
    write(u"theme/head.htm"_s, "");
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(u"theme/inc"_s));
    ASSERT_TRUE(QFile::link(path(u"theme/head.htm"_s), path(u"theme/head-link.htm"_s)));
    ASSERT_TRUE(QFile::link(path(u"theme/inc"_s), path(u"theme/inc-link"_s)));
    ASSERT_TRUE(QFile::link(path(u"theme/gone.htm"_s), path(u"theme/dangling.htm"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"theme/pipe.htm"_s)).constData(), 0600), 0);
    OpenFiles editor;
    editor.texts.insert(path(u"theme/unsaved.htm"_s), u"<p>新</p>"_s);

    const struct {
        const char *name;
        bool onDisk, inEditor;
    } cases[] = {
        {"head.htm", true, true},      {"head-link.htm", true, true}, {"inc", false, false},
        {"inc-link", false, false},    {"dangling.htm", false, false}, {"pipe.htm", false, false},
        {"unsaved.htm", false, true},  {"absent.htm", false, false},
    };
    for (const auto &c : cases) {
        const QString file = path(u"theme/"_s + QLatin1StringView(c.name));
        EXPECT_EQ(TemplateFiles::disk().isFile(file), c.onDisk) << c.name;
        EXPECT_EQ(editor.isFile(file), c.inEditor) << c.name;
    }
    EXPECT_EQ(editor.templateText(path(u"theme/unsaved.htm"_s)), u"<p>新</p>"_s);
    EXPECT_EQ(editor.templateText(path(u"theme/head.htm"_s)), u""_s);
    EXPECT_EQ(editor.templateText(path(u"theme/inc"_s)), std::nullopt);
}

// In a live session (the language server's) a configuration is read again
// when it changes on disk or in the editor, one appears or goes where it is
// looked for, and an unsaved one governs; a snapshot (a check run) keeps
// what it read first.
TEST_F(CheckSessionTest, ALiveSessionFollowsItsConfigurations)
{
    const QString unknownTag = u"{zuvi:arclst /}"_s;
    const QString file = path(u"site/index.htm"_s);
    const QString configPath = path(u"site/.zuvi-check.json"_s);
    OpenFiles editor;
    CheckSession live(editor, CheckSession::Freshness::Live);
    CheckSession snapshot(editor, CheckSession::Freshness::Snapshot);
    const auto severityIn = [&](CheckSession &session) -> QString {
        QString error;
        const CheckConfig *config = session.configFor(file, &error);
        if (!config)
            return u"faulty: "_s + error;
        const QList<Finding> found = session.check(unknownTag, *config, path(u"site"_s));
        return found.isEmpty() ? u"off"_s : found[0].severity == Severity::Error ? u"error"_s : u"warning"_s;
    };
    EXPECT_EQ(severityIn(live), u"warning"_s);
    EXPECT_EQ(severityIn(snapshot), u"warning"_s);

    write(u"site/.zuvi-check.json"_s, R"({"severity": {"W101": "off"}})");
    EXPECT_EQ(severityIn(live), u"off"_s) << "a configuration written beside the file";
    EXPECT_EQ(severityIn(snapshot), u"warning"_s);

    write(u"site/.zuvi-check.json"_s, R"({"severity": {"W101": "error"}})");
    EXPECT_EQ(severityIn(live), u"error"_s) << "edited on disk";

    editor.texts.insert(configPath, u"{\n  \"severity\": {\"W101\": \"off\"}}"_s);
    EXPECT_EQ(severityIn(live), u"off"_s) << "edited in the editor, not saved";
    editor.texts.insert(configPath, u"{\"severty\": {}}"_s);
    EXPECT_EQ(severityIn(live), u"faulty: "_s + configPath + u":1:2: unknown key \"severty\"; the keys are templateRoot, "
                                                              "siteRoot, ignore, severity and tags"_s);
    editor.texts.remove(configPath);
    EXPECT_EQ(severityIn(live), u"error"_s) << "closed unsaved: the disk's again";

    ASSERT_TRUE(QFile::remove(configPath));
    EXPECT_EQ(severityIn(live), u"warning"_s) << "deleted";
    editor.texts.insert(configPath, u"{\"severity\": {\"W101\": \"error\"}}"_s);
    EXPECT_EQ(severityIn(live), u"error"_s) << "open in the editor, never saved";
    EXPECT_EQ(severityIn(snapshot), u"warning"_s) << "the snapshot keeps what it found first: no configuration";
}

// The site's tags are made into knowledge once per configuration read, and
// the context hands that knowledge to the checker.
TEST_F(CheckSessionTest, SiteTagsAreKnownOncePerConfiguration)
{
    write(u"site/.zuvi-check.json"_s, R"({"tags": [{"name": "banner", "block": true}]})");
    CheckSession session;
    const std::shared_ptr<const SiteRules> rules = session.rulesFor(path(u"site/a.htm"_s));
    EXPECT_EQ(session.rulesFor(path(u"site/pc/b.htm"_s)), rules);
    ASSERT_TRUE(rules->knowledge && rules->knowledge->find(u"zuvi:banner"_s)) << "the site's tag is known";
    EXPECT_EQ(session.contextFor(*rules, {}).knowledge, rules->knowledge.get());
    EXPECT_EQ(session.rulesFor(path(u"elsewhere/a.htm"_s))->knowledge.get(), &TagKnowledge::catalog())
        << "without site tags, the catalog's own";
}

} // namespace
