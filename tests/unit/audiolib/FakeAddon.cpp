#include <windows.h>

// Interface 1.0 of our codec add-ons.
extern "C" __declspec(dllexport) DWORD WINAPI AudiolibCodecVersion(void) { return 0x00010000; }
