#include <gtest/gtest.h>

#include "editor/EditingRules.h"

namespace {

TEST(DocumentFormat, SavingLooksAtTheLastThreeCharactersOnly) {
    const struct {
        const char16_t* path;
        DocumentFormat format;
    } cases[] = {
        {u"C:\\a.txt", DocumentFormat::PlainText}, {u"C:\\a.TXT", DocumentFormat::PlainText},
        {u"C:\\a.rtf", DocumentFormat::Rtf},       {u"C:\\notesrtf", DocumentFormat::Rtf},
        {u"C:\\a.doc", DocumentFormat::Other},     {u"", DocumentFormat::Other},
        {u"tx", DocumentFormat::Other},
    };
    for (const auto& c : cases) EXPECT_EQ(SaveFormatOf(c.path), c.format) << std::u16string(c.path).size();
}

TEST(DocumentFormat, OpeningLooksAfterTheLastDot) {
    EXPECT_TRUE(OpensAsRtf(u"C:\\talk.RtF"));
    EXPECT_FALSE(OpensAsRtf(u"C:\\notesrtf"));
    EXPECT_FALSE(OpensAsRtf(u"C:\\a.rtf.txt"));
    EXPECT_FALSE(OpensAsRtf(u"C:\\a.doc"));
}

TEST(CharacterFormat, ToggleKeepsTheOtherTwoAndDropsStrikeAndProtected) {
    EXPECT_EQ(ToggledEffects(kEffectUnderline | kEffectStrike, kEffectBold), kEffectBold | kEffectUnderline);
    EXPECT_EQ(ToggledEffects(kEffectBold | kEffectItalic | kEffectProtected, kEffectBold), kEffectItalic);
    EXPECT_EQ(ToggledEffects(0, kEffectUnderline), kEffectUnderline);
}

TEST(CharacterFormat, SizeStepsStopAtNineAndSeventyTwo) {
    const struct {
        int size;
        bool up;
        int result;
    } cases[] = {{72, true, 72}, {71, true, 72}, {9, false, 9}, {10, false, 9},
                 {80, true, 80}, {80, false, 79}, {5, false, 5}, {5, true, 6}};
    for (const auto& c : cases) EXPECT_EQ(SteppedFontSize(c.size, c.up), c.result) << c.size << c.up;
}

TEST(CharacterFormat, PresetColourText) {
    EXPECT_EQ(PresetColour(u"255"), 255u);
    EXPECT_EQ(PresetColour(u"-1"), 0xFFFFFFFFu);  // handed on as all bits set, not the automatic colour
    EXPECT_EQ(PresetColour(u"red"), 0u);
    EXPECT_EQ(PresetColour(u"99999999999999999999999"), 0u);
}

TEST(InsertedTexts, MarkerAndSeparator) {
    EXPECT_EQ(TimeMarker(u"62:05"), u"【62:05】");
    EXPECT_EQ(TimeMarker(u""), u"【】");
    const std::u16string separator = SeparatorText();
    ASSERT_EQ(separator.size(), 34u);
    EXPECT_EQ(separator.substr(0, 2), u"\r\n");
    EXPECT_EQ(separator.substr(2, 28), std::u16string(28, u'━'));
    EXPECT_EQ(separator.substr(30), u"\r\n\r\n");
}

TEST(DateTimeList, TheTenFormsOfOneMoment) {
    const auto e = DateTimeEntries({2013, 9, 13, 14, 5, 7, 5});
    const std::array<std::u16string, 10> expected{
        u"2013-9-13", u"13-9-13", u"2013年9月13日", u"2013 9 13", u"2013 9 13 星期五", u"2013年9月13日 星期五",
        u"14:5", u"14:5:7", u"下午 2:5:7", u"下午 02:5:7"};
    EXPECT_EQ(e, expected);
}

TEST(DateTimeList, NoonMidnightAndSunday) {
    const struct {
        int hour, minute, second, weekday;
        const char16_t *nine, *ten, *week;
    } cases[] = {
        {12, 30, 5, 0, u"下午 12:30:5", u"下午 12:30:5", u"星期日"},
        {0, 10, 5, 1, u"上午 0:10:5", u"上午 00:10:5", u"星期一"},
        {23, 59, 59, 6, u"下午 11:59:59", u"下午 11:59:59", u"星期六"},
    };
    for (const auto& c : cases) {
        const auto e = DateTimeEntries({2024, 1, 2, c.hour, c.minute, c.second, c.weekday});
        EXPECT_EQ(e[8], c.nine);
        EXPECT_EQ(e[9], c.ten);
        EXPECT_EQ(e[4], u"2024 1 2 " + std::u16string(c.week));
    }
}

TEST(FormatPanel, OpensTowardTheRoomThereIs) {
    // Editor 644 x 293, panel 237 x 98.
    const struct {
        int x, y, left, top;
    } cases[] = {
        {10, 10, 10, 10},        // fits
        {600, 280, 363, 182},    // bottom-right corner: above and to the left
        {600, 10, 363, 10},      // right edge only
        {10, 280, 10, 182},      // bottom edge only
        {407, 195, 407, 195},    // exactly at both limits still fits
    };
    for (const auto& c : cases) {
        const PanelPoint p = PopUpPlacement(c.x, c.y, 644, 293, 237, 98);
        EXPECT_EQ(p.x, c.left) << c.x << "," << c.y;
        EXPECT_EQ(p.y, c.top) << c.x << "," << c.y;
    }
}

TEST(RtfNesting, CountsGroupsButNotEscapedBraces) {
    EXPECT_EQ(RtfNestingDepth("{\\rtf1 {\\b x}{\\i y}}"), 2u);
    EXPECT_EQ(RtfNestingDepth("{\\rtf1 \\{\\{\\{ \\\\}"), 1u);
    EXPECT_EQ(RtfNestingDepth("}}}{"), 1u);
    EXPECT_EQ(RtfNestingDepth(""), 0u);
}

TEST(TextPieces, NeverPartACharacterOrCrLf) {
    const std::string han = "\xd6\xd0";  // one GBK character
    const struct {
        std::string text;
        size_t from, most, end;
    } cases[] = {
        {"abcdef", 0, 10, 6},                  // the rest fits
        {"abcdef", 2, 4, 6},
        {"abcdefgh", 0, 4, 4},                 // no line feed: as much as may be
        {"ab\r\ncd\nefgh", 0, 8, 7},          // after the last line feed in reach
        {"a" + han + han + "x", 0, 4, 3},      // the fourth byte would part a character
        {han + han + "x", 0, 3, 2},
        {"abc\r\nxyz", 0, 4, 3},              // CR and LF stay together
        {"x" + han + "\xff\x80" + "abc", 0, 5, 5},  // 0x80 and 0xFF stand alone
        {"\r\nxyz", 0, 1, 1},                   // a piece of one byte still moves on
    };
    for (const auto& c : cases) EXPECT_EQ(GbkPieceEnd(c.text, c.from, c.most), c.end) << c.text;
}

}  // namespace
