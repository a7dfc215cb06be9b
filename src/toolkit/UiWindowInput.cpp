// Input routing of a host window: hover, press, capture, click, focus, keys, wheel,
// dragging by empty areas and resizing by the borders.
#include <windowsx.h>

#include <cwctype>

#include "toolkit/Registry.h"
#include "toolkit/Toolkit.h"
#include "toolkit/UiControl.h"
#include "toolkit/UiWindow.h"
#include "toolkit/controls/UiCaptionButton.h"

namespace ui {

namespace {
const wchar_t* CursorId(Cursor c) {
    switch (c) {
        case Cursor::SizeNWSE: return IDC_SIZENWSE;
        case Cursor::SizeNESW: return IDC_SIZENESW;
        case Cursor::SizeNS: return IDC_SIZENS;
        case Cursor::SizeWE: return IDC_SIZEWE;
        default: return IDC_ARROW;
    }
}
bool CtrlHeld() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }
}  // namespace

void UiWindow::Repaint(int position, LPARAM how) {
    if (ControlRecord* r = RecordAt(windowIndex_, position))
        SendControlMessage(windowIndex_, position, r->parent, WM_PAINT, 0, how, 1);
}

void UiWindow::CallControl(const ControlCallback& cb, int position) {
    ControlRecord* r = RecordAt(windowIndex_, position);
    if (!cb || !r) return;
    // The callback may open a box or destroy the window: work from copies.
    const ControlCallback copy = cb;
    const int id = r->id, kind = r->kind;
    UiControl* control = r->control;
    copy(hwnd_, id, control, kind);
}

bool UiWindow::IsIconPosition(int position) const {
    ControlRecord* r = RecordAt(windowIndex_, position);
    return r && icon_ && r->control == icon_.get();
}

void UiWindow::TakeWindowFocus() {
    HWND focus = GetFocus();
    if (focus == hwnd_) return;
    if (focus) SendMessageW(focus, WM_KILLFOCUS, 0, 0);
    SetFocus(hwnd_);
}

void UiWindow::StartDrag() {
    if (dragFlags_ & 1) return;
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void UiWindow::OpenSystemMenu(int x, int y) {
    const HWND hwnd = hwnd_;
    const HMENU menu = systemMenu_;
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (menu) TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, r.left + x + 5, r.top + y + 10, 0, hwnd, nullptr);
    if (IsWindow(hwnd)) SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

bool UiWindow::BorderResize(UINT msg, LPARAM lp) {
    if (msg != WM_MOUSEMOVE && msg != WM_LBUTTONDOWN && msg != WM_RBUTTONDOWN) return false;
    if (fixedSize_ || captured_ || IsZoomed(hwnd_)) return false;
    const BorderZone zone = BorderZoneAt(PointX(lp), PointY(lp), width_, height_);
    if (zone.code == 0) return false;
    SetCursor(LoadCursorW(nullptr, CursorId(zone.cursor)));
    if (hovered_) Repaint(hovered_, 0);
    if (msg == WM_LBUTTONDOWN) SendMessageW(hwnd_, WM_SYSCOMMAND, SC_SIZE + zone.code, lp);
    return true;
}

int UiWindow::RouteMouse(UINT msg, WPARAM wp, LPARAM lp) {
    if (suspended_ || !Entry()) return 0;
    if (BorderResize(msg, lp)) return 0;
    const int x = PointX(lp), y = PointY(lp);
    if (captured_) {
        const int pressed = pressed_;
        if (ControlRecord* r = RecordAt(windowIndex_, pressed))
            SendControlMessage(windowIndex_, pressed, r->parent, msg, wp, lp, 1);
        if (msg != WM_LBUTTONUP) return 0;
        ReleaseCapture();
        const int hit = HitTest(windowIndex_, static_cast<float>(x), static_cast<float>(y));
        captured_ = 0;
        pressed_ = 0;
        if (hit != 0 && hit == pressed) {
            ControlRecord* r = RecordAt(windowIndex_, hit);
            const int id = r->id;
            SendControlMessage(windowIndex_, hit, r->parent, kMsgClicked, 0, 0, 1);
            if (IsIconPosition(hit)) OpenSystemMenu(x, y);
            if (!hwnd_) return 0;
            const int now = FindControlPosition(windowIndex_, id);
            if (now) CallControl(callbacks_.onControlClick, now);
        }
        return hit;
    }
    const int hit = HitTest(windowIndex_, static_cast<float>(x), static_cast<float>(y));
    if (hit != hovered_ && hovered_ != 0) {
        ControlRecord* old = RecordAt(windowIndex_, hovered_);
        if (old && (old->visible & 1)) {
            Repaint(hovered_, kPaintMouseLeft);
            CallControl(callbacks_.onControlLeave, hovered_);
        }
    }
    if (hit != 0) {
        ControlRecord* r = RecordAt(windowIndex_, hit);
        if (!r) return 0;
        const int id = r->id;
        if (msg == WM_LBUTTONDOWN) {
            if (r->takesFocus && !r->control->Disabled()) {
                focusFrame_ = 0;
                captured_ = 1;
                pressed_ = hit;
                SetCapture(hwnd_);
                const int previous = focused_;
                focused_ = hit;
                if (previous != 0 && previous != hit) {
                    ControlRecord* p = RecordAt(windowIndex_, previous);
                    if (p && (p->visible & 1)) {
                        Repaint(previous, kPaintFocusLost);
                        CallControl(callbacks_.onFocusLost, previous);
                    }
                }
                CallControl(callbacks_.onFocusGained, FindControlPosition(windowIndex_, id));
                TakeWindowFocus();
            } else {
                StartDrag();
            }
        }
        const int now = FindControlPosition(windowIndex_, id);
        if (!now) return 0;
        r = RecordAt(windowIndex_, now);
        SendControlMessage(windowIndex_, now, r->parent, msg, wp, lp, 1);
        r = RecordAt(windowIndex_, FindControlPosition(windowIndex_, id));
        if (!r) return 0;
        const int cursor = r->control->Cursor();
        if (cursor != 0 && cursor != 32512)
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(cursor))));
        if (msg == WM_MOUSEMOVE && hit != hovered_) {
            CallControl(callbacks_.onControlEnter, FindControlPosition(windowIndex_, id));
            r = RecordAt(windowIndex_, FindControlPosition(windowIndex_, id));
            if (r && !r->control->TipText().empty()) {
                // A caption button's tip goes through the host's own caption button of that ID.
                UiControl* target = r->control;
                if (r->kind == kKindCaptionButton) {
                    for (auto& b : captionButtons_)
                        if (b->GetId() == id) target = b.get();
                }
                target->SetTooltip(r->control->TipText());
            }
        }
        hovered_ = FindControlPosition(windowIndex_, id);
        return hovered_;
    }
    if (msg == WM_LBUTTONDOWN) {
        TakeWindowFocus();
        StartDrag();
    }
    hovered_ = 0;
    return 0;
}

void UiWindow::OnButtonMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const HWND hwnd = hwnd_;
    if (msg == WM_MOUSEMOVE && !tracking_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        if (TrackMouseEvent(&track)) tracking_ = 1;
    }
    const int hit = RouteMouse(msg, wp, lp);
    if (!hwnd_ || hwnd_ != hwnd) return;
    switch (msg) {
        case WM_LBUTTONDOWN:
            if (hit && static_cast<LONG_PTR>(wp) != kSynthesized) {
                CallControl(callbacks_.onControlLButtonDown, hit);
            } else if (hit) {
                if (ControlRecord* r = RecordAt(windowIndex_, hit)) {
                    const int id = r->id;
                    SendControlMessage(windowIndex_, hit, r->parent, WM_LBUTTONDBLCLK, wp, lp, 1);
                    CallControl(callbacks_.onControlDoubleClick, FindControlPosition(windowIndex_, id));
                }
            } else if (static_cast<LONG_PTR>(wp) == kSynthesized && PointY(lp) <= 24 &&
                       (captionFlags_ & kCaptionMaximize)) {
                SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
                PostMessageW(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
                SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            }
            break;
        case WM_LBUTTONUP:
            if (hit) CallControl(callbacks_.onControlLButtonUp, hit);
            break;
        case WM_RBUTTONDOWN:
            if (hit) {
                if (IsIconPosition(hit)) {
                    const int id = RecordAt(windowIndex_, hit)->id;
                    OpenSystemMenu(PointX(lp), PointY(lp));
                    if (!hwnd_) return;
                    CallControl(callbacks_.onControlRButtonDown, FindControlPosition(windowIndex_, id));
                } else {
                    CallControl(callbacks_.onControlRButtonDown, hit);
                }
            }
            break;
        case WM_RBUTTONUP:
            if (hit) CallControl(callbacks_.onControlRButtonUp, hit);
            break;
        default: break;
    }
}

void UiWindow::OnMouseLeave() {
    tracking_ = 0;
    if (hovered_) {
        const int position = hovered_;
        hovered_ = 0;
        Repaint(position, kPaintMouseLeft);
    }
    // Our own capture is the pressed control's: ending it here would lose its click.
    if (!captured_) ReleaseCapture();
}

LRESULT UiWindow::RouteWheel(UINT msg, WPARAM wp, LPARAM lp) {
    WindowEntry* e = Entry();
    if (!e) return 0;
    const int x = PointX(lp) - e->windowRect.left, y = PointY(lp) - e->windowRect.top;
    const int hit = HitTest(windowIndex_, static_cast<float>(x), static_cast<float>(y));
    if (!hit) return 0;
    return SendControlMessage(windowIndex_, hit, hwnd_, msg, wp, lp, 0);
}

LRESULT UiWindow::OnKeyDown(WPARAM vk, LPARAM lp) {
    ControlRecord* r = RecordAt(windowIndex_, focused_);
    if (!r) return 0;
    const int id = r->id;
    if (callbacks_.keyDownHook) {
        const KeyHook hook = callbacks_.keyDownHook;
        const LRESULT result = hook(hwnd_, id, vk, lp);
        if (result != kContinue) return result;
    }
    int position = FindControlPosition(windowIndex_, id);
    r = RecordAt(windowIndex_, position);
    if (!r) return 0;
    if (r->kind == kKindTextBox) {
        const bool clipboardKey = vk == 'A' || vk == 'C' || vk == 'V' || vk == 'X';
        const bool moveKey = vk == VK_END || vk == VK_HOME || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_DELETE;
        if ((clipboardKey && CtrlHeld()) || moveKey)
            SendControlMessage(windowIndex_, position, r->parent, WM_CHAR, vk, kSynthesized, 1);
    } else if (vk == VK_TAB && CtrlHeld()) {
        if (r->kind == kKindTabbed) SendControlMessage(windowIndex_, position, r->parent, kMsgCtrlTab, vk, lp, 1);
    } else if ((vk == VK_RETURN || vk == VK_SPACE) && (r->visible & 1) && !r->control->Disabled()) {
        SendControlMessage(windowIndex_, position, r->parent, kMsgClicked, 0, 0, 1);
        CallControl(callbacks_.onControlClick, FindControlPosition(windowIndex_, id));
        Repaint(FindControlPosition(windowIndex_, id), kPaintNormal);
    }
    position = FindControlPosition(windowIndex_, id);
    r = RecordAt(windowIndex_, position);
    if (!r) return 0;
    return SendControlMessage(windowIndex_, position, r->parent, WM_KEYDOWN, vk, lp, 1);
}

void UiWindow::CycleFocus() {
    WindowEntry* e = Entry();
    if (!e || e->controls.empty()) return;
    const int count = static_cast<int>(e->controls.size());
    const int start = focused_ >= 1 && focused_ <= count ? focused_ : 0;
    int found = 0;
    // One full round at most: with no eligible control the focus stays where it is.
    for (int step = 1; step <= count; ++step) {
        const int p = (start + step - 1) % count + 1;
        const ControlRecord& r = e->controls[static_cast<size_t>(p - 1)];
        if ((r.visible & 1) && !r.control->Disabled() && r.takesFocus && r.kind != kKindCaptionButton &&
            !IsIconPosition(p)) {
            found = p;
            break;
        }
    }
    if (!found) return;
    const int foundId = e->controls[static_cast<size_t>(found - 1)].id;
    if (ControlRecord* old = RecordAt(windowIndex_, focused_); old && (old->visible & 1)) {
        Repaint(focused_, kPaintFocusLost);
        CallControl(callbacks_.onFocusLost, focused_);
    }
    focused_ = FindControlPosition(windowIndex_, foundId);
    if (!focused_) return;
    focusFrame_ = 1;
    Repaint(focused_, kPaintNormal);
    CallControl(callbacks_.onFocusGained, focused_);
    TakeWindowFocus();
}

void UiWindow::OnKeyUp(WPARAM vk, LPARAM lp) {
    if (vk == VK_TAB) {
        if (!CtrlHeld()) CycleFocus();
        return;
    }
    ControlRecord* r = RecordAt(windowIndex_, focused_);
    if (!r) return;
    const int id = r->id;
    if (callbacks_.keyUpHook) {
        const KeyHook hook = callbacks_.keyUpHook;
        if (hook(hwnd_, id, vk, lp) != kContinue) return;
    }
    const int position = FindControlPosition(windowIndex_, id);
    if (ControlRecord* now = RecordAt(windowIndex_, position))
        SendControlMessage(windowIndex_, position, now->parent, WM_KEYUP, vk, lp, 1);
}

LRESULT UiWindow::OnChar(WPARAM ch, LPARAM lp) {
    ControlRecord* r = RecordAt(windowIndex_, focused_);
    if (!r) return 0;
    const int id = r->id;
    if (callbacks_.charHook) {
        const KeyHook hook = callbacks_.charHook;
        const LRESULT result = hook(hwnd_, id, ch, lp);
        if (result != kContinue) return result;
    }
    const int position = FindControlPosition(windowIndex_, id);
    ControlRecord* now = RecordAt(windowIndex_, position);
    return now ? SendControlMessage(windowIndex_, position, now->parent, WM_CHAR, ch, lp, 1) : 0;
}

int UiWindow::SetAccessKey(int id, wchar_t ch) {
    for (auto it = accessKeys_.begin(); it != accessKeys_.end(); ++it) {
        if (it->second != id) continue;
        if (ch == 0) accessKeys_.erase(it);
        else it->first = ch;
        return 1;
    }
    if (ch != 0) accessKeys_.emplace_back(ch, id);
    return 1;
}

void UiWindow::OnAccessKey(wchar_t ch) {
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(ch));
    const auto keys = accessKeys_;
    for (const auto& [key, id] : keys) {
        if (static_cast<wchar_t>(std::towupper(key)) != wanted) continue;
        const int position = FindControlPosition(windowIndex_, id);
        ControlRecord* r = RecordAt(windowIndex_, position);
        if (!r || !(r->visible & 1) || r->control->Disabled()) continue;
        SendControlMessage(windowIndex_, position, r->parent, kMsgClicked, 0, 0, 1);
        CallControl(callbacks_.onControlClick, FindControlPosition(windowIndex_, id));
        Repaint(FindControlPosition(windowIndex_, id), kPaintNormal);
        return;
    }
}

void UiWindow::FocusControl(int id) {
    const int position = FindControlPosition(windowIndex_, id);
    ControlRecord* r = RecordAt(windowIndex_, position);
    if (!r || r->control->Disabled() || !r->takesFocus) return;
    const int previous = focused_;
    focused_ = position;
    if (previous != 0 && previous != position) {
        ControlRecord* p = RecordAt(windowIndex_, previous);
        if (p && (p->visible & 1)) Repaint(previous, kPaintFocusLost);
    }
    Repaint(FindControlPosition(windowIndex_, id), kPaintNormal);
    hovered_ = FindControlPosition(windowIndex_, id);
}

}  // namespace ui
