#include "editor/TranscriptEditor.h"

#include <richedit.h>

namespace {
constexpr int kEditorControlId = 1001;
}

bool TranscriptEditor::Create(HWND parent) {
    // The 2.0 rich edit, ANSI flavour: the transcript's plain text is GBK.
    if (!GetModuleHandleW(L"riched20.dll") && !LoadLibraryW(L"riched20.dll")) return false;
    hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                                ES_WANTRETURN | ES_NOHIDESEL,
                            kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    // No artificial cap on the transcript's length.
    SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    return true;
}

void TranscriptEditor::Resize(int width, int height) {
    if (!hwnd_) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
