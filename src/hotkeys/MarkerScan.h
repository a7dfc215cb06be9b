#pragma once
// Finding the time markers of a transcript: the pattern 【.{1,10}?:.{1,10}?】 over the text the
// user sees, and the line each one sits on. UTF-16 throughout so that characters are counted
// the way the editor counts them.
#include <string>
#include <string_view>
#include <vector>

struct TimeMarkerHit {
    size_t start;   // index of 【 in the text
    size_t length;  // brackets included
};

// Every match, left to right, the next search starting after the previous match; "." takes
// any character but a line break.
std::vector<TimeMarkerHit> FindTimeMarkers(std::u16string_view text);

struct LectureMarker {
    std::u16string time;  // between the brackets, "5:23" already made "05:23"
    int line;
};

// lines: the editor's lines, each as its own text (index = line number). A marker belongs to
// the last line that holds its whole text; one held by no line (it is wrapped across two)
// keeps the line of the marker before it.
std::vector<LectureMarker> BuildLectureMarkers(std::u16string_view text, const std::vector<std::u16string_view>& lines);

// The status line while waiting for a marker.
std::u16string LectureStatusText(std::u16string_view markerTime, std::u16string_view positionText);

// Position and marker are compared as texts, character by character.
inline bool PositionReached(std::u16string_view position, std::u16string_view markerTime) {
    return position.compare(markerTime) >= 0;
}
