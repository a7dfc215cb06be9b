#pragma once
// The thin object through which the program talks to the audio library: it fixes the flags and
// constants the program always passes and holds no playback state of its own.
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"

class AudioPlayer {
public:
    explicit AudioPlayer(const AudioLibrary& library) : lib_(library) {}
    virtual ~AudioPlayer() = default;

    BOOL Init(int device = -1, DWORD frequency = 44100, DWORD flags = 0, HWND window = nullptr);
    BOOL Free();
    // The first source that is there wins: an existing file, then the memory block, then the URL.
    HSTREAM CreateStream(const std::wstring& path, const std::string& memory, const std::string& url,
                         DWORD offset = 0);
    BOOL Play(HSTREAM stream, bool restart = true);
    BOOL Pause(HSTREAM stream);
    BOOL Stop(HSTREAM stream);
    QWORD GetPosition(HSTREAM stream);
    BOOL SetPosition(HSTREAM stream, QWORD bytes);
    QWORD GetLength(HSTREAM stream);
    std::string GetTags(HSTREAM stream);
    DWORD GetState(HSTREAM stream);
    BOOL FreeStream(HSTREAM stream);
    DWORD GetSpectrum(HSTREAM stream, std::vector<float>& bins);
    BOOL SetMasterVolume(float volume);
    float GetMasterVolume();
    BOOL SetChannelVolume(HSTREAM stream, float volume);
    BOOL GetChannelVolume(HSTREAM stream, float& volume);
    double BytesToSeconds(HSTREAM stream, QWORD bytes);
    QWORD SecondsToBytes(HSTREAM stream, double seconds);
    // Part 1 the low byte of a colour, 2 the middle, 3 the high one; any other part 0.
    static int SplitColour(int colour, int part);

private:
    const AudioLibrary& lib_;
};
