#pragma once
#include "shell/WindowBase.h"

class EditorWindow;

// The player half of the program. EditorWindow is owned by it and follows it.
class MainWindow : public WindowBase<MainWindow> {
public:
    static constexpr int kDesignLeft = 50;
    static constexpr int kDesignTop = 50;
    static constexpr int kDesignWidth = 680;
    static constexpr int kDesignHeight = 440;

    explicit MainWindow(EditorWindow& editor) : editor_(editor) {}
    bool Create();

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // Puts EditorWindow and the edge controls where the current size wants them.
    void ApplyResizeRules();

private:
    friend class WindowBase<MainWindow>;

    bool OnCreate();
    bool OnCloseQuery();
    void OnMoved();
    void OnActivated();
    void OnDeactivated();

    EditorWindow& editor_;
};
