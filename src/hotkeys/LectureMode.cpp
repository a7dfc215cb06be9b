#include "hotkeys/LectureMode.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "editor/TranscriptEditor.h"
#include "hotkeys/MarkerScan.h"
#include "shell/ProcessState.h"
#include "shell/StandInDisplay.h"
#include "shell/Win32Util.h"
#include "toolkit/MessageBox.h"

namespace {

constexpr UINT kRunOnUi = WM_APP + 1;
constexpr wchar_t kUiClass[] = L"TandrelLectureCalls";
constexpr unsigned kStep = 50;  // the longest a stop request waits to be seen

std::u16string U16(const std::wstring& s) { return {s.begin(), s.end()}; }
std::wstring Wide(const std::u16string& s) { return {s.begin(), s.end()}; }

}  // namespace

LRESULT CALLBACK LectureMode::UiProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kRunOnUi) {
        (*reinterpret_cast<std::function<void()>*>(lp))();
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LectureMode::LectureMode(LectureView& view, LectureTimings timings) : view_(view), timings_(timings) {
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), kUiClass, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &UiProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kUiClass;
        RegisterClassExW(&wc);
    }
    ui_ = CreateWindowExW(0, kUiClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

LectureMode::~LectureMode() {
    closing_ = true;
    ++scanGeneration_;
    ++watcherGeneration_;
    // The threads may be waiting for a call on this thread: keep serving those while they end.
    std::vector<HANDLE> threads;
    {
        std::lock_guard<std::mutex> lock(threadsLock_);
        threads.swap(threads_);
    }
    for (HANDLE t : threads) {
        while (MsgWaitForMultipleObjects(1, &t, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG m;
            PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(t);
    }
    if (ui_) DestroyWindow(ui_);
}

template <class Fn>
bool LectureMode::OnUi(Fn&& fn) {
    if (closing_) return false;
    std::function<void()> call(std::forward<Fn>(fn));
    return SendMessageW(ui_, kRunOnUi, 0, reinterpret_cast<LPARAM>(&call)) == 1;
}

template <class Pred>
bool LectureMode::Pause(unsigned ms, Pred keepGoing) {
    for (unsigned slept = 0; slept < ms; slept += kStep) {
        if (!keepGoing()) return false;
        Sleep(std::min(kStep, ms - slept));
    }
    return keepGoing();
}

void LectureMode::Spawn(LPTHREAD_START_ROUTINE body, ScanStart* start, bool isScan) {
    HANDLE thread = CreateThread(nullptr, 0, body, start, 0, nullptr);
    if (!thread) {
        delete start;
        return;
    }
    std::lock_guard<std::mutex> lock(threadsLock_);
    // Forget the threads that have ended so a long session does not pile up handles.
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (WaitForSingleObject(*it, 0) == WAIT_OBJECT_0) {
            CloseHandle(*it);
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
    threads_.push_back(thread);
    if (isScan) state::LectureThread = thread;
}

void LectureMode::Toggle() {
    if (state::CurrentStream == 0) {
        view_.ShowModeOn(false);
        view_.Tell(L"请首先打开一个音频文件播放，再开启讲课模式！");
        return;
    }
    if (state::LectureModeOn == 1) {
        // The threads see it at their next look and end by themselves.
        state::LectureModeOn = 0;
        view_.ShowModeOn(false);
        return;
    }
    state::LectureModeOn = 1;
    view_.ShowModeOn(true);
    StartScan();
    Spawn(&WatcherMain, new ScanStart{this, ++watcherGeneration_}, false);
}

void LectureMode::StartScan() {
    ++scansStarted_;
    Spawn(&ScanMain, new ScanStart{this, ++scanGeneration_}, true);
}

void LectureMode::RestartScan() {
    // The old scan stops at once; the new one waits until the seeking is over.
    ++scanGeneration_;
    Spawn(&RestartMain, new ScanStart{this, scanGeneration_}, false);
}

DWORD WINAPI LectureMode::ScanMain(LPVOID arg) {
    std::unique_ptr<ScanStart> start(static_cast<ScanStart*>(arg));
    start->mode->Scan(start->generation);
    return 0;
}

DWORD WINAPI LectureMode::WatcherMain(LPVOID arg) {
    std::unique_ptr<ScanStart> start(static_cast<ScanStart*>(arg));
    start->mode->Watch(start->generation, state::RedrawCount);
    return 0;
}

DWORD WINAPI LectureMode::RestartMain(LPVOID arg) {
    std::unique_ptr<ScanStart> start(static_cast<ScanStart*>(arg));
    start->mode->DelayedStart(start->generation);
    return 0;
}

void LectureMode::Scan(int generation) {
    auto current = [&] { return scanGeneration_ == generation && !closing_; };
    auto keepGoing = [&] { return current() && state::LectureModeOn == 1 && state::SliderPressed != 1; };

    // One look at the editor for its text and line count. Where no line is wrapped the lines
    // are the paragraphs of the text, which is what a transcript in a wide editor looks like.
    // Otherwise the editor is asked for the line of a marker when playback reaches it: the
    // control finds a line by walking from the top, so reading every line at the start costs
    // the square of their number, while one marker's line costs well under a millisecond.
    std::u16string text;
    int lineCount = 0;
    if (!OnUi([&] {
            if (!current()) return;
            text = U16(view_.VisibleText());
            lineCount = view_.LineCount();
        }) || !current())
        return;
    const size_t paragraphs = static_cast<size_t>(std::count(text.begin(), text.end(), u'\r')) + 1;
    LineLookup lineOf = ParagraphLines(text);
    if (paragraphs != static_cast<size_t>(lineCount)) {
        lineOf = [&](const std::vector<size_t>& indices) {
            std::vector<int> lines;
            OnUi([&] {
                if (!current()) return;
                for (size_t i : indices) lines.push_back(view_.LineOfChar(static_cast<int>(i)));
            });
            return lines;
        };
    }
    LectureMarkerList markers(text);
    if (markers.empty()) {
        OnUi([&] {
            if (!current()) return;
            state::LectureModeOn = 0;
            view_.ShowModeOn(false);
            view_.Tell(L"未搜索到任何合法的时间标记【XX:XX】");
        });
        return;
    }

    for (size_t i = 0; i < markers.size(); ++i) {
        const std::u16string& time = markers.Time(i);
        for (;;) {
            std::u16string position;
            if (!OnUi([&] { position = U16(view_.PositionText()); })) return;
            if (PositionReached(position, time)) break;
            OnUi([&] {
                if (current()) view_.SetStatus(Wide(LectureStatusText(time, position)));
            });
            if (!Pause(timings_.waitMs, keepGoing)) break;
        }
        if (!keepGoing()) return;
        const int line = markers.Line(i, lineOf);
        OnUi([&] {
            if (current()) view_.ScrollLines(line - view_.FirstVisibleLine());
        });
    }
}

void LectureMode::Watch(int generation, int redrawCount) {
    auto mine = [&] { return watcherGeneration_ == generation && !closing_ && state::LectureModeOn == 1; };
    int last = redrawCount;
    while (mine()) {
        if (state::RedrawCount != last) {
            // A redraw may have rewrapped the lines: the scan starts over once things settle.
            state::SliderPressed = 1;
            last = state::RedrawCount;
            ++scanGeneration_;
            Pause(timings_.restartMs, [&] { return !closing_.load(); });
            state::SliderPressed = 0;
            if (!mine()) break;
            StartScan();
        }
        Pause(timings_.waitMs, mine);
    }
}

void LectureMode::DelayedStart(int generation) {
    auto untouched = [&] { return scanGeneration_ == generation && !closing_; };
    if (!Pause(timings_.restartMs, untouched)) return;
    if (state::SliderPressed == 0 && state::LectureModeOn == 1) StartScan();
}

namespace {

class EditorLectureView : public LectureView {
public:
    EditorLectureView(TranscriptEditor& editor, StandInDisplay& display) : editor_(editor), display_(display) {}

    std::wstring PositionText() override { return display_.CurrentTimeText(); }
    std::wstring VisibleText() override { return editor_.VisibleText(); }
    int LineCount() override { return editor_.LineCount(); }
    int LineOfChar(int index) override { return editor_.LineOfChar(index); }
    int FirstVisibleLine() override { return editor_.FirstVisibleLine(); }
    void ScrollLines(int lines) override { editor_.ScrollLines(lines); }
    void SetStatus(const std::wstring& text) override { display_.SetStatusText(text); }
    void ShowModeOn(bool) override {}  // the main frame's button comes with the toolbar
    void Tell(const std::wstring& text) override {
        MessageBoxOptions note;
        note.type = kBoxOk;
        note.title = L"提示";
        note.icon = kIconWarning;
        ShowMessageBox(state::MainWindowHandle, text, note);
    }

private:
    TranscriptEditor& editor_;
    StandInDisplay& display_;
};

// Like every global object, these live until the process ends.
LectureMode* gMode = nullptr;

}  // namespace

void InitLectureMode(TranscriptEditor* editor, StandInDisplay* display) {
    if (!gMode) gMode = new LectureMode(*new EditorLectureView(*editor, *display));
}

void ToggleLectureMode() {
    if (gMode) gMode->Toggle();
}

void RestartLectureScan() {
    if (gMode) gMode->RestartScan();
}
