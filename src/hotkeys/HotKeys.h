#pragma once
// Registration of the system-wide hot keys for EditorWindow and their dispatch on the UI thread.
#include <windows.h>

#include <functional>

#include "hotkeys/HotKeyTable.h"

class HotKeys {
public:
    using Handler = std::function<void(HotKeyAction)>;

    // `run` carries out an entry's action; `receiver` gets the WM_HOTKEY notifications.
    void SetHandler(Handler run) { run_ = std::move(run); }
    void SetReceiver(HWND receiver) { receiver_ = receiver; }

    void Register();
    void Unregister();
    void Dispatch(int identifier);

private:
    HWND receiver_ = nullptr;
    Handler run_;
    HotKeyIds ids_;
    int registered_[kHotKeyTable.size()] = {};
};

HotKeys& TheHotKeys();
