#pragma once
// Finding the time markers of a transcript: the pattern 【.{1,10}?:.{1,10}?】 over the text the
// user sees, and the line each one sits on. UTF-16 throughout so that characters are counted
// the way the editor counts them.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// The line of each character index asked for, in the order asked; a lookup that cannot
// answer (the scan was called off) may give -1s.
using LineLookup = std::function<std::vector<int>(const std::vector<size_t>& indices)>;

// Lines given by the index where each begins, ascending, the first at 0.
LineLookup LinesStartingAt(std::vector<size_t> starts);
// Where no line is wrapped the lines are the paragraphs: each begins after a CR.
LineLookup ParagraphLines(std::u16string_view text);

// The markers of a text in their order, and each one's line when it is asked for. A marker
// belongs to the last line that holds its whole text; one held by no line (it is wrapped
// across two) keeps the line of the marker before it. The places of every distinct marker
// text are found in one pass over the text; a line is found by asking the lines of a text's
// places from the last one back, usually one pair of lookups a distinct text.
class LectureMarkerList {
public:
    explicit LectureMarkerList(std::u16string_view text);
    LectureMarkerList(const LectureMarkerList&) = delete;
    LectureMarkerList& operator=(const LectureMarkerList&) = delete;
    size_t size() const { return markers_.size(); }
    bool empty() const { return markers_.empty(); }
    // Between the brackets, "5:23" already made "05:23".
    const std::u16string& Time(size_t i) const { return markers_[i].time; }
    // Markers are asked in their order, each at most once.
    int Line(size_t i, const LineLookup& lineOf);

private:
    struct Places {
        std::vector<size_t> starts;  // ascending
        size_t length = 0;
        bool resolved = false;
        int line = -1;
    };
    struct Marker {
        std::u16string time;
        Places* places;
    };
    std::unordered_map<std::u16string_view, Places> byText_;
    std::vector<Marker> markers_;
    int previous_ = 0;
};

// Every marker with its line, all at once.
std::vector<LectureMarker> BuildLectureMarkers(std::u16string_view text, const LineLookup& lineOf);

// The status line while waiting for a marker.
std::u16string LectureStatusText(std::u16string_view markerTime, std::u16string_view positionText);

// Position and marker are compared as texts, character by character.
inline bool PositionReached(std::u16string_view position, std::u16string_view markerTime) {
    return position.compare(markerTime) >= 0;
}
