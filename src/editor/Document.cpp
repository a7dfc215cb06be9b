#include "editor/Document.h"

#include <windows.h>
#include <commdlg.h>

#include "editor/EditingRules.h"
#include "editor/SafeWrite.h"
#include "editor/TranscriptEditor.h"
#include "shell/Notices.h"
#include "shell/ProcessState.h"
#include "shell/Win32Util.h"
#include "toolkit/MessageBox.h"

namespace {

TranscriptEditor* gEditor = nullptr;

std::u16string_view U16(const std::wstring& s) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}

void SetFormatFor(const std::wstring& path) {
    gEditor->SetFormat(SaveFormatOf(U16(path)) == DocumentFormat::PlainText ? ContentFormat::PlainText
                                                                            : ContentFormat::Rtf);
}

std::wstring AskFileName(bool save) {
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = state::MainWindowHandle;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.nFilterIndex = 1;
    if (save) {
        ofn.lpstrTitle = L"另存为";
        ofn.lpstrFilter = L"RTF文件(*.rtf)\0*.rtf\0文本文件(*.txt)\0*.txt\0";
        ofn.lpstrDefExt = L"rtf";
        ofn.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
        if (!GetSaveFileNameW(&ofn)) return {};
    } else {
        ofn.lpstrTitle = L"请输入欲打开文档的文件名:";
        ofn.lpstrFilter = L"RTF文件 (*.rtf)\0*.rtf\0文本文档 (*.txt)\0*.txt\0所有文件 (*.*)\0*.*\0";
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
        if (!GetOpenFileNameW(&ofn)) return {};
    }
    return file;
}

// The editor's open facility: the chosen file's path once it is loaded, else empty.
std::wstring LoadChosenFile() {
    const std::wstring path = AskFileName(false);
    if (path.empty()) return {};
    const std::string data = ReadWholeFile(path);
    if (data.empty()) return {};
    const ContentFormat format = OpensAsRtf(U16(path)) ? ContentFormat::Rtf : ContentFormat::PlainText;
    return gEditor->LoadContent(data, format) ? path : std::wstring();
}

}  // namespace

void BindDocumentEditor(TranscriptEditor* editor) { gEditor = editor; }

void MarkDocumentModified() { state::DocumentModified = true; }

bool PromptSaveChanges() {
    if (!state::DocumentModified) return false;
    MessageBoxOptions ask;
    ask.type = kBoxYesNoCancel;
    ask.title = L"询问";
    ask.icon = kIconQuestion;
    switch (ShowMessageBox(state::MainWindowHandle, L"文件已经被修改，是否保存？", ask)) {
        case kResultYes: return !SaveDocument();
        case kResultNo: return false;
        default: return true;
    }
}

bool SaveDocument() {
    if (!state::DocumentModified) {
        ShowNotice(L"提示：文档还未做任何修改，无法保存！");
        return false;
    }
    const std::wstring path = state::DocumentPath;
    switch (SaveFormatOf(U16(path))) {
        case DocumentFormat::PlainText:
            gEditor->SetFormat(ContentFormat::PlainText);
            return WriteDocument(path);
        case DocumentFormat::Rtf:
            gEditor->SetFormat(ContentFormat::Rtf);
            return WriteDocument(path);
        default:
            return SaveDocumentAs();
    }
}

bool SaveDocumentAs() {
    const std::wstring path = AskFileName(true);
    if (path.empty()) return false;
    SetFormatFor(path);
    return WriteDocument(path);
}

bool WriteDocument(const std::wstring& path) {
    std::string content;
    const bool read = gEditor->ReadContent(content);
    const SafeWriteResult result = read ? WriteFileSafely(path, content) : SafeWriteResult::WriteFailed;
    if (result == SafeWriteResult::OpenFailed) {
        MessageBoxOptions error;
        error.type = kBoxOk;
        error.title = L"错误";
        error.icon = kIconError;
        ShowMessageBox(state::MainWindowHandle, L"保存" + path + L"失败！\r\n可能该文件已被打开。", error);
        return false;
    }
    if (result == SafeWriteResult::WriteFailed) {
        ShowNotice(L"保存失败! " + path);
        return false;
    }
    state::DocumentPath = path;
    state::DocumentModified = false;
    ShowNotice(L"保存成功! " + path);
    return true;
}

void NewDocument() {
    if (PromptSaveChanges()) return;
    gEditor->Clear();
    state::DocumentPath.clear();
    state::DocumentModified = false;
}

void OpenDocument() {
    if (PromptSaveChanges()) return;
    const std::wstring path = LoadChosenFile();
    state::DocumentPath = path;
    if (!path.empty()) {
        ShowNotice(L"打开成功! " + path);
        state::DocumentModified = false;
    }
}
