#include "shell/EditorWindow.h"

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
        default:
            return Default(msg, wp, lp);
    }
}

bool EditorWindow::OnCreate() {
    state::EditorWindowHandle = hwnd_;
    if (!editor_.Create(hwnd_)) return false;
    TheHotKeys().SetReceiver(hwnd_);
    TheHotKeys().Register();
    return true;
}

void EditorWindow::OnActivate(bool active) {
    state::EditorWindowActive = active ? 1 : 0;
    if (active && !state::HotKeysRegistered) TheHotKeys().Register();
}
