#pragma once
#include "shell/WindowBase.h"

class AudioPlayer;
class EditorWindow;
class Player;
class StandInDisplay;
namespace ui {
class UiWindow;
}

// What the main window drives; all of it outlives the window.
struct MainWindowParts {
    EditorWindow& editor;
    AudioPlayer& audio;
    Player& player;
    StandInDisplay& display;
    ui::UiWindow& frame;  // the skinned frame drawn over the whole window
};

// The player half of the program. EditorWindow is owned by it and follows it.
class MainWindow : public WindowBase<MainWindow> {
public:
    static constexpr int kDesignLeft = 50;
    static constexpr int kDesignTop = 50;
    static constexpr int kDesignWidth = 680;
    static constexpr int kDesignHeight = 440;

    explicit MainWindow(const MainWindowParts& parts) : parts_(parts), editor_(parts.editor) {}
    bool Create();

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // Puts EditorWindow and the edge controls where the current size wants them.
    void ApplyResizeRules();

private:
    friend class WindowBase<MainWindow>;

    bool OnCreate();
    void AttachFrame();
    bool OnCloseQuery();
    void OnMoved();
    void OnActivated();
    void OnDeactivated();

    void OnOpeningDone();

    MainWindowParts parts_;
    EditorWindow& editor_;
};
