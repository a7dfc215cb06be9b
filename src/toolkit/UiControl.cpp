#include "toolkit/UiControl.h"

#include <algorithm>

#include "toolkit/Registry.h"
#include "toolkit/UiWindow.h"

namespace ui {

namespace {
void StoreSize(float* field, float value) { *field = value < -kTolerance ? 0.0f : value; }

TOOLINFOW ToolInfo(HWND host, int id) {
    TOOLINFOW ti{};
    // The shorter record is understood by every version of the common controls.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = host;
    ti.uId = static_cast<UINT_PTR>(id);
    return ti;
}
}  // namespace

UiControl::~UiControl() {
    // The derived part is gone already, so the class hears nothing of this removal.
    if (IsCreated()) Remove(false);
}

void UiControl::Create(HWND parent, const Box& bounds, int kind, int visible, int takesFocus, int cursor) {
    if (id_ != 0) return;
    const int windowIndex = FindWindowIndex(parent);
    WindowEntry* entry = EntryAt(windowIndex);
    if (!entry) return;
    int id = 1;
    while (std::any_of(entry->controls.begin(), entry->controls.end(), [id](const ControlRecord& r) { return r.id == id; }))
        ++id;
    bounds_ = bounds;
    entry->controls.push_back({parent, bounds, id, this, kind, visible, takesFocus});
    windowIndex_ = windowIndex;
    id_ = id;
    active_ = 1;
    tipText_.clear();
    toolRegistered_ = false;
    cursor_ = cursor;
}

int UiControl::Position() const { return IsCreated() ? FindControlPosition(windowIndex_, id_) : 0; }

HWND UiControl::Host() const {
    UiWindow* host = HostAt(windowIndex_);
    return host ? host->Hwnd() : nullptr;
}

int UiControl::Disabled(std::optional<int> value) {
    if (value) {
        disabled_ = *value;
        Redraw();
    }
    return disabled_;
}

int UiControl::Left(std::optional<int> value) {
    if (value) Move(static_cast<float>(*value));
    return static_cast<int>(bounds_.left);
}
int UiControl::Top(std::optional<int> value) {
    if (value) Move(std::nullopt, static_cast<float>(*value));
    return static_cast<int>(bounds_.top);
}
int UiControl::Width(std::optional<int> value) {
    if (value) Move(std::nullopt, std::nullopt, static_cast<float>(*value));
    return static_cast<int>(bounds_.width);
}
int UiControl::Height(std::optional<int> value) {
    if (value) Move(std::nullopt, std::nullopt, std::nullopt, static_cast<float>(*value));
    return static_cast<int>(bounds_.height);
}

int UiControl::Visible(std::optional<int> value) {
    const int position = Position();
    ControlRecord* record = RecordAt(windowIndex_, position);
    if (!record) return 0;
    if (value) {
        if (!(*value & 1) && !(record->visible & 1)) return 0;
        record->visible = *value;
        const HWND hwnd = record->parent;
        const int windowIndex = windowIndex_;
        if (*value != 0) {
            SendControlMessage(windowIndex, position, hwnd, kMsgShown, 0, 0, 1, kDeliverForced);
            SendControlMessage(windowIndex, Position(), hwnd, WM_PAINT, 0, kPaintNormal, 1);
        } else {
            const Box former = record->bounds;
            SendControlMessage(windowIndex, position, hwnd, kMsgHidden, 0, 0, 1, kDeliverForced);
            if (UiWindow* host = HostAt(windowIndex)) host->RepaintRect(former, true);
        }
        record = RecordAt(windowIndex_, Position());
        if (!record) return 0;
    }
    return record->visible;
}

int UiControl::TakesFocus(std::optional<int> value) {
    ControlRecord* record = RecordAt(windowIndex_, Position());
    if (!record) return 0;
    if (value) record->takesFocus = *value;
    return record->takesFocus;
}

int UiControl::Cursor(std::optional<int> value) {
    if (value) cursor_ = *value;
    return cursor_;
}

int UiControl::Active(std::optional<int> value) {
    if (value) active_ = *value;
    return active_;
}

std::wstring UiControl::Text(std::optional<std::wstring> value) {
    if (value) text_ = std::move(*value);
    return text_;
}

std::wstring UiControl::TipText(std::optional<std::wstring> value, bool applyNow) {
    if (value) {
        tipText_ = std::move(*value);
        if (applyNow) SetTooltip(tipText_);
    }
    return tipText_;
}

void UiControl::Move(std::optional<float> left, std::optional<float> top, std::optional<float> width,
                     std::optional<float> height, bool repaint) {
    const Box old = bounds_;
    const int position = Position();
    ControlRecord* record = RecordAt(windowIndex_, position);
    if (!record) return;
    if (left) record->bounds.left = *left;
    if (top) record->bounds.top = *top;
    if (width) StoreSize(&record->bounds.width, *width);
    if (height) StoreSize(&record->bounds.height, *height);
    bounds_ = record->bounds;
    UiWindow* host = HostAt(windowIndex_);
    const HWND hwnd = record->parent;
    if (repaint && host && !host->PaintingSuspended() && (record->visible & 1)) {
        // Hidden for a moment so that the old place is repainted without it.
        const int visible = record->visible;
        record->visible = 0;
        host->RepaintRect(old, true);
        record = RecordAt(windowIndex_, Position());
        if (record) {
            record->visible = visible;
            SendControlMessage(windowIndex_, Position(), hwnd, WM_PAINT, 0, kPaintNormal, 1);
        }
    }
    // The tip follows the control, so that each tool answers only over its own control.
    toolRect_ = {static_cast<LONG>(bounds_.left), static_cast<LONG>(bounds_.top),
                 static_cast<LONG>(bounds_.left + bounds_.width), static_cast<LONG>(bounds_.top + bounds_.height)};
    if (toolRegistered_ && host && host->TooltipWindow()) {
        TOOLINFOW ti = ToolInfo(hwnd, id_);
        ti.rect = toolRect_;
        SendMessageW(host->TooltipWindow(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void UiControl::Redraw() {
    if (!active_ || !IsCreated()) return;
    const int position = Position();
    if (ControlRecord* record = RecordAt(windowIndex_, position))
        SendControlMessage(windowIndex_, position, record->parent, WM_PAINT, 0, kPaintNormal, 1);
}

void UiControl::Restack(bool top, bool repaint) {
    const int position = Position();
    WindowEntry* entry = EntryAt(windowIndex_);
    UiWindow* host = HostAt(windowIndex_);
    if (!position || !entry || !host) return;
    auto& list = entry->controls;
    // The host's hover, focus and press follow their controls, not their old places.
    auto idAt = [&](int p) { return p >= 1 && p <= static_cast<int>(list.size()) ? list[p - 1].id : 0; };
    const int focusedId = idAt(host->focused_), hoveredId = idAt(host->hovered_), pressedId = idAt(host->pressed_);
    const ControlRecord record = list[position - 1];
    list.erase(list.begin() + (position - 1));
    if (top) {
        list.push_back(record);
    } else {
        auto at = std::find_if(list.begin(), list.end(), [](const ControlRecord& r) { return r.kind != kKindCaptionButton; });
        list.insert(at, record);
    }
    host->focused_ = FindControlPosition(windowIndex_, focusedId);
    host->hovered_ = FindControlPosition(windowIndex_, hoveredId);
    host->pressed_ = FindControlPosition(windowIndex_, pressedId);
    if (repaint) Redraw();
}

bool UiControl::HasFocus() const {
    UiWindow* host = HostAt(windowIndex_);
    ControlRecord* record = host ? RecordAt(windowIndex_, host->FocusedPosition()) : nullptr;
    return record && IsCreated() && record->id == id_;
}

bool UiControl::Destroy() {
    if (!IsCreated()) return true;
    bounds_ = {};
    return Remove();
}

bool UiControl::Remove(bool notify) {
    const int windowIndex = windowIndex_;
    int position = Position();
    UiWindow* host = HostAt(windowIndex);
    if (!position || !host) return false;
    const HWND hwnd = host->Hwnd();
    if (host->captured_) {
        host->captured_ = 0;
        host->pressed_ = 0;
        ReleaseCapture();
    }
    if (toolRegistered_ && host->TooltipWindow()) {
        TOOLINFOW ti = ToolInfo(hwnd, id_);
        SendMessageW(host->TooltipWindow(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    toolRegistered_ = false;
    // Delivered even to a hidden or inactive control: its class releases its pictures and
    // timers here, and a timer left running would tick into whatever takes its place.
    if (notify) {
        SendControlMessage(windowIndex, position, hwnd, WM_DESTROY, 0, 0, 1, kDeliverForced);
        position = Position();
    }
    windowIndex_ = 0;
    id_ = 0;
    WindowEntry* entry = EntryAt(windowIndex);
    if (!entry || position < 1 || position > static_cast<int>(entry->controls.size())) return true;
    // Positions above the removed one move down with their controls.
    auto fix = [position](int& p) {
        if (p == position) p = 0;
        else if (p > position) --p;
    };
    fix(host->focused_);
    fix(host->hovered_);
    fix(host->pressed_);
    const Box former = entry->controls[position - 1].bounds;
    entry->controls.erase(entry->controls.begin() + (position - 1));
    host->RepaintRect(former, true);
    return true;
}

void UiControl::SetEventHandler(UINT msg, ControlEvent handler) {
    for (auto& [number, callback] : events_) {
        if (number == msg) {
            callback = std::move(handler);
            return;
        }
    }
    events_.emplace_back(msg, std::move(handler));
}

const ControlEvent* UiControl::EventHandler(UINT msg) const {
    for (const auto& [number, callback] : events_)
        if (number == msg) return callback ? &callback : nullptr;
    return nullptr;
}

void UiControl::SetTooltip(const std::wstring& text) {
    UiWindow* host = HostAt(windowIndex_);
    if (!host || !host->TooltipWindow() || !IsCreated()) return;
    const HWND tip = host->TooltipWindow();
    SendMessageW(tip, TTM_POP, 0, 0);
    if (text.empty()) return;
    TOOLINFOW ti = ToolInfo(host->Hwnd(), id_);
    if (!toolRegistered_) {
        SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        const IntBox b = Truncate(bounds_);
        ti.rect = {b.left, b.top, b.left + b.width, b.top + b.height};
        toolText_ = text;
        ti.lpszText = toolText_.data();
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 500);
        SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 1024);
        toolRegistered_ = true;
    }
    toolText_ = text;
    ti.lpszText = toolText_.data();
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace ui
