// A host window for looking at the toolkit: a picture or colour skin, optionally layered,
// with a few controls. Started by the screenshot tests as
//   toolkit_demo picture | colour | layered [close | show]
// close fades the window out when it is closed; show fades it in instead of showing it.
#include "TestControls.h"

#include <shellapi.h>
#include "ToolkitFixtures.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring mode = argc > 1 ? argv[1] : L"colour";
    const std::wstring animation = argc > 2 ? argv[2] : L"";
    ui::ToolkitStartup();

    ui::AttachOptions o;
    o.captionFlags = ui::kCaptionDefault | ui::kCaptionMinimize | ui::kCaptionMaximize;
    std::string_view picture;
    if (mode == L"picture") {
        picture = kSkinPng;
    } else if (mode == L"layered") {
        o.themeColor = 0xA05020;  // a blue
        o.alpha = 127;
    } else {
        o.themeColor = 0x3C8C28;  // a green
    }
    const std::wstring title = L"工具包演示 " + mode;
    testing_ui::TestWindow w(picture, o, 680, 440, title.c_str(), 100, 100);
    testing_ui::BoxControl red(0xFFE02020), blue(0xFF2040E0);
    testing_ui::TextControl label;
    red.Create(w.hwnd, {40, 300, 120, 60});
    blue.Create(w.hwnd, {200, 300, 120, 60});
    label.Create(w.hwnd, {360, 300, 200, 30}, L"标签 Label");
    if (animation == L"close") w.host->SetCloseAnimation(1);
    if (animation == L"show") {
        w.host->ShowAnimated(1);
    } else {
        ShowWindow(w.hwnd, SW_SHOWNORMAL);
        w.host->Redraw();
    }
    MSG msg;
    while (IsWindow(w.hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
