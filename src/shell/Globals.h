#pragma once
#include "audio/AudioPlayer.h"
#include "audio/Player.h"
#include "shell/EditorWindow.h"
#include "shell/MainWindow.h"
#include "shell/StandInDisplay.h"
#include "toolkit/UiWindow.h"

// Every global object of the program, constructed in this order before any window
// exists and destroyed when the process ends.
struct Globals {
    AudioPlayer audioPlayer{TheAudioLibrary()};
    StandInDisplay playerDisplay;
    Player player{audioPlayer, TheAudioLibrary(), playerDisplay};
    ui::UiWindow mainFrame;
    EditorWindow editorWindow;
    MainWindow mainWindow{{editorWindow, audioPlayer, player, playerDisplay, mainFrame}};
};

Globals& InitialiseGlobals();
