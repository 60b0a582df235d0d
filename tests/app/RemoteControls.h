#pragma once
// Reading and setting controls of another process whose messages carry pointers: the
// data goes through memory allocated in that process.
#include <string>
#include <vector>
#include <windows.h>

class TProgramRun;

class TRemoteMemory {
public:
    TRemoteMemory(HWND window, size_t size); // in the process of that window
    ~TRemoteMemory();
    TRemoteMemory(const TRemoteMemory&) = delete;
    TRemoteMemory& operator=(const TRemoteMemory&) = delete;
    [[nodiscard]] char* At(size_t offset = 0) const { return FAddress + offset; }
    void Write(size_t offset, const void* data, size_t size) const;
    void Read(size_t offset, void* data, size_t size) const;

private:
    HANDLE FProcess;
    char* FAddress;
};

int ListViewCount(HWND list);
std::string ListViewText(HWND list, int row, int column);
int ListViewImage(HWND list, int row); // the row's image index
// The row captions, in order.
std::vector<std::string> ListViewCaptions(HWND list);
void ListViewCheck(HWND list, int row, bool checked = true); // through its check box
bool ListViewChecked(HWND list, int row);
void ListViewSelect(HWND list, int row);

// Every child of that class below parent, in window order (the order they were made).
std::vector<HWND> Children(HWND parent, const char* className);
// Sets a control's text, in any script.
void SetText(HWND wnd, const std::string& text);
// A key pressed and let go, queued to the window.
void PressKey(HWND wnd, WPARAM key);
// A click of the mouse itself (not a queued message) at the middle of the window.
void MouseClick(HWND wnd, bool right = false);

// Types into the file dialog's name box and presses Open or Save.
void ChooseInFileDialog(HWND dialog, const std::string& text);
// Presses the button that opens the folder dialog and chooses the folder in it.
bool ChooseFolder(const TProgramRun& program, HWND button, const std::string& folder);
