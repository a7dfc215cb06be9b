#include "shell/StandInDisplay.h"

#include <cstdio>

namespace {

HWND MakeLabel(HWND parent, int x, int y, int w, int h, DWORD align, int id) {
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return label;
}

}  // namespace

void StandInDisplay::Create(HWND parent) {
    parent_ = parent;
    current_ = MakeLabel(parent, 30, 100, 40, 16, SS_LEFT, 2001);
    total_ = MakeLabel(parent, 610, 100, 40, 16, SS_RIGHT, 2002);
    status_ = MakeLabel(parent, 100, 100, 430, 16, SS_LEFT, 2003);
    player_ = MakeLabel(parent, 20, 60, 400, 16, SS_LEFT, 2004);
    UpdatePlayerLine();
}

void StandInDisplay::SetCurrentTime(const std::wstring& text) { SetWindowTextW(current_, text.c_str()); }
void StandInDisplay::SetTotalTime(const std::wstring& text) { SetWindowTextW(total_, text.c_str()); }

void StandInDisplay::SetPositionPercent(float percent) {
    position_ = percent;
    UpdatePlayerLine();
}

void StandInDisplay::SetBufferPercent(float percent) {
    buffer_ = percent;
    UpdatePlayerLine();
}

void StandInDisplay::ShowPauseButton(bool pause) {
    pause_ = pause;
    UpdatePlayerLine();
}

void StandInDisplay::ShowSpeedLevel(int level) {
    level_ = level;
    UpdatePlayerLine();
}

void StandInDisplay::SetPositionTimer(unsigned intervalMs) {
    if (intervalMs == 0) KillTimer(parent_, kPositionTimerId);
    else SetTimer(parent_, kPositionTimerId, intervalMs, nullptr);
}

void StandInDisplay::UpdatePlayerLine() {
    if (!player_) return;
    wchar_t line[128];
    std::swprintf(line, 128, L"%ls  速度 %d.%d  位置 %.1f%%  缓冲 %.1f%%", pause_ ? L"暂停" : L"播放", level_ / 10,
                  level_ % 10, static_cast<double>(position_), static_cast<double>(buffer_));
    wchar_t old[128] = {};
    GetWindowTextW(player_, old, 128);
    if (wcscmp(old, line) != 0) SetWindowTextW(player_, line);
}

void StandInDisplay::SetNoticeText(const std::wstring& text) { SetWindowTextW(status_, text.c_str()); }

void StandInDisplay::SetStatusText(const std::wstring& text) {
    opacity_ = 255;
    SetWindowTextW(status_, text.c_str());
    InvalidateRect(status_, nullptr, TRUE);
}

std::wstring StandInDisplay::CurrentTimeText() const {
    wchar_t text[64] = {};
    if (current_) GetWindowTextW(current_, text, 64);
    return text;
}

void StandInDisplay::SetNoticeOpacity(int opacity) {
    opacity_ = opacity;
    InvalidateRect(status_, nullptr, TRUE);
}

HBRUSH StandInDisplay::OnCtlColor(HDC dc, HWND control) {
    const COLORREF back = GetSysColor(COLOR_BTNFACE);
    SetBkColor(dc, back);
    if (control == status_) {
        // Black text blended into the face colour as the notice fades.
        auto mix = [&](int c) { return (c * (255 - opacity_)) / 255; };
        SetTextColor(dc, RGB(mix(GetRValue(back)), mix(GetGValue(back)), mix(GetBValue(back))));
    }
    return GetSysColorBrush(COLOR_BTNFACE);
}
