#include "toolkit/controls/UiButton.h"

#include "toolkit/ControlPaint.h"
#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/UiWindow.h"

namespace ui {

namespace {

struct StateColours {
    Argb base, gradientTop, gradientBottom, outer, inner;
};

StateColours ColoursOf(int state) {
    constexpr Argb white = 0xFFFFFF, black = 0;
    switch (state) {
        case UiButton::kDisabled:
            return {ColorToArgb(RGB(96, 96, 96), 60), ColorToArgb(black, 0), ColorToArgb(black, 0),
                    ColorToArgb(black, 50), ColorToArgb(white, 40)};
        case UiButton::kHover:
            return {ColorToArgb(white, 170), ColorToArgb(white, 180), ColorToArgb(RGB(0, 136, 255), 110),
                    ColorToArgb(RGB(0, 96, 192), 110), ColorToArgb(white, 30)};
        case UiButton::kPressed:
            return {ColorToArgb(white, 170), ColorToArgb(black, 60), ColorToArgb(white, 0), ColorToArgb(black, 80),
                    ColorToArgb(white, 60)};
        case UiButton::kFocused:
            return {ColorToArgb(white, 170), ColorToArgb(white, 180), ColorToArgb(RGB(0, 136, 255), 90),
                    ColorToArgb(RGB(0, 96, 192), 110), ColorToArgb(white, 60)};
        default:
            return {ColorToArgb(white, 170), ColorToArgb(white, 180), ColorToArgb(black, 60), ColorToArgb(black, 80),
                    ColorToArgb(white, 60)};
    }
}

}  // namespace

int UiButton::Create(HWND parent, const std::wstring& caption, const Box& bounds, const ButtonStyle& style) {
    caption_ = caption;
    if (style.textColour) textColour_ = *style.textColour;
    textEffect_ = style.textEffect;
    font_.Select(style.fontName, style.fontSize, style.fontStyle);
    if (style.rounded) {
        rounded_ = *style.rounded;
    } else {
        const int index = FindWindowIndex(parent);
        UiWindow* host = HostAt(index);
        rounded_ = !host || host->CornerSize() != 0;
    }
    UiControl::Create(parent, bounds, 2, style.visible ? 1 : 0, 1);
    RegisterAccessKey();
    if (style.visible) Redraw();
    return GetId();
}

std::wstring UiButton::Caption(std::optional<std::wstring> value) {
    if (value) {
        caption_ = *value;
        RegisterAccessKey();
        Redraw();
    }
    return caption_;
}

void UiButton::RegisterAccessKey() {
    accessKeyRegistered_ = false;
    const size_t amp = caption_.find(L'&');
    const HWND host = Host();
    // A trailing "&" marks nothing.
    if (amp == std::wstring::npos || amp + 1 >= caption_.size() || !host || GetId() == 0) return;
    accessKeyRegistered_ =
        SendMessageW(host, kMsgSetAccessKey, static_cast<WPARAM>(GetId()), static_cast<LPARAM>(caption_[amp + 1])) == 1;
}

void UiButton::Draw(GpGraphics* g, int state) const {
    const StateColours c = ColoursOf(state);
    const Box bounds = GetBounds();
    const Box inner = InflateRect(bounds, 1, 1, -2, -2);
    PathPtr clip;
    if (rounded_) {
        clip = RoundRectPath(inner, 3, true);
        SetClipToPath(g, clip.get(), Gdiplus::CombineModeReplace);
    }
    FillRect(g, bounds, c.base);
    GradientFill(g, bounds, c.gradientTop, c.gradientBottom, 1);
    if (rounded_) {
        clip.reset();
        ResetClip(g);
        RoundRect(g, bounds, 7, std::nullopt, c.outer);
        RoundRect(g, inner, 6, std::nullopt, c.inner);
    } else {
        DrawFrameRect(g, bounds, static_cast<std::int64_t>(c.outer));
        DrawFrameRect(g, inner, static_cast<std::int64_t>(c.inner));
    }
    Box text = bounds;
    if (state == kPressed) {
        text.left += 1;
        text.top += 1;
    }
    TextOptions o;
    o.horizontal = 4;
    o.trimming = 3;
    o.hotkeyPrefix = 1;
    o.formatFlags = 4096;
    o.effect = textEffect_;
    DrawTextEx(text, g, caption_, font_.Get(), state == kDisabled ? ColorToArgb(0, 90) : textColour_, o);
}

LRESULT UiButton::HandleMessage(HWND, UINT msg, WPARAM wp, LPARAM, int windowIndex, int position, int mode) {
    UiWindow* host = HostAt(windowIndex);
    switch (msg) {
        case WM_DESTROY:
            font_.Release();
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
    const bool disabled = Disabled() != 0;
    if (msg != WM_PAINT) {
        if ((disabled && mode == 1) || msg == lastMessage_) return 0;
        if (msg == WM_MOUSEMOVE && host && host->PressedPosition() == position) return 0;
    }
    int state = kNormal;
    int alpha = 204;
    if (disabled) {
        state = kDisabled;
    } else if (msg == WM_PAINT) {
        state = host && host->FocusedPosition() == position ? kFocused : kNormal;
    } else if (msg == WM_MOUSEMOVE) {
        state = kHover;
        alpha = 153;
    } else {
        state = kPressed;
    }
    fadeAlpha_ = alpha;
    const Box bounds = GetBounds();
    if (BeginControlPaint(windowIndex, position, bounds, fadeAlpha_, mode)) {
        Draw(ControlGraphics(windowIndex), state);
        lastState_ = state;
        EndControlPaint(windowIndex, position, bounds, fadeAlpha_, mode, 0);
    }
    lastMessage_ = msg;
    return 0;
}

}  // namespace ui
