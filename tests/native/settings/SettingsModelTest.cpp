#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "shell/SettingsModel.h"

namespace {

// data.xml exactly as a fresh start writes it; GBK: 真 D5E6, 黑体 BADA CCE5, 宋体 CBCE CCE5.
const std::string kDefaultFile =
    "<?xml version=\"1.0\" encoding=\"gb18030\"?>"
    "\r\n<QVN_LY>"
    "\r\n\t<Tab>\xD5\xE6</Tab>"
    "\r\n\t<Shift>\xD5\xE6</Shift>"
    "\r\n\t<UI_Color>4016474</UI_Color>"
    "\r\n\t<UI_Touming>100</UI_Touming>"
    "\r\n\t<Color>"
    "\r\n\t\t<Color1>255</Color1>"
    "\r\n\t\t<Color2>0</Color2>"
    "\r\n\t\t<Color3/>"
    "\r\n\t\t<Color4/>"
    "\r\n\t\t<Color5/>"
    "\r\n\t\t<Color6/>"
    "\r\n\t</Color>"
    "\r\n\t<Font>"
    "\r\n\t\t<Font1>\xBA\xDA\xCC\xE5</Font1>"
    "\r\n\t\t<Font2>\xCB\xCE\xCC\xE5</Font2>"
    "\r\n\t\t<Font3/>"
    "\r\n\t\t<Font4/>"
    "\r\n\t\t<Font5/>"
    "\r\n\t</Font>"
    "\r\n</QVN_LY>";

const std::string kColors =
    "<Color><Color1>255</Color1><Color2>0</Color2><Color3/><Color4/><Color5/><Color6/></Color>";
const std::string kFonts = "<Font><Font1/><Font2/><Font3/><Font4/><Font5/></Font>";
const std::string kScalars = "<Tab>\xD5\xE6</Tab><Shift>\xD5\xE6</Shift><UI_Color>1</UI_Color><UI_Touming>2</UI_Touming>";

std::string Root(const std::string& children) { return "<QVN_LY>" + children + "</QVN_LY>"; }

// Whether LoadSettings keeps a stored file rather than writing the defaults over it.
bool Kept(const std::string& bytes) {
    XmlDocument doc;
    return doc.LoadBytes(bytes) && settings::HasSettingsShape(doc);
}

TEST(SettingsFile, DefaultsAreWrittenByteForByte) {
    EXPECT_EQ(settings::DefaultDocument().Serialize(), kDefaultFile);
    // and that layout reads back to the same document
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(kDefaultFile));
    EXPECT_TRUE(settings::HasSettingsShape(doc));
    EXPECT_EQ(doc.Serialize(), kDefaultFile);

    const settings::Values v = settings::ReadValues(doc);
    EXPECT_TRUE(v.tabKeyEnabled);
    EXPECT_TRUE(v.shiftKeysEnabled);
    EXPECT_EQ(v.interfaceColour, 90 | 73 << 8 | 61 << 16);
    EXPECT_EQ(v.transparency, 100);
    EXPECT_EQ(v.colorPresets, (std::array<std::string, 6>{"255", "0", "", "", "", ""}));
    EXPECT_EQ(v.fontPresets, (std::array<std::string, 5>{"\xBA\xDA\xCC\xE5", "\xCB\xCE\xCC\xE5", "", "", ""}));
}

TEST(SettingsFile, BadStoredFilesAreNotKept) {
    std::string big = "<QVN_LY>" + kScalars + kColors + kFonts;
    while (big.size() < 10'000'000) big += "<Tab>\xD5\xE6</Tab>";
    big += "</QVN_LY>";
    std::string deep;
    for (int i = 0; i < 200'000; ++i) deep += "<QVN_LY>";
    std::string garbage(4096, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 2654435761u) >> 13);

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"seventh root child", Root(kScalars + kColors + kFonts + "<Extra/>")},
        {"missing Color6", Root(kScalars + "<Color><Color1/><Color2/><Color3/><Color4/><Color5/></Color>" + kFonts)},
        {"Color6 renamed", Root(kScalars + "<Color><Color1/><Color2/><Color3/><Color4/><Color5/><Color7/></Color>" + kFonts)},
        {"sixth font", Root(kScalars + kColors + "<Font><Font1/><Font2/><Font3/><Font4/><Font5/><Font6/></Font>")},
        {"Font twice, Color missing", Root(kScalars + kFonts + kFonts)},
        {"Color1 twice, Color6 missing",
         Root(kScalars + "<Color><Color1/><Color1/><Color2/><Color3/><Color4/><Color5/></Color>" + kFonts)},
        {"wrong root name", "<QVN>" + kScalars + kColors + kFonts + "</QVN>"},
        {"root name in another case", "<qvn_ly>" + kScalars + kColors + kFonts + "</qvn_ly>"},
        {"empty file", ""},
        {"binary garbage", garbage},
        {"unclosed tags", "<QVN_LY>" + kScalars + kColors + "<Font><Font1>"},
        {"10 MB file", big},
        {"deeply nested", deep + "</QVN_LY>"},
    };
    for (const auto& c : cases) EXPECT_FALSE(Kept(c.bytes)) << c.what;
}

TEST(SettingsFile, ChildrenInAnotherOrderAreKeptWithTheirValues) {
    const std::string reordered = Root(
        "<Font><Font5>e</Font5><Font4/><Font3/><Font2/><Font1>a</Font1></Font>"
        "<UI_Touming>55.9</UI_Touming><Color><Color6>6</Color6><Color5/><Color4/><Color3/><Color2/><Color1>1</Color1>"
        "</Color><Shift>\xBC\xD9</Shift><UI_Color>12abc</UI_Color><Tab>1</Tab>");
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(reordered));
    ASSERT_TRUE(settings::HasSettingsShape(doc));
    const settings::Values v = settings::ReadValues(doc);
    EXPECT_FALSE(v.tabKeyEnabled);  // "1" is not "真"
    EXPECT_FALSE(v.shiftKeysEnabled);
    EXPECT_EQ(v.interfaceColour, 12);
    EXPECT_EQ(v.transparency, 55);
    EXPECT_EQ(v.colorPresets[0], "1");
    EXPECT_EQ(v.colorPresets[5], "6");
    EXPECT_EQ(v.fontPresets[0], "a");
    EXPECT_EQ(v.fontPresets[4], "e");
}

TEST(SettingsFile, SavedValuesReadBack) {
    XmlDocument doc = settings::DefaultDocument();
    settings::Values v = settings::ReadValues(doc);
    v.tabKeyEnabled = false;
    v.colorPresets[2] = "-1";
    v.fontPresets[2] = "A<&\"B>'";
    v.fontPresets[0] = "";
    settings::WriteWindowValues(doc, v);
    settings::WriteAppearance(doc, 0x00FF8040, -3);

    const std::string bytes = doc.Serialize();
    EXPECT_NE(bytes.find("\r\n\t<Tab>\xBC\xD9</Tab>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n\t\t<Font1/>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("<UI_Color>16744512</UI_Color>"), std::string::npos);

    XmlDocument back;
    ASSERT_TRUE(back.LoadBytes(bytes));
    ASSERT_TRUE(settings::HasSettingsShape(back));
    const settings::Values r = settings::ReadValues(back);
    EXPECT_FALSE(r.tabKeyEnabled);
    EXPECT_TRUE(r.shiftKeysEnabled);
    EXPECT_EQ(r.interfaceColour, 0x00FF8040);
    EXPECT_EQ(r.transparency, -3);
    EXPECT_EQ(r.colorPresets, v.colorPresets);
    EXPECT_EQ(r.fontPresets, v.fontPresets);
}

TEST(SettingsConversions, TextsToValues) {
    const struct {
        const char* text;
        int number;
    } numbers[] = {
        {"4016474", 4016474}, {"3.9", 3},       {"-5", -5},   {"+8", 8},         {"12abc", 12},
        {"  7", 7},           {"abc", 0},       {"", 0},      {"-", 0},          {".5", 0},
        {"1e3", 1},           {"0x10", 0},      {"007", 7},   {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},     {"-2147483648", INT_MIN},         {"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : numbers) EXPECT_EQ(settings::TextToInt(c.text), c.number) << c.text;
    for (int n : {0, 255, -1, INT_MAX, INT_MIN}) EXPECT_EQ(settings::TextToInt(settings::IntToText(n)), n);

    EXPECT_TRUE(settings::TextToBool("\xD5\xE6"));
    for (const char* no : {"\xBC\xD9", "1", "true", "", " \xD5\xE6", "\xD5\xE6 ", "\xE7\x9C\x9F" /* UTF-8 */})
        EXPECT_FALSE(settings::TextToBool(no)) << no;
    EXPECT_TRUE(settings::TextToBool(settings::BoolToText(true)));
    EXPECT_FALSE(settings::TextToBool(settings::BoolToText(false)));
}

}  // namespace
