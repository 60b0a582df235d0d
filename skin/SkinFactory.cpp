#include "skin/SkinFactory.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/BitBtn.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/DateTimePicker.h"
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
#include "classlib/gui/TrackBar.h"
#include "classlib/gui/TypInfo.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinControlMakers.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"
#include <commctrl.h>
#include <functional>

namespace {

template <class T> bool Is(const TControl* control) {
    return dynamic_cast<const T*>(control) != nullptr;
}

bool IsScrolling(const TControl* control) {
    auto windowed = dynamic_cast<const TWinControl*>(control);
    if (!windowed) return false;
    HWND wnd = windowed->HandleIfAllocated();
    const bool bars = wnd && (GetWindowLongPtrW(wnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    return bars || Is<TCustomListBox>(control) || Is<TCustomMemo>(control) || control->Tag() == 55;
}

// A date-time picker shown with up-down buttons has no drop-down button: an edit.
bool IsUpDownPicker(const TControl* control) {
    auto picker = dynamic_cast<const TDateTimePicker*>(control);
    HWND wnd = picker ? picker->HandleIfAllocated() : nullptr;
    return wnd && (GetWindowLongPtrW(wnd, GWL_STYLE) & DTS_UPDOWN);
}

enum class TInit { Flag0, Flag1, Scroll };
enum class TAfter { Done, WalkChildren, Stop }; // Stop: the row ends the table even ungated

struct TClassRow {
    const char* Name;                 // the exact upper-case class name, or
    bool (*Matches)(const TControl*); // a test of the control's class
    unsigned Gates;                   // SkinControls members it needs
    bool NeedsTabs;                   // and the skin's "Tabs" element
    TSkinKind Kind;
    TInit Init;
    TAfter After;
};

constexpr unsigned G(TSkinControlType kind) {
    return SkinKind(kind);
}

const TClassRow ClassTable[] = {
    {nullptr, Is<TCustomTabControl>, G(xcTab), true, TSkinKind::Tab, TInit::Flag0, TAfter::Done},
    {"TTABSET", nullptr, G(xcTab), true, TSkinKind::Tab31, TInit::Flag0, TAfter::Done},
    {nullptr, Is<TTabSheet>, G(xcTab), true, TSkinKind::TabSheet, TInit::Flag0, TAfter::Done},
    {"TTABBEDNOTEBOOK", nullptr, G(xcTab), true, TSkinKind::Tab, TInit::Flag0, TAfter::Done},
    {nullptr, Is<TCustomCheckBox>, G(xcCheckBox), false, TSkinKind::CheckBox, TInit::Flag0,
     TAfter::Done},
    {nullptr, Is<TTrackBar>, G(xcTrackBar), false, TSkinKind::TrackBar, TInit::Flag0, TAfter::Done},
    {"TUPDOWN", nullptr, G(xcSpin), false, TSkinKind::UpDown, TInit::Flag0, TAfter::Done},
    {"TSPINBUTTON", nullptr, G(xcSpin), false, TSkinKind::UpDown, TInit::Flag0, TAfter::Done},
    {nullptr, Is<TCustomGroupBox>, G(xcPanel), false, TSkinKind::GroupBox, TInit::Flag1,
     TAfter::WalkChildren},
    {nullptr, Is<TRadioButton>, G(xcRadioButton), false, TSkinKind::RadioButton, TInit::Flag0,
     TAfter::Done},
    {nullptr, Is<TProgressBar>, G(xcProgress), false, TSkinKind::Progress, TInit::Flag0,
     TAfter::Done},
    {"TTNTCOMBOBOX", nullptr, G(xcCombo), false, TSkinKind::ComBox, TInit::Flag0, TAfter::Done},
    {nullptr, Is<TCustomComboBox>, G(xcCombo), false, TSkinKind::ComBox, TInit::Flag0,
     TAfter::Done},
    {nullptr, IsUpDownPicker, G(xcEdit), false, TSkinKind::Edit, TInit::Flag0, TAfter::Done},
    {"TDATETIMEPICKER", nullptr, G(xcEdit), false, TSkinKind::ComBox, TInit::Flag0, TAfter::Done},
    {"TRICHEDIT", nullptr, G(xcScrollbar), false, TSkinKind::Scrollbar, TInit::Scroll,
     TAfter::Done},
    {nullptr, Is<TBitBtn>, G(xcBitBtn), false, TSkinKind::BitButton, TInit::Flag0, TAfter::Stop},
    {nullptr, Is<TSpeedButton>, G(xcSpeedButton), false, TSkinKind::SpeedButton, TInit::Flag0,
     TAfter::Done},
    {nullptr, Is<TCustomPanel>, G(xcPanel), false, TSkinKind::Box, TInit::Flag1,
     TAfter::WalkChildren},
    {nullptr, Is<TCustomListView>, G(xcScrollbar), false, TSkinKind::ListView, TInit::Scroll,
     TAfter::Done},
    {nullptr, Is<TCustomMemo>, G(xcScrollbar), false, TSkinKind::Scrollbar, TInit::Scroll,
     TAfter::Done},
    {nullptr, IsScrolling, G(xcScrollbar), false, TSkinKind::Scrollbar, TInit::Scroll,
     TAfter::Done},
    {nullptr, Is<TButton>, G(xcButton), false, TSkinKind::Button, TInit::Flag0, TAfter::Done},
    {nullptr, Is<TCustomEdit>, G(xcEdit), false, TSkinKind::Edit, TInit::Flag0, TAfter::Done},
};

class TFactory {
public:
    explicit TFactory(TSkinForm& form) : FForm(form), FData(*form.SkinData()) {}
    void AllControls(TWinControl* form);
    void Control(TControl* control, TWinControl* container);
    void ChildWindow(HWND wnd);
    void ChildWindows(HWND parent);

private:
    [[nodiscard]] bool Gate(unsigned gates) const { return (FData.SkinControls & gates) == gates; }
    [[nodiscard]] bool Skinned(const TControl* control) const;
    void Children(TWinControl* container);
    bool ByEvent(TControl* control, TWinControl* container, const std::string& className);
    bool BySkin3rd(const std::string& className, TControl* control);
    void ByKind(const std::string& kind, const std::string& className, TControl* control);
    void ByTable(TControl* control, const std::string& upperName);
    TSkinControl* Attach(TSkinKind kind, TControl* control, TInit init);
    void AttachHandle(TSkinKind kind, HWND wnd);

    TSkinForm& FForm;
    TSkinData& FData;
};

bool TFactory::Skinned(const TControl* control) const {
    auto windowed = dynamic_cast<const TWinControl*>(control);
    HWND wnd = windowed ? windowed->HandleIfAllocated() : nullptr;
    if (wnd && SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1) return true;
    return FForm.Controls().FindFor(control) != nullptr;
}

TSkinControl* TFactory::Attach(TSkinKind kind, TControl* control, TInit init) {
    TSkinControl* skinned = MakeSkinControl(kind, control);
    if (!skinned) return nullptr;
    auto windowed = dynamic_cast<TWinControl*>(control);
    if (!windowed)
        skinned->InitGraphic(&FForm, &FData);
    else if (init == TInit::Scroll)
        skinned->InitScroll(windowed, &FData, &FForm);
    else
        skinned->InitControl(&FForm, &FData, init == TInit::Flag1);
    return skinned;
}

void TFactory::AttachHandle(TSkinKind kind, HWND wnd) {
    if (TSkinControl* skinned = MakeSkinControl(kind, nullptr))
        skinned->InitHandle(wnd, &FData, &FForm);
}

void TFactory::AllControls(TWinControl* form) {
    FForm.Controls().Sweep();
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto control = dynamic_cast<TControl*>(form->Components(i))) Control(control, form);
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto child = dynamic_cast<TWinControl*>(parent->Controls(i));
            if (!child) continue;
            HWND wnd = child->HandleIfAllocated();
            if (wnd && SendMessageW(wnd, WM_SKINQUERY, 0, 0) != 1) Control(child, form);
            walk(child);
        }
    };
    walk(form);
}

void TFactory::Children(TWinControl* container) {
    for (int i = 0; i < container->ComponentCount(); ++i)
        if (auto control = dynamic_cast<TControl*>(container->Components(i)))
            Control(control, container);
}

void TFactory::Control(TControl* control, TWinControl* container) {
    if (control->Tag() == FData.DisableTag || !control->Parent() || Skinned(control)) return;
    const std::string upperName = UpperCase(control->ClassName());
    if (auto windowed = dynamic_cast<TWinControl*>(control)) {
        try {
            windowed->HandleNeeded();
        } catch (const Exception&) {
            return; // no window, no skin
        }
    }
    if (ByEvent(control, container, upperName)) return;
    if (BySkin3rd(upperName, control)) return;
    if (upperName == "TDBCOMBOBOXEH" || upperName == "TFRDESIGNERPAGE" || upperName == "TFRPBOX")
        return;
    ByTable(control, upperName);
}

bool TFactory::ByEvent(TControl* control, TWinControl* container, const std::string& className) {
    if (!FData.OnSkinControl) return false;
    TComponent* result = nullptr;
    FData.OnSkinControl(&FForm, &FData, container, control, className, result);
    auto skinned = dynamic_cast<TSkinControl*>(result);
    if (!skinned) return false;
    if (!FForm.Controls().FindFor(control))
        skinned->InitControl(&FForm, &FData, skinned->Flag() == 1);
    if (auto panel = dynamic_cast<TCustomPanel*>(control)) Children(panel);
    return true;
}

void TFactory::ByTable(TControl* control, const std::string& upperName) {
    for (const TClassRow& row : ClassTable) {
        const bool matches = row.Name ? upperName == row.Name : row.Matches(control);
        if (!matches) continue;
        if (!Gate(row.Gates) || (row.NeedsTabs && !FData.Elements().Tabs)) {
            if (row.After == TAfter::Stop) return;
            continue;
        }
        Attach(row.Kind, control, row.Init);
        if (row.After == TAfter::WalkChildren) Children(static_cast<TWinControl*>(control));
        return;
    }
    if (auto frame = dynamic_cast<TCustomFrame*>(control)) return Children(frame);
    if (auto form = dynamic_cast<TCustomForm*>(control)) {
        Attach(TSkinKind::Box, form, TInit::Flag1);
        Children(form);
    }
}

bool TFactory::BySkin3rd(const std::string& className, TControl* control) {
    const std::string key = AsciiLowerCase(className) + "=";
    for (int i = 0; i < FData.Skin3rd.Count(); ++i) {
        const std::string line = AsciiLowerCase(FData.Skin3rd[i]);
        if (line.rfind(key, 0) != 0) continue;
        ByKind(line.substr(key.size(), 50), className, control);
        return true;
    }
    return false;
}

void TFactory::ByKind(const std::string& kind, const std::string& className, TControl* control) {
    auto windowed = dynamic_cast<TWinControl*>(control);
    auto each = [control](const std::function<void(TControl*)>& action) {
        if (auto parent = dynamic_cast<TWinControl*>(control))
            for (int i = 0; i < parent->ControlCount(); ++i)
                action(parent->Controls(i));
    };
    auto gated = [&](TSkinControlType gate, TSkinKind skinKind, TInit init) {
        if (Gate(G(gate))) Attach(skinKind, control, init);
    };
    if (kind == "combobox") return gated(xcCombo, TSkinKind::ComBox, TInit::Flag0);
    if (kind == "edit") {
        RECT w{}, c{};
        if (windowed) {
            GetWindowRect(windowed->Handle(), &w);
            GetClientRect(windowed->Handle(), &c);
        }
        if (w.right - w.left > c.right || w.bottom - w.top > c.bottom)
            gated(xcEdit, TSkinKind::Edit, TInit::Flag0);
        return;
    }
    if (kind == "radiobutton") return gated(xcRadioButton, TSkinKind::RadioButton, TInit::Flag0);
    if (kind == "panel" && Gate(G(xcPanel))) {
        SetPropValue(*control, "Transparent", "True");
        Attach(TSkinKind::Box, control, TInit::Flag1);
        return;
    }
    if (kind == "button") return gated(xcButton, TSkinKind::Button, TInit::Flag0);
    if (kind == "bitbtn") return gated(xcButton, TSkinKind::BitButton, TInit::Flag0);
    if (kind == "speedbutton") return gated(xcSpeedButton, TSkinKind::SpeedButton, TInit::Flag0);
    if (kind == "tab" && FData.Elements().Tabs) return gated(xcTab, TSkinKind::Tab, TInit::Flag0);
    if (kind == "progress") return gated(xcProgress, TSkinKind::Progress, TInit::Flag0);
    if (kind == "scrollbar" && Gate(G(xcScrollbar))) {
        Attach(TSkinKind::Scrollbar, control, TInit::Scroll);
        if (windowed) Children(windowed);
        return;
    }
    if (kind == "embedscrollbar" && Gate(G(xcScrollbar)))
        return each([&](TControl* child) {
            if (IsScrolling(child)) Attach(TSkinKind::Scrollbar, child, TInit::Scroll);
        });
    if (kind == "container")
        return each([&](TControl* child) { BySkin3rd(UpperCase(child->ClassName()), child); });
    if (kind == "groupbox") return gated(xcGroupBox, TSkinKind::GroupBox, TInit::Flag1);
    if ((kind == "radiogroup" || kind == "checkgroup") && Gate(G(xcGroupBox))) {
        const TSkinKind childKind =
            kind == "radiogroup" ? TSkinKind::RadioButton : TSkinKind::CheckBox;
        if (Gate(G(xcRadioButton)) && className.find("TRZ") == std::string::npos)
            each([&](TControl* child) { Attach(childKind, child, TInit::Flag0); });
        Attach(TSkinKind::GroupBox, control, TInit::Flag1);
        return;
    }
    if (kind == "checkbox") return gated(xcCheckBox, TSkinKind::CheckBox, TInit::Flag0);
}

void TFactory::ChildWindows(HWND parent) {
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) ChildWindow(child);
}

// The kind of a bare "button" window from the button-type field of its style.
bool ButtonKind(LONG_PTR style, TSkinKind& kind) {
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: kind = TSkinKind::Button; break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: kind = TSkinKind::CheckBox; break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: kind = TSkinKind::RadioButton; break;
    default: return false; // group boxes, owner-drawn and the newer kinds
    }
    return !(style & (BS_BITMAP | BS_ICON));
}

void TFactory::ChildWindow(HWND wnd) {
    if (FForm.Controls().Find(wnd)) return;
    const std::string name = AsciiLowerCase(GetClassNameStr(wnd));
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    auto colour = [&] {
        if (TWinControl* control = FindSkinControl(wnd))
            control->SetColor(FData.Colours().ButtonFace);
    };
    TSkinKind kind;
    if (name == "button" || name == "tbutton" || name == "tcheckbox") {
        if (ButtonKind(style, kind)) AttachHandle(kind, wnd);
    } else if (name == "combobox" || name == "tcombobox") {
        if ((style & 3) != CBS_SIMPLE) AttachHandle(TSkinKind::ComBox, wnd);
    } else if (name == "comboboxex32") {
        if (HWND inner = GetTopWindow(wnd)) AttachHandle(TSkinKind::ComBox, inner);
    } else if (name == "scrollbar") {
        if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) AttachHandle(TSkinKind::Sizer, wnd);
    } else if (name == "#32770") {
        if (style & 0x10000) return;
        ChildWindows(wnd);
        AttachHandle(TSkinKind::BoxH, wnd);
    } else if (name == "tpanel") {
        ChildWindows(wnd);
        colour();
    } else if (name == "tsilentpaintpanel") {
        colour();
    } else if (name == "tprogressbar") {
        AttachHandle(TSkinKind::Progress, wnd);
    } else if (name == "systabcontrol32") {
        if (!(style & TCS_OWNERDRAWFIXED)) AttachHandle(TSkinKind::Tab, wnd);
    } else if (name == "edit") {
        AttachHandle(TSkinKind::Edit, wnd);
    }
}

} // namespace

void SkinWindowControls(TSkinForm& skinForm) {
    skinForm.Controls().Pending = true; // the windows it makes ask for no further pass
    if (TWinControl* form = skinForm.Form())
        SkinAllControls(skinForm, form);
    else
        SkinChildWindows(skinForm, skinForm.Handle);
    skinForm.Controls().Pending = false;
}

void SkinAllControls(TSkinForm& skinForm, TWinControl* form) {
    TFactory(skinForm).AllControls(form);
}

void SkinChildWindow(TSkinForm& skinForm, HWND wnd) {
    TFactory(skinForm).ChildWindow(wnd);
}

void SkinChildWindows(TSkinForm& skinForm, HWND parent) {
    skinForm.Controls().Sweep();
    TFactory(skinForm).ChildWindows(parent);
}
