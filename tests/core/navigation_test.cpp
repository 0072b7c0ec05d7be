#include "core/navigation.h"
#include "core/pagetable.h"

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

TEST(Navigation, FirstClickCreatesEveryPageShowingTheTargetFirst)
{
    FakeHost host;
    navigationClick(host, Page::Home, Page::Shop);
    EXPECT_EQ(host.log, (QStringList{"focus 1", "create 4", "show 4", "create 3", "hide 3", "hide 1",
                                     "create 2", "hide 2", "create 5", "hide 5", "create 6", "hide 6",
                                     "create 7", "hide 7", "create 9", "hide 9", "create 8", "hide 8"}));
    EXPECT_EQ(host.created.size(), 9);
    EXPECT_EQ(host.visible, QSet<int>{Page::Shop});
}

TEST(Navigation, EveryTargetHidesTheOtherEightInItsOwnOrder)
{
    const QList<QList<int>> expected = {
        {}, {2, 3, 4, 5, 6, 7, 9, 8}, {1, 3, 4, 5, 6, 7, 9, 8}, {1, 2, 4, 5, 6, 7, 9, 8},
        {3, 1, 2, 5, 6, 7, 9, 8}, {4, 3, 1, 2, 6, 7, 9, 8}, {5, 4, 3, 1, 2, 7, 9, 8},
        {6, 5, 4, 3, 1, 2, 9, 8}, {7, 6, 5, 4, 3, 1, 2, 9}, {7, 6, 5, 4, 3, 1, 2, 8},
    };
    for (int target = kFirstPage; target <= kLastPage; ++target) {
        FakeHost host;
        host.created = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        navigationClick(host, Page::About, qint16(target));
        QStringList hides;
        for (int page : expected[target])
            hides << QStringLiteral("hide %1").arg(page);
        EXPECT_EQ(host.log, QStringList({"focus 9", QStringLiteral("show %1").arg(target)}) + hides) << target;
        EXPECT_EQ(host.visible, QSet<int>{target}) << target;
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
