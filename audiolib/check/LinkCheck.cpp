// Never run: it exists to be linked. Every call goes through the import library built from
// bass.def, so a call whose arguments in audiolib.h disagree with the sizes there is an
// unresolved symbol at 32 bits.
#include "audiolib.h"

static void CALLBACK OnDownload(const void*, DWORD, void*) {}

int main() {
    float value = 0;
    char buffer[512];
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    BASS_PluginLoad("x.dll", 0);
    HSTREAM s = BASS_StreamCreateFile(FALSE, "x.wav", 0, 0, 0);
    HSTREAM u = BASS_StreamCreateURL("http://127.0.0.1/", 0, 0, OnDownload, nullptr);
    BASS_ChannelPlay(s, TRUE);
    BASS_ChannelPause(s);
    BASS_ChannelStop(s);
    BASS_ChannelIsActive(s);
    BASS_ChannelSetPosition(s, BASS_ChannelGetPosition(s, BASS_POS_BYTE), BASS_POS_BYTE);
    BASS_ChannelSeconds2Bytes(s, BASS_ChannelBytes2Seconds(s, BASS_ChannelGetLength(s, BASS_POS_BYTE)));
    BASS_ChannelGetAttribute(s, BASS_ATTRIB_FREQ, &value);
    BASS_ChannelSetAttribute(s, BASS_ATTRIB_VOL, value);
    BASS_ChannelSlideAttribute(s, BASS_ATTRIB_FREQ, value, 0);
    BASS_ChannelGetData(s, buffer, BASS_DATA_FFT256);
    BASS_ChannelGetTags(s, BASS_TAG_ID3);
    BASS_StreamGetFilePosition(u, BASS_FILEPOS_BUFFER);
    BASS_SetVolume(BASS_GetVolume());
    BASS_StreamFree(u);
    BASS_StreamFree(s);
    BASS_Free();
    return BASS_ErrorGetCode();
}
