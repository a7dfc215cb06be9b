// Start-up services, pictures and drawing routines.
#include <gtest/gtest.h>

#include <fstream>

#include "TestControls.h"
#include "ToolkitFixtures.h"
#include "toolkit/UiImage.h"

using namespace ui;

namespace {

class Foundation : public ::testing::Test {
protected:
    void SetUp() override { ToolkitStartup(); }
};

// A 32-bit ARGB scratch bitmap with a graphics on it.
struct Canvas {
    UiImage image;
    GpGraphics* g = nullptr;
    Canvas(int w, int h, Argb fill = 0xFFFFFFFF) {
        image.CreateBitmap(w, h);
        gp::GdipGetImageGraphicsContext(image.GetHandle(), &g);
        gp::GdipGraphicsClear(g, fill);
    }
    ~Canvas() { gp::GdipDeleteGraphics(g); }
    Argb At(int x, int y) { return image.GetPixel(x, y); }
};

}  // namespace

TEST_F(Foundation, StartupProvidesFontStripAndClass) {
    EXPECT_EQ(CaptionStrip().Width(), 729);
    EXPECT_EQ(CaptionStrip().Height(), 20);
    ASSERT_NE(DefaultFont(), nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), kToolkitClass, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(DefaultTimerInterval(), 80);
    EXPECT_FALSE(SystemFontFace().empty());
    EXPECT_EQ(SystemFontFace(7), L"宋体");

    // An unknown face still gives a font, in the default font's family.
    FontPtr font = CreateFontByName(L"No Such Face 123", 14.0f);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(FontFamilyName(font.get()), FontFamilyName(DefaultFont()));
}

TEST_F(Foundation, TextConversions) {
    EXPECT_TRUE(ToWide("").empty());
    EXPECT_EQ(ToWide("\xcb\xce\xcc\xe5", 936), L"宋体");
    EXPECT_EQ(ToWide("abc"), L"abc");
    EXPECT_EQ(FromWide(L"abc"), "abc");
}

TEST_F(Foundation, ImageFromMemoryAndFile) {
    UiImage image;
    ASSERT_NE(image.LoadFromMemory(kStillPng), nullptr);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.FrameCount(), 1);
    std::vector<int> delays{7};
    EXPECT_FALSE(image.FrameDelays(&delays));
    EXPECT_EQ(delays, std::vector<int>{7});

    // A second load replaces the first picture.
    ASSERT_NE(image.LoadFromMemory(kSkinPng), nullptr);
    EXPECT_EQ(image.Width(), 200);

    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"tk", 0, path);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(kStillPng.data(), static_cast<std::streamsize>(kStillPng.size()));
    }
    UiImage fromFile;
    EXPECT_NE(fromFile.LoadFromFile(path), nullptr);
    EXPECT_EQ(fromFile.Width(), 3);
    fromFile.Dispose();
    DeleteFileW(path);
    EXPECT_EQ(fromFile.LoadFromFile(path), nullptr);
    fromFile.Dispose();
    fromFile.Dispose();
}

TEST_F(Foundation, BadPictureBytesLeaveTheImageEmpty) {
    const std::string_view cases[] = {
        {},
        "not a picture at all",
        kStillPng.substr(0, 24),  // cut inside the header
        kSkinPng.substr(0, kSkinPng.size() / 2),
    };
    for (std::string_view bytes : cases) {
        UiImage image;
        image.LoadFromMemory(kStillPng);
        EXPECT_EQ(image.LoadFromMemory(bytes), nullptr) << bytes.size();
        EXPECT_TRUE(image.Empty());
        EXPECT_EQ(image.Width(), 0);
        EXPECT_EQ(image.FrameCount(), 0);
        EXPECT_FALSE(image.SelectFrame(0));
    }
}

TEST_F(Foundation, GifFramesAndDelays) {
    UiImage gif;
    ASSERT_NE(gif.LoadFromMemory(kTwoFrameGif), nullptr);
    EXPECT_EQ(gif.FrameCount(), 2);
    std::vector<int> delays;
    ASSERT_TRUE(gif.FrameDelays(&delays));
    EXPECT_EQ(delays, (std::vector<int>{20, 50}));
    EXPECT_TRUE(gif.SelectFrame(1));
    EXPECT_EQ(gif.GetPixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_FALSE(gif.SelectFrame(5));
}

namespace {
HICON MakeIcon(BYTE alpha) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < 256; ++i) px[i] = (static_cast<DWORD>(i < 128 ? alpha : 255) << 24) | 0x00FF00;
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}
}  // namespace

TEST_F(Foundation, IconKeepsSoftAlphaOnly) {
    HICON soft = MakeIcon(128), hard = MakeIcon(0);
    UiImage a, b;
    ASSERT_NE(a.LoadFromIcon(soft), nullptr);
    EXPECT_EQ(a.Width(), 16);
    EXPECT_EQ(a.GetPixel(0, 0) >> 24, 128u);
    EXPECT_EQ(a.GetPixel(0, 15) >> 24, 255u);
    ASSERT_NE(b.LoadFromIcon(hard), nullptr);
    EXPECT_EQ(b.Width(), 16);
    DestroyIcon(soft);
    DestroyIcon(hard);
}

TEST_F(Foundation, DrawingRoutines) {
    {  // Nothing to fill or outline: nothing drawn.
        Canvas c(20, 20);
        RoundRect(c.g, {2, 2, 16, 16}, 6, std::nullopt, std::nullopt);
        EXPECT_EQ(c.At(10, 2), 0xFFFFFFFFu);
    }
    {  // Style 3 without a colour is grey 0x646464; the frame ends one pixel inside.
        Canvas c(20, 20);
        gp::GdipSetSmoothingMode(c.g, Gdiplus::SmoothingModeNone);
        DrawFrameRect(c.g, {0, 0, 20, 20}, kFramePlain);
        EXPECT_EQ(c.At(10, 0) & 0xFFFFFF, 0x646464u);
        EXPECT_EQ(c.At(19, 10) & 0xFFFFFF, 0x646464u);
    }
    {  // A gradient stops one pixel short of its right and bottom edges.
        Canvas c(20, 20);
        GradientFill(c.g, {0, 0, 10, 10}, 0xFF000000, 0xFF000000, 1);
        EXPECT_EQ(c.At(5, 5), 0xFF000000u);
        EXPECT_EQ(c.At(9, 5), 0xFFFFFFFFu);
        EXPECT_EQ(c.At(5, 9), 0xFFFFFFFFu);
    }
    {  // Mode 4 centres one line both ways.
        Canvas c(200, 60);
        TextOptions o;
        o.horizontal = 4;
        DrawTextEx({0, 0, 200, 60}, c.g, L"WWWW", DefaultFont(), 0xFF000000, o);
        int left = 200, right = -1, top = 60, bottom = -1;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if ((c.At(x, y) & 0xFF) < 128) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, left);
        EXPECT_NEAR((left + right) / 2.0, 100, 4);
        EXPECT_NEAR((top + bottom) / 2.0, 30, 4);
    }
    {  // Nine-grid: corners stay at their own size, the centre stretches.
        UiImage picture;
        picture.LoadFromMemory(kSkinPng);
        Canvas c(400, 300, 0);
        gp::GdipSetInterpolationMode(c.g, Gdiplus::InterpolationModeNearestNeighbor);
        DrawNineGrid(c.g, picture, {0, 0, 400, 300}, RECT{10, 10, 190, 110});
        EXPECT_EQ(c.At(2, 2) & 0xFFFFFF, 0xC8DCFFu);
        EXPECT_EQ(c.At(2, 297) & 0xFFFFFF, 0x145A28u);
    }
}

TEST_F(Foundation, WindowTextIsCutAt255) {
    const std::wstring long_title(300, L'题');
    HWND hwnd = CreateWindowExW(0, kToolkitClass, long_title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    EXPECT_EQ(WindowText(hwnd).size(), 255u);
    DestroyWindow(hwnd);
}

namespace {
// Two window-like buffers with the same busy, partly transparent premultiplied content.
struct BufferPair {
    DibBuffer a, b;
    int w, h;
    BufferPair(int width, int height) : w(width), h(height) {
        HDC screen = GetDC(nullptr);
        a.Create(screen, w, h);
        b.Create(screen, w, h);
        ReleaseDC(nullptr, screen);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t alpha = static_cast<std::uint32_t>((x * 7 + y * 3) % 256);
                const std::uint32_t c = alpha * static_cast<std::uint32_t>(x % 5) / 4;
                a.Pixels()[y * w + x] = b.Pixels()[y * w + x] = (alpha << 24) | (c << 16) | ((alpha / 2) << 8) | c;
            }
    }
    // Empty when both hold the same pixels, else the first place they differ.
    std::string Difference() const {
        GdiFlush();
        for (int i = 0; i < w * h; ++i)
            if (a.Pixels()[i] != b.Pixels()[i]) {
                char text[96];
                std::snprintf(text, sizeof(text), "at %d,%d: %08x against %08x", i % w, i / w, a.Pixels()[i],
                              b.Pixels()[i]);
                return text;
            }
        return {};
    }
};
}  // namespace

// The short cuts of the paint (direct clears, kept edge strips, kept halos) must leave the
// very pixels GDI+ leaves. Sizes and texts here are used nowhere else, so that the first
// drawing of each is the plain GDI+ one and the second goes through what was kept.
TEST_F(Foundation, ShortCutsDrawWhatGdiPlusDraws) {
    for (Argb color : {0x00FFFFFFu, 0xFF00FF00u, 0xFF288B3Cu, 0x80FF0000u, 0x01020304u}) {
        BufferPair p(64, 48);
        p.a.Clear(10, 10, 50, 30, color);
        SetClip(p.b.Graphics(), {10, 10, 50, 30});
        gp::GdipGraphicsClear(p.b.Graphics(), color);
        EXPECT_EQ(p.Difference(), "") << std::hex << color;
    }
    struct Case {
        int w, h, margin;
        bool rounded;
    } cases[] = {{333, 211, 5, true}, {517, 263, 5, false}, {401, 277, 0, true}};
    for (const Case& c : cases) {
        BufferPair p(c.w, c.h);
        DrawFrame(p.b.Graphics(), c.w, c.h, c.margin, c.rounded);
        DrawFrame(p.a.Graphics(), c.w, c.h, c.margin, c.rounded);
        EXPECT_EQ(p.Difference(), "") << "frame " << c.w << "x" << c.h;
        const Box inner{5, 5, static_cast<float>(c.w - 10), static_cast<float>(c.h - 10)};
        DrawShadow(p.b.Graphics(), inner, c.rounded, 0x000000);
        DrawShadow(p.a.Graphics(), inner, c.rounded, 0x000000);
        EXPECT_EQ(p.Difference(), "") << "shadow " << c.w << "x" << c.h;
    }
    {  // A clipped repaint of the frame, as a control at the edge does it.
        BufferPair p(347, 229);
        for (DibBuffer* d : {&p.b, &p.a}) {
            SetClip(d->Graphics(), {0, 100, 60, 50});
            DrawFrame(d->Graphics(), 347, 229, 5, true);
            ResetClip(d->Graphics());
        }
        EXPECT_EQ(p.Difference(), "");
    }
    {
        BufferPair p(160, 40);
        TextOptions o;
        o.horizontal = 3;
        o.effect = 3;
        DrawTextEx({10, 8, 140, 24}, p.b.Graphics(), L"只在这里 halo", DefaultFont(), 0xFF202020, o);
        DrawTextEx({10, 8, 140, 24}, p.a.Graphics(), L"只在这里 halo", DefaultFont(), 0xFF202020, o);
        EXPECT_EQ(p.Difference(), "");
    }
}
