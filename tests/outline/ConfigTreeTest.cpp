#include "OutlineFixtures.h"
#include "platform/PropertyList.h"
#include "platform/Resources.h"
#include <QPointF>
#include <gtest/gtest.h>
#include <random>

using namespace fixtures;

namespace {

// Describes the root only: every other row is undescribed.
const QVariantMap kRootOnly{{QString(), QVariantMap{{"setIndex", qint64(7)}}}};

MyConfigItem* addRow(MyConfigItem* parent, const QString& title, const QString& type, qint64 numOfCategories = 0,
                     const QString& message = QString())
{
    return parent->append(std::make_unique<MyConfigItem>(title, message, type, parent, numOfCategories));
}

QStringList keysOf(const QList<MyConfigItem*>& rows)
{
    QStringList k;
    for (const MyConfigItem* r : rows)
        k.append(r->title);
    return k;
}

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
    setDescription(table, "graphProperties\tbackground", {{"setIndex", qint64(3)}});
    setDescription(table, "odd", {{"needFix", "fixed"}});
    setDescription(table, "fixed", {{"setIndex", qint64(64)}, {"minVal", "12ab"}, {"maxVal", "0"}});
    Descriptions d(table);

    MyConfigRootItem root(nullptr);
    EXPECT_EQ(root.setIndex, 7);
    auto* gp = addRow(&root, "graphProperties", "dict");
    auto* bg = addRow(gp, "background", "dict");
    EXPECT_EQ(bg->itemID, "graphProperties\tbackground");
    EXPECT_EQ(bg->setIndex, 3);
    EXPECT_FALSE(gp->changeable);   // not described: out of copy and paste

    auto* fixed = addRow(&root, "odd", "string", 0, "x");
    EXPECT_EQ(fixed->title, "fixed");
    EXPECT_EQ(fixed->itemID, "fixed");
    EXPECT_EQ(fixed->setIndex, 64);
    EXPECT_EQ(fixed->minVal, std::optional<double>(12.0));
    EXPECT_EQ(fixed->maxVal, std::optional<double>(0.0));
}

TEST(ConfigRow, ReserveRule)
{
    QVariantMap table = kRootOnly;
    setDescription(table, "half\tx\ty", {{"dotReserve", true}});
    Descriptions d(table);

    MyConfigRootItem root(nullptr);
    // A parent with one of the two bits passes nothing on.
    auto* x = addRow(addRow(&root, "half", "dict", 3), "x", "dict", 3);
    x->setIndex = 0x8000;
    EXPECT_EQ(addRow(x, "y", "string", 3)->setIndex, 1);

    // The builder hands every row the number of categories (two here): the second series
    // and its descriptions below it gain the bits.
    QVariantMap built = builtInSettings(true);
    QVariantMap described = describe(built);
    setDescription(described, "dotsProperties\t", {{"dotReserve", true}, {"setIndex", qint64(1)}});
    setDescription(described, "dotsProperties\t\tfillColor", {{"dotReserve", true}, {"setIndex", qint64(2)}});
    Descriptions builtDescriptions(described);
    auto tree = treeOf(built);
    QVector<qint64> series, fills;
    for (const MyConfigItem* s : tree->childTitle("dotsProperties")->configChildren()) {
        series.append(s->setIndex);
        fills.append(s->childTitle("fillColor")->setIndex);
    }
    ASSERT_GE(series.size(), 3);
    EXPECT_EQ(series.mid(0, 3), (QVector<qint64>{1, 1 | 0x18000, 1}));
    EXPECT_EQ(fills.mid(0, 3), (QVector<qint64>{2, 2 | 0x18000, 2}));
}

// ---- building from settings and reading back

// With the application's own descriptions: the tree gives the settings back, writing them
// again changes no row, and the rows sit where other subsystems address them.
TEST(ConfigRoundTrip, BuiltInSettingsComeBack)
{
    Descriptions d(Resources::plist("configRes.plist").toMap().value("intoOutlineItem").toMap());
    for (bool scatter : {true, false}) {
        const QVariantMap settings = builtInSettings(scatter);
        auto root = treeOf(settings);
        EXPECT_EQ(root->object().toMap(), settings);
        expectConsistentIndexes(*root, root.get());

        // Data rows take the full document form, so their messages are left out.
        std::function<void(const MyConfigItem*, QStringList&)> dump = [&](const MyConfigItem* r, QStringList& out) {
            if (r->type != "data")
                out.append(r->itemID + '|' + r->type + '|' + r->message);
            for (const MyConfigItem* k : r->configChildren())
                dump(k, out);
        };
        QStringList before, after;
        dump(root.get(), before);
        EXPECT_TRUE(root->setObject(root->object()));
        dump(root.get(), after);
        EXPECT_EQ(before, after);

        const MyConfigItem* category = root->configChildAt(3)->configChildAt(1);
        ASSERT_TRUE(category && category->configChildAt(4) && category->configChildAt(4)->title == "represents");
        EXPECT_EQ(category->configChildAt(0)->title, "categoryTitle");
        EXPECT_EQ(keysOf(category->childTitle("represents")->configChildAt(0)->configChildren()),
                  (QStringList{"origName", "represent"}));
    }
}

namespace {

QString randomText(std::mt19937& rng)
{
    static const QStringList pieces{"a", "0", "&", "<", "\"", "\n", "\t", " ", "&amp;", "</string>", "\u00e9",
                                    "\U0001F600", "\r\n", "\r", "\x01"};
    QString s;
    for (int i = std::uniform_int_distribution<int>(0, 8)(rng); i > 0; --i)
        s += pieces[std::uniform_int_distribution<int>(0, int(pieces.size()) - 1)(rng)];
    return s;
}

QVariant randomValue(std::mt19937& rng, int depth)
{
    auto number = [&](auto low, auto high) { return std::uniform_int_distribution<decltype(low)>(low, high)(rng); };
    switch (number(0, depth > 3 ? 4 : 6)) {
    case 0: return randomText(rng);
    case 1: return QVariant::fromValue<qint64>(number(-1'000'000'000'000LL, 1'000'000'000'000LL));
    case 2: return std::uniform_real_distribution<double>(-1e6, 1e6)(rng) * std::pow(10.0, number(-30, 30));
    case 3: return number(0, 1) == 1;
    case 4: {
        QByteArray data(number(0, 200), '\0');
        for (char& c : data)
            c = char(number(0, 255));
        return data;
    }
    case 5: {
        QVariantList list;
        for (int i = number(0, 4); i > 0; --i)
            list.append(randomValue(rng, depth + 1));
        return list;
    }
    default: {
        QVariantMap map;
        for (int i = number(0, 4); i > 0; --i)
            map.insert(randomText(rng).remove('\t') + QString::number(i), randomValue(rng, depth + 1));
        return map;
    }
    }
}

} // namespace

// Entities, line breaks, empty containers and data survive the trip through the XML text.
TEST(ConfigRoundTripRandom, AnySettingsComeBackUnchanged)
{
    std::mt19937 rng(4131);
    for (int round = 0; round < 300; ++round) {
        QVariantMap settings;
        for (int i = std::uniform_int_distribution<int>(1, 6)(rng); i > 0; --i)
            settings.insert(randomText(rng).remove('\t') + QString::number(i), randomValue(rng, 0));
        if (round % 3 == 0)
            settings.insert("categoryDicts", QVariantList{QVariantMap{{"categoryTitle", "dataColumns"}}, QVariantMap{}});
        Descriptions d(describe(settings));
        auto root = treeOf(settings);
        ASSERT_EQ(root->object().toMap(), settings) << PropertyList::toXml(settings).toStdString();
        expectConsistentIndexes(*root, root.get());
    }
}

TEST(ConfigTree, RowsOfTheText)
{
    const QVariantMap settings{
        {"categoryDicts", QVariantList{QVariantMap{{"categoryTitle", "dataColumns"}}}},
        {"text", QString("R&D <a/b>\nsecond line")}, {"empty", QString()}, {"flag", false}, {"n", qint64(-12)},
        {"x", 0.25}, {"color", QByteArray("\x01\x02\x03", 3)}, {"nothing", QVariantMap{}}, {"none", QVariantList{}},
    };
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    const std::pair<const char*, QString> rows[] = {
        {"text", "string|R&D <a/b>\nsecond line"}, {"empty", "string|"}, {"flag", "Bool|NO"}, {"n", "integer|-12"},
        {"x", "real|0.25"}, {"nothing", "dict|"}, {"none", "array|"}};
    for (const auto& [key, typeAndMessage] : rows) {
        const MyConfigItem* row = root->childTitle(key);
        EXPECT_EQ(row->type + '|' + row->message, typeAndMessage);
        EXPECT_FALSE(row->hasChildren()) << key;
    }
    const MyConfigItem* color = root->childTitle("color");
    EXPECT_TRUE(color->message.startsWith("<plist version=\"1.0\">\n\t<data>\n"));
    EXPECT_TRUE(color->message.endsWith("\t</data>\n</plist>\n"));

    // Not a property-list dictionary, or malformed text: nothing added.
    MyConfigRootItem bad(nullptr);
    EXPECT_FALSE(bad.outlineItemFromSettings(QVariantMap{{"k", QVariant::fromValue(QPointF(1, 2))}}));
    EXPECT_FALSE(bad.hasChildren());
    const QStringList unclosedString{"\t<key>a</key>", "\t<string>runs on", "and on"};
    EXPECT_EQ(bad.parsePlistLines(unclosedString, 0, &bad, true, 0), -1);
}

// Rows found by key or position are checked with every tree above; here the misses.
TEST(ConfigTree, LookupMisses)
{
    const QVariantMap settings = builtInSettings(true);
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    EXPECT_EQ(root->outlineItemWithKeys({"graphProperties", "nope"}), nullptr);
    EXPECT_TRUE(root->outlineItemsFromIndexes({0, 99}).isEmpty());
    MyConfigRootItem other(nullptr);
    EXPECT_TRUE(other.outlineItemsWithItem(root->configChildAt(0)).isEmpty());
}

// ---- object and setObject of scalar rows

TEST(ConfigValue, ScalarRows)
{
    Descriptions d(kRootOnly);
    MyConfigRootItem root(nullptr);
    const struct {
        const char* type;
        const char* message;
        QVariant value;
    } reads[] = {
        {"integer", "+7", QVariant::fromValue<qint64>(7)}, {"real", "1.5xyz", 1.5}, {"real", "abc", 0.0},
        {"Bool", "YES", true}, {"Bool", "Yes", false},
        {"data", "<plist version=\"1.0\">\n<string>x</string>\n</plist>\n", QByteArray()},
        {"date", "2001-01-01", QString("2001-01-01")}, {"dict", "ignored", QVariantMap()},
    };
    for (const auto& r : reads) {
        const QVariant got = addRow(&root, "v", r.type, 0, r.message)->object();
        EXPECT_EQ(PropertyList::kindOf(got), PropertyList::kindOf(r.value)) << r.type << " " << r.message;
        EXPECT_EQ(got, r.value) << r.type << " " << r.message;
    }

    const struct {
        const char* type;
        QVariant value;
        const char* message;   // nullptr: refused, the row keeps its text
    } writes[] = {
        {"integer", QVariant::fromValue<qint64>(-3), "-3"}, {"real", 540.0, "540.0"},
        {"real", 1.0 / 3, "0.333333333333333"}, {"real", 1e20, "1e+20"}, {"Bool", true, "YES"},
        {"integer", QString("4"), nullptr}, {"data", QString("x"), nullptr},
    };
    for (const auto& w : writes) {
        MyConfigItem* row = addRow(&root, "v", w.type, 0, "kept");
        EXPECT_EQ(row->setObject(w.value), w.message != nullptr) << w.type;
        EXPECT_EQ(row->message, w.message ? w.message : "kept") << w.type;
    }
    // A later duplicate title wins.
    MyConfigRootItem dup(nullptr);
    addRow(&dup, "k", "string", 0, "first");
    addRow(&dup, "k", "string", 0, "second");
    EXPECT_EQ(dup.object().toMap(), (QVariantMap{{"k", "second"}}));
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
    EXPECT_EQ(scale->configChildAt(0), kept);
    EXPECT_EQ(scale->configChildAt(6)->itemID, "valueSettings\tscaleStrings\t");
    EXPECT_TRUE(scale->setObject(QVariantList{"only"}));
    EXPECT_EQ(scale->configChildren(), QList<MyConfigItem*>{kept});
    EXPECT_EQ(scale->object(), QVariant(QVariantList{"only"}));

    // Represents: matched by origName (canonically equivalent forms equal), reordered,
    // unmatched rows dropped, same objects.
    MyConfigItem* reps = root->outlineItemWithKeys({"categoryDicts"})->configChildAt(1)->childTitle("represents");
    const QList<MyConfigItem*> rows = reps->configChildren();   // M, F, Café
    const QVariantList reversed{
        QVariantMap{{"origName", QString::fromUtf8("Cafe\u0301")}, {"represent", "c"}},
        QVariantMap{{"origName", "F"}, {"represent", "female"}},
        QVariantMap{{"origName", "M"}, {"represent", "male"}}};
    EXPECT_TRUE(reps->setObject(reversed));
    EXPECT_EQ(reps->configChildren(), (QList<MyConfigItem*>{rows[2], rows[1], rows[0]}));
    expectConsistentIndexes(*root, root.get());
    EXPECT_TRUE(reps->setObject(QVariantList{reversed[0], reversed[2]}));
    // An origName the category does not have, or an element without one: refused whole.
    EXPECT_FALSE(reps->setObject(QVariantList{reversed[0], QVariantMap{{"origName", "X"}, {"represent", "x"}}}));
    EXPECT_EQ(reps->configChildren(), (QList<MyConfigItem*>{rows[2], rows[0]}));

    // Categories: the first rows take the elements, the rest keep theirs; never more.
    MyConfigItem* cats = root->childTitle("categoryDicts");
    QVariantList dicts = cats->object().toList();
    QVariantMap first = dicts[0].toMap();
    first.insert("verticalGap", "9");
    EXPECT_TRUE(cats->setObject(QVariantList{first}));
    EXPECT_EQ(cats->configChildAt(0)->childTitle("verticalGap")->message, "9");
    EXPECT_EQ(cats->childCount(), 2);
    EXPECT_FALSE(cats->setObject(QVariantList{first, dicts[1], dicts[1]}));

    // A dictionary ignores keys it has no rows for and needs every key it has.
    MyConfigItem* bar = root->outlineItemWithKeys({"graphProperties", "bars"});
    QVariantMap barValue = bar->object().toMap();
    barValue.insert("extra", "1");
    barValue.insert("lineWidth", "7");
    EXPECT_TRUE(bar->setObject(barValue));
    EXPECT_EQ(bar->childTitle("lineWidth")->message, "7");
    barValue.remove("barType");
    barValue.insert("lineWidth", "5");
    EXPECT_FALSE(bar->setObject(barValue));
    EXPECT_EQ(bar->childTitle("lineWidth")->message, "7");
}

TEST(ConfigValue, ArrayOfDictionariesGrowsWholeRows)
{
    const QVariantList one{QVariantMap{{"a", "1"}, {"b", QVariantList{qint64(1)}}}};
    Descriptions d(describe({{"categoryDicts", QVariantList{}}, {"list", one}}));
    auto root = treeOf({{"categoryDicts", QVariantList{}}, {"list", one}});
    MyConfigItem* list = root->childTitle("list");
    const QVariantList grown = one + QVariantList{QVariantMap{{"a", "2"}, {"b", QVariantList{qint64(2), qint64(3)}}}};
    EXPECT_TRUE(list->setObject(grown));
    EXPECT_EQ(list->object(), QVariant(grown));
    expectConsistentIndexes(*root, root.get());
    EXPECT_FALSE(list->setObject(QVariantList{QString("not a dict"), QString("x")}));

    // An emptied array, or one read as empty, grows again with rows made from the values,
    // also within a whole snapshot written into the root.
    EXPECT_TRUE(list->setObject(QVariantList{}));
    EXPECT_FALSE(list->hasChildren());
    EXPECT_FALSE(list->setObject(QVariantList{QVariantMap{{"p", QVariant::fromValue(QPointF(1, 2))}}}));
    EXPECT_TRUE(list->setObject(grown));
    EXPECT_EQ(list->object(), QVariant(grown));
    EXPECT_EQ(list->configChildAt(1)->childTitle("b")->itemID, "list\t\tb");
    auto empty = treeOf({{"categoryDicts", QVariantList{}}, {"list", QVariantList{}}});
    EXPECT_TRUE(empty->setObject(QVariantMap{{"categoryDicts", QVariantList{}}, {"list", one}}));
    EXPECT_EQ(empty->childTitle("list")->object(), QVariant(one));
    expectConsistentIndexes(*empty, empty.get());
}

// ---- reorder

TEST(ConfigOrder, DictsSortArraysKeepOrder)
{
    Descriptions d(kRootOnly);
    MyConfigRootItem root(nullptr);
    auto* dict = addRow(&root, "d", "dict");
    auto* arr = addRow(&root, "a", "array");
    QList<MyConfigItem*> ak;
    for (qint64 key : {2, 0, 1})
        addRow(dict, QString::number(key), "string")->indexes = {key};
    for (qint64 key : {5, 0, 3}) {
        ak.append(addRow(arr, "", "string"));
        ak.last()->indexes = {key};
    }
    addRow(&root, "leaf", "string");
    root.reorder();
    EXPECT_EQ(keysOf(dict->configChildren()), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(arr->configChildren(), ak);
    expectConsistentIndexes(root, &root);
}
