#pragma once
// The font of a text control: the toolkit's shared default font, or one of its own.
#include <optional>
#include <string>

#include "toolkit/GdiPlus.h"

namespace ui {

class ControlFont {
public:
    ControlFont() = default;
    ~ControlFont() { Release(); }
    ControlFont(const ControlFont&) = delete;
    ControlFont& operator=(const ControlFont&) = delete;

    // With none of name, size and style given the shared default font is used and never
    // deleted; otherwise an own font is made, in the default font's family when no name is
    // given. Returns the family name in use.
    std::wstring Select(const std::optional<std::wstring>& name, std::optional<float> size, std::optional<int> style);
    void Release();
    GpFont* Get() const;
    bool Owned() const { return own_ != nullptr; }

private:
    GpFont* own_ = nullptr;
};

}  // namespace ui
