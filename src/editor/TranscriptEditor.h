#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A character format as the commands exchange it with the editor.
struct CharFormat {
    std::wstring face = L"宋体";
    int size = 9;      // whole points
    int offset = 0;    // points
    int effects = 0;   // 1 bold, 2 italic, 4 underline, 8 strike-out, 16 protected
    uint32_t colour = 0xFF000000u;  // 0x00BBGGRR, or 0xFF000000 for the automatic colour
};

enum class ContentFormat { PlainText, Rtf };

// The rich-edit control that holds the transcript. Its whole content is read and written in
// the format the switch holds: RTF source, or GBK text with CR LF breaks.
class TranscriptEditor {
public:
    static constexpr int kDesignLeft = 6;
    static constexpr int kDesignTop = 7;
    static constexpr int kDesignWidth = 644;
    static constexpr int kDesignHeight = 293;
    static constexpr int kControlId = 1001;

    bool Create(HWND parent);
    HWND Handle() const { return hwnd_; }
    void Resize(int width, int height);

    ContentFormat Format() const { return format_; }
    void SetFormat(ContentFormat format) { format_ = format; }

    // Whole content in the current format; false when the control refused to stream.
    bool ReadContent(std::string& out) const;
    // Replaces the content with data read as format; false when nothing was taken.
    bool LoadContent(std::string_view data, ContentFormat format);
    // Replaces the selection with text in the current format.
    void ReplaceSelection(std::string_view data, ContentFormat format);
    void Clear();

    // What the user sees, as UTF-16, with a single CR at each paragraph end, so that its
    // indices are the editor's character positions.
    std::wstring VisibleText() const;
    int LineCount() const;
    int LineStart(int line) const;
    std::wstring LineText(int line) const;
    int FirstVisibleLine() const;
    void ScrollLines(int lines);

    CharFormat SelectionFormat() const;
    void SetSelectionFormat(const CharFormat& format);
    void SetDefaultFormat(const CharFormat& format);
    bool SelectionEmpty() const;
    void SelectAll();

    void Paste() { SendMessageW(hwnd_, WM_PASTE, 0, 0); }
    void Cut() { SendMessageW(hwnd_, WM_CUT, 0, 0); }
    void Copy() { SendMessageW(hwnd_, WM_COPY, 0, 0); }
    void Undo() { SendMessageW(hwnd_, EM_UNDO, 0, 0); }

private:
    HWND hwnd_ = nullptr;
    ContentFormat format_ = ContentFormat::Rtf;
};
