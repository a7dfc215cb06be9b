// Prints the cost of painting a host window: a full redraw of a 680 × 440 window with 30
// controls, the repaint of one label, and the memory one host window takes.
#include "TestControls.h"
#include "ToolkitFixtures.h"

#include <psapi.h>

#include <chrono>
#include <cstdio>

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
}  // namespace

int main() {
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
        const double full = MillisecondsPer(50, [&] { w->host->Redraw(); });
        const double one = MillisecondsPer(500, [&] { labels[7]->Redraw(); });
        auto* e = w->host->Entry();
        const size_t buffers = e->composite.Bytes() + e->background.Bytes() + e->layered.Bytes();
        std::printf("%s host 680x440, 30 controls: full redraw %.2f ms, one label %.3f ms, buffers %.1f MiB, "
                    "process working set +%.1f MiB\n",
                    layered ? "layered " : "ordinary", full, one, buffers / 1048576.0,
                    (after - before) / 1048576.0);
        labels.clear();
        boxes.clear();
        w.reset();
    }
    return 0;
}
