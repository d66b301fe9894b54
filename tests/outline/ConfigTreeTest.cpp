#include "OutlineFixtures.h"
#include "outline/MySelectorItem.h"
#include "platform/PropertyList.h"
#include "platform/Resources.h"
#include <QPointF>
#include <gtest/gtest.h>
#include <array>
#include <random>

using namespace fixtures;

namespace {

// Describes the root only: every other row is undescribed.
const QVariantMap kRootOnly{{QString(), QVariantMap{{"setIndex", qint64(7)}}}};

// Every row's `indexes` is its position path and the lookups by position and upwards find it.
void expectConsistentIndexes(const MyConfigRootItem& root, const MyConfigItem* row)
{
    for (MyConfigItem* c : row->configChildren()) {
        ASSERT_EQ(c->indexes, row->indexes + QVector<qint64>{c->index()}) << c->itemID.toStdString();
        const QList<MyConfigItem*> path = root.outlineItemsFromIndexes(c->indexes);
        ASSERT_FALSE(path.isEmpty());
        ASSERT_EQ(path.last(), c);
        ASSERT_EQ(root.outlineItemsWithItem(c), path);
        expectConsistentIndexes(root, c);
    }
}

} // namespace

// ---- row construction

TEST(ConfigRow, DescriptionsByKeyPath)
{
    QVariantMap table = kRootOnly;
    setDescription(table, "odd", {{"needFix", "fixed"}});
    setDescription(table, "fixed", {{"setIndex", qint64(64)}, {"minVal", "12ab"}});
    Descriptions d(table);

    MyConfigRootItem root(nullptr);
    auto* undescribed = root.append(std::make_unique<MyConfigItem>("graphProperties", "", "dict", &root, 0));
    EXPECT_FALSE(undescribed->changeable);   // out of copy and paste
    auto* fixed = root.append(std::make_unique<MyConfigItem>("odd", "x", "string", &root, 0));
    EXPECT_EQ(fixed->title, "fixed");
    EXPECT_EQ(fixed->setIndex, 64);
    EXPECT_EQ(fixed->minVal, std::optional<double>(12.0));
}

// ---- building from settings and reading back

// With the application's own descriptions the tree gives the settings back, and the rows sit
// where other subsystems address them by position.
TEST(ConfigRoundTrip, BuiltInSettingsComeBack)
{
    Descriptions d(Resources::plist("configRes.plist").toMap().value("intoOutlineItem").toMap());
    for (bool scatter : {true, false}) {
        const QVariantMap settings = builtInSettings(scatter);
        auto root = treeOf(settings);
        EXPECT_EQ(root->object().toMap(), settings);
        const MyConfigItem* category = root->configChildAt(3)->configChildAt(1);
        ASSERT_TRUE(category && category->configChildAt(4) && category->configChildAt(4)->title == "represents");
        EXPECT_EQ(category->configChildAt(0)->title, "categoryTitle");
        const MyConfigItem* entry = category->configChildAt(4)->configChildAt(0);
        EXPECT_EQ(entry->configChildAt(0)->title + ' ' + entry->configChildAt(1)->title, "origName represent");

        // The last category names the series: it, and the rows below it described for it,
        // gain the reserve bits.
        const MyConfigItem* first = root->configChildAt(3)->configChildAt(0);
        EXPECT_NE(category->setIndex, first->setIndex);
        EXPECT_EQ(category->setIndex, first->setIndex | 0x18000);
        EXPECT_EQ(entry->setIndex, first->configChildAt(4)->configChildAt(0)->setIndex | 0x18000);
    }
}

namespace {

// Settings of any shape. Plain: every kind of value, texts full of entities and line breaks,
// keys of every kind. Hostile: few distinct small values, and keys that settings rows treat by
// title coming up often. Kinds: 0 text, 1 integer, 2 real, 3 bool, 4 data, 5 list, 6 dictionary.
QVariant randomValue(std::mt19937& rng, bool hostile, int depth, int kind = -1)
{
    static const QStringList pieces{"a", "0", "&", "<", "\"", "\n", "\t", " ", "&amp;", "</string>", "\u00e9",
                                    "\U0001F600", "\r\n", "\r", "\x01"};
    static const QStringList keys{"represents", "origName", "represent", "categoryDicts", "dotsProperties",
                                  "boxesProperties", "x", ""};
    auto number = [&](auto low, auto high) { return std::uniform_int_distribution<decltype(low)>(low, high)(rng); };
    auto text = [&] {
        QString s;
        for (int i = number(0, 8); i > 0; --i)
            s += pieces[number(0, int(pieces.size()) - 1)];
        return s;
    };
    if (kind < 0)
        kind = hostile ? std::array{0, 1, 3, 4, 5, 6}[number(0, depth > 3 ? 3 : 5)] : number(0, depth > 3 ? 4 : 6);
    switch (kind) {
    case 0: return hostile ? QStringLiteral("t%1").arg(number(0, 2)) : text();
    case 1: return QVariant::fromValue<qint64>(hostile ? number(0, 4) : number(-1'000'000'000'000LL, 1'000'000'000'000LL));
    case 2: return std::uniform_real_distribution<double>(-1e6, 1e6)(rng) * std::pow(10.0, number(-30, 30));
    case 3: return number(0, 1) == 1;
    case 4: {
        QByteArray data(hostile ? number(0, 2) : number(0, 200), 'd');
        for (char& c : data)
            c = hostile ? c : char(number(0, 255));
        return data;
    }
    default: {
        QVariantList list;
        QVariantMap map;
        for (int i = number(0, hostile ? 3 : 4); i > 0; --i) {
            list.append(randomValue(rng, hostile, depth + 1));
            map.insert(hostile ? keys[number(0, int(keys.size()) - 1)] : text().remove('\t') + QString::number(i), list.last());
        }
        return kind == 5 ? QVariant(list) : QVariant(map);
    }
    }
}

// A settings tree gives back the settings it was made of, its rows' positions consistent, and
// (takesBack) takes that value back.
void expectTakesItsOwnValue(const QVariantMap& settings, bool takesBack = true)
{
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    const QVariant own = root->object();
    ASSERT_EQ(own.toMap(), settings) << PropertyList::toXml(settings).toStdString();
    if (takesBack) {
        EXPECT_TRUE(root->setObject(own)) << PropertyList::toXml(settings).toStdString();
        EXPECT_EQ(root->object(), own);
    }
    expectConsistentIndexes(*root, root.get());
}

} // namespace

// Trees of any depth are destroyed without exhausting the stack.
TEST(HostileTrees, AMillionLevelsDeepAreDestroyed)
{
    auto root = std::make_unique<MySelectorItem>("rootItem", nullptr);
    MySelectorItem* tip = root.get();
    for (int level = 0; level < 1'000'000; ++level)
        tip = tip->append(std::make_unique<MySelectorItem>(QStringLiteral("g"), tip));
    root.reset();
    SUCCEED();
}

// Settings of any shape, hand-picked hostile ones first: entities, line breaks, empty containers
// and data survive the trip through the XML text, and the tree takes its own value.
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
        expectTakesItsOwnValue(randomValue(rng, true, 4 - round % 3).toMap());
    for (int round = 0; round < 300; ++round) {
        QVariantMap settings = randomValue(rng, false, 0, 6).toMap();
        if (round % 3 == 0)
            settings.insert("categoryDicts", QVariantList{QVariantMap{{"categoryTitle", "dataColumns"}}, QVariantMap{}});
        expectTakesItsOwnValue(settings, false);   // real rows keep 15 digits of what they are given
    }
}

// Not a property-list dictionary, or malformed text: nothing added.
TEST(ConfigTree, RefusesWhatItCannotRead)
{
    Descriptions d(kRootOnly);
    MyConfigRootItem bad(nullptr);
    EXPECT_FALSE(bad.outlineItemFromSettings(QVariantMap{{"k", QVariant::fromValue(QPointF(1, 2))}}));
    EXPECT_FALSE(bad.hasChildren());
    const QStringList unclosedString{"\t<key>a</key>", "\t<string>runs on", "and on"};
    EXPECT_EQ(bad.parsePlistLines(unclosedString, 0, &bad, true, 0), -1);
}

// ---- setObject of containers

TEST(ConfigValue, ArrayKinds)
{
    QVariantMap settings = builtInSettings(true);
    Descriptions d(describe(settings));
    auto root = treeOf(settings);

    // Ordinary array: grows with rows of the first row's type, shrinks from the end.
    MyConfigItem* scale = root->outlineItemWithKeys({"valueSettings", "scaleStrings"});
    MyConfigItem* kept = scale->configChildAt(0);
    EXPECT_TRUE(scale->setObject(QVariantList{"a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_TRUE(scale->setObject(QVariantList{"only"}));
    EXPECT_EQ(scale->configChildren(), QList<MyConfigItem*>{kept});

    // Represents: matched by origName (canonically equivalent forms equal), reordered, the
    // same objects; an origName the category does not have refuses the whole list.
    MyConfigItem* reps = root->outlineItemWithKeys({"categoryDicts"})->configChildAt(1)->childTitle("represents");
    const QList<MyConfigItem*> rows = reps->configChildren();   // M, F, Café
    const QVariantList reversed{
        QVariantMap{{"origName", QString::fromUtf8("Cafe\u0301")}, {"represent", "c"}},
        QVariantMap{{"origName", "F"}, {"represent", "female"}},
        QVariantMap{{"origName", "M"}, {"represent", "male"}}};
    EXPECT_TRUE(reps->setObject(reversed));
    EXPECT_EQ(reps->configChildren(), (QList<MyConfigItem*>{rows[2], rows[1], rows[0]}));
    EXPECT_FALSE(reps->setObject(QVariantList{reversed[0], QVariantMap{{"origName", "X"}, {"represent", "x"}}}));
    EXPECT_EQ(reps->configChildren(), (QList<MyConfigItem*>{rows[2], rows[1], rows[0]}));
    expectConsistentIndexes(*root, root.get());

    // A dictionary ignores keys it has no rows for, and needs every key it has: a value
    // missing one is refused whole.
    MyConfigItem* bar = root->outlineItemWithKeys({"graphProperties", "bars"});
    QVariantMap barValue = bar->object().toMap();
    barValue.insert("extra", "1");
    barValue.insert("lineWidth", "7");
    EXPECT_TRUE(bar->setObject(barValue));
    barValue.remove("barType");
    barValue.insert("lineWidth", "5");
    EXPECT_FALSE(bar->setObject(barValue));
    EXPECT_EQ(bar->childTitle("lineWidth")->message, "7");
}

// An emptied array grows again with rows made from the values (finite numbers only), also
// within a whole snapshot written into the root.
TEST(ConfigValue, EmptiedArrayGrowsAgain)
{
    const QVariantList one{QVariantMap{{"a", "1"}, {"b", QVariantList{qint64(1)}}}};
    const QVariantList two = one + QVariantList{QVariantMap{{"a", "2"}, {"b", QVariantList{qint64(2), qint64(3)}}}};
    Descriptions d(describe({{"categoryDicts", QVariantList{}}, {"list", one}}));
    auto root = treeOf({{"categoryDicts", QVariantList{}}, {"list", one}});
    MyConfigItem* list = root->childTitle("list");
    EXPECT_FALSE(list->setObject(QVariantList{QString("not a dict"), QString("x")}));
    EXPECT_TRUE(list->setObject(QVariantList{}));
    EXPECT_FALSE(list->setObject(QVariantList{QVariantMap{{"a", std::numeric_limits<double>::infinity()}}}));
    EXPECT_TRUE(list->setObject(two));
    EXPECT_EQ(list->object(), QVariant(two));
    EXPECT_EQ(list->configChildAt(1)->childTitle("b")->itemID, "list\t\tb");
    expectConsistentIndexes(*root, root.get());

    auto empty = treeOf({{"categoryDicts", QVariantList{}}, {"list", QVariantList{}}});
    EXPECT_TRUE(empty->setObject(QVariantMap{{"categoryDicts", QVariantList{}}, {"list", one}}));
    EXPECT_EQ(empty->childTitle("list")->object(), QVariant(one));
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
