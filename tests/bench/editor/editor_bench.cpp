// Prints how long the transcript's heavy operations take on a real rich-edit control:
// one lecture scan of a three-hour transcript, and opening and saving a 5 MB RTF file.
// Run with: tests/bench/run.sh tests/bench/editor/editor_bench.sh
#include <windows.h>

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

int main() {
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 700, 320, nullptr, nullptr, nullptr, nullptr);
    TranscriptEditor editor;
    if (!host || !editor.Create(host)) return 1;

    // Three hours: 20,000 lines, a marker on every tenth, about 5.4 s apart.
    std::wstring text;
    for (int i = 0; i < 20000; ++i) {
        if (i % 10 == 0) {
            const int s = i * 54 / 100;
            wchar_t marker[32];
            swprintf(marker, 32, L"【%02d:%02d】", s / 60, s % 60);
            text += marker;
        }
        text += L"老师说到这里，我们来看下一个问题，这一行是转写的正文。";
        if (i + 1 < 20000) text += L"\r\n";
    }
    editor.LoadContent(ToGbk(text), ContentFormat::PlainText);

    double t0 = Now();
    {
        std::vector<int> starts;
        for (int i = 0, n = editor.LineCount(); i < n; ++i) starts.push_back(editor.LineStart(i));
        std::printf("line starts alone: %.3f s (editor has %d lines)\n", Now() - t0, editor.LineCount());
        std::fflush(stdout);
    }
    t0 = Now();
    const std::u16string visible = U16(editor.VisibleText());
    std::vector<std::u16string> lines;
    const int count = editor.LineCount();
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) lines.push_back(U16(editor.LineText(i)));
    const double read = Now() - t0;
    const std::vector<std::u16string_view> views(lines.begin(), lines.end());
    t0 = Now();
    const auto markers = BuildLectureMarkers(visible, views);
    const double scan = Now() - t0;
    std::printf("(line by line; lecture mode reads the lines this way only when some line is wrapped)\n");
    t0 = Now();
    {
        const std::u16string again = U16(editor.VisibleText());
        std::vector<std::u16string_view> paragraphs;
        for (size_t start = 0;;) {
            const size_t end = again.find(u'\r', start);
            paragraphs.push_back(std::u16string_view(again).substr(start, end == std::u16string::npos ? again.size() - start : end - start));
            if (end == std::u16string::npos) break;
            start = end + 1;
        }
        const auto fast = BuildLectureMarkers(again, paragraphs);
        std::printf("lecture scan, unwrapped lines: %zu lines, %zu markers, %.3f s in all\n", paragraphs.size(),
                    fast.size(), Now() - t0);
    }
    std::printf("lecture scan: %d lines, %zu markers: reading the editor %.3f s, finding the lines %.3f s, total %.3f s\n",
                count, markers.size(), read, scan, read + scan);

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

    t0 = Now();
    const std::string data = ReadWholeFile(path);
    const bool loaded = editor.LoadContent(data, ContentFormat::Rtf);
    const double open = Now() - t0;
    t0 = Now();
    std::string out;
    editor.ReadContent(out);
    const bool saved = WriteFileSafely(path, out) == SafeWriteResult::Written;
    const double save = Now() - t0;
    std::fflush(stdout);
    std::printf("open %.1f MB RTF: %.3f s (%s); save %.1f MB: %.3f s (%s)\n", data.size() / 1048576.0, open,
                loaded ? "loaded" : "refused", out.size() / 1048576.0, save, saved ? "written" : "failed");
    DeleteFileW(path.c_str());
    DestroyWindow(host);
    return 0;
}
