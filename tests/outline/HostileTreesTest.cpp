// Trees of any depth and settings of any shape: destroyed without exhausting the stack, and a
// settings tree always takes back its own value.
#include "OutlineFixtures.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorItem.h"
#include "platform/PropertyList.h"
#include <gtest/gtest.h>
#include <random>

using namespace fixtures;

TEST(HostileTrees, AMillionLevelsDeepAreDestroyed)
{
    auto root = std::make_unique<MySelectorItem>("rootItem", nullptr);
    MySelectorItem* tip = root.get();
    for (int level = 0; level < 1'000'000; ++level)
        tip = tip->append(std::make_unique<MySelectorItem>(QStringLiteral("g"), tip));
    root.reset();
    SUCCEED();
}

namespace {

// Settings of any shape, with the keys that settings rows treat by title coming up often.
QVariant shapedValue(std::mt19937& rng, int depth)
{
    static const QStringList keys{"represents", "origName", "represent", "categoryDicts", "dotsProperties",
                                  "boxesProperties", "x", ""};
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    switch (depth > 3 ? pick(4) : pick(6)) {
    case 0: return QStringLiteral("t%1").arg(pick(3));
    case 1: return QVariant::fromValue<qint64>(pick(5));
    case 2: return pick(2) == 1;
    case 3: return QByteArray(pick(3), 'd');
    case 4: {
        QVariantList list;
        for (int i = pick(4); i > 0; --i)
            list.append(shapedValue(rng, depth + 1));
        return list;
    }
    default: {
        QVariantMap map;
        for (int i = pick(4); i > 0; --i)
            map.insert(keys[pick(int(keys.size()))], shapedValue(rng, depth + 1));
        return map;
    }
    }
}

void expectTakesItsOwnValue(const QVariantMap& settings)
{
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    const QVariant own = root->object();
    ASSERT_EQ(own.toMap(), settings) << PropertyList::toXml(settings).toStdString();
    EXPECT_TRUE(root->setObject(own)) << PropertyList::toXml(settings).toStdString();
    EXPECT_EQ(root->object(), own);
}

} // namespace

TEST(HostileTrees, SettingsTreesTakeTheirOwnValue)
{
    const QVariantMap entry{{"origName", "a"}, {"represent", "A"}};
    const QVariantMap cases[] = {
        {{"represents", QVariantList{QVariantMap{}}}},
        {{"represents", QVariantList{QVariantMap{{"origName", qint64(5)}}}}},
        {{"represents", QVariantList{"a", QVariantMap{}}}},
        {{"represents", QVariantList{entry, QVariantMap{{"represent", "B"}}}}},
        {{"represents", QVariantList{entry, entry}}},
        {{"categoryDicts", QVariantList{QVariantMap{{"represents", QVariantList{QVariantList{}, entry}}}}}},
    };
    for (const QVariantMap& settings : cases)
        expectTakesItsOwnValue(settings);

    std::mt19937 rng(4122);
    for (int round = 0; round < 400; ++round)
        expectTakesItsOwnValue(shapedValue(rng, 4 - round % 3).toMap());
}

// Rows matched by origName keep refusing what names no row; rows without one take the
// values in place, but no more values than there are rows.
TEST(HostileTrees, RepresentsWithoutOrigNamesAreWrittenInPlace)
{
    const QVariantMap settings{{"represents", QVariantList{QVariantMap{{"represent", "A"}}, QVariantMap{{"represent", "B"}}}}};
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    const QVariantList one{QVariantMap{{"represent", "C"}}};
    EXPECT_FALSE(root->setObject(QVariantMap{{"represents", one + one + one}}));
    EXPECT_TRUE(root->setObject(QVariantMap{{"represents", one}}));
    EXPECT_EQ(root->object(), QVariant(QVariantMap{{"represents", one}}));
}
