#include "audio/Player.h"

#include <commdlg.h>
#include <shlobj.h>

#include "audio/SpeedRules.h"
#include "audio/TimeText.h"
#include "shell/ProcessState.h"
#include "shell/Win32Util.h"

namespace {

constexpr const char* kCodecAddOns[] = {
    "basswma.dll", "bass_aac.dll", "bass_ac3.dll", "bass_alac.dll", "bassflac.dll",
    "bass_ape.dll", "basswv.dll",  "bass_tta.dll", "bass_mpc.dll",
};

// A network opening waits this long so that the download can fill its buffer.
constexpr DWORD kNetworkBufferWaitMs = 2000;

std::wstring TimeText(double seconds) {
    const std::string t = FormatTime(seconds);
    return std::wstring(t.begin(), t.end());
}

}  // namespace

void Player::LoadCodecAddOns() {
    // A missing add-on only means its formats do not open; nothing to report.
    const std::string plugins = ToGbk(ProgramDirectory() + L"\\plugins\\");
    for (const char* name : kCodecAddOns) lib_.BASS_PluginLoad((plugins + name).c_str(), 0);
}

void Player::OpenRecordingDialog(HWND owner) {
    wchar_t desktop[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    std::wstring initial = desktop;
    if (!initial.empty() && initial.back() != L'\\') initial += L'\\';

    std::wstring file(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"所有文件(*.*)\0*.*\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initial.c_str();
    ofn.lpstrTitle = L"选择要打开的音频文件";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return;
    file.resize(wcslen(file.c_str()));
    const size_t slash = file.find_last_of(L'\\');
    if (file.empty() || slash == std::wstring::npos) return;

    SetWindowTextW(state::MainWindowHandle, (L"Tandrel录音整理工具6.2  " + file.substr(slash + 1)).c_str());
    state::OpeningFromHistory = 0;
    OpenRecording(file, kLocalFile, L"");
}

void Player::OpenRecording(const std::wstring& address, int source, const std::wstring& displayName) {
    if (HSTREAM old = state::CurrentStream) audio_.FreeStream(old);
    HSTREAM stream = 0;
    if (source == kLocalFile) {
        stream = audio_.CreateStream(address, {}, {});
    } else {
        stream = audio_.CreateStream({}, {}, ToGbk(address));
        Sleep(kNetworkBufferWaitMs);
    }
    state::CurrentStream = stream;

    if (audio_.Play(stream)) {
        if (!state::OpeningFromHistory && hooks_.addToHistory)
            hooks_.addToHistory(displayName.empty() ? address : displayName, source);
        float rate = 0;
        lib_.BASS_ChannelGetAttribute(stream, BASS_ATTRIB_FREQ, &rate);
        state::BaseSampleRate = rate;
        state::SpeedLevel = kNormalLevel;
        display_.ShowSpeedLevel(kNormalLevel);
        display_.SetTotalTime(TimeText(audio_.BytesToSeconds(stream, audio_.GetLength(stream))));
        display_.ShowPauseButton(true);
        display_.SetPositionTimer(kTickMs);
    }
    if (hooks_.afterOpening) hooks_.afterOpening();
}

void Player::TogglePlayPause() {
    const HSTREAM stream = state::CurrentStream;
    if (stream == 0) return;
    switch (audio_.GetState(stream)) {
        case BASS_ACTIVE_PAUSED:
            audio_.Play(stream, false);
            display_.ShowPauseButton(true);
            break;
        case BASS_ACTIVE_STOPPED:
            audio_.Play(stream, true);
            display_.ShowPauseButton(true);
            display_.SetPositionTimer(kTickMs);
            break;
        case BASS_ACTIVE_PLAYING:
            audio_.Pause(stream);
            display_.ShowPauseButton(false);
            break;
        default:  // stalled: the download will resume it
            break;
    }
}

void Player::Seek(double deltaSeconds) {
    const HSTREAM stream = state::CurrentStream;
    if (stream == 0) return;
    const DWORD s = audio_.GetState(stream);
    if (s != BASS_ACTIVE_PLAYING && s != BASS_ACTIVE_PAUSED) return;
    const double t = audio_.BytesToSeconds(stream, audio_.GetPosition(stream)) + deltaSeconds;
    // Backwards stops at the start; forwards is handed to the library as it is.
    const bool toStart = deltaSeconds < 0 && !(t > 0.0000001);
    audio_.SetPosition(stream, toStart ? 0 : audio_.SecondsToBytes(stream, t));
    if (s == BASS_ACTIVE_PAUSED) display_.SetCurrentTime(toStart ? L"00:00" : TimeText(t));
}

void Player::SeekBack() { Seek(-5); }
void Player::SeekForward() { Seek(+5); }

void Player::ApplySpeed() {
    const HSTREAM stream = state::CurrentStream;
    const int level = state::SpeedLevel;
    lib_.BASS_ChannelSlideAttribute(stream, BASS_ATTRIB_FREQ,
                                    static_cast<float>(level * state::BaseSampleRate * 0.1), 0);
    display_.ShowSpeedLevel(level);
}

void Player::StepSpeed(bool faster) {
    if (state::CurrentStream == 0) return;
    state::SpeedLevel = SteppedLevel(state::SpeedLevel, faster);
    ApplySpeed();
}

void Player::CycleSpeed() {
    if (state::CurrentStream == 0) return;
    state::SpeedLevel = CycledLevel(state::SpeedLevel);
    ApplySpeed();
}

void Player::SeekToPercent(int percent) {
    const HSTREAM stream = state::CurrentStream;
    const DWORD s = stream ? audio_.GetState(stream) : BASS_ACTIVE_STOPPED;
    if (s == BASS_ACTIVE_STOPPED) {
        display_.SetPositionPercent(0);
    } else if (s == BASS_ACTIVE_PLAYING || s == BASS_ACTIVE_PAUSED) {
        audio_.SetPosition(stream, static_cast<QWORD>(static_cast<double>(audio_.GetLength(stream)) * percent / 100));
        if (s == BASS_ACTIVE_PAUSED)
            display_.SetCurrentTime(TimeText(audio_.BytesToSeconds(stream, audio_.GetPosition(stream))));
    }
    if (state::LectureModeOn && !state::SliderPressed && hooks_.restartLectureScan) hooks_.restartLectureScan();
}

void Player::PositionTick() {
    const HSTREAM stream = state::CurrentStream;
    const QWORD position = audio_.GetPosition(stream);
    const QWORD length = audio_.GetLength(stream);
    display_.SetCurrentTime(TimeText(audio_.BytesToSeconds(stream, position)));
    // A stream of no length (or none at all) would divide by zero: show the start.
    display_.SetPositionPercent(length ? static_cast<float>(static_cast<double>(position) / length * 100) : 0);
    const QWORD buffered = lib_.BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER);
    const QWORD size = lib_.BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END);
    const bool known = size != 0 && size != static_cast<QWORD>(-1) && buffered != static_cast<QWORD>(-1);
    display_.SetBufferPercent(known ? static_cast<float>(static_cast<double>(buffered) * 100 / size) : 0);

    if (audio_.GetState(stream) == BASS_ACTIVE_STOPPED) {
        display_.ShowPauseButton(false);
        display_.SetPositionPercent(0);
        display_.SetCurrentTime(L"");
        display_.SetPositionTimer(0);
        if (state::LectureModeOn) {
            state::LectureModeOn = 0;
            if (hooks_.lectureModeStopped) hooks_.lectureModeStopped();
        }
    }
}
