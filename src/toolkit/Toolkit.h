#pragma once
// Start-up of the toolkit and the small services every part of it shares.
#include <windows.h>

#include <string>
#include <string_view>

#include "toolkit/GdiPlus.h"

namespace ui {

class UiImage;

inline constexpr wchar_t kToolkitClass[] = L"Ex_DirectUI";
inline constexpr int kDefaultTimerInterval = 80;

// Starts GDI+, makes the default font, loads the caption strip and registers the window class.
// Called once, before any toolkit window exists; later calls do nothing.
void ToolkitStartup(UINT32 gdiplusVersion = 1);

// The bytes of an RCDATA resource of the running exe (pictures it carries); empty when absent.
std::string ResourceBytes(int id);

// Shared state made by ToolkitStartup and kept until the process ends.
GpFont* DefaultFont();
int DefaultTimerInterval();
UiImage& CaptionStrip();
int OsMajorVersion();

// 1 menu font, 2 caption font, 3 message font; any failure gives "宋体".
std::wstring SystemFontFace(int which = 2);
FontPtr CreateDefaultFont();
// A face GDI+ does not know falls back to the default font's family, so this is only
// null when there is no default font either.
FontPtr CreateFontByName(const std::wstring& face, float size, int style = 0);
std::wstring FontFamilyName(GpFont* font);

// ANSI code page (936 for the program's users) to UTF-16 and back.
std::wstring ToWide(std::string_view text, UINT codePage = CP_ACP);
std::string FromWide(std::wstring_view text);

bool RegisterToolkitClass(WNDPROC proc, const wchar_t* className = nullptr, HICON icon = nullptr, UINT style = 0,
                          HCURSOR cursor = nullptr);

HICON WindowIcon(HWND hwnd);
bool MeasureText(GpGraphics* graphics, const std::wstring& text, GpFont* font, const Box& layout,
                 GpStringFormat* format, Box* bounds);

// Signed client coordinates of a mouse message.
inline int PointX(LPARAM lp) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lp))); }
inline int PointY(LPARAM lp) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lp))); }

}  // namespace ui
