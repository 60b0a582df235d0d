#include "classlib/gui/Application.h"
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Hints.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/WindowSubclass.h"
#include "support/PumpMessages.h"
#include <commctrl.h>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

// Sits in a control's WindowProc slot, records the messages and passes them on.
class TMessageSpy {
public:
    explicit TMessageSpy(TControl& control) : FControl(control), FPrevious(control.WindowProc) {
        control.WindowProc = TWndMethod::Of<&TMessageSpy::Proc>(this);
    }
    ~TMessageSpy() { Restore(); }
    bool Restore() {
        if (!(FControl.WindowProc == TWndMethod::Of<&TMessageSpy::Proc>(this))) return false;
        FControl.WindowProc = FPrevious;
        return true;
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const TMessage& m : Messages)
            n += m.Msg == msg;
        return n;
    }
    const TMessage* Last(UINT msg) const {
        for (auto it = Messages.rbegin(); it != Messages.rend(); ++it)
            if (it->Msg == msg) return &*it;
        return nullptr;
    }
    std::vector<TMessage> Messages;

private:
    void Proc(TMessage& m) {
        Messages.push_back(m);
        FPrevious(m);
    }
    TControl& FControl;
    TWndMethod FPrevious;
};

std::string WindowClassOf(HWND wnd) {
    char name[256] = {};
    GetClassNameA(wnd, name, sizeof(name));
    return name;
}

class TfRouting : public TForm {
public:
    explicit TfRouting(TComponent* owner) : TForm(owner) {
        SetBounds(10, 10, 300, 200);
        Button = new TButton(this);
        Button->SetParent(this);
        Button->SetBounds(10, 10, 75, 25);
        Button->SetCaption("&Press");
        Label = new TLabel(this);
        Label->SetParent(this);
        Label->SetBounds(100, 100, 50, 20);
        Label->SetAutoSize(false);
        Label->SetCaption("label");
    }
    TButton* Button;
    TLabel* Label;
};

LPARAM Point(int x, int y) {
    return MAKELPARAM(x, y);
}

} // namespace

TEST(GuiWindows, ClassesAreNamedAfterTheLibraryClassAndFormsOwnedByTheApplication) {
    TfRouting form(nullptr);
    HWND wnd = form.Handle();
    EXPECT_EQ(WindowClassOf(wnd), "TfRouting");
    EXPECT_EQ(WindowClassOf(form.Button->Handle()), "TButton");
    EXPECT_EQ(GetWindow(wnd, GW_OWNER), Application->Handle());
    EXPECT_EQ(WindowClassOf(Application->Handle()), "TApplication");
    char title[256] = {};
    GetWindowTextA(Application->Handle(), title, sizeof(title));
    EXPECT_EQ(title, Application->Title());
    EXPECT_FALSE(Application->Title().empty());

    EXPECT_EQ(TWinControl::FindControl(wnd), &form);
    EXPECT_EQ(GetPropW(form.Button->Handle(), MAKEINTATOM(TWinControl::ControlAtom())),
              form.Button);
    char atomName[64] = {};
    GlobalGetAtomNameA(TWinControl::ControlAtom(), atomName, sizeof(atomName));
    char threadId[16];
    snprintf(threadId, sizeof(threadId), "%.8lX", GetCurrentThreadId());
    EXPECT_EQ(std::string(atomName).rfind("ControlOfs", 0), 0u);
    EXPECT_EQ(std::string(atomName).substr(std::string(atomName).size() - 8), threadId);

    form.DestroyHandle();
    EXPECT_FALSE(form.HandleAllocated());
    EXPECT_FALSE(form.Button->HandleAllocated());
    EXPECT_EQ(form.Button->Caption(), "&Press"); // kept across the window's end
    HWND again = form.Button->Handle();          // a new window for parent and child
    EXPECT_TRUE(form.HandleAllocated());
    EXPECT_EQ(TWinControl::FindControl(again), form.Button);
}

TEST(GuiWindows, WindowProcCanBeReplacedAndRestoredInOrder) {
    TfRouting form(nullptr);
    form.Handle();
    TWndMethod original = form.WindowProc;
    auto outer = std::make_unique<TMessageSpy>(form);
    {
        TMessageSpy inner(form);
        SendMessageA(form.Handle(), WM_USER + 7, 1, 2); // through MainWndProc
        form.Perform(WM_USER + 8);
        EXPECT_EQ(inner.Count(WM_USER + 7), 1);
        EXPECT_EQ(inner.Count(WM_USER + 8), 1);
        EXPECT_EQ(outer->Count(WM_USER + 7), 1);
        EXPECT_FALSE(outer->Restore()); // not on top: must not restore
        EXPECT_TRUE(inner.Restore());
    }
    EXPECT_TRUE(outer->Restore());
    EXPECT_TRUE(form.WindowProc == original);
    size_t seen = outer->Messages.size();
    form.Perform(WM_USER + 9);
    EXPECT_EQ(outer->Messages.size(), seen);
}

TEST(GuiWindows, NotificationsAreReflectedToTheChild) {
    TfRouting form(nullptr);
    form.Handle();
    TMessageSpy spy(*form.Button);
    int clicks = 0;
    form.Button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, form.Button);
        ++clicks;
    };
    SendMessageA(form.Button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(spy.Count(CN_COMMAND), 1);
    EXPECT_EQ(HIWORD(spy.Last(CN_COMMAND)->WParam), BN_CLICKED);
    EXPECT_GE(spy.Count(CN_CTLCOLORBTN) + spy.Count(CN_CTLCOLORSTATIC), 0);
}

TEST(GuiWindows, ControlMessagesForStateChanges) {
    TfRouting form(nullptr);
    form.Handle();
    TMessageSpy button(*form.Button);
    TMessageSpy label(*form.Label);
    form.Button->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(form.Button->Handle()));
    EXPECT_EQ(button.Count(CM_ENABLEDCHANGED), 1);
    form.Button->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(form.Button->Handle()));
    ASSERT_EQ(button.Count(CM_VISIBLECHANGED), 1);
    EXPECT_EQ(button.Last(CM_VISIBLECHANGED)->WParam, 0u);
    form.Label->SetCaption("other");
    EXPECT_EQ(label.Count(CM_TEXTCHANGED), 1);
    form.Label->SetEnabled(false);
    EXPECT_EQ(label.Count(CM_ENABLEDCHANGED), 1);
}

TEST(GuiWindows, MouseEnterAndLeaveReachWindowedAndGraphicControls) {
    TfRouting form(nullptr);
    form.Show();
    TMessageSpy formSpy(form);
    TMessageSpy labelSpy(*form.Label);
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, Point(5, 150));
    EXPECT_EQ(formSpy.Count(CM_MOUSEENTER), 1);
    EXPECT_EQ(labelSpy.Count(CM_MOUSEENTER), 0);
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, Point(110, 105));
    EXPECT_EQ(labelSpy.Count(CM_MOUSEENTER), 1);
    ASSERT_EQ(labelSpy.Count(WM_MOUSEMOVE), 1);
    EXPECT_EQ(labelSpy.Last(WM_MOUSEMOVE)->LParam, Point(10, 5)); // in the label's coordinates
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, Point(5, 150));
    EXPECT_EQ(labelSpy.Count(CM_MOUSELEAVE), 1);
    SendMessageA(form.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(formSpy.Count(CM_MOUSELEAVE), 1);
    form.Hide();
}

TEST(GuiWindows, GraphicControlsArePaintedAndClickedThroughTheirParent) {
    TfRouting form(nullptr);
    form.Show();
    TMessageSpy spy(*form.Label);
    form.Repaint();
    ASSERT_GE(spy.Count(WM_PAINT), 1);
    EXPECT_NE(spy.Last(WM_PAINT)->WParam, 0u); // the parent's DC

    int clicks = 0;
    form.Label->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(105, 105));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, Point(106, 106));
    EXPECT_EQ(clicks, 1);
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(105, 105));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, Point(5, 5)); // released outside
    EXPECT_EQ(clicks, 1);
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(105, 105));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, Point(105, 105));
    SendMessageA(form.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(105, 105)); // a quick second
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, Point(105, 105));
    EXPECT_EQ(clicks, 3);
    form.Hide();
}

TEST(GuiWindows, ExceptionsInHandlersStopAtTheWindowProcedure) {
    TfRouting form(nullptr);
    form.Handle();
    std::string caught;
    Application->OnException = [&](TObject* sender, const std::string& text) {
        EXPECT_EQ(sender, &form);
        caught = text;
    };
    form.Button->OnClick = [](TObject*) { throw std::runtime_error("boom"); };
    SendMessageA(form.Button->Handle(), BM_CLICK, 0, 0);
    Application->OnException = nullptr;
    EXPECT_EQ(caught, "boom");
}

TEST(GuiWindows, ReleasedFormIsFreedAfterItsOwnMessage) {
    bool destroyed = false;
    auto form = new TfRouting(Application);
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->Button->OnClick = [&](TObject*) {
        form->Release();
        EXPECT_FALSE(destroyed);
    };
    form->Show();
    PostMessageA(form->Button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return destroyed; }));
}

TEST(GuiWindows, ProcessMessagesHandlesPostedMessages) {
    TfRouting form(nullptr);
    TMessageSpy spy(form);
    PostMessageA(form.Handle(), WM_USER + 20, 0, 0);
    PostMessageA(form.Handle(), WM_USER + 21, 0, 0);
    EXPECT_EQ(spy.Count(WM_USER + 20), 0);
    Application->ProcessMessages();
    EXPECT_EQ(spy.Count(WM_USER + 20), 1);
    EXPECT_EQ(spy.Count(WM_USER + 21), 1);
}

namespace {

struct TBareHandler {
    void Proc(TMessage& m) {
        if (m.Msg == WM_USER + 40) {
            ++Seen;
            m.Result = 5;
            return;
        }
        if (m.Msg == WM_GETTEXTLENGTH && Throw) throw std::runtime_error("bare");
        Subclass->CallPrevious(m);
    }
    TWindowSubclass* Subclass = nullptr;
    int Seen = 0;
    bool Throw = false;
};

} // namespace

TEST(GuiWindows, BareWindowsAreSubclassedBesideOtherSubclasses) {
    HWND bare = CreateWindowExA(0, "STATIC", "bare", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bare, nullptr);
    TBareHandler handler;
    {
        TWindowSubclass subclass(bare, TWndMethod::Of<&TBareHandler::Proc>(&handler));
        handler.Subclass = &subclass;
        EXPECT_EQ(SendMessageA(bare, WM_USER + 40, 0, 0), 5);
        EXPECT_EQ(handler.Seen, 1);
        EXPECT_EQ(GetWindowTextLengthA(bare), 4); // passed on
        handler.Throw = true;
        EXPECT_EQ(GetWindowTextLengthA(bare), 4); // caught, then passed on
    }
    EXPECT_EQ(SendMessageA(bare, WM_USER + 40, 0, 0), 0); // removed
    EXPECT_EQ(handler.Seen, 1);

    TWindowSubclass outlived(bare, TWndMethod::Of<&TBareHandler::Proc>(&handler));
    handler.Subclass = &outlived;
    handler.Throw = false;
    DestroyWindow(bare);
    EXPECT_EQ(outlived.Handle(), nullptr);
}

namespace {

// Frees its subclass when the window ends, then marks the freed memory.
struct TSelfFreeing {
    void Proc(TMessage& m) {
        Subclass->CallPrevious(m);
        if (m.Msg != WM_NCDESTROY) return;
        Subclass->~TWindowSubclass();
        std::memset(Memory, 0xAA, sizeof(Memory));
    }
    alignas(TWindowSubclass) unsigned char Memory[sizeof(TWindowSubclass)];
    TWindowSubclass* Subclass = nullptr;
};

} // namespace

TEST(GuiWindows, BareWindowSubclassMayBeFreedWhenItsWindowEnds) {
    HWND bare = CreateWindowExA(0, "STATIC", "bare", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bare, nullptr);
    TSelfFreeing handler;
    handler.Subclass =
        new (handler.Memory) TWindowSubclass(bare, TWndMethod::Of<&TSelfFreeing::Proc>(&handler));
    DestroyWindow(bare);
    for (unsigned char byte : handler.Memory)
        ASSERT_EQ(byte, 0xAA); // nothing written to the freed subclass
}

namespace {

// Records whether its control counted as destroying when its window ended.
struct TDestroySpy {
    void Proc(TMessage& m) {
        if (m.Msg == WM_DESTROY) DestroyingAtEnd = Control->Destroying() ? 1 : 0;
        Previous(m);
    }
    TControl* Control;
    TWndMethod Previous;
    int DestroyingAtEnd = -1;
};

} // namespace

TEST(GuiWindows, ControlsAreDestroyingWhileTheirWindowsEnd) {
    auto form = new TfRouting(nullptr);
    form->Handle();
    TDestroySpy formSpy{form, form->WindowProc};
    form->WindowProc = TWndMethod::Of<&TDestroySpy::Proc>(&formSpy);
    TDestroySpy buttonSpy{form->Button, form->Button->WindowProc};
    form->Button->WindowProc = TWndMethod::Of<&TDestroySpy::Proc>(&buttonSpy);
    EXPECT_FALSE(form->Destroying());
    delete form;
    EXPECT_EQ(formSpy.DestroyingAtEnd, 1);
    EXPECT_EQ(buttonSpy.DestroyingAtEnd, 1); // owned by the form
}

TEST(GuiWindows, HintsAreToolsOfTheTooltipWindow) {
    auto tools = [] { return SendMessageA(HintWindow(), TTM_GETTOOLCOUNT, 0, 0); };
    LRESULT before = tools();
    auto form = std::make_unique<TfRouting>(nullptr);
    form->Button->SetHint("Stop the Erasing & Cleaning process.");
    form->Button->SetShowHint(true);
    form->Label->SetShowHint(true);
    form->Label->SetHint("label hint");
    EXPECT_EQ(tools(), before); // no windows yet
    form->Handle();
    EXPECT_EQ(tools(), before + 2);
    // An "&" in a hint is shown, not taken for a mnemonic.
    EXPECT_TRUE(GetWindowLongW(HintWindow(), GWL_STYLE) & TTS_NOPREFIX);

    TTTOOLINFOA tool{};
    char text[80] = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = form->Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(form->Label);
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageA(HintWindow(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.rect.left, 100);
    form->Label->SetLeft(120);
    SendMessageA(HintWindow(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(tool.rect.left, 120);
    SendMessageA(HintWindow(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "label hint");

    form->Button->SetShowHint(false);
    EXPECT_EQ(tools(), before + 1);
    form->Label->SetVisible(false);
    EXPECT_EQ(tools(), before);
    form->Label->SetVisible(true);
    delete form->Label;
    EXPECT_EQ(tools(), before);
    form->Button->SetShowHint(true);
    form.reset();
    EXPECT_EQ(tools(), before);
}

TEST(GuiWindows, ContainersPaintIntoADeviceContextGivenInWParam) {
    TfRouting form(nullptr);
    form.SetColor(clLime);
    form.Label->SetColor(clRed);
    form.Handle();
    TMessageSpy spy(*form.Label);
    TBitmap canvas;
    canvas.SetSize(300, 200);
    HDC dc = canvas.Canvas().Handle();
    form.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    form.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    ASSERT_EQ(spy.Count(WM_PAINT), 1);
    EXPECT_EQ(spy.Last(WM_PAINT)->WParam, reinterpret_cast<WPARAM>(dc));
    GdiFlush();
    EXPECT_EQ(canvas.ScanLine(5)[5], 0x0000FF00u);     // the form's colour
    EXPECT_EQ(canvas.ScanLine(118)[148], 0x00FF0000u); // inside the label, not over its text
    EXPECT_EQ(canvas.ScanLine(121)[151], 0x0000FF00u); // just outside it

    form.SetDoubleBuffered(true);
    form.Show();
    form.Repaint();
    EXPECT_EQ(spy.Count(WM_PAINT), 2);
    form.Hide();
}
