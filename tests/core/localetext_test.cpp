// Names and the system's messages shown in the user's locale.
#include "core/files/localetext.h"
#include "core/files/rawbytes.h"
#include "tests/support/gb18030locale.h"
#include "tests/support/qtprinters.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QByteArray gb18030(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

// The locale `name` for the length of a test, with LOCPATH where it was built.
class LocaleFor
{
public:
    LocaleFor(const QString &locpath, const char *name) : m_saved(std::setlocale(LC_ALL, nullptr))
    {
        ::setenv("LOCPATH", locpath.toLocal8Bit().constData(), 1);
        m_set = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleFor()
    {
        std::setlocale(LC_ALL, m_saved.constData());
        ::unsetenv("LOCPATH");
    }
    bool isSet() const { return m_set; }

private:
    QByteArray m_saved;
    bool m_set = false;
};

struct ShownCase {
    const char *what;
    QByteArray bytes;
    QString shown;
};

TEST(LocaleText, UndecodableBytesAreEscapedInAUtf8Locale)
{
    // The tests run in the C locale, read as UTF-8.
    const ShownCase cases[] = {
        {"ASCII", "theme/a.htm", u"theme/a.htm"_s},
        {"UTF-8", "主题/列表.htm", u"主题/列表.htm"_s},
        {"GB18030 列表, of which only D0 B1 happens to be UTF-8 (б)", gb18030(u"列表.htm"_s), u"\\xC1б\\xED.htm"_s},
        {"a UTF-8 character cut short", "a\xE6\xA0", u"a\\xE6\\xA0"_s},
        {"UTF-8 on both sides of a stray byte", "标\xFF签", u"标\\xFF签"_s},
        {"a byte order mark is part of a name", "\xEF\xBB\xBF" "a\xFF", u"\uFEFFa\\xFF"_s},
    };
    for (const ShownCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(localeText(c.bytes), c.shown);
    }
    EXPECT_EQ(localeBytes(textFromRawBytes(gb18030(u"列表"_s))), gb18030(u"列表"_s)) << "kept bytes go back as they came";
    EXPECT_EQ(systemErrorText(ENOENT), u"No such file or directory"_s);
}

TEST(LocaleText, NamesAndMessagesOfAGb18030Locale)
{
    const Gb18030Locale &locale = Gb18030Locale::instance();
    ASSERT_FALSE(locale.path().isEmpty()) << locale.error().toStdString();
    const LocaleFor chinese(locale.path(), Gb18030Locale::kName);
    ASSERT_TRUE(chinese.isSet());

    const ShownCase cases[] = {
        {"GB18030", gb18030(u"主题/列表.htm"_s), u"主题/列表.htm"_s},
        {"a four-byte character", gb18030(u"𠀀.htm"_s), u"𠀀.htm"_s},
        {"a byte that starts none", "\xFF" + gb18030(u"列"_s), u"\\xFF列"_s},
        {"a lead byte at the end", gb18030(u"列"_s) + "\x81", u"列\\x81"_s},
    };
    for (const ShownCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(localeText(c.bytes), c.shown);
    }
    EXPECT_EQ(localeBytes(u"主题: 列表"_s), gb18030(u"主题: 列表"_s));
    EXPECT_EQ(localeBytes(u"列"_s + textFromRawBytes("\xFF")), gb18030(u"列"_s) + "\xFF");
    // The C library's own translation, in the locale's encoding.
    EXPECT_EQ(systemErrorText(ENOENT), u"没有那个文件或目录"_s);
}

} // namespace
