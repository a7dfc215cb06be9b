#include "editor/TranscriptEditor.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "editor/EditingRules.h"
#include "shell/Win32Util.h"

namespace {

struct OutStream {
    std::string* out;
};

DWORD CALLBACK CollectOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    auto* s = reinterpret_cast<OutStream*>(cookie);
    s->out->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *written = count;
    return 0;
}

struct InStream {
    std::string_view data;
    bool gbkText = false;
    size_t at = 0;
};

// The control turns each buffer of plain text into characters on its own, so a buffer must
// not end inside a double-byte character or between CR and LF (Wine's control makes a
// broken character and an extra line break of those).
DWORD CALLBACK FeedIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) {
    auto* s = reinterpret_cast<InStream*>(cookie);
    size_t n = std::min(static_cast<size_t>(count), s->data.size() - s->at);
    if (s->gbkText && n > 0 && n < s->data.size() - s->at) {
        const size_t end = GbkPieceEnd(s->data, s->at, n) - s->at;
        if (end > 0) n = end;
    }
    std::memcpy(buffer, s->data.data() + s->at, n);
    s->at += n;
    *read = static_cast<LONG>(n);
    return 0;
}

WPARAM StreamFlags(ContentFormat format) { return format == ContentFormat::Rtf ? SF_RTF : SF_TEXT; }

constexpr DWORD kWholeFormatMask = CFM_FACE | CFM_SIZE | CFM_OFFSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC |
                                   CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;

CHARFORMAT2A ToNative(const CharFormat& f) {
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof(cf);
    cf.dwMask = kWholeFormatMask;
    cf.dwEffects = static_cast<DWORD>(f.effects & 31);
    if (f.colour == 0xFF000000u) cf.dwEffects |= CFE_AUTOCOLOR;
    else cf.crTextColor = static_cast<COLORREF>(f.colour);
    cf.yHeight = f.size * 20;
    cf.yOffset = f.offset * 20;
    const std::string face = ToGbk(f.face);
    lstrcpynA(cf.szFaceName, face.c_str(), LF_FACESIZE);
    return cf;
}

constexpr DWORD kEditorStyle = WS_CHILD | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                               ES_NOHIDESEL;
constexpr LPARAM kEditorEvents = ENM_CHANGE | ENM_SELCHANGE | ENM_MOUSEEVENTS;

// The one pending load; its timer carries no pointer.
const TranscriptEditor* gLoading = nullptr;

}  // namespace

bool TranscriptEditor::Create(HWND parent) {
    // The 2.0 rich edit, ANSI flavour: the transcript's plain text is GBK.
    if (!GetModuleHandleW(L"riched20.dll") && !LoadLibraryW(L"riched20.dll")) return false;
    hwnd_ = NewControl(parent, {kDesignLeft, kDesignTop, kDesignLeft + kDesignWidth, kDesignTop + kDesignHeight});
    if (!hwnd_) return false;
    ShowWindow(hwnd_, SW_SHOWNA);
    SendMessageA(hwnd_, EM_SETEVENTMASK, 0, kEditorEvents);
    return true;
}

HWND TranscriptEditor::NewControl(HWND parent, const RECT& place) const {
    HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "", kEditorStyle, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) return nullptr;
    // No artificial cap on the transcript's length.
    SendMessageA(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    if (defaultFormat_) {
        CHARFORMAT2A cf = ToNative(*defaultFormat_);
        SendMessageA(control, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    }
    return control;
}

// The control empties itself a paragraph at a time, each step walking from the top (minutes
// for a long transcript under Wine); a new control is empty at once. The new one takes the old
// one's place, size, stacking, visibility and focus; pieces still due for the old one are dropped.
void TranscriptEditor::TakePlaceOf(HWND fresh) {
    CancelLoading();
    HWND old = hwnd_;
    const RECT r = PlaceInParent();
    const bool visible = (GetWindowLongPtrW(old, GWL_STYLE) & WS_VISIBLE) != 0;
    const bool focused = GetFocus() == old;
    SetWindowPos(fresh, old, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : 0));
    hwnd_ = fresh;
    if (focused) SetFocus(fresh);
    DestroyWindow(old);
}

RECT TranscriptEditor::PlaceInParent() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TranscriptEditor::Resize(int width, int height) {
    if (!hwnd_) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TranscriptEditor::ReadContent(std::string& out) const {
    FinishLoading();
    out.clear();
    OutStream s{&out};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&s), 0, &CollectOut};
    SendMessageA(hwnd_, EM_STREAMOUT, StreamFlags(format_), reinterpret_cast<LPARAM>(&es));
    // Some builds of the control finish RTF with a NUL after the closing brace; the file
    // holds the document and nothing else.
    if (format_ == ContentFormat::Rtf)
        while (!out.empty() && out.back() == '\0') out.pop_back();
    return es.dwError == 0;
}

bool TranscriptEditor::LoadContent(std::string_view data, ContentFormat format) {
    // Thousands of nested groups bring the control down; no real transcript comes near.
    if (format == ContentFormat::Rtf && RtfNestingDepth(data) > kDeepestRtfNesting) return false;
    HWND fresh = NewControl(GetParent(hwnd_), PlaceInParent());
    if (!fresh) return false;
    const bool inPieces = format == ContentFormat::PlainText && data.size() > kLoadPiece;
    const std::string_view first = inPieces ? data.substr(0, GbkPieceEnd(data, 0, kLoadPiece)) : data;
    InStream s{first, format == ContentFormat::PlainText};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&s), 0, &FeedIn};
    const LRESULT taken = SendMessageA(fresh, EM_STREAMIN, StreamFlags(format), reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0 || taken <= 0) {
        DestroyWindow(fresh);
        return false;
    }
    TakePlaceOf(fresh);
    if (!inPieces) {
        SendMessageA(hwnd_, EM_SETEVENTMASK, 0, kEditorEvents);
        return true;
    }
    pending_.assign(data.substr(first.size()));
    pendingAt_ = 0;
    // Our own appends are no edits of the user's, and their selection moves pop nothing up.
    SendMessageA(hwnd_, EM_SETREADONLY, TRUE, 0);
    SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_MOUSEEVENTS);
    gLoading = this;
    loadTimer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &LoadTick);
    if (!loadTimer_) FinishLoading();
    return true;
}

void CALLBACK TranscriptEditor::LoadTick(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gLoading || gLoading->loadTimer_ != id) {
        KillTimer(nullptr, id);
        return;
    }
    gLoading->StreamPiece();
}

// Appends the next piece at the end, leaving the reader's caret and scroll where they were.
void TranscriptEditor::StreamPiece() const {
    if (!IsWindow(hwnd_)) {
        CancelLoading();
        return;
    }
    const std::string_view rest = std::string_view(pending_).substr(pendingAt_);
    const std::string_view piece = rest.substr(0, GbkPieceEnd(rest, 0, kLoadPiece));
    CHARRANGE reader{};
    SendMessageA(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&reader));
    const LRESULT top = SendMessageA(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    CHARRANGE end{-1, -1};
    SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    InStream s{piece, true};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&s), 0, &FeedIn};
    SendMessageA(hwnd_, EM_STREAMIN, SF_TEXT | SFF_SELECTION, reinterpret_cast<LPARAM>(&es));
    SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&reader));
    SendMessageA(hwnd_, EM_LINESCROLL, 0, top - SendMessageA(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, FALSE);
    pendingAt_ += piece.size();
    if (pendingAt_ >= pending_.size()) EndLoading();
}

void TranscriptEditor::FinishLoading() const {
    while (Loading()) StreamPiece();
}

void TranscriptEditor::EndLoading() const {
    CancelLoading();
    // An undo must never take a piece of the document back out.
    SendMessageA(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageA(hwnd_, EM_SETREADONLY, FALSE, 0);
    SendMessageA(hwnd_, EM_SETEVENTMASK, 0, kEditorEvents);
}

void TranscriptEditor::CancelLoading() const {
    if (loadTimer_) KillTimer(nullptr, loadTimer_);
    loadTimer_ = 0;
    if (gLoading == this) gLoading = nullptr;
    std::string().swap(pending_);
    pendingAt_ = 0;
}

void TranscriptEditor::ReplaceSelection(std::string_view data, ContentFormat format) {
    FinishLoading();
    InStream s{data, format == ContentFormat::PlainText};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&s), 0, &FeedIn};
    SendMessageA(hwnd_, EM_STREAMIN, StreamFlags(format) | SFF_SELECTION, reinterpret_cast<LPARAM>(&es));
}

void TranscriptEditor::Clear() {
    HWND fresh = NewControl(GetParent(hwnd_), PlaceInParent());
    if (!fresh) {
        SetWindowTextA(hwnd_, "");
        return;
    }
    TakePlaceOf(fresh);
    SendMessageA(hwnd_, EM_SETEVENTMASK, 0, kEditorEvents);
}

std::wstring TranscriptEditor::VisibleText() const {
    FinishLoading();
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT got = SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

int TranscriptEditor::LineOfChar(int index) const {
    FinishLoading();
    return static_cast<int>(SendMessageW(hwnd_, EM_EXLINEFROMCHAR, 0, index));
}

int TranscriptEditor::LineCount() const {
    FinishLoading();
    return static_cast<int>(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0));
}

std::wstring TranscriptEditor::LineText(int line) const {
    FinishLoading();
    const LRESULT start = SendMessageA(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (start < 0) return {};
    const LRESULT chars = SendMessageA(hwnd_, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    // GBK takes at most two bytes a character; the first word tells the control the room.
    std::string buffer(static_cast<size_t>(chars) * 2 + 8, '\0');
    const WORD room = static_cast<WORD>(std::min<size_t>(buffer.size(), 0xFFFF));
    std::memcpy(buffer.data(), &room, sizeof(room));
    const LRESULT got = SendMessageA(hwnd_, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return FromGbk(buffer);
}

int TranscriptEditor::FirstVisibleLine() const {
    return static_cast<int>(SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0));
}

void TranscriptEditor::ScrollLines(int lines) { SendMessageW(hwnd_, EM_LINESCROLL, 0, lines); }

CharFormat TranscriptEditor::SelectionFormat() const {
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof(cf);
    cf.dwMask = kWholeFormatMask;
    SendMessageA(hwnd_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    CharFormat f;
    f.face = FromGbk(cf.szFaceName);
    f.size = cf.yHeight / 20;
    f.offset = cf.yOffset / 20;
    f.effects = static_cast<int>(cf.dwEffects & 31);
    f.colour = (cf.dwEffects & CFE_AUTOCOLOR) ? 0xFF000000u : static_cast<uint32_t>(cf.crTextColor);
    return f;
}

void TranscriptEditor::SetSelectionFormat(const CharFormat& format) {
    FinishLoading();
    CHARFORMAT2A cf = ToNative(format);
    SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void TranscriptEditor::SetDefaultFormat(const CharFormat& format) {
    defaultFormat_ = format;
    CHARFORMAT2A cf = ToNative(format);
    SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
}

bool TranscriptEditor::SelectionEmpty() const {
    CHARRANGE r{};
    SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r.cpMin == r.cpMax;
}

void TranscriptEditor::SelectAll() {
    CHARRANGE all{0, -1};
    SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
}
