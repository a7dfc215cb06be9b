#pragma once
// One picture stretched over the control, optionally framed; pictures with several frames
// (animated GIFs) play with the delays stored in them.
#include <optional>
#include <string_view>
#include <vector>

#include "toolkit/UiControl.h"
#include "toolkit/UiImage.h"

namespace ui {

class UiPictureBox : public UiControl {
public:
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int windowIndex, int position,
                          int mode) override;
    // zeroDelaysAs10: frames stored with delay 0 show for 100 ms instead of as fast as a timer goes.
    int Create(HWND parent, const Box& bounds, std::string_view png, bool animate, bool zeroDelaysAs10,
               std::int64_t frameStyle = 0, bool visible = true);
    int CreateFromImage(HWND parent, const Box& bounds, const UiImage& image, std::int64_t frameStyle = 0,
                        bool visible = true);
    bool Animate(std::optional<bool> value = std::nullopt);
    void SetPicture(std::string_view png, bool redraw = true);
    void PaintFrame(int windowIndex, int position, const Box& bounds, int mode);

    int FrameIndex() const { return frameIndex_; }
    int FrameCount() const { return frameCount_; }
    const std::vector<int>& FrameDelays() const { return frameDelays_; }
    bool Running() const { return running_; }
    // Interval of the last timer started, in ms; -1 when none.
    int LastInterval() const { return lastInterval_; }

private:
    void ReadFrames(bool zeroDelaysAs10);
    void DrawShownFrame(int windowIndex, int position);

    UiImage image_;
    bool animate_ = false;
    std::int64_t frameStyle_ = 0;
    int frameIndex_ = 0;
    int frameCount_ = 0;
    bool running_ = false;
    std::vector<int> frameDelays_;
    int lastInterval_ = -1;
};

}  // namespace ui
