#include "hotkeys/MarkerScan.h"

#include <algorithm>
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

LineLookup LinesStartingAt(std::vector<size_t> starts) {
    return [starts = std::move(starts)](const std::vector<size_t>& indices) {
        std::vector<int> lines;
        lines.reserve(indices.size());
        for (size_t i : indices) {
            const auto after = std::upper_bound(starts.begin(), starts.end(), i);
            lines.push_back(after == starts.begin() ? 0 : static_cast<int>(after - starts.begin() - 1));
        }
        return lines;
    };
}

LineLookup ParagraphLines(std::u16string_view text) {
    std::vector<size_t> starts{0};
    for (size_t i = text.find(u'\r'); i != std::u16string_view::npos; i = text.find(u'\r', i + 1))
        starts.push_back(i + 1);
    return LinesStartingAt(std::move(starts));
}

LectureMarkerList::LectureMarkerList(std::u16string_view text) {
    const std::vector<TimeMarkerHit> hits = FindTimeMarkers(text);
    if (hits.empty()) return;
    size_t longest = 0;
    for (const TimeMarkerHit& h : hits) {
        byText_.try_emplace(text.substr(h.start, h.length)).first->second.length = h.length;
        longest = std::max(longest, h.length);
    }
    // At each 【, try the lengths a marker can have. Places may overlap; each one counts.
    for (size_t p = text.find(kOpen); p != std::u16string_view::npos; p = text.find(kOpen, p + 1)) {
        for (size_t len = 5; len <= longest && p + len <= text.size(); ++len) {
            if (text[p + len - 1] != kClose) continue;
            auto it = byText_.find(text.substr(p, len));
            if (it != byText_.end()) it->second.starts.push_back(p);
        }
    }
    markers_.reserve(hits.size());
    for (const TimeMarkerHit& h : hits) {
        const std::u16string_view whole = text.substr(h.start, h.length);
        std::u16string time(whole.substr(1, whole.size() - 2));
        if (time.size() > 1 && time.find(u':') == 1) time.insert(time.begin(), u'0');
        markers_.push_back({std::move(time), &byText_.find(whole)->second});
    }
}

int LectureMarkerList::Line(size_t i, const LineLookup& lineOf) {
    Places& places = *markers_[i].places;
    if (!places.resolved) {
        // A place counts when its first and last characters are on one line.
        for (auto it = places.starts.rbegin(); it != places.starts.rend(); ++it) {
            const std::vector<int> lines = lineOf({*it, *it + places.length - 1});
            if (lines.size() != 2) return previous_;  // called off: ask again another time
            if (lines[0] >= 0 && lines[0] == lines[1]) {
                places.line = lines[0];
                break;
            }
        }
        places.resolved = true;
    }
    if (places.line >= 0) previous_ = places.line;
    return previous_;
}

std::vector<LectureMarker> BuildLectureMarkers(std::u16string_view text, const LineLookup& lineOf) {
    LectureMarkerList list(text);
    std::vector<LectureMarker> markers;
    markers.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) markers.push_back({list.Time(i), list.Line(i, lineOf)});
    return markers;
}

std::u16string LectureStatusText(std::u16string_view markerTime, std::u16string_view positionText) {
    return u"           当前为讲课模式： 下个时间标记 【" + std::u16string(markerTime) + u"】【" +
           std::u16string(positionText) + u"】";
}
