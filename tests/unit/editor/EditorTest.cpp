// The transcript control and the document file rules, on a real rich-edit control.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "editor/EditingRules.h"
#include "editor/SafeWrite.h"
#include "editor/TranscriptEditor.h"
#include "shell/Win32Util.h"

namespace {

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 700, 400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(host_);
        ASSERT_TRUE(editor_.Create(host_));
    }
    void TearDown() override { DestroyWindow(host_); }

    std::string Read(ContentFormat f) {
        editor_.SetFormat(f);
        std::string out;
        EXPECT_TRUE(editor_.ReadContent(out));
        return out;
    }

    HWND host_ = nullptr;
    TranscriptEditor editor_;
};

TEST_F(EditorFixture, PlainTextIsGbkWithCrLfAndNothingAdded) {
    ASSERT_EQ(GetACP(), 936u) << "the tests need code page 936";
    const std::string gbk = ToGbk(L"abc【12:34】\r\n━━第二行");
    ASSERT_TRUE(editor_.LoadContent(gbk, ContentFormat::PlainText));
    EXPECT_EQ(Read(ContentFormat::PlainText), gbk);
    EXPECT_EQ(editor_.VisibleText(), L"abc【12:34】\r━━第二行");
}

// The control takes text in buffers of a few kilobytes: characters and CR LF pairs that
// straddle a buffer's end come through whole.
TEST_F(EditorFixture, TextLongerThanOneBufferReadsBackExactly) {
    std::string oddStart = "a";  // every even boundary falls inside a character
    while (oddStart.size() < 64 * 1024) oddStart += ToGbk(L"中文【12:34】\r\n");
    std::string crAtEdges;
    while (crAtEdges.size() < 64 * 1024) crAtEdges += std::string(4094, 'x') + "\r\n";
    for (const std::string& text : {oddStart, crAtEdges}) {
        ASSERT_TRUE(editor_.LoadContent(text, ContentFormat::PlainText));
        EXPECT_TRUE(Read(ContentFormat::PlainText) == text) << text.size();
    }
}

TEST_F(EditorFixture, RtfEndsWithTheClosingBraceAndReadsBack) {
    ASSERT_TRUE(editor_.LoadContent(ToGbk(L"第一行\r\nline two"), ContentFormat::PlainText));
    const std::string rtf = Read(ContentFormat::Rtf);
    ASSERT_FALSE(rtf.empty());
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(rtf.back(), '}');
    editor_.Clear();
    ASSERT_TRUE(editor_.LoadContent(rtf, ContentFormat::Rtf));
    EXPECT_EQ(editor_.VisibleText(), L"第一行\rline two");
}

TEST_F(EditorFixture, HostileInputLeavesAUsableEditor) {
    std::string binary(64 * 1024, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 2654435761u) >> 13);
    editor_.LoadContent(binary, ContentFormat::Rtf);
    auto nested = [](int depth) {
        std::string rtf = "{\\rtf1 ";
        for (int i = 1; i < depth; ++i) rtf += "{\\b ";
        rtf += "deep";
        for (int i = 0; i < depth; ++i) rtf += "}";
        return rtf;
    };
    EXPECT_FALSE(editor_.LoadContent(nested(20000), ContentFormat::Rtf));
    // As deep as a document may go still loads.
    EXPECT_FALSE(editor_.LoadContent(nested(kDeepestRtfNesting + 1), ContentFormat::Rtf));
    EXPECT_TRUE(editor_.LoadContent(nested(kDeepestRtfNesting), ContentFormat::Rtf));
    EXPECT_EQ(editor_.VisibleText(), L"deep");
    // Still an editor: it takes text and gives it back.
    ASSERT_TRUE(editor_.LoadContent("after", ContentFormat::PlainText));
    EXPECT_EQ(Read(ContentFormat::PlainText), "after");
}

TEST_F(EditorFixture, FormatRecordRoundTrips) {
    ASSERT_TRUE(editor_.LoadContent("some text", ContentFormat::PlainText));
    editor_.SelectAll();
    CharFormat f;
    f.face = L"Arial";
    f.size = 20;
    f.effects = 1 | 4;
    f.colour = 0x00FF0000u;
    editor_.SetSelectionFormat(f);
    const CharFormat back = editor_.SelectionFormat();
    EXPECT_EQ(back.face, L"Arial");
    EXPECT_EQ(back.size, 20);
    EXPECT_EQ(back.effects, 1 | 4);
    EXPECT_EQ(back.colour, 0x00FF0000u);
    f.colour = 0xFF000000u;
    editor_.SetSelectionFormat(f);
    EXPECT_EQ(editor_.SelectionFormat().colour, 0xFF000000u);
}

// Loading puts a fresh control in the old one's place; everything about the place carries over.
TEST_F(EditorFixture, ALoadedDocumentKeepsThePlaceFocusAndTypingFormat) {
    CharFormat typing;
    typing.size = 15;
    editor_.SetDefaultFormat(typing);
    editor_.Resize(500, 200);
    ShowWindow(host_, SW_SHOWNA);
    SetFocus(editor_.Handle());
    const bool focused = GetFocus() == editor_.Handle();
    HWND before = editor_.Handle();
    ASSERT_TRUE(editor_.LoadContent("plain words", ContentFormat::PlainText));
    EXPECT_NE(editor_.Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(GetDlgItem(host_, TranscriptEditor::kControlId), editor_.Handle());
    RECT r{};
    GetWindowRect(editor_.Handle(), &r);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, TranscriptEditor::kDesignLeft);
    EXPECT_EQ(r.top, TranscriptEditor::kDesignTop);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 200);
    EXPECT_TRUE(IsWindowVisible(editor_.Handle()));
    if (focused) {
        EXPECT_EQ(GetFocus(), editor_.Handle());
    }
    EXPECT_FALSE(SendMessageW(editor_.Handle(), EM_CANUNDO, 0, 0)) << "an undo would empty the document";
    editor_.SelectAll();
    EXPECT_EQ(editor_.SelectionFormat().size, 15);
    // A load the control refuses leaves the document and the control as they were.
    HWND loaded = editor_.Handle();
    EXPECT_FALSE(editor_.LoadContent(std::string(40, '{'), ContentFormat::Rtf));
    EXPECT_EQ(editor_.Handle(), loaded);
    EXPECT_EQ(Read(ContentFormat::PlainText), "plain words");
    editor_.Clear();
    EXPECT_EQ(Read(ContentFormat::PlainText), "");
    EXPECT_TRUE(IsWindowVisible(editor_.Handle()));
}

void PumpWhile(const std::function<bool()>& busy, DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    while (busy() && GetTickCount() < until) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(1);
    }
}

// Long plain text arrives in pieces while the program goes on; what it reads is always whole.
TEST_F(EditorFixture, LongTextArrivesInPiecesAndWhole) {
    std::string lines;
    while (lines.size() < 3 * TranscriptEditor::kLoadPiece) lines += ToGbk(L"第一行 line 【01:02】\r\n");
    ASSERT_TRUE(editor_.LoadContent(lines, ContentFormat::PlainText));
    EXPECT_TRUE(editor_.Loading());
    EXPECT_TRUE(GetWindowLongPtrW(editor_.Handle(), GWL_STYLE) & ES_READONLY);
    PumpWhile([&] { return editor_.Loading(); }, 60000);
    EXPECT_FALSE(editor_.Loading());
    EXPECT_FALSE(GetWindowLongPtrW(editor_.Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(SendMessageW(editor_.Handle(), EM_CANUNDO, 0, 0)) << "an undo would take a piece out";
    EXPECT_TRUE(Read(ContentFormat::PlainText) == lines);

    // Reading the content while pieces are still to come gives all of it.
    ASSERT_TRUE(editor_.LoadContent(lines, ContentFormat::PlainText));
    ASSERT_TRUE(editor_.Loading());
    EXPECT_TRUE(Read(ContentFormat::PlainText) == lines);
    EXPECT_FALSE(editor_.Loading());

    // A new document while pieces are still to come: none of them arrive later.
    ASSERT_TRUE(editor_.LoadContent(lines, ContentFormat::PlainText));
    editor_.Clear();
    EXPECT_FALSE(editor_.Loading());
    PumpWhile([] { return true; }, 200);
    EXPECT_EQ(Read(ContentFormat::PlainText), "");
}

// The safe write: the old file survives every failure.
class SafeWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        path_ = std::wstring(dir) + L"tandrel-safe-write-" + std::to_wstring(GetCurrentProcessId()) + L".rtf";
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }

    void Put(const std::string& bytes) {
        UniqueHandle f(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD n = 0;
        WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    }
    std::string Get() { return ReadWholeFile(path_); }
    bool Exists() { return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    int StrayFiles() {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((path_ + L"~*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return 0;
        int n = 1;
        while (FindNextFileW(h, &found)) ++n;
        FindClose(h);
        return n;
    }

    std::wstring path_;
};

TEST_F(SafeWriteTest, ReplacesWholeAndLeavesNoTemporaryFile) {
    Put("old transcript, rather longer than the new one");
    EXPECT_EQ(WriteFileSafely(path_, "new"), SafeWriteResult::Written);
    EXPECT_EQ(Get(), "new");
    EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(SafeWriteTest, AWriteFailingHalfwayKeepsTheOldFile) {
    const ChunkWriter failsHalfway = [](HANDLE file, std::string_view bytes) {
        WriteAllBytes(file, bytes.substr(0, bytes.size() / 2));
        return false;
    };
    Put("old transcript");
    EXPECT_EQ(WriteFileSafely(path_, "a new transcript", failsHalfway), SafeWriteResult::WriteFailed);
    EXPECT_EQ(Get(), "old transcript");
    EXPECT_EQ(StrayFiles(), 0);
    // Where there was no file, a failed write leaves none.
    DeleteFileW(path_.c_str());
    EXPECT_EQ(WriteFileSafely(path_, "a new transcript", failsHalfway), SafeWriteResult::WriteFailed);
    EXPECT_FALSE(Exists());
}

TEST_F(SafeWriteTest, AFileHeldWithoutSharingCannotBeOpened) {
    Put("old transcript");
    UniqueHandle held(CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.Valid());
    EXPECT_EQ(WriteFileSafely(path_, "new"), SafeWriteResult::OpenFailed);
    held.Reset();
    EXPECT_EQ(Get(), "old transcript");
    EXPECT_EQ(WriteFileSafely(path_ + L"\\no\\such\\folder.rtf", "new"), SafeWriteResult::OpenFailed);
}

TEST_F(SafeWriteTest, AReaderSharingTheFileDoesNotStopTheSave) {
    Put("old transcript");
    UniqueHandle reader(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader.Valid());
    EXPECT_EQ(WriteFileSafely(path_, "new"), SafeWriteResult::Written);
    reader.Reset();
    EXPECT_EQ(Get(), "new");
}

}  // namespace
