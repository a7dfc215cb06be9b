#pragma once
// The player: opens one recording at a time, plays and pauses it, jumps five seconds, changes
// the speed in tenths and keeps the position display up to date.
#include <functional>
#include <string>

#include "audio/AudioPlayer.h"
#include "audio/PlayerDisplay.h"

class Player {
public:
    enum Source { kLocalFile = 0, kNetwork = 1 };

    // Called after every opening, successful or not (the tips advance), and for each recording
    // that opened and should go into the play history.
    struct Hooks {
        std::function<void()> afterOpening;
        std::function<void(const std::wstring& entry, int source)> addToHistory;
        std::function<void()> lectureModeStopped;
        std::function<void()> restartLectureScan;
    };

    Player(AudioPlayer& audio, const AudioLibrary& library, PlayerDisplay& display)
        : audio_(audio), lib_(library), display_(display) {}

    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    void LoadCodecAddOns();
    void OpenRecordingDialog(HWND owner);
    void OpenRecording(const std::wstring& address, int source, const std::wstring& displayName);
    void TogglePlayPause();
    void SeekBack();
    void SeekForward();
    void CycleSpeed();
    void StepSpeed(bool faster);
    void SeekToPercent(int percent);
    void PositionTick();

    static constexpr unsigned kTickMs = 100;

private:
    void Seek(double deltaSeconds);
    void ApplySpeed();

    AudioPlayer& audio_;
    const AudioLibrary& lib_;
    PlayerDisplay& display_;
    Hooks hooks_;
};
