#pragma once
// The settings file data.xml beside the exe, held in memory for the whole run.
#include <array>
#include <string>

#include "shell/SettingsModel.h"

namespace state {
// The editor's preset colours (decimal COLORREF text) and fonts (face names); empty means
// not set. Entry n of the presets is index n - 1. UI thread only.
inline std::array<std::wstring, settings::kColorPresetCount> ColorPresets;
inline std::array<std::wstring, settings::kFontPresetCount> FontPresets;
}  // namespace state

// Reads data.xml; a missing, unreadable or wrongly shaped file is replaced by the defaults
// without a word. Afterwards the document is valid in memory and, unless the disk refused
// the write, on disk.
void LoadSettings();
// Copies the document's values into the process-wide values.
void ApplySettings();
// The skin window's colour and opacity into the file.
void SaveAppearanceSettings();
// The settings window's keys, colour and font presets into the file.
void SaveSettingsWindowValues();
// A fresh document with the defaults, written over the file.
void ResetSettingsFile();

// Program directory + "\data.xml".
std::wstring SettingsFilePath();
