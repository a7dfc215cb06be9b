// Host windows, the registry, the base control and painting.
#include <gtest/gtest.h>

#include "TestControls.h"
#include "ToolkitFixtures.h"
#include "toolkit/controls/UiCaptionButton.h"

using namespace ui;
using testing_ui::BoxControl;
using testing_ui::TestWindow;

namespace {

AttachOptions Plain(ColorRef color = 0x0000FF) {
    AttachOptions o;
    o.themeColor = color;
    o.captionFlags = 0;
    o.fixedSize = true;
    o.dragFlags = 1;
    o.controlFading = 0;
    return o;
}

COLORREF CompositeAt(UiWindow& host, int x, int y) {
    GdiFlush();
    return GetPixel(host.Entry()->composite.Dc(), x, y);
}

}  // namespace

TEST(Host, DestroyingFirstWindowRenumbersTheSecond) {
    auto first = std::make_unique<TestWindow>("", Plain());
    TestWindow second("", Plain());
    BoxControl a, b;
    a.Create(first->hwnd, {10, 10, 50, 50});
    b.Create(second.hwnd, {10, 10, 50, 50});
    const int base = FindWindowIndex(first->hwnd);
    ASSERT_GT(base, 0);
    EXPECT_EQ(FindWindowIndex(second.hwnd), base + 1);

    first.reset();
    EXPECT_EQ(FindWindowIndex(second.hwnd), base);
    EXPECT_EQ(second.host->WindowIndex(), base);
    EXPECT_EQ(b.GetWindowIndex(), base);
    EXPECT_FALSE(a.IsCreated());
    second.Click(20, 20);
    EXPECT_EQ(b.Count(kMsgClicked), 1u);
}

TEST(Host, ToolkitMessagesAnswerPictureAndColour) {
    TestWindow coloured("", Plain(0x0000FF));
    EXPECT_EQ(coloured.Send(kMsgGetThemeColor), 0x0000FF);
    EXPECT_EQ(coloured.Send(kMsgGetBackground), 0);

    AttachOptions o = Plain();
    o.themeColor.reset();
    TestWindow skinned(kSkinPng, o);
    EXPECT_EQ(skinned.Send(kMsgGetBackground), reinterpret_cast<LRESULT>(skinned.host->BackgroundImageHandle()));
    EXPECT_NE(skinned.Send(kMsgGetBackground), 0);
    // Taken from the picture at 85 % of its size: the dark green field.
    EXPECT_EQ(skinned.Send(kMsgGetThemeColor), 0x285A14);
}

TEST(Host, BadInputDrawsWithoutThePicture) {
    const std::string_view pictures[] = {{}, "junk bytes", kSkinPng.substr(0, 40)};
    for (std::string_view picture : pictures) {
        TestWindow w(picture, Plain(0x00FF00));
        EXPECT_EQ(w.Send(kMsgGetBackground), 0);
        EXPECT_EQ(CompositeAt(*w.host, 100, 100), RGB(0, 254, 0));
    }
    // A window of no size at all, a resize to nothing and paints of it.
    TestWindow empty("", Plain(), 0, 0);
    BoxControl c;
    c.Create(empty.hwnd, {0, 0, 10, 10});
    empty.host->Redraw();
    empty.Send(WM_SIZE, 0, 0);
    empty.Click(1, 1);
    EXPECT_TRUE(empty.host->Redraw());

    TestWindow w("", Plain());
    w.Send(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(w.host->Width(), 680);
    EXPECT_EQ(w.host->Entry()->background.Width(), 680);
    // Timers and messages for controls that are not there.
    w.Send(WM_TIMER, ControlTimerId(w.host->WindowIndex(), 42), 0);
    w.Send(WM_TIMER, ControlTimerId(99, 1), 0);
    EXPECT_EQ(SendControlMessage(w.host->WindowIndex(), 5, w.hwnd, WM_PAINT, 0, -1, 1), 0);
    EXPECT_EQ(SendControlMessage(77, 1, w.hwnd, WM_PAINT, 0, -1, 1), 0);
}

TEST(Control, IdsCountFromOneAndReuseTheSmallestFree) {
    TestWindow w("", Plain());
    BoxControl a, b, c, d;
    EXPECT_EQ(a.Create(w.hwnd, {0, 0, 10, 10}), 1);
    EXPECT_EQ(b.Create(w.hwnd, {0, 0, 10, 10}), 2);
    EXPECT_EQ(c.Create(w.hwnd, {0, 0, 10, 10}), 3);
    EXPECT_TRUE(b.Destroy());
    EXPECT_FALSE(b.IsCreated());
    EXPECT_EQ(FindControlPosition(w.host->WindowIndex(), 2), 0);
    EXPECT_EQ(d.Create(w.hwnd, {0, 0, 10, 10}), 2);
    EXPECT_EQ(d.Position(), 3);  // appended on top
    EXPECT_EQ(b.Create(w.hwnd, {0, 0, 10, 10}), 4);
    // Not a toolkit window: the control stays uncreated.
    BoxControl stray;
    EXPECT_EQ(stray.Create(GetDesktopWindow(), {0, 0, 10, 10}), 0);
    EXPECT_TRUE(stray.Destroy());
}

TEST(Control, HitTestFromTheTopAndNegativeSizes) {
    TestWindow w("", Plain());
    BoxControl low, high, hidden;
    low.Create(w.hwnd, {10, 10, 100, 100});
    high.Create(w.hwnd, {50, 50, 100, 100});
    hidden.Create(w.hwnd, {0, 0, 300, 300}, 2, 1, 0);
    const int wi = w.host->WindowIndex();
    EXPECT_EQ(HitTest(wi, 60, 60), high.Position());
    EXPECT_EQ(HitTest(wi, 20, 20), low.Position());
    EXPECT_EQ(HitTest(wi, 149.5f, 60), high.Position());
    EXPECT_EQ(HitTest(wi, 150, 60), 0);  // right edge is outside
    high.Move(std::nullopt, std::nullopt, -5.0f, std::nullopt);
    EXPECT_EQ(high.GetBounds().width, 0.0f);
    EXPECT_EQ(HitTest(wi, 60, 60), low.Position());
    EXPECT_EQ(high.Width(), 0);
}

TEST(Control, VisibleAndForcedMessages) {
    TestWindow w("", Plain());
    BoxControl c;
    c.Create(w.hwnd, {10, 10, 40, 40}, 2, 1, 0);
    EXPECT_EQ(c.Visible(0), 0);
    EXPECT_TRUE(c.log.empty());

    c.Visible(1);
    EXPECT_EQ(c.Messages(), std::vector<UINT>{kMsgShown});
    EXPECT_EQ(c.Count(WM_PAINT), 1u);

    c.log.clear();
    c.Deactivate();
    c.Redraw();
    w.Click(20, 20);
    c.Visible(0);
    c.Visible(1);
    // Inactive: only the forced notices arrive.
    EXPECT_EQ(c.Messages(), (std::vector<UINT>{kMsgHidden, kMsgShown}));
    EXPECT_EQ(c.Count(WM_PAINT), 0u);
}

TEST(Control, RestackKeepsCaptionButtonsAtTheBottom) {
    AttachOptions o = Plain();
    o.captionFlags = kCaptionClose | kCaptionMinimize | kCaptionMaximize;
    TestWindow w("", o);
    ASSERT_EQ(w.host->CaptionButtons().size(), 3u);
    BoxControl a, b;
    a.Create(w.hwnd, {0, 0, 10, 10});
    b.Create(w.hwnd, {0, 0, 10, 10});
    b.Restack(false);
    EXPECT_EQ(b.Position(), 4);
    for (auto& button : w.host->CaptionButtons()) EXPECT_LE(button->Position(), 3);
    EXPECT_EQ(w.host->CaptionButtonFlag(w.host->CaptionButtons()[0]->GetId()), kCaptionClose);
    EXPECT_EQ(w.host->CaptionButtonFlag(b.GetId()), 0);
    b.Restack();
    EXPECT_EQ(b.Position(), 5);
}

TEST(Control, RemovalFixesHoverFocusAndPress) {
    TestWindow w("", Plain());
    BoxControl c[4];
    for (int i = 0; i < 4; ++i) c[i].Create(w.hwnd, {i * 100.0f + 10, 10, 80, 80});
    w.MouseAt(WM_MOUSEMOVE, 120, 20);  // hover on position 2
    EXPECT_EQ(w.host->HoveredPosition(), 2);
    c[1].Destroy();
    EXPECT_EQ(w.host->HoveredPosition(), 0);

    BoxControl again;
    again.Create(w.hwnd, {110, 10, 80, 80});  // ID 2 again, now at position 4
    w.MouseAt(WM_LBUTTONDOWN, 320, 20);  // press, focus and capture on position 3
    EXPECT_EQ(w.host->FocusedPosition(), 3);
    c[0].Destroy();
    EXPECT_EQ(w.host->FocusedPosition(), 2);  // still the same control
    EXPECT_EQ(w.host->PressedPosition(), 0);
    EXPECT_FALSE(w.host->MouseCaptured());
    EXPECT_TRUE(c[3].HasFocus());
    w.MouseAt(WM_LBUTTONUP, 320, 20);
    EXPECT_EQ(c[3].Count(kMsgClicked), 0u);

    // The removed control's WM_DESTROY comes even when it is hidden.
    c[2].Visible(0);
    c[2].Destroy();
    EXPECT_EQ(c[2].Count(WM_DESTROY), 1u);
}

TEST(Control, EventHandlerIsReplacedAndPropertiesHold) {
    TestWindow w("", Plain());
    BoxControl c;
    c.Create(w.hwnd, {10, 10, 40, 40});
    int first = 0, second = 0;
    c.SetEventHandler(kMsgClicked, [&](int, int, WPARAM, LPARAM, int) { ++first; });
    c.SetEventHandler(kMsgClicked, [&](int, int, WPARAM, LPARAM, int) { ++second; });
    w.Click(20, 20);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);

    EXPECT_EQ(c.Text(L"5"), L"5");
    EXPECT_EQ(c.Left(30), 30);
    EXPECT_EQ(c.Top(), 10);
    c.SetTooltip(L"提示");
    c.SetTooltip(L"");
    EXPECT_EQ(c.TipText(L"tip", true), L"tip");
}

TEST(Paint, PartialRepaintRestoresBackgroundAndKeepsFrame) {
    TestWindow w("", Plain(0x00FF00));
    UiWindow& host = *w.host;
    const COLORREF frame = CompositeAt(host, 5, 200);
    EXPECT_NE(frame, RGB(0, 254, 0));
    BoxControl c(0xFF0000FF);
    c.Create(w.hwnd, {100, 100, 50, 50});
    EXPECT_EQ(CompositeAt(host, 120, 120), RGB(0, 0, 255));
    c.Move(200.0f, std::nullopt);
    EXPECT_EQ(CompositeAt(host, 120, 120), RGB(0, 254, 0));
    EXPECT_EQ(CompositeAt(host, 220, 120), RGB(0, 0, 255));
    // A control at the edge: removing it restores the frame there too.
    BoxControl edge;
    edge.Create(w.hwnd, {0, 150, 60, 100});
    edge.Destroy();
    EXPECT_EQ(CompositeAt(host, 5, 200), frame);
}

TEST(Paint, FadeInSuspendsInputUntilItEnds) {
    TestWindow w("", Plain());
    BoxControl c;
    c.Create(w.hwnd, {10, 10, 40, 40});
    ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
    w.host->Redraw(std::nullopt, std::nullopt, true);
    EXPECT_TRUE(w.host->PaintingSuspended());
    c.log.clear();
    w.Click(20, 20);
    EXPECT_EQ(c.Count(kMsgClicked), 0u);
    testing_ui::PumpMessages(900);
    EXPECT_FALSE(w.host->PaintingSuspended());
    w.Click(20, 20);
    EXPECT_EQ(c.Count(kMsgClicked), 1u);
}

TEST(Paint, CaptionLayoutFollowsTheMargin) {
    AttachOptions o = Plain();
    o.captionFlags = kCaptionIcon | kCaptionTitle | kCaptionClose | kCaptionMinimize;
    TestWindow w("", o, 400, 300);
    const auto& buttons = w.host->CaptionButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->GetBounds().left, 400 - 5 - 3 - 39);
    EXPECT_EQ(buttons[0]->GetBounds().top, 6);
    EXPECT_EQ(buttons[1]->GetBounds().left, 400 - 5 - 3 - 39 - 28);
    w.host->LayoutCaptionButtons(0);
    EXPECT_EQ(buttons[0]->GetBounds().top, 1);
    EXPECT_EQ(buttons[0]->GetBounds().left, 400 - 3 - 39);

    MINMAXINFO info{};
    w.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 2 * 28 + 11 + 40);
}

TEST(Paint, LayeredWindowCarriesItsAlphaInThePixels) {
    AttachOptions o = Plain(0xFF0000);
    o.alpha = 127;
    TestWindow w("", o);
    EXPECT_TRUE(GetWindowLongPtrW(w.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    GdiFlush();
    auto* e = w.host->Entry();
    // Premultiplied: blue 255 at alpha 127 is stored as about 127; the margin is clear.
    const COLORREF inside = GetPixel(e->composite.Dc(), 300, 200);
    EXPECT_NEAR(GetBValue(inside), 127, 2);
    EXPECT_EQ(w.host->Alpha(), 127);
    w.host->Alpha(200);
    EXPECT_EQ(w.host->Alpha(), 200);
    TestWindow ordinary("", Plain());
    EXPECT_EQ(ordinary.host->Alpha(60), -1);
}

TEST(Paint, CloseAnimationsFadeTheLastPictureAndEndLive) {
    const auto keepOpen = [](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT { return msg == WM_CLOSE ? 0 : kContinue; };
    for (int type = 1; type <= 6; ++type) {
        AttachOptions o = Plain(0x00FF00);
        o.cornerSize = 5;
        TestWindow w("", o);
        w.host->Callbacks().messageHook = keepOpen;
        ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
        w.host->SetCloseAnimation(type);
        w.Send(WM_CLOSE);
        // An ordinary window fades as a layered one, its rounded region dropped so that
        // nothing clips the fading picture.
        EXPECT_TRUE(GetWindowLongPtrW(w.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) << type;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(w.hwnd, region), ERROR) << type;
        DeleteObject(region);
        EXPECT_EQ(w.host->Alpha(), 255) << type;
        EXPECT_FALSE(w.host->PaintingSuspended()) << type;
        auto* e = w.host->Entry();
        GdiFlush();
        EXPECT_EQ(GetPixel(e->layered.Dc(), 300, 200), GetPixel(e->composite.Dc(), 300, 200)) << type;
        EXPECT_EQ(GetPixel(e->layered.Dc(), 2, 2), RGB(0, 0, 0)) << type;
    }
    // A window without a size has nothing to fade and stays as it was.
    TestWindow none("", Plain(), 0, 0);
    none.host->Callbacks().messageHook = keepOpen;
    none.host->SetCloseAnimation(1);
    none.Send(WM_CLOSE);
    EXPECT_FALSE(none.host->PaintingSuspended());
    EXPECT_FALSE(GetWindowLongPtrW(none.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(Paint, ShowAnimationEndsFullyPresented) {
    for (int type : {0, 1}) {
        AttachOptions o = Plain(0xFF0000);
        o.alpha = 200;
        TestWindow w("", o);
        ASSERT_FALSE(IsWindowVisible(w.hwnd));
        w.host->ShowAnimated(type);
        EXPECT_TRUE(IsWindowVisible(w.hwnd)) << type;
        EXPECT_FALSE(w.host->PaintingSuspended()) << type;
        auto* e = w.host->Entry();
        GdiFlush();
        // Whatever the type, the layered picture ends as the whole composite, not faint.
        EXPECT_EQ(GetPixel(e->layered.Dc(), 300, 200), GetPixel(e->composite.Dc(), 300, 200)) << type;
    }
    TestWindow ordinary("", Plain());
    ordinary.host->ShowAnimated(1);
    EXPECT_TRUE(IsWindowVisible(ordinary.hwnd));
}
