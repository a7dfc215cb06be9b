#include "shell/StartRoutine.h"

#include <windows.h>
#include <commctrl.h>

#include "shell/Globals.h"
#include "toolkit/Toolkit.h"

int RunProgram() {
    // GDI+, the default font and the toolkit's window class come before any global object
    // that draws.
    ui::ToolkitStartup();
    Globals& globals = InitialiseGlobals();

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    if (!globals.mainWindow.Create()) return 1;
    ShowWindow(globals.mainWindow.Handle(), SW_SHOWNORMAL);
    UpdateWindow(globals.mainWindow.Handle());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
