#pragma once
#include "hotkeys/HotKeyTable.h"

class Player;

// Carries out one hot key on the UI thread. Tab and the Shift keys act only when their
// settings are on.
void RunHotKeyAction(HotKeyAction action, Player& player);
