#include "forms/Rounding.h"

#include <gtest/gtest.h>

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(forms::RoundHalfEven(0.5), 0);
    EXPECT_EQ(forms::RoundHalfEven(1.5), 2);
    EXPECT_EQ(forms::RoundHalfEven(2.5), 2);
    EXPECT_EQ(forms::RoundHalfEven(-0.5), 0);
    EXPECT_EQ(forms::RoundHalfEven(-1.5), -2);
    EXPECT_EQ(forms::RoundHalfEven(-2.5), -2);
}
