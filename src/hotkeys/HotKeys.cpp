#include "hotkeys/HotKeys.h"

#include "shell/ProcessState.h"

namespace {

UINT SystemModifiers(int code) {
    switch (code) {
        case 1: return MOD_CONTROL;
        case 2: return MOD_SHIFT;
        case 3: return MOD_CONTROL | MOD_SHIFT;
        case 4: return MOD_ALT;
        default: return 0;
    }
}

}  // namespace

HotKeys& TheHotKeys() {
    static HotKeys hotKeys;
    return hotKeys;
}

void HotKeys::Register() {
    for (size_t i = 0; i < kHotKeyTable.size(); ++i) {
        const HotKeyEntry& e = kHotKeyTable[i];
        const int id = ids_.Next();
        // A key held by another program keeps identifier 0 and never fires; the rest work.
        registered_[i] = RegisterHotKey(receiver_, id, SystemModifiers(e.modifierCode), e.virtualKey) ? id : 0;
    }
    state::HotKeysRegistered = 1;
}

void HotKeys::Unregister() {
    for (int& id : registered_) {
        if (id) UnregisterHotKey(receiver_, id);
        id = 0;
    }
    state::HotKeysRegistered = 0;
}

void HotKeys::Dispatch(int identifier) {
    if (identifier == 0) return;
    for (size_t i = 0; i < kHotKeyTable.size(); ++i) {
        if (registered_[i] != identifier) continue;
        if (run_) run_(kHotKeyTable[i].action);
        return;
    }
}
