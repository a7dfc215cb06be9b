#include <gtest/gtest.h>

#include "shell/Layout.h"

struct PlacementCase {
    ScreenRect main;
    EditorPlacement expected;
};

TEST(EditorPlacement, FollowsMainWindow) {
    const PlacementCase cases[] = {
        {{50, 50, 680, 440}, {{60, 170, 660, 310}, 650, 300}},
        {{200, 150, 800, 600}, {{210, 270, 780, 470}, 770, 460}},
        {{-300, -40, 680, 440}, {{-290, 80, 660, 310}, 650, 300}},
        // Smaller than the offsets: empty, never a negative size.
        {{0, 0, 15, 100}, {{10, 120, 0, 0}, 0, 0}},
        {{0, 0, 25, 135}, {{10, 120, 5, 5}, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorPlacementFor(c.main), c.expected) << c.main.left << "," << c.main.top << " " << c.main.width
                                                          << "x" << c.main.height;
    }
}
