#pragma once
// A push button with a caption, drawn as a translucent glass panel whose colours follow its
// state. "&" in the caption marks an access key that the button registers with its host.
#include <optional>
#include <string>

#include "toolkit/UiControl.h"
#include "toolkit/controls/ControlFont.h"

namespace ui {

struct ButtonStyle {
    std::optional<Argb> textColour;  // black at alpha 210
    std::optional<std::wstring> fontName;
    std::optional<float> fontSize;
    std::optional<int> fontStyle;
    int textEffect = 0;
    std::optional<bool> rounded;  // rounded unless the host has square corners
    bool visible = true;
};

class UiButton : public UiControl {
public:
    enum State { kDisabled = -1, kNormal = 0, kHover = 1, kPressed = 2, kFocused = 3 };

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;
    int Create(HWND parent, const std::wstring& caption, const Box& bounds, const ButtonStyle& style = {});
    std::wstring Caption(std::optional<std::wstring> value = std::nullopt);

    // What the last paint showed, for the tests.
    int LastState() const { return lastState_; }
    bool AccessKeyRegistered() const { return accessKeyRegistered_; }

private:
    void RegisterAccessKey();
    void Draw(GpGraphics* g, int state) const;

    UINT lastMessage_ = 0;
    std::wstring caption_;
    ControlFont font_;
    int textEffect_ = 0;
    int fadeAlpha_ = 0;
    Argb textColour_ = ColorToArgb(0, 210);
    bool rounded_ = true;
    int lastState_ = kNormal;
    bool accessKeyRegistered_ = false;
};

}  // namespace ui
