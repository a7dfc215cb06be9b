#pragma once
// Small floating panels inside EditorWindow (the format panel, the date/time picker): plain
// child windows whose controls' notifications go on to EditorWindow.
#include <windows.h>

HWND CreatePanel(HWND parent, int left, int top, int width, int height, int id);

// Dragging this control with the left button drags its panel, as if by a caption.
void MakePanelHandle(HWND control);

HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 int id);
