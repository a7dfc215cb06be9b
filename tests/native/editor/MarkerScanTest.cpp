#include <gtest/gtest.h>

#include "hotkeys/MarkerScan.h"

namespace {

std::vector<std::u16string> Found(std::u16string_view text) {
    std::vector<std::u16string> out;
    for (const TimeMarkerHit& h : FindTimeMarkers(text)) out.emplace_back(text.substr(h.start, h.length));
    return out;
}

using Strings = std::vector<std::u16string>;

TEST(MarkerPattern, MatchesLikeTheLazyExpression) {
    const struct {
        const char16_t* text;
        Strings found;
    } cases[] = {
        {u"开始【05:23】然后【12:00】", {u"【05:23】", u"【12:00】"}},
        {u"【5:23】", {u"【5:23】"}},
        {u"【abc:de】", {u"【abc:de】"}},                 // any characters count
        {u"【:23】\n【12:】\n【】", {}},                    // each side needs one character
        {u"【:23】 【12:】 【】", {u"【:23】 【12:】 【】"}},  // ... and brackets are characters too
        {u"【01234567890:00】", {}},                       // eleven before the colon
        {u"【0123456789:0123456789】", {u"【0123456789:0123456789】"}},
        {u"【05\n:23】【1:2】", {u"【1:2】"}},             // no line break inside
        {u"【1:2:3】", {u"【1:2:3】"}},                    // the second part may hold a colon
        {u"【【05:23】", {u"【【05:23】"}},                // leftmost start wins
        {u"【1:2】】", {u"【1:2】"}},                      // shortest second part
        {u"[05:23] (05:23)", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Found(c.text), c.found) << std::u16string(c.text).size();
}

// The lines laid end to end make the text; each line's start is where the one before ends.
LineLookup Lines(const std::vector<std::u16string>& lines) {
    std::vector<size_t> starts;
    size_t at = 0;
    for (const auto& l : lines) {
        starts.push_back(at);
        at += l.size();
    }
    return LinesStartingAt(starts);
}

std::u16string Joined(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const auto& l : lines) text += l;
    return text;
}

TEST(LectureMarkers, LinesTimesAndPadding) {
    const std::vector<std::u16string> lines{u"第一行 【00:05】\r", u"没有\r", u"【5:23】 两个 【12:00】\r", u"【00:05】"};
    const std::u16string text = Joined(lines);
    for (const LineLookup& lookup : {Lines(lines), ParagraphLines(text)}) {
        const auto markers = BuildLectureMarkers(text, lookup);
        ASSERT_EQ(markers.size(), 4u);
        // The same marker twice: both go to the later line.
        EXPECT_EQ(markers[0].time, u"00:05");
        EXPECT_EQ(markers[0].line, 3);
        EXPECT_EQ(markers[1].time, u"05:23");
        EXPECT_EQ(markers[1].line, 2);
        EXPECT_EQ(markers[2].time, u"12:00");
        EXPECT_EQ(markers[2].line, 2);
        EXPECT_EQ(markers[3].line, 3);
    }
}

TEST(LectureMarkers, AMarkerWrappedAcrossLinesKeepsThePreviousLine) {
    const std::vector<std::u16string> lines{u"x", u"【01:00】 and 【02", u":00】", u"【03:00】"};
    const auto markers = BuildLectureMarkers(Joined(lines), Lines(lines));
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(markers[0].line, 1);
    EXPECT_EQ(markers[1].line, 1);
    EXPECT_EQ(markers[2].line, 3);
    // Held by no line and first of all: line 0.
    EXPECT_EQ(BuildLectureMarkers(u"【02:00】", Lines({u"【02", u":00】"})).at(0).line, 0);
    // Its later copy is wrapped, an earlier one is whole: the earlier one's line counts.
    const std::vector<std::u16string> copies{u"【04:00】", u"mid", u"【04", u":00】"};
    const auto twice = BuildLectureMarkers(Joined(copies), Lines(copies));
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0].line, 0);
    EXPECT_EQ(twice[1].line, 0);
}

TEST(LectureMarkers, AMarkerTextInsideALongerOneIsAPlaceToo) {
    // "【1:2】" is found twice as a match and once more inside 【【1:2】, on the last line.
    const std::vector<std::u16string> lines{u"【1:2】\r", u"【1:2】\r", u"【【1:2】"};
    const auto markers = BuildLectureMarkers(Joined(lines), Lines(lines));
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(markers[0].line, 2);
    EXPECT_EQ(markers[1].line, 2);
    EXPECT_EQ(markers[2].time, u"【1:2");
    EXPECT_EQ(markers[2].line, 2);
}

TEST(LectureMarkers, ACalledOffLookupLeavesEveryMarkerOnLineZero) {
    const LineLookup none = [](const std::vector<size_t>&) { return std::vector<int>{}; };
    const auto markers = BuildLectureMarkers(u"【1:00】\r【2:00】", none);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[1].line, 0);
}

TEST(LectureMarkers, StatusTextAndTheTextComparison) {
    EXPECT_EQ(LectureStatusText(u"05:23", u"03:10"), u"           当前为讲课模式： 下个时间标记 【05:23】【03:10】");
    EXPECT_TRUE(PositionReached(u"05:23", u"05:23"));
    EXPECT_FALSE(PositionReached(u"05:22", u"05:23"));
    EXPECT_TRUE(PositionReached(u"12:00", u"05:23"));
    // Three-digit minutes compare by their first digits: 100:00 comes before 20:00.
    EXPECT_FALSE(PositionReached(u"100:00", u"20:00"));
    EXPECT_FALSE(PositionReached(u"", u"00:00"));
}

}  // namespace
