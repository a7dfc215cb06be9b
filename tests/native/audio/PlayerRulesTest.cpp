#include <gtest/gtest.h>

#include "audio/SpeedRules.h"
#include "audio/TimeText.h"
#include "shell/Tips.h"

TEST(FormatTime, MinutesHaveNoUpperLimit) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "00:00"},      {59.999, "00:59"}, {65.7, "01:05"},       {725.4, "12:05"},
        {599.5, "09:59"},  {600, "10:00"},    {125 * 60 + 5, "125:05"}, {-3, "00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatTime(c.seconds), c.text) << c.seconds;
}

TEST(SpeedRules, StepsStopAtTheLimitsAndCyclingWraps) {
    EXPECT_EQ(SteppedLevel(0, true), 11);  // nothing opened yet counts as normal speed
    EXPECT_EQ(SteppedLevel(15, true), 15);
    EXPECT_EQ(SteppedLevel(6, false), 6);
    EXPECT_EQ(SteppedLevel(10, false), 9);
    int level = 10;
    for (int i = 0; i < 5; ++i) level = SteppedLevel(level, true);
    EXPECT_EQ(level, 15);

    EXPECT_EQ(CycledLevel(10), 9);
    EXPECT_EQ(CycledLevel(0), 9);
    EXPECT_EQ(CycledLevel(6), 15);
    EXPECT_EQ(CycledLevel(15), 14);
}

TEST(Tips, SeventeenInTurn) {
    EXPECT_EQ(NextTipIndex(1), 2);
    EXPECT_EQ(NextTipIndex(16), 17);
    EXPECT_EQ(NextTipIndex(17), 1);
    for (int n = 1; n <= kTipCount; ++n) EXPECT_FALSE(TipText(n).empty()) << n;
    EXPECT_TRUE(TipText(0).empty());
    EXPECT_TRUE(TipText(18).empty());
    EXPECT_EQ(TipText(7), u"小技巧： 常用快捷键  插入时间标记(当前秒)：Ctrl+M    ");
}
