#include <windows.h>

#include "shell/StartRoutine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return RunProgram();
}
