// What a skin engine leans on: a WH_CBT hook that asks, at HCBT_CREATEWND, which
// library object a new window belongs to and subclasses it there; the library's
// window procedures still work under that subclass, through a new window after a
// handle's recreation, and while windows end.
#include "classlib/gui/Application.h"
#include "classlib/gui/BitBtn.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/Memo.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/Panel.h"
#include "classlib/gui/ProgressBar.h"
#include "classlib/gui/SpeedButton.h"
#include "classlib/gui/UtilWindow.h"
#include "classlib/gui/WindowObjects.h"
#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace {

// A skin's hook: notes what the library answers for each new window and subclasses
// it; the subclass notes the messages and each window's end. A control also gets a
// procedure in its WindowProc slot there, which must see the window's creation.
class TCreationHook {
public:
    TCreationHook() {
        Current = this;
        FHook = SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId());
    }
    ~TCreationHook() {
        UnhookWindowsHookEx(FHook);
        for (auto& [wnd, seen] : Seen)
            if (!seen.Ended) RemoveWindowSubclass(wnd, Subclass, 0);
        Current = nullptr;
    }
    struct TSeen {
        TObject* Object;            // WindowObject at HCBT_CREATEWND
        TWinControl* InCreation;    // TWinControl::CreationControl there
        int Messages = 0;           // through the subclass
        bool Ended = false;         // WM_NCDESTROY passed on
        TObject* AtEnd = nullptr;   // WindowObject when WM_NCDESTROY arrived
        bool SlotSawCreate = false; // WM_CREATE through the control's WindowProc slot
    };
    std::map<HWND, TSeen> Seen;
    std::vector<HWND> EndOrder;

private:
    struct TSlot {
        TSeen* Seen;
        TWndMethod Previous;
        void Proc(TMessage& message) {
            if (message.Msg == WM_CREATE) Seen->SlotSawCreate = true;
            Previous(message);
        }
    };
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            auto wnd = reinterpret_cast<HWND>(wParam);
            TWinControl* inCreation = TWinControl::CreationControl();
            TSeen& seen = Current->Seen[wnd] = {WindowObject(wnd), inCreation};
            SetWindowSubclass(wnd, Subclass, 0, 0);
            if (inCreation) {
                auto slot = std::make_unique<TSlot>(TSlot{&seen, inCreation->WindowProc});
                inCreation->WindowProc = TWndMethod::Of<&TSlot::Proc>(slot.get());
                Current->FSlots.push_back(std::move(slot));
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Subclass(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR) {
        TSeen* seen = Current ? &Current->Seen[wnd] : nullptr;
        if (seen) ++seen->Messages;
        if (msg != WM_NCDESTROY) return DefSubclassProc(wnd, msg, wParam, lParam);
        if (seen) seen->AtEnd = WindowObject(wnd);
        LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
        RemoveWindowSubclass(wnd, Subclass, 0);
        if (seen) {
            seen->Ended = true;
            Current->EndOrder.push_back(wnd);
        }
        return result;
    }
    static inline TCreationHook* Current = nullptr;
    HHOOK FHook;
    std::vector<std::unique_ptr<TSlot>> FSlots; // outlive the controls they serve
};

class TfHooked : public TForm {
public:
    explicit TfHooked(TComponent* owner) : TForm(owner) {
        SetBounds(10, 10, 300, 200);
        Panel = new TPanel(this);
        Panel->SetParent(this);
        Panel->SetBounds(0, 0, 200, 100);
        Box = new TCheckBox(this);
        Box->SetParent(Panel);
        Box->SetBounds(8, 8, 100, 20);
        Box->SetCaption("Box");
    }
    TPanel* Panel;
    TCheckBox* Box;
};

TEST(GuiWindowObjects, ACbtHookIsToldTheObjectOfEachWindowBeforeItsFirstMessage) {
    TCreationHook hook;
    TfHooked form(nullptr);
    HWND wnd = form.Handle();
    HWND box = form.Box->Handle();
    ASSERT_TRUE(hook.Seen.count(wnd) && hook.Seen.count(box));
    EXPECT_EQ(hook.Seen[wnd].Object, &form);
    EXPECT_EQ(hook.Seen[wnd].InCreation, &form);
    EXPECT_EQ(hook.Seen[box].Object, form.Box);
    EXPECT_TRUE(hook.Seen[wnd].SlotSawCreate);
    EXPECT_TRUE(hook.Seen[box].SlotSawCreate);
    EXPECT_EQ(TWinControl::FindControl(box), form.Box);
    EXPECT_EQ(TWinControl::CreationControl(), nullptr); // nothing is being made now

    // The library's windows of other kinds, and a foreign one.
    TUtilWindow util([](TMessage&) { return false; });
    ASSERT_TRUE(hook.Seen.count(util.Handle()));
    EXPECT_EQ(hook.Seen[util.Handle()].Object, &util);
    EXPECT_EQ(WindowObject(util.Handle()), &util);
    EXPECT_EQ(WindowObject(Application->Handle()), Application);
    HWND foreign =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hook.Seen.count(foreign));
    EXPECT_EQ(hook.Seen[foreign].Object, nullptr);
    EXPECT_EQ(hook.Seen[foreign].InCreation, nullptr);
    EXPECT_EQ(TWinControl::FindControl(foreign), nullptr);
    DestroyWindow(foreign);
}

TEST(GuiWindowObjects, ControlsWorkUnderASubclassMadeAtCreationAndThroughRecreation) {
    TCreationHook hook;
    TfHooked form(nullptr);
    HWND box = form.Box->Handle();
    form.Box->SetChecked(true);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Renamed"));
    EXPECT_EQ(form.Box->Caption(), "Renamed");
    SendMessageW(box, BM_CLICK, 0, 0); // reflected back to the box through the panel
    EXPECT_FALSE(form.Box->Checked());
    EXPECT_GT(hook.Seen[box].Messages, 0);

    form.Panel->RecreateWnd(); // the panel's and the box's windows are made again
    HWND again = form.Box->HandleIfAllocated();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, box);
    EXPECT_TRUE(hook.Seen[box].Ended);
    EXPECT_EQ(hook.Seen[box].AtEnd, form.Box); // the object is still named while it ends
    EXPECT_EQ(WindowObject(box), nullptr);
    EXPECT_EQ(hook.Seen[again].Object, form.Box);
    EXPECT_EQ(TWinControl::FindControl(again), form.Box);
    EXPECT_EQ(form.Box->Caption(), "Renamed");
    SendMessageW(again, BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Box->Checked());
}

TEST(GuiWindowObjects, WindowsEndChildrenFirstWhileTheirObjectsStillAnswer) {
    TCreationHook hook;
    auto form = std::make_unique<TfHooked>(nullptr);
    HWND wnd = form->Handle(), panel = form->Panel->Handle(), box = form->Box->Handle();
    TObject *formObject = form.get(), *panelObject = form->Panel, *boxObject = form->Box;
    form.reset();
    for (HWND ended : {wnd, panel, box})
        EXPECT_TRUE(hook.Seen[ended].Ended);
    EXPECT_EQ(hook.Seen[box].AtEnd, boxObject);
    EXPECT_EQ(hook.Seen[panel].AtEnd, panelObject);
    EXPECT_EQ(hook.Seen[wnd].AtEnd, formObject);
    auto position = [&](HWND ended) {
        return std::find(hook.EndOrder.begin(), hook.EndOrder.end(), ended) - hook.EndOrder.begin();
    };
    EXPECT_LT(position(box), position(panel));
    EXPECT_LT(position(panel), position(wnd));
    EXPECT_FALSE(IsWindow(wnd));
}

// The tests a skin's control factories make: the class or one derived from it.
TEST(GuiWindowObjects, ControlsAnswerTheSkinsClassTests) {
    TForm form(nullptr);
    auto check = [&](TControl* control, std::initializer_list<const char*> classes) {
        for (const char* name : classes)
            EXPECT_TRUE(control->InheritsFrom(name)) << control->ClassName() << " " << name;
    };
    auto pages = new TPageControl(&form);
    auto sheet = new TTabSheet(&form);
    sheet->SetPageControl(pages);
    check(pages, {"TCustomTabControl"});
    check(sheet, {"TTabSheet"});
    check(new TCheckBox(&form), {"TCustomCheckBox"});
    check(new TRadioButton(&form), {"TRadioButton"});
    check(new TGroupBox(&form), {"TCustomGroupBox"});
    check(new TProgressBar(&form), {"TProgressBar"});
    check(new TComboBox(&form), {"TCustomComboBox"});
    check(new TBitBtn(&form), {"TBitBtn", "TButton"});
    check(new TSpeedButton(&form), {"TSpeedButton"});
    check(new TPanel(&form), {"TCustomPanel"});
    check(new TListView(&form), {"TCustomListView"});
    check(new TMemo(&form), {"TCustomMemo", "TCustomEdit"});
    check(new TListBox(&form), {"TCustomListBox"});
    check(new TEdit(&form), {"TCustomEdit"});
    check(new TFrame(&form), {"TCustomFrame"});
    EXPECT_TRUE(form.InheritsFrom("TCustomForm"));
    EXPECT_FALSE(TListBox(nullptr).InheritsFrom("TCustomComboBox"));
}

} // namespace
