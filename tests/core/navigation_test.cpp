#include "core/catalog/navigation.h"
#include "core/catalog/pagetable.h"

#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Records what navigation asks of the pages, and which are visible.
class FakeHost : public PageHost
{
public:
    bool exists(int page) const override { return created.contains(page); }
    void create(int page) override
    {
        log << QStringLiteral("create %1").arg(page);
        created.insert(page);
    }
    void show(int page) override
    {
        log << QStringLiteral("show %1").arg(page);
        visible.insert(page);
    }
    void hide(int page) override
    {
        log << QStringLiteral("hide %1").arg(page);
        visible.remove(page);
    }
    void focusOwnButton(int page) override { log << QStringLiteral("focus %1").arg(page); }

    QSet<int> created{Page::Home};
    QSet<int> visible{Page::Home};
    QStringList log;
};

// What a click asks of the pages after the focus: the target shown first,
// then each of the other eight pages hidden once, created just before it is
// hidden where it did not exist yet; the target is never hidden.
void expectTargetFirstAndEveryOtherPageHiddenOnce(const FakeHost &host, int page, int target, bool created)
{
    QStringList expectedStart{QStringLiteral("focus %1").arg(page)};
    if (created)
        expectedStart << QStringLiteral("create %1").arg(target);
    expectedStart << QStringLiteral("show %1").arg(target);
    ASSERT_GE(host.log.size(), expectedStart.size()) << target;
    EXPECT_EQ(host.log.mid(0, expectedStart.size()), expectedStart) << target;

    QStringList hides;
    QSet<int> hidden;
    for (qsizetype i = expectedStart.size(); i < host.log.size(); ++i) {
        const QStringList step = host.log[i].split(u' ');
        const int other = step.value(1).toInt();
        if (step.first() == QStringLiteral("create")) {
            EXPECT_EQ(host.log.value(i + 1), QStringLiteral("hide %1").arg(other))
                << target << ": " << other << " created and not hidden next";
            continue;
        }
        EXPECT_EQ(step.first(), QStringLiteral("hide")) << target << ": " << host.log[i].toStdString();
        EXPECT_NE(other, target);
        EXPECT_FALSE(hidden.contains(other)) << target << ": " << other << " hidden twice";
        hidden.insert(other);
    }
    QSet<int> others;
    for (int p = kFirstPage; p <= kLastPage; ++p) {
        if (p != target)
            others.insert(p);
    }
    EXPECT_EQ(hidden, others) << target;
    EXPECT_EQ(host.visible, QSet<int>{target}) << target;
}

TEST(Navigation, FirstClickCreatesEveryPageShowingTheTargetFirst)
{
    for (int target = kFirstPage; target <= kLastPage; ++target) {
        FakeHost host;
        navigationClick(host, Page::Home, qint16(target));
        expectTargetFirstAndEveryOtherPageHiddenOnce(host, Page::Home, target, target != Page::Home);
        EXPECT_EQ(host.created.size(), kPageCount) << target;
        // The home page existed: it is hidden, never created again.
        EXPECT_FALSE(host.log.contains(QStringLiteral("create %1").arg(int(Page::Home)))) << target;
    }
}

TEST(Navigation, EveryTargetIsShownFirstAndEveryOtherPageHiddenOnce)
{
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        for (int target = kFirstPage; target <= kLastPage; ++target) {
            FakeHost host;
            host.created = {1, 2, 3, 4, 5, 6, 7, 8, 9};
            host.visible = {page};
            navigationClick(host, page, qint16(target));
            expectTargetFirstAndEveryOtherPageHiddenOnce(host, page, target, false);
        }
    }
}

TEST(Navigation, ClickingTheOwnButtonKeepsThePageVisibleAndCreatesTheRest)
{
    FakeHost host;
    navigationClick(host, Page::Home, Page::Home);
    EXPECT_EQ(host.created.size(), 9);
    EXPECT_EQ(host.visible, QSet<int>{Page::Home});
}

TEST(Navigation, AnIndexOutsideTheBarOnlyMovesTheFocus)
{
    for (qint16 index : {qint16(0), qint16(10), qint16(-1), qint16(32767)}) {
        FakeHost host;
        navigationClick(host, Page::Home, index);
        EXPECT_EQ(host.log, QStringList{"focus 1"}) << index;
    }
}

} // namespace
