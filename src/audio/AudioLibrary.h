#pragma once
// The audio library's calls, reached at run time through GetProcAddress so that any library
// with the same interface can stand in plugins\ (ours, or the vendor's own).
#include <windows.h>

#include <string>

#include "audiolib_loader.h"

struct AudioLibrary : AudiolibApi {
    // Makes plugins\ beside the exe the preferred folder for libraries loaded at run time, then
    // loads the library and resolves every call. On failure `missing` names the library file or
    // the first call it lacks.
    bool Load(std::wstring& missing);
};

// The one table the program uses; empty until Load succeeds.
AudioLibrary& TheAudioLibrary();

// Loads the library or, when it or one of its calls is missing, says which in an error box and
// ends the program: nothing of the player can work without it.
void LoadAudioLibraryOrExit();
