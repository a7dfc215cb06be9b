// Caption buttons of a host window, and the message box driven through its own modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "TestControls.h"
#include "toolkit/MessageBox.h"
#include "toolkit/controls/UiCaptionButton.h"

using namespace ui;
using testing_ui::PumpMessages;
using testing_ui::TestWindow;

namespace {

AttachOptions WithCaption() {
    AttachOptions o;
    o.themeColor = 0x804020;
    o.captionFlags = kCaptionTitle | kCaptionClose | kCaptionMaximize | kCaptionMinimize;
    o.controlFading = 0;
    o.dragFlags = 1;  // a press on a disabled button would otherwise start dragging the window
    return o;
}

UiCaptionButton* Button(TestWindow& w, int type) {
    for (const auto& b : w.host->CaptionButtons())
        if (b->ButtonType() == type) return b.get();
    return nullptr;
}

// The button's pixels in the composite buffer, to tell its pictures apart.
std::vector<COLORREF> Look(TestWindow& w, UiCaptionButton* b) {
    GdiFlush();
    std::vector<COLORREF> out;
    const Box r = b->GetBounds();
    for (int y = static_cast<int>(r.top); y < static_cast<int>(r.top + r.height); ++y)
        for (int x = static_cast<int>(r.left); x < static_cast<int>(r.left + r.width); ++x)
            out.push_back(GetPixel(w.host->Entry()->composite.Dc(), x, y));
    return out;
}

void ClickOn(TestWindow& w, UiCaptionButton* b) {
    const Box r = b->GetBounds();
    w.Click(static_cast<int>(r.left + r.width / 2), static_cast<int>(r.top + r.height / 2));
}

int PendingSysCommands(HWND hwnd) {
    int n = 0;
    MSG msg;
    while (PeekMessageW(&msg, hwnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) ++n;
    return n;
}

}  // namespace

TEST(CaptionButton, MaximiseAndRestoreToggle) {
    TestWindow w("", WithCaption(), 400, 300);
    ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
    w.host->Redraw();
    UiCaptionButton* max = Button(w, kCaptionMaximize);
    ASSERT_NE(max, nullptr);
    w.Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 200));  // away from the button: its normal picture
    const std::vector<COLORREF> maximisePicture = Look(w, max);
    ClickOn(w, max);
    PumpMessages(200);
    ASSERT_TRUE(IsZoomed(w.hwnd));
    max = Button(w, kCaptionMaximize);
    w.Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 200));
    max->Redraw();
    EXPECT_NE(Look(w, max), maximisePicture) << "the restore picture";
    ClickOn(w, max);
    PumpMessages(200);
    EXPECT_FALSE(IsZoomed(w.hwnd));
}

TEST(CaptionButton, MinimiseOnAMinimisedWindowPostsNothing) {
    TestWindow w("", WithCaption(), 400, 300);
    ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
    UiCaptionButton* min = Button(w, kCaptionMinimize);
    ASSERT_NE(min, nullptr);
    const int index = w.host->WindowIndex();
    SendControlMessage(index, min->Position(), w.hwnd, kMsgClicked, 0, 0, 1);
    EXPECT_EQ(PendingSysCommands(w.hwnd), 1);
    ShowWindow(w.hwnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(w.hwnd));
    SendControlMessage(index, min->Position(), w.hwnd, kMsgClicked, 0, 0, 1);
    EXPECT_EQ(PendingSysCommands(w.hwnd), 0);
}

TEST(CaptionButton, DisabledCloseKeepsItsPictureAndTheWindow) {
    TestWindow w("", WithCaption(), 400, 300);
    ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
    w.host->CaptionButtonCommand(kCaptionClose, 1, L"", 1);
    UiCaptionButton* close = Button(w, kCaptionClose);
    ASSERT_NE(close, nullptr);
    const std::vector<COLORREF> before = Look(w, close);
    const Box r = close->GetBounds();
    w.MouseAt(WM_MOUSEMOVE, static_cast<int>(r.left + 5), static_cast<int>(r.top + 5));
    EXPECT_EQ(Look(w, close), before);
    ClickOn(w, close);
    PumpMessages(200);
    EXPECT_TRUE(IsWindow(w.hwnd));
    EXPECT_EQ(Look(w, close), before);
}

TEST(CaptionButton, HeldPressKeepsThePressedPicture) {
    TestWindow w("", WithCaption(), 400, 300);
    ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
    UiCaptionButton* close = Button(w, kCaptionClose);
    const Box r = close->GetBounds();
    const int x = static_cast<int>(r.left + 10), y = static_cast<int>(r.top + 8);
    w.MouseAt(WM_MOUSEMOVE, x, y);
    const std::vector<COLORREF> hover = Look(w, close);
    w.MouseAt(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    const std::vector<COLORREF> pressed = Look(w, close);
    EXPECT_NE(pressed, hover);
    w.MouseAt(WM_MOUSEMOVE, x + 3, y, MK_LBUTTON);
    EXPECT_EQ(Look(w, close), pressed);
    ReleaseCapture();
}

// The message box runs its own loop; the test acts from inside it through the prepare call
// and a thread timer, as a user would once the box is up.
class BoxTest : public ::testing::Test {
protected:
    static BoxTest* current;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (current && current->during) current->during(current->box);
    }
    int Show(const std::wstring& text, MessageBoxOptions options) {
        current = this;
        options.prepare = [this](HWND hwnd, int width, int height) {
            box = hwnd;
            size = {width, height};
            SetTimer(nullptr, 0, 100, &BoxTest::Tick);
        };
        options.beep = false;
        return ShowMessageBox(owner.hwnd, text, options);
    }
    static void Key(HWND hwnd, WPARAM vk) {
        PostMessageW(hwnd, WM_KEYDOWN, vk, 0);
        PostMessageW(hwnd, WM_KEYUP, vk, 0);
    }
    UiWindow* Host() const { return HostAt(FindWindowIndex(box)); }
    // Lefts of the box's buttons, position 1 first.
    std::vector<int> ButtonLefts() const {
        std::vector<int> lefts;
        for (const ControlRecord& r : Host()->Entry()->controls)
            if (r.kind == 2) lefts.push_back(static_cast<int>(r.bounds.left));
        return lefts;
    }

    TestWindow owner{"", [] {
                         AttachOptions o;
                         o.themeColor = 0x20A040;
                         o.captionFlags = 0;
                         return o;
                     }()};
    HWND box = nullptr;
    SIZE size{};
    std::function<void(HWND)> during;
};
BoxTest* BoxTest::current = nullptr;

TEST_F(BoxTest, KeysGiveTheButtonCodes) {
    struct Case {
        int type;
        std::vector<WPARAM> keys;
        int result;
    };
    const Case cases[] = {
        {kBoxOk, {VK_RETURN}, kResultOk},
        {kBoxYesNo, {VK_RETURN}, kResultNo},
        {kBoxYesNo, {VK_TAB, VK_SPACE}, kResultYes},
        {kBoxYesNo, {VK_ESCAPE}, kResultCancel},
        {kBoxYesNoCancel, {VK_TAB, VK_TAB, VK_RETURN}, kResultYes},
        {kBoxYesNoCancel, {VK_TAB, VK_RETURN}, kResultNo},
        {kBoxYesNoCancel, {VK_RETURN}, kResultCancel},
        {kBoxAbortRetryIgnore, {VK_TAB, VK_TAB, VK_TAB, VK_RETURN}, kResultAbort},
        {kBoxAbortRetryIgnore, {VK_TAB, VK_TAB, VK_RETURN}, kResultIgnore},
        {kBoxRetryCancel, {VK_TAB, VK_RETURN}, kResultRetry},
        {kBoxOkCancel, {VK_TAB, VK_RETURN}, kResultOk},
    };
    for (const Case& c : cases) {
        bool ownerDisabled = false;
        during = [&](HWND hwnd) {
            ownerDisabled = !IsWindowEnabled(owner.hwnd);
            for (WPARAM k : c.keys) Key(hwnd, k);
        };
        MessageBoxOptions o;
        o.type = c.type;
        EXPECT_EQ(Show(L"按键", o), c.result) << "type " << c.type << " keys " << c.keys.size();
        EXPECT_TRUE(ownerDisabled) << "the owner takes no input while the box is open";
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
        EXPECT_FALSE(IsWindow(box));
    }
}

TEST_F(BoxTest, ExitQuestionLayoutAndIcon) {
    std::vector<int> lefts;
    std::vector<std::wstring> captions;
    int iconProperty = -1;
    during = [&](HWND hwnd) {
        lefts = ButtonLefts();
        iconProperty = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, L"msg_wnd")));
        Key(hwnd, VK_RETURN);
    };
    MessageBoxOptions o;
    o.type = kBoxYesNo;
    o.icon = kIconQuestion;
    o.title = L"退出";
    EXPECT_EQ(Show(L"确认退出吗？", o), kResultNo);
    EXPECT_EQ(size.cx, 320);
    EXPECT_EQ(size.cy, 150);
    EXPECT_EQ(lefts, (std::vector<int>{320 - 83, 320 - 158})) << "是 (position 2) left of 否";
    EXPECT_EQ(iconProperty, kIconQuestion);
}

TEST_F(BoxTest, LongTextWidensTheCentredBoxAndButtonsFollow) {
    RECT placed{};
    std::vector<int> lefts;
    during = [&](HWND hwnd) {
        GetWindowRect(hwnd, &placed);
        lefts = ButtonLefts();
        Key(hwnd, VK_ESCAPE);
    };
    MessageBoxOptions o;
    o.type = kBoxOkCancel;
    Show(std::wstring(80, L'长'), o);
    const int width = placed.right - placed.left;
    EXPECT_GT(width, 320);
    EXPECT_EQ(size.cx, width);
    EXPECT_NEAR(placed.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, 1);
    ASSERT_EQ(lefts.size(), 2u);
    EXPECT_EQ(lefts[0], width - 83);
    EXPECT_EQ(lefts[1], width - 158);
}

TEST_F(BoxTest, UnknownTypeHasNoButtonsAndOnlyTheCloseButtonEndsIt) {
    bool aliveAfterEsc = false;
    during = [&](HWND hwnd) {
        EXPECT_TRUE(ButtonLefts().empty());
        SendMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessages(50);
        aliveAfterEsc = IsWindow(hwnd) != FALSE;
        for (const auto& b : Host()->CaptionButtons())
            if (b->ButtonType() == kCaptionClose) {
                const Box r = b->GetBounds();
                const LPARAM at = MAKELPARAM(static_cast<int>(r.left + 10), static_cast<int>(r.top + 8));
                SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
                SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
                SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
            }
    };
    MessageBoxOptions o;
    o.type = 9;
    EXPECT_EQ(Show(L"没有按钮", o), kResultCancel);
    EXPECT_TRUE(aliveAfterEsc);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}

TEST_F(BoxTest, SkinComesFromAToolkitOwnerOnly) {
    ColorRef colour = 0;
    during = [&](HWND hwnd) {
        colour = Host()->ThemeColor();
        Key(hwnd, VK_RETURN);
    };
    Show(L"皮肤", {});
    EXPECT_EQ(colour, 0x20A040u);

    // A plain window answers 0 to both questions: the box keeps its own blue.
    HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    current = this;
    MessageBoxOptions o;
    o.prepare = [this](HWND hwnd, int, int) {
        box = hwnd;
        SetTimer(nullptr, 0, 100, &BoxTest::Tick);
    };
    ShowMessageBox(plain, L"皮肤", o);
    EXPECT_EQ(colour, 0xFF8800u);
    DestroyWindow(plain);
}

TEST_F(BoxTest, QuitEndsTheLoopAndTakesTheBoxAway) {
    during = [](HWND) { PostQuitMessage(7); };
    MessageBoxOptions o;
    o.type = kBoxYesNo;
    EXPECT_EQ(Show(L"退出循环", o), kResultCancel);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is passed on";
    EXPECT_EQ(msg.wParam, 7u);
}
