// Figures for tests/bench/audio_bench.sh: audiobench DLL decode|open|play FILE.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "audiolib_loader.h"

namespace {
using Api = AudiolibApi;

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

double ResidentMb() {
    PROCESS_MEMORY_COUNTERS pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return double(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    double idle = ResidentMb();
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) return 3;
    Api api;
    if (AudiolibResolve(module, api)) return 3;
    api.BASS_Init(-1, 44100, 0, nullptr, nullptr);
    const char* mode = argv[2];
    double t0 = Now();
    HSTREAM s = api.BASS_StreamCreateFile(FALSE, argv[3], 0, 0, std::strcmp(mode, "decode") == 0 ? BASS_STREAM_DECODE : 0);
    QWORD length = api.BASS_ChannelGetLength(s, BASS_POS_BYTE);
    double opened = Now() - t0;
    if (!s) return 4;
    double seconds = api.BASS_ChannelBytes2Seconds(s, length);
    if (std::strcmp(mode, "open") == 0) {
        std::printf("open %.1f ms for %.1f min\n", opened * 1000, seconds / 60);
    } else if (std::strcmp(mode, "decode") == 0) {
        std::vector<char> buffer(1 << 16);
        double start = Now();
        QWORD total = 0;
        for (DWORD got; (got = api.BASS_ChannelGetData(s, buffer.data(), DWORD(buffer.size()))) != DWORD(-1) && got;) total += got;
        double took = Now() - start;
        std::printf("decode %.2f s for %.1f min (%.0fx real time, %llu bytes)\n", took, seconds / 60, seconds / took,
                    static_cast<unsigned long long>(total));
    } else {
        api.BASS_ChannelPlay(s, TRUE);
        Sleep(3000);
        std::printf("resident %.1f MB playing, %.1f MB before loading the library (%.1f MB above idle)\n", ResidentMb(), idle,
                    ResidentMb() - idle);
    }
    api.BASS_StreamFree(s);
    return 0;
}
