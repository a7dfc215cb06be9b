#include "shell/Layout.h"

#include <algorithm>

ScreenRect EditorOrigin(int mainLeft, int mainTop) {
    return {mainLeft + kEditorOffsetX, mainTop + kEditorOffsetY, 0, 0};
}

EditorPlacement EditorPlacementFor(const ScreenRect& main) {
    EditorPlacement p;
    p.window = EditorOrigin(main.left, main.top);
    // A main window smaller than the offsets leaves the editor empty, never negative.
    p.window.width = std::max(0, main.width - 2 * kEditorOffsetX);
    p.window.height = std::max(0, main.height - (kEditorOffsetY + kEditorOffsetX));
    // The rich-edit control keeps a 10-pixel margin inside its window.
    p.editorWidth = std::max(0, p.window.width - 10);
    p.editorHeight = std::max(0, p.window.height - 10);
    return p;
}
