// Painting of a host window: the skin into the background buffer, controls into the
// composite buffer, presentation to the screen, the fade-in and the show and close animations.
#include <algorithm>
#include <cmath>

#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/Toolkit.h"
#include "toolkit/UiControl.h"
#include "toolkit/UiWindow.h"
#include "toolkit/controls/UiCaptionButton.h"

namespace ui {

namespace {

Box Inner(int w, int h, int m) {
    return {static_cast<float>(m), static_cast<float>(m), static_cast<float>(w - 2 * m), static_cast<float>(h - 2 * m)};
}

BLENDFUNCTION ConstantAlpha(int alpha) { return {AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), 0}; }

// Colour-matrix attributes that scale a picture's alpha by alpha / 255.
AttributesPtr AlphaAttributes(int alpha) {
    GpImageAttributes* attributes = nullptr;
    if (gp::GdipCreateImageAttributes(&attributes) != Gdiplus::Ok) return nullptr;
    Gdiplus::ColorMatrix matrix{};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = static_cast<float>(alpha) / 255.0f;
    gp::GdipSetImageAttributesColorMatrix(attributes, Gdiplus::ColorAdjustTypeDefault, TRUE, &matrix, nullptr,
                                          Gdiplus::ColorMatrixFlagsDefault);
    return AttributesPtr(attributes);
}

// Makes the margin outside inner transparent again, as far as the current clip reaches. GDI+
// would clear the whole composite buffer (the largest window size) pixel by pixel to do it.
void ClearOutside(DibBuffer& buffer, GpGraphics* g, const IntBox& inner) {
    Gdiplus::RectF clip{};
    if (gp::GdipGetClipBounds(g, &clip) != Gdiplus::Ok) return;
    const auto round = [](float v) { return static_cast<int>(std::floor(std::clamp(v, -1e7f, 1e7f) + 0.5f)); };
    const int cl = std::max(round(clip.X), 0), ct = std::max(round(clip.Y), 0);
    const int cr = std::min(round(clip.X + clip.Width), buffer.Width());
    const int cb = std::min(round(clip.Y + clip.Height), buffer.Height());
    if (cr <= cl || cb <= ct) return;
    const int il = inner.left, it = inner.top, ir = inner.left + inner.width, ib = inner.top + inner.height;
    auto clear = [&](int l, int t, int r, int b) {
        l = std::max(l, cl), t = std::max(t, ct), r = std::min(r, cr), b = std::min(b, cb);
        if (r > l && b > t) buffer.Clear(l, t, r - l, b - t, 0x00FFFFFF);
    };
    clear(cl, ct, cr, it);
    clear(cl, ib, cr, cb);
    clear(cl, it, il, ib);
    clear(ir, it, cr, ib);
}

// A W × H surface for the animation frames.
struct Scratch {
    DibBuffer buffer;
    void Clear() { buffer.ClearRect(0, 0, buffer.Width(), buffer.Height(), 0); }
};

}  // namespace

void UiWindow::PresentLayered(HDC source, int width, int height, const IntBox* dirty) {
    SIZE size{width, height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiFlush();
    // A control's repaint hands over only its own rectangle: the system then copies and
    // composes that part alone instead of the whole window. Systems before Vista have no
    // such call and take the whole picture.
    using IndirectFn = BOOL(WINAPI*)(HWND, const UPDATELAYEREDWINDOWINFO*);
    static const auto indirect = reinterpret_cast<IndirectFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindowIndirect")));
    if (dirty && indirect) {
        const RECT r{dirty->left, dirty->top, dirty->left + dirty->width, dirty->top + dirty->height};
        UPDATELAYEREDWINDOWINFO info{};
        info.cbSize = sizeof(info);
        info.psize = &size;
        info.hdcSrc = source;
        info.pptSrc = &origin;
        info.pblend = &blend;
        info.dwFlags = ULW_ALPHA;
        info.prcDirty = &r;
        if (indirect(hwnd_, &info)) return;
    }
    UpdateLayeredWindow(hwnd_, nullptr, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
}

void UiWindow::PresentAll() { PresentRect({0, 0, width_, height_}); }

void UiWindow::PresentRect(const IntBox& r) {
    WindowEntry* e = Entry();
    if (!e || !e->composite.Valid()) return;
    GdiFlush();
    if (e->Layered()) {
        if (!e->layered.Valid()) return;
        BitBlt(e->layered.Dc(), r.left, r.top, r.width, r.height, e->composite.Dc(), r.left, r.top, SRCCOPY);
        PresentLayered(e->layered.Dc(), width_, height_, &r);
    } else {
        BitBlt(e->windowDc, r.left, r.top, r.width, r.height, e->composite.Dc(), r.left, r.top, SRCCOPY);
    }
}

void UiWindow::BlendRect(const Box& rect, int alpha) {
    WindowEntry* e = Entry();
    if (!e || !e->composite.Valid()) return;
    const IntBox r = Truncate(rect);
    if (r.width <= 0 || r.height <= 0) return;
    GdiFlush();
    HDC target = e->Layered() ? e->layered.Dc() : e->windowDc;
    if (!target) return;
    AlphaBlend(target, r.left, r.top, r.width, r.height, e->composite.Dc(), r.left, r.top, r.width, r.height,
               ConstantAlpha(alpha));
    if (e->Layered()) PresentLayered(e->layered.Dc(), width_, height_, &r);
}

bool UiWindow::Redraw(std::optional<std::string_view> picture, std::optional<ColorRef> color, bool fade) {
    WindowEntry* e = Entry();
    if (!e || !e->windowDc) return false;
    suspended_ = 1;
    if (picture) background_.LoadFromMemory(*picture);
    if (color && *color != static_cast<ColorRef>(-1))
        themeColor_ = *color;
    else if (!background_.Empty())
        themeColor_ = PictureColor();
    const int m = Margin();
    GpGraphics* bg = e->background.Graphics();
    if (bg) DrawBackground(m);
    if (callbacks_.onBackgroundPainted) {
        const PaintCallback cb = callbacks_.onBackgroundPainted;
        cb(hwnd_, bg, e->background.Dc(), width_, height_);
    }
    GdiFlush();
    BitBlt(e->composite.Dc(), 0, 0, width_, height_, e->background.Dc(), 0, 0, SRCCOPY);
    GdiFlush();
    if (cornerSize_ != 1) DrawCaption(m);
    if (callbacks_.onCaptionPainted) {
        const PaintCallback cb = callbacks_.onCaptionPainted;
        cb(hwnd_, bg, e->background.Dc(), width_, height_);
    }
    RepaintControls(0, false, 0);
    if (cornerSize_ != 1) {
        if (!e->Layered()) SetRoundRegion(m);
        GpGraphics* g = e->composite.Graphics();
        DrawFrame(g, width_, height_, m, cornerSize_ != 0);
        if (e->Layered() && m > 0) DrawShadow(g, Inner(width_, height_, m), cornerSize_ != 0, 0x000000);
    }
    if (fade) {
        fadeAlpha_ = 0;
        StartTimer(hwnd_, kWindowFadeTimer);
        return true;
    }
    PresentAll();
    suspended_ = 0;
    return true;
}

void UiWindow::SetRoundRegion(int inset) {
    // Setting a region makes the system recompute and repaint the window: only when the
    // shape has changed.
    const RECT shape{width_, height_, inset, cornerSize_};
    if (regionSet_ && EqualRect(&shape, &regionShape_)) return;
    HRGN region = CreateRoundRectRgn(inset, inset, width_ - inset + 1, height_ - inset + 1, cornerSize_, cornerSize_);
    // The window owns the region once it is set.
    if (!region) return;
    if (!SetWindowRgn(hwnd_, region, TRUE)) {
        DeleteObject(region);
        return;
    }
    regionShape_ = shape;
    regionSet_ = true;
}

ColorRef UiWindow::PictureColor() const {
    const int x = static_cast<int>(0.85 * background_.Width()), y = static_cast<int>(0.85 * background_.Height());
    return ArgbToColor(background_.GetPixel(x, y)).color;
}

void UiWindow::DrawBackground(int m) {
    WindowEntry* e = Entry();
    GpGraphics* g = e->background.Graphics();
    const bool havePicture = !background_.Empty();
    const int pw = background_.Width(), ph = background_.Height();
    const Box inner = Inner(width_, height_, m);
    // GDI+ clears pixel by pixel through its generic blender: a hundred times the cost of
    // storing the one value it would have stored.
    if (cornerSize_ == 1) {
        e->background.Clear(0, 0, width_, height_, 0x00FFFFFF);
        if (!havePicture) return;
        const RECT& c = nineGrid_;
        if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0)
            gp::GdipDrawImageRectI(g, background_.GetHandle(), 0, 0, pw, ph);
        else
            DrawNineGrid(g, background_, {0, 0, static_cast<float>(width_), static_cast<float>(height_)}, c);
        return;
    }
    if (!e->Layered()) {
        e->background.Clear(0, 0, width_, height_, ColorToArgb(themeColor_, 255));
        if (!havePicture) return;
        if (e->stretch) {
            gp::GdipDrawImageRectRect(g, background_.GetHandle(), inner.left, inner.top, inner.width, inner.height, 0,
                                      0, static_cast<float>(pw), static_cast<float>(ph), Gdiplus::UnitPixel, nullptr,
                                      nullptr, nullptr);
            return;
        }
        gp::GdipDrawImageRectI(g, background_.GetHandle(), m, m, pw, ph);
        if (fadeEdges_) {
            const int fw = FadeBand(pw), fh = FadeBand(ph);
            const Argb from = ColorToArgb(themeColor_, 0), to = ColorToArgb(themeColor_, 255);
            GradientFill(g, {static_cast<float>(m), static_cast<float>(m + ph - fh + 1), static_cast<float>(m + pw),
                             static_cast<float>(fh)},
                         from, to, 1);
            GradientFill(g, {static_cast<float>(m + pw - fw + 1), static_cast<float>(m), static_cast<float>(fw),
                             static_cast<float>(m + ph)},
                         from, to, 0);
        }
        return;
    }
    const int alpha = e->alpha;
    e->background.Clear(0, 0, width_, height_, 0x00FFFFFF);
    const Argb fill = ColorToArgb(themeColor_, alpha);
    if (cornerSize_ != 0)
        RoundRect(g, inner, 7, fill, std::nullopt);
    else
        FillRect(g, inner, fill);
    if (!havePicture) return;
    AttributesPtr attributes = AlphaAttributes(alpha);
    if (cornerSize_ == 0 && e->stretch) {
        gp::GdipDrawImageRectRect(g, background_.GetHandle(), inner.left, inner.top, inner.width, inner.height, 0, 0,
                                  static_cast<float>(pw), static_cast<float>(ph), Gdiplus::UnitPixel, attributes.get(),
                                  nullptr, nullptr);
    } else {
        DrawImageRounded(g, background_, inner, cornerSize_ != 0 ? 9.0f : 0.0f, fill, e->stretch != 0,
                         attributes.get(), fadeEdges_ != 0);
    }
}

void UiWindow::DrawCaption(int m) {
    WindowEntry* e = Entry();
    if (captionFlags_ & kCaptionIcon) {
        UiImage icon;
        if (HICON h = WindowIcon(hwnd_)) icon.LoadFromIcon(h);
        if (!icon.Empty() && e->background.Graphics()) {
            gp::GdipDrawImageRectI(e->background.Graphics(), icon.GetHandle(), m + 6, m + 6, 16, 16);
            GdiFlush();
            BitBlt(e->composite.Dc(), m + 6, m + 6, 16, 16, e->background.Dc(), m + 6, m + 6, SRCCOPY);
            GdiFlush();
        }
        if (icon_) icon_->Move(static_cast<float>(m + 6), static_cast<float>(m + 6), std::nullopt, std::nullopt, false);
    }
    if (captionFlags_ & kCaptionTitle) DrawTitle(WindowText(hwnd_), false, false);
    LayoutCaptionButtons(m);
}

void UiWindow::DrawTitle(const std::wstring& text, bool restoreBackground, bool present) {
    WindowEntry* e = Entry();
    if (!e || cornerSize_ == 1 || !(captionFlags_ & kCaptionTitle)) return;
    const int m = Margin();
    const IntBox t = TitleBox(captionFlags_, width_, m);
    if (t.width <= 0) return;
    const Box box{static_cast<float>(t.left), static_cast<float>(t.top), static_cast<float>(t.width),
                  static_cast<float>(t.height)};
    GdiFlush();
    if (restoreBackground)
        BitBlt(e->composite.Dc(), t.left, t.top, t.width, t.height, e->background.Dc(), t.left, t.top, SRCCOPY);
    // White text on a dark skin, black on a light one: three samples along the middle.
    bool allDark = true;
    for (double at : {0.2, 0.5, 0.8}) {
        const COLORREF c = GetPixel(e->background.Dc(), t.left + static_cast<int>(t.width * at), t.top + t.height / 2);
        if (!IsDark(GetRValue(c), GetGValue(c), GetBValue(c))) allDark = false;
    }
    GdiFlush();
    const Argb color = ColorToArgb(allDark ? 0xFFFFFF : 0x000000, 225);
    bool drawn = false;
    if (OsMajorVersion() == 5) drawn = DrawGlowText(hwnd_, e->composite.Dc(), text, box, 4);
    if (!drawn) {
        TextOptions options;
        options.horizontal = 3;
        options.trimming = Gdiplus::StringTrimmingEllipsisCharacter;
        options.effect = 3;
        DrawTextEx(box, e->composite.Graphics(), text, DefaultFont(), color, options);
    }
    if (present) RepaintRect(box, true, false, true);
}

void UiWindow::RepaintControls(int id, bool single, int mode) {
    WindowEntry* e = Entry();
    if (!e) return;
    if (single) {
        const int position = FindControlPosition(windowIndex_, id);
        if (ControlRecord* r = RecordAt(windowIndex_, position))
            SendControlMessage(windowIndex_, position, r->parent, WM_PAINT, 0, kPaintNormal, mode);
        return;
    }
    const Box all{0, 0, static_cast<float>(width_), static_cast<float>(height_)};
    for (int p = 1; p <= static_cast<int>(e->controls.size()); ++p) {
        ControlRecord* r = RecordAt(windowIndex_, p);
        if (r && (r->visible & 1) && Intersects(r->bounds, all))
            SendControlMessage(windowIndex_, p, r->parent, WM_PAINT, 0, kPaintNormal, mode);
    }
}

void UiWindow::RepaintRect(const Box& rect, bool present, bool restoreBackground, bool skipRestore) {
    WindowEntry* e = Entry();
    if (suspended_ || !e || !e->composite.Valid()) return;
    const IntBox r = Truncate(rect);
    if (!(skipRestore && !restoreBackground)) {
        GdiFlush();
        BitBlt(e->composite.Dc(), r.left, r.top, r.width, r.height, e->background.Dc(), r.left, r.top, SRCCOPY);
        GdiFlush();
    }
    for (int p = 1; p <= static_cast<int>(e->controls.size()); ++p) {
        ControlRecord* c = RecordAt(windowIndex_, p);
        if (c && (c->visible & 1) && Intersects(c->bounds, rect))
            SendControlMessage(windowIndex_, p, c->parent, WM_PAINT, 0, kPaintNormal, 0);
    }
    // The background copy wiped the frame where the rectangle meets the edge: draw it again.
    FinishRect(rect, true);
    if (present) PresentRect(r);
}

void UiWindow::FinishRect(const Box& r, bool redrawFrame) {
    WindowEntry* e = Entry();
    if (!e || cornerSize_ == 1) return;
    GpGraphics* g = e->composite.Graphics();
    if (!g) return;
    const int m = Margin();
    const float band = static_cast<float>(m + 3);
    const bool touches = r.left < band || r.top < band || r.left + r.width > width_ - band ||
                         r.top + r.height > height_ - band;
    if (!touches) return;
    // Callers may be inside a clipped control paint; leave their clip as it was.
    Gdiplus::GraphicsState state = 0;
    gp::GdipSaveGraphics(g, &state);
    if (redrawFrame) {
        SetClip(g, r);
        DrawFrame(g, width_, height_, m, cornerSize_ != 0);
        ResetClip(g);
    }
    if (e->Layered() && m == 5) {
        const Box inner = Inner(width_, height_, m);
        ClearOutside(e->composite, g, Truncate(inner));
        if (redrawFrame) DrawShadow(g, inner, cornerSize_ != 0, 0x000000);
    }
    gp::GdipRestoreGraphics(g, state);
}

void UiWindow::OnFadeTick() {
    WindowEntry* e = Entry();
    if (!e) return;
    HDC target = e->Layered() ? e->layered.Dc() : e->windowDc;
    if (e->Layered()) PresentLayered(e->layered.Dc(), width_, height_);
    if (fadeAlpha_ >= 255) {
        suspended_ = 0;
        KillTimer(hwnd_, kWindowFadeTimer);
        fadeAlpha_ = 0;
        return;
    }
    fadeAlpha_ += 51;
    GdiFlush();
    AlphaBlend(target, 0, 0, width_, height_, e->composite.Dc(), 0, 0, width_, height_, ConstantAlpha(fadeAlpha_));
}

void UiWindow::RunCloseAnimation() {
    WindowEntry* e = Entry();
    if (!e) return;
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    if (W <= 0 || H <= 0) return;
    suspended_ = 1;
    GdiFlush();
    if (!e->Layered()) {
        // From here on the window is layered, so its last picture can fade on the screen.
        if (!e->layered.Create(e->windowDc, W, H)) {
            suspended_ = 0;
            return;
        }
        SetWindowRgn(hwnd_, nullptr, FALSE);
        regionSet_ = false;
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
        AlphaBlend(e->layered.Dc(), 5, 5, W - 10, H - 10, e->composite.Dc(), 5, 5, W - 10, H - 10, ConstantAlpha(255));
        e->alpha = 255;
    }
    const int A = e->alpha;
    Scratch s;
    if (!s.buffer.Create(e->windowDc, W, H)) {
        suspended_ = 0;
        return;
    }
    HDC src = e->layered.Dc(), dst = s.buffer.Dc();
    auto frame = [&](auto&& drawParts) {
        s.Clear();
        drawParts();
        PresentLayered(dst, W, H);
    };
    if (closeAnimation_ == 1) {
        const int step = A / 25;
        for (int i = 1; i <= 25; ++i) {
            frame([&] { AlphaBlend(dst, 0, 0, W, H, src, 0, 0, W, H, ConstantAlpha(A - step * (i - 1))); });
            Sleep(8);
        }
    } else if (closeAnimation_ == 2) {
        const int step = A / 20;
        for (int i = 1; i <= 20; ++i) {
            int x, y, w, h;
            if (1.5 * i - 5 <= 0) {
                x = y = static_cast<int>(-0.75 * i);
                w = static_cast<int>(W + 1.5 * i);
                h = static_cast<int>(H + 1.5 * i);
            } else {
                const int k = 2 * (i - 3);
                x = y = k / 2 - 5;
                w = W + 10 - k;
                h = H + 10 - k;
            }
            if (w > 0 && h > 0)
                frame([&] { AlphaBlend(dst, x, y, w, h, src, 0, 0, W, H, ConstantAlpha(A - step * (i - 1))); });
            Sleep(15 - i > 0 ? 15 - i : 1);
        }
    } else {
        const int type = closeAnimation_;
        const int step = A / 25;
        const int L = (type == 3 || type == 4) ? W : H;
        const int t = L / 25;
        for (int j = 1; j <= 25; ++j) {
            const int a = A - step * (j - 1), offset = t * (j - 1), n = L - offset;
            frame([&] {
                for (int k = 1; k <= n; ++k) {
                    const int alpha = k < n - 100 ? a : (a / 100) * (n - k);
                    const BLENDFUNCTION bf = ConstantAlpha(alpha);
                    if (type == 3) AlphaBlend(dst, W - k, 0, 1, H, src, W - k, 0, 1, H, bf);
                    else if (type == 4) AlphaBlend(dst, k, 0, 1, H, src, k, 0, 1, H, bf);
                    else if (type == 5) AlphaBlend(dst, 0, H - k, W, 1, src, 0, H - k, W, 1, bf);
                    else AlphaBlend(dst, 0, k, W, 1, src, 0, k, W, 1, bf);
                }
            });
            Sleep(8);
        }
    }
    s.Clear();
    PresentLayered(dst, W, H);
    suspended_ = 0;
}

void UiWindow::ShowAnimated(int type) {
    WindowEntry* e = Entry();
    if (!e) return;
    // An ordinary window has nothing to fade through: it is simply shown.
    if (!e->Layered() || !e->layered.Valid()) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        return;
    }
    const int W = width_, H = height_;
    GdiFlush();
    e->layered.ClearRect(0, 0, W, H, 0);
    AlphaBlend(e->layered.Dc(), 0, 0, W, H, e->composite.Dc(), 0, 0, W, H, ConstantAlpha(1));
    PresentLayered(e->layered.Dc(), W, H);
    suspended_ = 1;
    Scratch s;
    if (s.buffer.Create(e->windowDc, W, H)) {
        HDC dst = s.buffer.Dc();
        s.Clear();
        AlphaBlend(dst, 0, 0, W, H, e->composite.Dc(), 0, 0, W, H, ConstantAlpha(1));
        PresentLayered(dst, W, H);
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        if (type == 1) {
            const int step = std::max(e->alpha, 0) / 25;
            for (int i = 1; i <= 25; ++i) {
                s.Clear();
                AlphaBlend(dst, 0, 0, W, H, e->composite.Dc(), 0, 0, W, H, ConstantAlpha(step * (i - 1)));
                PresentLayered(dst, W, H);
                Sleep(8);
            }
        }
    } else {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
    }
    suspended_ = 0;
    // Whatever the type, the window ends fully presented rather than nearly invisible.
    PresentAll();
}

}  // namespace ui
