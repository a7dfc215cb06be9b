#include "toolkit/Drawing.h"

#include <uxtheme.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>
#include <vssym32.h>

#include "toolkit/Toolkit.h"
#include "toolkit/UiImage.h"

namespace ui {

void UiStringFormat::Delete() {
    if (format_) gp::GdipDeleteStringFormat(format_);
    format_ = nullptr;
}

bool UiStringFormat::UseGenericTypographic() {
    Delete();
    // The generic format is shared by GDI+; clone it so that changing it stays ours.
    GpStringFormat* generic = nullptr;
    if (gp::GdipStringFormatGetGenericTypographic(&generic) != Gdiplus::Ok) return false;
    return gp::GdipCloneStringFormat(generic, &format_) == Gdiplus::Ok;
}

bool UiStringFormat::SetAlign(Gdiplus::StringAlignment align) {
    return format_ && gp::GdipSetStringFormatAlign(format_, align) == Gdiplus::Ok;
}
bool UiStringFormat::SetTrimming(Gdiplus::StringTrimming trimming) {
    return format_ && gp::GdipSetStringFormatTrimming(format_, trimming) == Gdiplus::Ok;
}
bool UiStringFormat::SetHotkeyPrefix(int prefix) {
    return format_ && gp::GdipSetStringFormatHotkeyPrefix(format_, prefix) == Gdiplus::Ok;
}
bool UiStringFormat::SetFlags(int flags) { return format_ && gp::GdipSetStringFormatFlags(format_, flags) == Gdiplus::Ok; }
Gdiplus::StringAlignment UiStringFormat::GetAlign() const {
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
    if (format_) gp::GdipGetStringFormatAlign(format_, &align);
    return align;
}

PenPtr CreatePen(Argb color, float width) {
    GpPen* pen = nullptr;
    gp::GdipCreatePen1(color, width, Gdiplus::UnitWorld, &pen);
    return PenPtr(pen);
}

BrushPtr SolidBrush(Argb color) {
    Gdiplus::GpSolidFill* brush = nullptr;
    gp::GdipCreateSolidFill(color, &brush);
    return BrushPtr(brush);
}

void FillRect(GpGraphics* g, const Box& r, Argb color) {
    BrushPtr brush = SolidBrush(color);
    if (brush) gp::GdipFillRectangle(g, brush.get(), r.left, r.top, r.width, r.height);
}

void GradientFill(GpGraphics* g, const Box& r, Argb from, Argb to, int mode) {
    const Gdiplus::RectF rect = ToGp(r);
    Gdiplus::GpLineGradient* brush = nullptr;
    const auto direction = mode == 0 ? Gdiplus::LinearGradientModeHorizontal : Gdiplus::LinearGradientModeVertical;
    if (gp::GdipCreateLineBrushFromRect(&rect, from, to, direction, Gdiplus::WrapModeTileFlipXY, &brush) != Gdiplus::Ok)
        return;
    BrushPtr owner(brush);
    gp::GdipFillRectangle(g, brush, r.left, r.top, r.width - 1, r.height - 1);
}

void DrawLine(GpGraphics* g, Argb color, float x1, float y1, float x2, float y2, float width) {
    PenPtr pen = CreatePen(color, width);
    if (pen) gp::GdipDrawLine(g, pen.get(), x1, y1, x2, y2);
}

void SetClip(GpGraphics* g, const Box& r, Gdiplus::CombineMode mode) {
    gp::GdipSetClipRect(g, r.left, r.top, r.width, r.height, mode);
}
void SetClipToPath(GpGraphics* g, GpPath* path, Gdiplus::CombineMode mode) { gp::GdipSetClipPath(g, path, mode); }
void ResetClip(GpGraphics* g) { gp::GdipResetClip(g); }

Box InflateRect(const Box& r, float dx, float dy, float dw, float dh) {
    return {r.left + dx, r.top + dy, r.width + dw, r.height + dh};
}

PathPtr RoundRectPath(const Box& r, float d, bool forClipping) {
    GpPath* path = nullptr;
    if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path) != Gdiplus::Ok) return nullptr;
    const float in = forClipping ? 0.5f : 1.0f;
    const float right = r.left + r.width - d - in, bottom = r.top + r.height - d - in;
    gp::GdipAddPathArc(path, r.left, r.top, d, d, 180, 90);
    gp::GdipAddPathArc(path, right, r.top, d, d, 270, 90);
    gp::GdipAddPathArc(path, right, bottom, d, d, 0, 90);
    gp::GdipAddPathArc(path, r.left, bottom, d, d, 90, 90);
    gp::GdipClosePathFigure(path);
    return PathPtr(path);
}

void RoundRect(GpGraphics* g, const Box& r, float d, std::optional<Argb> fill, std::optional<Argb> outline,
               float penWidth) {
    PathPtr path = RoundRectPath(r, d);
    if (!path) return;
    if (fill) {
        BrushPtr brush = SolidBrush(*fill);
        if (brush) gp::GdipFillPath(g, brush.get(), path.get());
    }
    if (outline) {
        PenPtr pen = CreatePen(*outline, penWidth);
        if (pen) gp::GdipDrawPath(g, pen.get(), path.get());
    }
}

namespace {
void StrokeRect(GpGraphics* g, const Box& r, Argb color, float width, Gdiplus::DashStyle dash = Gdiplus::DashStyleSolid) {
    PenPtr pen = CreatePen(color, width);
    if (!pen) return;
    if (dash != Gdiplus::DashStyleSolid) gp::GdipSetPenDashStyle(pen.get(), dash);
    gp::GdipDrawRectangle(g, pen.get(), r.left, r.top, r.width, r.height);
}
}  // namespace

void DrawFrameRect(GpGraphics* g, const Box& box, std::int64_t style, std::optional<Argb> color, float penWidth) {
    const Box r{box.left, box.top, box.width - 1, box.height - 1};
    const float right = box.left + box.width - 1, bottom = box.top + box.height - 1;
    const Argb dark = ColorToArgb(0x000000, 160), light = ColorToArgb(0xFFFFFF, 245);
    switch (style) {
        case kFrameSunken:
            DrawLine(g, dark, r.left, r.top, right, r.top, penWidth);
            DrawLine(g, dark, r.left, r.top, r.left, bottom, penWidth);
            DrawLine(g, light, r.left, bottom, right, bottom, penWidth / 2);
            DrawLine(g, light, right, r.top, right, bottom, penWidth / 2);
            return;
        case kFrameRaised: {
            const Argb shade = ColorToArgb(0x000000, 168);
            DrawLine(g, light, r.left, r.top, right, r.top, penWidth / 2);
            DrawLine(g, light, r.left, r.top, r.left, bottom, penWidth / 2);
            DrawLine(g, shade, r.left, bottom, right, bottom, penWidth);
            DrawLine(g, shade, right, r.top, right, bottom, penWidth);
            return;
        }
        case kFramePlain:
            StrokeRect(g, r, color.value_or(ColorToArgb(0x646464, 255)), penWidth);
            return;
        case kFrameFocus:
            StrokeRect(g, r, color.value_or(ColorToArgb(0x000000, 90)), penWidth, Gdiplus::DashStyleDash);
            return;
        default:
            StrokeRect(g, r, static_cast<Argb>(style), penWidth);
    }
}

namespace {
// GDI+ draws a thin stroke into a scratch buffer as large as the stroke's bounding box and
// then blends that whole buffer: round a window that is most of the window, for a line one
// pixel wide. The strokes of the frame and the shadow are the same for every redraw of a
// window of one size, so each is drawn once onto a transparent picture and kept as the four
// strips along the edges that hold all its pixels. Drawing those strips 1:1 blends the same
// colours into the same pixels as the stroke itself.
struct EdgeKey {
    int kind = 0;
    int width = 0, height = 0, band = 0;
    float left = 0, top = 0, right = 0, bottom = 0;
    bool rounded = false;
    ColorRef color = 0;
    bool operator==(const EdgeKey&) const = default;
};

struct EdgeStrip {
    IntBox box;
    UiImage picture;
};

struct EdgeLayers {
    EdgeKey key;
    std::vector<EdgeStrip> strips;  // four per stroke, in the order the strokes are drawn
};

struct EdgeCache {
    std::vector<EdgeLayers> entries;  // most recently used first
    std::vector<EdgeKey> seen;        // drawn once; kept as strips when drawn again
};

EdgeCache& Edges() {
    static EdgeCache cache;
    return cache;
}
constexpr size_t kEdgeCacheSize = 4;

// One stroke onto a transparent picture, cut into strips; false when a pixel lies outside
// the bands, so the caller draws directly.
template <typename Stroke>
bool CutStrips(const EdgeKey& k, Stroke&& stroke, std::vector<EdgeStrip>* out) {
    UiImage layer;
    if (!layer.CreateBitmap(k.width, k.height)) return false;
    {
        GpGraphics* lg = nullptr;
        if (gp::GdipGetImageGraphicsContext(layer.GetHandle(), &lg) != Gdiplus::Ok) return false;
        GraphicsPtr owner(lg);
        gp::GdipSetSmoothingMode(lg, Gdiplus::SmoothingModeAntiAlias);
        gp::GdipSetTextRenderingHint(lg, Gdiplus::TextRenderingHintAntiAliasGridFit);
        stroke(lg);
    }
    auto* bitmap = reinterpret_cast<GpBitmap*>(layer.GetHandle());
    const Gdiplus::Rect all(0, 0, k.width, k.height);
    Gdiplus::BitmapData data{};
    if (gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return false;
    const int b = k.band;
    bool inside = true;
    for (int y = b; y < k.height - b && inside; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = b; x < k.width - b; ++x)
            if (row[x] != 0) {
                inside = false;
                break;
            }
    }
    gp::GdipBitmapUnlockBits(bitmap, &data);
    if (!inside) return false;
    const IntBox boxes[] = {{0, 0, k.width, b}, {0, k.height - b, k.width, b}, {0, b, b, k.height - 2 * b},
                            {k.width - b, b, b, k.height - 2 * b}};
    for (const IntBox& box : boxes) {
        GpBitmap* strip = nullptr;
        if (gp::GdipCloneBitmapAreaI(box.left, box.top, box.width, box.height, PixelFormat32bppARGB, bitmap, &strip) !=
            Gdiplus::Ok)
            return false;
        EdgeStrip s{box, UiImage()};
        s.picture.SetHandle(strip);
        out->push_back(std::move(s));
    }
    return true;
}

// Draws the strokes, through kept strips when this drawing was seen before.
void DrawEdgeStrokes(GpGraphics* g, const EdgeKey& key, std::initializer_list<std::function<void(GpGraphics*)>> strokes) {
    EdgeCache& cache = Edges();
    auto draw = [&] {
        for (const auto& stroke : strokes) stroke(g);
    };
    if (key.width <= 2 * key.band || key.height <= 2 * key.band) return draw();
    auto found = std::find_if(cache.entries.begin(), cache.entries.end(), [&](const EdgeLayers& e) { return e.key == key; });
    if (found == cache.entries.end()) {
        auto seen = std::find(cache.seen.begin(), cache.seen.end(), key);
        if (seen == cache.seen.end()) {
            // A size met once (a window being resized) is not worth the strips.
            if (cache.seen.size() >= kEdgeCacheSize) cache.seen.erase(cache.seen.begin());
            cache.seen.push_back(key);
            return draw();
        }
        cache.seen.erase(seen);
        EdgeLayers layers{key, {}};
        for (const auto& stroke : strokes)
            if (!CutStrips(key, stroke, &layers.strips)) return draw();
        if (cache.entries.size() >= kEdgeCacheSize) cache.entries.pop_back();
        cache.entries.insert(cache.entries.begin(), std::move(layers));
        found = cache.entries.begin();
    } else if (found != cache.entries.begin()) {
        std::rotate(cache.entries.begin(), found, found + 1);
        found = cache.entries.begin();
    }
    for (const EdgeStrip& s : found->strips)
        gp::GdipDrawImageRectI(g, s.picture.GetHandle(), s.box.left, s.box.top, s.box.width, s.box.height);
}
}  // namespace

void DrawFrame(GpGraphics* g, int width, int height, int m, bool rounded) {
    EdgeKey key;
    key.width = width;
    key.height = height;
    key.band = m + 10;
    key.left = static_cast<float>(m);
    key.rounded = rounded;
    const Box outer{static_cast<float>(m), static_cast<float>(m), static_cast<float>(width - 2 * m),
                    static_cast<float>(height - 2 * m)};
    const Box inner = InflateRect(outer, 1, 1, -2, -2);
    if (rounded) {
        DrawEdgeStrokes(g, key,
                        {[&](GpGraphics* t) { RoundRect(t, outer, 6, std::nullopt, ColorToArgb(0x000000, 120)); },
                         [&](GpGraphics* t) { RoundRect(t, inner, 4, std::nullopt, ColorToArgb(0xFFFFFF, 70)); }});
    } else {
        DrawEdgeStrokes(g, key,
                        {[&](GpGraphics* t) { DrawFrameRect(t, outer, ColorToArgb(0x000000, 110)); },
                         [&](GpGraphics* t) { DrawFrameRect(t, inner, ColorToArgb(0xFFFFFF, 70)); }});
    }
}

void DrawShadow(GpGraphics* g, const Box& rect, bool rounded, ColorRef color) {
    EdgeKey key;
    key.kind = 1;
    // The rings reach 5 pixels out from rect and their widest corner 10 pixels into it.
    key.width = static_cast<int>(std::ceil(rect.left + rect.width)) + 6;
    key.height = static_cast<int>(std::ceil(rect.top + rect.height)) + 6;
    key.band = static_cast<int>(std::max(rect.left, rect.top)) + 14;
    key.left = rect.left;
    key.top = rect.top;
    key.right = rect.left + rect.width;
    key.bottom = rect.top + rect.height;
    key.rounded = rounded;
    key.color = color;
    if (rect.left < 5 || rect.top < 5) return DrawShadowRings(g, rect, rounded, color);
    DrawEdgeStrokes(g, key, {[&](GpGraphics* t) { DrawShadowRing(t, rect, rounded, color, 0); },
                             [&](GpGraphics* t) { DrawShadowRing(t, rect, rounded, color, 1); },
                             [&](GpGraphics* t) { DrawShadowRing(t, rect, rounded, color, 2); },
                             [&](GpGraphics* t) { DrawShadowRing(t, rect, rounded, color, 3); }});
}

void DrawShadowRing(GpGraphics* g, const Box& rect, bool rounded, ColorRef color, int i) {
    constexpr int kAlpha[] = {75, 55, 25, 15};
    constexpr float kRound[] = {11, 14, 17, 20};
    constexpr float kSquare[] = {4, 7, 11, 14};
    const float out = static_cast<float>(i + 1);
    const Box r = InflateRect(rect, -out, -out, 2 * out, 2 * out);
    RoundRect(g, r, rounded ? kRound[i] : kSquare[i], std::nullopt, ColorToArgb(color, kAlpha[i]));
}

void DrawShadowRings(GpGraphics* g, const Box& rect, bool rounded, ColorRef color) {
    for (int i = 0; i < 4; ++i) DrawShadowRing(g, rect, rounded, color, i);
}

void DrawNineGrid(GpGraphics* g, const UiImage& picture, const Box& dest, const RECT& centre) {
    if (picture.Empty()) return;
    const float pw = static_cast<float>(picture.Width()), ph = static_cast<float>(picture.Height());
    const float sx[4] = {0, static_cast<float>(centre.left), static_cast<float>(centre.right), pw};
    const float sy[4] = {0, static_cast<float>(centre.top), static_cast<float>(centre.bottom), ph};
    const float right = pw - sx[2], bottom = ph - sy[2];
    const float dx[4] = {dest.left, dest.left + sx[1], dest.left + dest.width - right, dest.left + dest.width};
    const float dy[4] = {dest.top, dest.top + sy[1], dest.top + dest.height - bottom, dest.top + dest.height};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const float sw = sx[col + 1] - sx[col], sh = sy[row + 1] - sy[row];
            const float dw = dx[col + 1] - dx[col], dh = dy[row + 1] - dy[row];
            if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) continue;
            gp::GdipDrawImageRectRect(g, picture.GetHandle(), dx[col], dy[row], dw, dh, sx[col], sy[row], sw, sh,
                                      Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        }
    }
}

void DrawImageRounded(GpGraphics* g, const UiImage& picture, const Box& dest, float d, Argb color, bool stretch,
                      GpImageAttributes* attributes, bool fadeEdges) {
    if (picture.Empty()) return;
    const int w0 = picture.Width(), h0 = picture.Height();
    PathPtr path;
    if (d != 0) {
        path = RoundRectPath(dest, d, true);
        if (path) SetClipToPath(g, path.get(), Gdiplus::CombineModeReplace);
    } else {
        SetClip(g, dest);
    }
    if (stretch) {
        gp::GdipDrawImageRectRect(g, picture.GetHandle(), dest.left, dest.top, dest.width, dest.height, 0, 0,
                                  static_cast<float>(w0), static_cast<float>(h0), Gdiplus::UnitPixel, attributes,
                                  nullptr, nullptr);
    } else if (fadeEdges) {
        // The picture's bottom and right bands melt into the opaque colour before the whole
        // is drawn, so an unstretched picture has no hard edge against the window.
        UiImage scratch;
        if (scratch.CreateBitmap(w0, h0)) {
            GpGraphics* sg = nullptr;
            if (gp::GdipGetImageGraphicsContext(scratch.GetHandle(), &sg) == Gdiplus::Ok) {
                GraphicsPtr owner(sg);
                const Argb opaque = (color & 0x00FFFFFF) | 0xFF000000, clear = color & 0x00FFFFFF;
                gp::GdipGraphicsClear(sg, opaque);
                gp::GdipDrawImageRectI(sg, picture.GetHandle(), 0, 0, w0, h0);
                const int fw = FadeBand(w0), fh = FadeBand(h0);
                GradientFill(sg, {0, static_cast<float>(h0 - fh), static_cast<float>(w0), static_cast<float>(fh + 1)},
                             clear, opaque, 1);
                GradientFill(sg, {static_cast<float>(w0 - fw), 0, static_cast<float>(fw + 1), static_cast<float>(h0)},
                             clear, opaque, 0);
            }
            // Drawn 1:1, so beyond the picture there is nothing to draw: asking for the
            // whole destination would have GDI+ filter every pixel of it to find that out.
            const float w = std::min(dest.width, static_cast<float>(w0)), h = std::min(dest.height, static_cast<float>(h0));
            gp::GdipDrawImageRectRect(g, scratch.GetHandle(), dest.left, dest.top, w, h, 0, 0, w, h, Gdiplus::UnitPixel,
                                      attributes, nullptr, nullptr);
        }
    } else {
        gp::GdipDrawImageRectRect(g, picture.GetHandle(), dest.left, dest.top, static_cast<float>(w0),
                                  static_cast<float>(h0), 0, 0, static_cast<float>(w0), static_cast<float>(h0),
                                  Gdiplus::UnitPixel, attributes, nullptr, nullptr);
    }
    ResetClip(g);
}

void DrawTextEx(const Box& rect, GpGraphics* g, const std::wstring& text, GpFont* font, Argb color,
                const TextOptions& o) {
    if (!font || text.empty()) return;
    Box r = rect;
    UiStringFormat format;
    format.UseGenericTypographic();
    const int h = o.horizontal;
    format.SetAlign(static_cast<Gdiplus::StringAlignment>(h <= 2 ? h : h - 3));
    format.SetTrimming(static_cast<Gdiplus::StringTrimming>(o.trimming));
    format.SetFlags(o.formatFlags);
    format.SetHotkeyPrefix(o.hotkeyPrefix);
    if (h >= 3) {
        Box measured;
        if (MeasureText(g, text, font, r, format.Handle(), &measured)) {
            const float textHeight = static_cast<float>(static_cast<int>(measured.height));
            r.top += (r.height - textHeight) / 2;
            r.height = textHeight;
        }
    }
    if (o.effect != 0) {
        Argb effect = o.effectColor && *o.effectColor != static_cast<Argb>(-1) ? *o.effectColor
                      : IsDarkArgb(color)                                       ? ColorToArgb(0xFFFFFF, 90)
                                                                                : ColorToArgb(0x000000, 70);
        if (o.effect == 1 || o.effect == 2) {
            const float shift = o.effect == 1 ? -1.0f : 1.0f;
            const Gdiplus::RectF shifted(r.left + shift, r.top + shift, r.width, r.height);
            BrushPtr brush = SolidBrush(effect);
            gp::GdipDrawString(g, text.c_str(), static_cast<INT>(text.size()), font, &shifted, format.Handle(),
                               brush.get());
        } else if (o.effect == 3) {
            DrawSoftHalo(r, g, text, format.Handle(), font, effect);
        }
    }
    const Gdiplus::RectF layout = ToGp(r);
    BrushPtr brush = SolidBrush(color);
    gp::GdipDrawString(g, text.c_str(), static_cast<INT>(text.size()), font, &layout, format.Handle(), brush.get());
}

namespace {
// What the blurred halo of a text depends on. A halo is drawn in four passes, scaled down
// with high-quality filtering, and only then laid under the text: labels that repaint with
// the same text (a clock, a title) can take that shrunken picture again.
struct HaloKey {
    std::wstring text;
    float width = 0, height = 0;
    Argb color = 0;
    std::wstring family;
    float size = 0;
    INT style = 0;
    Gdiplus::Unit unit = Gdiplus::UnitPixel;
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear, lineAlign = Gdiplus::StringAlignmentNear;
    Gdiplus::StringTrimming trimming = Gdiplus::StringTrimmingNone;
    INT flags = 0, hotkeyPrefix = 0;
    bool operator==(const HaloKey&) const = default;
};

bool MakeHaloKey(const Box& r, const std::wstring& text, GpStringFormat* format, GpFont* font, Argb color,
                 HaloKey* key) {
    key->text = text;
    key->width = r.width;
    key->height = r.height;
    key->color = color;
    GpFontFamily* family = nullptr;
    if (gp::GdipGetFamily(font, &family) != Gdiplus::Ok || !family) return false;
    FamilyPtr owner(family);
    wchar_t name[LF_FACESIZE] = {};
    if (gp::GdipGetFamilyName(family, name, LANG_NEUTRAL) != Gdiplus::Ok) return false;
    key->family = name;
    if (gp::GdipGetFontSize(font, &key->size) != Gdiplus::Ok || gp::GdipGetFontStyle(font, &key->style) != Gdiplus::Ok ||
        gp::GdipGetFontUnit(font, &key->unit) != Gdiplus::Ok)
        return false;
    if (format) {
        INT prefix = 0;
        if (gp::GdipGetStringFormatAlign(format, &key->align) != Gdiplus::Ok ||
            gp::GdipGetStringFormatLineAlign(format, &key->lineAlign) != Gdiplus::Ok ||
            gp::GdipGetStringFormatTrimming(format, &key->trimming) != Gdiplus::Ok ||
            gp::GdipGetStringFormatFlags(format, &key->flags) != Gdiplus::Ok ||
            gp::GdipGetStringFormatHotkeyPrefix(format, &prefix) != Gdiplus::Ok)
            return false;
        key->hotkeyPrefix = prefix;
    }
    return true;
}

struct HaloEntry {
    HaloKey key;
    UiImage small;
};

// Most recently used first; a window shows a few dozen texts at most.
std::vector<HaloEntry>& HaloCache() {
    static std::vector<HaloEntry> cache;
    return cache;
}
constexpr size_t kHaloCacheSize = 64;

bool RenderHalo(const Box& r, const std::wstring& text, GpStringFormat* format, GpFont* font, Argb color,
                UiImage* small) {
    const int w1 = static_cast<int>(r.width + 2), h1 = static_cast<int>(r.height + 2);
    const int w2 = static_cast<int>((r.width + 2) / 3), h2 = static_cast<int>((r.height + 2) / 3);
    if (w1 <= 0 || h1 <= 0 || w2 <= 0 || h2 <= 0) return false;
    UiImage big;
    if (!big.CreateBitmap(w1, h1) || !small->CreateBitmap(w2, h2)) return false;
    {
        GpGraphics* bg = nullptr;
        if (gp::GdipGetImageGraphicsContext(big.GetHandle(), &bg) != Gdiplus::Ok) return false;
        GraphicsPtr owner(bg);
        gp::GdipSetSmoothingMode(bg, Gdiplus::SmoothingModeAntiAlias);
        gp::GdipSetTextRenderingHint(bg, Gdiplus::TextRenderingHintAntiAliasGridFit);
        BrushPtr brush = SolidBrush(color);
        for (int i = 1; i <= 2; ++i) {
            for (int j = 1; j <= 2; ++j) {
                const Gdiplus::RectF layout(static_cast<float>(i), static_cast<float>(j), r.width + 2, r.height + 2);
                gp::GdipDrawString(bg, text.c_str(), static_cast<INT>(text.size()), font, &layout, format, brush.get());
            }
        }
    }
    GpGraphics* sg = nullptr;
    if (gp::GdipGetImageGraphicsContext(small->GetHandle(), &sg) != Gdiplus::Ok) return false;
    GraphicsPtr owner(sg);
    gp::GdipSetSmoothingMode(sg, Gdiplus::SmoothingModeAntiAlias);
    gp::GdipSetCompositingQuality(sg, Gdiplus::CompositingQualityGammaCorrected);
    gp::GdipSetInterpolationMode(sg, Gdiplus::InterpolationModeHighQualityBilinear);
    gp::GdipDrawImageRectRect(sg, big.GetHandle(), 0, 0, static_cast<float>(w2), static_cast<float>(h2), 0, 0,
                              static_cast<float>(w1), static_cast<float>(h1), Gdiplus::UnitPixel, nullptr, nullptr,
                              nullptr);
    return true;
}
void DrawHaloPicture(GpGraphics* g, const Box& r, const UiImage& small) {
    gp::GdipDrawImageRectRect(g, small.GetHandle(), r.left - 2, r.top - 2, r.width + 2, r.height + 3, 0, 0,
                              static_cast<float>(small.Width()), static_cast<float>(small.Height()),
                              Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}
}  // namespace

void DrawSoftHalo(const Box& r, GpGraphics* g, const std::wstring& text, GpStringFormat* format, GpFont* font,
                  Argb color) {
    if (static_cast<int>((r.width + 2) / 3) <= 0 || static_cast<int>((r.height + 2) / 3) <= 0) return;
    auto& cache = HaloCache();
    HaloKey key;
    const bool keyed = MakeHaloKey(r, text, format, font, color, &key);
    auto found = keyed ? std::find_if(cache.begin(), cache.end(), [&](const HaloEntry& e) { return e.key == key; })
                       : cache.end();
    if (found == cache.end()) {
        HaloEntry entry{std::move(key), UiImage()};
        if (!RenderHalo(r, text, format, font, color, &entry.small)) return;
        if (!keyed) {
            DrawHaloPicture(g, r, entry.small);
            return;
        }
        if (cache.size() >= kHaloCacheSize) cache.pop_back();
        cache.insert(cache.begin(), std::move(entry));
    } else if (found != cache.begin()) {
        std::rotate(cache.begin(), found, found + 1);
    }
    DrawHaloPicture(g, r, cache.front().small);
}

bool DrawGlowText(HWND hwnd, HDC dc, const std::wstring& text, const Box& r, int glowSize) {
    HTHEME theme = OpenThemeData(hwnd, L"TextStyle");
    if (!theme) return false;
    const IntBox box = Truncate(r);
    bool drawn = false;
    if (box.width > 0 && box.height > 0) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = box.width;
        bi.bmiHeader.biHeight = -box.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC memory = CreateCompatibleDC(dc);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (memory && bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, box.width, box.height, dc, box.left, box.top, SRCCOPY);
            DTTOPTS options{};
            options.dwSize = sizeof(options);
            options.dwFlags = DTT_GLOWSIZE | DTT_COMPOSITED;
            options.iGlowSize = glowSize;
            RECT layout{glowSize, 0, box.width, box.height};
            drawn = SUCCEEDED(DrawThemeTextEx(theme, memory, TEXT_LABEL, 0, text.c_str(), -1, DT_SINGLELINE, &layout,
                                              &options));
            BitBlt(dc, box.left, box.top, box.width, box.height, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
        }
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
    }
    CloseThemeData(theme);
    return drawn;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    const int n = GetWindowTextW(hwnd, buffer, 256);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace ui
