#include "skin/SkinChoice.h"
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
#include "classlib/gui/StatusBar.h"
#include "classlib/gui/TrackBar.h"
#include "skin/SkinReader.h"
#include <commctrl.h>

namespace {

using enum TSkinKind;
using enum TAttachInit;

template <class T> bool Is(const TControlFacts& facts) {
    return dynamic_cast<const T*>(facts.Control) != nullptr;
}

// A date-time picker shown with up-down buttons has no drop-down button: an edit.
bool IsUpDownPicker(const TControlFacts& facts) {
    return Is<TDateTimePicker>(facts) && (facts.Style & DTS_UPDOWN);
}

struct TClassRow {
    const char* Name;                      // the exact upper-case class name, or
    bool (*Matches)(const TControlFacts&); // a test of the control's class chain
    unsigned Gates;                        // SkinControls members it needs
    bool NeedsTabs;                        // and the skin's "Tabs" element
    TSkinChoice Choice;
    bool EndsTable = false; // even when its gate is not met
};

constexpr unsigned G(TSkinControlType kind) {
    return SkinKind(kind);
}

constexpr TSkinChoice Plainly(TSkinKind kind) {
    return {kind};
}
constexpr TSkinChoice Coloured(TSkinKind kind, TChildPass children = TChildPass::None) {
    return {kind, SkinColour, {}, children};
}
constexpr TSkinChoice ScrollBars(TSkinKind kind = Scrollbar) {
    return {kind, Scroll};
}

// In order; the first row that matches and whose gate is met decides.
const TClassRow ClassTable[] = {
    {nullptr, Is<TCustomTabControl>, G(xcTab), true, Plainly(Tab)},
    {"TTABSET", {}, G(xcTab), true, Plainly(Tab31)},
    {nullptr, Is<TTabSheet>, G(xcTab), true, Plainly(TabSheet)},
    {"TTABBEDNOTEBOOK", {}, G(xcTab), true, Plainly(Tab)},
    {"TMVCPANEL", {}, 0, false, {None, Plain, {}, TChildPass::Walk}},
    {nullptr, Is<TCustomCheckBox>, G(xcCheckBox), false, Plainly(CheckBox)},
    {nullptr, Is<TTrackBar>, G(xcTrackBar), false, Plainly(TrackBar)},
    {"TUPDOWN", {}, G(xcSpin), false, Plainly(UpDown)},
    {"TSPINBUTTON", {}, G(xcSpin), false, Plainly(UpDown)},
    {nullptr, Is<TCustomGroupBox>, G(xcPanel), false, Coloured(GroupBox, TChildPass::Walk)},
    {nullptr, Is<TRadioButton>, G(xcRadioButton), false, Plainly(RadioButton)},
    {nullptr, Is<TProgressBar>, G(xcProgress), false, Plainly(Progress)},
    {nullptr, Is<TStatusBar>, G(xcStatusBar), false, Plainly(StatusBar)},
    {"TTNTCOMBOBOX", {}, G(xcCombo), false, Plainly(ComBox)},
    {nullptr, Is<TCustomComboBox>, G(xcCombo), false, Plainly(ComBox)},
    {nullptr, IsUpDownPicker, G(xcEdit), false, Plainly(Edit)},
    {"TDATETIMEPICKER", {}, G(xcEdit), false, Plainly(ComBox)},
    {"TRICHEDIT", {}, G(xcScrollbar), false, ScrollBars()},
    {"TWWDBRICHEDIT", {}, G(xcScrollbar), false, ScrollBars()},
    {"TDXDBMEMO", {}, G(xcScrollbar), false, ScrollBars()},
    {nullptr, Is<TBitBtn>, G(xcBitBtn), false, Plainly(BitButton), true},
    {nullptr, Is<TSpeedButton>, G(xcSpeedButton), false, Plainly(SpeedButton)},
    {nullptr, Is<TCustomPanel>, G(xcPanel), false, Coloured(Box, TChildPass::Walk)},
    {"TDXTREELIST", {}, G(xcScrollbar), false, ScrollBars()},
    {"TDXDBTREELIST", {}, G(xcScrollbar), false, ScrollBars()},
    {"TDXDBGRID", {}, G(xcScrollbar), false, ScrollBars()},
    {nullptr, Is<TCustomListView>, G(xcScrollbar), false, ScrollBars(ListView)},
    {nullptr, Is<TCustomMemo>, G(xcScrollbar), false, ScrollBars()},
    {nullptr, IsScrolling, G(xcScrollbar), false, ScrollBars()},
    {nullptr, Is<TButton>, G(xcButton), false, Plainly(Button)},
    {nullptr, Is<TCustomEdit>, G(xcEdit), false, Plainly(Edit)},
};

// Class names that stay native, their children unwalked.
bool KeptNative(const std::string& className) {
    return className == "TDBCOMBOBOXEH" || className == "TFRDESIGNERPAGE" || className == "TFRPBOX";
}

TSkinChoice ChooseByTable(const TControlFacts& facts, const TSkinRules& rules) {
    for (const TClassRow& row : ClassTable) {
        const bool matches = row.Name ? facts.ClassName == row.Name : row.Matches(facts);
        if (!matches) continue;
        if ((rules.Controls & row.Gates) == row.Gates && (!row.NeedsTabs || rules.Tabs))
            return row.Choice;
        if (row.EndsTable) return {};
    }
    if (Is<TCustomFrame>(facts)) return {None, Plain, {}, TChildPass::Walk};
    if (Is<TCustomForm>(facts)) return Coloured(Box, TChildPass::Walk);
    return {};
}

// Group kinds of the class map: their children take a button kind first. Children of
// a "TRZ" group would take image wrappers, which are not built: they stay native.
TSkinChoice GroupWithChildren(TSkinChoice group, TSkinKind childKind, const TControlFacts& facts,
                              const TSkinRules& rules) {
    if (rules.Allows(xcRadioButton) && facts.ClassName.find("TRZ") == std::string::npos) {
        group.Children = TChildPass::Each;
        group.ChildKind = childKind;
    }
    return group;
}

TSkinChoice ChooseByKind(const std::string& kind, const TControlFacts& facts,
                         const TSkinRules& rules) {
    struct TKindRow {
        const char* Kind;
        TSkinControlType Gate;
        TSkinChoice Choice;
    };
    static const TKindRow rows[] = {
        {"combobox", xcCombo, Plainly(ComBox)},
        {"radiobutton", xcRadioButton, Plainly(RadioButton)},
        {"panel", xcPanel, {Box, SkinColour, "Transparent"}},
        {"trackbar", xcButton, {TrackBar, Plain, "Transparent"}},
        {"button", xcButton, Plainly(Button)},
        {"bitbtn", xcButton, Plainly(BitButton)},
        {"speedbutton", xcSpeedButton, Plainly(SpeedButton)},
        {"progress", xcProgress, Plainly(Progress)},
        {"scrollbar", xcScrollbar, {Scrollbar, Scroll, {}, TChildPass::Walk}},
        {"embedscrollbar",
         xcScrollbar,
         {None, Plain, {}, TChildPass::Scrolling, Scrollbar, Scroll}},
        {"groupbox", xcGroupBox, Coloured(GroupBox)},
        {"checkbox", xcCheckBox, Plainly(CheckBox)},
    };
    for (const TKindRow& row : rows)
        if (kind == row.Kind) return rules.Allows(row.Gate) ? row.Choice : TSkinChoice{};
    if (kind == "edit") // only an instance with a border
        return rules.Allows(xcEdit) && facts.Bordered ? Plainly(Edit) : TSkinChoice{};
    if (kind == "tab") return rules.Allows(xcTab) && rules.Tabs ? Plainly(Tab) : TSkinChoice{};
    if (kind == "container") return {None, Plain, {}, TChildPass::ClassMap};
    if (kind == "radiogroup" && rules.Allows(xcGroupBox))
        return GroupWithChildren(Coloured(GroupBox), RadioButton, facts, rules);
    if (kind == "checkgroup" && rules.Allows(xcPanel))
        return GroupWithChildren(rules.Allows(xcGroupBox) ? Coloured(GroupBox) : TSkinChoice{},
                                 CheckBox, facts, rules);
    return {}; // "nil", a gate not met, or a kind not known
}

// The kind of a bare "button" window from the button-type field of its style.
TSkinKind ButtonKind(LONG_PTR style) {
    if (style & (BS_BITMAP | BS_ICON)) return None;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return Button;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return RadioButton;
    default: return None; // group boxes, owner-drawn and the newer kinds
    }
}

// A child dialog that is a tab stop of its parent keeps its own look (on a top-level
// dialog the same bit is the maximize box).
constexpr LONG_PTR OwnLookDialog = WS_TABSTOP;
constexpr LONG_PTR ComboTypeMask = CBS_SIMPLE | CBS_DROPDOWN;

} // namespace

TSkinRules TSkinRules::Of(const TSkinData& data) {
    return {data.SkinControls, data.Elements().Tabs != nullptr, data.DisableTag, &data.Skin3rd};
}

TControlFacts ControlFacts(TControl& control) {
    TControlFacts facts{&control, UpperCase(control.ClassName())};
    facts.Tag = control.Tag();
    facts.HasParent = control.Parent() != nullptr;
    auto windowed = dynamic_cast<TWinControl*>(&control);
    if (!windowed) return facts;
    DWORD exStyle = 0;
    windowed->WindowStyles(facts.Style, exStyle);
    if (HWND wnd = windowed->HandleIfAllocated()) {
        RECT w{}, c{};
        GetWindowRect(wnd, &w);
        GetClientRect(wnd, &c);
        facts.Bordered = w.right - w.left > c.right || w.bottom - w.top > c.bottom;
    } else {
        facts.Bordered =
            (facts.Style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL)) ||
            (exStyle &
             (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    }
    return facts;
}

bool IsScrolling(const TControlFacts& facts) {
    if (!Is<TWinControl>(facts)) return false;
    return (facts.Style & (WS_HSCROLL | WS_VSCROLL)) || Is<TCustomListBox>(facts) ||
           Is<TCustomMemo>(facts) || facts.Tag == ScrollingTag;
}

bool Eligible(const TControlFacts& facts, const TSkinRules& rules) {
    return facts.HasParent && facts.Tag != rules.DisableTag;
}

std::optional<TSkinChoice> ChooseByClassMap(const TControlFacts& facts, const TSkinRules& rules) {
    if (!rules.ClassMap) return std::nullopt;
    const std::string key = AsciiLowerCase(facts.ClassName) + "=";
    for (int i = 0; i < rules.ClassMap->Count(); ++i) {
        const std::string line = AsciiLowerCase((*rules.ClassMap)[i]);
        if (line.rfind(key, 0) == 0) return ChooseByKind(line.substr(key.size(), 50), facts, rules);
    }
    return std::nullopt;
}

TSkinChoice ChooseForControl(const TControlFacts& facts, const TSkinRules& rules) {
    if (!Eligible(facts, rules)) return {};
    if (auto mapped = ChooseByClassMap(facts, rules)) return *mapped;
    if (KeptNative(facts.ClassName)) return {};
    return ChooseByTable(facts, rules);
}

TWindowChoice ChooseForWindow(const std::string& className, LONG_PTR style) {
    const std::string& name = className;
    if (name == "button" || name == "tbutton" || name == "tcheckbox") return {ButtonKind(style)};
    if (name == "combobox" || name == "tcombobox")
        return {(style & ComboTypeMask) != CBS_SIMPLE ? ComBox : None};
    if (name == "comboboxex32") return {ComBox, true};
    if (name == "scrollbar") return {(style & (SBS_SIZEBOX | SBS_SIZEGRIP)) ? Sizer : None};
    if (name == "#32770")
        return (style & OwnLookDialog) ? TWindowChoice{} : TWindowChoice{BoxH, false, true};
    if (name == "tpanel") return {None, false, true, true};
    if (name == "tsilentpaintpanel") return {None, false, false, true};
    if (name == "tprogressbar") return {Progress};
    if (name == "systabcontrol32") return {(style & TCS_OWNERDRAWFIXED) ? None : Tab};
    if (name == "edit") return {Edit};
    return {};
}
