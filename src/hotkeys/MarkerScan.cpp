#include "hotkeys/MarkerScan.h"

#include <unordered_map>

namespace {

constexpr char16_t kOpen = u'【', kClose = u'】';
constexpr size_t kPart = 10;

// What "." of the pattern refuses.
bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

// Length of the match starting at text[at] == 【, or 0. Both parts are lazy: the shortest
// first part that is followed by a colon and some second part wins, then the shortest second part.
size_t MatchAt(std::u16string_view text, size_t at) {
    const size_t n = text.size();
    for (size_t a = 1; a <= kPart && at + 1 + a < n; ++a) {
        if (IsLineBreak(text[at + a])) break;
        const size_t colon = at + 1 + a;
        if (text[colon] != u':') continue;
        for (size_t b = 1; b <= kPart && colon + 1 + b < n; ++b) {
            if (IsLineBreak(text[colon + b])) break;
            if (text[colon + 1 + b] == kClose) return colon + 1 + b - at + 1;
        }
    }
    return 0;
}

}  // namespace

std::vector<TimeMarkerHit> FindTimeMarkers(std::u16string_view text) {
    std::vector<TimeMarkerHit> hits;
    size_t i = 0;
    while ((i = text.find(kOpen, i)) != std::u16string_view::npos) {
        const size_t length = MatchAt(text, i);
        if (length) {
            hits.push_back({i, length});
            i += length;
        } else {
            ++i;
        }
    }
    return hits;
}

std::vector<LectureMarker> BuildLectureMarkers(std::u16string_view text, const std::vector<std::u16string_view>& lines) {
    const std::vector<TimeMarkerHit> hits = FindTimeMarkers(text);
    std::vector<LectureMarker> markers;
    if (hits.empty()) return markers;

    // Every distinct marker text gets the last line holding it, found in one pass over the
    // lines: at each 【 of a line, try the lengths a marker can have.
    std::unordered_map<std::u16string_view, int> lastLine;
    size_t longest = 0;
    for (const TimeMarkerHit& h : hits) {
        lastLine.emplace(text.substr(h.start, h.length), -1);
        if (h.length > longest) longest = h.length;
    }
    for (size_t li = 0; li < lines.size(); ++li) {
        const std::u16string_view line = lines[li];
        for (size_t p = line.find(kOpen); p != std::u16string_view::npos; p = line.find(kOpen, p + 1)) {
            for (size_t len = 5; len <= longest && p + len <= line.size(); ++len) {
                if (line[p + len - 1] != kClose) continue;
                auto it = lastLine.find(line.substr(p, len));
                if (it != lastLine.end()) it->second = static_cast<int>(li);
            }
        }
    }

    int previous = 0;
    markers.reserve(hits.size());
    for (const TimeMarkerHit& h : hits) {
        const std::u16string_view whole = text.substr(h.start, h.length);
        std::u16string time(whole.substr(1, whole.size() - 2));
        if (time.size() > 1 && time.find(u':') == 1) time.insert(time.begin(), u'0');
        const int line = lastLine[whole];
        if (line >= 0) previous = line;
        markers.push_back({std::move(time), previous});
    }
    return markers;
}

std::u16string LectureStatusText(std::u16string_view markerTime, std::u16string_view positionText) {
    return u"           当前为讲课模式： 下个时间标记 【" + std::u16string(markerTime) + u"】【" +
           std::u16string(positionText) + u"】";
}
