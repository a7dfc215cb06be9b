#pragma once
// A toolkit host: turns an existing top-level window into a skinned window that paints from
// off-screen buffers, hosts windowless controls and routes input to them.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/GdiPlus.h"
#include "toolkit/UiImage.h"

namespace ui {

class UiControl;
class UiCaptionButton;
class UiWindowIcon;
struct WindowEntry;

// Messages a toolkit window answers.
inline constexpr UINT kMsgSetAccessKey = 0x2800;
inline constexpr UINT kMsgGetBackground = 0x2801;
inline constexpr UINT kMsgGetThemeColor = 0x2802;
inline constexpr UINT_PTR kWindowFadeTimer = 444660;
// A hook answers this to let the toolkit go on.
inline constexpr LRESULT kContinue = -1;

// (hwnd, control ID, control, kind)
using ControlCallback = std::function<void(HWND, int, UiControl*, int)>;
// (hwnd, focused control ID, key or character, lParam) → kContinue or the result
using KeyHook = std::function<LRESULT(HWND, int, WPARAM, LPARAM)>;
// (hwnd, msg, wParam, lParam) → kContinue or the result
using MessageHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
// (hwnd, background graphics, background DC, width, height)
using PaintCallback = std::function<void(HWND, GpGraphics*, HDC, int, int)>;
using ResizeCallback = std::function<void(HWND, int, int)>;

struct UiWindowCallbacks {
    MessageHook messageHook;
    PaintCallback onBackgroundPainted;
    PaintCallback onCaptionPainted;
    ResizeCallback onResized;
    ControlCallback onControlLeave;
    ControlCallback onControlEnter;
    ControlCallback onControlLButtonDown;
    ControlCallback onControlLButtonUp;
    ControlCallback onControlClick;
    ControlCallback onControlDoubleClick;
    ControlCallback onControlRButtonDown;
    ControlCallback onControlRButtonUp;
    KeyHook keyDownHook;
    KeyHook keyUpHook;
    KeyHook charHook;
    ControlCallback onFocusGained;
    ControlCallback onFocusLost;
};

struct AttachOptions {
    std::optional<ColorRef> themeColor;  // taken from the picture when not given
    std::optional<int> captionFlags;     // icon, title and close when not given
    int alpha = -1;                      // -1 ordinary; 0..255 layered
    int stretch = 0;
    int cornerSize = 5;  // 1 shapes the window by the picture's alpha
    int controlFading = 1;
    bool fixedSize = false;
    int dragFlags = 0;  // bit 0: empty areas do not drag the window
    int fadeEdges = 1;
    RECT nineGrid{};  // centre of the picture for the picture-shaped mode
};

class UiWindow {
public:
    UiWindow();
    virtual ~UiWindow();
    UiWindow(const UiWindow&) = delete;
    UiWindow& operator=(const UiWindow&) = delete;

    void Attach(HWND hwnd, std::string_view picture, const AttachOptions& options = {});
    void Install(HWND hwnd, int stretch, int controlFading, int alpha);
    void Detach(HWND hwnd);
    void Release();

    // Full rebuild of the skin and the controls, then presentation (or a fade-in).
    bool Redraw(std::optional<std::string_view> picture = std::nullopt, std::optional<ColorRef> color = std::nullopt,
                bool fade = false);
    void RepaintControls(int id, bool single, int mode);
    void DrawTitle(const std::wstring& text, bool restoreBackground, bool present);
    void LayoutCaptionButtons(int margin);
    GpImage* BackgroundImageHandle() const { return background_.GetHandle(); }
    const UiImage& Background() const { return background_; }

    int Alpha(std::optional<int> value = std::nullopt);
    int StretchBackground(std::optional<int> value = std::nullopt);
    int CornerSize(std::optional<int> value = std::nullopt, bool redraw = true);
    int ControlFading(std::optional<int> value = std::nullopt);
    int Resizable(std::optional<int> value = std::nullopt);
    int Draggable(std::optional<int> value = std::nullopt);
    // command: 1 disable (value 0/1), 2 tip text, 3 move to the x in value.
    void CaptionButtonCommand(int flag, int command, const std::wstring& text, int value);
    int CaptionButtonFlag(int id) const;
    void FocusControl(int id);
    void SetCloseAnimation(int type) { closeAnimation_ = type; }
    void ShowAnimated(int type);
    int SetAccessKey(int id, wchar_t ch);

    UiWindowCallbacks& Callbacks() { return callbacks_; }

    // State the controls and the tests look at.
    HWND Hwnd() const { return hwnd_; }
    int WindowIndex() const { return windowIndex_; }
    int FocusedPosition() const { return focused_; }
    int HoveredPosition() const { return hovered_; }
    int PressedPosition() const { return pressed_; }
    bool PaintingSuspended() const { return suspended_ != 0; }
    bool MouseCaptured() const { return captured_ != 0; }
    bool FocusFrameShown() const { return focusFrame_ != 0; }
    ColorRef ThemeColor() const { return themeColor_; }
    int CaptionFlags() const { return captionFlags_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Margin() const;
    HWND TooltipWindow() const { return tooltip_; }
    const std::vector<std::unique_ptr<UiCaptionButton>>& CaptionButtons() const { return captionButtons_; }
    WindowEntry* Entry() const;

    // Presentation of the composite buffer, used by the paint cycle of the controls.
    void PresentRect(const IntBox& r);
    void PresentAll();
    void BlendRect(const Box& r, int alpha);
    void RepaintRect(const Box& r, bool present, bool restoreBackground = true, bool skipRestore = false);
    void FinishRect(const Box& r, bool redrawFrame);

protected:
    // The subclass procedure: named handlers off one switch.
    virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

private:
    friend class UiControl;
    friend void RenumberWindows(int from);
    static LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    LRESULT Default(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HookOr(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT fallback);
    void RefreshRect();
    void OnSize(int width, int height);
    void OnTimer(UINT_PTR id, LPARAM time);
    void OnActivate(WPARAM wp);
    void OnKillFocus();
    void OnGetMinMaxInfo(MINMAXINFO* info);
    LRESULT OnWindowPosChanging(HWND hwnd, WPARAM wp, LPARAM lp);
    void CreateCaption();
    void CreateTooltipWindow();

    // Input routing.
    int RouteMouse(UINT msg, WPARAM wp, LPARAM lp);
    bool BorderResize(UINT msg, LPARAM lp);
    LRESULT OnKeyDown(WPARAM vk, LPARAM lp);
    void OnKeyUp(WPARAM vk, LPARAM lp);
    LRESULT OnChar(WPARAM ch, LPARAM lp);
    void OnAccessKey(wchar_t ch);
    LRESULT RouteWheel(UINT msg, WPARAM wp, LPARAM lp);
    void OnMouseLeave();
    void OnButtonMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OpenSystemMenu(int x, int y);
    void CycleFocus();
    void TakeWindowFocus();
    void StartDrag();
    void Repaint(int position, LPARAM how);
    void CallControl(const ControlCallback& cb, int position);
    bool IsIconPosition(int position) const;

    // Painting.
    ColorRef PictureColor() const;
    void DrawBackground(int m);
    void DrawCaption(int m);
    void OnFadeTick();
    void RunCloseAnimation();
    // dirty: the part that changed; the whole window when null.
    void SetRoundRegion(int inset);
    void PresentLayered(HDC source, int width, int height, const IntBox* dirty = nullptr);

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    int windowIndex_ = 0;
    int focused_ = 0;
    int hovered_ = 0;
    int pressed_ = 0;
    int suspended_ = 0;
    ColorRef themeColor_ = 0;
    bool themeGiven_ = false;
    int captured_ = 0;
    int cornerSize_ = 5;
    int focusFrame_ = 0;
    HWND tooltip_ = nullptr;
    int fadeAlpha_ = 0;
    int captionFlags_ = 0;
    UiImage background_;
    int width_ = 0, height_ = 0;
    HMENU systemMenu_ = nullptr;
    std::vector<std::unique_ptr<UiCaptionButton>> captionButtons_;
    std::unique_ptr<UiWindowIcon> icon_;
    std::vector<std::pair<wchar_t, int>> accessKeys_;
    RECT nineGrid_{};
    int closeAnimation_ = 0;
    int fixedSize_ = 0;
    int dragFlags_ = 0;
    int fadeEdges_ = 1;
    UiWindowCallbacks callbacks_;
    int tracking_ = 0;
    // Width, height, inset and corner of the region last given to the window.
    RECT regionShape_{};
    bool regionSet_ = false;
};

}  // namespace ui
