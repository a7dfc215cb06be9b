// Prints the cost of painting a host window: a full redraw of a 680 × 440 window with 30
// controls, the repaint of one label, and the memory one host window takes. A checksum of
// the composite buffer after each shows that a faster paint still draws the same pixels.
// With "--primitives" it also prints what each drawing call costs on a buffer of that size.
#include "TestControls.h"
#include "ToolkitFixtures.h"

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {
double MillisecondsPer(int runs, auto&& work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
}
size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    // Wine does not keep the private-bytes figure; the working set is what it tracks.
    return counters.WorkingSetSize;
}
std::uint32_t Checksum(const ui::DibBuffer& b) {
    GdiFlush();
    std::uint32_t h = 2166136261u;
    const std::uint32_t* p = b.Pixels();
    for (size_t i = 0, n = static_cast<size_t>(b.Width()) * b.Height(); i < n; ++i) h = (h ^ p[i]) * 16777619u;
    return h;
}

void Primitives() {
    HDC screen = GetDC(nullptr);
    ui::DibBuffer target;
    target.Create(screen, 680, 440);
    ReleaseDC(nullptr, screen);
    ui::GpGraphics* g = target.Graphics();
    ui::UiImage picture;
    picture.LoadFromMemory(kSkinPng);
    const ui::Box label{260, 215, 100, 20};
    const std::wstring text = L"时间 00:00";
    struct Row {
        const char* what;
        std::function<void()> work;
    } rows[] = {
        {"GraphicsClear 680x440", [&] { ui::gp::GdipGraphicsClear(g, 0xFF288B3C); }},
        {"DrawImageRectI 200x120 picture", [&] { ui::gp::GdipDrawImageRectI(g, picture.GetHandle(), 5, 5, 200, 120); }},
        {"FillRect 100x40 opaque", [&] { ui::FillRect(g, {20, 60, 100, 40}, 0xFFE02020); }},
        {"FillRect 100x40 alpha", [&] { ui::FillRect(g, {20, 60, 100, 40}, 0x80E02020); }},
        {"GradientFill 100x20", [&] { ui::GradientFill(g, label, 0x40FFFFFF, 0x80000000); }},
        {"DrawTextEx label, halo", [&] {
             ui::TextOptions o;
             o.horizontal = 3;
             o.effect = 3;
             ui::DrawTextEx(label, g, text, ui::DefaultFont(), 0xFF202020, o);
         }},
        {"DrawTextEx label, plain", [&] {
             ui::TextOptions o;
             o.horizontal = 3;
             ui::DrawTextEx(label, g, text, ui::DefaultFont(), 0xFF202020, o);
         }},
        {"DrawFrame 680x440 rounded", [&] { ui::DrawFrame(g, 680, 440, 5, true); }},
        {"DrawShadow 670x430 rounded", [&] { ui::DrawShadow(g, {5, 5, 670, 430}, true, 0); }},
        {"BitBlt 680x440", [&] { BitBlt(target.Dc(), 0, 0, 680, 440, target.Dc(), 0, 0, SRCCOPY); }},
        {"ClearRect 680x440", [&] { target.ClearRect(0, 0, 680, 440, 0); }},
    };
    for (const Row& r : rows) std::printf("  %-34s %8.3f ms\n", r.what, MillisecondsPer(20, r.work));
}
}  // namespace

int main(int argc, char** argv) {
    ui::ToolkitStartup();
    for (int layered = 0; layered <= 1; ++layered) {
        ui::AttachOptions o;
        o.captionFlags = ui::kCaptionDefault | ui::kCaptionMinimize;
        o.alpha = layered ? 200 : -1;
        const size_t before = PrivateBytes();
        auto w = std::make_unique<testing_ui::TestWindow>(kSkinPng, o, 680, 440);
        ShowWindow(w->hwnd, SW_SHOWNOACTIVATE);
        std::vector<std::unique_ptr<testing_ui::BoxControl>> boxes;
        std::vector<std::unique_ptr<testing_ui::TextControl>> labels;
        for (int i = 0; i < 15; ++i) {
            boxes.push_back(std::make_unique<testing_ui::BoxControl>(0xC0FF8000 + i));
            boxes.back()->Create(w->hwnd, {20.0f + (i % 5) * 120, 60.0f + (i / 5) * 110, 100, 40});
            labels.push_back(std::make_unique<testing_ui::TextControl>());
            labels.back()->Create(w->hwnd, {20.0f + (i % 5) * 120, 105.0f + (i / 5) * 110, 100, 20}, L"时间 00:00");
        }
        const size_t after = PrivateBytes();
        auto* e = w->host->Entry();
        const double full = MillisecondsPer(50, [&] { w->host->Redraw(); });
        const std::uint32_t fullSum = Checksum(e->composite);
        const double one = MillisecondsPer(500, [&] { labels[7]->Redraw(); });
        const std::uint32_t oneSum = Checksum(e->composite);
        const size_t buffers = e->composite.Bytes() + e->background.Bytes() + e->layered.Bytes();
        std::printf("%s host 680x440, 30 controls: full redraw %.2f ms, one label %.3f ms, buffers %.1f MiB, "
                    "process working set +%.1f MiB; pixels %08x %08x\n",
                    layered ? "layered " : "ordinary", full, one, buffers / 1048576.0,
                    (after - before) / 1048576.0, fullSum, oneSum);
        labels.clear();
        boxes.clear();
        w.reset();
    }
    if (argc > 1 && std::strcmp(argv[1], "--primitives") == 0) Primitives();
    return 0;
}
