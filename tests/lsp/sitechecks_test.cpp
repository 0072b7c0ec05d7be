// The server's findings are the check command's: the same session, the same
// answer to whether an included path is a file, and the configuration that
// governs the document, read again as it changes on disk or in the editor.
#include "core/check/checksession.h"
#include "tests/lsp/lspsession.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class Site
{
public:
    Site() { EXPECT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString uri(const QString &name) const { return uriOfPath(path(name)); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(QFileInfo(name).path()));
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
    }
    QJsonArray folders() const { return {QJsonObject{{u"uri"_s, uriOfPath(m_dir.path())}, {u"name"_s, u"site"_s}}}; }

private:
    QTemporaryDir m_dir;
};

// Findings of one line of text as "code@column severity message", the
// server's severities in the protocol's numbers.
QStringList shownFindings(const QJsonArray &diagnostics)
{
    QStringList shown;
    for (const QJsonValue &d : diagnostics)
        shown << u"%1@%2 %3 %4"_s.arg(d[u"code"_s].toString())
                     .arg(d[u"range"_s][u"start"_s][u"character"_s].toInt())
                     .arg(d[u"severity"_s].toInt())
                     .arg(d[u"message"_s].toString());
    return shown;
}

QStringList shownFindings(const QList<Finding> &findings)
{
    QStringList shown;
    for (const Finding &f : findings)
        shown << u"%1@%2 %3 %4"_s.arg(f.code).arg(f.start).arg(int(f.severity) + 1).arg(f.message);
    return shown;
}

// Every kind of path an include may name: a file, a link to one, a folder,
// a link to one, a dangling link, a pipe, a missing file; and a site's tag
// and severities from its configuration. The server says of each what the
// check command says, and links only those it takes for files.
TEST(SiteChecks, TheServerFindsWhatTheCheckCommandFinds)
{
    Site site;
    site.write(u".zuvi-check.json"_s, R"({"severity": {"W301": "error"}, "tags": [{"name": "banner", "block": true}]})");
    site.write(u"inc/head.htm"_s, "");
    ASSERT_TRUE(QFile::link(site.path(u"inc/head.htm"_s), site.path(u"inc/link.htm"_s)));
    ASSERT_TRUE(QFile::link(site.path(u"inc"_s), site.path(u"folder-link"_s)));
    ASSERT_TRUE(QFile::link(site.path(u"inc/gone.htm"_s), site.path(u"dangling.htm"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(site.path(u"pipe.htm"_s)).constData(), 0600), 0);
    const QString text = u"{zuvi:include file='inc/head.htm' /}{zuvi:include file='inc/link.htm' /}"
                         "{zuvi:include file='inc' /}{zuvi:include file='folder-link' /}"
                         "{zuvi:include file='dangling.htm' /}{zuvi:include file='pipe.htm' /}"
                         "{zuvi:include file='absent.htm' /}{zuvi:banner}{zuvi:arclst /}"_s;
    site.write(u"index.htm"_s, text.toUtf8());

    CheckSession session;
    const CheckConfig *config = session.configFor(site.path(u"index.htm"_s));
    ASSERT_TRUE(config);
    const QStringList checked = shownFindings(session.check(text, *config, site.path({}), site.path(u"index.htm"_s)));
    ASSERT_EQ(checked.size(), 7) << "five paths that are no files, the banner left open, the unknown tag: "
                                 << checked.join(u'\n').toStdString();

    LspSession server;
    server.initialize({}, site.folders());
    server.open(site.uri(u"index.htm"_s), text);
    EXPECT_EQ(shownFindings(server.lastDiagnostics(site.uri(u"index.htm"_s)).value_or(QJsonArray())), checked);

    // Links lead to what the checker takes for files, and to nothing else.
    QStringList targets;
    const QJsonValue links = server.request(u"textDocument/documentLink"_s,
                                            QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, site.uri(u"index.htm"_s)}}}})
                                 .value(u"result"_s);
    for (const QJsonValue &link : links.toArray())
        targets << link[u"target"_s].toString();
    EXPECT_EQ(targets, (QStringList{site.uri(u"inc/head.htm"_s), site.uri(u"inc/link.htm"_s)})) << shown(links);
}

// A configuration governs the open documents as it stands: edited in the
// editor and not saved, faulty, closed unsaved, edited on disk, deleted.
TEST(SiteChecks, TheConfigurationGovernsAsItStands)
{
    Site site;
    site.write(u"pc/index.htm"_s, "{zuvi:arclst /}");
    LspSession server;
    server.initialize({}, site.folders());
    const QString templateUri = site.uri(u"pc/index.htm"_s);
    const QString configUri = site.uri(u".zuvi-check.json"_s);
    const auto found = [&]() -> QString {
        const QJsonArray diagnostics = server.lastDiagnostics(templateUri).value_or(QJsonArray());
        if (diagnostics.isEmpty())
            return u"none"_s;
        return diagnostics[0][u"code"_s].toString() + u' ' + QString::number(diagnostics[0][u"severity"_s].toInt());
    };
    const auto changeConfig = [&](const QString &json, int version) {
        server.notify(u"textDocument/didChange"_s,
                      QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, configUri}, {u"version"_s, version}}},
                                  {u"contentChanges"_s, QJsonArray{QJsonObject{{u"text"_s, json}}}}});
    };
    const auto filesChanged = [&](int type) {
        server.notify(u"workspace/didChangeWatchedFiles"_s,
                      QJsonObject{{u"changes"_s, QJsonArray{QJsonObject{{u"uri"_s, configUri}, {u"type"_s, type}}}}});
    };

    server.open(templateUri, u"{zuvi:arclst /}"_s);
    EXPECT_EQ(found(), u"W101 2"_s) << "no configuration: the code's own severity";

    server.open(configUri, uR"({"severity": {"W101": "off"}})"_s);
    EXPECT_EQ(found(), u"none"_s) << "open in the editor, never saved";
    changeConfig(uR"({"severity": {"W101": "error"}})"_s, 2);
    EXPECT_EQ(found(), u"W101 1"_s) << "edited in the editor";
    changeConfig(uR"({"severty": {}})"_s, 3);
    EXPECT_EQ(found(), u"config 1"_s) << "a faulty configuration is said on the document";
    server.notify(u"textDocument/didClose"_s, QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, configUri}}}});
    EXPECT_EQ(found(), u"W101 2"_s) << "closed unsaved: there is none";

    site.write(u".zuvi-check.json"_s, R"({"severity": {"W101": "info"}})");
    filesChanged(1);
    EXPECT_EQ(found(), u"W101 3"_s) << "written on disk";
    site.write(u".zuvi-check.json"_s, R"({"severity": {"W101": "error", "E": "error"}})");
    filesChanged(2);
    EXPECT_EQ(found(), u"W101 1"_s) << "edited on disk";
    ASSERT_TRUE(QFile::remove(site.path(u".zuvi-check.json"_s)));
    filesChanged(3);
    EXPECT_EQ(found(), u"W101 2"_s) << "deleted";
}

} // namespace
