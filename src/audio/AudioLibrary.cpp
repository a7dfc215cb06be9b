#include "audio/AudioLibrary.h"

#include "shell/ProcessState.h"
#include "shell/Win32Util.h"
#include "toolkit/MessageBox.h"

namespace {

template <class Fn>
bool Resolve(HMODULE module, const char* name, Fn& target) {
    FARPROC proc = GetProcAddress(module, name);
    // Through a plain function pointer type: FARPROC carries no signature to compare with.
    target = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
    return proc != nullptr;
}

}  // namespace

bool AudioLibrary::Load(std::wstring& missing) {
    const std::wstring plugins = ProgramDirectory() + L"\\plugins\\";
    SetDllDirectoryW(plugins.c_str());
    HMODULE module = LoadLibraryW(L"bass.dll");
    if (!module) {
        missing = L"bass.dll";
        return false;
    }
    bool complete = true;
#define AUDIOLIB_RESOLVE(name, ret, params)                                 \
    if (complete && !Resolve(module, #name, this->name)) {                  \
        missing = L"bass.dll: " L## #name;                                  \
        complete = false;                                                   \
    }
    AUDIOLIB_EXPORTS(AUDIOLIB_RESOLVE)
#undef AUDIOLIB_RESOLVE
    return complete;
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
