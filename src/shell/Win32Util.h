#pragma once
// Small RAII helpers and text conversions shared by the Win32 side of the program.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

inline constexpr UINT kGbkCodePage = 936;

// The system's files and ANSI controls hold GBK; the program's own text is UTF-16.
std::string ToGbk(std::wstring_view text);
std::wstring FromGbk(std::string_view text);

// Folder of the running exe, without a trailing backslash. The program keeps its files there.
std::wstring ProgramDirectory();

// Whole file as bytes; empty when it is missing or unreadable.
std::string ReadWholeFile(const std::wstring& path);

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : handle_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE h = nullptr) {
        if (Valid()) CloseHandle(handle_);
        handle_ = h;
    }

private:
    HANDLE handle_ = nullptr;
};

// Screen rectangle of a window as left, top, width, height.
struct WindowBox {
    int left = 0, top = 0, width = 0, height = 0;
};
WindowBox GetWindowBox(HWND hwnd);
