// The template files a path on the command line names.
#include "core/templatesources.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

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
    QString error;
    const QList<TemplateSource> sources = templateSources(u"theme/"_s, &error);
    EXPECT_TRUE(error.isEmpty());
    QStringList paths;
    for (const TemplateSource &source : sources) {
        paths << source.path;
        EXPECT_EQ(source.absolutePath, root.filePath(source.path));
        EXPECT_EQ(source.templateRoot, root.filePath(u"theme"_s)) << "the folder given";
    }
    EXPECT_EQ(paths, (QStringList{u"theme/a.HTML"_s, u"theme/m/列表.htm"_s, u"theme/pc/index.htm"_s, u"theme/z.htm"_s}));

    const QList<TemplateSource> file = templateSources(u"theme/notes.txt"_s, &error);
    ASSERT_EQ(file.size(), 1) << "a file named is checked whatever its name";
    EXPECT_EQ(file[0].path, u"theme/notes.txt"_s);
    EXPECT_EQ(file[0].templateRoot, root.filePath(u"theme"_s)) << "its own folder";

    EXPECT_TRUE(templateSources(u"theme/missing.htm"_s, &error).isEmpty());
    EXPECT_EQ(error, u"No such file or directory"_s);
}

} // namespace
