#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
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
    // The control of the moment: loading a document puts a new one in the old one's place.
    HWND Handle() const { return hwnd_; }
    void Resize(int width, int height);

    ContentFormat Format() const { return format_; }
    void SetFormat(ContentFormat format) { format_ = format; }

    // Whole content in the current format; false when the control refused to stream.
    bool ReadContent(std::string& out) const;
    // Replaces the content with data read as format; false when nothing was taken, and then
    // the editor keeps what it held. Long plain text is shown at once and read on in pieces
    // while the program goes on answering; until the last piece is in, the transcript is
    // read-only, and every read of the content below first takes in the rest.
    bool LoadContent(std::string_view data, ContentFormat format);
    bool Loading() const { return loadTimer_ != 0; }
    void FinishLoading() const;
    // Replaces the selection with text in the current format.
    void ReplaceSelection(std::string_view data, ContentFormat format);
    void Clear();

    // What the user sees, as UTF-16, with a single CR at each paragraph end, so that its
    // indices are the editor's character positions.
    std::wstring VisibleText() const;
    // The line that holds the character at index.
    int LineOfChar(int index) const;
    int LineCount() const;
    std::wstring LineText(int line) const;
    int FirstVisibleLine() const;
    void ScrollLines(int lines);

    CharFormat SelectionFormat() const;
    void SetSelectionFormat(const CharFormat& format);
    void SetDefaultFormat(const CharFormat& format);
    bool SelectionEmpty() const;
    void SelectAll();

    void Paste() {
        FinishLoading();
        SendMessageW(hwnd_, WM_PASTE, 0, 0);
    }
    void Cut() { SendMessageW(hwnd_, WM_CUT, 0, 0); }
    void Copy() { SendMessageW(hwnd_, WM_COPY, 0, 0); }
    void Undo() { SendMessageW(hwnd_, EM_UNDO, 0, 0); }

    // Plain text longer than this is read in pieces of this size.
    static constexpr size_t kLoadPiece = 256 * 1024;

private:
    HWND NewControl(HWND parent, const RECT& place) const;
    RECT PlaceInParent() const;
    void TakePlaceOf(HWND fresh);
    void StreamPiece() const;
    void EndLoading() const;
    void CancelLoading() const;
    static void CALLBACK LoadTick(HWND, UINT, UINT_PTR id, DWORD);

    HWND hwnd_ = nullptr;
    ContentFormat format_ = ContentFormat::Rtf;
    std::optional<CharFormat> defaultFormat_;
    // Plain text still to be read in; reading it changes what is shown, not what the content is.
    mutable std::string pending_;
    mutable size_t pendingAt_ = 0;
    mutable UINT_PTR loadTimer_ = 0;
};
