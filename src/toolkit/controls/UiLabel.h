#pragma once
// A line (or block) of text with its own font, colour, alignment and format, optionally over a
// gradient background, inside a frame and with a text effect. It takes no input.
#include <optional>
#include <string>

#include "toolkit/UiControl.h"
#include "toolkit/controls/ControlFont.h"

namespace ui {

struct LabelStyle {
    std::optional<Argb> textColour;  // black at alpha 230
    std::optional<int> fillMode;     // LinearGradientMode; none when not given
    std::optional<Argb> fillColour1;
    std::optional<Argb> fillColour2;
    std::optional<std::wstring> fontName;
    std::optional<float> fontSize;  // 12 when a name or a style is given
    std::optional<int> fontStyle;
    std::optional<int> alignment;    // 3: near, centred vertically
    std::optional<int> formatFlags;  // no wrapping
    int trimming = 0;
    int hotkeyPrefix = 0;
    int textEffect = 0;
    std::int64_t frameStyle = 0;
    bool visible = true;
};

class UiLabel : public UiControl {
public:
    ~UiLabel() override;
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;
    // style.fontName receives the family actually used when the label makes its own font.
    int Create(HWND parent, const std::wstring& text, const Box& bounds, LabelStyle* style = nullptr);
    int Create(HWND parent, const std::wstring& text, const Box& bounds, LabelStyle style) {
        return Create(parent, text, bounds, &style);
    }

    std::wstring Text(std::optional<std::wstring> value = std::nullopt);
    void SetTextColour(Argb colour);
    Argb TextColour() const { return textColour_; }
    bool AutoContrast(std::optional<bool> value = std::nullopt);
    Argb FillColour1(std::optional<Argb> value = std::nullopt);
    Argb FillColour2(std::optional<Argb> value = std::nullopt);
    int FillMode(std::optional<int> value = std::nullopt);
    GpFont* Font() const { return font_.Get(); }

private:
    void Paint(int windowIndex, int position, int mode);
    void ChooseContrastColour(int windowIndex, const Box& r);

    std::wstring text_;
    ControlFont font_;
    int alignment_ = 3;
    int formatFlags_ = 4096;
    int trimming_ = 0;
    int hotkeyPrefix_ = 0;
    Argb textColour_ = ColorToArgb(0, 230);
    int fillMode_ = -1;
    Argb fillColour1_ = static_cast<Argb>(-1);
    Argb fillColour2_ = static_cast<Argb>(-1);
    int textEffect_ = 0;
    std::int64_t frameStyle_ = 0;
    bool autoContrast_ = false;
};

}  // namespace ui
