#include "classlib/gui/Dialogs.h"
#include "classlib/gui/Timer.h"
#include "support/PumpMessages.h"
#include "support/TempFolder.h"
#include <dlgs.h>
#include <fstream>
#include <functional>
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

// Runs act on the first visible dialog of this thread, from the dialog's own modal
// loop, once the dialog is up.
void WhenDialogShows(std::function<void(HWND)> act) {
    auto timer = new TTimer(Application);
    timer->SetInterval(10);
    timer->SetOnTimer([timer, act](TObject*) {
        HWND dialog = FindFileDialog();
        if (!dialog) return;
        timer->SetEnabled(false);
        act(dialog);
    });
}

// Answers the next file dialog: types name into its file name box and presses OK,
// or cancels it when name is empty.
void Answer(const std::string& name, std::string* title = nullptr) {
    WhenDialogShows([name, title](HWND dialog) {
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

TEST(GuiDialogs, FolderDialogStartsAtTheGivenFolder) {
    TTempFolder folder;
    std::string start = folder.Path().substr(0, folder.Path().size() - 1);
    Answer(""); // cancelled
    EXPECT_EQ(BrowseForFolder("Select Directory", start), "");
    WhenDialogShows([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(BrowseForFolder("Select Directory", start), start);
}
