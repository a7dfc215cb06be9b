#pragma once
// What every windowless control inherits: registration in a host window, the ID and
// position rules, visibility, moving, stacking, removal, event handlers and the tooltip.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/GdiPlus.h"

namespace ui {

// Toolkit messages to controls.
inline constexpr UINT kMsgClicked = 444660;
inline constexpr UINT kMsgHidden = 444662;
inline constexpr UINT kMsgShown = 444663;
inline constexpr UINT kMsgCtrlTab = 444664;
// wParam/lParam of input the toolkit made itself.
inline constexpr LONG_PTR kSynthesized = 10086;

// lParam of a WM_PAINT from the core.
inline constexpr LPARAM kPaintNormal = -1;
inline constexpr LPARAM kPaintMouseLeft = 1;
inline constexpr LPARAM kPaintFocusLost = 2;

// Kinds the core itself looks at.
inline constexpr int kKindCaptionButton = 1;
inline constexpr int kKindPictureBox = 4;
inline constexpr int kKindTextBox = 9;
inline constexpr int kKindTabbed = 13;

// An application's handler of one message of one control: (window index, position, wParam, lParam, mode).
using ControlEvent = std::function<void(int, int, WPARAM, LPARAM, int)>;

class UiControl {
public:
    UiControl() = default;
    // A control that goes away takes itself out of its window first.
    virtual ~UiControl();
    UiControl(const UiControl&) = delete;
    UiControl& operator=(const UiControl&) = delete;

    // Registers with the host window of parent; does nothing when already created or when
    // parent is not a toolkit window. Does not paint.
    void Create(HWND parent, const Box& bounds, int kind, int visible, int takesFocus, int cursor = 32512);
    int GetWindowIndex() const { return windowIndex_; }
    Box GetBounds() const { return bounds_; }
    int GetId() const { return id_; }
    bool IsCreated() const { return windowIndex_ > 0 && id_ > 0; }
    // Current position in the host's list, 0 when not created.
    int Position() const;
    HWND Host() const;

    // Properties: a given value is stored; the current value is returned.
    int Disabled(std::optional<int> value = std::nullopt);
    int Left(std::optional<int> value = std::nullopt);
    int Top(std::optional<int> value = std::nullopt);
    int Width(std::optional<int> value = std::nullopt);
    int Height(std::optional<int> value = std::nullopt);
    int Visible(std::optional<int> value = std::nullopt);
    int TakesFocus(std::optional<int> value = std::nullopt);
    int Cursor(std::optional<int> value = std::nullopt);
    int Active(std::optional<int> value = std::nullopt);
    std::wstring Text(std::optional<std::wstring> value = std::nullopt);
    std::wstring TipText(std::optional<std::wstring> value = std::nullopt, bool applyNow = false);

    void Move(std::optional<float> left, std::optional<float> top = std::nullopt,
              std::optional<float> width = std::nullopt, std::optional<float> height = std::nullopt,
              bool repaint = true);
    void Redraw();
    // Top places the control above all others; otherwise it goes just above the caption buttons.
    void Restack(bool top = true, bool repaint = true);
    bool HasFocus() const;
    bool Destroy();
    void Deactivate() { active_ = 0; }
    void Activate() { active_ = 1; }

    // At most one handler per message: a second one replaces the first.
    void SetEventHandler(UINT msg, ControlEvent handler);
    const ControlEvent* EventHandler(UINT msg) const;

    virtual void SetTooltip(const std::wstring& text);
    // Everything the host sends the control; mode 1 means draw and present on your own.
    virtual LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                                  int mode) = 0;

private:
    friend class UiWindow;
    friend void RenumberWindows(int from);
    bool Remove(bool notify = true);

    int disabled_ = 0;
    int windowIndex_ = 0;
    int id_ = 0;
    std::wstring tipText_;
    int cursor_ = 32512;
    std::wstring text_;
    Box bounds_;
    std::vector<std::pair<UINT, ControlEvent>> events_;
    int active_ = 0;
    bool toolRegistered_ = false;
    RECT toolRect_{};
    std::wstring toolText_;
};

}  // namespace ui
