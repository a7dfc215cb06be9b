#include "toolkit/UiWindow.h"

#include <windowsx.h>

#include "toolkit/Registry.h"
#include "toolkit/Toolkit.h"
#include "toolkit/UiControl.h"
#include "toolkit/controls/UiCaptionButton.h"

namespace ui {

namespace {
constexpr wchar_t kHostProperty[] = L"addr_wnd";
}  // namespace

UiWindow::UiWindow() = default;

UiWindow::~UiWindow() {
    if (hwnd_) Detach(hwnd_);
}

WindowEntry* UiWindow::Entry() const {
    WindowEntry* e = EntryAt(windowIndex_);
    return e && e->host == this ? e : nullptr;
}

int UiWindow::Margin() const { return hwnd_ && IsZoomed(hwnd_) ? 0 : 5; }

void UiWindow::Attach(HWND hwnd, std::string_view picture, const AttachOptions& o) {
    if (!hwnd || hwnd_ || !IsWindow(hwnd)) return;
    background_.LoadFromMemory(picture);
    themeGiven_ = o.themeColor.has_value();
    if (o.themeColor)
        themeColor_ = *o.themeColor;
    else if (!background_.Empty())
        themeColor_ = PictureColor();
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    int flags = o.captionFlags.value_or(0);
    if (!o.captionFlags || flags != 0) style |= WS_SYSMENU;
    if (!o.captionFlags || (flags & kCaptionDefault)) flags |= kCaptionIcon | kCaptionTitle | kCaptionClose;
    if (o.fixedSize)
        style &= ~static_cast<LONG_PTR>(WS_THICKFRAME);
    else
        style |= WS_THICKFRAME;
    SetWindowLongPtrW(hwnd, GWL_STYLE, style);
    captionFlags_ = flags;
    fixedSize_ = o.fixedSize ? 1 : 0;
    dragFlags_ = o.dragFlags;
    fadeEdges_ = o.fadeEdges;
    cornerSize_ = o.cornerSize;
    if (cornerSize_ == 1) nineGrid_ = o.nineGrid;
    Install(hwnd, o.stretch, o.controlFading, o.alpha);
    CreateTooltipWindow();
}

void UiWindow::CreateTooltipWindow() {
    if (tooltip_) return;
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", TTS_ALWAYSTIP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

void UiWindow::Install(HWND hwnd, int stretch, int controlFading, int alpha) {
    if (!hwnd || (hwnd_ && hwnd_ != hwnd) || FindWindowIndex(hwnd)) return;
    auto entry = std::make_unique<WindowEntry>();
    WindowEntry* e = entry.get();
    e->host = this;
    e->hwnd = hwnd;
    e->stretch = stretch;
    e->controlFading = controlFading;
    e->alpha = alpha < -1 ? -1 : std::min(alpha, 255);
    Registry().push_back(std::move(entry));
    windowIndex_ = RegistrySize();
    hwnd_ = hwnd;
    SetPropW(hwnd, kHostProperty, this);
    RefreshRect();
    width_ = e->windowRect.right - e->windowRect.left;
    height_ = e->windowRect.bottom - e->windowRect.top;
    e->windowDc = GetDC(hwnd);
    // The composite buffer is made once at the largest size the window can take.
    e->composite.Create(e->windowDc, GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK));
    e->background.Create(e->windowDc, width_, height_);
    if (e->Layered()) {
        e->layered.Create(e->windowDc, width_, height_);
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    }
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UiWindow::SubclassThunk)));
    // The frame is ours now: let the system drop its non-client area.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (captionFlags_) {
        CreateCaption();
        systemMenu_ = GetSystemMenu(hwnd, FALSE);
    }
    Redraw(std::nullopt, themeGiven_ ? std::optional<ColorRef>(themeColor_) : std::nullopt, false);
}

void UiWindow::CreateCaption() {
    const int m = Margin();
    for (const CaptionSlot& slot : LayoutCaption(captionFlags_, width_, m)) {
        auto button = std::make_unique<UiCaptionButton>();
        const Box b{static_cast<float>(slot.box.left), static_cast<float>(slot.box.top),
                    static_cast<float>(slot.box.width), static_cast<float>(slot.box.height)};
        button->Create(hwnd_, b, slot.flag);
        captionButtons_.push_back(std::move(button));
    }
    if (captionFlags_ & kCaptionIcon) {
        icon_ = std::make_unique<UiWindowIcon>();
        icon_->Create(hwnd_, {static_cast<float>(m + 6), static_cast<float>(m + 6), 16, 16});
    }
}

void UiWindow::LayoutCaptionButtons(int margin) {
    for (const CaptionSlot& slot : LayoutCaption(captionFlags_, width_, margin)) {
        for (auto& button : captionButtons_) {
            if (button->ButtonType() != slot.flag) continue;
            button->Move(static_cast<float>(slot.box.left), static_cast<float>(slot.box.top),
                         static_cast<float>(slot.box.width), static_cast<float>(slot.box.height), false);
        }
    }
}

void UiWindow::Release() {
    if (hwnd_) Detach(hwnd_);
}

void UiWindow::Detach(HWND hwnd) {
    if (!hwnd_ || hwnd != hwnd_) return;
    if (previousProc_ &&
        GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&UiWindow::SubclassThunk))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    focusFrame_ = 0;
    RemovePropW(hwnd, kHostProperty);
    accessKeys_.clear();
    hovered_ = focused_ = 0;
    if (captured_) {
        captured_ = 0;
        pressed_ = 0;
        ReleaseCapture();
    }
    KillTimer(hwnd, kWindowFadeTimer);
    // Nothing is presented while the window is taken apart.
    suspended_ = 1;
    WindowEntry* e = Entry();
    while (e && !e->controls.empty()) {
        UiControl* control = e->controls.back().control;
        if (!control->Remove() && !e->controls.empty() && e->controls.back().control == control)
            e->controls.pop_back();
    }
    captionButtons_.clear();
    icon_.reset();
    std::unique_ptr<WindowEntry> owned;
    if (e) {
        auto& registry = Registry();
        const int slot = windowIndex_ - 1;
        owned = std::move(registry[static_cast<size_t>(slot)]);
        registry.erase(registry.begin() + slot);
        RenumberWindows(slot);
    }
    if (tooltip_) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    background_.Dispose();
    if (owned) {
        owned->layered.Release();
        owned->background.Release();
        owned->composite.Release();
        if (owned->windowDc) ReleaseDC(hwnd, owned->windowDc);
    }
    previousProc_ = nullptr;
    hwnd_ = nullptr;
    windowIndex_ = 0;
    suspended_ = 0;
    tracking_ = 0;
}

void UiWindow::RefreshRect() {
    if (WindowEntry* e = Entry()) GetWindowRect(hwnd_, &e->windowRect);
}

LRESULT CALLBACK UiWindow::SubclassThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<UiWindow*>(GetPropW(hwnd, kHostProperty));
    if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->WindowProc(hwnd, msg, wp, lp);
}

LRESULT UiWindow::Default(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (callbacks_.messageHook) {
        const MessageHook hook = callbacks_.messageHook;
        const LRESULT r = hook(hwnd, msg, wp, lp);
        if (r != kContinue) return r;
    }
    return previousProc_ ? CallWindowProcW(previousProc_, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT UiWindow::HookOr(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT fallback) {
    if (callbacks_.messageHook) {
        const MessageHook hook = callbacks_.messageHook;
        const LRESULT r = hook(hwnd, msg, wp, lp);
        if (r != kContinue) return r;
    }
    return fallback;
}

LRESULT UiWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DESTROY: {
            tracking_ = 0;
            const WNDPROC previous = previousProc_;
            const MessageHook hook = callbacks_.messageHook;
            Detach(hwnd);
            if (hook) {
                const LRESULT r = hook(hwnd, msg, wp, lp);
                if (r != kContinue) return r;
            }
            return previous ? CallWindowProcW(previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
        }
        case WM_MOVE:
        case WM_EXITSIZEMOVE:
            RefreshRect();
            return Default(hwnd, msg, wp, lp);
        case WM_SIZE:
            RefreshRect();
            OnSize(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return HookOr(hwnd, msg, wp, lp, 0);
        case WM_ACTIVATE:
            OnActivate(wp);
            return Default(hwnd, msg, wp, lp);
        case WM_KILLFOCUS:
            OnKillFocus();
            return Default(hwnd, msg, wp, lp);
        case WM_SETTEXT: {
            const LRESULT r = Default(hwnd, msg, wp, lp);
            DrawTitle(lp ? reinterpret_cast<const wchar_t*>(lp) : L"", true, true);
            return r;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (WindowEntry* e = Entry()) {
                const RECT& r = ps.rcPaint;
                GdiFlush();
                BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, e->composite.Dc(), r.left, r.top, SRCCOPY);
            }
            EndPaint(hwnd, &ps);
            return HookOr(hwnd, msg, wp, lp, 0);
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_CLOSE:
            if (closeAnimation_) RunCloseAnimation();
            return Default(hwnd, msg, wp, lp);
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
            return HookOr(hwnd, msg, wp, lp, 0);
        case WM_WINDOWPOSCHANGING:
            return OnWindowPosChanging(hwnd, wp, lp);
        case WM_NCCALCSIZE:
            return wp ? 1 : Default(hwnd, msg, wp, lp);
        case WM_NCACTIVATE:
            if (!wp) return 1;
            if (IsIconic(hwnd)) return Default(hwnd, msg, wp, lp);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(wp, lp);
            return Default(hwnd, msg, wp, lp);
        case WM_KEYUP:
            OnKeyUp(wp, lp);
            return Default(hwnd, msg, wp, lp);
        case WM_CHAR:
            OnChar(wp, lp);
            return Default(hwnd, msg, wp, lp);
        case WM_SYSKEYDOWN:
            OnAccessKey(static_cast<wchar_t>(wp));
            return Default(hwnd, msg, wp, lp);
        case WM_COMMAND:
            SendMessageW(hwnd, WM_SYSCOMMAND, wp, 0);
            return Default(hwnd, msg, wp, lp);
        case WM_TIMER:
            OnTimer(wp, lp);
            return Default(hwnd, msg, wp, lp);
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            OnButtonMessage(msg, wp, lp);
            return Default(hwnd, msg, wp, lp);
        case WM_LBUTTONDBLCLK:
            // A double-click is a press the toolkit marks as its own.
            SendMessageW(hwnd, WM_LBUTTONDOWN, static_cast<WPARAM>(kSynthesized), lp);
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return Default(hwnd, msg, wp, lp);
        case WM_MOUSEWHEEL:
            RouteWheel(msg, wp, lp);
            return Default(hwnd, msg, wp, lp);
        case kMsgSetAccessKey:
            return SetAccessKey(static_cast<int>(wp), static_cast<wchar_t>(lp));
        case kMsgGetBackground:
            return reinterpret_cast<LRESULT>(background_.GetHandle());
        case kMsgGetThemeColor:
            return static_cast<LRESULT>(themeColor_);
        default:
            return Default(hwnd, msg, wp, lp);
    }
}

void UiWindow::OnSize(int width, int height) {
    if (width == 0 && height == 0) return;
    WindowEntry* e = Entry();
    if (!e) return;
    width_ = width;
    height_ = height;
    e->background.Create(e->windowDc, width, height);
    if (e->Layered()) e->layered.Create(e->windowDc, width, height);
    if (callbacks_.onResized) {
        const ResizeCallback cb = callbacks_.onResized;
        cb(hwnd_, width, height);
    }
    Redraw(std::nullopt, themeColor_, false);
}

void UiWindow::OnTimer(UINT_PTR id, LPARAM time) {
    if (id == kWindowFadeTimer) {
        OnFadeTick();
        return;
    }
    if (suspended_) return;
    const int position = static_cast<int>(HIWORD(static_cast<DWORD>(id)));
    // A timer started before this window moved down in the registry still carries its old
    // index: it would never be killed under the new one, so it ends here.
    if (static_cast<int>(LOWORD(static_cast<DWORD>(id))) != windowIndex_) {
        KillTimer(hwnd_, id);
        if (ControlRecord* r = RecordAt(windowIndex_, position)) BlendRect(r->bounds, 255);
        return;
    }
    if (IsValidIndex(windowIndex_, position, true))
        SendControlMessage(windowIndex_, position, hwnd_, WM_TIMER, id, time, 1);
}

void UiWindow::OnActivate(WPARAM wp) {
    if (!RecordAt(windowIndex_, focused_)) return;
    if (LOWORD(wp) == WA_INACTIVE) {
        Repaint(focused_, kPaintFocusLost);
        CallControl(callbacks_.onFocusLost, focused_);
    } else {
        Repaint(focused_, kPaintNormal);
        CallControl(callbacks_.onFocusGained, focused_);
    }
}

void UiWindow::OnKillFocus() {
    ControlRecord* r = RecordAt(windowIndex_, focused_);
    if (!r || GetActiveWindow() != hwnd_ || r->control->Disabled()) return;
    const int position = focused_;
    focused_ = 0;
    Repaint(position, kPaintFocusLost);
}

void UiWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (!info) return;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    info->ptMaxSize = {work.right - work.left + 1, work.bottom - work.top};
    info->ptMaxPosition = {work.left, work.top};
    const int buttons = CaptionButtonCount(captionFlags_);
    info->ptMinTrackSize = {buttons * 28 + ((captionFlags_ & kCaptionClose) ? 11 : 0) + 40, 40};
}

LRESULT UiWindow::OnWindowPosChanging(HWND hwnd, WPARAM wp, LPARAM lp) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
    // The system marks a change of show state with bit 15; such a show starts off screen.
    if (pos && static_cast<short>(pos->flags) < 0 && !(pos->flags & SWP_NOMOVE) && (pos->flags & SWP_SHOWWINDOW)) {
        pos->x = GetSystemMetrics(SM_CXSCREEN) - pos->cx;
        pos->y = GetSystemMetrics(SM_CYSCREEN);
        return HookOr(hwnd, WM_WINDOWPOSCHANGING, wp, lp, 0);
    }
    return Default(hwnd, WM_WINDOWPOSCHANGING, wp, lp);
}

int UiWindow::Alpha(std::optional<int> value) {
    WindowEntry* e = Entry();
    if (!e) return -1;
    if (value && e->Layered()) {
        e->alpha = std::clamp(*value, 0, 255);
        Redraw(std::nullopt, themeColor_, false);
    }
    return e->alpha;
}

int UiWindow::StretchBackground(std::optional<int> value) {
    WindowEntry* e = Entry();
    if (!e) return 0;
    if (value && *value != e->stretch) {
        e->stretch = *value;
        Redraw(std::nullopt, themeColor_, false);
    }
    return e->stretch;
}

int UiWindow::CornerSize(std::optional<int> value, bool redraw) {
    if (value) {
        cornerSize_ = *value;
        if (redraw) Redraw(std::nullopt, themeColor_, false);
    }
    return cornerSize_;
}

int UiWindow::ControlFading(std::optional<int> value) {
    WindowEntry* e = Entry();
    if (!e) return 0;
    if (value) e->controlFading = *value;
    return e->controlFading;
}

int UiWindow::Resizable(std::optional<int> value) {
    if (value) fixedSize_ = *value ? 0 : 1;
    return fixedSize_ ? 0 : 1;
}

int UiWindow::Draggable(std::optional<int> value) {
    if (value) dragFlags_ = *value;
    return (dragFlags_ & 1) ? 0 : 1;
}

void UiWindow::CaptionButtonCommand(int flag, int command, const std::wstring& text, int value) {
    for (auto& button : captionButtons_) {
        if (button->ButtonType() != flag) continue;
        if (command == 1) button->Disabled(value);
        else if (command == 2) button->TipText(text);
        else if (command == 3) button->Left(value);
    }
}

int UiWindow::CaptionButtonFlag(int id) const {
    for (const auto& button : captionButtons_)
        if (button->GetId() == id) return button->ButtonType();
    return 0;
}

}  // namespace ui
