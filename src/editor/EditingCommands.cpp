#include "editor/EditingCommands.h"

#include <windows.h>

#include <cstring>

#include "editor/DateTimePicker.h"
#include "editor/Document.h"
#include "editor/EditingRules.h"
#include "editor/TranscriptEditor.h"
#include "shell/Settings.h"

namespace {

TranscriptEditor* gEditor = nullptr;
std::function<std::wstring()> gPositionText;

std::wstring FromU16(const std::u16string& s) { return {s.begin(), s.end()}; }
std::u16string ToU16(const std::wstring& s) { return {s.begin(), s.end()}; }

template <class Change>
void ChangeSelectionFormat(Change change) {
    if (!gEditor) return;
    CharFormat f = gEditor->SelectionFormat();
    change(f);
    gEditor->SetSelectionFormat(f);
}

}  // namespace

void BindEditingCommands(TranscriptEditor* editor, std::function<std::wstring()> positionText) {
    gEditor = editor;
    gPositionText = std::move(positionText);
}

void PasteThroughClipboard(const std::wstring& text) {
    if (!gEditor) return;
    if (!OpenClipboard(GetParent(gEditor->Handle()))) return;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
    gEditor->Paste();
}

void InsertTimeMarker() {
    const std::wstring position = gPositionText ? gPositionText() : std::wstring();
    PasteThroughClipboard(FromU16(TimeMarker(ToU16(position))));
}

void InsertSeparator() { PasteThroughClipboard(FromU16(SeparatorText())); }

void ToggleEffect(int mask) {
    ChangeSelectionFormat([mask](CharFormat& f) { f.effects = ToggledEffects(f.effects, mask); });
}

void StepFontSize(bool up) {
    ChangeSelectionFormat([up](CharFormat& f) { f.size = SteppedFontSize(f.size, up); });
}

void ApplyColorPreset(int n) {
    if (n < 1 || n > static_cast<int>(state::ColorPresets.size())) return;
    const std::wstring& entry = state::ColorPresets[static_cast<size_t>(n - 1)];
    if (entry.empty()) return;
    ApplyColour(PresetColour(ToU16(entry)));
}

void ApplyFontPreset(int n) {
    if (n < 1 || n > static_cast<int>(state::FontPresets.size())) return;
    const std::wstring& entry = state::FontPresets[static_cast<size_t>(n - 1)];
    if (entry.empty()) return;
    ApplyFontFace(entry);
}

void ApplyColour(unsigned colour) {
    ChangeSelectionFormat([colour](CharFormat& f) { f.colour = colour; });
}

void ApplyFontFace(const std::wstring& face) {
    ChangeSelectionFormat([&face](CharFormat& f) { f.face = face; });
}

void ApplyFontSize(int size) {
    ChangeSelectionFormat([size](CharFormat& f) { f.size = size; });
}

bool RunEditorHotKey(HotKeyAction action) {
    using A = HotKeyAction;
    switch (action) {
        case A::FontSizeDown: StepFontSize(false); return true;
        case A::FontSizeUp: StepFontSize(true); return true;
        case A::ColorPreset1: case A::ColorPreset2: case A::ColorPreset3:
        case A::ColorPreset4: case A::ColorPreset5: case A::ColorPreset6:
            ApplyColorPreset(static_cast<int>(action) - static_cast<int>(A::ColorPreset1) + 1);
            return true;
        case A::FontPreset1: case A::FontPreset2: case A::FontPreset3: case A::FontPreset4: case A::FontPreset5:
            ApplyFontPreset(static_cast<int>(action) - static_cast<int>(A::FontPreset1) + 1);
            return true;
        case A::OpenDocument: OpenDocument(); return true;
        case A::NewDocument: NewDocument(); return true;
        case A::SaveDocument: SaveDocument(); return true;
        case A::SaveDocumentAs: SaveDocumentAs(); return true;
        case A::InsertTimeMarker: InsertTimeMarker(); return true;
        case A::InsertSeparator: InsertSeparator(); return true;
        case A::ShowDateTimePicker: ShowDateTimePicker(); return true;
        case A::Bold: ToggleEffect(kEffectBold); return true;
        case A::Italic: ToggleEffect(kEffectItalic); return true;
        case A::Underline: ToggleEffect(kEffectUnderline); return true;
        default: return false;
    }
}
