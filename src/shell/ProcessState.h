#pragma once
// The process-wide values every part of the program shares. Background threads read and
// write some of them without locks; each is one machine word, so they are atomics here.
#include <windows.h>

#include <atomic>
#include <string>

namespace state {

inline HWND MainWindowHandle = nullptr;   // taken once when the main window is created
inline HWND EditorWindowHandle = nullptr;

// Player
inline std::atomic<DWORD> CurrentStream{0};      // the open recording, 0 when none
inline std::atomic<float> BaseSampleRate{0.0f};  // its sample rate when it was opened
inline std::atomic<int> SpeedLevel{0};           // tenths of normal speed, 6..15; 0 counts as 10
inline std::atomic<int> SliderPressed{0};        // left button held on the position slider

// Play history
inline std::atomic<int> OpeningFromHistory{0};
inline std::wstring SelectedHistoryEntry;        // UI thread only

// Lecture mode
inline std::atomic<int> LectureModeOn{0};
inline std::atomic<HANDLE> LectureThread{nullptr};
inline std::atomic<int> RedrawCount{0};

// Hot keys and activation
inline std::atomic<int> TabKeyEnabled{0};
inline std::atomic<int> ShiftKeysEnabled{0};
inline std::atomic<int> HotKeysRegistered{0};
inline std::atomic<int> MainWindowActive{0};
inline std::atomic<int> EditorWindowActive{0};
inline std::atomic<int> Exiting{0};              // the user has confirmed the exit
inline std::atomic<int> EditorCollapsed{0};

// Tips and appearance
inline std::atomic<int> TipIndex{0};             // tip shown last, 1..17
inline std::atomic<int> InterfaceColour{0};      // COLORREF
inline std::atomic<int> Transparency{0};         // per cent

}  // namespace state
