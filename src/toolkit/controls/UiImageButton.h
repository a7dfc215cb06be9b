#pragma once
// A button drawn from three pictures: normal, mouse over it, left button pressed on it.
// Clicks reach the application through the control's events.
#include <optional>
#include <string_view>

#include "toolkit/UiControl.h"
#include "toolkit/UiImage.h"

namespace ui {

class UiImageButton : public UiControl {
public:
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;
    // A missing hover or pressed picture is the normal one again.
    int Create(HWND parent, const Box& bounds, std::string_view normalPng,
               std::optional<std::string_view> hoverPng = std::nullopt,
               std::optional<std::string_view> pressedPng = std::nullopt, bool stretch = true, bool visible = true);
    void SetImages(std::optional<std::string_view> normalPng, std::optional<std::string_view> hoverPng = std::nullopt,
                   std::optional<std::string_view> pressedPng = std::nullopt);

    UINT LastMessage() const { return lastMessage_; }
    int FadeAlpha() const { return fadeAlpha_; }

private:
    UINT lastMessage_ = 0;
    UiImage normal_, hover_, pressed_;
    bool stretch_ = true;
    int fadeAlpha_ = 0;
};

}  // namespace ui
