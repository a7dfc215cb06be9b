#pragma once
// The rules behind the editing commands that need no window: file formats by name, the
// character-format arithmetic, the date and time list, the marker and separator texts and
// where the format panel pops up.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

enum class DocumentFormat { PlainText, Rtf, Other };

// Saving: the last three characters of the path, lower-cased ("notes.TXT" is text, "xrtf" is RTF).
DocumentFormat SaveFormatOf(std::u16string_view path);
// Opening: the text after the last dot, any letter case; only "rtf" loads as RTF.
bool OpensAsRtf(std::u16string_view path);

// The deepest group nesting of RTF source ({ } not escaped by a backslash). The rich-edit
// control that Wine ships keeps 32 levels and crashes past them, so loading checks this
// first; transcripts stay far shallower.
size_t RtfNestingDepth(std::string_view rtf);
inline constexpr size_t kDeepestRtfNesting = 32;

// Where a piece of GBK text that starts at from on a character boundary may end, taking at
// most `most` bytes: after its last line feed when it has one, otherwise on a character
// boundary that does not part CR from LF. All the rest when that fits.
size_t GbkPieceEnd(std::string_view text, size_t from, size_t most);

// Effect bits of a character format.
inline constexpr int kEffectBold = 1, kEffectItalic = 2, kEffectUnderline = 4, kEffectStrike = 8, kEffectProtected = 16;
inline constexpr uint32_t kAutomaticColour = 0xFF000000u;

// Inverts bold, italic or underline; strike-out and protected do not survive the rebuild.
int ToggledEffects(int effects, int mask);
// One point up to 72 or down to 9; sizes beyond either limit only move back toward it.
int SteppedFontSize(int size, bool up);
// A colour preset's text as the colour handed to the editor: text that is no number gives 0.
uint32_t PresetColour(std::u16string_view text);

std::u16string TimeMarker(std::u16string_view positionText);
// CR LF, 28 heavy horizontal lines, CR LF, CR LF.
std::u16string SeparatorText();

struct DateTimeParts {
    int year, month, day, hour, minute, second;
    int weekday;  // 0 Sunday .. 6 Saturday
};
std::array<std::u16string, 10> DateTimeEntries(const DateTimeParts& t);

struct PanelPoint {
    int x, y;
};
// Top-left of the format panel for a click at (x, y) in an editor of width x height: it opens
// toward the other side when it would not fit.
PanelPoint PopUpPlacement(int x, int y, int editorWidth, int editorHeight, int panelWidth, int panelHeight);
