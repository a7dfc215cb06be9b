#pragma once
// A horizontal slider or progress bar: a track, a gradient bar for the value, a lighter second
// bar behind it (what is already loaded, for instance) and, when interactive, a thumb picture.
#include <functional>
#include <optional>
#include <string_view>

#include "toolkit/UiControl.h"
#include "toolkit/UiImage.h"

namespace ui {

// (value 0..100, 0)
using SliderChangeHandler = std::function<void(int, int)>;

struct SliderStyle {
    int trackHeight = 10;
    std::optional<Argb> barColour1;       // RGB(0,136,255) at alpha 230
    std::optional<Argb> barColour2;       // RGB(0,224,128) at alpha 230
    std::optional<Argb> secondaryColour;  // white at alpha 70
    Argb trackFill = 0;
    std::optional<Argb> trackBorder;  // black at alpha 70
    bool interactive = true;
    std::optional<std::string_view> thumbPng;  // the built-in thumbs when not given
    std::optional<std::string_view> thumbHotPng;
    std::optional<bool> rounded;  // rounded unless the host has square corners
    bool visible = true;
};

class UiSlider : public UiControl {
public:
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;
    int Create(HWND parent, const Box& bounds, float value, float secondaryValue, const SliderStyle& style = {});
    float Value(std::optional<float> percent = std::nullopt);
    float SecondaryValue(std::optional<float> percent = std::nullopt);
    void SetChangeHandler(SliderChangeHandler handler) { changeHandler_ = std::move(handler); }
    void ValueFromCursor(int windowIndex);
    void Paint(int windowIndex, int position, const Box& bounds, int mode);

    // Number of paints, for the tests.
    int PaintCount() const { return paints_; }

private:
    void UserChange(int windowIndex, int position);

    UINT lastMessage_ = 0;
    float value_ = 0, secondaryValue_ = 0;
    bool interactive_ = true;
    UiImage thumb_, thumbHot_;
    Argb secondaryColour_ = ColorToArgb(0xFFFFFF, 70);
    Argb barColour1_ = ColorToArgb(RGB(0, 136, 255), 230);
    Argb barColour2_ = ColorToArgb(RGB(0, 224, 128), 230);
    Argb trackFill_ = 0;
    SliderChangeHandler changeHandler_;
    Argb trackBorder_ = ColorToArgb(0, 70);
    bool rounded_ = true;
    int trackHeight_ = 10;
    int paints_ = 0;
};

}  // namespace ui
