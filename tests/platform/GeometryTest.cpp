#include "platform/Geometry.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

// The union is the smallest rectangle holding both; an empty one (zero or negative size)
// takes no part.
TEST(Geometry, RandomUnionsHoldBothAndIgnoreEmptyRectangles)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-100, 100);
    for (int i = 0; i < 1000; ++i) {
        const Rect a(d(rng), d(rng), d(rng), d(rng));
        const Rect b(d(rng), d(rng), d(rng), d(rng));
        const Rect u = a.united(b);
        EXPECT_EQ(u, b.united(a));
        if (a.isEmpty() != b.isEmpty()) {
            EXPECT_EQ(u, a.isEmpty() ? b : a);
        } else if (!a.isEmpty()) {
            // Edges are exact up to the rounding of origin + width.
            EXPECT_EQ(u.minX(), std::min(a.minX(), b.minX()));
            EXPECT_EQ(u.minY(), std::min(a.minY(), b.minY()));
            EXPECT_NEAR(u.maxX(), std::max(a.maxX(), b.maxX()), 1e-12);
            EXPECT_NEAR(u.maxY(), std::max(a.maxY(), b.maxY()), 1e-12);
        }
    }
}
