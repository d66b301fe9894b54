// Stored normality results brought in line with the values they are shown beside.
#include "analysis/NormalityResults.h"
#include "app/AppDelegate.h"
#include "stats/MyDescriptives.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyNorm2.h"
#include "stats/MyShapiro.h"
#include <gtest/gtest.h>

namespace {

struct Engines {
    MyNorm2 norm;
    MyDescriptives descriptives;
    MyShapiro shapiro{&norm};
    MyKolmogorov kolmogorov{&descriptives, &norm};
    AppDelegate app;
    Engines()
    {
        app.shapiro = &shapiro;
        app.kolmogorov = &kolmogorov;
    }
};

QVariantMap result(double statistic, double p, const QString& digest = {})
{
    QVariantMap r{{"statistic", statistic}, {"p", p}};
    if (!digest.isEmpty())
        r.insert(NormalityResults::kDigest, digest);
    return r;
}

} // namespace

// Each case: a stored result of tag "t" (shapiro.tsv's "rounded" sample of 5) and whether
// refresh replaces it by the test of those values.
TEST(NormalityResults, RefreshTestsOnlyWhatNoLongerHolds)
{
    using R = NormalityResults;
    // A digest is of the values in any order, -0 and 0 alike.
    EXPECT_EQ(R::digest({3, -0.0, 2}), R::digest({0.0, 2, 3}));
    EXPECT_NE(R::digest({1, 2, 3}), R::digest({1, 2, 4}));
    EXPECT_NE(R::digest({1, 2, 3}), R::digest({1, 2, 3, 3}));

    Engines e;
    const std::vector<double> t{-0.8, 0.6, 0.7, 1.4, 2.2};
    const QHash<QString, std::vector<double>> values{{"t", t}, {"two", {1, 2}}, {"same", {4, 4, 4}}};
    const QVariantMap plain = NormalityResults::tested(e.app, t, false);
    // R: shapiro.test(c(1.4, 0.6, 0.7, 2.2, -0.8))
    ASSERT_NEAR(plain.value("statistic").toDouble(), 0.97057514519847576, 1e-9);
    ASSERT_NEAR(plain.value("p").toDouble(), 0.8789321166146763, 1e-9);
    const double w = plain.value("statistic").toDouble(), p = plain.value("p").toDouble();
    const struct {
        const char* what;
        const char* mode;
        const char* tag;
        QVariant stored;
        bool replaced;
    } cases[] = {
        {"an earlier version's result that holds", "stats", "t", result(w * (1 + 1e-12), p), false},
        {"an earlier version's result of other values", "stats", "t", result(0.5, 0.01), true},
        {"a result of these values is not tested again", "stats", "t", result(0.5, 0.01, NormalityResults::digest(t)), false},
        {"a result of other values", "stats", "t", result(w, p, NormalityResults::digest({1, 2, 3})), true},
        {"no result where there is one now", "stats", "t", QVariantMap(), true},
        {"no result of values that have none", "stats", "same", QVariantMap(), false},
        {"too few values", "stats", "two", QVariantMap(), false},
        {"a tag the analysis no longer has", "stats", "gone", result(0.5, 0.01), false},
        {"not a result", "stats", "t", QStringLiteral("x"), false},
        {"logarithms of values below 0 have none", "logStats", "t", result(0.9, 0.5), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Beside it, results that hold.
        QVariantMap record{{"settings", QVariantMap{{"stats", true}}},
                           {"stats", QVariantMap{{"t", plain}}},
                           {"logStats", QVariantMap{{"t", QVariantMap()}, {"same", QVariantMap()}}}};
        QVariantMap results = record.value(c.mode).toMap();
        results.insert(c.tag, c.stored);
        record.insert(c.mode, results);
        const QVariantMap before = record;
        EXPECT_EQ(NormalityResults::refresh(e.app, record, values), c.replaced);
        if (c.replaced)
            results.insert(c.tag, NormalityResults::tested(e.app, values.value(c.tag), QLatin1String(c.mode) == "logStats"));
        QVariantMap after = before;
        after.insert(c.mode, results);
        EXPECT_EQ(record, after);
    }
}
