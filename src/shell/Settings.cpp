#include "shell/Settings.h"

#include "shell/ProcessState.h"
#include "shell/Win32Util.h"
#include "shell/XmlDocument.h"

namespace {

XmlDocument& SettingsDocument() {
    static XmlDocument document;
    return document;
}

// A failed write is not reported: the values stay in effect for this run.
void SaveSettingsDocument() { SettingsDocument().Save(SettingsFilePath()); }

}  // namespace

std::wstring SettingsFilePath() { return ProgramDirectory() + L"\\data.xml"; }

void LoadSettings() {
    XmlDocument& doc = SettingsDocument();
    if (!doc.Load(SettingsFilePath()) || !settings::HasSettingsShape(doc)) ResetSettingsFile();
}

void ApplySettings() {
    const settings::Values v = settings::ReadValues(SettingsDocument());
    state::TabKeyEnabled = v.tabKeyEnabled ? 1 : 0;
    state::ShiftKeysEnabled = v.shiftKeysEnabled ? 1 : 0;
    state::InterfaceColour = v.interfaceColour;
    state::Transparency = v.transparency;
    for (size_t i = 0; i < v.colorPresets.size(); ++i) state::ColorPresets[i] = FromGbk(v.colorPresets[i]);
    for (size_t i = 0; i < v.fontPresets.size(); ++i) state::FontPresets[i] = FromGbk(v.fontPresets[i]);
}

void SaveAppearanceSettings() {
    settings::WriteAppearance(SettingsDocument(), state::InterfaceColour, state::Transparency);
    SaveSettingsDocument();
}

void SaveSettingsWindowValues() {
    settings::Values v;
    v.tabKeyEnabled = state::TabKeyEnabled != 0;
    v.shiftKeysEnabled = state::ShiftKeysEnabled != 0;
    for (size_t i = 0; i < v.colorPresets.size(); ++i) v.colorPresets[i] = ToGbk(state::ColorPresets[i]);
    for (size_t i = 0; i < v.fontPresets.size(); ++i) v.fontPresets[i] = ToGbk(state::FontPresets[i]);
    settings::WriteWindowValues(SettingsDocument(), v);
    SaveSettingsDocument();
}

void ResetSettingsFile() {
    SettingsDocument() = settings::DefaultDocument();
    SaveSettingsDocument();
}
