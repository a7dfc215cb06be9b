#include "toolkit/Geometry.h"

namespace ui {

namespace {
constexpr int kOtherButtons[] = {kCaptionMaximize, kCaptionMinimize, kCaptionButton32, kCaptionButton64,
                                 kCaptionButton128, kCaptionButton256};
}

std::vector<CaptionSlot> LayoutCaption(int flags, int width, int margin) {
    std::vector<CaptionSlot> slots;
    int x = width - margin - 3;
    if (flags & kCaptionClose) {
        x -= 39;
        slots.push_back({kCaptionClose, {x, margin + 1, 39, 19}});
    }
    for (int flag : kOtherButtons) {
        if (!(flags & flag)) continue;
        x -= 28;
        slots.push_back({flag, {x, margin + 1, 28, 19}});
    }
    return slots;
}

CaptionCell CaptionCellFor(int flag, bool maximized) {
    switch (flag) {
        case kCaptionClose: return {0, 39, 40};
        case kCaptionMaximize: return {maximized ? 207 : 120, 28, 29};
        case kCaptionMinimize: return {294, 28, 29};
        case kCaptionButton32: return {381, 28, 29};
        case kCaptionButton64: return {468, 28, 29};
        case kCaptionButton128: return {555, 28, 29};
        case kCaptionButton256: return {642, 28, 29};
        default: return {0, 0, 0};
    }
}

int CaptionButtonCount(int flags) {
    int buttons = (flags & kCaptionClose) ? 1 : 0;
    for (int flag : kOtherButtons)
        if (flags & flag) ++buttons;
    return buttons;
}

IntBox TitleBox(int flags, int windowWidth, int margin) {
    const int buttons = CaptionButtonCount(flags);
    const int left = (flags & kCaptionIcon) ? margin + 28 : margin + 8;
    const int reserved = margin + 5 + 28 * buttons + ((flags & kCaptionClose) ? 11 : 0);
    return {left, margin + 6, windowWidth - reserved - left, 17};
}

}  // namespace ui
