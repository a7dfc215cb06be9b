// A bare player for the sound checks: reads one command a line from standard input and
// answers one line. open PATH | play [0|1] | pause | stop | seek SECONDS | rate HZ |
// volume V | state | pos | quit
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audiolib_loader.h"

namespace {
using Api = AudiolibApi;
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: audioplay PATH-OF-BASS.DLL\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) return 3;
    Api api;
    if (AudiolibResolve(module, api)) return 3;
    if (!api.BASS_Init(-1, 44100, 0, nullptr, nullptr)) return 4;
    HSTREAM stream = 0;
    char line[1024];
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    while (std::fgets(line, sizeof line, stdin)) {
        line[std::strcspn(line, "\r\n")] = 0;
        char* arg = std::strchr(line, ' ');
        if (arg) *arg++ = 0;
        std::string cmd = line;
        long long answer = 0;
        if (cmd == "open") {
            if (stream) api.BASS_StreamFree(stream);
            stream = api.BASS_StreamCreateFile(FALSE, arg, 0, 0, 0);
            answer = stream ? 1 : -api.BASS_ErrorGetCode();
        } else if (cmd == "play") {
            answer = api.BASS_ChannelPlay(stream, arg ? std::atoi(arg) : TRUE);
        } else if (cmd == "pause") {
            answer = api.BASS_ChannelPause(stream);
        } else if (cmd == "stop") {
            answer = api.BASS_ChannelStop(stream);
        } else if (cmd == "seek") {
            answer = api.BASS_ChannelSetPosition(stream, api.BASS_ChannelSeconds2Bytes(stream, std::atof(arg)), BASS_POS_BYTE);
        } else if (cmd == "rate") {
            answer = api.BASS_ChannelSlideAttribute(stream, BASS_ATTRIB_FREQ, float(std::atof(arg)), 0);
        } else if (cmd == "volume") {
            answer = api.BASS_ChannelSetAttribute(stream, BASS_ATTRIB_VOL, float(std::atof(arg)));
        } else if (cmd == "state") {
            answer = api.BASS_ChannelIsActive(stream);
        } else if (cmd == "pos") {
            std::printf("%.3f\n", api.BASS_ChannelBytes2Seconds(stream, api.BASS_ChannelGetPosition(stream, BASS_POS_BYTE)));
            continue;
        } else if (cmd == "quit") {
            break;
        }
        std::printf("%lld\n", answer);
    }
    if (stream) api.BASS_StreamFree(stream);
    return 0;
}
