#include "hotkeys/HotKeyDispatch.h"

#include <windows.h>

#include "audio/Player.h"
#include "editor/EditingCommands.h"
#include "shell/ProcessState.h"

namespace {

// 1 exactly: pressed since the last reading and up now, i.e. tapped alone.
bool Tapped(int virtualKey) { return GetAsyncKeyState(virtualKey) == 1; }

}  // namespace

void RunHotKeyAction(HotKeyAction action, Player& player) {
    switch (action) {
        case HotKeyAction::TogglePlayPause: player.TogglePlayPause(); break;
        case HotKeyAction::SeekBack: player.SeekBack(); break;
        case HotKeyAction::SeekForward: player.SeekForward(); break;
        case HotKeyAction::OpenRecording: player.OpenRecordingDialog(state::MainWindowHandle); break;
        case HotKeyAction::Slower: player.StepSpeed(false); break;
        case HotKeyAction::Faster: player.StepSpeed(true); break;
        case HotKeyAction::TabPlayPause:
            if (state::TabKeyEnabled) player.TogglePlayPause();
            break;
        case HotKeyAction::ShiftSeek:
            if (!state::ShiftKeysEnabled) break;
            if (Tapped(VK_LSHIFT)) player.SeekBack();
            else if (Tapped(VK_RSHIFT)) player.SeekForward();
            break;
        default:
            RunEditorHotKey(action);
            break;
    }
}
