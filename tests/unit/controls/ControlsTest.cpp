// The control classes painted into a real host window: pictures, texts, states and values.
#include <gtest/gtest.h>

#include <vector>

#include "ControlFixtures.h"
#include "TestControls.h"
#include "toolkit/controls/UiButton.h"
#include "toolkit/controls/UiImageButton.h"
#include "toolkit/controls/UiLabel.h"
#include "toolkit/controls/UiPictureBox.h"
#include "toolkit/controls/UiSlider.h"

using namespace ui;
using testing_ui::PumpMessages;
using testing_ui::TestWindow;

namespace {

constexpr int kWindowLeft = 40, kWindowTop = 40;

AttachOptions Plain(int corner = 5) {
    AttachOptions o;
    o.themeColor = 0xFFFFFF;  // white, so text and bars stand out
    o.captionFlags = 0;
    o.fixedSize = true;
    o.dragFlags = 1;
    o.controlFading = 0;
    o.cornerSize = corner;
    return o;
}

COLORREF At(TestWindow& w, int x, int y) {
    GdiFlush();
    return GetPixel(w.host->Entry()->composite.Dc(), x, y);
}

bool Near(COLORREF c, int r, int g, int b, int tolerance = 40) {
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

bool Dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 400; }

// Columns and rows of the rectangle that hold any dark pixel: {left, top, right, bottom}, or
// all -1 when there is none.
RECT InkBox(TestWindow& w, const Box& r) {
    RECT ink{-1, -1, -1, -1};
    GdiFlush();
    for (int y = static_cast<int>(r.top); y < static_cast<int>(r.top + r.height); ++y)
        for (int x = static_cast<int>(r.left); x < static_cast<int>(r.left + r.width); ++x) {
            if (!Dark(GetPixel(w.host->Entry()->composite.Dc(), x, y))) continue;
            if (ink.left < 0 || x < ink.left) ink.left = x;
            if (ink.top < 0) ink.top = y;
            if (x > ink.right) ink.right = x;
            ink.bottom = y;
        }
    return ink;
}

// Pixels darker than the threshold (sum of the channels).
int InkCount(TestWindow& w, const Box& r, int below) {
    int n = 0;
    GdiFlush();
    for (int y = static_cast<int>(r.top); y < static_cast<int>(r.top + r.height); ++y)
        for (int x = static_cast<int>(r.left); x < static_cast<int>(r.left + r.width); ++x) {
            const COLORREF c = GetPixel(w.host->Entry()->composite.Dc(), x, y);
            n += GetRValue(c) + GetGValue(c) + GetBValue(c) < below;
        }
    return n;
}

void CursorAt(int clientX, int clientY) { SetCursorPos(kWindowLeft + clientX, kWindowTop + clientY); }

}  // namespace

TEST(ImageButton, StatesAndPicturesSwappedAtRunTime) {
    TestWindow w("", Plain());
    UiImageButton b;
    b.Create(w.hwnd, {20, 20, 45, 45}, kRedPng, kGreenPng, kBluePng);
    EXPECT_TRUE(Near(At(w, 40, 40), 230, 20, 20));
    w.MouseAt(WM_MOUSEMOVE, 40, 40);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 200, 40)) << "hover picture";
    EXPECT_EQ(b.FadeAlpha(), 102);
    w.MouseAt(WM_LBUTTONDOWN, 40, 40, MK_LBUTTON);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 40, 230)) << "pressed picture";
    EXPECT_EQ(b.FadeAlpha(), 153);
    // Held down: moving over it changes nothing.
    w.MouseAt(WM_MOUSEMOVE, 41, 41, MK_LBUTTON);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 40, 230));
    w.MouseAt(WM_LBUTTONUP, 40, 40);

    // Play becomes pause: the application swaps the pictures while the button is shown.
    b.SetImages(kBluePng, kRedPng, kGreenPng);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 40, 230));
    w.MouseAt(WM_MOUSEMOVE, 42, 42);
    EXPECT_TRUE(Near(At(w, 40, 40), 230, 20, 20));

    // Disabled: the mouse paints nothing, a repaint still does.
    b.Disabled(1);
    w.MouseAt(WM_MOUSEMOVE, 300, 300);
    w.MouseAt(WM_MOUSEMOVE, 40, 40);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 40, 230));
}

TEST(ImageButton, OnePictureStillFadesAndNaturalSizeSitsTopLeft) {
    AttachOptions o = Plain();
    o.controlFading = 1;
    TestWindow w("", o);
    UiImageButton b;
    b.Create(w.hwnd, {20, 20, 45, 45}, kRedPng, std::nullopt, std::nullopt, false);
    EXPECT_TRUE(Near(At(w, 22, 22), 230, 20, 20));
    EXPECT_FALSE(Near(At(w, 40, 40), 230, 20, 20)) << "an 8 x 8 picture at natural size";
    w.MouseAt(WM_MOUSEMOVE, 22, 22);
    EXPECT_EQ(b.FadeAlpha(), 102);
    PumpMessages(600);
    EXPECT_EQ(b.FadeAlpha(), 0) << "the fade ran to its end and stopped its timer";
}

TEST(Label, AlignmentPlacesTheText) {
    struct Case {
        int alignment;
        bool nearLeft, nearRight, nearTop, centredVertically;
    };
    const Case cases[] = {
        {0, true, false, true, false},
        {2, false, true, true, false},
        {4, false, false, false, true},
    };
    for (const Case& c : cases) {
        TestWindow w("", Plain());
        UiLabel label;
        const Box r{40, 40, 300, 60};
        LabelStyle s;
        s.alignment = c.alignment;
        label.Create(w.hwnd, L"WWW", r, s);
        const RECT ink = InkBox(w, r);
        ASSERT_GE(ink.left, 0) << "alignment " << c.alignment;
        EXPECT_EQ(ink.left < 60, c.nearLeft) << c.alignment;
        EXPECT_EQ(ink.right > 320, c.nearRight) << c.alignment;
        EXPECT_EQ(ink.top < 52, c.nearTop) << c.alignment;
        if (c.centredVertically) {
            EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 70, 6);
            EXPECT_NEAR((ink.left + ink.right) / 2.0, 190, 4);
        }
    }
}

TEST(Label, EmptyTextFrameFillEffectAndFont) {
    TestWindow w("", Plain());
    UiLabel empty;
    LabelStyle filled;
    filled.fillMode = 0;
    filled.fillColour1 = 0xFE0000FF;
    filled.fillColour2 = 0xFE0000FF;
    filled.frameStyle = 0xFEFF0000;
    empty.Create(w.hwnd, L"", {20, 20, 100, 30}, filled);
    EXPECT_TRUE(Near(At(w, 60, 35), 0, 0, 255, 8)) << "the background is drawn without a text";
    EXPECT_TRUE(Near(At(w, 119, 35), 255, 0, 0, 8)) << "and the frame, which the fill leaves at the right";

    // White text on grey: a shadow down-right is darker than the grey beside every stroke.
    UiLabel plain, shadowed;
    LabelStyle s;
    s.fillMode = 1;
    s.fillColour1 = s.fillColour2 = 0xFE404040;
    s.textColour = 0xFEFFFFFF;
    plain.Create(w.hwnd, L"影子", {20, 100, 200, 40}, s);
    s.textEffect = 2;
    shadowed.Create(w.hwnd, L"影子", {20, 200, 200, 40}, s);
    EXPECT_EQ(InkCount(w, {22, 102, 190, 30}, 150), 0);
    EXPECT_GT(InkCount(w, {22, 202, 190, 30}, 150), 0);

    // Only a size: the default font's family at that size, and the caller learns the family.
    UiLabel sized;
    LabelStyle big;
    big.fontSize = 24;
    sized.Create(w.hwnd, L"大", {300, 100, 100, 60}, &big);
    ASSERT_TRUE(big.fontName.has_value());
    EXPECT_EQ(*big.fontName, FontFamilyName(DefaultFont()));
    float size = 0;
    gp::GdipGetFontSize(sized.Font(), &size);
    EXPECT_FLOAT_EQ(size, 24);
    EXPECT_NE(sized.Font(), DefaultFont());
}

TEST(Label, AutoContrastChoosesOnceAndKeepsTheColour) {
    AttachOptions o = Plain();
    o.themeColor = 0x202020;  // dark
    TestWindow w("", o);
    UiLabel label;
    LabelStyle s;
    s.textColour = ColorToArgb(0, 200);
    label.Create(w.hwnd, L"Text", {40, 40, 100, 30}, s);
    EXPECT_EQ(label.TextColour(), ColorToArgb(0, 200));
    label.AutoContrast(true);
    EXPECT_EQ(label.TextColour(), ColorToArgb(0, 200)) << "setting the flag does not repaint";
    label.Redraw();
    EXPECT_EQ(label.TextColour(), ColorToArgb(0xFFFFFF, 200));
    label.AutoContrast(false);
    label.Redraw();
    EXPECT_EQ(label.TextColour(), ColorToArgb(0xFFFFFF, 200));
}

TEST(Button, AccessKeyFromTheAmpersand) {
    TestWindow w("", Plain());
    std::vector<int> clicked;
    w.host->Callbacks().onControlClick = [&](HWND, int id, UiControl*, int) { clicked.push_back(id); };
    UiButton yes, plain, trailing;
    const int yesId = yes.Create(w.hwnd, L"是(&Y)", {20, 20, 70, 24});
    plain.Create(w.hwnd, L"否", {100, 20, 70, 24});
    trailing.Create(w.hwnd, L"末尾&", {180, 20, 70, 24});
    EXPECT_TRUE(yes.AccessKeyRegistered());
    EXPECT_FALSE(plain.AccessKeyRegistered());
    EXPECT_FALSE(trailing.AccessKeyRegistered());
    w.Send(WM_SYSKEYDOWN, 'Y');
    EXPECT_EQ(clicked, std::vector<int>{yesId});
    // A new caption moves the key.
    yes.Caption(L"确认(&O)");
    w.Send(WM_SYSKEYDOWN, 'Y');
    w.Send(WM_SYSKEYDOWN, 'O');
    EXPECT_EQ(clicked, (std::vector<int>{yesId, yesId}));
}

TEST(Button, StatesFollowTheMouseAndFocus) {
    TestWindow w("", Plain());
    UiButton b, other;
    b.Create(w.hwnd, L"按钮", {20, 20, 70, 24});
    other.Create(w.hwnd, L"别的", {120, 20, 70, 24});
    EXPECT_EQ(b.LastState(), UiButton::kNormal);
    const COLORREF normal = At(w, 55, 40);
    w.MouseAt(WM_MOUSEMOVE, 30, 30);
    EXPECT_EQ(b.LastState(), UiButton::kHover);
    EXPECT_NE(At(w, 55, 40), normal) << "hover paints a blue tint";
    w.MouseAt(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_EQ(b.LastState(), UiButton::kPressed);
    w.MouseAt(WM_LBUTTONUP, 30, 30);
    EXPECT_EQ(b.LastState(), UiButton::kPressed) << "button-up shows the pressed look once more";
    w.MouseAt(WM_MOUSEMOVE, 31, 30);
    EXPECT_EQ(b.LastState(), UiButton::kHover);
    // Leaving: the host's repaint shows the focused look, since the press focused it.
    w.MouseAt(WM_MOUSEMOVE, 400, 300);
    EXPECT_EQ(b.LastState(), UiButton::kFocused);

    b.Disabled(1);
    EXPECT_EQ(b.LastState(), UiButton::kDisabled);
    w.MouseAt(WM_MOUSEMOVE, 30, 30);
    EXPECT_EQ(b.LastState(), UiButton::kDisabled);
}

TEST(Button, RoundedFollowsTheHostCorners) {
    for (int corner : {0, 5}) {
        TestWindow w("", Plain(corner));
        UiButton b;
        b.Create(w.hwnd, L"", {20, 20, 70, 24});
        // The outer frame passes through the very corner pixel only when square.
        const COLORREF corner00 = At(w, 20, 20);
        EXPECT_EQ(Dark(corner00) || GetRValue(corner00) < 250, corner == 0) << "corner size " << corner;
    }
}

class SliderTest : public ::testing::Test {
protected:
    SliderTest() : w("", Plain(), 680, 440, L"滑块测试", kWindowLeft, kWindowTop) {
        ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
        w.host->Redraw();
    }
    void Make(float value, float second, SliderStyle style = {}) {
        slider.Create(w.hwnd, bounds, value, second, style);
        slider.SetChangeHandler([this](int v, int zero) {
            changes.push_back(v);
            EXPECT_EQ(zero, 0);
        });
    }
    // Presses and releases on the slider with the cursor at x in the window.
    void ClickAt(int x) {
        CursorAt(x, 60);
        w.Click(x, 60);
    }
    TestWindow w;
    UiSlider slider;
    const Box bounds{100, 50, 218, 21};  // 218 - 18 = 200: every 2 pixels is a percent
    std::vector<int> changes;
};

TEST_F(SliderTest, ClickSetsTheValueFromTheCursor) {
    Make(30, 0);
    struct Case {
        int x;
        int value;
    };
    // The track starts 9 pixels in and spans width - 18.
    for (const Case c : {Case{109, 0}, Case{209, 50}, Case{309, 100}, Case{101, 0}, Case{317, 100}, Case{259, 75}}) {
        changes.clear();
        ClickAt(c.x);
        EXPECT_EQ(static_cast<int>(slider.Value()), c.value) << "x " << c.x;
        EXPECT_EQ(changes, std::vector<int>{c.value}) << "x " << c.x;
    }
}

TEST_F(SliderTest, DragReportsEveryMoveAndPressAloneChangesNothing) {
    Make(10, 0);
    CursorAt(209, 60);
    w.MouseAt(WM_MOUSEMOVE, 209, 60);
    w.MouseAt(WM_LBUTTONDOWN, 209, 60, MK_LBUTTON);
    EXPECT_EQ(slider.Value(), 10.0f) << "pressing alone does not move the value";
    EXPECT_TRUE(changes.empty());
    for (int x : {229, 249, 400}) {
        CursorAt(x, 60);
        w.MouseAt(WM_MOUSEMOVE, x, 60, MK_LBUTTON);
    }
    EXPECT_EQ(changes, (std::vector<int>{60, 70, 100}));
    CursorAt(159, 60);
    w.MouseAt(WM_LBUTTONUP, 159, 60);
    EXPECT_EQ(changes.back(), 25) << "the release on the slider is a click";
}

TEST_F(SliderTest, DisabledAndProgressBarsIgnoreTheUser) {
    Make(40, 0);
    slider.Disabled(1);
    ClickAt(300);
    EXPECT_EQ(slider.Value(), 40.0f);
    EXPECT_TRUE(changes.empty());

    UiSlider bar;
    SliderStyle progress;
    progress.interactive = false;
    bar.Create(w.hwnd, {100, 150, 218, 21}, 20, 0, progress);
    CursorAt(300, 160);
    w.Click(300, 160);
    EXPECT_EQ(bar.Value(), 20.0f);
}

TEST_F(SliderTest, ValueClampsAndSameValueDoesNotRepaint) {
    Make(50, 0);
    const int paints = slider.PaintCount();
    slider.Value(50);
    EXPECT_EQ(slider.PaintCount(), paints);
    struct Case {
        float given, stored;
    };
    for (const Case c : {Case{150, 100}, Case{-3, 0}, Case{100.00000001f, 100.00000001f}, Case{33.5f, 33.5f}}) {
        slider.Value(c.given);
        EXPECT_FLOAT_EQ(slider.Value(), c.stored);
    }
    slider.SecondaryValue(250);
    EXPECT_EQ(slider.SecondaryValue(), 100.0f);
    EXPECT_GT(slider.PaintCount(), paints);
}

TEST_F(SliderTest, SecondBarAndMainBarColours) {
    SliderStyle s;
    s.interactive = false;
    s.trackFill = 0xFE000000;
    s.secondaryColour = 0xFEFFFFFF;
    s.barColour1 = 0xFEFF0000;
    s.barColour2 = 0xFEFF0000;
    s.rounded = false;
    Make(20, 60, s);
    // Bar area: bounds inset by 2 (track), 1 (inset track), 1 (bar): x 104 .. 313, W = 210.
    const int y = 60;
    EXPECT_GT(GetRValue(At(w, 120, y)), 150) << "main bar";
    EXPECT_LT(GetGValue(At(w, 120, y)), 80);
    EXPECT_GT(GetGValue(At(w, 200, y)), 200) << "second bar";
    EXPECT_LT(GetRValue(At(w, 280, y)) + GetGValue(At(w, 280, y)), 60) << "bare track";

    slider.Value(0);
    EXPECT_GT(GetGValue(At(w, 120, y)), 200) << "no main bar at 0; the second bar remains";
}

TEST_F(SliderTest, ThumbPictureSitsAtTheValue) {
    SliderStyle s;
    s.thumbPng = kThumbPng;
    s.thumbHotPng = kRedPng;
    Make(50, 0, s);
    CursorAt(600, 400);
    slider.Redraw();
    // Track 105 .. 313 wide 208; 50 % is x 209; the 10 x 10 thumb spans 204 .. 213.
    EXPECT_TRUE(Near(At(w, 209, 60), 250, 200, 0, 10));
    EXPECT_FALSE(Near(At(w, 230, 60), 250, 200, 0, 10));
    CursorAt(209, 60);
    slider.Redraw();
    EXPECT_TRUE(Near(At(w, 209, 60), 230, 20, 20, 10)) << "the hot picture under the mouse";
}

TEST(PictureBox, FrameDelaysWithZeroAsTen) {
    AttachOptions o = Plain();
    TestWindow w("", o);
    struct Case {
        bool zeroAsTen;
        std::vector<int> delays;
        int firstInterval;
    };
    for (const Case& c : {Case{true, {10, 20, 10}, 100}, Case{false, {0, 20, 0}, 0}}) {
        UiPictureBox box;
        box.Create(w.hwnd, {20, 20, 40, 40}, kZeroDelayGif, true, c.zeroAsTen);
        EXPECT_EQ(box.FrameCount(), 3);
        EXPECT_EQ(box.FrameDelays(), c.delays);
        EXPECT_TRUE(box.Running());
        EXPECT_EQ(box.LastInterval(), c.firstInterval);
        EXPECT_EQ(box.FrameIndex(), 1);
        box.Destroy();
    }
}

TEST(PictureBox, FramesAdvanceAndAnimateOffShowsFrameZero) {
    TestWindow w("", Plain());
    // The 1 x 1 frames are stretched with smoothing: black reads as a mid grey.
    auto Dark = [](COLORREF c) { return GetRValue(c) < 220; };
    UiPictureBox box;
    box.Create(w.hwnd, {20, 20, 40, 40}, kZeroDelayGif, true, true);
    EXPECT_TRUE(Dark(At(w, 40, 40))) << "frame 0 is black";
    PumpMessages(150);
    EXPECT_FALSE(Dark(At(w, 40, 40))) << "after 100 ms frame 1, white";
    EXPECT_EQ(box.LastInterval(), 200);
    // A repaint of the whole window keeps the frame on show.
    w.host->Redraw();
    EXPECT_FALSE(Dark(At(w, 40, 40)));

    box.Animate(false);
    EXPECT_FALSE(box.Running());
    EXPECT_TRUE(Dark(At(w, 40, 40))) << "frame 0 again";
    PumpMessages(400);
    EXPECT_TRUE(Dark(At(w, 40, 40))) << "the timer stopped";
    EXPECT_EQ(box.FrameIndex(), 1);
}

TEST(PictureBox, StillPictureFromAnImageWithFrame) {
    TestWindow w("", Plain());
    UiImage image;
    image.LoadFromMemory(kBluePng);
    UiPictureBox box;
    box.CreateFromImage(w.hwnd, {20, 20, 40, 40}, image, 0xFEFF0000);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 40, 230));
    EXPECT_TRUE(Near(At(w, 20, 40), 255, 0, 0, 8)) << "the frame";
    EXPECT_FALSE(box.Animate());
    box.SetPicture(kGreenPng);
    EXPECT_TRUE(Near(At(w, 40, 40), 20, 200, 40));
}
