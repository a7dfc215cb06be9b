#pragma once
// The 31 system-wide hot keys, in registration order.
#include <array>

enum class HotKeyAction {
    TogglePlayPause, SeekBack, SeekForward, OpenRecording, Slower, Faster, FontSizeDown, FontSizeUp,
    ColorPreset1, ColorPreset2, ColorPreset3, ColorPreset4, ColorPreset5, ColorPreset6,
    FontPreset1, FontPreset2, FontPreset3, FontPreset4, FontPreset5,
    TabPlayPause,   // only when the Tab setting is on
    ShiftSeek,      // left Shift back, right Shift forward; only when the Shift setting is on
    OpenDocument, NewDocument, SaveDocument, SaveDocumentAs,
    InsertTimeMarker, InsertSeparator, ShowDateTimePicker, Bold, Italic, Underline,
};

// Modifier codes of the table: 0 none, 1 Ctrl, 2 Shift, 3 Ctrl+Shift, 4 Alt.
struct HotKeyEntry {
    int modifierCode;
    unsigned virtualKey;
    HotKeyAction action;
};

inline constexpr std::array<HotKeyEntry, 31> kHotKeyTable{{
    {0, 115, HotKeyAction::TogglePlayPause},  // F4
    {0, 116, HotKeyAction::SeekBack},         // F5
    {0, 117, HotKeyAction::SeekForward},      // F6
    {4, 79, HotKeyAction::OpenRecording},     // Alt+O
    {4, 37, HotKeyAction::Slower},            // Alt+Left
    {4, 39, HotKeyAction::Faster},            // Alt+Right
    {4, 40, HotKeyAction::FontSizeDown},      // Alt+Down
    {4, 38, HotKeyAction::FontSizeUp},        // Alt+Up
    {4, 49, HotKeyAction::ColorPreset1},      // Alt+1 .. Alt+6
    {4, 50, HotKeyAction::ColorPreset2},
    {4, 51, HotKeyAction::ColorPreset3},
    {4, 52, HotKeyAction::ColorPreset4},
    {4, 53, HotKeyAction::ColorPreset5},
    {4, 54, HotKeyAction::ColorPreset6},
    {4, 81, HotKeyAction::FontPreset1},       // Alt+Q, W, E, R, T
    {4, 87, HotKeyAction::FontPreset2},
    {4, 69, HotKeyAction::FontPreset3},
    {4, 82, HotKeyAction::FontPreset4},
    {4, 84, HotKeyAction::FontPreset5},
    {0, 9, HotKeyAction::TabPlayPause},       // Tab
    {2, 0, HotKeyAction::ShiftSeek},          // Shift alone
    {1, 79, HotKeyAction::OpenDocument},      // Ctrl+O
    {1, 78, HotKeyAction::NewDocument},       // Ctrl+N
    {1, 83, HotKeyAction::SaveDocument},      // Ctrl+S
    {3, 83, HotKeyAction::SaveDocumentAs},    // Ctrl+Shift+S
    {1, 77, HotKeyAction::InsertTimeMarker},  // Ctrl+M
    {1, 76, HotKeyAction::InsertSeparator},   // Ctrl+L
    {1, 84, HotKeyAction::ShowDateTimePicker},// Ctrl+T
    {1, 66, HotKeyAction::Bold},              // Ctrl+B
    {1, 73, HotKeyAction::Italic},            // Ctrl+I
    {1, 85, HotKeyAction::Underline},         // Ctrl+U
}};

// Identifiers count up for the life of the process so that a stale notification can never
// match a new registration. The system takes 1..0xBFFF; past that the count starts again at 1,
// which is safe because every identifier has been given back before the table is taken again.
class HotKeyIds {
public:
    static constexpr int kLargest = 0xBFFF;
    int Next() {
        last_ = last_ >= kLargest ? 1 : last_ + 1;
        return last_;
    }

private:
    int last_ = 0;
};
