#include "shell/Notices.h"

#include <atomic>
#include <thread>

#include "shell/Tips.h"

namespace {

HWND g_window = nullptr;
NoticeLine* g_line = nullptr;
std::atomic<unsigned> g_generation{0};

constexpr DWORD kVisibleMs = 3000;
constexpr int kFadeSteps = 50;
constexpr DWORD kFadeStepMs = 50;
constexpr LPARAM kCleared = -1;

void FadeThread(unsigned generation) {
    Sleep(kVisibleMs);
    for (int i = 1; i <= kFadeSteps; ++i) {
        if (g_generation != generation) return;
        PostMessageW(g_window, kNoticeMessage, generation, 255 - 5 * i);
        Sleep(kFadeStepMs);
    }
    PostMessageW(g_window, kNoticeMessage, generation, kCleared);
}

}  // namespace

void InitNotices(HWND uiWindow, NoticeLine* line) {
    g_window = uiWindow;
    g_line = line;
}

void ShowNotice(const std::wstring& text) {
    if (!g_line) return;
    const unsigned generation = ++g_generation;
    g_line->SetNoticeOpacity(255);
    g_line->SetNoticeText(text);
    std::thread(FadeThread, generation).detach();
}

void ShowTip(int number) {
    const std::u16string_view tip = TipText(number);
    ShowNotice(std::wstring(reinterpret_cast<const wchar_t*>(tip.data()), tip.size()));
}

void OnNoticeMessage(WPARAM generation, LPARAM opacity) {
    if (!g_line || generation != g_generation) return;
    if (opacity == kCleared) {
        g_line->SetNoticeText(L"");
        g_line->SetNoticeOpacity(255);
    } else {
        g_line->SetNoticeOpacity(static_cast<int>(opacity));
    }
}
