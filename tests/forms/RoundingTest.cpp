#include "base/Rounding.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(base::RoundHalfEven(0.5), 0);
    EXPECT_EQ(base::RoundHalfEven(1.5), 2);
    EXPECT_EQ(base::RoundHalfEven(2.5), 2);
    EXPECT_EQ(base::RoundHalfEven(-0.5), 0);
    EXPECT_EQ(base::RoundHalfEven(-1.5), -2);
    EXPECT_EQ(base::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(base::RoundHalfEven(1234567.5), 1234568);
}

TEST(Rounding, OtherFractionsGoToTheNearest) {
    EXPECT_EQ(base::RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(base::RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(base::RoundHalfEven(-2.6), -3);
    EXPECT_EQ(base::RoundHalfEven(83.4567891), 83);
    EXPECT_EQ(base::RoundHalfEven(0.0), 0);
}

TEST(Rounding, IntVersionSaturates) {
    EXPECT_EQ(base::RoundToInt(1e12), INT_MAX);
    EXPECT_EQ(base::RoundToInt(-1e12), INT_MIN);
    EXPECT_EQ(base::RoundToInt(7199.5), 7200);
}
