// Lecture mode on a real transcript control, with the playback position played by the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/TranscriptEditor.h"
#include "hotkeys/LectureMode.h"
#include "shell/ProcessState.h"
#include "shell/Win32Util.h"

namespace {

class FakeView : public LectureView {
public:
    explicit FakeView(TranscriptEditor& editor) : editor_(editor) {}

    std::wstring PositionText() override { return position; }
    std::wstring VisibleText() override { return editor_.VisibleText(); }
    int LineCount() override { return editor_.LineCount(); }
    int LineOfChar(int index) override { return editor_.LineOfChar(index); }
    int FirstVisibleLine() override { return editor_.FirstVisibleLine(); }
    void ScrollLines(int lines) override {
        ++scrolls;
        editor_.ScrollLines(lines);
    }
    void SetStatus(const std::wstring& text) override { status = text; }
    void ShowModeOn(bool on) override { buttonOn = on; }
    void Tell(const std::wstring& text) override { told.push_back(text); }

    std::wstring position = L"00:00";
    std::wstring status;
    std::vector<std::wstring> told;
    bool buttonOn = false;
    int scrolls = 0;

private:
    TranscriptEditor& editor_;
};

class LectureModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 700, 320, nullptr, nullptr, nullptr,
                                nullptr);
        ASSERT_TRUE(host_);
        ASSERT_TRUE(editor_.Create(host_));
        state::CurrentStream = 1;
        state::LectureModeOn = 0;
        state::SliderPressed = 0;
    }
    void TearDown() override {
        state::LectureModeOn = 0;
        state::CurrentStream = 0;
        DestroyWindow(host_);
    }

    // One hundred short lines; markers go on the lines given.
    void Transcript(const std::vector<std::pair<int, std::wstring>>& markers) {
        std::wstring text;
        for (int i = 0; i < 100; ++i) {
            text += L"第" + std::to_wstring(i) + L"行";
            for (const auto& [line, marker] : markers)
                if (line == i) text += L" " + marker + L" 讲到这里";
            if (i < 99) text += L"\r\n";
        }
        ASSERT_TRUE(editor_.LoadContent(ToGbk(text), ContentFormat::PlainText));
    }

    // Serves the UI thread's messages until done() or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > ms) return false;
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }

    HWND host_ = nullptr;
    TranscriptEditor editor_;
    FakeView view_{editor_};
};

TEST_F(LectureModeTest, EachMarkerLineComesToTheTopWhenPlaybackReachesIt) {
    Transcript({{10, L"【00:05】"}, {25, L"【5:23】"}, {40, L"【12:00】"}});
    LectureMode mode(view_, {50, 200});
    mode.Toggle();
    EXPECT_TRUE(view_.buttonOn);
    EXPECT_EQ(state::LectureModeOn, 1);

    const std::wstring waiting = L"           当前为讲课模式： 下个时间标记 【00:05】【00:00】";
    ASSERT_TRUE(PumpUntil([&] { return view_.status == waiting; })) << ToGbk(view_.status);
    EXPECT_EQ(editor_.FirstVisibleLine(), 0);

    view_.position = L"00:05";
    ASSERT_TRUE(PumpUntil([&] { return editor_.FirstVisibleLine() == 10; }));
    // 【5:23】 waits as 05:23: 05:22 is before it, 05:23 reaches it.
    view_.position = L"05:22";
    ASSERT_TRUE(PumpUntil([&] { return view_.status == L"           当前为讲课模式： 下个时间标记 【05:23】【05:22】"; }));
    EXPECT_EQ(editor_.FirstVisibleLine(), 10);
    view_.position = L"05:23";
    ASSERT_TRUE(PumpUntil([&] { return editor_.FirstVisibleLine() == 25; }));
    view_.position = L"12:00";
    ASSERT_TRUE(PumpUntil([&] { return editor_.FirstVisibleLine() == 40; }));
    EXPECT_EQ(view_.scrolls, 3);
    EXPECT_TRUE(view_.told.empty());
}

// In a narrow editor the paragraphs wrap: the line that comes up is the wrapped line that
// holds the marker, not its paragraph's first.
TEST_F(LectureModeTest, AWrappedMarkerLineComesToTheTop) {
    editor_.Resize(220, 293);
    std::wstring text;
    for (int i = 0; i < 60; ++i) {
        text += L"第" + std::to_wstring(i) + L"段 " + std::wstring(30, L'长');
        if (i == 20) text += L" 【00:05】 讲到这里";
        if (i == 35) text += L" 【00:09】";
        text += L"\r\n";
    }
    ASSERT_TRUE(editor_.LoadContent(ToGbk(text), ContentFormat::PlainText));
    ASSERT_GT(editor_.LineCount(), 100);
    LectureMode mode(view_, {50, 200});
    mode.Toggle();
    auto topLine = [&] { return editor_.LineText(editor_.FirstVisibleLine()); };
    view_.position = L"00:05";
    ASSERT_TRUE(PumpUntil([&] { return topLine().find(L"【00:05】") != std::wstring::npos; })) << ToGbk(topLine());
    EXPECT_NE(topLine().rfind(L"第20段", 0), 0u);
    view_.position = L"00:09";
    ASSERT_TRUE(PumpUntil([&] { return topLine().find(L"【00:09】") != std::wstring::npos; })) << ToGbk(topLine());
    EXPECT_EQ(view_.scrolls, 2);
}

TEST_F(LectureModeTest, ATranscriptWithoutMarkersSwitchesTheModeOff) {
    Transcript({{3, L"【没有冒号】"}, {4, L"[05:23]"}});
    LectureMode mode(view_, {50, 200});
    mode.Toggle();
    ASSERT_TRUE(PumpUntil([&] { return !view_.told.empty(); }));
    EXPECT_EQ(view_.told, std::vector<std::wstring>{L"未搜索到任何合法的时间标记【XX:XX】"});
    EXPECT_EQ(state::LectureModeOn, 0);
    EXPECT_FALSE(view_.buttonOn);
}

TEST_F(LectureModeTest, WithoutARecordingTheModeStaysOff) {
    state::CurrentStream = 0;
    LectureMode mode(view_, {50, 200});
    mode.Toggle();
    EXPECT_EQ(view_.told, std::vector<std::wstring>{L"请首先打开一个音频文件播放，再开启讲课模式！"});
    EXPECT_EQ(state::LectureModeOn, 0);
    EXPECT_FALSE(view_.buttonOn);
}

TEST_F(LectureModeTest, ARedrawStartsTheScanOverAndTheOldOneStaysQuiet) {
    Transcript({{10, L"【00:05】"}, {30, L"【00:20】"}});
    LectureMode mode(view_, {50, 300});
    mode.Toggle();
    view_.position = L"00:05";
    ASSERT_TRUE(PumpUntil([&] { return editor_.FirstVisibleLine() == 10; }));
    ASSERT_TRUE(PumpUntil([&] { return view_.status.find(L"【00:20】【00:05】") != std::wstring::npos; }));

    state::RedrawCount = state::RedrawCount + 1;
    ASSERT_TRUE(PumpUntil([&] { return state::SliderPressed == 1; }));
    // While the restart waits, reaching the second marker scrolls nothing: the old scan is over.
    view_.position = L"00:20";
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(editor_.FirstVisibleLine(), 10);
    ASSERT_TRUE(PumpUntil([&] { return mode.ScansStarted() == 2; }));
    EXPECT_EQ(state::SliderPressed, 0);
    // The new scan begins at the first marker again and runs through to the second.
    ASSERT_TRUE(PumpUntil([&] { return editor_.FirstVisibleLine() == 30; }));

    // Switched off, the threads end by themselves and touch nothing more.
    mode.Toggle();
    EXPECT_EQ(state::LectureModeOn, 0);
    const int scrolls = view_.scrolls;
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(view_.scrolls, scrolls);
}

}  // namespace
