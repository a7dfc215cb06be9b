#pragma once
// What data.xml holds and how its texts become values. Texts here are GBK bytes as they
// stand in the file; the Win32 side converts the preset texts to UTF-16.
#include <array>
#include <string>
#include <string_view>

#include "shell/XmlDocument.h"

namespace settings {

inline constexpr char kRootName[] = "QVN_LY";
inline constexpr int kColorPresetCount = 6;
inline constexpr int kFontPresetCount = 5;

struct Values {
    bool tabKeyEnabled = true;
    bool shiftKeysEnabled = true;
    int interfaceColour = 4016474;  // RGB 90, 73, 61
    int transparency = 100;         // per cent
    std::array<std::string, kColorPresetCount> colorPresets;  // decimal COLORREF, empty when not set
    std::array<std::string, kFontPresetCount> fontPresets;    // face names, empty when not set
};

// The settings file as a fresh start writes it.
XmlDocument DefaultDocument();

// Whether a parsed file has the shape every later read and save relies on: root QVN_LY with
// Tab, Shift, UI_Color, UI_Touming, Color and Font, Color with Color1..Color6, Font with
// Font1..Font5, each exactly once and in any order.
bool HasSettingsShape(const XmlDocument& doc);

Values ReadValues(const XmlDocument& doc);

// Change the elements' texts in place; the caller saves.
void WriteAppearance(XmlDocument& doc, int interfaceColour, int transparency);
void WriteWindowValues(XmlDocument& doc, const Values& values);

// The file's booleans are "真" and "假"; anything but "真" reads as false.
bool TextToBool(std::string_view text);
std::string BoolToText(bool value);
// The leading decimal number of a text (sign and blanks allowed in front, the fraction
// dropped), 0 when there is none, held to the range of int.
int TextToInt(std::string_view text);
std::string IntToText(int value);

}  // namespace settings
