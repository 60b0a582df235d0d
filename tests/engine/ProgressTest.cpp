#include "engine/Progress.h"

#include "classlib/gui/Application.h"
#include "engine/EraserFixture.h"
#include "engine/PostEraserItem.h"
#include <gtest/gtest.h>

TEST(Progress, StaysOnTopWithoutCloseButtonAndCountsOnBothBars) {
    TfProgress progress(nullptr);
    const LONG_PTR exStyle = GetWindowLongPtrA(progress.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrA(progress.Handle(), GWL_STYLE) & WS_SYSMENU);
    // Wine has no delete-file clip: its band goes and the labels move up into it.
    EXPECT_FALSE(progress.Animate->Open());
    EXPECT_FALSE(progress.Animate->Visible());
    EXPECT_EQ(progress.lblFile->Top(), progress.Animate->Top());
    EXPECT_LT(progress.ClientHeight(), 228 - 50);

    progress.SetPass(1, 4);
    EXPECT_EQ(progress.lblPass->Caption(), "Pass 1 of 4");
    progress.FileProgressBar->SetMax(1000);
    progress.PassProgressBar->SetMax(1000);
    progress.StepBy(300);
    progress.StepBy(200);
    EXPECT_EQ(progress.FileProgressBar->Position(), 500);
    EXPECT_EQ(progress.PassProgressBar->Position(), 500);
}

TEST(Progress, LongFileNamesAreShortenedToTheLabel) {
    TfProgress progress(nullptr);
    progress.SetFileName("C:\\short.txt");
    EXPECT_EQ(progress.lblFile->Caption(), "C:\\short.txt");
    const std::string folder(40, 'f');
    const std::string name = "C:\\" + folder + "\\" + folder + "\\" + folder + "\\a & b.txt";
    progress.SetFileName(name);
    const std::string shown = progress.lblFile->Caption();
    EXPECT_LT(shown.size(), name.size());
    EXPECT_NE(shown.find("\\...\\"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 10), "\\a & b.txt");
    EXPECT_LE(progress.lblFile->Canvas().TextWidth(shown), progress.lblFile->Width());
}

TEST(Progress, CancelReachesOnlyAnAssignedHandler) {
    TfProgress progress(nullptr);
    progress.Show();
    progress.btnCancel->Click(); // without a handler: nothing
    EXPECT_TRUE(progress.Visible());
    int cancels = 0;
    progress.OnCancel = [&](TObject* sender) {
        EXPECT_EQ(sender, &progress);
        ++cancels;
    };
    progress.btnCancel->Click();
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(progress.Visible());
}

namespace {
// Looks for the next-start eraser's window when the first message is dispatched,
// which happens inside its run.
struct TWindowProbe {
    TWindowProbe() {
        FWnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
        SetWindowLongPtrA(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        FOld = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        PostMessageA(FWnd, WM_APP, 0, 0);
    }
    ~TWindowProbe() { DestroyWindow(FWnd); }
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<TWindowProbe*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (msg == WM_APP) {
            HWND found = FindWindowA("TfProgress", "  Tarnwhistle - Finalize cleaning...");
            self->Seen = found && IsWindowVisible(found);
            RECT r{};
            GetWindowRect(found, &r);
            self->Height = r.bottom - r.top;
            return 0;
        }
        return CallWindowProcA(self->FOld, wnd, msg, wp, lp);
    }
    HWND FWnd;
    WNDPROC FOld;
    bool Seen = false;
    int Height = 0;
};
} // namespace

TEST(Progress, NextStartEraserShowsOnlyTheFileLine) {
    TTempFolder dir;
    TPostEraser eraser;
    for (int i = 0; i < 3; ++i) {
        eraser.Add(PostEraserItem(ptDeleteFile));
    }
    eraser.OnProcessMessages = [] { Application->ProcessMessages(); };
    TWindowProbe probe;
    eraser.Execute();
    EXPECT_TRUE(probe.Seen);
    EXPECT_EQ(probe.Height, TfProgress(nullptr).lblPass->Top());
    EXPECT_EQ(FindWindowA("TfProgress", nullptr), nullptr);
}
