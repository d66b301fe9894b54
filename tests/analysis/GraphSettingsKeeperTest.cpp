#include "analysis/MyGraphSettingsKeeper.h"
#include "outline/MyConfigItem.h"
#include "AnalysisTestSupport.h"
#include <gtest/gtest.h>

namespace {

MyConfigItem* row(MyConfigItem* parent, const QString& title, const QString& type, QVector<qint64> indexes,
                  const QString& message = {})
{
    auto r = std::make_unique<MyConfigItem>(title, message, type, parent, 0);
    r->indexes = std::move(indexes);
    return parent->append(std::move(r));
}

QVariantList reps(const QStringList& entries)   // "A" or "A=text"
{
    QVariantList out;
    for (const QString& s : entries) {
        const QStringList p = s.split('=');
        out << QVariantMap{{"origName", p[0]}, {"represent", p.value(1, p[0])}};
    }
    return out;
}

QVariantMap category(const QString& title, const QStringList& entries, const QString& gap = "5")
{
    return {{"categoryTitle", title}, {"represents", reps(entries)}, {"verticalGap", gap}};
}

} // namespace

TEST(GraphSettingsKeeper, SeriesFollowTheStoredLength)
{
    const QVariantMap stored{{"dotsProperties", numbered("s", 7)}, {"boxesProperties", numbered("b", 2)}};
    const QVariantList seven = numbered("p", 7), nine = numbered("p", 9), two = numbered("p", 2);
    using K = MyGraphSettingsKeeper;
    EXPECT_EQ(*K::fixedDotsOrBoxesProperties(nine, "scatter", stored), seven);
    EXPECT_EQ(*K::fixedDotsOrBoxesProperties(two, "scatter", stored), two + numbered("s", 7).mid(2));
    EXPECT_EQ(*K::fixedDotsOrBoxesProperties(std::nullopt, "scatter", stored), numbered("s", 7));
    EXPECT_EQ(*K::fixedDotsOrBoxesProperties(seven, "boxplot", stored), two);
    EXPECT_FALSE(K::fixedDotsOrBoxesProperties(seven, "scatter", {}));
}

TEST(GraphSettingsKeeper, CategoriesAndRepresentsMatchTheStoredOnes)
{
    const QVariantMap stored{{"categoryDicts", QVariantList{category("dataColumns", {"A", "B", "C"}),
                                                            category("c_Sex", {"f", "m"})}}};
    MyConfigItem root("rootItem", {}, "dict", nullptr, 0);
    MyConfigItem* cats = row(&root, "categoryDicts", "array", {1});
    MyConfigItem* cat0 = row(cats, "", "dict", {1, 0});
    MyConfigItem* reps0 = row(cat0, "represents", "array", {1, 0, 1});
    MyConfigItem* cat1 = row(cats, "", "dict", {1, 1});
    row(cat1, "represents", "array", {1, 1, 1});
    using K = MyGraphSettingsKeeper;

    EXPECT_EQ(*K::fixedRepresents(reps({"B=B'", "D", "A=A'"}), reps0, stored), reps({"B=B'", "A=A'", "C"}));
    EXPECT_EQ(*K::fixedRepresents(reps({"A=1", "A=2", "B"}), reps0, stored), reps({"A=1", "B", "C"}));
    EXPECT_FALSE(K::fixedRepresents(QVariantList{QVariantMap{{"represent", "x"}}}, reps0, stored));   // no origName
    MyConfigItem shallow("x", {}, "array", nullptr, 0);
    shallow.indexes = {1};
    EXPECT_FALSE(K::fixedRepresents(reps({"A"}), &shallow, stored));

    // Same title: layout keys from the proposal, represents matched.
    QVariantMap same = category("dataColumns", {"C=see", "Z"}, "9");
    QVariantMap expected = category("dataColumns", {"C=see", "A", "B"}, "9");
    EXPECT_EQ(*K::fixedCategoryDict(same, cat0, stored), expected);
    // Another title (pasted from another category): stored title and represents.
    QVariantMap other = category("c_Sex", {"f"}, "9");
    other["xTitleAttr"] = QByteArray("attr");
    QVariantMap fixedOther = category("dataColumns", {"A", "B", "C"}, "9");
    fixedOther["xTitleAttr"] = QByteArray("attr");
    EXPECT_EQ(*K::fixedCategoryDict(other, cat0, stored), fixedOther);

    const QVariantList storedList = stored["categoryDicts"].toList();
    EXPECT_EQ(*K::fixedCategoryDicts({same}, cats, stored), (QVariantList{expected, storedList[1]}));
    EXPECT_EQ(*K::fixedCategoryDicts({same, storedList[1], same}, cats, stored),
              (QVariantList{expected, storedList[1]}));
}

TEST(GraphSettingsKeeper, ViewSizeFollowsThePage)
{
    MyConfigItem root("rootItem", {}, "dict", nullptr, 0);
    MyConfigItem* background = row(&root, "background", "dict", {2, 0});
    row(background, "color", "string", {2, 0, 0}, "blue");
    MyConfigItem* follow = row(background, "followPageLayout", "Bool", {2, 0, 1}, "NO");
    MyConfigItem* width = row(background, "viewWidth", "string", {2, 0, 2}, "300.0");
    using K = MyGraphSettingsKeeper;
    const QVariantMap page{{"color", "blue"}, {"followPageLayout", true}, {"viewWidth", "576.0"}, {"viewHeight", "734.0"}};

    EXPECT_EQ(K::viewSizeFromPageLayout("612.0", width, 576, 734), std::make_pair(QVariant("612.0"), width));
    EXPECT_EQ(K::viewSizeFromPageLayout(false, follow, 576, 734), std::make_pair(QVariant(false), follow));
    EXPECT_EQ(K::viewSizeFromPageLayout(true, follow, 576, 734), std::make_pair(QVariant(page), background));

    QVariantMap pasted{{"color", "blue"}, {"followPageLayout", true}, {"viewWidth", "1"}, {"viewHeight", "2"}, {"extra", 1}};
    EXPECT_EQ(K::viewSizeFromPageLayout(pasted, background, 576, 734), std::make_pair(QVariant(page), background));
    pasted["followPageLayout"] = false;
    EXPECT_EQ(K::viewSizeFromPageLayout(pasted, background, 576, 734), std::make_pair(QVariant(pasted), background));
    EXPECT_EQ(K::viewSizeFromPageLayout(QString("x"), background, 576, 734), std::make_pair(QVariant("x"), background));
}
