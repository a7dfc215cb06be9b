#pragma once
// The toolkit's list of host windows, their off-screen buffers and control lists, and the
// one way a message reaches a control.
#include <windows.h>

#include <memory>
#include <vector>

#include "toolkit/GdiPlus.h"

namespace ui {

class UiControl;
class UiWindow;

// How the host knows a control. The list order is the stacking order: position 1 is painted
// first and hit-tested last.
struct ControlRecord {
    HWND parent = nullptr;
    Box bounds;
    int id = 0;
    UiControl* control = nullptr;
    int kind = 0;
    int visible = 0;     // bit 0: painted, hit-tested and sent unforced messages
    int takesFocus = 0;  // a left press focuses and captures; otherwise it drags the window
};

// A memory DC over a 32-bit top-down DIB with a GDI+ graphics on the same pixels. GDI+ draws
// through a premultiplied bitmap over the bits so that alpha survives for layered windows.
class DibBuffer {
public:
    DibBuffer() = default;
    ~DibBuffer() { Release(); }
    DibBuffer(const DibBuffer&) = delete;
    DibBuffer& operator=(const DibBuffer&) = delete;

    bool Create(HDC reference, int width, int height);
    void Release();
    bool Valid() const { return dc_ != nullptr; }

    HDC Dc() const { return dc_; }
    GpGraphics* Graphics() const { return graphics_; }
    // Top-down premultiplied pixels, Width() per row; GdiFlush before reading what GDI drew.
    std::uint32_t* Pixels() const { return static_cast<std::uint32_t*>(bits_); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Bytes held by the pixels, for the memory figures.
    size_t Bytes() const { return static_cast<size_t>(width_) * height_ * 4; }
    // Fills a rectangle with one premultiplied colour, bypassing blending.
    void ClearRect(int left, int top, int width, int height, Argb color);
    // A rectangle to a straight (not premultiplied) colour: pixel for pixel what a GDI+
    // clear of that area stores, without its cost.
    void Clear(int left, int top, int width, int height, Argb color);

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    GpBitmap* surface_ = nullptr;
    GpGraphics* graphics_ = nullptr;
    int width_ = 0, height_ = 0;
};

struct WindowEntry {
    RECT windowRect{};
    UiWindow* host = nullptr;
    int controlFading = 1;
    int stretch = 0;
    int alpha = -1;  // -1 ordinary window; 0..255 layered
    HWND hwnd = nullptr;
    HDC windowDc = nullptr;
    DibBuffer layered;
    DibBuffer background;
    DibBuffer composite;
    std::vector<ControlRecord> controls;

    bool Layered() const { return alpha != -1; }
};

std::vector<std::unique_ptr<WindowEntry>>& Registry();
int RegistrySize();
// 1-based; 0 when the window is not registered.
int FindWindowIndex(HWND hwnd);
bool IsValidIndex(int windowIndex, int position = 0, bool checkPosition = false);
WindowEntry* EntryAt(int windowIndex);
ControlRecord* RecordAt(int windowIndex, int position);
UiWindow* HostAt(int windowIndex);
// 0 when the index is out of range or no control has that ID.
int FindControlPosition(int windowIndex, int id);

enum DeliveryFlag : int { kDeliverForced = 1 };
LRESULT SendControlMessage(int windowIndex, int position, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int mode,
                           int flags = 0);

// Topmost visible control containing the point: its position, or 0.
int HitTest(int windowIndex, float x, float y);

// Control timers: window index in the low word, position in the high word.
constexpr UINT_PTR ControlTimerId(int windowIndex, int position) {
    return static_cast<UINT_PTR>((windowIndex & 0xFFFF) | ((position & 0xFFFF) << 16));
}
void StartTimer(HWND hwnd, UINT_PTR id, int interval = 0);

// Rewrites the stored window index of every window from this registry slot on.
void RenumberWindows(int from);

}  // namespace ui
