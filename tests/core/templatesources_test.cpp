// The template files a path on the command line names.
#include "core/files/templatesources.h"
#include "core/files/rawbytes.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList pathsOf(const TemplateSources &sources)
{
    QStringList paths;
    for (const TemplateSource &source : sources.files)
        paths << source.path;
    return paths;
}

QStringList noticesOf(const QList<SourceNotice> &notices)
{
    QStringList said;
    for (const SourceNotice &notice : notices)
        said << notice.path + u": "_s + notice.message;
    return said;
}

TEST(TemplateSources, AFolderGivesItsTemplatesSorted)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir root(dir.path());
    for (const char *relative : {"theme/z.htm", "theme/a.HTML", "theme/pc/index.htm", "theme/pc/style.css",
                                 "theme/notes.txt", "theme/.git/x.htm", "theme/.hidden.htm", "theme/m/列表.htm"}) {
        ASSERT_TRUE(root.mkpath(QFileInfo(root.filePath(QString::fromUtf8(relative))).path()));
        QFile file(root.filePath(QString::fromUtf8(relative)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QDir::setCurrent(dir.path());
    const TemplateSources sources = templateSources(u"theme/"_s);
    EXPECT_TRUE(sources.errors.isEmpty());
    EXPECT_TRUE(sources.skipped.isEmpty());
    for (const TemplateSource &source : sources.files) {
        EXPECT_EQ(source.absolutePath, root.filePath(source.path));
        EXPECT_EQ(QFile::decodeName(source.file), u"theme/"_s + source.path.mid(6)) << "opened where it was found";
        EXPECT_EQ(source.templateRoot, root.filePath(u"theme"_s)) << "the folder given";
    }
    EXPECT_EQ(pathsOf(sources), (QStringList{u"theme/a.HTML"_s, u"theme/m/列表.htm"_s, u"theme/pc/index.htm"_s, u"theme/z.htm"_s}));

    const TemplateSources file = templateSources(u"theme/notes.txt"_s);
    ASSERT_EQ(file.files.size(), 1) << "a file named is checked whatever its name";
    EXPECT_EQ(file.files[0].path, u"theme/notes.txt"_s);
    EXPECT_EQ(file.files[0].templateRoot, root.filePath(u"theme"_s)) << "its own folder";

    const TemplateSources missing = templateSources(u"theme/missing.htm"_s);
    EXPECT_TRUE(missing.files.isEmpty());
    EXPECT_EQ(noticesOf(missing.errors), QStringList{u"theme/missing.htm: cannot read: No such file or directory"_s});
}

// Among the templates of a folder, names that are links to what never ends
// (/dev/zero), to what waits for a writer (a FIFO), to nothing, to a folder;
// each is passed over and named, and only regular files are read.
TEST(TemplateSources, AFolderGivesOnlyWhatIsOrLinksToARegularFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir::setCurrent(dir.path());
    ASSERT_TRUE(QDir().mkpath(u"theme/sub"_s));
    for (const char *name : {"theme/index.htm", "theme/sub/list.htm"}) {
        QFile file(QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(::mkfifo("theme/fifo.htm", 0600), 0);
    const struct {
        const char *target;
        const char *link;
    } links[] = {
        {"/dev/zero", "theme/zero.htm"},     {"/dev/urandom", "theme/random.html"}, {"fifo.htm", "theme/fifo-link.htm"},
        {"gone.htm", "theme/broken.htm"},    {"loop.htm", "theme/loop.htm"},       {"..", "theme/sub/up.htm"},
        {"sub", "theme/folder-link"},        {"index.htm", "theme/again.htm"},     {"/dev/zero", "theme/zero.txt"},
    };
    for (const auto &link : links)
        ASSERT_EQ(::symlink(link.target, link.link), 0) << link.link;

    const TemplateSources sources = templateSources(u"theme"_s);
    EXPECT_EQ(pathsOf(sources), (QStringList{u"theme/again.htm"_s, u"theme/index.htm"_s, u"theme/sub/list.htm"_s}));
    EXPECT_TRUE(sources.errors.isEmpty()) << noticesOf(sources.errors).join(u'\n').toStdString();
    EXPECT_EQ(noticesOf(sources.skipped),
              (QStringList{
                  u"theme/broken.htm: skipped: a link that leads nowhere (No such file or directory)"_s,
                  u"theme/fifo-link.htm: skipped: a link to what is not a regular file but a FIFO"_s,
                  u"theme/fifo.htm: skipped: not a regular file but a FIFO"_s,
                  u"theme/folder-link: skipped: a link to a folder, which is not followed (name it to check it)"_s,
                  u"theme/loop.htm: skipped: a link that leads nowhere (Too many levels of symbolic links)"_s,
                  u"theme/random.html: skipped: a link to what is not a regular file but a character device"_s,
                  u"theme/sub/up.htm: skipped: a link to a folder, which is not followed (name it to check it)"_s,
                  u"theme/zero.htm: skipped: a link to what is not a regular file but a character device"_s,
              }))
        << "zero.txt is no template: nothing to say of it";

    // Named on the command line, what is no regular file is refused unopened.
    for (const auto &[named, why] : {std::pair{"theme/fifo-link.htm", "a FIFO"}, {"/dev/zero", "a character device"}}) {
        const TemplateSources refused = templateSources(QString::fromUtf8(named));
        EXPECT_TRUE(refused.files.isEmpty());
        EXPECT_EQ(noticesOf(refused.errors),
                  QStringList{QString::fromUtf8(named) + u": cannot read: not a regular file but "_s + QLatin1String(why)});
    }
    EXPECT_EQ(pathsOf(templateSources(u"theme/folder-link"_s)), QStringList{u"theme/folder-link/list.htm"_s})
        << "a link to a folder, named, is walked";
}

// A name in GB18030, as copies of Chinese Windows save it: found, opened by
// its bytes, and shown with what is no UTF-8 escaped (the tests run in a
// UTF-8 locale).
TEST(TemplateSources, NamesThatAreNotUtf8AreFoundAndKeptAsBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir::setCurrent(dir.path());
    QStringEncoder gb18030("GB18030");
    const QByteArray name = gb18030.encode(u"列表"_s);   // C1 D0 B1 ED
    ASSERT_EQ(::mkdir("theme", 0755), 0);
    ASSERT_EQ(::mkdir("theme/" + name, 0755), 0);
    for (const QByteArray &file : {"theme/" + name + ".htm", "theme/" + name + "/" + name + ".htm"}) {
        // Created by its bytes: Qt would read the name as UTF-8.
        const int descriptor = ::open(file.constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(descriptor, 0) << file.toStdString();
        ::close(descriptor);
    }
    const TemplateSources sources = templateSources(u"theme"_s);
    EXPECT_EQ(pathsOf(sources), (QStringList{u"theme/\\xC1б\\xED.htm"_s,
                                             u"theme/\\xC1б\\xED/\\xC1б\\xED.htm"_s}));
    for (const TemplateSource &source : sources.files) {
        struct stat status;
        EXPECT_EQ(::stat(source.file.constData(), &status), 0) << source.path.toStdString();
    }
    // The same name given on the command line, as main() passes it on.
    const TemplateSources named = templateSources(textFromRawBytes("theme/" + name + ".htm"));
    ASSERT_EQ(named.files.size(), 1) << noticesOf(named.errors).join(u'\n').toStdString();
    EXPECT_EQ(named.files[0].file, "theme/" + name + ".htm");
    EXPECT_EQ(named.files[0].path, u"theme/\\xC1б\\xED.htm"_s);

    // Removed by their bytes: QTemporaryDir would read the names as UTF-8 and miss them.
    for (const QByteArray &file : {"theme/" + name + ".htm", "theme/" + name + "/" + name + ".htm"})
        EXPECT_EQ(::unlink(file.constData()), 0);
    EXPECT_EQ(::rmdir("theme/" + name), 0);
}

} // namespace
