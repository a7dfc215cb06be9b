// The player against a scripted audio library: what it asks of the library and what it shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/AudioPlayer.h"
#include "audio/Player.h"
#include "shell/ProcessState.h"

namespace {

// One stream of 60 s at 44.1 kHz, 16-bit stereo: 176400 bytes a second.
constexpr double kBytesPerSecond = 176400;

struct Script {
    std::vector<std::string> calls;
    DWORD state = BASS_ACTIVE_PLAYING;
    QWORD position = 0;
    QWORD length = static_cast<QWORD>(60 * kBytesPerSecond);
    HSTREAM nextHandle = 7;
    float rate = 0;
} g;

HSTREAM WINAPI CreateFile(BOOL mem, const void*, QWORD, QWORD, DWORD) {
    g.calls.push_back(mem ? "file:mem" : "file");
    return g.nextHandle;
}
HSTREAM WINAPI CreateUrl(const char* url, DWORD, DWORD, DOWNLOADPROC*, void*) {
    g.calls.push_back(std::string("url:") + url);
    return g.nextHandle;
}
BOOL WINAPI Play(DWORD h, BOOL restart) {
    g.calls.push_back(restart ? "play:restart" : "play:resume");
    if (h) g.state = BASS_ACTIVE_PLAYING;
    return h != 0;
}
BOOL WINAPI Pause(DWORD) {
    g.calls.push_back("pause");
    g.state = BASS_ACTIVE_PAUSED;
    return TRUE;
}
BOOL WINAPI Free(HSTREAM h) {
    g.calls.push_back("free:" + std::to_string(h));
    return TRUE;
}
DWORD WINAPI IsActive(DWORD) { return g.state; }
QWORD WINAPI GetPosition(DWORD, DWORD) { return g.position; }
BOOL WINAPI SetPosition(DWORD, QWORD pos, DWORD) {
    g.position = pos;
    g.calls.push_back("seek:" + std::to_string(static_cast<long long>(pos / kBytesPerSecond * 10)));
    return TRUE;
}
QWORD WINAPI GetLength(DWORD, DWORD) { return g.length; }
double WINAPI ToSeconds(DWORD, QWORD pos) { return static_cast<double>(pos) / kBytesPerSecond; }
QWORD WINAPI ToBytes(DWORD, double seconds) { return static_cast<QWORD>(seconds * kBytesPerSecond); }
BOOL WINAPI GetAttribute(DWORD, DWORD, float* value) {
    *value = 44100;
    return TRUE;
}
BOOL WINAPI Slide(DWORD, DWORD, float value, DWORD time) {
    g.rate = value;
    EXPECT_EQ(time, 0u) << "speed changes act at once";
    return TRUE;
}
QWORD WINAPI FilePosition(HSTREAM, DWORD mode) { return mode == BASS_FILEPOS_END ? 1000 : 250; }

AudioLibrary ScriptedLibrary() {
    AudioLibrary lib;
    lib.BASS_StreamCreateFile = CreateFile;
    lib.BASS_StreamCreateURL = CreateUrl;
    lib.BASS_ChannelPlay = Play;
    lib.BASS_ChannelPause = Pause;
    lib.BASS_StreamFree = Free;
    lib.BASS_ChannelIsActive = IsActive;
    lib.BASS_ChannelGetPosition = GetPosition;
    lib.BASS_ChannelSetPosition = SetPosition;
    lib.BASS_ChannelGetLength = GetLength;
    lib.BASS_ChannelBytes2Seconds = ToSeconds;
    lib.BASS_ChannelSeconds2Bytes = ToBytes;
    lib.BASS_ChannelGetAttribute = GetAttribute;
    lib.BASS_ChannelSlideAttribute = Slide;
    lib.BASS_StreamGetFilePosition = FilePosition;
    return lib;
}

struct Shown : PlayerDisplay {
    std::wstring current = L"-", total = L"-";
    float percent = -1, buffer = -1;
    bool pause = false;
    int level = 0;
    unsigned timer = 0;
    void SetCurrentTime(const std::wstring& t) override { current = t; }
    void SetTotalTime(const std::wstring& t) override { total = t; }
    void SetPositionPercent(float p) override { percent = p; }
    void SetBufferPercent(float p) override { buffer = p; }
    void ShowPauseButton(bool p) override { pause = p; }
    void ShowSpeedLevel(int l) override { level = l; }
    void SetPositionTimer(unsigned ms) override { timer = ms; }
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g = Script{};
        state::CurrentStream = 0;
        state::SpeedLevel = 0;
        state::OpeningFromHistory = 0;
        state::LectureModeOn = 0;
        player.SetHooks({.afterOpening = [this] { ++openings; },
                         .addToHistory = [this](const std::wstring& e, int) { history.push_back(e); }});
    }

    // A real file, so the existence test of the wrapper passes.
    std::wstring ExistingFile() {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return path;
    }

    AudioLibrary lib = ScriptedLibrary();
    AudioPlayer audio{lib};
    Shown shown;
    Player player{audio, lib, shown};
    int openings = 0;
    std::vector<std::wstring> history;
};

TEST_F(PlayerTest, WrapperPicksTheFirstSourceThatIsThere) {
    EXPECT_EQ(audio.CreateStream(L"", "", ""), 0u);
    EXPECT_EQ(audio.Play(0), FALSE);
    EXPECT_TRUE(g.calls.empty()) << "no library call without a source or a stream";

    EXPECT_EQ(audio.CreateStream(L"Z:\\no\\such\\file.mp3", "", "http://127.0.0.1/a.mp3"), 7u);
    EXPECT_EQ(audio.CreateStream(L"Z:\\no\\such\\file.mp3", "bytes", "http://127.0.0.1/a.mp3"), 7u);
    EXPECT_EQ(audio.CreateStream(ExistingFile(), "bytes", ""), 7u);
    EXPECT_EQ(audio.Play(7), TRUE);
    EXPECT_EQ(g.calls, (std::vector<std::string>{"url:http://127.0.0.1/a.mp3", "file:mem", "file", "play:restart"}));
}

TEST_F(PlayerTest, OpeningReplacesTheStreamAtNormalSpeed) {
    player.OpenRecording(ExistingFile(), Player::kLocalFile, L"");
    player.StepSpeed(true);
    EXPECT_FLOAT_EQ(g.rate, 11 * 44100 * 0.1f);
    g.nextHandle = 8;
    player.OpenRecording(ExistingFile(), Player::kLocalFile, L"显示名");
    EXPECT_EQ(state::CurrentStream.load(), 8u);
    EXPECT_EQ(g.calls[2], "free:7") << "the old stream goes first";
    EXPECT_EQ(state::SpeedLevel.load(), 10);
    EXPECT_EQ(shown.total, L"01:00");
    EXPECT_TRUE(shown.pause);
    EXPECT_EQ(shown.timer, Player::kTickMs);
    EXPECT_EQ(openings, 2);
    EXPECT_EQ(history, (std::vector<std::wstring>{ExistingFile(), L"显示名"}));
}

TEST_F(PlayerTest, AFailedOpeningOnlyAdvancesTheTip) {
    g.nextHandle = 0;
    player.OpenRecording(L"Z:\\missing.mp3", Player::kLocalFile, L"");
    EXPECT_EQ(state::CurrentStream.load(), 0u);
    EXPECT_EQ(shown.total, L"-");
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(openings, 1);
    player.TogglePlayPause();
    player.SeekForward();
    player.StepSpeed(true);
    EXPECT_EQ(shown.level, 0) << "nothing acts without a stream";
}

TEST_F(PlayerTest, SeeksStopAtTheStartButNotAtTheEnd) {
    player.OpenRecording(ExistingFile(), Player::kLocalFile, L"");
    g.position = static_cast<QWORD>(3 * kBytesPerSecond);
    player.TogglePlayPause();  // pause
    player.SeekBack();
    EXPECT_EQ(g.position, 0u);
    EXPECT_EQ(shown.current, L"00:00");
    g.position = static_cast<QWORD>(58 * kBytesPerSecond);
    player.SeekForward();
    EXPECT_EQ(g.position, static_cast<QWORD>(63 * kBytesPerSecond)) << "beyond the end goes to the library";
    EXPECT_EQ(shown.current, L"01:03");
    g.state = BASS_ACTIVE_STALLED;
    player.SeekBack();
    EXPECT_EQ(g.position, static_cast<QWORD>(63 * kBytesPerSecond));
}

TEST_F(PlayerTest, PlayPauseFollowsTheState) {
    player.OpenRecording(ExistingFile(), Player::kLocalFile, L"");
    g.calls.clear();
    player.TogglePlayPause();
    EXPECT_FALSE(shown.pause);
    player.TogglePlayPause();
    g.state = BASS_ACTIVE_STOPPED;
    player.TogglePlayPause();
    EXPECT_EQ(g.calls, (std::vector<std::string>{"pause", "play:resume", "play:restart"}));
    EXPECT_TRUE(shown.pause);
}

TEST_F(PlayerTest, TheEndResetsTheDisplays) {
    player.OpenRecording(ExistingFile(), Player::kLocalFile, L"");
    g.position = static_cast<QWORD>(30 * kBytesPerSecond);
    player.PositionTick();
    EXPECT_EQ(shown.current, L"00:30");
    EXPECT_FLOAT_EQ(shown.percent, 50);
    EXPECT_FLOAT_EQ(shown.buffer, 25);
    g.state = BASS_ACTIVE_STOPPED;
    state::LectureModeOn = 1;
    player.PositionTick();
    EXPECT_EQ(shown.current, L"");
    EXPECT_FLOAT_EQ(shown.percent, 0);
    EXPECT_FALSE(shown.pause);
    EXPECT_EQ(shown.timer, 0u);
    EXPECT_EQ(state::LectureModeOn.load(), 0);
}

TEST_F(PlayerTest, CycleSpeedWrapsFromSlowestToFastest) {
    player.OpenRecording(ExistingFile(), Player::kLocalFile, L"");
    player.CycleSpeed();
    EXPECT_FLOAT_EQ(g.rate, 9 * 44100 * 0.1f);
    for (int i = 0; i < 3; ++i) player.CycleSpeed();
    EXPECT_EQ(state::SpeedLevel.load(), 6);
    player.CycleSpeed();
    EXPECT_EQ(state::SpeedLevel.load(), 15);
    EXPECT_EQ(shown.level, 15);
}

}  // namespace
