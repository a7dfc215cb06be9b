#include "toolkit/controls/UiSlider.h"

#include "toolkit/ControlPaint.h"
#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/ToolkitResources.h"
#include "toolkit/UiWindow.h"
#include "toolkit/Toolkit.h"

namespace ui {

namespace {

float ClampPercent(float v) {
    if (v > 100 + kTolerance) return 100;
    if (v < -kTolerance) return 0;
    return v;
}

POINT CursorInWindow(HWND hwnd) {
    POINT p{};
    GetCursorPos(&p);
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {p.x - r.left, p.y - r.top};
}

}  // namespace

int UiSlider::Create(HWND parent, const Box& bounds, float value, float secondaryValue, const SliderStyle& style) {
    Box b = bounds;
    if (b.height < 12) b.height = 12;
    trackHeight_ = style.trackHeight;
    value_ = ClampPercent(value);
    secondaryValue_ = ClampPercent(secondaryValue);
    if (style.barColour1) barColour1_ = *style.barColour1;
    if (style.barColour2) barColour2_ = *style.barColour2;
    if (style.secondaryColour) secondaryColour_ = *style.secondaryColour;
    trackFill_ = style.trackFill;
    if (style.trackBorder) trackBorder_ = *style.trackBorder;
    interactive_ = style.interactive;
    thumb_.LoadFromMemory(style.thumbPng ? *style.thumbPng : ResourceBytes(IDR_SLIDER_THUMB));
    thumbHot_.LoadFromMemory(style.thumbHotPng ? *style.thumbHotPng : ResourceBytes(IDR_SLIDER_THUMB_HOT));
    if (style.rounded) {
        rounded_ = *style.rounded;
    } else {
        UiWindow* host = HostAt(FindWindowIndex(parent));
        rounded_ = !host || host->CornerSize() != 0;
    }
    UiControl::Create(parent, b, 12, style.visible ? 1 : 0, 1);
    if (style.visible) Redraw();
    return GetId();
}

float UiSlider::Value(std::optional<float> percent) {
    if (percent && *percent != value_) {
        value_ = ClampPercent(*percent);
        Redraw();
    }
    return value_;
}

float UiSlider::SecondaryValue(std::optional<float> percent) {
    if (percent && *percent != secondaryValue_) {
        secondaryValue_ = ClampPercent(*percent);
        Redraw();
    }
    return secondaryValue_;
}

void UiSlider::ValueFromCursor(int windowIndex) {
    UiWindow* host = HostAt(windowIndex);
    if (!host) return;
    const Box b = GetBounds();
    const float x = static_cast<float>(CursorInWindow(host->Hwnd()).x) - b.left - 9;
    const float span = b.width - 18;
    // A slider narrower than the thumb margins has only its two ends.
    value_ = span > kTolerance ? ClampPercent(x / span * 100) : (x > 0 ? 100.0f : 0.0f);
}

void UiSlider::UserChange(int windowIndex, int position) {
    ValueFromCursor(windowIndex);
    Paint(windowIndex, position, GetBounds(), 1);
    if (changeHandler_) {
        const SliderChangeHandler handler = changeHandler_;
        handler(static_cast<int>(value_), 0);
    }
}

void UiSlider::Paint(int windowIndex, int position, const Box& bounds, int mode) {
    if (!BeginControlPaint(windowIndex, position, bounds, 0, mode)) return;
    ++paints_;
    GpGraphics* g = ControlGraphics(windowIndex);
    const float thumbWidth = static_cast<float>(thumb_.Width());
    const float thumbHeight = static_cast<float>(thumb_.Height());
    Box track = interactive_ ? InflateRect(bounds, thumbWidth / 2, 2, -thumbWidth, -4) : InflateRect(bounds, 2, 2, -4, -4);
    if (track.height > static_cast<float>(trackHeight_) + kTolerance) {
        track.top += (track.height - static_cast<float>(trackHeight_)) / 2;
        track.height = static_cast<float>(trackHeight_);
    }
    const Box insetTrack = InflateRect(track, 1, 1, -2, -2);
    const Argb highlight = ColorToArgb(0xFFFFFF, 90);
    if (rounded_) {
        RoundRect(g, track, 7, trackFill_, trackBorder_);
        RoundRect(g, insetTrack, 6, std::nullopt, highlight);
    } else {
        FillRect(g, track, trackFill_);
        DrawFrameRect(g, track, static_cast<std::int64_t>(trackBorder_));
        DrawFrameRect(g, insetTrack, static_cast<std::int64_t>(highlight));
    }
    const Box barArea = InflateRect(insetTrack, 1, 1, -2, -2);
    const float fullWidth = static_cast<float>(static_cast<int>(barArea.width));
    if (secondaryValue_ > kTolerance) {
        Box second = barArea;
        second.width = fullWidth * secondaryValue_ / 100;
        if (rounded_) RoundRect(g, second, 5, secondaryColour_, std::nullopt);
        else FillRect(g, second, secondaryColour_);
    }
    Box bar = barArea;
    bar.width = fullWidth * value_ / 100;
    if (bar.width > kTolerance) {
        // The gradient spans the whole track and the clip shows the value's part of it, so a
        // colour stays with its place on the track.
        // The bar's clip replaces the paint cycle's for a moment; the cycle's comes back after.
        Gdiplus::GpRegion* saved = nullptr;
        gp::GdipCreateRegion(&saved);
        if (saved) gp::GdipGetClip(g, saved);
        PathPtr clip;
        if (rounded_) {
            clip = RoundRectPath(bar, 3, true);
            SetClipToPath(g, clip.get(), Gdiplus::CombineModeReplace);
            bar.left = track.left + 1;
            bar.width = track.width - 2;
        } else {
            SetClip(g, bar);
            bar.left = track.left + 2;
            bar.width = track.width - 4;
        }
        GradientFill(g, bar, barColour1_, barColour2_, 0);
        GradientFill(g, bar, ColorToArgb(0xFFFFFF, 0), ColorToArgb(0, 60), 1);
        clip.reset();
        if (saved) {
            gp::GdipSetClipRegion(g, saved, Gdiplus::CombineModeReplace);
            gp::GdipDeleteRegion(saved);
        } else {
            ResetClip(g);
        }
    }
    if (interactive_) {
        const Box thumbBox{track.left + track.width * value_ / 100 - thumbWidth / 2,
                           bounds.top + (bounds.height - thumbHeight) / 2, thumbWidth, thumbHeight};
        UiWindow* host = HostAt(windowIndex);
        const POINT at = host ? CursorInWindow(host->Hwnd()) : POINT{-1, -1};
        const bool hot = Contains(thumbBox, static_cast<float>(at.x), static_cast<float>(at.y)) ||
                         (host && host->PressedPosition() == position);
        if (hot) SetCursor(LoadCursorW(nullptr, IDC_HAND));
        const UiImage& picture = hot ? thumbHot_ : thumb_;
        if (!picture.Empty())
            gp::GdipDrawImageRect(g, picture.GetHandle(), thumbBox.left, thumbBox.top, thumbBox.width, thumbBox.height);
    }
    EndControlPaint(windowIndex, position, bounds, 0, mode, 1);
}

LRESULT UiSlider::HandleMessage(HWND, UINT msg, WPARAM, LPARAM, int windowIndex, int position, int mode) {
    switch (msg) {
        case WM_DESTROY:
            thumb_.Dispose();
            thumbHot_.Dispose();
            return 0;
        case kMsgClicked:
            // A disabled slider keeps its value: the check comes before the cursor is read.
            if (interactive_ && !Disabled()) UserChange(windowIndex, position);
            return 0;
        case WM_PAINT:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            break;
        default:
            return 0;
    }
    if (msg != WM_PAINT) {
        if (Disabled() && mode == 1) return 0;
        if (!interactive_ && msg == lastMessage_) return 0;
        UiWindow* host = HostAt(windowIndex);
        if (msg == WM_MOUSEMOVE && host && host->PressedPosition() == position) {
            if (interactive_ && !Disabled()) UserChange(windowIndex, position);
            return 0;
        }
    }
    Paint(windowIndex, position, GetBounds(), mode);
    lastMessage_ = msg;
    return 0;
}

}  // namespace ui
