#include "platform/Geometry.h"
#include <gtest/gtest.h>
#include <random>

TEST(Geometry, UnionIgnoresEmptyRectangles)
{
    const Rect a(10, 20, 30, 40);
    EXPECT_EQ(a.united(Rect(0, 0, 0, 5)), a);        // zero width
    EXPECT_EQ(Rect(100, 100, 5, -1).united(a), a);   // negative height
    EXPECT_EQ(a.united(Rect(50, 0, 10, 10)), Rect(10, 0, 50, 60));
}

TEST(Geometry, RandomUnionContainsBoth)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-100, 100);
    for (int i = 0; i < 1000; ++i) {
        Rect a(d(rng), d(rng), d(rng), d(rng));
        Rect b(d(rng), d(rng), d(rng), d(rng));
        Rect u = a.united(b);
        // Edges are exact up to the rounding of origin + width.
        for (const Rect& r : {a, b}) {
            if (r.isEmpty())
                continue;
            EXPECT_LE(u.minX(), r.minX());
            EXPECT_LE(u.minY(), r.minY());
            EXPECT_GE(u.maxX(), r.maxX() - 1e-12);
            EXPECT_GE(u.maxY(), r.maxY() - 1e-12);
        }
        EXPECT_EQ(u, b.united(a));
    }
}
