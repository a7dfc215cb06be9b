// The exported calls: the handle tables, initialisation, the error code, the add-ons.
#include <windows.h>
#include <mmsystem.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Channel.h"
#include "Errors.h"
#include "audiolib.h"

namespace audiolib {

std::atomic<UINT> g_outputDevice{WAVE_MAPPER};

namespace {

DWORD g_errorSlot = TLS_OUT_OF_INDEXES;

// The tables are never destroyed: at process exit the threads of the channels are already
// gone, and joining them from a destructor then would end the process abnormally.
struct Tables {
    std::mutex mutex;
    bool initialised = false;
    DWORD nextHandle = 0x10000001;
    std::map<DWORD, std::shared_ptr<Channel>> channels;
    std::map<DWORD, HMODULE> plugins;
    std::map<std::string, DWORD> pluginPaths;
};
Tables& tables() {
    static Tables* t = new Tables;
    return *t;
}

std::shared_ptr<Channel> Find(DWORD handle) {
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    auto it = t.channels.find(handle);
    if (it == t.channels.end()) return Fail(BASS_ERROR_HANDLE, nullptr);
    return it->second;
}

bool Initialised() {
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    return t.initialised;
}

HSTREAM AddChannel(std::unique_ptr<ByteSource> source, std::unique_ptr<Decoder> decoder, DWORD flags) {
    auto channel = std::make_shared<Channel>(std::move(source), std::move(decoder), (flags & BASS_STREAM_DECODE) != 0);
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    DWORD handle = t.nextHandle++;
    if (t.nextHandle == 0) t.nextHandle = 0x10000001;
    t.channels[handle] = std::move(channel);
    SetError(BASS_OK);
    return handle;
}

std::string FullPath(const char* file) {
    char full[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(file, sizeof full, full, nullptr);
    std::string path = n && n < sizeof full ? std::string(full, n) : std::string(file);
    CharLowerBuffA(path.data(), DWORD(path.size()));
    return path;
}

}  // namespace

void SetError(int code) {
    if (g_errorSlot != TLS_OUT_OF_INDEXES) TlsSetValue(g_errorSlot, reinterpret_cast<void*>(static_cast<INT_PTR>(code)));
}

int GetError() {
    if (g_errorSlot == TLS_OUT_OF_INDEXES) return BASS_OK;
    return int(reinterpret_cast<INT_PTR>(TlsGetValue(g_errorSlot)));
}

}  // namespace audiolib

using namespace audiolib;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_errorSlot = TlsAlloc();
        if (g_errorSlot == TLS_OUT_OF_INDEXES) return FALSE;
    }
    return TRUE;
}

BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD, HWND, const GUID*) {
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    if (t.initialised) return Fail(BASS_ERROR_ALREADY, FALSE);
    if (freq > 384000) return Fail(BASS_ERROR_ILLPARAM, FALSE);
    UINT devices = waveOutGetNumDevs();
    if (device == -1 || device == 1) {
        if (devices == 0) return Fail(BASS_ERROR_DEVICE, FALSE);
        g_outputDevice = WAVE_MAPPER;
    } else if (device > 1 && UINT(device) <= devices) {
        g_outputDevice = UINT(device - 1);
    } else if (device != 0) {
        // Device 0 is "no sound": decoding channels only.
        return Fail(BASS_ERROR_DEVICE, FALSE);
    }
    t.initialised = true;
    return Fail(BASS_OK, TRUE);
}

BOOL WINAPI BASS_Free(void) {
    std::map<DWORD, std::shared_ptr<Channel>> gone;
    {
        Tables& t = tables();
        std::lock_guard lock(t.mutex);
        if (!t.initialised) return Fail(BASS_ERROR_INIT, FALSE);
        t.initialised = false;
        gone.swap(t.channels);
    }
    gone.clear();  // outside the table lock: a channel's end waits for its thread
    return Fail(BASS_OK, TRUE);
}

int WINAPI BASS_ErrorGetCode(void) { return GetError(); }

BOOL WINAPI BASS_SetVolume(float volume) {
    if (!Initialised()) return Fail(BASS_ERROR_INIT, FALSE);
    if (!(volume >= 0 && volume <= 1)) return Fail(BASS_ERROR_ILLPARAM, FALSE);
    g_masterVolume = volume;
    return Fail(BASS_OK, TRUE);
}

float WINAPI BASS_GetVolume(void) {
    if (!Initialised()) return Fail(BASS_ERROR_INIT, -1.0f);
    return Fail(BASS_OK, g_masterVolume.load());
}

HPLUGIN WINAPI BASS_PluginLoad(const char* file, DWORD) {
    if (!file || !*file) return Fail(BASS_ERROR_FILEOPEN, HPLUGIN(0));
    DWORD attributes = GetFileAttributesA(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(BASS_ERROR_FILEOPEN, HPLUGIN(0));
    std::string key = FullPath(file);
    {
        Tables& t = tables();
        std::lock_guard lock(t.mutex);
        if (t.pluginPaths.count(key)) return Fail(BASS_ERROR_ALREADY, HPLUGIN(0));
    }
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return Fail(BASS_ERROR_FILEFORM, HPLUGIN(0));
    // Our add-ons say which interface they were built for; any other DLL is not one.
    using InfoProc = DWORD(WINAPI*)(void);
    auto info = reinterpret_cast<InfoProc>(reinterpret_cast<void*>(GetProcAddress(module, "AudiolibCodecVersion")));
    if (!info || HIWORD(info()) != 1) {
        FreeLibrary(module);
        return Fail(BASS_ERROR_FILEFORM, HPLUGIN(0));
    }
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    DWORD handle = t.nextHandle++;
    t.plugins[handle] = module;
    t.pluginPaths[key] = handle;
    return Fail(BASS_OK, handle);
}

HSTREAM WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    if (!Initialised()) return Fail(BASS_ERROR_INIT, HSTREAM(0));
    std::unique_ptr<ByteSource> source = mem ? OpenMemorySource(file, offset, length)
                                             : OpenFileSource(file, (flags & BASS_UNICODE) != 0, offset, length);
    if (!source) return 0;
    auto decoder = OpenDecoder(*source);
    if (!decoder) return 0;
    return AddChannel(std::move(source), std::move(decoder), flags);
}

HSTREAM WINAPI BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc, void* user) {
    if (!Initialised()) return Fail(BASS_ERROR_INIT, HSTREAM(0));
    std::unique_ptr<HttpSource> source = HttpSource::Open(url, offset, proc, user);
    if (!source) return 0;
    auto decoder = OpenDecoder(*source);
    if (!decoder) return 0;
    return AddChannel(std::move(source), std::move(decoder), flags);
}

BOOL WINAPI BASS_StreamFree(HSTREAM handle) {
    std::shared_ptr<Channel> channel;
    {
        Tables& t = tables();
        std::lock_guard lock(t.mutex);
        auto it = t.channels.find(handle);
        if (it == t.channels.end()) return Fail(BASS_ERROR_HANDLE, FALSE);
        channel = std::move(it->second);
        t.channels.erase(it);
    }
    channel.reset();  // ends its thread and device unless another call still holds it
    return Fail(BASS_OK, TRUE);
}

QWORD WINAPI BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode) {
    auto c = Find(handle);
    return c ? c->FilePosition(mode) : QWORD(-1);
}

BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart) {
    auto c = Find(handle);
    return c && c->Play(restart != FALSE);
}

BOOL WINAPI BASS_ChannelPause(DWORD handle) {
    auto c = Find(handle);
    return c && c->Pause();
}

BOOL WINAPI BASS_ChannelStop(DWORD handle) {
    auto c = Find(handle);
    return c && c->Stop();
}

DWORD WINAPI BASS_ChannelIsActive(DWORD handle) {
    auto c = Find(handle);
    return c ? c->State() : BASS_ACTIVE_STOPPED;
}

QWORD WINAPI BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
    auto c = Find(handle);
    if (!c) return QWORD(-1);
    if (mode != BASS_POS_BYTE) return Fail(BASS_ERROR_ILLTYPE, QWORD(-1));
    return c->Position();
}

BOOL WINAPI BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode) {
    auto c = Find(handle);
    if (!c) return FALSE;
    if (mode != BASS_POS_BYTE) return Fail(BASS_ERROR_ILLTYPE, FALSE);
    return c->SetPosition(pos);
}

QWORD WINAPI BASS_ChannelGetLength(DWORD handle, DWORD mode) {
    auto c = Find(handle);
    if (!c) return QWORD(-1);
    if (mode != BASS_POS_BYTE) return Fail(BASS_ERROR_ILLTYPE, QWORD(-1));
    return c->Length();
}

double WINAPI BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos) {
    auto c = Find(handle);
    if (!c) return -1;
    if (pos == QWORD(-1)) return Fail(BASS_ERROR_ILLPARAM, -1.0);
    return c->BytesToSeconds(pos);
}

QWORD WINAPI BASS_ChannelSeconds2Bytes(DWORD handle, double pos) {
    auto c = Find(handle);
    return c ? c->SecondsToBytes(pos) : QWORD(-1);
}

BOOL WINAPI BASS_ChannelGetAttribute(DWORD handle, DWORD attrib, float* value) {
    auto c = Find(handle);
    if (!c) return FALSE;
    if (!value) return Fail(BASS_ERROR_ILLPARAM, FALSE);
    return c->GetAttribute(attrib, *value);
}

BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value) {
    auto c = Find(handle);
    return c && c->SlideAttribute(attrib, value, 0);
}

BOOL WINAPI BASS_ChannelSlideAttribute(DWORD handle, DWORD attrib, float value, DWORD time) {
    auto c = Find(handle);
    return c && c->SlideAttribute(attrib, value, time);
}

DWORD WINAPI BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    auto c = Find(handle);
    return c ? c->GetData(buffer, length) : DWORD(-1);
}

const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags) {
    auto c = Find(handle);
    return c ? c->Tags(tags) : nullptr;
}
