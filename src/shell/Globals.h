#pragma once
#include "shell/EditorWindow.h"
#include "shell/MainWindow.h"

// Every global object of the program, constructed in this order before any window
// exists and destroyed when the process ends.
struct Globals {
    EditorWindow editorWindow;
    MainWindow mainWindow{editorWindow};
};

Globals& InitialiseGlobals();
