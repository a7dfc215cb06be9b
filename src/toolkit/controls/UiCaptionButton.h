#pragma once
// One button of a host window's caption: close, maximise/restore, minimise or one of four
// buttons whose meaning the application gives them. Pictures come from the shared strip.
#include "toolkit/UiControl.h"

namespace ui {

class UiCaptionButton : public UiControl {
public:
    int Create(HWND parent, const Box& bounds, int buttonType, bool visible = true);
    int ButtonType() const { return buttonType_; }
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;

private:
    enum class Cell { Normal, Hover, Pressed };
    void Paint(HWND hwnd, int windowIndex, int position, int mode, Cell cell, int startAlpha);

    UINT lastMessage_ = 0;
    int fadeAlpha_ = 0;
    int buttonType_ = 0;
};

// The window's 16 × 16 icon in the caption: the host draws the icon into its background, so
// this only marks the place that opens the system menu.
class UiWindowIcon : public UiControl {
public:
    int Create(HWND parent, const Box& bounds);
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;
};

}  // namespace ui
