#include "analysis/MyGraphSettingsKeeper.h"
#include "outline/MyConfigItem.h"
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

TEST(GraphSettingsKeeper, RepresentsMatchTheStoredOnes)
{
    const QVariantMap dataColumns{{"categoryTitle", "dataColumns"}, {"represents", reps({"A", "B", "C"})}};
    const QVariantMap stored{{"categoryDicts", QVariantList{dataColumns}}};
    MyConfigItem root("rootItem", {}, "dict", nullptr, 0);
    MyConfigItem* cat0 = row(row(&root, "categoryDicts", "array", {1}), "", "dict", {1, 0});
    MyConfigItem* reps0 = row(cat0, "represents", "array", {1, 0, 1});
    using K = MyGraphSettingsKeeper;
    EXPECT_EQ(*K::fixedRepresents(reps({"B=B'", "D", "A=A'"}), reps0, stored), reps({"B=B'", "A=A'", "C"}));
    // A value proposed twice is kept once, so no stored value is pushed out.
    EXPECT_EQ(*K::fixedRepresents(reps({"A=1", "A=2", "B"}), reps0, stored), reps({"A=1", "B", "C"}));
}
