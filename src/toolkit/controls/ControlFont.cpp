#include "toolkit/controls/ControlFont.h"

#include "toolkit/Toolkit.h"

namespace ui {

std::wstring ControlFont::Select(const std::optional<std::wstring>& name, std::optional<float> size,
                                 std::optional<int> style) {
    Release();
    if (!name && !size && !style) return FontFamilyName(DefaultFont());
    const std::wstring face = name ? *name : FontFamilyName(DefaultFont());
    own_ = CreateFontByName(face, size.value_or(12.0f), style.value_or(0)).release();
    return FontFamilyName(Get());
}

void ControlFont::Release() {
    if (own_) gp::GdipDeleteFont(own_);
    own_ = nullptr;
}

GpFont* ControlFont::Get() const { return own_ ? own_ : DefaultFont(); }

}  // namespace ui
