#pragma once
// The C interface of our audio library (bass.dll). The program loads the DLL at run time and
// reaches every call with GetProcAddress; the DLL includes this same header, so a declaration
// here and the definition there cannot drift apart. Every call is stdcall (WINAPI) and exported
// under its plain name at both widths.
//
// Threads: every call may be made from any thread. Calls on one handle are serialised inside
// the library; a call never waits for the output device longer than it takes to reset it.
// Errors: a failing call sets the calling thread's error code (BASS_ErrorGetCode); a call that
// succeeds sets it to BASS_OK.
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned long long QWORD;
typedef DWORD HSTREAM;
typedef DWORD HPLUGIN;

// Receives the bytes of a URL stream as they arrive, on the library's download thread;
// a null buffer with length 0 marks the end of the download.
typedef void CALLBACK DOWNLOADPROC(const void* buffer, DWORD length, void* user);

// Error codes.
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_FILEOPEN 2      // missing or unreadable file, a directory, no connection
#define BASS_ERROR_DRIVER 3        // the output device could not be opened
#define BASS_ERROR_HANDLE 5        // not a handle of ours, or already freed
#define BASS_ERROR_FORMAT 6        // a format the output cannot take
#define BASS_ERROR_POSITION 7      // position outside the stream
#define BASS_ERROR_INIT 8          // BASS_Init has not succeeded
#define BASS_ERROR_ALREADY 14      // already initialised, or the add-on is already loaded
#define BASS_ERROR_ILLTYPE 19      // unknown attribute, mode or tag type
#define BASS_ERROR_ILLPARAM 20     // a value out of range
#define BASS_ERROR_DEVICE 23       // no such output device, or none at all
#define BASS_ERROR_NOPLAY 24       // the channel is not playing
#define BASS_ERROR_NOTAVAIL 37     // no such data (no tags, nothing to read)
#define BASS_ERROR_DECODE 38       // not possible on a decoding channel
#define BASS_ERROR_TIMEOUT 40      // the server did not answer in time
#define BASS_ERROR_FILEFORM 41     // not a format we decode
#define BASS_ERROR_CODEC 44        // the platform's decoder is missing
#define BASS_ERROR_ENDED 45        // a decoding channel has reached its end
#define BASS_ERROR_UNKNOWN -1

// Stream flags.
#define BASS_STREAM_DECODE 0x200000  // no output: BASS_ChannelGetData reads the decoded samples
#define BASS_UNICODE 0x80000000      // the file name is UTF-16

// Channel states (BASS_ChannelIsActive).
#define BASS_ACTIVE_STOPPED 0
#define BASS_ACTIVE_PLAYING 1
#define BASS_ACTIVE_STALLED 2
#define BASS_ACTIVE_PAUSED 3

#define BASS_POS_BYTE 0

#define BASS_ATTRIB_FREQ 1
#define BASS_ATTRIB_VOL 2

// BASS_ChannelGetData lengths: a byte count of 16-bit samples, or one of these.
#define BASS_DATA_AVAILABLE 0
#define BASS_DATA_FFT256 0x80000000  // 128 floats: magnitudes of a 256-sample FFT

#define BASS_TAG_ID3 0  // the 128-byte ID3v1 block

#define BASS_FILEPOS_CURRENT 0
#define BASS_FILEPOS_DOWNLOAD 1
#define BASS_FILEPOS_END 2
#define BASS_FILEPOS_START 3
#define BASS_FILEPOS_CONNECTED 4
#define BASS_FILEPOS_BUFFER 5

// Every exported call once: X(name, return type, parameter list). bass.def lists them again with
// their stdcall argument bytes at 32 bits; the i686 build links a program against an import
// library made from that list, so a declaration here that changes its arguments fails there.
#define AUDIOLIB_EXPORTS(X)                                                                              \
    X(BASS_Init, BOOL, (int device, DWORD freq, DWORD flags, HWND win, const GUID* dsguid))          \
    X(BASS_Free, BOOL, (void))                                                                        \
    X(BASS_ErrorGetCode, int, (void))                                                                 \
    X(BASS_SetVolume, BOOL, (float volume))                                                           \
    X(BASS_GetVolume, float, (void))                                                                  \
    X(BASS_PluginLoad, HPLUGIN, (const char* file, DWORD flags))                                      \
    X(BASS_StreamCreateFile, HSTREAM, (BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags)) \
    X(BASS_StreamCreateURL, HSTREAM, (const char* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc, void* user)) \
    X(BASS_StreamFree, BOOL, (HSTREAM handle))                                                        \
    X(BASS_StreamGetFilePosition, QWORD, (HSTREAM handle, DWORD mode))                                \
    X(BASS_ChannelPlay, BOOL, (DWORD handle, BOOL restart))                                           \
    X(BASS_ChannelPause, BOOL, (DWORD handle))                                                        \
    X(BASS_ChannelStop, BOOL, (DWORD handle))                                                         \
    X(BASS_ChannelIsActive, DWORD, (DWORD handle))                                                    \
    X(BASS_ChannelGetPosition, QWORD, (DWORD handle, DWORD mode))                                     \
    X(BASS_ChannelSetPosition, BOOL, (DWORD handle, QWORD pos, DWORD mode))                          \
    X(BASS_ChannelGetLength, QWORD, (DWORD handle, DWORD mode))                                       \
    X(BASS_ChannelBytes2Seconds, double, (DWORD handle, QWORD pos))                                  \
    X(BASS_ChannelSeconds2Bytes, QWORD, (DWORD handle, double pos))                                  \
    X(BASS_ChannelGetAttribute, BOOL, (DWORD handle, DWORD attrib, float* value))                    \
    X(BASS_ChannelSetAttribute, BOOL, (DWORD handle, DWORD attrib, float value))                     \
    X(BASS_ChannelSlideAttribute, BOOL, (DWORD handle, DWORD attrib, float value, DWORD time))       \
    X(BASS_ChannelGetData, DWORD, (DWORD handle, void* buffer, DWORD length))                        \
    X(BASS_ChannelGetTags, const char*, (DWORD handle, DWORD tags))

#ifdef AUDIOLIB_BUILDING
#define AUDIOLIB_API
#else
#define AUDIOLIB_API __declspec(dllimport)
#endif

#define AUDIOLIB_DECLARE(name, ret, params) AUDIOLIB_API ret WINAPI name params;
AUDIOLIB_EXPORTS(AUDIOLIB_DECLARE)
#undef AUDIOLIB_DECLARE

#ifdef __cplusplus
}
#endif

// For run-time loading: `decltype(&BASS_Init)` is the pointer type of each call.
