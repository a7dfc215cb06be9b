#include "audio/AudioLibrary.h"

#include "shell/ProcessState.h"
#include "shell/Win32Util.h"
#include "toolkit/MessageBox.h"

bool AudioLibrary::Load(std::wstring& missing) {
    const std::wstring plugins = ProgramDirectory() + L"\\plugins\\";
    SetDllDirectoryW(plugins.c_str());
    HMODULE module = LoadLibraryW(L"bass.dll");
    if (!module) {
        missing = L"bass.dll";
        return false;
    }
    if (const char* lacking = AudiolibResolve(module, *this)) {
        missing = L"bass.dll: " + std::wstring(lacking, lacking + strlen(lacking));
        return false;
    }
    return true;
}

AudioLibrary& TheAudioLibrary() {
    static AudioLibrary library;
    return library;
}

void LoadAudioLibraryOrExit() {
    std::wstring missing;
    if (TheAudioLibrary().Load(missing)) return;
    MessageBoxOptions box;
    box.title = L"错误";
    box.icon = kIconError;
    ShowMessageBox(state::MainWindowHandle, L"找不到音频库函数：" + missing, box);
    ExitProcess(1);
}
