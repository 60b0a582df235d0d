// Skinned controls on a shown form: each paints the frame its state selects (read back
// from the screen), works as before, and goes back to its native look when unskinned.
#include "classlib/gui/Application.h"
#include "classlib/gui/BitBtn.h"
#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/DateTimePicker.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/SpeedButton.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinButtons.h"
#include "skin/SkinData.h"
#include "skin/SkinFactory.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"
#include "skin/SkinTestSupport.h"
#include "support/PumpMessages.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One solid colour per frame: a pixel names the frame that was drawn.
const uint32_t ButtonFrames[5] = {0x101010, 0x202020, 0x303030, 0x404040, 0x505050};
const uint32_t CheckFrames[4] = {0x110000, 0x220000, 0x330000, 0x440000};
const uint32_t RadioFrames[4] = {0x001100, 0x002200, 0x003300, 0x004400};
const uint32_t ComboFrames[4] = {0x000011, 0x000022, 0x000033, 0x000044};
const char* const ControlsSkinIni = "[Colours]\nButtonFace=200 210 220\nButtonShadow=90 80 70\n"
                                    "[ComboButton]\nImage=combo.bmp\nStyle=2\n"
                                    "[Buttons]\nBitmap=button.bmp\nCheckButton=check.bmp\n"
                                    "CheckButtonFrame=4\nRadioButton=radio.bmp\n"
                                    "RadioButtonFrame=4\n";

COLORREF Rgb(uint32_t c) {
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

// The screen's pixel at a point of the window's client area, once painting is done.
COLORREF ControlPixel(HWND wnd, int x, int y) {
    UpdateWindow(wnd);
    SettleScreen(60);
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    const uint32_t c = ScreenPixel(p.x, p.y);
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

// The screen's pixel at a point of the window rectangle.
COLORREF WindowPixel(HWND wnd, int x, int y) {
    RECT r;
    GetWindowRect(wnd, &r);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    return ControlPixel(wnd, x - (origin.x - r.left), y - (origin.y - r.top));
}

// The screen's pixel at a client point once it is the expected colour (the hover
// arrives through the message loop), or what it still is after a while.
COLORREF ClientPixelSoon(HWND wnd, int x, int y, COLORREF expected) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    const uint32_t c = ScreenPixelSoon(
        p.x, p.y, (GetRValue(expected) << 16) | (GetGValue(expected) << 8) | GetBValue(expected));
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

// The caption's ink on a push button showing a face of one colour: its lines (runs of
// rows holding other colours) and whether all of it lies inside the face's 2-pixel margin.
struct TCaptionInk {
    int Lines = 0;
    bool InsideFace = true;
};

TCaptionInk CaptionInk(HWND button, uint32_t face) {
    UpdateWindow(button);
    SettleScreen(60);
    const auto shot = TScreenShot::OfWindow(button);
    TCaptionInk ink;
    bool previous = false;
    for (int y = 0; y < shot.Height(); ++y) {
        bool inked = false;
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.At(x, y) == face) continue;
            inked = true;
            if (y < 2 || y >= shot.Height() - 2 || x < 2 || x >= shot.Width() - 2)
                ink.InsideFace = false;
        }
        if (inked && !previous) ++ink.Lines;
        previous = inked;
    }
    return ink;
}

// A button of a class family that runs its own mouse-down event.
class TRzButton : public TButton {
public:
    using TButton::TButton;
};

// A bare top-level window, not made by the class library, that counts its commands.
struct TBareHost {
    TBareHost() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = Proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"SkinControlsBareHost";
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassW(&cls);
        Handle = CreateWindowExW(0, cls.lpszClassName, L"Bare", WS_POPUP | WS_VISIBLE, 400, 20, 300,
                                 200, nullptr, nullptr, cls.hInstance, nullptr);
        Commands = 0;
    }
    ~TBareHost() { DestroyWindow(Handle); }
    HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int top) const {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, top, 150, 24,
                               Handle, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + top)),
                               GetModuleHandleW(nullptr), nullptr);
    }
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++Commands;
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
    HWND Handle;
    static inline int Commands = 0;
};

class SkinControls : public TPixelTest {
protected:
    void SetUp() override {
        TPixelTest::SetUp();
        SetCursorPos(1270, 1015); // no control is hot by chance
        Data = new TSkinData(Application);
        Data->SetActive(true);
        Data->LoadSkinParts(
            ControlsSkinIni,
            {{"button.bmp", MakeBmp(20, 20, {std::begin(ButtonFrames), std::end(ButtonFrames)})},
             {"check.bmp", MakeBmp(13, 13, {std::begin(CheckFrames), std::end(CheckFrames)})},
             {"radio.bmp", MakeBmp(13, 13, {std::begin(RadioFrames), std::end(RadioFrames)})},
             {"combo.bmp", MakeBmp(20, 20, {std::begin(ComboFrames), std::end(ComboFrames)})}});
        Data->Loaded();
        Form = std::make_unique<TForm>(Application);
        Form->SetBounds(20, 20, 320, 240);
    }
    void TearDown() override {
        Form.reset();
        delete Data;
        FreeSkinManager();
        SettleScreen(300); // the next test finds a quiet screen
    }
    template <class T> T* Add(int top, const std::string& caption) {
        auto control = new T(Form.get());
        control->SetParent(Form.get());
        control->SetBounds(10, top, 120, 24);
        control->SetCaption(caption);
        return control;
    }
    TSkinForm* ShowSkinned() {
        Form->Show();
        TSkinForm* skinned = nullptr;
        PumpUntil([&] {
            skinned = SkinManager()->FindSkinForm(Form->Handle());
            return skinned && skinned->Activated();
        });
        return skinned;
    }
    static bool Skinned(TWinControl* control) {
        return SendMessageW(control->Handle(), WM_SKINQUERY, 0, 0) == 1;
    }
    TSkinData* Data = nullptr;
    std::unique_ptr<TForm> Form;
};

} // namespace

TEST_F(SkinControls, PushButtonsShowTheFrameOfTheirStateAndClickOnRelease) {
    auto normal = Add<TButton>(10, "Normal");
    auto byDefault = Add<TButton>(40, "Default");
    byDefault->SetDefault(true);
    auto disabled = Add<TButton>(70, "Disabled");
    disabled->SetEnabled(false);
    auto own = Add<TRzButton>(100, "Own");
    int clicks = 0, ownClicks = 0;
    normal->OnClick = [&](TObject*) { ++clicks; };
    own->OnClick = [&](TObject*) { ++ownClicks; };
    ASSERT_TRUE(ShowSkinned());
    ASSERT_TRUE(Skinned(normal));
    EXPECT_EQ(ControlPixel(byDefault->Handle(), 2, 2), Rgb(ButtonFrames[4]));
    EXPECT_EQ(ControlPixel(disabled->Handle(), 2, 2), Rgb(ButtonFrames[2]));
    normal->SetFocus();
    EXPECT_EQ(ControlPixel(normal->Handle(), 2, 2), Rgb(ButtonFrames[3]));
    byDefault->SetFocus();
    EXPECT_EQ(ControlPixel(normal->Handle(), 2, 2), Rgb(ButtonFrames[0]));

    int downs = 0; // the press the wrapper keeps still reaches the control's event
    normal->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        ++downs;
        EXPECT_EQ(button, mbLeft);
        EXPECT_EQ(shift & (ssShift | ssLeft | ssCtrl), ssShift | ssLeft);
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 6);
    };
    SendMessageW(normal->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
    EXPECT_EQ(ControlPixel(normal->Handle(), 2, 2), Rgb(ButtonFrames[1]));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(downs, 1);
    normal->OnMouseDown = nullptr;
    SendMessageW(normal->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(clicks, 1);
    // That family's press is not passed to its mouse-down event; the click still comes.
    own->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    SendMessageW(own->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(ControlPixel(own->Handle(), 2, 2), Rgb(ButtonFrames[1]));
    SendMessageW(own->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ownClicks, 1);
    // Pressed, then left before the release: no click.
    SendMessageW(normal->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(normal->Handle(), CM_MOUSELEAVE, 0, 0);
    SendMessageW(normal->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(clicks, 1);

    // Switched off, the button paints natively; on again, skinned at once.
    SendMessageW(normal->Handle(), WM_SKINCONTROL, 0, 0);
    normal->Repaint();
    EXPECT_NE(ControlPixel(normal->Handle(), 2, 2), Rgb(ButtonFrames[3]));
    EXPECT_EQ(SendMessageW(normal->Handle(), WM_SKINQUERY, 0, 0), 0);
    SendMessageW(normal->Handle(), WM_SKINCONTROL, 1, 0);
    EXPECT_EQ(ControlPixel(normal->Handle(), 2, 2), Rgb(ButtonFrames[3])); // focused by the press
}

// As the native BS_MULTILINE: only a multi-line button wraps its caption, centred in the
// face; a caption that fits looks the same either way.
TEST_F(SkinControls, MultiLinePushButtonsWrapTheirCaptionOverSeveralLines) {
    auto edit = Add<TEdit>(10, ""); // takes the focus: the buttons show their normal face
    const std::string caption = "A caption far too long for one line";
    auto wrapped = Add<TButton>(40, caption);
    wrapped->SetMultiLine(true);
    auto single = Add<TButton>(90, caption);
    auto shortWrapped = Add<TButton>(140, "Short");
    shortWrapped->SetMultiLine(true);
    auto shortSingle = Add<TButton>(170, "Short");
    for (TButton* tall : {wrapped, single})
        tall->SetHeight(46);
    Form->SetHeight(300);
    ASSERT_TRUE(ShowSkinned());
    edit->SetFocus();
    ASSERT_TRUE(Skinned(wrapped));
    const uint32_t face = ButtonFrames[0];
    TCaptionInk ink = CaptionInk(wrapped->Handle(), face);
    EXPECT_GE(ink.Lines, 2);
    EXPECT_TRUE(ink.InsideFace);
    EXPECT_EQ(CaptionInk(single->Handle(), face).Lines, 1);

    // Switched off and on again on the shown button.
    wrapped->SetMultiLine(false);
    EXPECT_EQ(CaptionInk(wrapped->Handle(), face).Lines, 1);
    wrapped->SetMultiLine(true);
    EXPECT_EQ(CaptionInk(wrapped->Handle(), face).Lines, ink.Lines);

    EXPECT_EQ(CaptionInk(shortSingle->Handle(), face).Lines, 1);
    const auto one = TScreenShot::OfWindow(shortSingle->Handle());
    const auto other = TScreenShot::OfWindow(shortWrapped->Handle());
    int differing = 0;
    for (int y = 0; y < one.Height(); ++y)
        for (int x = 0; x < one.Width(); ++x)
            if (one.At(x, y) != other.At(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(SkinControls, CheckAndRadioGlyphsFollowTheirStateAndUnskinningGivesThemBack) {
    auto check = Add<TCheckBox>(10, "Check");
    auto radio = Add<TRadioButton>(40, "Radio");
    ASSERT_TRUE(ShowSkinned());
    const int mid = 12; // inside the 13-pixel glyph, vertically centred in 24
    EXPECT_EQ(ControlPixel(check->Handle(), 6, mid), Rgb(CheckFrames[0]));
    EXPECT_EQ(ControlPixel(radio->Handle(), 6, mid), Rgb(RadioFrames[0]));
    EXPECT_EQ(ControlPixel(check->Handle(), 110, 2), RGB(200, 210, 220)); // the skin's face
    check->SetChecked(true);
    radio->SetChecked(true);
    EXPECT_EQ(ControlPixel(check->Handle(), 6, mid), Rgb(CheckFrames[1]));
    EXPECT_EQ(ControlPixel(radio->Handle(), 6, mid), Rgb(RadioFrames[1]));
    check->SetEnabled(false);
    EXPECT_EQ(ControlPixel(check->Handle(), 6, mid), Rgb(CheckFrames[3]));

    Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return !Skinned(check); }));
    EXPECT_NE(ControlPixel(check->Handle(), 6, mid), Rgb(CheckFrames[3]));
    EXPECT_NE(ControlPixel(radio->Handle(), 6, mid), Rgb(RadioFrames[1]));
}

// A caption longer than its control is shortened on one line, vertically centred: the
// top rows stay the face colour instead of showing the cut-off bottom of a first line.
TEST_F(SkinControls, CheckAndRadioCaptionsTooLongForOneLineAreNeverCut) {
    auto radio = Add<TRadioButton>(10, "Random Character Random Character");
    auto check = Add<TCheckBox>(40, "Random Character Random Character");
    for (TButtonControl* box :
         {static_cast<TButtonControl*>(radio), static_cast<TButtonControl*>(check)})
        box->SetBounds(10, box->Top(), 90, 19);
    ASSERT_TRUE(ShowSkinned());
    const COLORREF face = RGB(200, 210, 220);
    for (TButtonControl* box :
         {static_cast<TButtonControl*>(radio), static_cast<TButtonControl*>(check)}) {
        int inked = 0;
        EXPECT_EQ(ControlPixel(box->Handle(), 89, 0), face); // painted and settled
        for (int y = 0; y < 19; ++y)
            for (int x = 20; x < 90; ++x) {
                POINT p{x, y};
                ClientToScreen(box->Handle(), &p);
                if (Rgb(ScreenPixel(p.x, p.y)) == face) continue;
                EXPECT_GE(y, 2) << box->Caption() << " cut at " << x;
                ++inked;
            }
        EXPECT_GT(inked, 50) << box->Caption(); // the caption shows
    }
}

TEST_F(SkinControls, CombosEditsAndGroupBoxesAreFramedFromTheSkin) {
    auto combo = Add<TComboBox>(10, "");
    auto list = Add<TComboBox>(40, "");
    list->SetStyle(csDropDownList); // no edit child
    auto edit = Add<TEdit>(70, "Text");
    auto group = Add<TGroupBox>(100, "Group");
    group->SetHeight(80);
    ASSERT_TRUE(ShowSkinned());
    ASSERT_TRUE(Skinned(list));
    const int right = combo->Width() - 4, mid = combo->Height() / 2;
    EXPECT_EQ(WindowPixel(combo->Handle(), right, mid), Rgb(ComboFrames[0]));
    EXPECT_EQ(WindowPixel(list->Handle(), right, mid), Rgb(ComboFrames[0]));
    combo->SetFocus();
    EXPECT_EQ(WindowPixel(combo->Handle(), right, mid), Rgb(ComboFrames[3]));
    list->SetEnabled(false);
    EXPECT_EQ(WindowPixel(list->Handle(), right, mid), Rgb(ComboFrames[2]));
    // Disabled while under the mouse: the disabled face, not the hot one.
    SendMessageW(combo->Handle(), CM_MOUSEENTER, 0, 0);
    combo->SetEnabled(false);
    EXPECT_EQ(WindowPixel(combo->Handle(), right, mid), Rgb(ComboFrames[2]));

    const COLORREF shadow = RGB(90, 80, 70);
    EXPECT_EQ(WindowPixel(edit->Handle(), 0, 5), shadow);
    EXPECT_EQ(WindowPixel(edit->Handle(), 1, 5), RGB(255, 255, 255));
    // A non-client paint alone draws the native frame: the skinned one follows it.
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixel(edit->Handle(), 0, 5), shadow);
    const int clientRight = edit->ClientWidth() - 3;
    EXPECT_EQ(ControlPixel(edit->Handle(), clientRight, 5), RGB(255, 255, 255));
    // A disabled edit looks disabled: face colour inside the shadow, client and frames.
    edit->SetEnabled(false);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(face, RGB(255, 255, 255));
    EXPECT_EQ(WindowPixel(edit->Handle(), 0, 5), shadow);
    EXPECT_EQ(WindowPixel(edit->Handle(), 1, 5), face);
    EXPECT_EQ(ControlPixel(edit->Handle(), clientRight, 5), face);
    edit->SetEnabled(true);
    EXPECT_EQ(WindowPixel(edit->Handle(), 1, 5), RGB(255, 255, 255));

    EXPECT_EQ(ControlPixel(group->Handle(), 1, 40), shadow);
    EXPECT_EQ(ControlPixel(group->Handle(), 60, 40), RGB(200, 210, 220));
}

TEST_F(SkinControls, BareWindowsKeepTheirCaptionsAndClickOnce) {
    TBareHost host;
    HWND check = host.Child(L"BUTTON", L"Bare caption", BS_AUTOCHECKBOX, 10);
    HWND push = host.Child(L"BUTTON", L"Push", BS_PUSHBUTTON, 40);
    HWND bar = host.Child(L"SCROLLBAR", L"", SBS_HORZ, 70);
    HWND wrapped = host.Child(L"BUTTON", L"A caption far too long for one line",
                              BS_PUSHBUTTON | BS_MULTILINE, 100);
    SetWindowPos(wrapped, nullptr, 0, 0, 150, 46, SWP_NOMOVE | SWP_NOZORDER);
    TSkinForm skinned(nullptr);
    skinned.Handle = host.Handle;
    skinned.InitWindow(Data);
    SendMessageW(host.Handle, WM_SKINACTIVATE, 0, 1000);
    EXPECT_EQ(SendMessageW(check, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(SendMessageW(bar, WM_SKINQUERY, 0, 0), 0); // no size grip: stays a scroll bar

    EXPECT_EQ(ControlPixel(check, 6, 12), Rgb(CheckFrames[0]));
    int ink = 0; // the native caption right of the glyph survives
    const auto shot = TScreenShot::OfWindow(check);
    for (int x = 20; x < 140; ++x)
        for (int y = 4; y < 20; ++y)
            if ((shot.At(x, y) >> 16) < 100) ++ink;
    EXPECT_GT(ink, 10);

    SendMessageW(push, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); // no press before: no click
    SendMessageW(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(ControlPixel(push, 2, 2), Rgb(ButtonFrames[1]));
    SendMessageW(push, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(TBareHost::Commands, 1);
    EXPECT_GE(CaptionInk(wrapped, ButtonFrames[0]).Lines, 2); // its style asks for wrapping

    skinned.Unskin();
    EXPECT_EQ(SendMessageW(push, WM_SKINQUERY, 0, 0), 0);
    EXPECT_NE(ControlPixel(push, 2, 2), Rgb(ButtonFrames[3]));
}

TEST_F(SkinControls, SpeedButtonsShowNormalHotAndPressedFramesAndStillClick) {
    auto button = Add<TSpeedButton>(10, "Speed");
    auto flat = Add<TSpeedButton>(40, "Flat");
    flat->SetFlat(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(ShowSkinned());
    HWND wnd = Form->Handle();
    const COLORREF face = RGB(200, 210, 220);
    // Painted by the form, whose client area moved when its frame was skinned.
    EXPECT_EQ(ControlPixel(wnd, 12, 12), Rgb(ButtonFrames[0]));
    EXPECT_EQ(ControlPixel(wnd, 12, 42), face); // flat: no frame until hovered

    POINT over{20, 20};
    ClientToScreen(wnd, &over);
    SetCursorPos(over.x, over.y);
    EXPECT_EQ(ClientPixelSoon(wnd, 12, 12, Rgb(ButtonFrames[3])), Rgb(ButtonFrames[3]));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(ControlPixel(wnd, 12, 12), Rgb(ButtonFrames[1]));
    EXPECT_EQ(clicks, 0);
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ControlPixel(wnd, 12, 12), Rgb(ButtonFrames[3]));

    // Over the flat one: its frame shows, the other goes back to normal.
    SetCursorPos(over.x, over.y + 30);
    EXPECT_EQ(ClientPixelSoon(wnd, 12, 42, Rgb(ButtonFrames[3])), Rgb(ButtonFrames[3]));
    EXPECT_EQ(ClientPixelSoon(wnd, 12, 12, Rgb(ButtonFrames[0])), Rgb(ButtonFrames[0]));
    button->SetEnabled(false);
    EXPECT_EQ(ControlPixel(wnd, 12, 12), Rgb(ButtonFrames[2]));
    button->SetDown(true); // shown pressed whatever its state
    EXPECT_EQ(ControlPixel(wnd, 12, 12), Rgb(ButtonFrames[1]));

    Data->SetActive(false); // its own paint comes back
    EXPECT_TRUE(PumpUntil([&] { return ControlPixel(wnd, 12, 12) != Rgb(ButtonFrames[1]); }));
}

TEST_F(SkinControls, DatePickersGetTheComboButtonAndStillDropTheirCalendar) {
    auto picker = Add<TDateTimePicker>(10, "");
    auto time = Add<TDateTimePicker>(40, "");
    time->SetKind(dtkTime); // up-down arrows instead of a drop-down button
    ASSERT_TRUE(ShowSkinned());
    ASSERT_TRUE(Skinned(picker));
    HWND wnd = picker->Handle();
    const int right = picker->Width() - 4, mid = picker->Height() / 2;
    EXPECT_EQ(WindowPixel(wnd, right, mid), Rgb(ComboFrames[0]));
    EXPECT_NE(WindowPixel(time->Handle(), right, mid), Rgb(ComboFrames[0]));
    picker->SetFocus();
    EXPECT_EQ(WindowPixel(wnd, right, mid), Rgb(ComboFrames[3]));

    RECT client;
    GetClientRect(wnd, &client);
    const LPARAM button = MAKELPARAM(client.right - 4, client.bottom / 2);
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, button);
    SendMessageW(wnd, WM_LBUTTONUP, 0, button);
    HWND calendar = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        calendar = reinterpret_cast<HWND>(SendMessageW(wnd, DTM_GETMONTHCAL, 0, 0));
        return calendar && IsWindowVisible(calendar);
    }));
    if (calendar) SendMessageW(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(SkinControls, TheApplicationsEventAndTheDisableTagComeBeforeTheTables) {
    auto chosen = Add<TButton>(10, "Chosen");
    auto tagged = Add<TButton>(40, "Tagged");
    tagged->SetTag(Data->DisableTag);
    auto plain = Add<TButton>(70, "Plain");
    TSkinButton* wrapper = nullptr;
    Data->OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl* control,
                              const std::string& className, TComponent*& skinned) {
        EXPECT_EQ(className, "TBUTTON");
        if (control == chosen) skinned = wrapper = new TSkinButton(control);
    };
    TSkinForm* skinned = ShowSkinned();
    ASSERT_TRUE(skinned);
    ASSERT_TRUE(wrapper);
    EXPECT_EQ(skinned->Controls().FindFor(chosen), wrapper) << "the event's wrapper is attached";
    EXPECT_TRUE(Skinned(chosen));
    EXPECT_FALSE(Skinned(tagged));
    EXPECT_TRUE(Skinned(plain));
}

TEST_F(SkinControls, BitButtonsPutImageListGlyphsAtTheirMargin) {
    TImageList images(nullptr, 8, 8);
    TBitmap red;
    red.SetSize(8, 8);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(RECT{0, 0, 8, 8});
    images.AddMasked(red, clWhite);
    auto button = Add<TBitBtn>(10, "Go"); // 120 x 24; the glyph's box starts 2 pixels in
    button->SetImages(&images);
    button->SetImageIndex(0);
    button->SetMargin(4);
    ASSERT_TRUE(ShowSkinned());
    EXPECT_EQ(ControlPixel(button->Handle(), 9, 12), RGB(255, 0, 0));
    button->SetLayout(blGlyphRight);
    button->SetDisabledIndex(0); // not greyed
    button->SetEnabled(false);
    EXPECT_EQ(ControlPixel(button->Handle(), 110, 12), RGB(255, 0, 0));
}
