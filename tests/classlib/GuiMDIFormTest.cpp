// MDI forms: an MDI form's window holds a real "MDIClient" window, its MDI child forms
// live in it as WS_EX_MDICHILD windows made and destroyed by that client, and the
// client's own commands (activate, tile, cascade, maximize) act on them.
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/WindowText.h"
#include "support/PumpMessages.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

class MDIForms : public testing::Test {
protected:
    void SetUp() override {
        Frame = std::make_unique<TForm>(Application);
        Frame->SetFormStyle(fsMDIForm);
        Frame->SetBounds(100, 100, 600, 450);
        Frame->Show();
    }
    TForm* Child(const std::string& caption, int x) {
        auto child = new TForm(Frame.get());
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(x, 10, 200, 150);
        child->SetCaption(caption);
        child->Show();
        return child;
    }
    std::unique_ptr<TForm> Frame;
};

RECT ParentRect(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST_F(MDIForms, ChildrenLiveInTheClientAndFollowItsCommands) {
    HWND client = Frame->ClientHandle();
    ASSERT_TRUE(client);
    EXPECT_EQ(GetParent(client), Frame->Handle());
    EXPECT_EQ(LowerCase(GetClassNameStr(client)), "mdiclient");
    // The client fills the frame's client area, also after a resize.
    Frame->SetBounds(100, 100, 640, 480);
    RECT frameClient, clientRect;
    GetClientRect(Frame->Handle(), &frameClient);
    GetWindowRect(client, &clientRect);
    EXPECT_EQ(clientRect.right - clientRect.left, frameClient.right);
    EXPECT_EQ(clientRect.bottom - clientRect.top, frameClient.bottom);

    TForm* one = Child("One", 10);
    TForm* two = Child("Two", 250);
    for (TForm* child : {one, two}) {
        EXPECT_EQ(GetParent(child->Handle()), client);
        EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
        EXPECT_TRUE(IsWindowVisible(child->Handle()));
        EXPECT_EQ(GetWindowTextStr(child->Handle()), child == one ? "One" : "Two");
    }
    EXPECT_EQ(Frame->ActiveMDIChild(), two);
    one->Show();
    EXPECT_EQ(Frame->ActiveMDIChild(), one);

    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one->Handle()), 0);
    EXPECT_TRUE(IsZoomed(one->Handle()));
    EXPECT_EQ(one->WindowState(), wsMaximized);
    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(one->Handle()), 0);
    EXPECT_FALSE(IsZoomed(one->Handle()));

    Frame->Tile();
    const RECT a = ParentRect(one->Handle()), b = ParentRect(two->Handle());
    RECT overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << "tiled children side by side";
    Frame->Cascade();
    const RECT c = ParentRect(one->Handle()), d = ParentRect(two->Handle());
    EXPECT_NE(c.left, d.left);
    EXPECT_NE(c.top, d.top);

    // Closing a child frees it; the client then has the other one active.
    HWND oneWnd = one->Handle();
    SendMessageW(oneWnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(oneWnd); }));
    EXPECT_EQ(Frame->ActiveMDIChild(), two);
    EXPECT_EQ(Frame->ComponentCount(), 1);
}

TEST_F(MDIForms, AChildWithoutAnMDIFormToLiveInIsRefused) {
    TForm orphan(nullptr);
    orphan.SetFormStyle(fsMDIChild);
    EXPECT_THROW(orphan.Handle(), EInvalidOperation);
    // A frame turned back into a plain form loses its client window.
    Frame->SetFormStyle(fsNormal);
    EXPECT_FALSE(Frame->ClientHandle());
    EXPECT_FALSE(FindWindowExW(Frame->Handle(), nullptr, L"MDIClient", nullptr));
}
