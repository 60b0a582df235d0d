// A skinned window resized, activated, deactivated, maximized, restored, hovered over
// its close button and its frame painted a thousand times, and its caption changed a
// thousand times, holds no more GDI objects than it began with (the class library's
// own count: GetGuiResources is a stub under Wine).
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinManage.h"
#include "skin/SolidSkin.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TForm> ShownForm(int x) {
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(x, 100, 320, 240);
    form->Show();
    return form;
}

// One of the seven changes, by turn.
void Change(TForm& form, TForm& other, int i) {
    HWND wnd = form.Handle();
    RECT r;
    GetWindowRect(wnd, &r);
    const LPARAM close = MAKELPARAM(r.right - solid::Close.X + solid::ButtonWidth / 2,
                                    r.top + solid::ButtonTop + solid::ButtonHeight / 2);
    switch (i % 7) {
    case 0:
        SetWindowPos(wnd, nullptr, 0, 0, 300 + i % 40, 220 + i % 30, SWP_NOMOVE | SWP_NOZORDER);
        break;
    case 1: SetForegroundWindow(other.Handle()); break;
    case 2: SetForegroundWindow(wnd); break;
    case 3: ShowWindow(wnd, SW_MAXIMIZE); break;
    case 4: ShowWindow(wnd, SW_RESTORE); break;
    case 5: // onto the close button and off it again
        SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, close);
        SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(r.left + 150, r.top + 2));
        break;
    case 6: SendMessageW(wnd, WM_NCPAINT, 1, 0); break;
    }
    UpdateWindow(wnd);
    Application->ProcessMessages();
}

} // namespace

using SkinReliability = TPixelTest;

TEST_F(SkinReliability, AThousandChangesOfSizeStateHoverAndCaptionLeakNoGdiObject) {
    TSkinData* data = ActiveSolidSkin();
    auto form = ShownForm(100);
    auto other = ShownForm(600);
    ASSERT_TRUE(PumpUntil([&] {
        TSkinForm* a = SkinManager()->FindSkinForm(form->Handle());
        TSkinForm* b = SkinManager()->FindSkinForm(other->Handle());
        return a && b && a->Activated() && b->Activated();
    }));
    for (int i = 0; i < 14; ++i) // every object made on first use is made now
        Change(*form, *other, i);
    const long live = LiveGdiObjects;
    for (int i = 0; i < 1000; ++i)
        Change(*form, *other, i);
    for (int i = 0; i < 1000; ++i) {
        form->SetCaption("Caption " + std::to_string(i));
        Application->ProcessMessages();
    }
    EXPECT_EQ(LiveGdiObjects, live);
    EXPECT_TRUE(SkinManager()->FindSkinForm(form->Handle()));
    form.reset();
    other.reset();
    delete data;
    FreeSkinManager();
}
