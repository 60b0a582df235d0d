#include "classlib/gui/Application.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Screen.h"
#include "classlib/gui/Timer.h"
#include "support/PumpMessages.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TfDialog : public TForm {
public:
    explicit TfDialog(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsDialog);
        SetPosition(poScreenCenter);
        SetBounds(0, 0, 240, 120);
        SetCaption("Dialog");
        btnOK = new TButton(this);
        btnOK->SetParent(this);
        btnOK->SetBounds(20, 60, 75, 25);
        btnOK->SetCaption("&OK");
        btnOK->SetModalResult(mrOk);
        btnOK->SetDefault(true);
        btnCancel = new TButton(this);
        btnCancel->SetParent(this);
        btnCancel->SetBounds(120, 60, 75, 25);
        btnCancel->SetCaption("&Cancel");
        btnCancel->SetModalResult(mrCancel);
        btnCancel->SetCancel(true);
    }
    TButton* btnOK;
    TButton* btnCancel;
};

HWND FindOwnedDialog(HWND owner) {
    struct TFind {
        HWND Owner, Found;
    } find{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM param) -> BOOL {
            auto f = reinterpret_cast<TFind*>(param);
            char cls[32] = {};
            GetClassNameA(wnd, cls, sizeof(cls));
            if (std::string(cls) == "#32770" && GetWindow(wnd, GW_OWNER) == f->Owner)
                f->Found = wnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

} // namespace

TEST(GuiForms, ModalFormEndsWithAPostedCloseAfterItsCloseQuery) {
    TfDialog dialog(nullptr);
    int queries = 0;
    dialog.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    TfDialog other(nullptr);
    other.Show();
    bool otherDisabled = false;
    RunLater([&] {
        otherDisabled = !IsWindowEnabled(other.Handle());
        PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0); // refused by the first close query
        PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    other.Hide();
}

TEST(GuiForms, ButtonsEndAModalFormWithTheirModalResult) {
    TfDialog dialog(nullptr);
    RunLater([&] { PostMessageA(dialog.btnOK->Handle(), BM_CLICK, 0, 0); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_THROW(
        {
            dialog.Show();
            dialog.ShowModal();
        },
        EInvalidOperation);
    dialog.Hide();

    // Escape reaches the Cancel button, Return the default one.
    RunLater([&] { PostMessageA(dialog.btnCancel->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    RunLater([&] { PostMessageA(dialog.Handle(), WM_KEYDOWN, VK_RETURN, 0); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    RunLater([&] { PostMessageA(dialog.btnOK->Handle(), WM_SYSCHAR, 'c', 0); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST(GuiForms, ScreenCenterAndCloseActions) {
    TfDialog dialog(nullptr);
    dialog.Show();
    RECT work = Screen->WorkArea();
    EXPECT_NEAR(dialog.Left() + dialog.Width() / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR(dialog.Top() + dialog.Height() / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(dialog.ClientWidth() + (dialog.Width() - dialog.ClientWidth()), dialog.Width());

    TCloseAction chosen = caNone;
    dialog.OnClose = [&](TObject*, TCloseAction& action) { action = chosen; };
    dialog.Close();
    EXPECT_TRUE(dialog.Visible());
    chosen = caHide;
    dialog.Close();
    EXPECT_FALSE(dialog.Visible());
}

// A form that has no size yet still gets its frame around the asked client area.
TEST(GuiForms, ClientSizeOfAnUnsizedFormAddsTheFrame) {
    for (TFormBorderStyle style : {bsDialog, bsSingle, bsSizeable}) {
        TForm form(nullptr);
        form.SetBorderStyle(style);
        form.SetClientWidth(300);
        form.SetClientHeight(200);
        EXPECT_GT(form.Width(), 300);
        EXPECT_GT(form.Height(), 200);
        form.Show();
        EXPECT_EQ(form.ClientWidth(), 300);
        EXPECT_EQ(form.ClientHeight(), 200);
        form.SetClientHeight(150); // with a window: its real frame
        EXPECT_EQ(form.ClientHeight(), 150);
    }
}

TEST(GuiForms, ShowHideActivateAndScreenOrder) {
    int before = Screen->FormCount();
    auto first = new TfDialog(Application);
    auto second = new TfDialog(Application);
    ASSERT_EQ(Screen->FormCount(), before + 2);
    EXPECT_EQ(Screen->Forms(before), first);
    EXPECT_EQ(Screen->Forms(before + 1), second);

    int shows = 0, hides = 0, activations = 0;
    first->OnShow = [&](TObject*) { ++shows; };
    first->OnHide = [&](TObject*) { ++hides; };
    first->OnActivate = [&](TObject*) { ++activations; };
    first->Show();
    EXPECT_TRUE(PumpUntil([&] { return activations > 0; }));
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(first->Active());
    EXPECT_EQ(Screen->ActiveForm(), first);
    first->Hide();
    EXPECT_EQ(hides, 1);
    first->SetWindowState(wsMaximized);
    first->Show();
    EXPECT_TRUE(IsZoomed(first->Handle()));
    EXPECT_EQ(first->WindowState(), wsMaximized);
    first->SetWindowState(wsNormal);
    EXPECT_FALSE(IsZoomed(first->Handle()));
    HWND old = first->Handle();
    first->SetBorderStyle(bsSingle); // a new window, still shown
    EXPECT_NE(first->Handle(), old);
    EXPECT_TRUE(IsWindowVisible(first->Handle()));
    first->Hide();

    delete first;
    EXPECT_EQ(Screen->FormCount(), before + 1);
    EXPECT_EQ(Screen->Forms(before), second);
    delete second;
    EXPECT_EQ(Screen->FormCount(), before);
}

// Coming back to a form from a window that is no form (another program's, a message
// box) is no activation; coming back from another form, or showing it again, is.
TEST(GuiForms, ActivationIsTheApplicationsNotTheSystems) {
    auto first = std::make_unique<TfDialog>(Application);
    auto second = std::make_unique<TfDialog>(Application);
    int activations = 0;
    first->OnActivate = [&](TObject*) { ++activations; };
    first->Show();
    ASSERT_TRUE(PumpUntil([&] { return activations == 1; }));
    auto activate = [](HWND wnd) {
        SetActiveWindow(wnd);
        return PumpUntil([&] { return GetActiveWindow() == wnd; });
    };

    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(activate(other));
    ASSERT_TRUE(activate(first->Handle()));
    EXPECT_EQ(activations, 1);
    DestroyWindow(other);

    second->Show();
    ASSERT_TRUE(activate(second->Handle()));
    ASSERT_TRUE(activate(first->Handle()));
    EXPECT_EQ(activations, 2);

    first->Hide();
    first->Show();
    EXPECT_TRUE(PumpUntil([&] { return activations == 3; }));
}

TEST(GuiApplication, RunEndsWhenTheMainFormClosesOrOnTerminate) {
    TApplication app;
    auto main = app.CreateForm<TfDialog>();
    EXPECT_EQ(app.MainForm(), main);
    app.CreateForm<TfDialog>();
    EXPECT_EQ(app.MainForm(), main);
    RunLater([&] {
        EXPECT_TRUE(main->Visible());
        main->Close();
    });
    app.Run();
    EXPECT_TRUE(app.Terminated());
    app.Run(); // returns at once once terminated

    TApplication other;
    RunLater([&] { other.Terminate(); });
    other.Run();
    EXPECT_TRUE(other.Terminated());
    EXPECT_FALSE(Application->Terminated());
}

TEST(GuiApplication, TitleAndMessageBoxOwner) {
    std::string old = Application->Title();
    Application->SetTitle("Tarnwhistle test");
    char text[64] = {};
    GetWindowTextA(Application->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "Tarnwhistle test");
    Application->SetTitle(old);

    HWND owner = nullptr;
    RunLater([&] {
        HWND box = FindOwnedDialog(GetActiveWindow() ? GetActiveWindow() : Application->Handle());
        if (!box) box = FindOwnedDialog(Application->Handle());
        owner = box ? GetWindow(box, GW_OWNER) : nullptr;
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SetActiveWindow(nullptr);
    EXPECT_EQ(Application->MessageBox("Text", "Caption", MB_OK), IDOK);
    EXPECT_NE(owner, nullptr);
}

namespace {

struct TAppHook {
    bool Proc(TMessage& m) {
        if (m.Msg != WM_USER + 30) return false;
        ++Seen;
        m.Result = 77;
        return Consume;
    }
    int Seen = 0;
    bool Consume = true;
};

} // namespace

TEST(GuiApplication, HooksSeeTheApplicationWindowsMessagesFirst) {
    TApplication app;
    TAppHook first, second;
    first.Consume = false;
    app.HookMainWindow(TWindowHook::Of<&TAppHook::Proc>(&first));
    app.HookMainWindow(TWindowHook::Of<&TAppHook::Proc>(&second));
    EXPECT_EQ(SendMessageA(app.Handle(), WM_USER + 30, 0, 0), 77);
    EXPECT_EQ(first.Seen, 1);
    EXPECT_EQ(second.Seen, 1);
    app.UnhookMainWindow(TWindowHook::Of<&TAppHook::Proc>(&second));
    SendMessageA(app.Handle(), WM_USER + 30, 0, 0);
    EXPECT_EQ(first.Seen, 2);
    EXPECT_EQ(second.Seen, 1);
}

TEST(GuiApplication, MinimizingTheMainFormMinimizesTheApplication) {
    TApplication app;
    auto main = app.CreateForm<TfDialog>();
    int minimized = 0, restored = 0;
    app.OnMinimize = [&](TObject*) { ++minimized; };
    app.OnRestore = [&](TObject*) { ++restored; };
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
    main->Show();
    EXPECT_TRUE(IsWindowVisible(app.Handle())); // for the task-bar button
    SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(app.Handle()));
    EXPECT_FALSE(IsWindowVisible(main->Handle())); // hidden with its owner
    EXPECT_EQ(minimized, 1);
    app.Restore();
    EXPECT_FALSE(IsIconic(app.Handle()));
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_EQ(restored, 1);
    main->Hide();
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
}
