// A host window for looking at the controls, started by the screenshot tests as
//   controls_demo controls            every control in its states
//   controls_demo box TYPE ICON       a message box over a toolkit owner; exit code = result
#include "TestControls.h"

#include <shellapi.h>

#include <string>

#include "ControlFixtures.h"
#include "toolkit/MessageBox.h"
#include "toolkit/controls/UiButton.h"
#include "toolkit/controls/UiImageButton.h"
#include "toolkit/controls/UiLabel.h"
#include "toolkit/controls/UiPictureBox.h"
#include "toolkit/controls/UiSlider.h"

namespace {

int Loop(HWND hwnd) {
    MSG msg;
    while (IsWindow(hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

int Controls() {
    ui::AttachOptions o;
    o.themeColor = 0xC08040;  // a mid blue
    o.captionFlags = ui::kCaptionDefault | ui::kCaptionMinimize | ui::kCaptionMaximize;
    o.controlFading = 0;
    testing_ui::TestWindow w("", o, 680, 440, L"控件演示", 100, 100);
    ui::UiImageButton image, imageDisabled;
    image.Create(w.hwnd, {20, 50, 45, 45}, kRedPng, kGreenPng, kBluePng);
    imageDisabled.Create(w.hwnd, {80, 50, 45, 45}, kGreenPng);
    ui::UiLabel plain, filled;
    plain.Create(w.hwnd, L"标签", {150, 50, 120, 30});
    ui::LabelStyle fill;
    fill.fillMode = 1;
    fill.fillColour1 = 0xFEFFFFFF;
    fill.fillColour2 = 0xFE000000;
    fill.alignment = 4;
    fill.frameStyle = 0xFEFF0000;
    filled.Create(w.hwnd, L"渐变", {290, 50, 120, 30}, fill);
    ui::UiButton normal, focused, disabled;
    normal.Create(w.hwnd, L"确认(&O)", {20, 120, 70, 24});
    focused.Create(w.hwnd, L"取消", {110, 120, 70, 24});
    disabled.Create(w.hwnd, L"禁用", {200, 120, 70, 24});
    disabled.Disabled(1);
    ui::UiSlider slider, progress;
    slider.Create(w.hwnd, {20, 180, 400, 21}, 50, 75);
    ui::SliderStyle bar;
    bar.interactive = false;
    bar.trackFill = 0xFE303030;
    progress.Create(w.hwnd, {20, 220, 400, 21}, 30, 0, bar);
    ui::UiPictureBox picture;
    picture.Create(w.hwnd, {450, 50, 60, 60}, kBluePng, false, false, 0xFEFFFFFF);
    ShowWindow(w.hwnd, SW_SHOWNORMAL);
    w.host->Redraw();
    w.host->FocusControl(focused.GetId());
    imageDisabled.Disabled(1);
    return Loop(w.hwnd);
}

int Box(int type, int icon) {
    ui::AttachOptions o;
    o.themeColor = 0x3C8C28;  // green: the box takes it over
    o.captionFlags = ui::kCaptionDefault;
    testing_ui::TestWindow owner("", o, 500, 300, L"提问的主人", 60, 60);
    ShowWindow(owner.hwnd, SW_SHOWNORMAL);
    owner.host->Redraw();
    MessageBoxOptions box;
    box.type = type;
    box.icon = icon;
    box.title = L"演示提问";
    return ShowMessageBox(owner.hwnd, L"保存对文稿的修改吗？", box);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring mode = argc > 1 ? argv[1] : L"controls";
    ui::ToolkitStartup();
    if (mode == L"box") return Box(argc > 2 ? _wtoi(argv[2]) : 3, argc > 3 ? _wtoi(argv[3]) : 32);
    return Controls();
}
