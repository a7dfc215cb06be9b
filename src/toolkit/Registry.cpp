#include "toolkit/Registry.h"

#include <algorithm>

#include "toolkit/Toolkit.h"
#include "toolkit/UiControl.h"
#include "toolkit/UiWindow.h"

namespace ui {

bool DibBuffer::Create(HDC reference, int width, int height) {
    Release();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = dc_ ? CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0) : nullptr;
    if (!bitmap_ || !bits_) {
        Release();
        return false;
    }
    previous_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    // Premultiplied pixels are what UpdateLayeredWindow and AlphaBlend expect.
    if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits_),
                                      &surface_) == Gdiplus::Ok &&
        gp::GdipGetImageGraphicsContext(surface_, &graphics_) == Gdiplus::Ok) {
        gp::GdipSetSmoothingMode(graphics_, Gdiplus::SmoothingModeAntiAlias);
        gp::GdipSetTextRenderingHint(graphics_, Gdiplus::TextRenderingHintAntiAliasGridFit);
    }
    return true;
}

void DibBuffer::Release() {
    if (graphics_) gp::GdipDeleteGraphics(graphics_);
    if (surface_) gp::GdipDisposeImage(surface_);
    graphics_ = nullptr;
    surface_ = nullptr;
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void DibBuffer::ClearRect(int left, int top, int width, int height, Argb color) {
    if (!bits_) return;
    GdiFlush();
    const int x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int x1 = std::min(left + width, width_), y1 = std::min(top + height, height_);
    if (x1 <= x0) return;
    auto* pixels = static_cast<std::uint32_t*>(bits_);
    for (int y = y0; y < y1; ++y) std::fill_n(pixels + static_cast<size_t>(y) * width_ + x0, x1 - x0, color);
}

void DibBuffer::Clear(int left, int top, int width, int height, Argb color) {
    // What GDI+ stores for a colour is its own premultiplied rounding (opaque 255 may come
    // back as 254): ask it once for one pixel and store that value everywhere.
    static Argb lastColor = 0, lastStored = 0;
    static bool known = false;
    if (!known || lastColor != color) {
        std::uint32_t pixel = 0;
        GpBitmap* one = nullptr;
        GpGraphics* g = nullptr;
        if (gp::GdipCreateBitmapFromScan0(1, 1, 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(&pixel), &one) !=
            Gdiplus::Ok)
            return;
        if (gp::GdipGetImageGraphicsContext(one, &g) == Gdiplus::Ok) {
            gp::GdipGraphicsClear(g, color);
            gp::GdipDeleteGraphics(g);
        }
        gp::GdipDisposeImage(one);
        lastColor = color;
        lastStored = pixel;
        known = true;
    }
    ClearRect(left, top, width, height, lastStored);
}

std::vector<std::unique_ptr<WindowEntry>>& Registry() {
    static std::vector<std::unique_ptr<WindowEntry>> registry;
    return registry;
}

int RegistrySize() { return static_cast<int>(Registry().size()); }

int FindWindowIndex(HWND hwnd) {
    const auto& r = Registry();
    for (size_t i = 0; i < r.size(); ++i)
        if (r[i]->hwnd == hwnd) return static_cast<int>(i) + 1;
    return 0;
}

bool IsValidIndex(int windowIndex, int position, bool checkPosition) {
    if (windowIndex < 1 || windowIndex > RegistrySize()) return false;
    if (!checkPosition) return true;
    return position >= 1 && position <= static_cast<int>(Registry()[windowIndex - 1]->controls.size());
}

WindowEntry* EntryAt(int windowIndex) {
    return IsValidIndex(windowIndex) ? Registry()[windowIndex - 1].get() : nullptr;
}

ControlRecord* RecordAt(int windowIndex, int position) {
    return IsValidIndex(windowIndex, position, true) ? &Registry()[windowIndex - 1]->controls[position - 1] : nullptr;
}

UiWindow* HostAt(int windowIndex) {
    WindowEntry* e = EntryAt(windowIndex);
    return e ? e->host : nullptr;
}

int FindControlPosition(int windowIndex, int id) {
    WindowEntry* e = EntryAt(windowIndex);
    if (!e || id <= 0) return 0;
    for (size_t i = 0; i < e->controls.size(); ++i)
        if (e->controls[i].id == id) return static_cast<int>(i) + 1;
    return 0;
}

LRESULT SendControlMessage(int windowIndex, int position, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int mode,
                           int flags) {
    ControlRecord* record = RecordAt(windowIndex, position);
    if (!record) return 0;
    UiControl* control = record->control;
    if (!(flags & kDeliverForced) && (!(record->visible & 1) || !control->Active())) return 0;
    const int id = record->id;
    const LRESULT result = control->HandleMessage(hwnd, msg, wp, lp, windowIndex, position, mode);
    // The handler may have removed or moved the control; its event goes only to a control
    // that is still there.
    if (control->GetId() == id && control->GetWindowIndex() == windowIndex) {
        if (const ControlEvent* handler = control->EventHandler(msg)) {
            const ControlEvent copy = *handler;
            copy(windowIndex, position, wp, lp, mode);
        }
    }
    return result;
}

int HitTest(int windowIndex, float x, float y) {
    WindowEntry* e = EntryAt(windowIndex);
    if (!e) return 0;
    for (size_t i = e->controls.size(); i-- > 0;) {
        const ControlRecord& r = e->controls[i];
        if (r.visible != 0 && Contains(r.bounds, x, y)) return static_cast<int>(i) + 1;
    }
    return 0;
}

void StartTimer(HWND hwnd, UINT_PTR id, int interval) {
    SetTimer(hwnd, id, static_cast<UINT>(interval > 0 ? interval : DefaultTimerInterval()), nullptr);
}

// Later windows move down by one; every stored index follows its position.
void RenumberWindows(int from) {
    auto& r = Registry();
    for (size_t i = static_cast<size_t>(from); i < r.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        r[i]->host->windowIndex_ = index;
        for (ControlRecord& c : r[i]->controls) c.control->windowIndex_ = index;
    }
}

}  // namespace ui
