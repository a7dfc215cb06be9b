#pragma once
#include <functional>
#include <string>

#include "editor/DateTimePicker.h"
#include "editor/FormatPanel.h"
#include "editor/TranscriptEditor.h"
#include "shell/WindowBase.h"

// The editor half: a top-level window owned by MainWindow, laid over its lower part.
class EditorWindow : public WindowBase<EditorWindow> {
public:
    static constexpr int kDesignWidth = 660;
    static constexpr int kDesignHeight = 308;

    // The current-time label's text, which the time marker stamps; set before Create.
    void SetPositionSource(std::function<std::wstring()> source) { positionSource_ = std::move(source); }

    bool Create(HWND owner, int left, int top);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    TranscriptEditor& Editor() { return editor_; }
    FormatPanel& Format() { return format_; }

private:
    bool OnCreate();
    void OnActivate(bool active);
    void OnCommand(int id, int code, HWND control);
    LRESULT OnNotify(const NMHDR& header);

    TranscriptEditor editor_;
    FormatPanel format_;
    DateTimePicker picker_;
    std::function<std::wstring()> positionSource_;
};
