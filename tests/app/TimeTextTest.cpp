#include "app/TimeText.h"

#include <gtest/gtest.h>

using app::FormatSeconds;
using app::ParseSeconds;

TEST(TimeText, WritesPlainDecimalText) {
    EXPECT_EQ(FormatSeconds(0), L"0");
    EXPECT_EQ(FormatSeconds(-0.0), L"0");
    EXPECT_EQ(FormatSeconds(83.4567891), L"83.4567891");
    EXPECT_EQ(FormatSeconds(12.5), L"12.5");
    EXPECT_EQ(FormatSeconds(30.25), L"30.25");
    EXPECT_EQ(FormatSeconds(7200), L"7200");
    EXPECT_EQ(FormatSeconds(0.0001), L"0.0001");
}

TEST(TimeText, SmallMagnitudesUseExponentForm) {
    EXPECT_EQ(FormatSeconds(0.00001), L"1E-05");
    EXPECT_EQ(FormatSeconds(0.000012), L"1.2E-05");
}

TEST(TimeText, KeepsAtMostFifteenSignificantDigits) {
    EXPECT_EQ(FormatSeconds(1.0 / 3.0), L"0.333333333333333");
    EXPECT_EQ(FormatSeconds(12.539138321995464), L"12.5391383219955");
    EXPECT_EQ(FormatSeconds(0.1 + 0.2), L"0.3");
}

TEST(TimeText, ReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(ParseSeconds(L"00:00"), 0);
    EXPECT_EQ(ParseSeconds(L"12.5abc"), 12.5);
    EXPECT_EQ(ParseSeconds(L"83.4567891"), 83.4567891);
    EXPECT_EQ(ParseSeconds(L"1E-05"), 0.00001);
    EXPECT_EQ(ParseSeconds(L"2.5E+2s"), 250);
    EXPECT_EQ(ParseSeconds(L"7E"), 7);
    EXPECT_EQ(ParseSeconds(L".5"), 0.5);
    EXPECT_EQ(ParseSeconds(L"abc"), 0);
    EXPECT_EQ(ParseSeconds(L""), 0);
    EXPECT_EQ(ParseSeconds(L"."), 0);
}

TEST(TimeText, WhatIsWrittenReadsBackTheSame) {
    for (double value : {0.0, 1e-5, 0.25, 12.5391383, 3599.999, 7199.5}) {
        EXPECT_EQ(ParseSeconds(FormatSeconds(value)), value) << value;
    }
}
