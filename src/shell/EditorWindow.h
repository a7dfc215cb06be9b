#pragma once
#include "editor/TranscriptEditor.h"
#include "shell/WindowBase.h"

// The editor half: a top-level window owned by MainWindow, laid over its lower part.
class EditorWindow : public WindowBase<EditorWindow> {
public:
    static constexpr int kDesignWidth = 660;
    static constexpr int kDesignHeight = 308;

    bool Create(HWND owner, int left, int top);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    TranscriptEditor& Editor() { return editor_; }

private:
    bool OnCreate();
    void OnActivate(bool active);

    TranscriptEditor editor_;
};
