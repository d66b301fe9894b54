// The category list of a graph: one tag per combination of the levels' represents, the first
// level varying slowest, the parts joined by tabs; and the category texts under the x axis
// standing in the same order.
#include "FrameLayoutFixture.h"
#include "views/MySimpleTextView.h"
#include <gtest/gtest.h>

namespace {
QVariantMap categorySettings(const QList<QStringList>& levels)
{
    QVariantList dicts;
    for (qsizetype l = 0; l < levels.size(); ++l)
        dicts << QVariantMap{{"categoryTitle", QString("c%1").arg(l)}, {"represents", representsOf(levels[l])}};
    return {{"categoryDicts", dicts}};
}
} // namespace

// Expected tags written out by hand: tag t takes, from each level, the represent whose index
// is t's digit for that level in the mixed radix of the levels' counts, the last level
// varying fastest (male, female × young, middle, old: male-young first, female-old last).
TEST(NameTags, OneTagPerCombinationFirstLevelSlowest)
{
    const struct {
        const char* name;
        QList<QStringList> levels;
        QStringList tags;
    } rows[] = {
        {"sex by age",
         {{"male", "female"}, {"young", "middle", "old"}},
         {"male\tyoung", "male\tmiddle", "male\told", "female\tyoung", "female\tmiddle", "female\told"}},
        {"one level", {{"a", "b", "c"}}, {"a", "b", "c"}},
        {"three levels of 2, 1 and 3",
         {{"p", "q"}, {"m"}, {"x", "y", "z"}},
         {"p\tm\tx", "p\tm\ty", "p\tm\tz", "q\tm\tx", "q\tm\ty", "q\tm\tz"}},
        {"empty first part", {{"", "a"}, {"x"}}, {"\tx", "a\tx"}},
        {"empty last part", {{"x"}, {"a", ""}}, {"x\ta", "x\t"}},
        {"a level without represents", {{"a", "b"}, {}}, {}},
    };
    MyGraphGenerator generator;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MyViewManager vm(MyAnalysisData(), nullptr, nullptr);
        vm.nameTags = {"left over"};
        generator.nameTagsWithSetttings(categorySettings(row.levels), &vm);
        EXPECT_EQ(vm.nameTags, row.tags);
    }
}

// The texts under the axis follow the tags: the age of tag t centred under column t, each
// sex centred under the mean of its three columns, in the row below the ages.
TEST(NameTags, CategoryTextsStandUnderTheirColumns)
{
    FrameLayout g({{"male", "female"}, {"young", "middle", "old"}});
    g.layout();
    const MyViewManager& vm = *g.vm;
    const QStringList tags{"male\tyoung", "male\tmiddle", "male\told", "female\tyoung", "female\tmiddle", "female\told"};
    ASSERT_EQ(vm.nameTags, tags);
    ASSERT_EQ(vm.baseXs.size(), tags.size());
    // Centres of the views of a text, in their order, and the bottom of its row.
    auto centres = [&](const QString& name, double* bottom) {
        QList<double> xs;
        for (const MySimpleTextView* view : vm.textViewsDict.value(name)) {
            xs << view->frame().midX();
            *bottom = view->frame().origin.y;
        }
        return xs;
    };
    QHash<QString, QList<double>> wanted;
    for (qsizetype t = 0; t < tags.size(); ++t) {
        const QStringList parts = tags[t].split('\t');
        wanted["c1\t" + parts[1]] << vm.baseXs[t];
        if (t % 3 == 0)
            wanted["c0\t" + parts[0]] << (vm.baseXs[t] + vm.baseXs[t + 1] + vm.baseXs[t + 2]) / 3;
    }
    double ageRow = 0, sexRow = 0;
    for (const char* age : {"young", "middle", "old"}) {
        const QString name = QString("c1\t") + age;
        const QList<double> xs = centres(name, &ageRow);
        ASSERT_EQ(xs.size(), 2) << age;
        for (int k = 0; k < 2; ++k)
            EXPECT_NEAR(xs[k], wanted[name][k], 1e-9) << age;
    }
    for (const char* sex : {"male", "female"}) {
        const QString name = QString("c0\t") + sex;
        const QList<double> xs = centres(name, &sexRow);
        ASSERT_EQ(xs.size(), 1) << sex;
        EXPECT_NEAR(xs[0], wanted[name][0], 1e-9) << sex;
    }
    EXPECT_LT(sexRow, ageRow) << "the first level lies lowest";
    EXPECT_LT(ageRow, 0) << "under the axis";
}
