#include "analysis/MyGraphSettingsKeeper.h"
#include "platform/KeyedArchive.h"
#include "outline/MyConfigItem.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>

namespace {

MyConfigItem* row(MyConfigItem* parent, const QString& title, const QString& type, QVector<qint64> indexes)
{
    auto r = std::make_unique<MyConfigItem>(title, QString(), type, parent, 0);
    r->indexes = std::move(indexes);
    return parent->append(std::move(r));
}

QVariantList reps(const QStringList& entries)   // "A" or "A=text"
{
    QVariantList out;
    for (const QString& s : entries)
        out << QVariantMap{{"origName", s.section('=', 0, 0)}, {"represent", s.contains('=') ? s.section('=', 1) : s}};
    return out;
}

} // namespace

// The series list takes the stored length for the graph type's key, by the type alone.
TEST(GraphSettingsKeeper, SeriesListsKeepTheStoredLength)
{
    const QVariantMap stored{{"dotsProperties", numbered("dot", 7)}, {"boxesProperties", numbered("box", 3)}};
    const QVariantList p = numbered("new", 9);
    const struct { const char* graphType; std::optional<QVariantList> proposed; QVariantList expected; } cases[] = {
        {"scatter", p.mid(0, 7), p.mid(0, 7)},
        {"scatter", p, p.mid(0, 7)},
        {"scatter", p.mid(0, 2), p.mid(0, 2) + numbered("dot", 7).mid(2)},
        {"scatter", std::nullopt, numbered("dot", 7)},
        {"boxplot", p.mid(0, 1), p.mid(0, 1) + numbered("box", 3).mid(1)},
        {"anything", QVariantList{}, numbered("box", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MyGraphSettingsKeeper::fixedDotsOrBoxesProperties(c.proposed, c.graphType, stored), c.expected)
            << c.graphType << " " << (c.proposed ? c.proposed->size() : -1);
}

// A category keeps its title and the values it stands for: with its own title a proposal's
// represents are matched to the stored ones (unknown values dropped, missing ones added), with
// another its title and represents are the stored ones; its layout keys always come from the
// proposal. The list has the stored number of categories.
TEST(GraphSettingsKeeper, CategoriesKeepTheirTitlesAndValues)
{
    auto category = [](const QString& title, const QStringList& represents, const QString& gap) {
        return QVariantMap{{"categoryTitle", title}, {"represents", reps(represents)}, {"verticalGap", gap}};
    };
    const QVariantMap stored{{"categoryDicts", QVariantList{category("dataColumns", {"A", "B", "C"}, "4"),
                                                            category("c_Sex", {"M", "F"}, "4")}}};
    MyConfigItem root("rootItem", {}, "dict", nullptr, 0);
    MyConfigItem* list = row(&root, "categoryDicts", "array", {1});
    for (qint64 i = 0; i < 2; ++i)
        row(row(list, "", "dict", {1, i}), "represents", "array", {1, i, 0});
    using K = MyGraphSettingsKeeper;
    MyConfigItem* first = list->configChildAt(0);
    EXPECT_EQ(*K::fixedCategoryDict(category("dataColumns", {"B=B'", "D", "A=A'"}, "9"), first, stored),
              category("dataColumns", {"B=B'", "A=A'", "C"}, "9"));
    // A value proposed twice is kept once, so no stored value is pushed out.
    EXPECT_EQ(*K::fixedCategoryDict(category("dataColumns", {"A=1", "A=2", "B"}, "3"), first, stored),
              category("dataColumns", {"A=1", "B", "C"}, "3"));
    // Another category's dictionary pasted here: only its layout comes along.
    EXPECT_EQ(*K::fixedCategoryDict(category("c_Sex", {"M"}, "7"), first, stored),
              category("dataColumns", {"A", "B", "C"}, "7"));
    EXPECT_EQ(*K::fixedCategoryDict(category("dataColumns", {}, "1"), first, stored),
              category("dataColumns", {"A", "B", "C"}, "1"));

    const QVariantList one{category("dataColumns", {"C", "A", "B"}, "2")};
    EXPECT_EQ(*K::fixedCategoryDicts(one, list, stored),
              (QVariantList{category("dataColumns", {"C", "A", "B"}, "2"), category("c_Sex", {"M", "F"}, "4")}));
    // Position 1 is compared with stored category 1; a third dictionary is dropped.
    const QVariantList three{category("c_Sex", {"F"}, "5"), category("c_Sex", {"F=f"}, "6"), category("x", {}, "7")};
    EXPECT_EQ(*K::fixedCategoryDicts(three, list, stored),
              (QVariantList{category("dataColumns", {"A", "B", "C"}, "5"), category("c_Sex", {"F=f", "M"}, "6")}));
}

// While the background follows the page layout its size is the page's printable size.
TEST(GraphSettingsKeeper, ViewSizeFollowsThePage)
{
    MyConfigItem root("rootItem", {}, "dict", nullptr, 0);
    MyConfigItem* background = row(row(&root, "graphProperties", "dict", {2}), "background", "dict", {2, 0});
    const QByteArray white = KeyedArchive::archiveColor(Color::gray(1));
    MyConfigItem* color = row(background, "color", "data", {2, 0, 0});
    ASSERT_TRUE(color->setObject(white));
    MyConfigItem* follow = row(background, "followPageLayout", "Bool", {2, 0, 1});
    MyConfigItem* width = row(background, "viewWidth", "string", {2, 0, 2});
    const QByteArray red = KeyedArchive::archiveColor(Color::rgb(1, 0, 0));
    auto page = [](const QVariant& c) {
        return QVariantMap{{"color", c}, {"followPageLayout", true}, {"viewWidth", "576.0"}, {"viewHeight", "734.5"}};
    };
    const QVariantMap pasted{{"color", red}, {"followPageLayout", true}, {"viewWidth", "1"}, {"viewHeight", "2"}, {"extra", "x"}};
    QVariantMap pastedOff = pasted;
    pastedOff["followPageLayout"] = false;
    const struct { const char* name; QVariant value; MyConfigItem* row; QVariant expected; MyConfigItem* expectedRow; } cases[] = {
        {"WidthPassesThrough", "300", width, "300", width},
        {"ColourPassesThrough", red, color, red, color},
        {"SwitchedOff", false, follow, false, follow},
        {"SwitchedOnRewritesTheBackground", true, follow, page(white), background},
        {"PastedOn", pasted, background, page(red), background},
        {"PastedOffUnchanged", pastedOff, background, pastedOff, background},
    };
    for (const auto& c : cases) {
        const auto [value, target] = MyGraphSettingsKeeper::viewSizeFromPageLayout(c.value, c.row, 576, 734.5);
        EXPECT_EQ(value, c.expected) << c.name;
        EXPECT_EQ(target, c.expectedRow) << c.name;
    }
}
