#include "audio/AudioPlayer.h"

#include <cmath>

BOOL AudioPlayer::Init(int device, DWORD frequency, DWORD flags, HWND window) {
    return lib_.BASS_Init(device, frequency, flags, window, nullptr);
}

BOOL AudioPlayer::Free() { return lib_.BASS_Free(); }

HSTREAM AudioPlayer::CreateStream(const std::wstring& path, const std::string& memory, const std::string& url,
                                  DWORD offset) {
    if (path.empty() && memory.empty() && url.empty()) return 0;
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // UTF-16 path: a recording's name may hold characters outside GBK.
        return lib_.BASS_StreamCreateFile(FALSE, path.c_str(), offset, 0, BASS_UNICODE);
    }
    if (!memory.empty()) return lib_.BASS_StreamCreateFile(TRUE, memory.data(), offset, memory.size(), 0);
    if (!url.empty()) return lib_.BASS_StreamCreateURL(url.c_str(), offset, 0, nullptr, nullptr);
    return 0;
}

BOOL AudioPlayer::Play(HSTREAM stream, bool restart) {
    if (stream == 0) return FALSE;
    return lib_.BASS_ChannelPlay(stream, restart ? TRUE : FALSE);
}

BOOL AudioPlayer::Pause(HSTREAM stream) { return lib_.BASS_ChannelPause(stream); }
BOOL AudioPlayer::Stop(HSTREAM stream) { return lib_.BASS_ChannelStop(stream); }
QWORD AudioPlayer::GetPosition(HSTREAM stream) { return lib_.BASS_ChannelGetPosition(stream, BASS_POS_BYTE); }

BOOL AudioPlayer::SetPosition(HSTREAM stream, QWORD bytes) {
    return lib_.BASS_ChannelSetPosition(stream, bytes, BASS_POS_BYTE);
}

QWORD AudioPlayer::GetLength(HSTREAM stream) { return lib_.BASS_ChannelGetLength(stream, BASS_POS_BYTE); }

std::string AudioPlayer::GetTags(HSTREAM stream) {
    const char* tags = lib_.BASS_ChannelGetTags(stream, BASS_TAG_ID3);
    return tags ? std::string(tags) : std::string();
}

DWORD AudioPlayer::GetState(HSTREAM stream) { return lib_.BASS_ChannelIsActive(stream); }
BOOL AudioPlayer::FreeStream(HSTREAM stream) { return lib_.BASS_StreamFree(stream); }

DWORD AudioPlayer::GetSpectrum(HSTREAM stream, std::vector<float>& bins) {
    bins.assign(128, 0.0f);
    return lib_.BASS_ChannelGetData(stream, bins.data(), BASS_DATA_FFT256);
}

BOOL AudioPlayer::SetMasterVolume(float volume) { return lib_.BASS_SetVolume(volume); }
float AudioPlayer::GetMasterVolume() { return lib_.BASS_GetVolume(); }

BOOL AudioPlayer::SetChannelVolume(HSTREAM stream, float volume) {
    return lib_.BASS_ChannelSetAttribute(stream, BASS_ATTRIB_VOL, volume);
}

BOOL AudioPlayer::GetChannelVolume(HSTREAM stream, float& volume) {
    return lib_.BASS_ChannelGetAttribute(stream, BASS_ATTRIB_VOL, &volume);
}

double AudioPlayer::BytesToSeconds(HSTREAM stream, QWORD bytes) { return lib_.BASS_ChannelBytes2Seconds(stream, bytes); }
QWORD AudioPlayer::SecondsToBytes(HSTREAM stream, double seconds) { return lib_.BASS_ChannelSeconds2Bytes(stream, seconds); }

int AudioPlayer::SplitColour(int colour, int part) {
    const double v = colour;
    const double high = std::floor(v / 65536);
    const double middle = std::floor((v - high * 65536) / 256);
    const double low = std::trunc(v - high * 65536 - middle * 256);
    switch (part) {
        case 1: return static_cast<int>(low);
        case 2: return static_cast<int>(middle);
        case 3: return static_cast<int>(high);
        default: return 0;
    }
}
