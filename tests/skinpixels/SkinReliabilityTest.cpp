// A skinned window resized, activated, deactivated, maximized and restored a thousand
// times, and its caption changed a thousand times, holds no more GDI objects than it
// began with (the class library's own count: GetGuiResources is a stub under Wine).
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

// One of the five changes, by turn.
void Change(TForm& form, TForm& other, int i) {
    HWND wnd = form.Handle();
    switch (i % 5) {
    case 0:
        SetWindowPos(wnd, nullptr, 0, 0, 300 + i % 40, 220 + i % 30, SWP_NOMOVE | SWP_NOZORDER);
        break;
    case 1: SetForegroundWindow(other.Handle()); break;
    case 2: SetForegroundWindow(wnd); break;
    case 3: ShowWindow(wnd, SW_MAXIMIZE); break;
    case 4: ShowWindow(wnd, SW_RESTORE); break;
    }
    UpdateWindow(wnd);
    Application->ProcessMessages();
}

} // namespace

using SkinReliability = TPixelTest;

TEST_F(SkinReliability, AThousandChangesOfSizeStateAndCaptionLeakNoGdiObject) {
    TSkinData* data = ActiveSolidSkin();
    auto form = ShownForm(100);
    auto other = ShownForm(600);
    ASSERT_TRUE(PumpUntil([&] {
        TSkinForm* a = SkinManager()->FindSkinForm(form->Handle());
        TSkinForm* b = SkinManager()->FindSkinForm(other->Handle());
        return a && b && a->Activated() && b->Activated();
    }));
    for (int i = 0; i < 10; ++i) // every object made on first use is made now
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
