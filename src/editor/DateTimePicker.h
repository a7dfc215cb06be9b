#pragma once
// The date/time picker: a hidden panel with the date and time of the program's start in ten
// forms; the chosen one goes into the transcript as plain text.
#include <windows.h>

class TranscriptEditor;

class DateTimePicker {
public:
    static constexpr int kPanelId = 1300, kListId = 1301, kOkId = 1302, kCancelId = 1303;

    bool Create(HWND editorWindow, TranscriptEditor* editor);
    void Show();
    void Hide();
    // WM_COMMAND of the picker's controls; false for anything else.
    bool OnCommand(int id, int code);
    HWND Panel() const { return panel_; }
    HWND List() const { return list_; }

private:
    void InsertSelected();

    HWND owner_ = nullptr;
    HWND panel_ = nullptr;
    HWND list_ = nullptr;
    TranscriptEditor* editor_ = nullptr;
};

// Ctrl+T and the format bar's button.
void ShowDateTimePicker();
