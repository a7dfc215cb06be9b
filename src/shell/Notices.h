#pragma once
// Short notices in the status line that fade out by themselves: the rotating tips and the
// results of the document commands.
#include <windows.h>

#include <string>

// Where notices are shown; the UI thread calls these.
class NoticeLine {
public:
    virtual ~NoticeLine() = default;
    virtual void SetNoticeText(const std::wstring& text) = 0;
    // 255 fully visible .. 0 gone.
    virtual void SetNoticeOpacity(int opacity) = 0;
};

// Binds the notices to their line and to the window whose thread owns it.
void InitNotices(HWND uiWindow, NoticeLine* line);

// Readable for 3 s, then fades in 50 steps of 50 ms and is cleared. A newer notice takes over
// the line: an older fade never clears it early.
void ShowNotice(const std::wstring& text);
void ShowTip(int number);

// The UI thread's half of a fade step; MainWindow forwards kNoticeMessage here.
inline constexpr UINT kNoticeMessage = WM_APP + 40;
void OnNoticeMessage(WPARAM generation, LPARAM opacity);
