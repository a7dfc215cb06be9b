#pragma once
// One static window procedure per window class: it finds the object stored with the
// window and hands the message to its HandleMessage.
#include <windows.h>

#include "toolkit/ToolkitResources.h"

template <class Derived>
class WindowBase {
public:
    HWND Handle() const { return hwnd_; }

protected:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            self = static_cast<Derived*>(cs->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        const LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    static bool RegisterClassOnce(const wchar_t* className, HBRUSH background) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return true;
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Thunk;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM_ICON));
        wc.hIconSm = wc.hIcon;
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        return RegisterClassExW(&wc) != 0;
    }

    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

    HWND hwnd_ = nullptr;
};
