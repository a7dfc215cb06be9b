#include "toolkit/controls/UiLabel.h"

#include "toolkit/ControlPaint.h"
#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"

namespace ui {

namespace {
// -1 stands for "no colour", drawn as fully transparent black.
Argb FillOrClear(Argb c) { return c == static_cast<Argb>(-1) ? 0 : c; }

// Any of the four gradient directions (the shared routine knows only the first two); like it,
// one pixel short of the right and bottom edges.
void FillBackground(GpGraphics* g, const Box& r, Argb from, Argb to, int mode) {
    if (mode < 0 || mode > 3) mode = 1;
    const Gdiplus::RectF rect = ToGp(r);
    Gdiplus::GpLineGradient* brush = nullptr;
    if (gp::GdipCreateLineBrushFromRect(&rect, from, to, static_cast<Gdiplus::LinearGradientMode>(mode),
                                        Gdiplus::WrapModeTileFlipXY, &brush) != Gdiplus::Ok)
        return;
    BrushPtr owner(brush);
    gp::GdipFillRectangle(g, brush, r.left, r.top, r.width - 1, r.height - 1);
}
}  // namespace

UiLabel::~UiLabel() = default;

int UiLabel::Create(HWND parent, const std::wstring& text, const Box& bounds, LabelStyle* style) {
    LabelStyle defaults;
    LabelStyle& s = style ? *style : defaults;
    text_ = text;
    if (s.textColour) textColour_ = *s.textColour;
    if (s.fillMode) fillMode_ = *s.fillMode;
    if (s.fillColour1) fillColour1_ = *s.fillColour1;
    if (s.fillColour2) fillColour2_ = *s.fillColour2;
    if (s.alignment) alignment_ = *s.alignment;
    if (s.formatFlags) formatFlags_ = *s.formatFlags;
    trimming_ = s.trimming;
    hotkeyPrefix_ = s.hotkeyPrefix;
    textEffect_ = s.textEffect;
    frameStyle_ = s.frameStyle;
    const bool ownFont = s.fontName || s.fontSize || s.fontStyle;
    const std::wstring family = font_.Select(s.fontName, s.fontSize, s.fontStyle);
    if (ownFont) s.fontName = family;
    UiControl::Create(parent, bounds, 3, s.visible ? 1 : 0, 0);
    if (s.visible) Redraw();
    return GetId();
}

std::wstring UiLabel::Text(std::optional<std::wstring> value) {
    if (value) {
        text_ = *value;
        Redraw();
    }
    return text_;
}

void UiLabel::SetTextColour(Argb colour) {
    textColour_ = colour;
    Redraw();
}

bool UiLabel::AutoContrast(std::optional<bool> value) {
    if (value) autoContrast_ = *value;
    return autoContrast_;
}

Argb UiLabel::FillColour1(std::optional<Argb> value) {
    if (value) {
        fillColour1_ = *value;
        Redraw();
    }
    return fillColour1_;
}

Argb UiLabel::FillColour2(std::optional<Argb> value) {
    if (value) {
        fillColour2_ = *value;
        Redraw();
    }
    return fillColour2_;
}

int UiLabel::FillMode(std::optional<int> value) {
    if (value) {
        fillMode_ = *value;
        Redraw();
    }
    return fillMode_;
}

void UiLabel::ChooseContrastColour(int windowIndex, const Box& r) {
    WindowEntry* e = EntryAt(windowIndex);
    if (!e || !e->background.Valid()) return;
    GdiFlush();
    // Three samples across the middle, as window titles choose their colour.
    const int y = static_cast<int>(r.top + r.height / 2);
    bool allDark = true;
    for (float at : {0.2f, 0.5f, 0.8f}) {
        const COLORREF c = ::GetPixel(e->background.Dc(), static_cast<int>(r.left + r.width * at), y);
        if (!IsDark(GetRValue(c), GetGValue(c), GetBValue(c))) allDark = false;
    }
    const int alpha = static_cast<int>(textColour_ >> 24);
    textColour_ = (static_cast<Argb>(alpha) << 24) | (allDark ? 0xFFFFFFu : 0u);
}

void UiLabel::Paint(int windowIndex, int position, int mode) {
    const Box bounds = GetBounds();
    if (!BeginControlPaint(windowIndex, position, bounds, 0, mode)) return;
    GpGraphics* g = ControlGraphics(windowIndex);
    if (frameStyle_ != 0) DrawFrameRect(g, bounds, frameStyle_);
    if (fillMode_ != -1) FillBackground(g, bounds, FillOrClear(fillColour1_), FillOrClear(fillColour2_), fillMode_);
    if (!text_.empty()) {
        const Box inner{bounds.left + 2, bounds.top + 2, bounds.width - 4, bounds.height - 4};
        if (autoContrast_) ChooseContrastColour(windowIndex, inner);
        TextOptions o;
        o.horizontal = alignment_;
        o.trimming = trimming_;
        o.hotkeyPrefix = hotkeyPrefix_;
        o.formatFlags = formatFlags_;
        o.effect = textEffect_;
        DrawTextEx(inner, g, text_, font_.Get(), textColour_, o);
    }
    EndControlPaint(windowIndex, position, bounds, 0, mode, mode == 1 ? 1 : 0);
}

LRESULT UiLabel::HandleMessage(HWND, UINT msg, WPARAM, LPARAM, int windowIndex, int position, int mode) {
    if (msg == WM_DESTROY) font_.Release();
    else if (msg == WM_PAINT) Paint(windowIndex, position, mode);
    return 0;
}

}  // namespace ui
