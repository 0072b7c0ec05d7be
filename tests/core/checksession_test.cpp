// Which configuration governs each checked file, and what it does to the
// file's findings: severities, the site's tags, where includes are looked up.
#include "core/checksession.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

} // namespace
