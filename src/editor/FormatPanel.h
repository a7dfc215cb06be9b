#pragma once
// The format panel: the format bar, the smart pop-up box, the font and size lists and the
// colour swatches, floating over the transcript.
#include <windows.h>

#include <array>

class TranscriptEditor;

namespace state {
inline bool SmartFormatBar = true;  // pop the panel up whenever text is selected
}

class FormatPanel {
public:
    static constexpr int kLeft = 208, kTop = 120, kWidth = 237, kHeight = 98;
    static constexpr int kPanelId = 1100, kToolbarId = 1200, kSmartBoxId = 1201, kFontListId = 1202, kSizeListId = 1203;
    static constexpr int kFirstButton = 1210;  // format bar buttons 1210..1219
    static constexpr int kFirstSwatch = 1230;  // swatches 1230..1242

    struct Swatch {
        unsigned colour;
        const wchar_t* name;
    };
    static const std::array<Swatch, 13> kSwatches;

    bool Create(HWND editorWindow, TranscriptEditor* editor);
    HWND Panel() const { return panel_; }

    // Click point in the editor's client coordinates.
    void PopUpAt(int x, int y);
    void Hide();
    void SyncFormatBar();

    bool OnCommand(int id, int code, HWND control);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    // Tooltip texts of the format bar.
    bool OnNotify(const NMHDR& header);

private:
    void RunButton(int index);
    void FillFontList();

    HWND owner_ = nullptr;
    HWND panel_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND smartBox_ = nullptr;
    HWND fontList_ = nullptr;
    HWND sizeList_ = nullptr;
    HWND tooltip_ = nullptr;
    std::array<HWND, 13> swatches_{};
    TranscriptEditor* editor_ = nullptr;
};
