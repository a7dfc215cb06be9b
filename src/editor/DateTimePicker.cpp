#include "editor/DateTimePicker.h"

#include <commctrl.h>

#include "editor/EditingRules.h"
#include "editor/Panel.h"
#include "editor/TranscriptEditor.h"
#include "shell/Win32Util.h"

namespace {

DateTimePicker* gPicker = nullptr;

LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_GETDLGCODE && wp == VK_RETURN) return DLGC_WANTALLKEYS;
    if (msg == WM_KEYDOWN && wp == VK_RETURN) {
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(DateTimePicker::kOkId, BN_CLICKED), 0);
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool DateTimePicker::Create(HWND editorWindow, TranscriptEditor* editor) {
    owner_ = editorWindow;
    editor_ = editor;
    panel_ = CreatePanel(editorWindow, 464, 48, 176, 216, kPanelId);
    if (!panel_) return false;
    HWND label = CreateChild(panel_, L"STATIC", L"  插入日期(Ctrl+T):", SS_NOTIFY, 2, 4, 166, 18, 1300);
    MakePanelHandle(label);
    list_ = CreateChild(panel_, L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                        4, 24, 162, 150, kListId);
    SetWindowSubclass(list_, &ListProc, 1, 0);
    CreateChild(panel_, L"BUTTON", L"确定", BS_PUSHBUTTON | WS_TABSTOP, 8, 180, 70, 24, kOkId);
    CreateChild(panel_, L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, 92, 180, 70, 24, kCancelId);

    // Filled once: the entries keep the moment the program started.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const DateTimeParts parts{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wDayOfWeek};
    for (const std::u16string& entry : DateTimeEntries(parts)) {
        const std::wstring text(entry.begin(), entry.end());
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list_, LB_SETCURSEL, 0, 0);
    gPicker = this;
    return true;
}

void DateTimePicker::Show() {
    ShowWindow(panel_, SW_SHOW);
    SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(list_);
}

void DateTimePicker::Hide() { ShowWindow(panel_, SW_HIDE); }

bool DateTimePicker::OnCommand(int id, int code) {
    if (id == kOkId && code == BN_CLICKED) InsertSelected();
    else if (id == kListId && code == LBN_DBLCLK) InsertSelected();
    else if (id == kCancelId && code == BN_CLICKED) Hide();
    else return false;
    return true;
}

void DateTimePicker::InsertSelected() {
    const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) {
        const LRESULT n = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
        SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        editor_->SetFormat(ContentFormat::PlainText);
        editor_->ReplaceSelection(ToGbk(text), ContentFormat::PlainText);
        editor_->SetFormat(ContentFormat::Rtf);
    }
    Hide();
    SetFocus(owner_);
}

void ShowDateTimePicker() {
    if (gPicker) gPicker->Show();
}
