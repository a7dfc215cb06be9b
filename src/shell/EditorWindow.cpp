#include "shell/EditorWindow.h"

#include <richedit.h>

#include "editor/Document.h"
#include "editor/EditingCommands.h"
#include "hotkeys/HotKeys.h"
#include "shell/ProcessState.h"

namespace {
constexpr wchar_t kClassName[] = L"TandrelEditorWindow";
}

bool EditorWindow::Create(HWND owner, int left, int top) {
    if (!RegisterClassOnce(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    return CreateWindowExW(0, kClassName, L"", WS_POPUP | WS_CLIPCHILDREN, left, top, kDesignWidth, kDesignHeight,
                           owner, nullptr, GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT EditorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wp) != WA_INACTIVE);
            return Default(msg, wp, lp);
        case WM_HOTKEY:
            TheHotKeys().Dispatch(static_cast<int>(wp));
            return 0;
        case WM_SETFOCUS:
            // Activating the window puts the caret in the transcript.
            if (editor_.Handle()) SetFocus(editor_.Handle());
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
        case WM_DRAWITEM:
            return format_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)) ? TRUE : FALSE;
        default:
            return Default(msg, wp, lp);
    }
}

bool EditorWindow::OnCreate() {
    state::EditorWindowHandle = hwnd_;
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!editor_.Create(hwnd_)) return false;
    BindDocumentEditor(&editor_);
    BindEditingCommands(&editor_, [this] { return positionSource_ ? positionSource_() : std::wstring(); });
    if (!format_.Create(hwnd_, &editor_)) return false;
    CharFormat typing;
    typing.size = 15;
    editor_.SetDefaultFormat(typing);
    TheHotKeys().SetReceiver(hwnd_);
    TheHotKeys().Register();
    if (!picker_.Create(hwnd_, &editor_)) return false;
    // The panels float over the transcript.
    SetWindowPos(format_.Panel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(picker_.Panel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void EditorWindow::OnActivate(bool active) {
    state::EditorWindowActive = active ? 1 : 0;
    if (active && !state::HotKeysRegistered) TheHotKeys().Register();
}

void EditorWindow::OnCommand(int id, int code, HWND control) {
    if (id == TranscriptEditor::kControlId && code == EN_CHANGE) {
        MarkDocumentModified();
        return;
    }
    if (format_.OnCommand(id, code, control)) return;
    picker_.OnCommand(id, code);
}

LRESULT EditorWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == editor_.Handle()) {
        if (header.code == EN_SELCHANGE) {
            format_.SyncFormatBar();
        } else if (header.code == EN_MSGFILTER) {
            const auto& filter = reinterpret_cast<const MSGFILTER&>(header);
            if (filter.msg == WM_RBUTTONDOWN)
                format_.PopUpAt(static_cast<short>(LOWORD(filter.lParam)), static_cast<short>(HIWORD(filter.lParam)));
            else if (filter.msg == WM_LBUTTONDOWN)
                format_.Hide();
        }
        return 0;
    }
    return format_.OnNotify(header) ? TRUE : 0;
}
