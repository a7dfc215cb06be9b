#include "toolkit/controls/UiPictureBox.h"

#include "toolkit/ControlPaint.h"
#include "toolkit/Drawing.h"
#include "toolkit/Registry.h"
#include "toolkit/UiWindow.h"

namespace ui {

void UiPictureBox::ReadFrames(bool zeroDelaysAs10) {
    frameCount_ = image_.FrameCount();
    frameDelays_.clear();
    image_.FrameDelays(&frameDelays_);
    if (zeroDelaysAs10)
        for (int& d : frameDelays_)
            if (d == 0) d = 10;
}

int UiPictureBox::Create(HWND parent, const Box& bounds, std::string_view png, bool animate, bool zeroDelaysAs10,
                         std::int64_t frameStyle, bool visible) {
    image_.LoadFromMemory(png);
    animate_ = animate;
    frameStyle_ = frameStyle;
    UiControl::Create(parent, bounds, 4, visible ? 1 : 0, 1);
    ReadFrames(zeroDelaysAs10);
    if (visible) Redraw();
    return GetId();
}

int UiPictureBox::CreateFromImage(HWND parent, const Box& bounds, const UiImage& image, std::int64_t frameStyle,
                                  bool visible) {
    image_.Dispose();
    if (!image.Empty()) {
        GpImage* copy = nullptr;
        if (gp::GdipCloneImage(image.GetHandle(), &copy) == Gdiplus::Ok) image_.SetHandle(copy);
    }
    animate_ = false;
    frameStyle_ = frameStyle;
    UiControl::Create(parent, bounds, 4, visible ? 1 : 0, 1);
    ReadFrames(false);
    if (visible) Redraw();
    return GetId();
}

bool UiPictureBox::Animate(std::optional<bool> value) {
    if (value) {
        frameIndex_ = 0;
        animate_ = *value;
        if (!*value) running_ = false;
        Redraw();
    }
    return animate_;
}

void UiPictureBox::SetPicture(std::string_view png, bool redraw) {
    image_.LoadFromMemory(png);
    ReadFrames(false);
    frameIndex_ = 0;
    if (redraw) Redraw();
}

void UiPictureBox::DrawShownFrame(int windowIndex, int position) {
    if (!Visible() || !BeginControlPaint(windowIndex, position, GetBounds(), 0, 0)) return;
    GpGraphics* g = ControlGraphics(windowIndex);
    DrawImageFitted(g, image_, GetBounds(), {}, false);
    if (frameStyle_ != 0) DrawFrameRect(g, GetBounds(), frameStyle_);
    EndControlPaint(windowIndex, position, GetBounds(), 0, 0);
}

void UiPictureBox::PaintFrame(int windowIndex, int position, const Box& bounds, int mode) {
    if (Visible()) {
        if (frameIndex_ >= frameCount_) frameIndex_ = 0;
        if (BeginControlPaint(windowIndex, position, bounds, 0, mode)) {
            GpGraphics* g = ControlGraphics(windowIndex);
            image_.SelectFrame(frameIndex_);
            DrawImageFitted(g, image_, bounds, {}, false);
            if (frameStyle_ != 0) DrawFrameRect(g, bounds, frameStyle_);
            if (animate_) {
                EndControlPaint(windowIndex, position, bounds, 0, mode, 0, true);
                UiWindow* host = HostAt(windowIndex);
                const size_t i = static_cast<size_t>(frameIndex_);
                lastInterval_ = i < frameDelays_.size() ? frameDelays_[i] * 10 : 0;
                if (host) {
                    const UINT_PTR timer = ControlTimerId(windowIndex, position);
                    KillTimer(host->Hwnd(), timer);
                    SetTimer(host->Hwnd(), timer, static_cast<UINT>(lastInterval_), nullptr);
                }
                if (mode == 1) BlendControlRect(windowIndex, bounds, 255);
            } else {
                EndControlPaint(windowIndex, position, bounds, 0, mode, 1);
            }
        }
    }
    ++frameIndex_;
}

LRESULT UiPictureBox::HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM, int windowIndex, int position, int mode) {
    switch (msg) {
        case WM_DESTROY:
            if (animate_) KillTimer(hwnd, ControlTimerId(windowIndex, position));
            frameIndex_ = frameCount_ = 0;
            animate_ = running_ = false;
            image_.Dispose();
            break;
        case WM_TIMER:
            if (animate_ && frameCount_ > 0) PaintFrame(windowIndex, position, GetBounds(), mode);
            else KillTimer(hwnd, wp);
            break;
        case WM_PAINT:
            if (animate_) {
                if (!running_) {
                    PaintFrame(windowIndex, position, GetBounds(), mode);
                    running_ = true;
                } else if (mode == 0) {
                    // The timer drives the frames, but a repaint of the whole window or of a
                    // neighbour rebuilds the buffer: put the frame on show back into it.
                    DrawShownFrame(windowIndex, position);
                }
            } else {
                frameIndex_ = 0;
                PaintFrame(windowIndex, position, GetBounds(), mode);
            }
            break;
        default: break;
    }
    return 0;
}

}  // namespace ui
