#pragma once
// Small controls and a host window for the toolkit's tests, its demo and its benchmark.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/ControlPaint.h"
#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/Toolkit.h"
#include "toolkit/UiControl.h"
#include "toolkit/UiWindow.h"

namespace testing_ui {

struct Delivered {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    int mode;
};

// A filled rectangle that remembers every message it was sent.
class BoxControl : public ui::UiControl {
public:
    explicit BoxControl(ui::Argb color = 0xFF3366CC) : color_(color) {}

    int Create(HWND parent, ui::Box bounds, int kind = 2, int takesFocus = 1, int visible = 1) {
        UiControl::Create(parent, bounds, kind, visible, takesFocus);
        if (visible) Redraw();
        return GetId();
    }

    LRESULT HandleMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position, int mode) override {
        log.push_back({msg, wp, lp, mode});
        if (msg == WM_PAINT && ui::BeginControlPaint(windowIndex, position, GetBounds(), 0, mode)) {
            ui::FillRect(ui::ControlGraphics(windowIndex), GetBounds(), color_);
            ui::EndControlPaint(windowIndex, position, GetBounds(), 1, mode);
        }
        return 0;
    }

    size_t Count(UINT msg) const {
        size_t n = 0;
        for (const Delivered& d : log) n += d.msg == msg;
        return n;
    }
    std::vector<UINT> Messages() const {
        std::vector<UINT> out;
        for (const Delivered& d : log)
            if (d.msg != WM_PAINT && d.msg != WM_MOUSEMOVE) out.push_back(d.msg);
        return out;
    }

    std::vector<Delivered> log;

private:
    ui::Argb color_;
};

// A line of text on a gradient, like the program's labels.
class TextControl : public ui::UiControl {
public:
    int Create(HWND parent, ui::Box bounds, std::wstring text) {
        text_ = std::move(text);
        UiControl::Create(parent, bounds, 3, 1, 0);
        Redraw();
        return GetId();
    }
    LRESULT HandleMessage(HWND, UINT msg, WPARAM, LPARAM, int windowIndex, int position, int mode) override {
        if (msg != WM_PAINT || !ui::BeginControlPaint(windowIndex, position, GetBounds(), 0, mode)) return 0;
        GpGraphicsPtr g = ui::ControlGraphics(windowIndex);
        ui::GradientFill(g, GetBounds(), 0x40FFFFFF, 0x80000000);
        ui::TextOptions options;
        options.horizontal = 3;
        options.effect = 3;
        ui::DrawTextEx(GetBounds(), g, text_, ui::DefaultFont(), 0xFF202020, options);
        ui::EndControlPaint(windowIndex, position, GetBounds(), 1, mode);
        return 0;
    }

private:
    using GpGraphicsPtr = ui::GpGraphics*;
    std::wstring text_;
};

// A top-level window of the toolkit's class with a host attached to it.
struct TestWindow {
    HWND hwnd = nullptr;
    std::unique_ptr<ui::UiWindow> host = std::make_unique<ui::UiWindow>();

    TestWindow(std::string_view picture = {}, ui::AttachOptions options = {}, int width = 680, int height = 440,
               const wchar_t* title = L"工具包测试", int x = 40, int y = 40) {
        ui::ToolkitStartup();
        hwnd = CreateWindowExW(0, ui::kToolkitClass, title, WS_POPUP, x, y, width, height, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        host->Attach(hwnd, picture, options);
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(hwnd, msg, wp, lp); }
    void MouseAt(UINT msg, int x, int y, WPARAM wp = 0) { Send(msg, wp, MAKELPARAM(x, y)); }
    void Click(int x, int y) {
        MouseAt(WM_MOUSEMOVE, x, y);
        MouseAt(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        MouseAt(WM_LBUTTONUP, x, y);
    }
};

inline void PumpMessages(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

}  // namespace testing_ui
