// Prints how long the transcript's heavy operations take on a real rich-edit control:
// a lecture scan of a three-hour transcript, and opening and saving a 5 MB RTF file.
// Run with: tests/bench/run.sh tests/bench/editor/editor_bench.sh
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/SafeWrite.h"
#include "editor/TranscriptEditor.h"
#include "hotkeys/MarkerScan.h"
#include "shell/Win32Util.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::u16string U16(const std::wstring& s) { return {s.begin(), s.end()}; }

}  // namespace

int main(int argc, char** argv) {
    // "rtf" as the argument: only the file figures.
    const bool filesOnly = argc > 1 && std::string(argv[1]) == "rtf";
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 700, 320, nullptr, nullptr, nullptr, nullptr);
    TranscriptEditor editor;
    if (!host || !editor.Create(host)) return 1;
    CharFormat typing;  // the program's typing format
    typing.size = 15;
    editor.SetDefaultFormat(typing);

    // Three hours of transcript, 2,000 markers about 5.4 s apart over 20,000 lines, laid out
    // three ways: every line its own paragraph; 2,000 paragraphs that wrap into about ten
    // lines each; and 20,000 paragraphs of which every tenth wraps.
    const std::wstring sentence = L"老师说到这里，我们来看下一个问题，这一行是转写的正文。";
    auto marker = [](int k) {
        const int s = k * 54 / 10;
        wchar_t m[32];
        swprintf(m, 32, L"【%02d:%02d】", s / 60, s % 60);
        return std::wstring(m);
    };
    struct Layout {
        const char* name;
        int paragraphs;
        int sentencesPerParagraph;  // a sentence is about one line
        int markerEvery;
        int longEvery;  // paragraphs that get ten sentences instead
    };
    std::vector<Layout> layouts{Layout{"short paragraphs, the marked ones wrap", 20000, 1, 10, 0},
                                Layout{"long paragraphs", 2000, 10, 1, 0},
                                Layout{"every tenth paragraph wraps", 18200, 1, 10, 10}};
    if (filesOnly) layouts.clear();
    for (const Layout& layout : layouts) {
        std::wstring text;
        for (int p = 0, k = 0; p < layout.paragraphs; ++p) {
            if (p % layout.markerEvery == 0) text += marker(k++);
            const int n = layout.longEvery && p % layout.longEvery == 0 ? 10 : layout.sentencesPerParagraph;
            for (int i = 0; i < n; ++i) text += sentence;
            if (p + 1 < layout.paragraphs) text += L"\r\n";
        }
        editor.LoadContent(ToGbk(text), ContentFormat::PlainText);
        editor.FinishLoading();
        const double t0 = Now();
        const std::u16string visible = U16(editor.VisibleText());
        const int lines = editor.LineCount();
        const size_t paragraphs = static_cast<size_t>(std::count(visible.begin(), visible.end(), u'\r')) + 1;
        LineLookup lineOf = ParagraphLines(visible);
        if (paragraphs != static_cast<size_t>(lines)) {
            lineOf = [&](const std::vector<size_t>& indices) {
                std::vector<int> out;
                for (size_t i : indices) out.push_back(editor.LineOfChar(static_cast<int>(i)));
                return out;
            };
        }
        LectureMarkerList markers(visible);
        const double started = Now() - t0;
        const double t1 = Now();
        for (size_t i = 0; i < markers.size(); ++i) markers.Line(i, lineOf);
        const double placed = Now() - t1;
        std::printf("lecture scan, %s: %zu paragraphs, %d lines, %zu markers: start %.3f s; lines of all markers "
                    "%.3f s (%.2f ms a marker, asked as playback reaches each)\n",
                    layout.name, paragraphs, lines, markers.size(), started, placed,
                    markers.size() ? placed * 1000 / markers.size() : 0.0);
        std::fflush(stdout);
    }

    // A 5 MB RTF as the control writes one: GBK text as \'xx escapes, paragraphs, a bold
    // word and a marker now and then.
    std::string big = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0\\fs30 ";
    std::string line;
    for (unsigned char c : ToGbk(L"老师说到这里，我们来看下一个问题，这一行是转写的正文。")) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", c);
        line += hex;
    }
    for (int i = 0; big.size() < 5u * 1024 * 1024; ++i) {
        if (i % 10 == 0) big += "{\\b \\'a1\\'be12:34\\'a1\\'bf}";
        big += line + "\\par\r\n";
    }
    big += "}";
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"tandrel-bench.rtf";
    WriteFileSafely(path, big);

    // Opened over the three-hour transcript still in the editor, then once more over itself.
    double t0 = Now();
    const std::string data = ReadWholeFile(path);
    const bool loaded = editor.LoadContent(data, ContentFormat::Rtf);
    const double open = Now() - t0;
    t0 = Now();
    editor.LoadContent(data, ContentFormat::Rtf);
    const double reopen = Now() - t0;
    t0 = Now();
    editor.Clear();
    const double emptied = Now() - t0;
    std::printf("open the 5 MB RTF over itself: %.3f s; new document over it: %.3f s\n", reopen, emptied);
    editor.LoadContent(data, ContentFormat::Rtf);
    t0 = Now();
    std::string out;
    editor.ReadContent(out);
    const bool saved = WriteFileSafely(path, out) == SafeWriteResult::Written;
    const double save = Now() - t0;
    std::fflush(stdout);
    std::printf("open %.1f MB RTF: %.3f s (%s); save %.1f MB: %.3f s (%s)\n", data.size() / 1048576.0, open,
                loaded ? "loaded" : "refused", out.size() / 1048576.0, save, saved ? "written" : "failed");
    DeleteFileW(path.c_str());

    // 50 MB of plain text: the first piece shows at once, the rest follows in pieces.
    std::string huge;
    const std::string gbkLine = ToGbk(L"老师说到这里，我们来看下一个问题，这一行是转写的正文。\r\n");
    while (huge.size() < 50u * 1024 * 1024) huge += gbkLine;
    t0 = Now();
    const bool started = editor.LoadContent(huge, ContentFormat::PlainText);
    const double shown = Now() - t0;
    t0 = Now();
    editor.FinishLoading();
    const double rest = Now() - t0;
    t0 = Now();
    editor.Clear();
    const double cleared = Now() - t0;
    std::printf("open %.0f MB text: first piece shown %.3f s (%s), the rest %.1f s; new document %.3f s\n",
                huge.size() / 1048576.0, shown, started ? "loading" : "refused", rest, cleared);
    DestroyWindow(host);
    return 0;
}
