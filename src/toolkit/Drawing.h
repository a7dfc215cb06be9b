#pragma once
// The drawing routines of skins and controls. Each draws into a graphics it is given and
// releases whatever GDI+ object it made before returning.
#include <windows.h>

#include <optional>
#include <string>

#include "toolkit/GdiPlus.h"

namespace ui {

class UiImage;

// One GDI+ string format, owned.
class UiStringFormat {
public:
    UiStringFormat() = default;
    ~UiStringFormat() { Delete(); }
    UiStringFormat(const UiStringFormat&) = delete;
    UiStringFormat& operator=(const UiStringFormat&) = delete;

    void Delete();
    bool UseGenericTypographic();
    bool SetAlign(Gdiplus::StringAlignment align);
    bool SetTrimming(Gdiplus::StringTrimming trimming);
    bool SetHotkeyPrefix(int prefix);
    bool SetFlags(int flags);
    Gdiplus::StringAlignment GetAlign() const;
    GpStringFormat* Handle() const { return format_; }

private:
    GpStringFormat* format_ = nullptr;
};

PenPtr CreatePen(Argb color, float width = 1.0f);
BrushPtr SolidBrush(Argb color);

void FillRect(GpGraphics* g, const Box& r, Argb color);
// mode 0 horizontal, 1 vertical; fills one pixel short of the right and bottom edges.
void GradientFill(GpGraphics* g, const Box& r, Argb from, Argb to, int mode = 1);
void DrawLine(GpGraphics* g, Argb color, float x1, float y1, float x2, float y2, float width = 1.0f);
void SetClip(GpGraphics* g, const Box& r, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
void SetClipToPath(GpGraphics* g, GpPath* path, Gdiplus::CombineMode mode);
void ResetClip(GpGraphics* g);
Box InflateRect(const Box& r, float dx, float dy, float dw, float dh);

// d is the diameter of the corner arcs; the picture-clip variant sits half a pixel further in.
PathPtr RoundRectPath(const Box& r, float d, bool forClipping = false);
void RoundRect(GpGraphics* g, const Box& r, float d, std::optional<Argb> fill, std::optional<Argb> outline,
               float penWidth = 1.0f);

enum FrameStyle : std::int64_t { kFrameSunken = 1, kFrameRaised = 2, kFramePlain = 3, kFrameFocus = 4 };
// style is one of FrameStyle, or any other value taken as the colour of a plain rectangle.
void DrawFrameRect(GpGraphics* g, const Box& r, std::int64_t style, std::optional<Argb> color = std::nullopt,
                   float penWidth = 1.0f);
// A host window's frame, drawn into its composite buffer inside the margin.
void DrawFrame(GpGraphics* g, int width, int height, int margin, bool rounded);
void DrawShadow(GpGraphics* g, const Box& r, bool rounded, ColorRef color);
// The shadow's rings drawn straight, without the strips DrawShadow keeps; i from 0 (inside).
void DrawShadowRing(GpGraphics* g, const Box& r, bool rounded, ColorRef color, int i);
void DrawShadowRings(GpGraphics* g, const Box& r, bool rounded, ColorRef color);
// centre is left, top, right, bottom in picture pixels.
void DrawNineGrid(GpGraphics* g, const UiImage& picture, const Box& dest, const RECT& centre);
void DrawImageRounded(GpGraphics* g, const UiImage& picture, const Box& dest, float d, Argb color, bool stretch,
                      GpImageAttributes* attributes = nullptr, bool fadeEdges = false);

// Horizontal mode: 0 near, 1 centre, 2 far; 3, 4, 5 the same and centred vertically by measuring.
// Effect: 0 none, 1 shadow up-left, 2 shadow down-right, 3 soft halo.
struct TextOptions {
    int horizontal = 0;
    int trimming = 0;
    int hotkeyPrefix = 0;
    int formatFlags = 0;
    int effect = 0;
    std::optional<Argb> effectColor;
};
void DrawTextEx(const Box& r, GpGraphics* g, const std::wstring& text, GpFont* font, Argb color,
                const TextOptions& options = {});
void DrawSoftHalo(const Box& r, GpGraphics* g, const std::wstring& text, GpStringFormat* format, GpFont* font,
                  Argb color);
// Themed glow text; false when the theme is not there.
bool DrawGlowText(HWND hwnd, HDC dc, const std::wstring& text, const Box& r, int glowSize = 5);
// At most 255 characters.
std::wstring WindowText(HWND hwnd);

}  // namespace ui
