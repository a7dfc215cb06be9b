#pragma once
// How EditorWindow follows MainWindow: the two top-level windows are seen as one,
// the editor laid over the lower part of the main window.

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct EditorPlacement {
    ScreenRect window;     // EditorWindow in screen pixels
    int editorWidth = 0;   // TranscriptEditor's client size inside it
    int editorHeight = 0;
    bool operator==(const EditorPlacement&) const = default;
};

inline constexpr int kEditorOffsetX = 10;
inline constexpr int kEditorOffsetY = 120;

// EditorWindow's top-left corner for a main window at (mainLeft, mainTop).
ScreenRect EditorOrigin(int mainLeft, int mainTop);

// The full placement after a resize of the main window.
EditorPlacement EditorPlacementFor(const ScreenRect& main);
