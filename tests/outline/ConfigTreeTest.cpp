#include "OutlineFixtures.h"
#include "platform/PropertyList.h"
#include "platform/Resources.h"
#include <QPointF>
#include <gtest/gtest.h>
#include <random>

using namespace fixtures;

namespace {

QVariantMap smallTable()
{
    QVariantMap t;
    t.insert(QString(), QVariantMap{{"setIndex", qint64(7)}});
    return t;
}

QStringList keysOf(const QList<MyConfigItem*>& rows)
{
    QStringList k;
    for (const MyConfigItem* r : rows)
        k.append(r->title);
    return k;
}

// Every row's `indexes` is its position path and outlineItemsFromIndexes finds it again.
void expectConsistentIndexes(const MyConfigRootItem& root, const MyConfigItem* row)
{
    for (MyConfigItem* c : row->configChildren()) {
        QVector<qint64> expected = row->indexes;
        expected.append(c->index());
        ASSERT_EQ(c->indexes, expected) << c->itemID.toStdString();
        const QList<MyConfigItem*> path = root.outlineItemsFromIndexes(c->indexes);
        ASSERT_FALSE(path.isEmpty());
        ASSERT_EQ(path.last(), c);
        ASSERT_EQ(root.outlineItemsWithItem(c), path);
        expectConsistentIndexes(root, c);
    }
}

} // namespace

// ---- row construction

TEST(ConfigRow, RootAndKeyPaths)
{
    QVariantMap table = smallTable();
    setDescription(table, "graphProperties", {{"indexes", QVariantList{qint64(2)}}});
    setDescription(table, "graphProperties\tbackground", {{"indexes", QVariantList{qint64(0), qint64(0)}}, {"setIndex", qint64(3)}});
    setDescription(table, "categoryDicts", {});
    setDescription(table, "categoryDicts\t", {{"changeable", false}});
    setDescription(table, "categoryDicts\t\trepresents", {{"type2", "names"}});
    setDescription(table, "odd", {{"needFix", "fixed"}});
    setDescription(table, "fixed", {{"setIndex", qint64(64)}, {"minVal", "12ab"}, {"maxVal", "0"}});
    Descriptions d(table);

    MyConfigRootItem root(nullptr);
    EXPECT_EQ(root.title, "rootItem");
    EXPECT_EQ(root.type, "dict");
    EXPECT_TRUE(root.itemID.isEmpty());
    EXPECT_TRUE(root.indexes.isEmpty());
    EXPECT_EQ(root.myIndex(), 0);
    EXPECT_TRUE(root.changeable);
    EXPECT_TRUE(root.type2.isEmpty());
    EXPECT_FALSE(root.minVal || root.maxVal || root.allowEqual);
    EXPECT_EQ(root.setIndex, 7);
    EXPECT_EQ(root.keysAndIndexes().first, QStringList{QString()});
    EXPECT_EQ(root.configParent(), nullptr);

    auto* gp = root.append(std::make_unique<MyConfigItem>("graphProperties", "", "dict", &root, 0));
    auto* bg = gp->append(std::make_unique<MyConfigItem>("background", "", "dict", gp, 0));
    EXPECT_EQ(gp->itemID, "graphProperties");
    EXPECT_EQ(bg->itemID, "graphProperties\tbackground");
    EXPECT_EQ(bg->setIndex, 3);
    EXPECT_EQ(bg->configParent(), gp);
    EXPECT_EQ(gp->configParent(), &root);
    EXPECT_FALSE(bg->minVal.has_value());

    auto* cd = root.append(std::make_unique<MyConfigItem>("categoryDicts", "", "array", &root, 0));
    auto* c0 = cd->append(std::make_unique<MyConfigItem>("", "", "dict", cd, 0));
    auto* r0 = c0->append(std::make_unique<MyConfigItem>("represents", "", "array", c0, 0));
    EXPECT_EQ(c0->itemID, "categoryDicts\t");
    EXPECT_FALSE(c0->changeable);
    EXPECT_EQ(r0->itemID, "categoryDicts\t\trepresents");
    EXPECT_EQ(r0->type2, "names");
    EXPECT_EQ(r0->keysAndIndexes().first, (QStringList{"categoryDicts", "", "represents"}));

    auto* fixed = root.append(std::make_unique<MyConfigItem>("odd", "x", "string", &root, 0));
    EXPECT_EQ(fixed->title, "fixed");
    EXPECT_EQ(fixed->itemID, "fixed");
    EXPECT_EQ(fixed->setIndex, 64);
    EXPECT_EQ(fixed->minVal, std::optional<double>(12.0));
    EXPECT_EQ(fixed->maxVal, std::optional<double>(0.0));

    fixed->indexes = {2, 5};
    EXPECT_EQ(fixed->myIndex(), 5);
}

TEST(ConfigRow, ReserveRule)
{
    QVariantMap table = smallTable();
    setDescription(table, "dots", {});
    setDescription(table, "dots\t", {{"dotReserve", true}, {"setIndex", qint64(1)}});
    setDescription(table, "dots\t\tfill", {{"dotReserve", true}, {"setIndex", qint64(2)}});
    setDescription(table, "half", {{"setIndex", qint64(0x8000)}});
    setDescription(table, "half\tx", {{"setIndex", qint64(0)}});
    setDescription(table, "half\tx\ty", {{"dotReserve", true}});
    Descriptions d(table);

    MyConfigRootItem root(nullptr);
    auto* dots = root.append(std::make_unique<MyConfigItem>("dots", "", "array", &root, 3));
    QVector<qint64> bits;
    for (int i = 0; i < 5; ++i)
        bits.append(dots->append(std::make_unique<MyConfigItem>("", "", "dict", dots, 3))->setIndex);
    // Only the element made while its parent holds n - 1 = 2 children gains the bits.
    EXPECT_EQ(bits, (QVector<qint64>{1, 1, 1 | 0x18000, 1, 1}));

    auto* third = dots->configChildAt(2);
    auto* fill = third->append(std::make_unique<MyConfigItem>("fill", "", "data", third, 3));
    EXPECT_EQ(fill->setIndex, 2 | 0x18000);
    auto* first = dots->configChildAt(0);
    EXPECT_EQ(first->append(std::make_unique<MyConfigItem>("fill", "", "data", first, 3))->setIndex, 2);

    // A parent with one of the two bits passes nothing on.
    auto* half = root.append(std::make_unique<MyConfigItem>("half", "", "dict", &root, 3));
    auto* x = half->append(std::make_unique<MyConfigItem>("x", "", "dict", half, 3));
    x->setIndex = 0x8000;
    EXPECT_EQ(x->append(std::make_unique<MyConfigItem>("y", "", "string", x, 3))->setIndex, 1);

    // numOfCategories 0 (value writes) never adds the bits at the top levels.
    MyConfigRootItem other(nullptr);
    auto* dots2 = other.append(std::make_unique<MyConfigItem>("dots", "", "array", &other, 0));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dots2->append(std::make_unique<MyConfigItem>("", "", "dict", dots2, 0))->setIndex, 1);
}

// ---- building from settings and reading back

class ConfigRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(ConfigRoundTrip, TreeGivesTheSettingsBack)
{
    const std::string which = GetParam();
    const QVariantMap settings = which == "scatter" ? scatterSettings()
        : which == "boxplot"                        ? boxplotSettings()
                                                    : builtInSettings(which == "builtInScatter");
    ASSERT_FALSE(settings.value("graphProperties").toMap().value("background").toMap().isEmpty());
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    EXPECT_EQ(root->object().toMap(), settings);
    expectConsistentIndexes(*root, root.get());

    // Writing the value back changes no message.
    std::function<void(const MyConfigItem*, QStringList&)> dump = [&](const MyConfigItem* r, QStringList& out) {
        out.append(r->itemID + '|' + r->type + '|' + r->message);
        for (const MyConfigItem* c : r->configChildren())
            dump(c, out);
    };
    QStringList before, after;
    dump(root.get(), before);
    EXPECT_TRUE(root->setObject(root->object()));
    dump(root.get(), after);
    for (int i = 0; i < before.size(); ++i) {
        if (!before[i].contains("|data|"))   // data rows take the full document form
            EXPECT_EQ(before[i], after[i]);
    }
    EXPECT_EQ(root->object().toMap(), settings);
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, ConfigRoundTrip, ::testing::Values("scatter", "boxplot", "builtInScatter", "builtInBoxplot"),
                         [](const auto& info) { return info.param; });

namespace {

QString randomText(std::mt19937& rng)
{
    static const QStringList pieces{"a", "Z", "0", "&", "<", ">", "\"", "'", "/", "\n", "\t", " ", "&amp;", "</string>",
                                    "<dict>", "\u00e9", "\u273A", "\U0001F600", "R&D", "\r\n", ";"};
    QString s;
    const int n = std::uniform_int_distribution<int>(0, 8)(rng);
    for (int i = 0; i < n; ++i)
        s += pieces[std::uniform_int_distribution<int>(0, int(pieces.size()) - 1)(rng)];
    return s;
}

QVariant randomValue(std::mt19937& rng, int depth)
{
    const int kind = std::uniform_int_distribution<int>(0, depth > 3 ? 5 : 7)(rng);
    switch (kind) {
    case 0: return randomText(rng);
    case 1: return QVariant::fromValue<qint64>(std::uniform_int_distribution<qint64>(-1'000'000'000'000LL, 1'000'000'000'000LL)(rng));
    case 2: return std::uniform_real_distribution<double>(-1e6, 1e6)(rng) * std::pow(10.0, std::uniform_int_distribution<int>(-30, 30)(rng));
    case 3: return std::uniform_int_distribution<int>(0, 1)(rng) == 1;
    case 4: {
        QByteArray data(std::uniform_int_distribution<int>(0, 200)(rng), '\0');
        for (char& c : data)
            c = char(std::uniform_int_distribution<int>(0, 255)(rng));
        return data;
    }
    case 5: return QString();
    case 6: {
        QVariantList list;
        const int n = std::uniform_int_distribution<int>(0, 4)(rng);
        for (int i = 0; i < n; ++i)
            list.append(randomValue(rng, depth + 1));
        return list;
    }
    default: {
        QVariantMap map;
        const int n = std::uniform_int_distribution<int>(0, 4)(rng);
        for (int i = 0; i < n; ++i) {
            QString key = randomText(rng).remove('\t');
            if (key.isEmpty())
                key = "k";
            map.insert(key, randomValue(rng, depth + 1));
        }
        return map;
    }
    }
}

} // namespace

TEST(ConfigRoundTripRandom, AnySettingsComeBackUnchanged)
{
    std::mt19937 rng(4131);
    for (int round = 0; round < 300; ++round) {
        QVariantMap settings;
        const int n = std::uniform_int_distribution<int>(1, 6)(rng);
        for (int i = 0; i < n; ++i) {
            QString key = randomText(rng).remove('\t');
            settings.insert(key.isEmpty() ? QString("key%1").arg(i) : key, randomValue(rng, 0));
        }
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
        {"text", QString("R&D <a/b>\nsecond line")},
        {"empty", QString()},
        {"flag", false},
        {"n", qint64(-12)},
        {"x", 0.25},
        {"color", QByteArray("\x01\x02\x03", 3)},
        {"nothing", QVariantMap{}},
        {"none", QVariantList{}},
    };
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    auto row = [&](const char* key) { return root->childTitle(key); };
    EXPECT_EQ(row("text")->type, "string");
    EXPECT_EQ(row("text")->message, "R&D <a/b>\nsecond line");
    EXPECT_EQ(row("empty")->type, "string");
    EXPECT_TRUE(row("empty")->message.isEmpty());
    EXPECT_EQ(row("flag")->type, "Bool");
    EXPECT_EQ(row("flag")->message, "NO");
    EXPECT_EQ(row("n")->type, "integer");
    EXPECT_EQ(row("n")->message, "-12");
    EXPECT_EQ(row("x")->type, "real");
    EXPECT_EQ(row("nothing")->type, "dict");
    EXPECT_EQ(row("none")->type, "array");
    EXPECT_EQ(row("color")->type, "data");
    EXPECT_FALSE(row("color")->hasChildren());
    EXPECT_TRUE(row("color")->message.startsWith("<plist version=\"1.0\">\n\t<data>\n"));
    EXPECT_TRUE(row("color")->message.endsWith("\t</data>\n</plist>\n"));
    EXPECT_EQ(row("categoryDicts")->configChildAt(0)->type, "dict");
    EXPECT_TRUE(row("categoryDicts")->configChildAt(0)->title.isEmpty());

    // Reordered by the descriptions: reverse key order.
    EXPECT_EQ(keysOf(root->configChildren()),
              (QStringList{"x", "text", "nothing", "none", "n", "flag", "empty", "color", "categoryDicts"}));

    // Not a property-list dictionary: nothing added.
    MyConfigRootItem bad(nullptr);
    EXPECT_FALSE(bad.outlineItemFromSettings(QVariantMap{{"k", QVariant::fromValue(QPointF(1, 2))}}));
    EXPECT_FALSE(bad.hasChildren());
}

TEST(ConfigTree, MalformedTextAddsNothing)
{
    Descriptions d(smallTable());
    MyConfigRootItem root(nullptr);
    const QStringList lines{"\t<key>a</key>", "\t<dict>", "\t\t<key>b</key>", "\t\t<string>x</string>"};
    EXPECT_EQ(root.parsePlistLines(lines, 0, &root, true, 0), -1);
    const QStringList unclosed{"\t<key>a</key>", "\t<string>runs on", "and on"};
    MyConfigRootItem root2(nullptr);
    EXPECT_EQ(root2.parsePlistLines(unclosed, 0, &root2, true, 0), -1);
}

// ---- lookups

TEST(ConfigTree, Lookups)
{
    const QVariantMap settings = scatterSettings();
    Descriptions d(describe(settings));
    auto root = treeOf(settings);

    EXPECT_EQ(root->outlineItemWithKeys({}), root.get());
    MyConfigItem* bg = root->outlineItemWithKeys({"graphProperties", "background"});
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->itemID, "graphProperties\tbackground");
    EXPECT_EQ(root->outlineItemWithKeys({"categoryDicts", ""}), root->childTitle("categoryDicts")->configChildAt(0));
    EXPECT_EQ(root->outlineItemWithKeys({"graphProperties", "nope"}), nullptr);

    const QList<MyConfigItem*> two = root->outlineItemsFromKeys({"graphProperties", "background"});
    EXPECT_EQ(two, (QList<MyConfigItem*>{root->childTitle("graphProperties"), bg}));
    EXPECT_TRUE(root->outlineItemsFromKeys({}).isEmpty());
    EXPECT_TRUE(root->outlineItemsFromIndexes({}).isEmpty());
    EXPECT_TRUE(root->outlineItemsFromIndexes({99}).isEmpty());

    MyConfigItem* width = bg->childTitle("viewWidth");
    EXPECT_EQ(root->outlineItemsWithItem(width), (QList<MyConfigItem*>{root->childTitle("graphProperties"), bg, width}));
    EXPECT_EQ(root->outlineItemsWithItem(root->childTitle("graphTitle")), QList<MyConfigItem*>{root->childTitle("graphTitle")});
    EXPECT_TRUE(root->outlineItemsWithItem(root.get()).isEmpty());
    MyConfigRootItem other(nullptr);
    EXPECT_TRUE(other.outlineItemsWithItem(width).isEmpty());
}

// ---- object

struct ScalarCase {
    const char* type;
    const char* message;
    QVariant value;
};

class ConfigScalarRead : public ::testing::TestWithParam<ScalarCase> {};

TEST_P(ConfigScalarRead, Object)
{
    Descriptions d(smallTable());
    MyConfigRootItem root(nullptr);
    auto* row = root.append(std::make_unique<MyConfigItem>("v", GetParam().message, GetParam().type, &root, 0));
    const QVariant got = row->object();
    EXPECT_EQ(PropertyList::kindOf(got), PropertyList::kindOf(GetParam().value));
    EXPECT_EQ(got, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Types, ConfigScalarRead, ::testing::Values(
    ScalarCase{"integer", "+7", QVariant::fromValue<qint64>(7)},
    ScalarCase{"integer", "007", QVariant::fromValue<qint64>(7)},
    ScalarCase{"integer", "-12", QVariant::fromValue<qint64>(-12)},
    ScalarCase{"real", "2.5e3", 2500.0},
    ScalarCase{"real", "abc", 0.0},
    ScalarCase{"real", "1.5xyz", 1.5},
    ScalarCase{"Bool", "YES", true},
    ScalarCase{"Bool", "NO", false},
    ScalarCase{"Bool", "Yes", false},
    ScalarCase{"Bool", "", false},
    ScalarCase{"data", "", QByteArray()},
    ScalarCase{"data", "<plist version=\"1.0\">\n<string>x</string>\n</plist>\n", QByteArray()},
    ScalarCase{"string", "12", QString("12")},
    ScalarCase{"date", "2001-01-01", QString("2001-01-01")},
    ScalarCase{"dict", "ignored", QVariantMap()},
    ScalarCase{"array", "", QVariantList()}));

TEST(ConfigValue, LaterDuplicateTitleWinsAndValuesAreCopies)
{
    Descriptions d(smallTable());
    MyConfigRootItem root(nullptr);
    root.append(std::make_unique<MyConfigItem>("k", "first", "string", &root, 0));
    root.append(std::make_unique<MyConfigItem>("k", "second", "string", &root, 0));
    QVariantMap value = root.object().toMap();
    EXPECT_EQ(value, (QVariantMap{{"k", "second"}}));
    value.insert("k", "changed");
    EXPECT_EQ(root.object().toMap().value("k"), "second");
}

// ---- setObject

TEST(ConfigValue, ScalarWrites)
{
    Descriptions d(smallTable());
    MyConfigRootItem root(nullptr);
    auto* i = root.append(std::make_unique<MyConfigItem>("i", "0", "integer", &root, 0));
    auto* r = root.append(std::make_unique<MyConfigItem>("r", "0", "real", &root, 0));
    auto* b = root.append(std::make_unique<MyConfigItem>("b", "NO", "Bool", &root, 0));
    auto* x = root.append(std::make_unique<MyConfigItem>("x", "", "data", &root, 0));
    EXPECT_TRUE(i->setObject(QVariant::fromValue<qint64>(-3)));
    EXPECT_EQ(i->message, "-3");
    const std::pair<double, const char*> reals[] = {{2, "2.0"}, {0.5, "0.5"}, {1.0 / 3, "0.333333333333333"}, {1e20, "1e+20"}, {540, "540.0"}};
    for (const auto& [v, text] : reals) {
        EXPECT_TRUE(r->setObject(v));
        EXPECT_EQ(r->message, text);
    }
    EXPECT_TRUE(b->setObject(true));
    EXPECT_EQ(b->message, "YES");
    const QByteArray bytes("\x00\xff\x10", 3);
    EXPECT_TRUE(x->setObject(bytes));
    EXPECT_TRUE(x->message.startsWith("<?xml"));
    EXPECT_EQ(x->object().toByteArray(), bytes);

    // Wrong kinds are refused and leave the row.
    EXPECT_FALSE(i->setObject(QString("4")));
    EXPECT_FALSE(b->setObject(QVariant::fromValue<qint64>(1)));
    EXPECT_FALSE(x->setObject(QString("x")));
    EXPECT_EQ(i->message, "-3");
    EXPECT_EQ(b->message, "YES");
}

TEST(ConfigValue, ArrayKinds)
{
    QVariantMap settings = scatterSettings();
    Descriptions d(describe(settings));
    auto root = treeOf(settings);

    // Ordinary array: grows with rows of the first row's type, shrinks from the end.
    MyConfigItem* scale = root->outlineItemWithKeys({"valueSettings", "scaleStrings"});
    const QList<MyConfigItem*> kept = scale->configChildren();
    EXPECT_TRUE(scale->setObject(QVariantList{"a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(scale->childCount(), 7);
    EXPECT_EQ(scale->configChildAt(0), kept[0]);
    EXPECT_EQ(scale->configChildAt(6)->type, "string");
    EXPECT_EQ(scale->configChildAt(6)->itemID, "valueSettings\tscaleStrings\t");
    EXPECT_EQ(scale->configChildAt(6)->indexes.last(), 6);
    EXPECT_TRUE(scale->setObject(QVariantList{"only"}));
    EXPECT_EQ(scale->configChildren(), QList<MyConfigItem*>{kept[0]});
    EXPECT_EQ(scale->object(), QVariant(QVariantList{"only"}));

    // Represents: matched by origName, reordered, unmatched rows dropped, same objects.
    MyConfigItem* sex = root->outlineItemWithKeys({"categoryDicts"})->configChildAt(1);
    MyConfigItem* reps = sex->childTitle("represents");
    const QList<MyConfigItem*> rows = reps->configChildren();   // M, F, other
    const QVariantList reversed{
        QVariantMap{{"origName", "other"}, {"represent", "o"}},
        QVariantMap{{"origName", QString::fromUtf8("F")}, {"represent", "female"}},
        QVariantMap{{"origName", "M"}, {"represent", "male"}}};
    EXPECT_TRUE(reps->setObject(reversed));
    EXPECT_EQ(reps->configChildren(), (QList<MyConfigItem*>{rows[2], rows[1], rows[0]}));
    EXPECT_EQ(rows[0]->childTitle("represent")->message, "male");
    EXPECT_EQ(rows[2]->indexes, (QVector<qint64>{reps->indexes + QVector<qint64>{0}}));
    EXPECT_EQ(reps->object(), QVariant(reversed));
    EXPECT_TRUE(reps->setObject(QVariantList{reversed[0], reversed[2]}));
    EXPECT_EQ(reps->configChildren(), (QList<MyConfigItem*>{rows[2], rows[0]}));
    // An origName the category does not have, or an element without one: refused whole.
    EXPECT_FALSE(reps->setObject(QVariantList{reversed[0], QVariantMap{{"origName", "X"}, {"represent", "x"}}}));
    EXPECT_FALSE(reps->setObject(QVariantList{QVariantMap{{"represent", "x"}}}));
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
    barValue.insert("lineWidth", "4");
    EXPECT_TRUE(bar->setObject(barValue));
    EXPECT_EQ(bar->childTitle("extra"), nullptr);
    EXPECT_EQ(bar->childTitle("lineWidth")->message, "4");
    barValue.remove("barType");
    barValue.insert("lineWidth", "5");
    EXPECT_FALSE(bar->setObject(barValue));
    EXPECT_EQ(bar->childTitle("lineWidth")->message, "4");
}

TEST(ConfigValue, ArrayOfDictionariesGrowsWholeRows)
{
    const QVariantMap settings{
        {"categoryDicts", QVariantList{}},
        {"list", QVariantList{QVariantMap{{"a", "1"}, {"b", QVariantList{qint64(1)}}}}},
    };
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    MyConfigItem* list = root->childTitle("list");
    const QVariantList grown{QVariantMap{{"a", "1"}, {"b", QVariantList{qint64(1)}}},
                             QVariantMap{{"a", "2"}, {"b", QVariantList{qint64(2), qint64(3)}}}};
    EXPECT_TRUE(list->setObject(grown));
    EXPECT_EQ(list->object(), QVariant(grown));
    expectConsistentIndexes(*root, root.get());
    EXPECT_FALSE(list->setObject(QVariantList{QString("not a dict"), QString("x")}));

    // An emptied ordinary array has no model row left and cannot grow again.
    EXPECT_TRUE(list->setObject(QVariantList{}));
    EXPECT_FALSE(list->setObject(grown));
    EXPECT_FALSE(list->hasChildren());
}

// ---- reorder

TEST(ConfigOrder, DictsSortArraysKeepOrder)
{
    Descriptions d(smallTable());
    MyConfigRootItem root(nullptr);
    auto* dict = root.append(std::make_unique<MyConfigItem>("d", "", "dict", &root, 0));
    auto* arr = root.append(std::make_unique<MyConfigItem>("a", "", "array", &root, 0));
    QList<MyConfigItem*> dk, ak;
    for (qint64 key : {2, 0, 1}) {
        dk.append(dict->append(std::make_unique<MyConfigItem>(QString::number(key), "", "string", dict, 0)));
        dk.last()->indexes = {key};
    }
    for (qint64 key : {5, 0, 3}) {
        ak.append(arr->append(std::make_unique<MyConfigItem>("", "", "string", arr, 0)));
        ak.last()->indexes = {key};
    }
    auto* leaf = root.append(std::make_unique<MyConfigItem>("leaf", "", "string", &root, 0));
    root.reorder();
    EXPECT_EQ(keysOf(dict->configChildren()), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(arr->configChildren(), ak);
    EXPECT_EQ(ak[2]->indexes, (QVector<qint64>{arr->index(), 2}));
    EXPECT_EQ(dk[0]->indexes.size(), 2);
    EXPECT_FALSE(leaf->hasChildren());

    const QList<MyConfigItem*> order = root.configChildren();
    root.reorder();
    EXPECT_EQ(root.configChildren(), order);
    expectConsistentIndexes(root, &root);
}

// ---- with the application's own description resource

class ApplicationDescriptions : public ::testing::TestWithParam<bool> {};

TEST_P(ApplicationDescriptions, DescribeEveryRowOfTheBuiltInSettings)
{
    const QVariantMap settings = builtInSettings(GetParam());
    AppDelegate app;
    QString error;
    ASSERT_TRUE(app.loadConfigRes(Resources::plist("configRes.plist"), &error)) << error.toStdString();
    auto root = treeOf(settings);
    EXPECT_EQ(root->object().toMap(), settings);
    expectConsistentIndexes(*root, root.get());

    std::function<void(const MyConfigItem*)> visit = [&](const MyConfigItem* row) {
        for (const MyConfigItem* c : row->configChildren()) {
            EXPECT_TRUE(app.configResOutlineItem.contains(c->itemID)) << c->itemID.toStdString();
            EXPECT_TRUE(app.configResString.value(c->itemID).toMap().contains("titleRepresent")) << c->itemID.toStdString();
            visit(c);
        }
    };
    visit(root.get());

    // Positions other subsystems address rows by.
    MyConfigItem* categories = root->configChildAt(3);
    ASSERT_NE(categories, nullptr);
    EXPECT_EQ(categories->title, "categoryDicts");
    MyConfigItem* category = categories->configChildAt(1);
    EXPECT_EQ(category->configChildAt(0)->title, "categoryTitle");
    MyConfigItem* represent = category->childTitle("represents")->configChildAt(0);
    EXPECT_EQ(represent->configChildAt(0)->title, "origName");
    EXPECT_EQ(represent->configChildAt(1)->title, "represent");
}

INSTANTIATE_TEST_SUITE_P(GraphTypes, ApplicationDescriptions, ::testing::Values(true, false),
                         [](const auto& info) { return std::string(info.param ? "scatter" : "boxplot"); });

TEST(ConfigValue, RepresentsMatchCanonicallyEquivalentNames)
{
    const QString composed = QString::fromUtf8("Caf\u00e9");
    const QString decomposed = QString::fromUtf8("Cafe\u0301");
    const QVariantMap settings{
        {"categoryDicts", QVariantList{QVariantMap{{"represents", QVariantList{
            QVariantMap{{"origName", composed}, {"represent", "a"}},
            QVariantMap{{"origName", "Bar"}, {"represent", "b"}}}}}}},
    };
    Descriptions d(describe(settings));
    auto root = treeOf(settings);
    MyConfigItem* reps = root->outlineItemWithKeys({"categoryDicts", "", "represents"});
    MyConfigItem* cafe = reps->configChildAt(0);
    EXPECT_TRUE(reps->setObject(QVariantList{QVariantMap{{"origName", "Bar"}, {"represent", "B"}},
                                             QVariantMap{{"origName", decomposed}, {"represent", "A"}}}));
    EXPECT_EQ(reps->configChildAt(1), cafe);
    EXPECT_EQ(cafe->childTitle("represent")->message, "A");
}
