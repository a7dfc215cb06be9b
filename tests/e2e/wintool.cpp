// A console helper for the end-to-end tests: it stays running inside the Wine prefix and
// answers one line for every command line read from stdin, so a test can look at and
// move the program's windows the way the program itself sees them.
//
//   find CLASS|* TITLE|*      first top-level window matching (UTF-8 title), hex or 0
//   list                      every visible top-level window: hwnd pid class title
//   rect HWND / client HWND   left top width height (screen) / client width height
//   move HWND X Y / size HWND W H
//   child HWND CLASS          first descendant of that class
//   dlgitem HWND ID           child with that control id
//   text HWND                 window text, UTF-8, newlines escaped
//   texts HWND                texts of all descendants, tab separated
//   visible HWND / enabled HWND / foreground
//   post HWND MSG WP LP / send HWND MSG WP LP     numbers in decimal or 0x hex
//   focus HWND                SetForegroundWindow
//   redraw HWND               repaint it and its children now
//   hold PATH / release       keep a file open with no sharing, as another program would
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    w.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return w;
}

std::string Narrow(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return s;
}

HWND ParseHwnd(const std::string& s) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(s.c_str(), nullptr, 0)));
}

long long ParseNumber(const std::string& s) { return std::strtoll(s.c_str(), nullptr, 0); }

std::string Hex(HWND h) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)));
    return buf;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

std::wstring TextOf(HWND h) {
    // The ANSI length query may answer 0 across processes; ask in wide characters.
    LRESULT len = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    // An ANSI control may count double-byte characters as one and still need room for both
    // bytes when it converts: twice the answer always fits.
    std::vector<wchar_t> buf(static_cast<size_t>(len) * 2 + 2);
    SendMessageW(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    return buf.data();
}

struct FindRequest {
    std::wstring cls, title;
    HWND found = nullptr;
};

BOOL CALLBACK FindTop(HWND h, LPARAM lp) {
    auto* req = reinterpret_cast<FindRequest*>(lp);
    if (req->cls != L"*" && ClassOf(h) != req->cls) return TRUE;
    if (req->title != L"*" && TextOf(h) != req->title) return TRUE;
    req->found = h;
    return FALSE;
}

BOOL CALLBACK ListTop(HWND h, LPARAM lp) {
    if (!IsWindowVisible(h)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    auto* out = reinterpret_cast<std::string*>(lp);
    *out += Hex(h) + " " + std::to_string(pid) + " " + Narrow(ClassOf(h)) + " " + Narrow(TextOf(h)) + "\t";
    return TRUE;
}

struct ChildRequest {
    std::wstring cls;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND h, LPARAM lp) {
    auto* req = reinterpret_cast<ChildRequest*>(lp);
    if (ClassOf(h) == req->cls) {
        req->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectTexts(HWND h, LPARAM lp) {
    auto* out = reinterpret_cast<std::wstring*>(lp);
    *out += TextOf(h) + L"\t";
    return TRUE;
}

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

std::string Run(const std::vector<std::string>& a) {
    if (a.empty()) return "error empty";
    const std::string& cmd = a[0];
    auto arg = [&](size_t i) -> const std::string& {
        static const std::string empty;
        return i < a.size() ? a[i] : empty;
    };
    if (cmd == "find") {
        FindRequest req{Widen(arg(1)), Widen(arg(2))};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&req));
        return req.found ? Hex(req.found) : "0";
    }
    if (cmd == "list") {
        std::string out;
        EnumWindows(ListTop, reinterpret_cast<LPARAM>(&out));
        return out;
    }
    if (cmd == "foreground") return Hex(GetForegroundWindow());
    static HANDLE held = INVALID_HANDLE_VALUE;
    if (cmd == "hold") {
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = CreateFileW(Widen(arg(1)).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        return held != INVALID_HANDLE_VALUE ? "ok" : "error";
    }
    if (cmd == "release") {
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        return "ok";
    }
    HWND h = ParseHwnd(arg(1));
    if (!IsWindow(h)) return "error no-window";
    if (cmd == "rect") {
        RECT r{};
        GetWindowRect(h, &r);
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
               std::to_string(r.bottom - r.top);
    }
    if (cmd == "client") {
        RECT r{};
        GetClientRect(h, &r);
        return std::to_string(r.right) + " " + std::to_string(r.bottom);
    }
    if (cmd == "move") {
        return SetWindowPos(h, nullptr, static_cast<int>(ParseNumber(arg(2))), static_cast<int>(ParseNumber(arg(3))), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? "ok" : "error";
    }
    if (cmd == "size") {
        return SetWindowPos(h, nullptr, 0, 0, static_cast<int>(ParseNumber(arg(2))), static_cast<int>(ParseNumber(arg(3))),
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) ? "ok" : "error";
    }
    if (cmd == "child") {
        ChildRequest req{Widen(arg(2))};
        EnumChildWindows(h, FindChild, reinterpret_cast<LPARAM>(&req));
        return req.found ? Hex(req.found) : "0";
    }
    if (cmd == "dlgitem") {
        HWND item = GetDlgItem(h, static_cast<int>(ParseNumber(arg(2))));
        return item ? Hex(item) : "0";
    }
    if (cmd == "text") return Escape(Narrow(TextOf(h)));
    if (cmd == "texts") {
        std::wstring all;
        EnumChildWindows(h, CollectTexts, reinterpret_cast<LPARAM>(&all));
        return Escape(Narrow(all));
    }
    if (cmd == "visible") return IsWindowVisible(h) ? "1" : "0";
    if (cmd == "enabled") return IsWindowEnabled(h) ? "1" : "0";
    if (cmd == "redraw") {
        return RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW) ? "ok"
                                                                                                           : "error";
    }
    if (cmd == "raise") {
        return SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? "ok" : "error";
    }
    if (cmd == "below") {
        return SetWindowPos(h, ParseHwnd(arg(2)), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? "ok" : "error";
    }
    if (cmd == "focus") return SetForegroundWindow(h) ? "ok" : "error";
    if (cmd == "focused") {
        // The keyboard focus of the thread that owns h.
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info)) return "error";
        return Hex(info.hwndFocus);
    }
    if (cmd == "post" || cmd == "send") {
        const UINT msg = static_cast<UINT>(ParseNumber(arg(2)));
        const WPARAM wp = static_cast<WPARAM>(ParseNumber(arg(3)));
        const LPARAM lp = static_cast<LPARAM>(ParseNumber(arg(4)));
        if (cmd == "post") return PostMessageW(h, msg, wp, lp) ? "ok" : "error";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return "error timeout";
        return std::to_string(static_cast<long long>(result));
    }
    return "error unknown-command";
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> args;
        std::istringstream in(line);
        for (std::string word; in >> word;) args.push_back(word);
        // A title may hold spaces: everything after the class is the title.
        if (args.size() > 3 && args[0] == "find") {
            std::string title = args[2];
            for (size_t i = 3; i < args.size(); ++i) title += " " + args[i];
            args.resize(2);
            args.push_back(title);
        }
        std::cout << Run(args) << std::endl;
    }
    return 0;
}
