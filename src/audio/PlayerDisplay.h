#pragma once
#include <string>

// What the player shows: the two time labels, the position slider, the play/pause and speed
// pictures of the toolbar and the position timer. The player only talks to this interface, so
// its logic stays the same whichever controls stand behind it.
class PlayerDisplay {
public:
    virtual ~PlayerDisplay() = default;
    virtual void SetCurrentTime(const std::wstring& text) = 0;
    virtual void SetTotalTime(const std::wstring& text) = 0;
    virtual void SetPositionPercent(float percent) = 0;
    virtual void SetBufferPercent(float percent) = 0;
    // true: the pause pictures (something is playing); false: the play pictures.
    virtual void ShowPauseButton(bool pause) = 0;
    virtual void ShowSpeedLevel(int level) = 0;
    // 0 stops the position timer.
    virtual void SetPositionTimer(unsigned intervalMs) = 0;
};
