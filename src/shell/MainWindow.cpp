#include "shell/MainWindow.h"

#include "audio/AudioPlayer.h"
#include "audio/Player.h"
#include "editor/Document.h"
#include "hotkeys/HotKeyDispatch.h"
#include "hotkeys/HotKeys.h"
#include "hotkeys/LectureMode.h"
#include "shell/EditorWindow.h"
#include "shell/Layout.h"
#include "shell/Notices.h"
#include "shell/ProcessState.h"
#include "shell/StandInDisplay.h"
#include "shell/Tips.h"
#include "shell/Settings.h"
#include "shell/Win32Util.h"
#include "toolkit/MessageBox.h"
#include "toolkit/UiWindow.h"

namespace {
constexpr wchar_t kClassName[] = L"TandrelMainWindow";
constexpr wchar_t kProductTitle[] = L"Tandrel录音整理工具6.2";
}  // namespace

bool MainWindow::Create() {
    if (!RegisterClassOnce(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    return CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kDesignLeft, kDesignTop,
                           kDesignWidth, kDesignHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_CLOSE:
            if (OnCloseQuery()) DestroyWindow(hwnd_);
            return 0;
        case WM_MOVE:
            OnMoved();
            return 0;
        case WM_SIZE:
            if (wp != SIZE_MINIMIZED) ApplyResizeRules();
            return 0;
        case WM_TIMER:
            if (wp == StandInDisplay::kPositionTimerId) parts_.player.PositionTick();
            return 0;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                parts_.display.OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
        case kNoticeMessage:
            OnNoticeMessage(wp, lp);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) OnDeactivated(); else OnActivated();
            return Default(msg, wp, lp);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

bool MainWindow::OnCreate() {
    state::MainWindowHandle = hwnd_;
    state::TipIndex = 1;
    LoadSettings();
    ApplySettings();

    TheHotKeys().SetHandler([this](HotKeyAction action) { RunHotKeyAction(action, parts_.player); });
    editor_.SetPositionSource([this] { return parts_.display.CurrentTimeText(); });
    const ScreenRect origin = EditorOrigin(kDesignLeft, kDesignTop);
    if (!editor_.Create(hwnd_, origin.left, origin.top)) return false;
    ShowWindow(editor_.Handle(), SW_SHOWNOACTIVATE);
    SetWindowTextW(hwnd_, kProductTitle);

    LoadAudioLibraryOrExit();
    parts_.audio.Init();
    parts_.player.LoadCodecAddOns();

    AttachFrame();
    parts_.display.Create(hwnd_);
    InitNotices(hwnd_, &parts_.display);
    InitLectureMode(&editor_.Editor(), &parts_.display);
    parts_.player.SetHooks({.afterOpening = [this] { OnOpeningDone(); }});

    ShowTip(1);
    return true;
}

void MainWindow::AttachFrame() {
    // A missing or empty skin.jpg leaves the frame in the plain interface colour.
    const std::string skin = ReadWholeFile(ProgramDirectory() + L"\\skin.jpg");
    ui::AttachOptions frame;
    frame.themeColor = static_cast<ui::ColorRef>(state::InterfaceColour.load());
    frame.captionFlags = ui::kCaptionIcon | ui::kCaptionTitle | ui::kCaptionClose | ui::kCaptionMaximize |
                         ui::kCaptionMinimize | ui::kCaptionButton64 | ui::kCaptionButton128 | ui::kCaptionButton256;
    frame.alpha = state::Transparency * 255 / 100;
    parts_.frame.Callbacks().onResized = [this](HWND, int, int) { ApplyResizeRules(); };
    parts_.frame.Callbacks().onCaptionPainted = [](HWND, Gdiplus::GpGraphics*, HDC, int, int) { ++state::RedrawCount; };
    parts_.frame.Attach(hwnd_, skin, frame);
}

void MainWindow::OnOpeningDone() {
    state::TipIndex = NextTipIndex(state::TipIndex);
    ShowTip(state::TipIndex);
}

bool MainWindow::OnCloseQuery() {
    MessageBoxOptions ask;
    ask.type = kBoxYesNo;
    ask.title = L"退出";
    ask.icon = kIconQuestion;
    if (ShowMessageBox(hwnd_, L"确认退出吗？", ask) != kResultYes) return false;
    TheHotKeys().Unregister();
    state::Exiting = 1;
    // Cancelling the save question keeps the program running; the keys come back as soon as
    // one of its windows is active again.
    return !PromptSaveChanges();
}

void MainWindow::OnMoved() {
    if (IsIconic(hwnd_) || !editor_.Handle()) return;
    const WindowBox box = GetWindowBox(hwnd_);
    const ScreenRect origin = EditorOrigin(box.left, box.top);
    SetWindowPos(editor_.Handle(), nullptr, origin.left, origin.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ApplyResizeRules() {
    if (state::EditorCollapsed || !editor_.Handle() || IsIconic(hwnd_)) return;
    const WindowBox box = GetWindowBox(hwnd_);
    const EditorPlacement p = EditorPlacementFor({box.left, box.top, box.width, box.height});
    SetWindowPos(editor_.Handle(), nullptr, p.window.left, p.window.top, p.window.width, p.window.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    editor_.Editor().Resize(p.editorWidth, p.editorHeight);
}

void MainWindow::OnActivated() {
    state::MainWindowActive = 1;
    if (!state::HotKeysRegistered) TheHotKeys().Register();
}

void MainWindow::OnDeactivated() {
    if (state::Exiting) return;
    state::MainWindowActive = 0;
    if (!state::EditorWindowActive) TheHotKeys().Unregister();
}
