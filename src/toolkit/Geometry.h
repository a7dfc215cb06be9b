#pragma once
// The toolkit's arithmetic that needs no window: colours, rectangles, hit zones and the
// caption layout. Kept free of Win32 headers so it is checked natively.
#include <cstdint>
#include <vector>

namespace ui {

// GDI+ colours are 0xAARRGGBB; colours from the application are COLORREF 0x00BBGGRR.
using Argb = std::uint32_t;
using ColorRef = std::uint32_t;

// Full alpha is stored as 254: the layered presentation treats the colour as never quite opaque.
constexpr Argb ColorToArgb(ColorRef color, int alpha = 254) {
    if (alpha == 255) alpha = 254;
    const std::uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) | (r << 16) | (g << 8) | b;
}

struct ColorWithAlpha {
    ColorRef color;
    int alpha;
};
constexpr ColorWithAlpha ArgbToColor(Argb argb) {
    const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return {r | (g << 8) | (b << 16), static_cast<int>(argb >> 24)};
}

// A colour reads as dark when at most one of its channels is bright.
constexpr bool IsDark(int r, int g, int b) { return (r >= 126) + (g >= 126) + (b >= 126) <= 1; }
constexpr bool IsDarkArgb(Argb c) { return IsDark((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// Control bounds and drawing rectangles: left, top, width, height in client pixels.
struct Box {
    float left = 0, top = 0, width = 0, height = 0;
};

inline constexpr float kTolerance = 0.0000001f;

constexpr bool Contains(const Box& b, float x, float y) {
    return b.left - kTolerance <= x && x < b.left + b.width - kTolerance && b.top - kTolerance <= y &&
           y < b.top + b.height - kTolerance;
}

// Rectangles that only share an edge do not intersect.
constexpr bool Intersects(const Box& a, const Box& b) {
    return a.left < b.left + b.width - kTolerance && b.left < a.left + a.width - kTolerance &&
           a.top < b.top + b.height - kTolerance && b.top < a.top + a.height - kTolerance;
}

// Truncated toward zero, as every float-to-integer step of the toolkit.
struct IntBox {
    int left = 0, top = 0, width = 0, height = 0;
};
constexpr IntBox Truncate(const Box& b) {
    return {static_cast<int>(b.left), static_cast<int>(b.top), static_cast<int>(b.width), static_cast<int>(b.height)};
}

// Sizing codes match SC_SIZE + code (1 left ... 8 bottom-right); 0 is not a border.
enum class Cursor { None, SizeNWSE, SizeNESW, SizeNS, SizeWE };
struct BorderZone {
    int code = 0;
    Cursor cursor = Cursor::None;
};
// The band is 8 pixels deep at the top and left, 10 at the bottom and right; corners are 10 wide.
constexpr BorderZone BorderZoneAt(int x, int y, int w, int h) {
    if (y < 8) {
        if (x < 10) return {4, Cursor::SizeNWSE};
        if (x > w - 10) return {5, Cursor::SizeNESW};
        return {3, Cursor::SizeNS};
    }
    if (y > h - 10) {
        if (x < 10) return {7, Cursor::SizeNESW};
        if (x > w - 10) return {8, Cursor::SizeNWSE};
        return {6, Cursor::SizeNS};
    }
    if (x < 8) return {1, Cursor::SizeWE};
    if (x > w - 10) return {2, Cursor::SizeWE};
    return {};
}

// Caption flags of a host window.
enum CaptionFlag : int {
    kCaptionIcon = 1,
    kCaptionTitle = 2,
    kCaptionClose = 4,
    kCaptionMaximize = 8,
    kCaptionMinimize = 16,
    kCaptionButton32 = 32,
    kCaptionButton64 = 64,
    kCaptionButton128 = 128,
    kCaptionButton256 = 256,
    kCaptionDefault = 0x400,
};

struct CaptionSlot {
    int flag;
    IntBox box;
};
// Right to left without gaps: close first (39 wide), then the others in flag order (28 wide).
std::vector<CaptionSlot> LayoutCaption(int flags, int width, int margin);

// The strip cell of a caption button: x of the normal picture; hover and pressed follow at the stride.
struct CaptionCell {
    int x, width, stride;
};
CaptionCell CaptionCellFor(int flag, bool maximized);

// The close button counts too; it is 11 pixels wider than the others.
int CaptionButtonCount(int flags);

// Where the title goes; width <= 0 means there is no room for it.
IntBox TitleBox(int flags, int windowWidth, int margin);

// Edge-fade band of a picture: half its size up to 100 pixels, then 100.
constexpr int FadeBand(int size) { return size <= 100 ? size / 2 : 100; }

}  // namespace ui
