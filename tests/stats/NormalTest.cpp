#include "StatsResourceGenerator.h"
#include "StatsTestData.h"
#include "stats/StatsResource.h"

using ::testing::ThrowsMessage;

namespace {
// Grid 0.5 with 50000 fine steps, only up to 2: enough to exercise every road.
QVariantMap smallTable()
{
    QVariantList table;
    for (int i = 0; i <= 4; ++i)
        table << std::erfc(i * 0.5 / std::sqrt(2.0));
    return {{"norms", table}, {"step", 1e-5}, {"resStep", 0.5}, {"resLimit", 2.0}};
}

// The quantile by walking fine trapezoid steps from a table point, step by step as the
// method is written: the reference for the closed form in normInv.
double walkedQuantile(const MyNorm2& n, double p)
{
    const std::vector<double>& t = n.norms();
    const double sign = p > 0.5 ? 1.0 : -1.0, q = p > 0.5 ? 2.0 - 2.0 * p : 2.0 * p;
    size_t i = 0;
    while (t[i] > q)
        ++i;
    if (t[i] == q)
        return sign * n.resStep() * double(i);
    const bool upward = (q - t[i - 1]) <= (t[i] - q);
    const double m = upward ? t[i - 1] - q : q - t[i];
    const int64_t origin = n.numRes() * int64_t(upward ? i - 1 : i), dir = upward ? 1 : -1;
    const auto f = [&](int64_t k) {
        const double x = n.step() * double(origin + dir * k);
        return n.step() * MyNorm2::topVal * std::exp(-0.5 * x * x);
    };
    double sum = 0.0, before = 0.0;
    int64_t k = 0;
    for (; sum < m && k < n.numRes(); ++k) {
        before = sum;
        sum += f(k) + f(k + 1);
    }
    EXPECT_GE(sum, m) << "p = " << p;
    return sign * n.step() * (double(origin + dir * k) + dir * (m - sum) / (sum - before));
}
}

TEST(NormalDistribution, MatchesExactValuesAndQuantiles)
{
    // Within a few ulp wherever doubles keep all their digits; past 38 standard deviations
    // the results are denormal and keep only some.
    const auto check = [](const QStringList& row) {
        const double arg = number(row[1]), exact = number(row[2]);
        if (row[0] == u"cdf") {
            EXPECT_LE(std::abs(norms().normsDist(arg) - exact), std::max(1e-15 * exact, 1e-322)) << "x = " << arg;
        } else {
            EXPECT_NEAR(norms().normInv(arg), exact, 1e-9 * std::max(1.0, std::abs(exact))) << "p = " << arg;
        }
    };
    eachRow("normal.tsv", 931, check);
    eachRow("normal_far.tsv", 13, check);
}

TEST(NormalDistribution, QuantilesAreThoseOfTheTrapezoidWalk)
{
    std::mt19937_64 gen(17);
    std::uniform_real_distribution<double> uniform(0.0, 1.0), exponent(-300.0, -1.0);
    for (int i = 0; i < 3000; ++i) {
        const double p = i % 3 ? uniform(gen) : std::pow(10.0, exponent(gen));
        if (p == 0.0 || p == 0.5)
            continue;
        const double walked = walkedQuantile(norms(), p);
        EXPECT_NEAR(norms().normInv(p), walked, 1e-15 * std::max(1.0, std::abs(walked))) << "p = " << p;
    }
}

TEST(NormalDistribution, QuantileNextToATableValueIsItsGridPoint)
{
    // One ulp from a table value the quantile is the grid point, give or take 1e-15. Table
    // rounding can leave the whole interval a hair short of the mass to cover: that must not
    // land in the middle of the interval, 1.2e-4 away.
    const MyNorm2& n = norms();
    ASSERT_GT(n.norms().size(), 8192u);
    for (size_t i = 1; i <= 8192; ++i)
        for (double toward : {0.0, 2.0})
            EXPECT_NEAR(n.normInv(0.5 * std::nextafter(n.norms()[i], toward)), -double(i) * n.resStep(), 1e-12) << "i = " << i;
}

TEST(NormalDistribution, LimitsStayProbabilitiesAndQuantiles)
{
    const MyNorm2& n = norms();
    EXPECT_EQ(n.normInv(0.5), 0.0);
    EXPECT_EQ(n.normInv(1.0), 9.223372036854776e18);
    EXPECT_EQ(n.normInv(-3.0), -9.223372036854776e18);
    EXPECT_TRUE(std::isnan(n.normInv(std::nan(""))) && std::isnan(n.normsDist(std::nan(""))));
    // Below the last table entry: still a finite quantile past the grid.
    const double farthest = n.normInv(4.9e-324);
    EXPECT_TRUE(farthest <= -n.resLimit() && farthest >= -n.resLimit() - 5.0) << farthest;
    for (double x : {38.3, 1e300, std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(n.normsDist(x), 1.0) << x;
        EXPECT_TRUE(n.normsDist(-x) >= 0.0 && n.normsDist(-x) < 1e-315) << x;
    }
}

// The committed tail table against values worked out at 40 digits (a sample of 4225 entries,
// among them 6.080078125, a near-tie of two doubles) and against the generator of this machine.
// erfc differs in the last bit between C libraries and processors, so neither comparison is
// exact: the committed entries are within 2 ulp of the true value (the long-double erfc that
// made them is off by up to 1.09 ulp past 35 standard deviations), and this machine's
// generator within 4 ulp of the committed entries.
TEST(NormalResource, CommittedTableMatchesHighPrecisionValuesAndTheGenerator)
{
    const auto ulpsApart = [](double a, double b) {   // b > 0; in units of b's ulp, denormals too
        return std::abs(a - b) / (std::nextafter(b, 2.0 * b + 1.0) - b);
    };
    const MyNorm2& n = norms();
    ASSERT_EQ(n.norms().size(), 155649u);
    eachRow("norm_table.tsv", 4225, [&](const QStringList& row) {
        const size_t i = row[0].toULong();
        ASSERT_LT(i, n.norms().size());
        EXPECT_LE(ulpsApart(n.norms()[i], number(row[1])), 2.0) << "i = " << i << ": " << n.norms()[i];
    });

    const QVariantMap made = StatsResourceGenerator::normRes();
    EXPECT_EQ(std::vector({n.step(), n.resStep(), n.resLimit()}),
              std::vector({made.value("step").toDouble(), made.value("resStep").toDouble(), made.value("resLimit").toDouble()}));
    const QVariantList table = made.value("norms").toList();
    ASSERT_EQ(size_t(table.size()), n.norms().size());
    size_t far = 0;
    for (size_t i = 0; i < n.norms().size(); ++i)
        if (ulpsApart(n.norms()[i], table[qsizetype(i)].toDouble()) > 4.0 && ++far <= 5)
            ADD_FAILURE() << "entry " << i << ": committed " << n.norms()[i] << ", made " << table[qsizetype(i)].toDouble();
    EXPECT_EQ(far, 0u);
}

TEST(NormalResource, BrokenTablesAreRefusedWithAReason)
{
    const QVariantMap good = smallTable();
    const QVariantList table = good.value("norms").toList();
    QVariantList rising = table, words = table, shorter = table;
    rising[2] = 0.9;
    words[1] = QString("x");
    shorter.removeLast();
    // One per reason; the resource name leads every message.
    const std::pair<const char*, QVariant> cases[] = {{"norms", QString("1")}, {"norms", rising}, {"norms", words},
                                                      {"norms", shorter},      {"step", 0.3},     {"resLimit", true}};
    for (const auto& [key, value] : cases) {
        QVariantMap m = good;
        m.insert(key, value);
        EXPECT_THAT([&] { MyNorm2 n(m); }, ThrowsMessage<std::runtime_error>(::testing::StartsWith("NormRes2.plist: ")));
    }
    EXPECT_NO_THROW(MyNorm2 n(good));
    EXPECT_THAT([] { StatsResource::dictionary("NoSuchTable.plist"); },
                ThrowsMessage<std::runtime_error>(testing::StrEq("NoSuchTable.plist: the resource is missing")));
}
