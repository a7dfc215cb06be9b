#include "toolkit/ControlPaint.h"

#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/UiControl.h"
#include "toolkit/UiImage.h"
#include "toolkit/UiWindow.h"

namespace ui {

GpGraphics* ControlGraphics(int windowIndex) {
    WindowEntry* e = EntryAt(windowIndex);
    return e ? e->composite.Graphics() : nullptr;
}

bool BeginControlPaint(int windowIndex, int position, const Box& rect, int pendingAlpha, int mode) {
    WindowEntry* e = EntryAt(windowIndex);
    if (!e || !IsValidIndex(windowIndex, position, true)) return false;
    UiWindow* host = e->host;
    // Inside a larger repaint (mode 0) the caller owns the buffer and the presentation; that
    // includes the full redraw, which suspends painting while it rebuilds the window.
    if (mode != 1) return true;
    if (host->PaintingSuspended()) return false;
    if (pendingAlpha != 0) host->BlendRect(rect, 255);
    const IntBox r = Truncate(rect);
    GdiFlush();
    BitBlt(e->composite.Dc(), r.left, r.top, r.width, r.height, e->background.Dc(), r.left, r.top, SRCCOPY);
    GdiFlush();
    SetClip(e->composite.Graphics(), rect);
    const HWND hwnd = e->hwnd;
    for (int p = 1; p < position; ++p) {
        ControlRecord* below = RecordAt(windowIndex, p);
        if (!below || !(below->visible & 1) || !Intersects(below->bounds, rect)) continue;
        below->control->HandleMessage(hwnd, WM_PAINT, 0, kPaintNormal, windowIndex, p, 0);
    }
    return true;
}

void EndControlPaint(int windowIndex, int position, const Box& rect, int noFade, int mode, int flags,
                     bool skipFinish) {
    WindowEntry* e = EntryAt(windowIndex);
    if (!e) return;
    UiWindow* host = e->host;
    if (mode == 0) {
        host->FinishRect(rect, false);
        return;
    }
    GpGraphics* g = e->composite.Graphics();
    ControlRecord* self = RecordAt(windowIndex, position);
    if (self && position == host->FocusedPosition() && host->FocusFrameShown())
        DrawFrameRect(g, self->bounds, kFrameFocus);
    const HWND hwnd = e->hwnd;
    for (int p = position + 1; p <= static_cast<int>(e->controls.size()); ++p) {
        ControlRecord* above = RecordAt(windowIndex, p);
        if (!above || !(above->visible & 1) || !Intersects(above->bounds, rect)) continue;
        above->control->HandleMessage(hwnd, WM_PAINT, 0, kPaintNormal, windowIndex, p, 0);
    }
    ResetClip(g);
    host->FinishRect(rect, true);
    if (skipFinish) return;
    if (!(flags & 1) && e->controlFading && noFade != 1) {
        const UINT_PTR timer = ControlTimerId(windowIndex, position);
        KillTimer(hwnd, timer);
        StartTimer(hwnd, timer);
        return;
    }
    host->BlendRect(rect, 255);
}

void BlendControlRect(int windowIndex, const Box& rect, int alpha) {
    if (UiWindow* host = HostAt(windowIndex)) host->BlendRect(rect, alpha);
}

void StepStateFade(int windowIndex, const Box& rect, int& alpha, UINT_PTR timer) {
    if (alpha >= 255) {
        alpha = 0;
        if (UiWindow* host = HostAt(windowIndex)) KillTimer(host->Hwnd(), timer);
    } else {
        alpha += 51;
        BlendControlRect(windowIndex, rect, alpha);
    }
}

bool DrawImageFitted(GpGraphics* g, const UiImage& image, const Box& dest, Box src, bool srcGiven) {
    if (image.Empty()) return false;
    if (!srcGiven) {
        src.width = static_cast<float>(image.Width());
        src.height = static_cast<float>(image.Height());
    }
    return gp::GdipDrawImageRectRect(g, image.GetHandle(), dest.left, dest.top, dest.width, dest.height, src.left,
                                     src.top, src.width, src.height, Gdiplus::UnitPixel, nullptr, nullptr,
                                     nullptr) == Gdiplus::Ok;
}

bool DrawImageAt(GpGraphics* g, const UiImage& image, float x, float y, float width, bool widthGiven, float height,
                 bool heightGiven, bool centred) {
    if (image.Empty()) return false;
    const float iw = static_cast<float>(image.Width()), ih = static_cast<float>(image.Height());
    if (centred)
        return gp::GdipDrawImageRect(g, image.GetHandle(), x + (width - iw) / 2, y + (height - ih) / 2, iw, ih) ==
               Gdiplus::Ok;
    return gp::GdipDrawImageRect(g, image.GetHandle(), x, y, widthGiven ? width : iw, heightGiven ? height : ih) ==
           Gdiplus::Ok;
}

}  // namespace ui
