#pragma once
// Lecture mode: while a recording plays, each time marker's line comes to the top of the
// transcript when playback reaches the marker. The scan and the watcher run on their own
// threads; everything that touches a control is handed to the UI thread.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// What the mode reads and changes; called on the UI thread only.
class LectureView {
public:
    virtual ~LectureView() = default;
    virtual std::wstring PositionText() = 0;       // the current-time label, mm:ss
    virtual std::wstring VisibleText() = 0;        // the transcript as the user sees it
    virtual int LineCount() = 0;
    virtual int LineOfChar(int index) = 0;
    virtual int FirstVisibleLine() = 0;
    virtual void ScrollLines(int lines) = 0;
    virtual void SetStatus(const std::wstring& text) = 0;
    virtual void ShowModeOn(bool on) = 0;          // the lecture-mode button's pictures
    virtual void Tell(const std::wstring& text) = 0;  // a note the user must confirm
};

struct LectureTimings {
    unsigned waitMs = 500;      // between two looks at the position
    unsigned restartMs = 3000;  // after a redraw or a seek, before the scan starts over
};

class LectureMode {
public:
    // On the UI thread, which must keep pumping messages while the mode is on.
    explicit LectureMode(LectureView& view, LectureTimings timings = {});
    ~LectureMode();
    LectureMode(const LectureMode&) = delete;
    LectureMode& operator=(const LectureMode&) = delete;

    void Toggle();
    // A seek through the position slider: the scan starts over from the first marker.
    void RestartScan();
    // Scans started so far; tests wait on it.
    int ScansStarted() const { return scansStarted_; }

private:
    struct ScanStart {
        LectureMode* mode;
        int generation;
    };
    static DWORD WINAPI ScanMain(LPVOID arg);
    static DWORD WINAPI WatcherMain(LPVOID arg);
    static DWORD WINAPI RestartMain(LPVOID arg);
    static LRESULT CALLBACK UiProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    void StartScan();
    void Scan(int generation);
    void Watch(int generation, int redrawCount);
    void DelayedStart(int generation);
    // Runs fn on the UI thread and waits for it; false when the mode is being torn down.
    template <class Fn>
    bool OnUi(Fn&& fn);
    // Sleeps ms in short steps; false as soon as keepGoing says stop.
    template <class Pred>
    bool Pause(unsigned ms, Pred keepGoing);
    void Spawn(LPTHREAD_START_ROUTINE body, ScanStart* start, bool isScan);

    LectureView& view_;
    LectureTimings timings_;
    HWND ui_ = nullptr;
    std::atomic<int> scanGeneration_{0};     // a scan runs only while this is its own number
    std::atomic<int> watcherGeneration_{0};  // the same for the watcher
    std::atomic<int> scansStarted_{0};
    std::atomic<bool> closing_{false};
    std::mutex threadsLock_;
    std::vector<HANDLE> threads_;
};

class TranscriptEditor;
class StandInDisplay;
// The program's one lecture mode, bound to the transcript and the status line.
void InitLectureMode(TranscriptEditor* editor, StandInDisplay* display);
// The lecture-mode button of the main frame.
void ToggleLectureMode();
void RestartLectureScan();
