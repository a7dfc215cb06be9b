// The marker scan over any text and any split into lines: no crash, and every marker it
// reports is a match of the pattern lying inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "hotkeys/MarkerScan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Two bytes a character; a handful of byte values stand for the characters that matter.
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        switch (data[i] & 7) {
            case 0: c = u'【'; break;
            case 1: c = u'】'; break;
            case 2: c = u':'; break;
            default: break;
        }
        text.push_back(c);
    }
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'\r' || i % 13 == 12) starts.push_back(i + 1);
    const auto hits = FindTimeMarkers(text);
    size_t end = 0;
    for (const TimeMarkerHit& h : hits) {
        if (h.start < end || h.start + h.length > text.size() || h.length < 5 || h.length > 23) abort();
        if (text[h.start] != u'【' || text[h.start + h.length - 1] != u'】') abort();
        end = h.start + h.length;
    }
    const auto markers = BuildLectureMarkers(text, LinesStartingAt(starts));
    if (markers.size() != hits.size()) abort();
    for (const LectureMarker& m : markers)
        if (m.line < 0 || static_cast<size_t>(m.line) >= starts.size()) abort();
    return 0;
}
