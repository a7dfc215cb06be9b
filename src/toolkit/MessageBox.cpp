#include "toolkit/MessageBox.h"

// Until the skinned box exists this asks through the platform's own message box,
// with the same button sets and result codes; it beeps by itself for an icon.

namespace {

UINT PlatformButtons(int type) {
    switch (type) {
        case kBoxOkCancel: return MB_OKCANCEL;
        case kBoxAbortRetryIgnore: return MB_ABORTRETRYIGNORE;
        case kBoxYesNoCancel: return MB_YESNOCANCEL;
        case kBoxYesNo: return MB_YESNO;
        case kBoxRetryCancel: return MB_RETRYCANCEL;
        default: return MB_OK;
    }
}

UINT PlatformIcon(int icon) {
    switch (icon) {
        case kIconNone: return 0;
        case kIconQuestion: return MB_ICONQUESTION;
        case kIconWarning: return MB_ICONEXCLAMATION;
        case kIconInformation:
        case kIconSuccess: return MB_ICONINFORMATION;
        default: return MB_ICONHAND;
    }
}

int ResultCode(int platformAnswer) {
    switch (platformAnswer) {
        case IDOK: return kResultOk;
        case IDABORT: return kResultAbort;
        case IDRETRY: return kResultRetry;
        case IDIGNORE: return kResultIgnore;
        case IDYES: return kResultYes;
        case IDNO: return kResultNo;
        default: return kResultCancel;
    }
}

}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const MessageBoxOptions& options) {
    const int answer = MessageBoxW(owner, text.c_str(), options.title.c_str(),
                                   PlatformButtons(options.type) | PlatformIcon(options.icon) | MB_SETFOREGROUND);
    return ResultCode(answer);
}
