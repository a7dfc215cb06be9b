// Mouse and keyboard routing of a host window.
#include <gtest/gtest.h>

#include "TestControls.h"
#include "toolkit/controls/UiCaptionButton.h"

using namespace ui;
using testing_ui::BoxControl;
using testing_ui::TestWindow;

namespace {

// A host whose drags and size loops are recorded instead of started.
struct RoutedWindow : TestWindow {
    std::vector<std::pair<UINT, WPARAM>> system;
    std::vector<std::string> events;

    explicit RoutedWindow(AttachOptions o = Defaults()) : TestWindow("", o) {
        UiWindowCallbacks& cb = host->Callbacks();
        cb.messageHook = [this](HWND, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
            if (msg == WM_NCLBUTTONDOWN || msg == WM_SYSCOMMAND) {
                system.emplace_back(msg, wp);
                return 0;
            }
            return kContinue;
        };
        auto record = [this](const char* what) {
            return [this, what](HWND, int id, UiControl*, int) { events.push_back(what + std::to_string(id)); };
        };
        cb.onControlClick = record("click");
        cb.onControlDoubleClick = record("double");
        cb.onControlEnter = record("enter");
        cb.onControlLeave = record("leave");
        cb.onFocusGained = record("gain");
        cb.onFocusLost = record("lost");
    }
    static AttachOptions Defaults() {
        AttachOptions o;
        o.themeColor = 0x808080;
        o.captionFlags = 0;
        o.controlFading = 0;
        return o;
    }
    size_t Drags() const {
        size_t n = 0;
        for (auto& [msg, wp] : system) n += msg == WM_NCLBUTTONDOWN && wp == HTCAPTION;
        return n;
    }
};

void SetKey(int vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST(Input, ClickIsPressAndReleaseOnTheSameControl) {
    RoutedWindow w;
    BoxControl a, b;
    a.Create(w.hwnd, {100, 100, 50, 50});
    b.Create(w.hwnd, {200, 100, 50, 50});
    w.MouseAt(WM_LBUTTONDOWN, 110, 110);
    EXPECT_TRUE(w.host->MouseCaptured());
    // While captured, other controls see nothing of the mouse.
    w.MouseAt(WM_MOUSEMOVE, 210, 110);
    EXPECT_EQ(b.Count(WM_MOUSEMOVE), 0u);
    EXPECT_EQ(a.Count(WM_MOUSEMOVE), 1u);
    w.MouseAt(WM_LBUTTONUP, 210, 110);
    EXPECT_EQ(a.Count(kMsgClicked), 0u);
    EXPECT_EQ(b.Count(kMsgClicked), 0u);
    EXPECT_FALSE(w.host->MouseCaptured());

    w.events.clear();
    w.Click(120, 120);
    EXPECT_EQ(a.Count(kMsgClicked), 1u);
    EXPECT_EQ(w.events, (std::vector<std::string>{"gain1", "click1"}));
    EXPECT_EQ(w.Drags(), 0u);
}

TEST(Input, DoubleClickSequence) {
    RoutedWindow w;
    BoxControl a;
    a.Create(w.hwnd, {100, 100, 50, 50});
    const LPARAM at = MAKELPARAM(110, 110);
    w.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    w.Send(WM_LBUTTONUP, 0, at);
    w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    w.Send(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(a.Messages(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, kMsgClicked, WM_LBUTTONDOWN,
                                               WM_LBUTTONDBLCLK, WM_LBUTTONUP, kMsgClicked}));
    const auto second = std::find_if(a.log.begin(), a.log.end(), [](auto& d) { return d.msg == WM_LBUTTONDBLCLK; });
    ASSERT_NE(second, a.log.end());
    EXPECT_EQ(second->wp, static_cast<WPARAM>(kSynthesized));
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "double1"), 1);
}

TEST(Input, PressesThatDragTheWindow) {
    RoutedWindow w;
    BoxControl label, disabled, button;
    label.Create(w.hwnd, {100, 100, 50, 50}, 3, 0);
    disabled.Create(w.hwnd, {200, 100, 50, 50});
    disabled.Disabled(1);
    button.Create(w.hwnd, {300, 100, 50, 50});
    const POINT drags[] = {{110, 110}, {210, 110}, {400, 300}};
    for (POINT p : drags) {
        w.system.clear();
        w.MouseAt(WM_LBUTTONDOWN, p.x, p.y);
        w.MouseAt(WM_LBUTTONUP, p.x, p.y);
        EXPECT_EQ(w.Drags(), 1u) << p.x;
    }
    EXPECT_EQ(disabled.Count(kMsgClicked), 0u);
    w.system.clear();
    w.Click(310, 110);
    EXPECT_EQ(w.Drags(), 0u);

    AttachOptions fixed = RoutedWindow::Defaults();
    fixed.dragFlags = 1;
    RoutedWindow still(fixed);
    still.MouseAt(WM_LBUTTONDOWN, 400, 300);
    EXPECT_EQ(still.Drags(), 0u);

    // A double-click high on an empty spot toggles maximise only with a maximise button.
    AttachOptions caption = RoutedWindow::Defaults();
    caption.captionFlags = kCaptionMaximize;
    RoutedWindow top(caption);
    top.Send(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, 20));
    top.Send(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, 60));
    MSG msg;
    int toggles = 0;
    while (PeekMessageW(&msg, top.hwnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) toggles += msg.wParam == SC_MAXIMIZE;
    EXPECT_EQ(toggles, 1);
}

TEST(Input, BorderBandsStartSizing) {
    RoutedWindow w;
    struct Case {
        int x, y;
        WPARAM command;
    } cases[] = {{7, 200, SC_SIZE + 1}, {8, 200, 0}, {680 - 10, 200, 0}, {680 - 9, 200, SC_SIZE + 2},
                 {3, 3, SC_SIZE + 4},   {300, 435, SC_SIZE + 6}};
    for (const Case& c : cases) {
        w.system.clear();
        w.MouseAt(WM_LBUTTONDOWN, c.x, c.y);
        WPARAM seen = 0;
        for (auto& [msg, wp] : w.system)
            if (msg == WM_SYSCOMMAND) seen = wp;
        EXPECT_EQ(seen, c.command) << c.x << "," << c.y;
        w.MouseAt(WM_LBUTTONUP, c.x, c.y);
    }
    AttachOptions o = RoutedWindow::Defaults();
    o.fixedSize = true;
    RoutedWindow fixed(o);
    fixed.MouseAt(WM_LBUTTONDOWN, 3, 200);
    for (auto& [msg, wp] : fixed.system) EXPECT_NE(msg, static_cast<UINT>(WM_SYSCOMMAND));
}

TEST(Input, TabCyclesFocusOverEligibleControls) {
    AttachOptions o = RoutedWindow::Defaults();
    o.captionFlags = kCaptionIcon | kCaptionClose;
    RoutedWindow w(o);
    BoxControl a, label, disabled, hidden, b;
    a.Create(w.hwnd, {100, 100, 20, 20});
    label.Create(w.hwnd, {130, 100, 20, 20}, 3, 0);
    disabled.Create(w.hwnd, {160, 100, 20, 20});
    disabled.Disabled(1);
    hidden.Create(w.hwnd, {190, 100, 20, 20}, 2, 1, 0);
    b.Create(w.hwnd, {220, 100, 20, 20});
    const int expected[] = {a.Position(), b.Position(), a.Position()};
    for (int position : expected) {
        w.Send(WM_KEYUP, VK_TAB, 0);
        EXPECT_EQ(w.host->FocusedPosition(), position);
        EXPECT_TRUE(w.host->FocusFrameShown());
    }
    EXPECT_EQ(a.Count(WM_KEYUP), 0u);
    // Enter clicks the focused control.
    w.Send(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(a.Count(kMsgClicked), 1u);

    // Nothing eligible: one round and the focus stays as it was.
    RoutedWindow empty;
    BoxControl only;
    only.Create(empty.hwnd, {10, 10, 10, 10}, 3, 0);
    empty.Send(WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(empty.host->FocusedPosition(), 0);
}

TEST(Input, KeysForTextBoxesTabsAndAccessKeys) {
    RoutedWindow w;
    BoxControl edit, tabs, button, hiddenButton;
    edit.Create(w.hwnd, {10, 100, 50, 20}, kKindTextBox);
    tabs.Create(w.hwnd, {70, 100, 50, 20}, kKindTabbed);
    button.Create(w.hwnd, {130, 100, 50, 20});
    hiddenButton.Create(w.hwnd, {190, 100, 50, 20}, 2, 1, 0);

    w.host->FocusControl(edit.GetId());
    SetKey(VK_CONTROL, true);
    w.Send(WM_KEYDOWN, 'C', 0);
    ASSERT_EQ(edit.Messages(), (std::vector<UINT>{WM_CHAR, WM_KEYDOWN}));
    EXPECT_EQ(edit.log.back().wp, static_cast<WPARAM>('C'));
    EXPECT_EQ(edit.log[edit.log.size() - 2].lp, kSynthesized);

    w.host->FocusControl(tabs.GetId());
    w.Send(WM_KEYDOWN, VK_TAB, 0);
    w.Send(WM_KEYUP, VK_TAB, 0);
    SetKey(VK_CONTROL, false);
    EXPECT_EQ(tabs.Messages(), (std::vector<UINT>{kMsgCtrlTab, WM_KEYDOWN}));
    EXPECT_TRUE(tabs.HasFocus());

    // Access keys: case does not matter, hidden controls are passed over.
    EXPECT_EQ(w.Send(kMsgSetAccessKey, hiddenButton.GetId(), 'A'), 1);
    EXPECT_EQ(w.Send(kMsgSetAccessKey, button.GetId(), 'A'), 1);
    w.Send(WM_SYSKEYDOWN, 'a', 0);
    EXPECT_EQ(button.Count(kMsgClicked), 1u);
    EXPECT_EQ(hiddenButton.Count(kMsgClicked), 0u);
    w.Send(kMsgSetAccessKey, button.GetId(), 0);
    w.Send(WM_SYSKEYDOWN, 'A', 0);
    EXPECT_EQ(button.Count(kMsgClicked), 1u);
}

TEST(Input, WheelGoesToTheControlUnderTheScreenPoint) {
    RoutedWindow w;
    BoxControl a, b;
    a.Create(w.hwnd, {100, 100, 50, 50});
    b.Create(w.hwnd, {200, 100, 50, 50});
    const WPARAM down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    auto wheel = [&](int screenX, int screenY) { w.Send(WM_MOUSEWHEEL, down, MAKELPARAM(screenX, screenY)); };
    // The wheel carries screen coordinates: wherever the window sits, even partly off the
    // screen to the left and top, the point is found in the window.
    const POINT places[] = {{40, 40}, {300, 200}, {-200, -30}};
    size_t expected = 0;
    for (const POINT& at : places) {
        SetWindowPos(w.hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        wheel(at.x + 110, at.y + 110);
        ++expected;
        EXPECT_EQ(a.Count(WM_MOUSEWHEEL), expected) << at.x << "," << at.y;
        EXPECT_EQ(b.Count(WM_MOUSEWHEEL), 0u);
        wheel(at.x + 400, at.y + 300);
        EXPECT_EQ(a.Count(WM_MOUSEWHEEL), expected);
    }
    ASSERT_FALSE(a.log.empty());
    const auto& last = a.log.back();
    EXPECT_EQ(last.wp, down);
    EXPECT_EQ(last.mode, 0);
    // A hidden control takes no turn of the wheel.
    b.Visible(0);
    wheel(-200 + 210, -30 + 110);
    EXPECT_EQ(b.Count(WM_MOUSEWHEEL), 0u);
}

TEST(Input, BorderBandsShowResizeCursors) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    struct Case {
        int x, y;
        const wchar_t* cursor;
    } cases[] = {{3, 200, IDC_SIZEWE},  {676, 200, IDC_SIZEWE},   {300, 3, IDC_SIZENS},   {300, 436, IDC_SIZENS},
                 {3, 3, IDC_SIZENWSE},  {676, 436, IDC_SIZENWSE}, {676, 3, IDC_SIZENESW}, {3, 436, IDC_SIZENESW},
                 {300, 200, IDC_ARROW}, {8, 200, IDC_ARROW}};
    RoutedWindow w;
    for (const Case& c : cases) {
        SetCursor(arrow);
        w.MouseAt(WM_MOUSEMOVE, c.x, c.y);
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.cursor)) << c.x << "," << c.y;
    }
    // A control pressed near the edge keeps the mouse: dragging across the band is no resize.
    BoxControl edge;
    edge.Create(w.hwnd, {12, 100, 40, 40});
    w.MouseAt(WM_LBUTTONDOWN, 20, 120);
    SetCursor(arrow);
    w.MouseAt(WM_MOUSEMOVE, 3, 120, MK_LBUTTON);
    EXPECT_EQ(GetCursor(), arrow);
    w.MouseAt(WM_LBUTTONUP, 3, 120);

    AttachOptions o = RoutedWindow::Defaults();
    o.fixedSize = true;
    RoutedWindow fixed(o);
    SetCursor(arrow);
    fixed.MouseAt(WM_MOUSEMOVE, 3, 3);
    EXPECT_EQ(GetCursor(), arrow);
}

namespace {
struct Tool {
    bool found = false;
    std::wstring text;
    RECT rect{};
};
Tool ToolOf(HWND tip, HWND host, int id) {
    wchar_t text[256] = {};
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = host;
    ti.uId = static_cast<UINT_PTR>(id);
    ti.lpszText = text;
    Tool t;
    t.found = SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    t.rect = ti.rect;
    ti.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    t.text = text;
    return t;
}
int ToolCount(HWND tip) { return static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0)); }
bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
}  // namespace

TEST(Input, TipsFollowTheirControls) {
    AttachOptions o = RoutedWindow::Defaults();
    o.captionFlags = kCaptionClose;
    RoutedWindow w(o);
    const HWND tip = w.host->TooltipWindow();
    ASSERT_NE(tip, nullptr);
    BoxControl a, quiet;
    a.Create(w.hwnd, {100, 100, 50, 50});
    quiet.Create(w.hwnd, {200, 100, 50, 50});
    a.TipText(L"播放");
    const int before = ToolCount(tip);
    // The tool is made when the mouse first comes over its control, not before.
    w.MouseAt(WM_MOUSEMOVE, 120, 120);
    ASSERT_EQ(ToolCount(tip), before + 1);
    Tool t = ToolOf(tip, w.hwnd, a.GetId());
    ASSERT_TRUE(t.found);
    EXPECT_EQ(t.text, L"播放");
    EXPECT_TRUE(SameRect(t.rect, {100, 100, 150, 150}));
    // A control without a tip registers nothing.
    w.MouseAt(WM_MOUSEMOVE, 220, 120);
    EXPECT_EQ(ToolCount(tip), before + 1);
    // The tool answers only over its control, wherever that goes, and with its new text.
    a.Move(300.0f, 250.0f);
    EXPECT_TRUE(SameRect(ToolOf(tip, w.hwnd, a.GetId()).rect, {300, 250, 350, 300}));
    a.TipText(L"暂停", true);
    EXPECT_EQ(ToolOf(tip, w.hwnd, a.GetId()).text, L"暂停");
    EXPECT_EQ(ToolCount(tip), before + 1);

    // Caption buttons take their tips through the host.
    const auto& buttons = w.host->CaptionButtons();
    ASSERT_EQ(buttons.size(), 1u);
    w.host->CaptionButtonCommand(kCaptionClose, 2, L"关闭", 0);
    const Box b = buttons[0]->GetBounds();
    w.MouseAt(WM_MOUSEMOVE, static_cast<int>(b.left + b.width / 2), static_cast<int>(b.top + b.height / 2));
    EXPECT_EQ(ToolOf(tip, w.hwnd, buttons[0]->GetId()).text, L"关闭");

    // A removed control's tool goes with it, or its tip would pop up over an empty place.
    const int id = a.GetId();
    const int count = ToolCount(tip);
    a.Destroy();
    EXPECT_EQ(ToolCount(tip), count - 1);
    EXPECT_FALSE(ToolOf(tip, w.hwnd, id).found);
}
