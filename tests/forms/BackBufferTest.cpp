#include "forms/BackBuffer.h"

#include <gtest/gtest.h>

namespace {

TEST(BackBuffer, GrowsOnlyWhenASideIsLarger) {
    forms::BackBuffer buffer;
    EXPECT_EQ(buffer.Dc(), nullptr);
    EXPECT_EQ(buffer.Ensure(0, 10), nullptr);  // nothing to cover
    const HDC first = buffer.Ensure(100, 20);
    ASSERT_NE(first, nullptr);
    const struct {
        int width, height;
        int expectWidth, expectHeight;
    } kSizes[] = {{100, 20, 100, 20}, {50, 10, 100, 20}, {0, 0, 100, 20}, {101, 5, 101, 5}, {20, 30, 20, 30}};
    for (const auto& s : kSizes) {
        EXPECT_NE(buffer.Ensure(s.width, s.height), nullptr);
        EXPECT_EQ(buffer.Width(), s.expectWidth) << s.width << " x " << s.height;
        EXPECT_EQ(buffer.Height(), s.expectHeight) << s.width << " x " << s.height;
    }
}

TEST(BackBuffer, HoldsWhatWasDrawnAsPixels) {
    forms::BackBuffer buffer;
    ASSERT_NE(buffer.Ensure(4, 3), nullptr);
    ::SetPixelV(buffer.Dc(), 2, 1, RGB(0x11, 0x22, 0x33));
    ::GdiFlush();
    EXPECT_EQ(buffer.Row(1)[2] & 0xFFFFFFu, 0x112233u);
}

TEST(BackBuffer, ThatCannotBeMadeIsTriedAgainNextTime) {
    forms::BackBuffer buffer;
    ASSERT_NE(buffer.Ensure(10, 10), nullptr);
    // More bytes than a bitmap may have: the old buffer is gone and there is none.
    for (const int side : {23200, 60000}) {
        EXPECT_EQ(buffer.Ensure(side, side), nullptr) << side;
        EXPECT_FALSE(buffer);
        EXPECT_EQ(buffer.Width(), 0);
        EXPECT_NE(buffer.Ensure(10, 10), nullptr);
        EXPECT_EQ(buffer.Width(), 10);
    }
}

TEST(BackBuffer, CopiesToAnotherSurface) {
    forms::BackBuffer from, to;
    ASSERT_NE(from.Ensure(8, 8), nullptr);
    ASSERT_NE(to.Ensure(8, 8), nullptr);
    ::SetPixelV(from.Dc(), 1, 1, RGB(0xFF, 0, 0));
    from.CopyTo(to.Dc(), 5, 6, 2, 2, 0, 0);
    ::GdiFlush();
    EXPECT_EQ(to.Row(7)[6] & 0xFFFFFFu, 0xFF0000u);
}

}  // namespace
