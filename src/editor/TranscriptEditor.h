#pragma once
#include <windows.h>

// The rich-edit control that holds the transcript.
class TranscriptEditor {
public:
    static constexpr int kDesignLeft = 6;
    static constexpr int kDesignTop = 7;
    static constexpr int kDesignWidth = 644;
    static constexpr int kDesignHeight = 293;

    bool Create(HWND parent);
    HWND Handle() const { return hwnd_; }
    void Resize(int width, int height);

private:
    HWND hwnd_ = nullptr;
};
