#include "toolkit/controls/UiImageButton.h"

#include "toolkit/ControlPaint.h"
#include "toolkit/Registry.h"
#include "toolkit/UiWindow.h"

namespace ui {

int UiImageButton::Create(HWND parent, const Box& bounds, std::string_view normalPng,
                          std::optional<std::string_view> hoverPng, std::optional<std::string_view> pressedPng,
                          bool stretch, bool visible) {
    normal_.LoadFromMemory(normalPng);
    hover_.LoadFromMemory(hoverPng.value_or(normalPng));
    pressed_.LoadFromMemory(pressedPng.value_or(normalPng));
    stretch_ = stretch;
    UiControl::Create(parent, bounds, 6, visible ? 1 : 0, 1);
    if (visible) Redraw();
    return GetId();
}

void UiImageButton::SetImages(std::optional<std::string_view> normalPng, std::optional<std::string_view> hoverPng,
                              std::optional<std::string_view> pressedPng) {
    if (normalPng) normal_.LoadFromMemory(*normalPng);
    if (hoverPng) hover_.LoadFromMemory(*hoverPng);
    if (pressedPng) pressed_.LoadFromMemory(*pressedPng);
    Redraw();
}

LRESULT UiImageButton::HandleMessage(HWND, UINT msg, WPARAM wp, LPARAM, int windowIndex, int position, int mode) {
    UiWindow* host = HostAt(windowIndex);
    switch (msg) {
        case WM_DESTROY:
            normal_.Dispose();
            hover_.Dispose();
            pressed_.Dispose();
            return 0;
        case WM_TIMER:
            StepStateFade(windowIndex, GetBounds(), fadeAlpha_, wp);
            return 0;
        case WM_PAINT:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            break;
        default:
            return 0;
    }
    if (msg != WM_PAINT && ((Disabled() && mode == 1) || msg == lastMessage_)) return 0;
    if (msg == WM_MOUSEMOVE && host && host->PressedPosition() == position) return 0;
    const Box bounds = GetBounds();
    if (!BeginControlPaint(windowIndex, position, bounds, fadeAlpha_, mode)) return 0;
    const UiImage* picture = &normal_;
    int start = 102;
    if (msg == WM_MOUSEMOVE) {
        picture = &hover_;
    } else if (msg != WM_PAINT) {
        picture = &pressed_;
        start = 153;
    }
    GpGraphics* g = ControlGraphics(windowIndex);
    if (stretch_) DrawImageFitted(g, *picture, bounds, {}, false);
    else DrawImageAt(g, *picture, bounds.left, bounds.top, 0, false, 0, false, false);
    fadeAlpha_ = start;
    EndControlPaint(windowIndex, position, bounds, 0, mode, 0);
    lastMessage_ = msg;
    return 0;
}

}  // namespace ui
