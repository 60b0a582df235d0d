#include "classlib/gui/Dialogs.h"
#include "support/PumpMessages.h"
#include "support/TempFolder.h"
#include <dlgs.h>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// The file dialog of this thread, or nullptr.
HWND FindFileDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM param) -> BOOL {
            char cls[32] = {};
            GetClassNameA(wnd, cls, sizeof(cls));
            if (std::string(cls) == "#32770" && IsWindowVisible(wnd))
                *reinterpret_cast<HWND*>(param) = wnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers the next file dialog: types name into its file name box and presses OK,
// or cancels it when name is empty.
void Answer(const std::string& name, std::string* title = nullptr) {
    RunLater([name, title] {
        HWND dialog = nullptr;
        PumpUntil([&] { return (dialog = FindFileDialog()) != nullptr; });
        if (!dialog) return;
        if (title) {
            char text[128] = {};
            GetWindowTextA(dialog, text, sizeof(text));
            *title = text;
        }
        if (name.empty()) return (void)PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        SetDlgItemTextA(dialog, cmb13, name.c_str());
        SetDlgItemTextA(dialog, edt1, name.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

} // namespace

TEST(GuiDialogs, OpenDialogReturnsTheChosenFileOrNothing) {
    TTempFolder folder;
    std::string file = folder / "chosen.txt";
    std::ofstream(file) << "x";
    TOpenDialog dialog(nullptr);
    dialog.Title = "Select files to shred";
    dialog.Filter = "All Files *.*|*.*";
    dialog.Options |= ofFileMustExist | ofAllowMultiSelect;
    std::string title;
    Answer(file, &title);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(title, "Select files to shred");
    ASSERT_EQ(dialog.Files().size(), 1u);
    EXPECT_EQ(dialog.Files()[0], file);
    EXPECT_EQ(dialog.FileName, dialog.Files()[0]);

    Answer("");
    EXPECT_FALSE(dialog.Execute());
}

TEST(GuiDialogs, SaveDialogAddsTheDefaultExtension) {
    TTempFolder folder;
    TSaveDialog dialog(nullptr);
    dialog.DefaultExt = "mtd";
    dialog.Filter = "Wipe method files|*.mtd";
    dialog.InitialDir = folder.Path();
    Answer(folder / "method");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, folder / "method.mtd");
}
