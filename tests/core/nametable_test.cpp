// The table the checker looks names up in: names of every length around its
// word of four units, names that differ in one unit only (at the start, in
// the middle, in the overlapping last word), the same name in other groups,
// through the table's growth.
#include "core/template/nametable.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Names of 0 to 13 units, and for each every name one unit away from it.
QStringList names()
{
    QStringList names;
    const QString base = u"zuvi:arclist中\U0001F600"_s;   // 14 units, a pair among them
    for (qsizetype length = 0; length <= base.size(); ++length)
        names.append(base.first(length));
    const qsizetype whole = names.size();
    for (qsizetype n = 0; n < whole; ++n) {
        for (qsizetype at = 0; at < names[n].size(); ++at) {
            QString near = names[n];
            near[at] = QChar(near[at].unicode() ^ 1);
            names.append(near);
        }
    }
    names.removeDuplicates();
    return names;
}

TEST(NameTable, FindsEveryNameInItsGroupAndNoOther)
{
    const QStringList all = names();
    NameTable<qsizetype> table;
    EXPECT_EQ(table.find(u"zuvi:list"), nullptr);
    // Every other name, in groups 0 and 7: the rest must be missed.
    for (qsizetype i = 0; i < all.size(); i += 2) {
        table.entry(all[i]) = i;
        table.entry(all[i], 7) = -i;
    }
    for (qsizetype i = 0; i < all.size(); ++i) {
        const qsizetype *found = table.find(all[i]);
        const qsizetype *inGroup = table.find(all[i], 7);
        if (i % 2) {
            EXPECT_EQ(found, nullptr) << qPrintable(all[i]);
            EXPECT_EQ(inGroup, nullptr) << qPrintable(all[i]);
        } else {
            ASSERT_NE(found, nullptr) << qPrintable(all[i]);
            ASSERT_NE(inGroup, nullptr) << qPrintable(all[i]);
            EXPECT_EQ(*found, i);
            EXPECT_EQ(*inGroup, -i);
        }
        EXPECT_EQ(table.find(all[i], 3), nullptr) << qPrintable(all[i]);
    }
    EXPECT_EQ(table.size(), 2 * ((all.size() + 1) / 2));
}

TEST(NameTable, KeepsPlacesAndValuesThroughGrowth)
{
    QStringList keys;
    for (int i = 0; i < 5000; ++i)
        keys.append(u"zuvi:site%1"_s.arg(i));
    NameTable<int> table;
    QList<qsizetype> places;
    for (const QString &key : std::as_const(keys))
        places.append(table.indexOf(key));
    for (qsizetype i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(table.indexOf(keys[i]), places[i]);
        ++table.valueAt(places[i]);
    }
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const int *value = table.find(keys[i]);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, 1) << qPrintable(keys[i]);
    }
    EXPECT_EQ(table.size(), keys.size());
    table.clear();
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.find(keys.first()), nullptr);
}

} // namespace
