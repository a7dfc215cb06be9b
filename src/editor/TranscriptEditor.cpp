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
    size_t at = 0;
};

DWORD CALLBACK FeedIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) {
    auto* s = reinterpret_cast<InStream*>(cookie);
    const size_t n = std::min(static_cast<size_t>(count), s->data.size() - s->at);
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

}  // namespace

bool TranscriptEditor::Create(HWND parent) {
    // The 2.0 rich edit, ANSI flavour: the transcript's plain text is GBK.
    if (!GetModuleHandleW(L"riched20.dll") && !LoadLibraryW(L"riched20.dll")) return false;
    hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                                ES_WANTRETURN | ES_NOHIDESEL,
                            kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), GetModuleHandleW(nullptr),
                            nullptr);
    if (!hwnd_) return false;
    // No artificial cap on the transcript's length.
    SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_MOUSEEVENTS);
    return true;
}

void TranscriptEditor::Resize(int width, int height) {
    if (!hwnd_) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TranscriptEditor::ReadContent(std::string& out) const {
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
    InStream s{data};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&s), 0, &FeedIn};
    const LRESULT taken = SendMessageA(hwnd_, EM_STREAMIN, StreamFlags(format), reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0 && taken > 0;
}

void TranscriptEditor::ReplaceSelection(std::string_view data, ContentFormat format) {
    InStream s{data};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&s), 0, &FeedIn};
    SendMessageA(hwnd_, EM_STREAMIN, StreamFlags(format) | SFF_SELECTION, reinterpret_cast<LPARAM>(&es));
}

void TranscriptEditor::Clear() { SetWindowTextA(hwnd_, ""); }

std::wstring TranscriptEditor::VisibleText() const {
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

int TranscriptEditor::LineCount() const { return static_cast<int>(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0)); }

int TranscriptEditor::LineStart(int line) const {
    return static_cast<int>(SendMessageW(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

std::wstring TranscriptEditor::LineText(int line) const {
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
    CHARFORMAT2A cf = ToNative(format);
    SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void TranscriptEditor::SetDefaultFormat(const CharFormat& format) {
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
