// The settings store against the real data.xml beside the test exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shell/ProcessState.h"
#include "shell/Settings.h"
#include "shell/SettingsModel.h"
#include "shell/Win32Util.h"

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { RemoveFiles(); }
    void TearDown() override { RemoveFiles(); }

    static void RemoveFiles() {
        for (const std::wstring& p : {SettingsFilePath(), SettingsFilePath() + L".new"}) {
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(p.c_str());
        }
    }

    static void Store(const std::string& bytes) {
        UniqueHandle file(CreateFileW(SettingsFilePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.Valid());
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        ASSERT_EQ(written, bytes.size());
    }

    static std::string Stored() { return ReadWholeFile(SettingsFilePath()); }

    // Values no file would give, so that ApplySettings visibly overwrites them.
    static void ScrambleState() {
        state::TabKeyEnabled = 7;
        state::ShiftKeysEnabled = 7;
        state::InterfaceColour = -7;
        state::Transparency = -7;
        for (auto& p : state::ColorPresets) p = L"x";
        for (auto& p : state::FontPresets) p = L"x";
    }

    static void ExpectDefaultsInEffect() {
        EXPECT_EQ(state::TabKeyEnabled, 1);
        EXPECT_EQ(state::ShiftKeysEnabled, 1);
        EXPECT_EQ(state::InterfaceColour, static_cast<int>(RGB(90, 73, 61)));
        EXPECT_EQ(state::Transparency, 100);
        EXPECT_EQ(state::ColorPresets, (std::array<std::wstring, 6>{L"255", L"0", L"", L"", L"", L""}));
        EXPECT_EQ(state::FontPresets, (std::array<std::wstring, 5>{L"黑体", L"宋体", L"", L"", L""}));
    }

    static void Start() {
        ScrambleState();
        LoadSettings();
        ApplySettings();
    }
};

TEST_F(SettingsStore, FreshStartWritesTheDefaultFileAndUsesIt) {
    Start();
    EXPECT_EQ(Stored(), settings::DefaultDocument().Serialize());
    ExpectDefaultsInEffect();
}

TEST_F(SettingsStore, BadFilesAreReplacedByTheDefaults) {
    const std::string scalars = "<Tab>假</Tab><Shift>假</Shift><UI_Color>1</UI_Color><UI_Touming>2</UI_Touming>";
    const std::string fonts = "<Font><Font1/><Font2/><Font3/><Font4/><Font5/></Font>";
    const std::string colours = "<Color><Color1/><Color2/><Color3/><Color4/><Color5/><Color6/></Color>";
    std::string big = "<QVN_LY>" + scalars + colours + fonts;
    while (big.size() < 10'000'000) big += "<Font>" + std::string(1000, 'x') + "</Font>";
    big += "</QVN_LY>";
    std::string deep;
    for (int i = 0; i < 100'000; ++i) deep += "<QVN_LY>";
    std::string garbage(65536, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 2654435761u) >> 11);

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"seventh root child", "<QVN_LY>" + scalars + colours + fonts + "<Tab/></QVN_LY>"},
        {"missing Color6", "<QVN_LY>" + scalars + "<Color><Color1/><Color2/><Color3/><Color4/><Color5/></Color>" + fonts + "</QVN_LY>"},
        {"wrong root name", "<QVN_LX>" + scalars + colours + fonts + "</QVN_LX>"},
        {"empty file", ""},
        {"binary garbage", garbage},
        {"unclosed tags", "<QVN_LY>" + scalars + colours + "<Font><Font1>"},
        {"10 MB file", big},
        {"deeply nested", deep},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Store(c.bytes);
        Start();
        EXPECT_EQ(Stored(), settings::DefaultDocument().Serialize());
        ExpectDefaultsInEffect();
    }
}

TEST_F(SettingsStore, AFileOfTheRightShapeIsKeptAsItIs) {
    const std::string file = ToGbk(
        L"<?xml version=\"1.0\"?>\n<QVN_LY><Font><Font5>楷体</Font5><Font4/><Font3/><Font2/><Font1/></Font>"
        L"<Color><Color6>65280</Color6><Color5/><Color4/><Color3/><Color2/><Color1/></Color>"
        L"<UI_Touming>80</UI_Touming><UI_Color>16711680.7</UI_Color><Shift>真</Shift><Tab>1</Tab></QVN_LY>\n");
    Store(file);
    Start();
    EXPECT_EQ(Stored(), file);
    EXPECT_EQ(state::TabKeyEnabled, 0);  // "1" is not "真"
    EXPECT_EQ(state::ShiftKeysEnabled, 1);
    EXPECT_EQ(state::InterfaceColour, 0xFF0000);
    EXPECT_EQ(state::Transparency, 80);
    EXPECT_EQ(state::ColorPresets[5], L"65280");
    EXPECT_EQ(state::ColorPresets[0], L"");
    EXPECT_EQ(state::FontPresets[4], L"楷体");
}

TEST_F(SettingsStore, SavedValuesComeBackAtTheNextStart) {
    Start();
    state::TabKeyEnabled = 0;
    state::FontPresets[2] = L"A<&\"B";
    state::FontPresets[3] = L"微软雅黑";
    state::ColorPresets[2] = L"-1";
    SaveSettingsWindowValues();
    state::InterfaceColour = static_cast<int>(RGB(1, 2, 3));
    state::Transparency = 40;
    SaveAppearanceSettings();
    EXPECT_NE(Stored().find(ToGbk(L"\t<Tab>假</Tab>\r\n")), std::string::npos);

    Start();
    EXPECT_EQ(state::TabKeyEnabled, 0);
    EXPECT_EQ(state::ShiftKeysEnabled, 1);
    EXPECT_EQ(state::FontPresets[2], L"A<&\"B");
    EXPECT_EQ(state::FontPresets[3], L"微软雅黑");
    EXPECT_EQ(state::ColorPresets[2], L"-1");
    EXPECT_EQ(state::InterfaceColour, static_cast<int>(RGB(1, 2, 3)));
    EXPECT_EQ(state::Transparency, 40);

    ResetSettingsFile();
    EXPECT_EQ(Stored(), settings::DefaultDocument().Serialize());
}

TEST_F(SettingsStore, AFailedWriteIsSilentAndTheValuesStay) {
    Start();
    const std::string before = Stored();
    ASSERT_TRUE(SetFileAttributesW(SettingsFilePath().c_str(), FILE_ATTRIBUTE_READONLY));

    state::InterfaceColour = 255;
    state::Transparency = 50;
    SaveAppearanceSettings();
    state::FontPresets[0] = L"仿宋";
    SaveSettingsWindowValues();

    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(GetFileAttributesW((SettingsFilePath() + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(state::InterfaceColour, 255);
    EXPECT_EQ(state::Transparency, 50);
    EXPECT_EQ(state::FontPresets[0], L"仿宋");
}

}  // namespace
