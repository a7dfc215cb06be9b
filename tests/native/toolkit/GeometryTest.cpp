// Colour conversion, hit zones and caption layout of the toolkit.
#include <gtest/gtest.h>

#include "toolkit/Geometry.h"

using namespace ui;

TEST(Geometry, ColourConversions) {
    EXPECT_EQ(ColorToArgb(0x0000FF, 255), 0xFEFF0000u);
    EXPECT_EQ(ColorToArgb(0x0000FF), 0xFEFF0000u);
    EXPECT_EQ(ColorToArgb(0x123456, 0), 0x00563412u);
    EXPECT_EQ(ArgbToColor(0x80112233).color, 0x332211u);
    EXPECT_EQ(ArgbToColor(0x80112233).alpha, 0x80);
    EXPECT_TRUE(IsDark(200, 20, 20));
    EXPECT_FALSE(IsDark(200, 200, 20));
}

TEST(Geometry, RectanglesThatTouchDoNotIntersect) {
    EXPECT_FALSE(Intersects({0, 0, 10, 10}, {10, 0, 10, 10}));
    EXPECT_TRUE(Intersects({0, 0, 10, 10}, {9.5f, 9.5f, 10, 10}));
    EXPECT_FALSE(Contains({0, 0, 0, 10}, 0, 5));
    EXPECT_EQ(Truncate({-1.7f, 2.9f, 3.5f, 0.2f}).left, -1);
}

TEST(Geometry, BorderBands) {
    const struct {
        int x, y, code;
    } cases[] = {{7, 200, 1}, {8, 200, 0}, {670, 200, 0}, {671, 200, 2}, {9, 7, 4},  {10, 7, 3},
                 {671, 7, 5}, {300, 8, 0}, {300, 431, 6}, {5, 431, 7}, {675, 435, 8}, {300, 430, 0}};
    for (const auto& c : cases) EXPECT_EQ(BorderZoneAt(c.x, c.y, 680, 440).code, c.code) << c.x << "," << c.y;
}

TEST(Geometry, CaptionRightToLeft) {
    const auto slots = LayoutCaption(kCaptionClose | kCaptionMinimize | kCaptionButton64, 400, 5);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].box.left, 353);
    EXPECT_EQ(slots[1].flag, kCaptionMinimize);
    EXPECT_EQ(slots[1].box.left, 325);
    EXPECT_EQ(slots[2].box.left, 297);
    EXPECT_EQ(CaptionCellFor(kCaptionMaximize, true).x, 207);
    // Icon, title and close: the title starts after the icon and stops before the close button.
    const IntBox title = TitleBox(kCaptionIcon | kCaptionTitle | kCaptionClose, 400, 5);
    EXPECT_EQ(title.left, 33);
    EXPECT_EQ(title.width, 400 - (5 + 5 + 28 + 11) - 33);
    EXPECT_LE(TitleBox(kCaptionIcon | kCaptionTitle | kCaptionClose, 60, 5).width, 0);
}
