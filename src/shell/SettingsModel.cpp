#include "shell/SettingsModel.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace settings {
namespace {

// GBK spellings; the source is UTF-8, so they are written as bytes.
constexpr char kTrue[] = "\xD5\xE6";            // 真
constexpr char kFalse[] = "\xBC\xD9";           // 假
constexpr char kSimHei[] = "\xBA\xDA\xCC\xE5";  // 黑体
constexpr char kSimSun[] = "\xCB\xCE\xCC\xE5";  // 宋体

constexpr std::string_view kRootChildren[] = {"Tab", "Shift", "UI_Color", "UI_Touming", "Color", "Font"};
constexpr std::string_view kColorNames[kColorPresetCount] = {"Color1", "Color2", "Color3", "Color4", "Color5", "Color6"};
constexpr std::string_view kFontNames[kFontPresetCount] = {"Font1", "Font2", "Font3", "Font4", "Font5"};

std::string ChildPath(std::string_view parent, std::string_view child) {
    std::string path(parent);
    path += '/';
    path += child;
    return path;
}

// The children at path are exactly the wanted names, each once. With a name twice another
// would be missing, and its value could then be neither read nor saved.
template <size_t N>
bool HasExactly(const XmlDocument& doc, std::string_view path, const std::string_view (&wanted)[N]) {
    std::vector<std::string> names = doc.ChildNames(path);
    if (names.size() != N) return false;
    std::sort(names.begin(), names.end());
    std::vector<std::string_view> expected(std::begin(wanted), std::end(wanted));
    std::sort(expected.begin(), expected.end());
    return std::equal(names.begin(), names.end(), expected.begin());
}

}  // namespace

XmlDocument DefaultDocument() {
    XmlDocument doc;
    doc.Create(kRootName);
    doc.AppendElement("@1", "Tab", kTrue);
    doc.AppendElement("@1", "Shift", kTrue);
    doc.AppendElement("@1", "UI_Color", "4016474");
    doc.AppendElement("@1", "UI_Touming", "100");
    doc.AppendElement("@1", "Color", "");
    doc.AppendElement("@1", "Font", "");
    constexpr const char* colours[kColorPresetCount] = {"255", "0", "", "", "", ""};
    for (int i = 0; i < kColorPresetCount; ++i) doc.AppendElement("@1/Color", kColorNames[i], colours[i]);
    constexpr const char* fonts[kFontPresetCount] = {kSimHei, kSimSun, "", "", ""};
    for (int i = 0; i < kFontPresetCount; ++i) doc.AppendElement("@1/Font", kFontNames[i], fonts[i]);
    return doc;
}

bool HasSettingsShape(const XmlDocument& doc) {
    return doc.RootName() == kRootName && HasExactly(doc, "@1", kRootChildren) &&
           HasExactly(doc, "@1/Color", kColorNames) && HasExactly(doc, "@1/Font", kFontNames);
}

Values ReadValues(const XmlDocument& doc) {
    Values v;
    v.tabKeyEnabled = TextToBool(doc.ReadText("@1/Tab"));
    v.shiftKeysEnabled = TextToBool(doc.ReadText("@1/Shift"));
    v.interfaceColour = TextToInt(doc.ReadText("@1/UI_Color"));
    v.transparency = TextToInt(doc.ReadText("@1/UI_Touming"));
    for (int i = 0; i < kColorPresetCount; ++i) v.colorPresets[i] = doc.ReadText(ChildPath("@1/Color", kColorNames[i]));
    for (int i = 0; i < kFontPresetCount; ++i) v.fontPresets[i] = doc.ReadText(ChildPath("@1/Font", kFontNames[i]));
    return v;
}

void WriteAppearance(XmlDocument& doc, int interfaceColour, int transparency) {
    doc.WriteText("@1/UI_Color", IntToText(interfaceColour));
    doc.WriteText("@1/UI_Touming", IntToText(transparency));
}

void WriteWindowValues(XmlDocument& doc, const Values& values) {
    doc.WriteText("@1/Tab", BoolToText(values.tabKeyEnabled));
    doc.WriteText("@1/Shift", BoolToText(values.shiftKeysEnabled));
    for (int i = 0; i < kColorPresetCount; ++i) doc.WriteText(ChildPath("@1/Color", kColorNames[i]), values.colorPresets[i]);
    for (int i = 0; i < kFontPresetCount; ++i) doc.WriteText(ChildPath("@1/Font", kFontNames[i]), values.fontPresets[i]);
}

bool TextToBool(std::string_view text) { return text == kTrue; }

std::string BoolToText(bool value) { return value ? kTrue : kFalse; }

int TextToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) n = -n;
    return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

std::string IntToText(int value) { return std::to_string(value); }

}  // namespace settings
