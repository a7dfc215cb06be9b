#pragma once
// The editing commands that act on the transcript at its caret or selection. UI thread only.
#include <functional>
#include <string>

#include "hotkeys/HotKeyTable.h"

class TranscriptEditor;

// Where the time marker reads the playback position: the current-time label's text.
void BindEditingCommands(TranscriptEditor* editor, std::function<std::wstring()> positionText);

void InsertTimeMarker();
void InsertSeparator();
void ToggleEffect(int mask);
void StepFontSize(bool up);
void ApplyColorPreset(int n);  // 1..6
void ApplyFontPreset(int n);   // 1..5
void ApplyColour(unsigned colour);
void ApplyFontFace(const std::wstring& face);
void ApplyFontSize(int size);

// Puts text on the clipboard, replacing what it held, and pastes it at the caret.
void PasteThroughClipboard(const std::wstring& text);

// The document and editing entries of the hot-key table; false for any other entry.
bool RunEditorHotKey(HotKeyAction action);
