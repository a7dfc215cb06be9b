#include "toolkit/Toolkit.h"

#include <vector>

#include "toolkit/ToolkitResources.h"
#include "toolkit/UiImage.h"

namespace ui {

namespace {

struct Globals {
    ULONG_PTR gdiplusToken = 0;
    bool started = false;
    FontPtr defaultFont;
    int timerInterval = kDefaultTimerInterval;
    UiImage captionStrip;
    int osMajor = 0;
};

Globals& G() {
    static Globals g;
    return g;
}

constexpr wchar_t kSimSun[] = L"宋体";

int ReadOsMajorVersion() {
    // GetVersionEx answers what the manifest allows; ntdll tells the truth.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return 0;
    auto fn = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (!fn) return 0;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    return fn(&info) == 0 ? static_cast<int>(info.dwMajorVersion) : 0;
}


FamilyPtr FamilyFromName(const std::wstring& face) {
    GpFontFamily* family = nullptr;
    if (gp::GdipCreateFontFamilyFromName(face.c_str(), nullptr, &family) != Gdiplus::Ok) {
        if (family) gp::GdipDeleteFontFamily(family);
        return nullptr;
    }
    return FamilyPtr(family);
}

FontPtr FontFromFamily(GpFontFamily* family, float size, int style) {
    GpFont* font = nullptr;
    if (gp::GdipCreateFont(family, size, style, Gdiplus::UnitPixel, &font) != Gdiplus::Ok) return nullptr;
    return FontPtr(font);
}

}  // namespace

std::string ResourceBytes(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

void ToolkitStartup(UINT32 gdiplusVersion) {
    Globals& g = G();
    if (g.started) return;
    g.started = true;
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = gdiplusVersion ? gdiplusVersion : 1;
    // A failed start is silent: every later GDI+ call fails and draws nothing.
    Gdiplus::GdiplusStartup(&g.gdiplusToken, &input, nullptr);
    g.osMajor = ReadOsMajorVersion();
    g.defaultFont = CreateDefaultFont();
    g.timerInterval = kDefaultTimerInterval;
    g.captionStrip.LoadFromMemory(ResourceBytes(IDR_CAPTION_BUTTONS));
    RegisterToolkitClass(DefWindowProcW, kToolkitClass);
}

GpFont* DefaultFont() { return G().defaultFont.get(); }
int DefaultTimerInterval() { return G().timerInterval; }
UiImage& CaptionStrip() { return G().captionStrip; }
int OsMajorVersion() { return G().osMajor; }

std::wstring SystemFontFace(int which) {
    if (which < 1 || which > 3) return kSimSun;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return kSimSun;
    const LOGFONTW& font = which == 1 ? metrics.lfMenuFont : which == 2 ? metrics.lfCaptionFont : metrics.lfMessageFont;
    std::wstring face = font.lfFaceName;
    // Tahoma has no Chinese glyphs; the older systems name it as their caption font.
    if (face == L"Tahoma" || face.empty()) return kSimSun;
    FamilyPtr family = FamilyFromName(face);
    if (!family || !FontFromFamily(family.get(), 12.0f, 0)) return kSimSun;
    return face;
}

FontPtr CreateDefaultFont() {
    for (const std::wstring& face : {std::wstring(kSimSun), SystemFontFace()}) {
        if (FamilyPtr family = FamilyFromName(face)) return FontFromFamily(family.get(), 12.0f, 0);
    }
    // A system without either face would otherwise draw no text at all.
    GpFontFamily* generic = nullptr;
    if (gp::GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok && generic)
        if (FontPtr font = FontFromFamily(generic, 12.0f, 0)) return font;
    // Last, whatever face the system has.
    Gdiplus::GpFontCollection* installed = nullptr;
    INT count = 0, found = 0;
    if (gp::GdipNewInstalledFontCollection(&installed) != Gdiplus::Ok ||
        gp::GdipGetFontCollectionFamilyCount(installed, &count) != Gdiplus::Ok || count <= 0)
        return nullptr;
    std::vector<GpFontFamily*> families(static_cast<size_t>(count));
    gp::GdipGetFontCollectionFamilyList(installed, count, families.data(), &found);
    for (INT i = 0; i < found; ++i)
        if (FontPtr font = FontFromFamily(families[static_cast<size_t>(i)], 12.0f, 0)) return font;
    return nullptr;
}

FontPtr CreateFontByName(const std::wstring& face, float size, int style) {
    FamilyPtr family = FamilyFromName(face);
    if (!family && DefaultFont()) family = FamilyFromName(FontFamilyName(DefaultFont()));
    if (!family) return nullptr;
    return FontFromFamily(family.get(), size, style);
}

std::wstring FontFamilyName(GpFont* font) {
    GpFontFamily* family = nullptr;
    if (!font || gp::GdipGetFamily(font, &family) != Gdiplus::Ok || !family) return {};
    wchar_t name[LF_FACESIZE] = {};
    gp::GdipGetFamilyName(family, name, 0);
    // The family handed out by GdipGetFamily is a clone of the font's own.
    gp::GdipDeleteFontFamily(family);
    return name;
}

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool RegisterToolkitClass(WNDPROC proc, const wchar_t* className, HICON icon, UINT style, HCURSOR cursor) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style ? style : CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon ? icon : LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM_ICON));
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className ? className : kToolkitClass;
    return RegisterClassExW(&wc) != 0;
}

HICON WindowIcon(HWND hwnd) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON));
    return icon;
}

bool MeasureText(GpGraphics* graphics, const std::wstring& text, GpFont* font, const Box& layout,
                 GpStringFormat* format, Box* bounds) {
    const Gdiplus::RectF in = ToGp(layout);
    Gdiplus::RectF out;
    const bool ok = gp::GdipMeasureString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &in, format,
                                          &out, nullptr, nullptr) == Gdiplus::Ok;
    if (bounds) *bounds = {out.X, out.Y, out.Width, out.Height};
    return ok;
}

}  // namespace ui
