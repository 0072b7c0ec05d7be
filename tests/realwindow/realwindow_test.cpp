// The built program in a real X11 window: every click and keystroke goes
// through the X server, and the clipboard is read by another process.

#include "core/pagetable.h"
#include "core/pagecatalog.h"
#include "app/pagefactory.h"
#include "shell/pagewindow.h"
#include "core/snippet.h"
#include "tests/realwindow/scenario.h"
#include "tests/realwindow/xsession.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

#include <memory>

std::vector<Scenario> &allScenarios()
{
    static std::vector<Scenario> scenarios;
    return scenarios;
}

namespace {

QString describeDifference(const QByteArray &expected, const QByteArray &actual)
{
    qsizetype i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    return QStringLiteral("first difference at byte %1 (expected %2, got %3)\nexpected: %4\nactual:   %5")
        .arg(i)
        .arg(i < expected.size() ? QString::number(uchar(expected[i])) : QStringLiteral("end"))
        .arg(i < actual.size() ? QString::number(uchar(actual[i])) : QStringLiteral("end"))
        .arg(QString::fromUtf8(expected.toPercentEncoding(" {}$'\"<>/=:|,#")),
             QString::fromUtf8(actual.toPercentEncoding(" {}$'\"<>/=:|,#")));
}

class RealWindow : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const char *tool : {"Xvfb", "xdotool", "xclip"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_FAIL() << tool << " is not installed; scripts/setup.sh installs it";
        }
        session = std::make_unique<XSession>(QStringLiteral(ZUVI_TAGGEN_PATH));
        for (int page = kFirstPage; page < kLastPage; ++page)
            catalogs[page] = std::make_unique<PageCatalog>(PageCatalog::load(dataFilePath(page)));
    }
    static void TearDownTestSuite()
    {
        session.reset();
        for (auto &catalog : catalogs)
            catalog.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(session && session->ready()) << (session ? session->error().toStdString() : "");
        ASSERT_TRUE(session->programRunning()) << "the program ended during an earlier test";
    }

    // Clicks at the middle of a control of page `page`, which must be the
    // visible page; the part of a control beyond the window's edge is not
    // on the screen, so the click stays inside.
    static void clickControl(int page, const QString &name)
    {
        const auto origin = session->visibleWindowOrigin();
        ASSERT_TRUE(origin) << "no single visible page window";
        TwipRect r;
        if (name.startsWith(QStringLiteral("Command1("))) {
            r = navigationButtonRect(page, name.mid(9, name.size() - 10).toInt());
        } else {
            const CatalogControl *control = catalogs[page]->control(name);
            ASSERT_NE(control, nullptr) << "page " << page << " has no " << name.toStdString();
            r = catalogs[page]->pageRect(*control);
        }
        const QRect pixels = toPixels(r);
        const int x = qMin(pixels.center().x(), twipsToPixels(11295) - 3);
        session->click(*origin + QPoint(x, pixels.center().y()));
    }

    static void goTo(int from, int to)
    {
        clickControl(from, QStringLiteral("Command1(%1)").arg(to));
    }

    static std::unique_ptr<XSession> session;
    static std::unique_ptr<PageCatalog> catalogs[kLastPage + 1];
};

std::unique_ptr<XSession> RealWindow::session;
std::unique_ptr<PageCatalog> RealWindow::catalogs[kLastPage + 1];

TEST_F(RealWindow, EveryEntryOfEveryPagePutsItsSnippetOnTheClipboard)
{
    int current = Page::Home;
    for (int page = kFirstPage; page < kLastPage; ++page) {
        goTo(current, page);
        current = page;
        for (const CatalogControl *entry : catalogs[page]->entries()) {
            clickControl(page, entry->name);
            const QByteArray expected = snippetText(entry->lines).toUtf8();
            const QByteArray actual = session->waitForClipboard(expected);
            EXPECT_TRUE(actual == expected) << "page " << page << ", entry " << entry->index << " \""
                                        << entry->caption.toStdString() << "\": "
                                        << describeDifference(expected, actual).toStdString();
        }
    }
    goTo(current, Page::Home);
    EXPECT_TRUE(session->programRunning());
}

TEST_F(RealWindow, TypingIntoBuilderBoxesRebuildsTheClipboard)
{
    int current = Page::Home;
    for (const Scenario &scenario : allScenarios()) {
        for (size_t n = 0; n < scenario.steps.size(); ++n) {
            const Step &step = scenario.steps[n];
            if (step.page != current) {
                goTo(current, step.page);
                current = step.page;
            }
            const QByteArray before = session->readClipboard();
            if (step.control)
                clickControl(step.page, QString::fromLatin1(step.control));
            if (step.typed) {
                session->key(QStringLiteral("End"));
                session->type(QString::fromUtf16(step.typed));
            }
            if (step.key)
                session->key(QString::fromLatin1(step.key));
            QByteArray expected = step.clipboardKept ? before : QString::fromUtf16(step.clipboard).toUtf8();
            const QByteArray actual = session->waitForClipboard(expected);
            if (step.arrivesOn)
                current = step.arrivesOn;
            EXPECT_TRUE(actual == expected) << scenario.name << ", step " << n + 1 << " on page " << step.page
                                        << " (" << (step.control ? step.control : step.key) << "): "
                                        << describeDifference(expected, actual).toStdString();
        }
    }
    goTo(current, Page::Home);
}

} // namespace
