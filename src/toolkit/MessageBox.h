#pragma once
// The program's one way to ask a question or report an error.
#include <windows.h>

#include <functional>
#include <string>

// Result codes, which are also the button codes.
enum MessageBoxResult : int {
    kResultOk = 0,
    kResultCancel = 1,
    kResultAbort = 2,
    kResultRetry = 3,
    kResultIgnore = 4,
    kResultYes = 5,
    kResultNo = 6,
};

// Button sets: 0 OK; 1 OK Cancel; 2 Ignore Retry Abort; 3 Yes No Cancel; 4 Yes No; 5 Retry Cancel.
enum MessageBoxType : int {
    kBoxOk = 0,
    kBoxOkCancel = 1,
    kBoxAbortRetryIgnore = 2,
    kBoxYesNoCancel = 3,
    kBoxYesNo = 4,
    kBoxRetryCancel = 5,
};

// Icon codes: 16 error, 48 warning, 32 question, 64 information, 128 success; 0 none.
enum MessageBoxIcon : int {
    kIconNone = 0,
    kIconError = 16,
    kIconQuestion = 32,
    kIconWarning = 48,
    kIconInformation = 64,
    kIconSuccess = 128,
};

struct MessageBoxOptions {
    int type = kBoxOk;
    std::wstring title = L"提示：";
    int icon = kIconNone;
    // Called with the box's window and size once its controls exist, before it shows.
    std::function<void(HWND, int, int)> prepare;
    bool beep = true;
};

// Modal over owner; returns one of MessageBoxResult. Closing the box without a button gives Cancel.
// Call it on the thread that owns the toolkit's windows: the window registry has no lock, so a
// background thread posts its question to that thread instead. A box may be opened from a box.
int ShowMessageBox(HWND owner, const std::wstring& text, const MessageBoxOptions& options = {});
