#include "editor/FormatPanel.h"

#include <commctrl.h>

#include <string>

#include "editor/DateTimePicker.h"
#include "editor/EditingCommands.h"
#include "editor/EditingRules.h"
#include "editor/Panel.h"
#include "editor/TranscriptEditor.h"

const std::array<FormatPanel::Swatch, 13> FormatPanel::kSwatches{{
    {255, L"红色"}, {16711935, L"品红"}, {12615935, L"芙红"}, {33023, L"橙黄"}, {32768, L"墨绿"},
    {8421376, L"深青"}, {32896, L"褐绿"}, {16776960, L"艳青"}, {16711680, L"蓝色"}, {16744576, L"蓝灰"},
    {16711824, L"紫色"}, {8421504, L"灰色"}, {0, L"黑色"},
}};

namespace {

struct BarButton {
    const wchar_t* face;  // what the button shows
    const wchar_t* tip;
};
constexpr BarButton kBar[10] = {
    {L"B", L"粗体"}, {L"I", L"斜体"}, {L"U", L"下划线"}, {L"全", L"全选"}, {L"日", L"插入日期时间"},
    {L"标", L"【时间标记】插入当前秒"}, {L"线", L"插入分隔线"}, {L"剪", L"剪切"}, {L"复", L"复制"}, {L"粘", L"粘贴"},
};
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

int CALLBACK AddFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lp) {
    HWND list = reinterpret_cast<HWND>(lp);
    // The platform names each family once per character set; the list wants it once.
    if (SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(font->lfFaceName)) ==
        CB_ERR)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
    return 1;
}

std::wstring ComboText(HWND combo) {
    const LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR) {
        wchar_t text[LF_FACESIZE * 2] = {};
        GetWindowTextW(combo, text, static_cast<int>(std::size(text)));
        return text;
    }
    const LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

}  // namespace

bool FormatPanel::Create(HWND editorWindow, TranscriptEditor* editor) {
    owner_ = editorWindow;
    editor_ = editor;
    panel_ = CreatePanel(editorWindow, kLeft, kTop, kWidth, kHeight, kPanelId);
    if (!panel_) return false;

    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                   CCS_NODIVIDER | CCS_NOPARENTALIGN,
                               1, 1, 233, 24, panel_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)),
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    TBBUTTON buttons[10] = {};
    for (int i = 0; i < 10; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = kFirstButton + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = static_cast<BYTE>(BTNS_BUTTON | (i < 3 ? BTNS_CHECK : 0));
        buttons[i].iString = reinterpret_cast<INT_PTR>(kBar[i].face);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 10, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));

    smartBox_ = CreateChild(panel_, L"BUTTON", L"智能弹出格式栏 [去掉勾只能右键弹出]", BS_AUTOCHECKBOX, 1, 25, 233, 20,
                            kSmartBoxId);
    state::SmartFormatBar = true;
    SendMessageW(smartBox_, BM_SETCHECK, BST_CHECKED, 0);

    MakePanelHandle(CreateChild(panel_, L"STATIC", L" 字体：", SS_NOTIFY | SS_CENTERIMAGE, 2, 48, 39, 28, 1204));
    fontList_ = CreateChild(panel_, L"COMBOBOX", L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 44, 52, 100, 300,
                            kFontListId);
    MakePanelHandle(CreateChild(panel_, L"STATIC", L" 字号：", SS_NOTIFY | SS_CENTERIMAGE, 146, 48, 40, 28, 1205));
    sizeList_ = CreateChild(panel_, L"COMBOBOX", L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 188, 52, 40, 300,
                            kSizeListId);
    for (int size : kSizes) {
        const std::wstring text = std::to_wstring(size);
        SendMessageW(sizeList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    for (size_t i = 0; i < swatches_.size(); ++i) {
        // The designed swatch and twelve copies, 18 pixels apart.
        swatches_[i] = CreateChild(panel_, L"BUTTON", L"", BS_OWNERDRAW, 1 + 18 * static_cast<int>(i), 78, 17, 17,
                                   kFirstSwatch + static_cast<int>(i));
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = panel_;
        tool.uId = reinterpret_cast<UINT_PTR>(swatches_[i]);
        tool.lpszText = const_cast<wchar_t*>(kSwatches[i].name);
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    FillFontList();
    return true;
}

void FormatPanel::FillFontList() {
    HDC dc = GetDC(nullptr);
    LOGFONTW any{};
    any.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &any, &AddFontFamily, reinterpret_cast<LPARAM>(fontList_), 0);
    ReleaseDC(nullptr, dc);
}

void FormatPanel::PopUpAt(int x, int y) {
    RECT editor{};
    GetClientRect(editor_->Handle(), &editor);
    const PanelPoint p = PopUpPlacement(x, y, editor.right, editor.bottom, kWidth, kHeight);
    // The panel lives in EditorWindow; the editor sits at its design offset there.
    POINT origin{p.x, p.y};
    MapWindowPoints(editor_->Handle(), owner_, &origin, 1);
    SetWindowPos(panel_, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void FormatPanel::Hide() { ShowWindow(panel_, SW_HIDE); }

void FormatPanel::SyncFormatBar() {
    const bool empty = editor_->SelectionEmpty();
    if (state::SmartFormatBar) {
        if (!empty) {
            POINT pointer{};
            GetCursorPos(&pointer);
            ScreenToClient(editor_->Handle(), &pointer);
            PopUpAt(pointer.x, pointer.y);
        } else {
            Hide();
        }
    }
    auto enable = [this](int index, bool on) {
        SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(kFirstButton + index), MAKELPARAM(on ? 1 : 0, 0));
    };
    enable(7, !empty);
    enable(8, !empty);
    enable(9, IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT));
    // RTF content is never empty (it holds at least the document's markup); plain text is
    // empty exactly when the editor holds no character.
    enable(3, editor_->Format() == ContentFormat::Rtf || GetWindowTextLengthW(editor_->Handle()) > 0);

    const CharFormat f = editor_->SelectionFormat();
    if (SendMessageW(fontList_, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(f.face.c_str())) ==
        CB_ERR)
        SetWindowTextW(fontList_, f.face.c_str());
    const std::wstring size = f.size == 0 ? std::wstring() : std::to_wstring(f.size);
    if (SendMessageW(sizeList_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size.c_str())) !=
        CB_ERR)
        SendMessageW(sizeList_, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size.c_str()));
    else {
        SendMessageW(sizeList_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextW(sizeList_, size.c_str());
    }
    const int masks[3] = {kEffectBold, kEffectItalic, kEffectUnderline};
    for (int i = 0; i < 3; ++i)
        SendMessageW(toolbar_, TB_CHECKBUTTON, static_cast<WPARAM>(kFirstButton + i),
                     MAKELPARAM((f.effects & masks[i]) ? 1 : 0, 0));
}

void FormatPanel::RunButton(int index) {
    switch (index) {
        case 0: ToggleEffect(kEffectBold); break;
        case 1: ToggleEffect(kEffectItalic); break;
        case 2: ToggleEffect(kEffectUnderline); break;
        case 3: editor_->SelectAll(); break;
        case 4: ShowDateTimePicker(); break;
        case 5: InsertTimeMarker(); break;
        case 6: InsertSeparator(); break;
        case 7: editor_->Cut(); break;
        case 8: editor_->Copy(); break;
        case 9: editor_->Paste(); break;
        default: break;
    }
}

bool FormatPanel::OnCommand(int id, int code, HWND control) {
    if (id >= kFirstButton && id < kFirstButton + 10 && control == toolbar_) {
        RunButton(id - kFirstButton);
        return true;
    }
    if (id == kSmartBoxId && code == BN_CLICKED) {
        state::SmartFormatBar = SendMessageW(smartBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return true;
    }
    if (id >= kFirstSwatch && id < kFirstSwatch + 13 && code == BN_CLICKED) {
        ApplyColour(kSwatches[static_cast<size_t>(id - kFirstSwatch)].colour);
        Hide();
        SetFocus(editor_->Handle());
        return true;
    }
    if ((id == kFontListId || id == kSizeListId) && code == CBN_SELCHANGE) {
        const std::wstring text = ComboText(control);
        if (id == kFontListId) ApplyFontFace(text);
        else ApplyFontSize(_wtoi(text.c_str()));
        SetFocus(editor_->Handle());
        return true;
    }
    return false;
}

bool FormatPanel::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int i = static_cast<int>(item.CtlID) - kFirstSwatch;
    if (i < 0 || i >= 13) return false;
    HBRUSH brush = CreateSolidBrush(kSwatches[static_cast<size_t>(i)].colour);
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

bool FormatPanel::OnNotify(const NMHDR& header) {
    if (header.code != TTN_GETDISPINFOW) return false;
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    const UINT_PTR id = header.idFrom;
    if (id < static_cast<UINT_PTR>(kFirstButton) || id >= static_cast<UINT_PTR>(kFirstButton + 10)) return false;
    info.lpszText = const_cast<wchar_t*>(kBar[id - kFirstButton].tip);
    return true;
}
