#include "toolkit/controls/UiCaptionButton.h"

#include "toolkit/ControlPaint.h"
#include "toolkit/Registry.h"
#include "toolkit/Toolkit.h"
#include "toolkit/UiImage.h"
#include "toolkit/UiWindow.h"

namespace ui {

int UiCaptionButton::Create(HWND parent, const Box& bounds, int buttonType, bool visible) {
    buttonType_ = buttonType;
    UiControl::Create(parent, bounds, kKindCaptionButton, visible ? 1 : 0, 1);
    if (visible) Redraw();
    return GetId();
}

void UiCaptionButton::Paint(HWND hwnd, int windowIndex, int position, int mode, Cell cell, int startAlpha) {
    const Box bounds = GetBounds();
    if (!BeginControlPaint(windowIndex, position, bounds, fadeAlpha_, mode)) return;
    const CaptionCell c = CaptionCellFor(buttonType_, IsZoomed(hwnd) != FALSE);
    const float x = static_cast<float>(c.x + c.stride * static_cast<int>(cell));
    DrawImageFitted(ControlGraphics(windowIndex), CaptionStrip(), bounds, {x, 2, static_cast<float>(c.width), 19}, true);
    fadeAlpha_ = startAlpha;
    EndControlPaint(windowIndex, position, bounds, 0, mode);
}

LRESULT UiCaptionButton::HandleMessage(HWND hwnd, UINT msg, WPARAM, LPARAM, int windowIndex, int position, int mode) {
    UiWindow* host = HostAt(windowIndex);
    switch (msg) {
        case WM_PAINT:
            Paint(hwnd, windowIndex, position, mode, Cell::Normal, 102);
            break;
        case WM_TIMER:
            if (fadeAlpha_ > 254) {
                fadeAlpha_ = 0;
                KillTimer(hwnd, ControlTimerId(windowIndex, position));
            } else {
                fadeAlpha_ += 51;
                BlendControlRect(windowIndex, GetBounds(), fadeAlpha_);
            }
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            if (Disabled()) return 0;
            if ((host && host->PressedPosition() == position) || msg == lastMessage_) break;
            Paint(hwnd, windowIndex, position, 1, Cell::Hover, 102);
            break;
        case WM_LBUTTONDOWN:
            if (Disabled()) return 0;
            if (msg == lastMessage_) break;
            Paint(hwnd, windowIndex, position, 1, Cell::Pressed, 153);
            break;
        case kMsgClicked:
            if (Disabled()) return 0;
            switch (buttonType_) {
                case kCaptionClose: PostMessageW(hwnd, WM_CLOSE, 0, 0); break;
                case kCaptionMaximize:
                    PostMessageW(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
                    break;
                case kCaptionMinimize:
                    if (!IsIconic(hwnd)) PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                    break;
                default: break;
            }
            break;
        default: break;
    }
    lastMessage_ = msg;
    return 0;
}

int UiWindowIcon::Create(HWND parent, const Box& bounds) {
    UiControl::Create(parent, bounds, kKindPictureBox, 1, 1);
    return GetId();
}

LRESULT UiWindowIcon::HandleMessage(HWND, UINT msg, WPARAM, LPARAM, int windowIndex, int position, int mode) {
    if (msg == WM_PAINT && BeginControlPaint(windowIndex, position, GetBounds(), 0, mode))
        EndControlPaint(windowIndex, position, GetBounds(), 1, mode);
    return 0;
}

}  // namespace ui
