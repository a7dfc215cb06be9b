#include "toolkit/MessageBox.h"

#include <array>
#include <memory>
#include <string>

#include "toolkit/ControlPaint.h"
#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/Toolkit.h"
#include "toolkit/ToolkitResources.h"
#include "toolkit/UiImage.h"
#include "toolkit/UiWindow.h"
#include "toolkit/Toolkit.h"
#include "toolkit/controls/UiButton.h"
#include "toolkit/controls/UiLabel.h"

namespace {

using namespace ui;

constexpr wchar_t kIconProperty[] = L"msg_wnd";
constexpr int kStartWidth = 320, kStartHeight = 150;
constexpr ColorRef kOwnColour = 0xFF8800;
// Ids of the hidden children that mirror the box for other programs (see Mirror below).
constexpr int kMirrorText = 100, kMirrorButton1 = 101;

struct BoxButton {
    const wchar_t* caption;
    int code;
};

// Position 1 (rightmost) first.
std::vector<BoxButton> ButtonsOf(int type) {
    const BoxButton ok{L"确认", kResultOk}, cancel{L"取消", kResultCancel}, abort{L"放弃", kResultAbort},
        retry{L"重试", kResultRetry}, ignore{L"忽略", kResultIgnore}, yes{L"是", kResultYes}, no{L"否", kResultNo};
    switch (type) {
        case kBoxOk: return {ok};
        case kBoxOkCancel: return {cancel, ok};
        case kBoxAbortRetryIgnore: return {abort, retry, ignore};
        case kBoxYesNoCancel: return {cancel, no, yes};
        case kBoxYesNo: return {no, yes};
        case kBoxRetryCancel: return {cancel, retry};
        default: return {};
    }
}

int IconCell(int icon) {
    switch (icon) {
        case kIconWarning: return 40;
        case kIconQuestion: return 80;
        case kIconInformation: return 120;
        case kIconSuccess: return 160;
        default: return 0;
    }
}

UiImage& IconStrip() {
    static UiImage strip;
    if (strip.Empty()) strip.LoadFromMemory(ResourceBytes(IDR_MESSAGE_ICONS));
    return strip;
}

std::string EncodePng(GpImage* image) {
    CLSID png{};
    if (CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png) != S_OK) return {};
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return {};
    std::string bytes;
    if (gp::GdipSaveImageToStream(image, stream, &png, nullptr) == Gdiplus::Ok) {
        HGLOBAL memory = nullptr;
        if (GetHGlobalFromStream(stream, &memory) == S_OK) {
            STATSTG stat{};
            stream->Stat(&stat, STATFLAG_NONAME);
            if (const void* data = GlobalLock(memory)) {
                bytes.assign(static_cast<const char*>(data), static_cast<size_t>(stat.cbSize.QuadPart));
                GlobalUnlock(memory);
            }
        }
    }
    stream->Release();
    return bytes;
}

// Everything one open box needs. Each call has its own, so a box opened from a box works.
struct OpenBox {
    UiWindow window;
    UiLabel label;
    std::array<UiButton, 3> buttons;
    int buttonCount = 0;
    std::array<int, 3> codes{};
    std::array<HWND, 3> mirrors{};
    HWND owner = nullptr;
    HWND hwnd = nullptr;
    int result = kResultCancel;

    void EnableOwner() const {
        if (owner) EnableWindow(owner, TRUE);
    }
    void PlaceButtons(int width, int height, int first, int step) {
        for (int i = 0; i < buttonCount; ++i) {
            const int left = width - first - step * i, top = height - 36;
            buttons[static_cast<size_t>(i)].Move(static_cast<float>(left), static_cast<float>(top));
            if (mirrors[static_cast<size_t>(i)])
                MoveWindow(mirrors[static_cast<size_t>(i)], left, top, 70, 24, FALSE);
        }
    }
};

// The panel's controls are windowless, so no other program (a screen reader, our tests) can
// read them; hidden static children carry the message and each button's caption and place.
HWND Mirror(HWND box, int id, const std::wstring& text, int left, int top, int width, int height) {
    return CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD, left, top, width, height, box,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void InstallCallbacks(OpenBox& b) {
    UiWindowCallbacks& cb = b.window.Callbacks();
    cb.onBackgroundPainted = [](HWND hwnd, GpGraphics* g, HDC, int width, int height) {
        const float w = static_cast<float>(width - 10), h = static_cast<float>(height);
        GradientFill(g, {5, 5, w, 40.1f}, ColorToArgb(0xFFFFFF, 1), ColorToArgb(0xFFFFFF, 190), 1);
        GradientFill(g, {5, 44, w, h - 84}, ColorToArgb(0xFFFFFF, 188), ColorToArgb(0xFFFFFF, 240), 1);
        GradientFill(g, {5, h - 40, w, 35}, ColorToArgb(0xFFFFFF, 190), ColorToArgb(0xFFFFFF, 1), 1);
        DrawLine(g, ColorToArgb(0xFFFFFF, 210), 6, h - 40, static_cast<float>(width - 6), h - 40);
        const int icon = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kIconProperty)));
        if (icon != 0)
            DrawImageFitted(g, IconStrip(), {30, 40, 40, 40}, {static_cast<float>(IconCell(icon)), 0, 40, 40}, true);
    };
    cb.onResized = [&b](HWND, int width, int height) { b.PlaceButtons(width, height, 85, 80); };
    cb.onControlClick = [&b](HWND hwnd, int, UiControl* control, int kind) {
        if (kind == kKindCaptionButton) {
            b.EnableOwner();
            return;
        }
        if (kind != 2) return;
        for (int i = 0; i < b.buttonCount; ++i) {
            if (&b.buttons[static_cast<size_t>(i)] != control) continue;
            b.result = b.codes[static_cast<size_t>(i)];
            RemovePropW(hwnd, kIconProperty);
            b.EnableOwner();
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
    };
    cb.keyDownHook = [&b](HWND hwnd, int, WPARAM vk, LPARAM) -> LRESULT {
        if (vk != VK_ESCAPE) return kContinue;
        b.EnableOwner();
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    };
}

// The owner's skin, when the owner is one of our toolkit windows with a drawn (not
// picture-shaped) skin. Only a window of this process can hand over its picture.
void TakeOverSkin(OpenBox& b) {
    if (!b.owner) return;
    UiWindow* ownerHost = HostAt(FindWindowIndex(b.owner));
    if (!ownerHost || ownerHost->CornerSize() == 1) return;
    GpImage* picture = ownerHost->BackgroundImageHandle();
    const ColorRef colour = ownerHost->ThemeColor();
    if (!picture && colour == 0) return;
    std::string png;
    if (picture) {
        UINT w = 0, h = 0;
        Gdiplus::PixelFormat format = PixelFormat32bppARGB;
        gp::GdipGetImageWidth(picture, &w);
        gp::GdipGetImageHeight(picture, &h);
        gp::GdipGetImagePixelFormat(picture, &format);
        GpBitmap* clone = nullptr;
        if (gp::GdipCloneBitmapAreaI(0, 0, static_cast<INT>(w), static_cast<INT>(h), format,
                                     static_cast<GpBitmap*>(picture), &clone) == Gdiplus::Ok) {
            png = EncodePng(clone);
            gp::GdipDisposeImage(clone);
        }
    }
    b.window.CornerSize(ownerHost->CornerSize(), false);
    if (!png.empty()) b.window.Redraw(std::string_view(png), colour);
    else b.window.Redraw(std::nullopt, colour);
}

}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const MessageBoxOptions& options) {
    ToolkitStartup();
    auto b = std::make_unique<OpenBox>();
    b->owner = owner && IsWindow(owner) ? owner : nullptr;
    const bool withIcon = options.icon != kIconNone;
    ui::Box textBox = withIcon ? ui::Box{85, 43, 200, 50} : ui::Box{30, 43, 260, 50};

    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_TOPMOST, kToolkitClass, options.title.c_str(),
                                WS_POPUP | WS_BORDER | WS_SYSMENU, (screenW - kStartWidth) / 2,
                                (screenH - kStartHeight) / 2, kStartWidth, kStartHeight, b->owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return kResultCancel;
    b->hwnd = hwnd;
    if (b->owner)
        if (HICON icon = WindowIcon(b->owner))
            SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetPropW(hwnd, kIconProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(options.icon)));

    InstallCallbacks(*b);
    AttachOptions attach;
    attach.themeColor = kOwnColour;
    attach.captionFlags = kCaptionTitle | kCaptionClose;
    attach.alpha = 170;
    attach.controlFading = 0;
    attach.fixedSize = true;
    b->window.Attach(hwnd, {}, attach);

    // Grow the box around a text that does not fit, keeping it centred on the screen.
    ui::Box measured;
    if (MeasureText(ControlGraphics(b->window.WindowIndex()), text, DefaultFont(), {}, nullptr, &measured)) {
        const float extraW = kStartWidth - textBox.width, extraH = kStartHeight - textBox.height;
        int width = kStartWidth, height = kStartHeight;
        if (measured.width > textBox.width) {
            width = static_cast<int>(measured.width + extraW);
            textBox.width = measured.width + 10;
        }
        if (measured.height > textBox.height) {
            height = static_cast<int>(measured.height + extraH);
            textBox.height = measured.height + 5;
        }
        if (width != kStartWidth || height != kStartHeight)
            MoveWindow(hwnd, (screenW - width) / 2, (screenH - height) / 2, width, height, FALSE);
        if (measured.height < 30) textBox.top += 4;
    }

    TakeOverSkin(*b);

    RECT placed{};
    GetWindowRect(hwnd, &placed);
    const int width = placed.right - placed.left, height = placed.bottom - placed.top;
    const std::vector<BoxButton> set = ButtonsOf(options.type);
    b->buttonCount = static_cast<int>(set.size());
    for (int i = 0; i < b->buttonCount; ++i) {
        const auto n = static_cast<size_t>(i);
        const int left = width - 83 - 75 * i, top = height - 36;
        b->codes[n] = set[n].code;
        b->buttons[n].Create(hwnd, set[n].caption, {static_cast<float>(left), static_cast<float>(top), 70, 24});
        b->buttons[n].UiControl::Text(std::to_wstring(set[n].code));
        b->mirrors[n] = Mirror(hwnd, kMirrorButton1 + i, set[n].caption, left, top, 70, 24);
    }

    LabelStyle style;
    style.textColour = ColorToArgb(0, 210);
    style.alignment = 0;
    style.formatFlags = 0x800;
    b->label.Create(hwnd, text, textBox, style);
    b->label.UiControl::Text(std::to_wstring(reinterpret_cast<INT_PTR>(b->owner)));
    Mirror(hwnd, kMirrorText, text, static_cast<int>(textBox.left), static_cast<int>(textBox.top),
           static_cast<int>(textBox.width), static_cast<int>(textBox.height));

    if (options.prepare) options.prepare(hwnd, width, height);
    if (withIcon && options.beep) MessageBeep(static_cast<UINT>(options.icon));
    if (b->buttonCount > 0) b->window.FocusControl(b->buttons[0].GetId());

    ShowWindow(hwnd, SW_SHOWNORMAL);
    if (b->owner) EnableWindow(b->owner, FALSE);

    MSG msg;
    bool quit = false;
    while (IsWindow(hwnd)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Ended by WM_QUIT: the box's objects go with this call, so its window must go too, and the
    // owner must not stay disabled; the quit is passed on to the loop that waits for it.
    if (IsWindow(hwnd)) {
        b->EnableOwner();
        DestroyWindow(hwnd);
    }
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    b->EnableOwner();
    return b->result;
}
