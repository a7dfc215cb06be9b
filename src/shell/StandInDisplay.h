#pragma once
// Plain standard controls on MainWindow that show what the skinned main frame will show: the
// two time labels, the status line, and a line with the play/pause state, speed, position and
// download buffer. Readable by any window tool, which the end-to-end tests rely on.
#include <windows.h>

#include "audio/PlayerDisplay.h"
#include "shell/Notices.h"

class StandInDisplay : public PlayerDisplay, public NoticeLine {
public:
    void Create(HWND parent);

    void SetCurrentTime(const std::wstring& text) override;
    void SetTotalTime(const std::wstring& text) override;
    void SetPositionPercent(float percent) override;
    void SetBufferPercent(float percent) override;
    void ShowPauseButton(bool pause) override;
    void ShowSpeedLevel(int level) override;
    void SetPositionTimer(unsigned intervalMs) override;

    void SetNoticeText(const std::wstring& text) override;
    // The status line as lecture mode writes it: shown at full strength, not faded.
    void SetStatusText(const std::wstring& text);
    // What the current-time label shows now.
    std::wstring CurrentTimeText() const;
    void SetNoticeOpacity(int opacity) override;

    // WM_CTLCOLORSTATIC of the parent: the status line's fading colour.
    HBRUSH OnCtlColor(HDC dc, HWND control);

    static constexpr UINT_PTR kPositionTimerId = 1;

private:
    void UpdatePlayerLine();

    HWND parent_ = nullptr;
    HWND current_ = nullptr;
    HWND total_ = nullptr;
    HWND status_ = nullptr;
    HWND player_ = nullptr;
    bool pause_ = false;
    int level_ = 10;
    float position_ = 0;
    float buffer_ = 0;
    int opacity_ = 255;
};
