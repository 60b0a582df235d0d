// The control factories' decisions: which wrapper a control or a bare window gets, from
// its facts and the skin's rules alone. No window is made.
#include "skin/SkinChoice.h"
#include "classlib/gui/BitBtn.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/DateTimePicker.h"
#include "classlib/gui/Edit.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Frame.h"
#include "classlib/gui/GroupBox.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListBox.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/Memo.h"
#include "classlib/gui/PageControl.h"
#include "classlib/gui/Panel.h"
#include "classlib/gui/ProgressBar.h"
#include "classlib/gui/SpeedButton.h"
#include "classlib/gui/TrackBar.h"
#include "classlib/gui/UpDown.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <optional>

namespace {

using enum TSkinKind;
using enum TAttachInit;

TSkinChoice Plainly(TSkinKind kind) {
    return {kind};
}
TSkinChoice Coloured(TSkinKind kind, TChildPass children = TChildPass::None) {
    return {kind, SkinColour, {}, children};
}
TSkinChoice ScrollBars(TSkinKind kind = Scrollbar, TChildPass children = TChildPass::None) {
    return {kind, Scroll, {}, children};
}
TSkinChoice Walked(TSkinChoice choice = {}) {
    choice.Children = TChildPass::Walk;
    return choice;
}
TSkinChoice WithChildren(TSkinChoice choice, TChildPass pass, TSkinKind kind = None,
                         TAttachInit init = Plain) {
    choice.Children = pass;
    choice.ChildKind = kind;
    choice.ChildInit = init;
    return choice;
}

class SkinChoice : public testing::Test {
protected:
    // Every gate on, the Tabs element present.
    TSkinRules Rules(std::optional<TSkinControlType> off = std::nullopt) const {
        TSkinRules rules{~0u, true, 99, &ClassMap};
        if (off) rules.Controls &= ~SkinKind(*off);
        return rules;
    }
    // The facts of a control placed on a parent, under another class name if given.
    template <class T>
    TControlFacts Facts(const char* className = nullptr, DWORD style = 0, int tag = 0) {
        TControlFacts facts = ControlFacts(*new T(&Owner));
        facts.HasParent = true;
        if (className) facts.ClassName = className;
        facts.Style |= style;
        facts.Tag = tag;
        return facts;
    }

    TComponent Owner{nullptr};
    TStringList ClassMap;
};

TEST_F(SkinChoice, ClassTableRowsAndTheirGates) {
    struct TCase {
        const char* What;
        TControlFacts Facts;
        std::optional<TSkinControlType> Gate; // switched off for Off
        TSkinChoice On, Off;
    };
    const TCase cases[] = {
        {"page control, a tab control", Facts<TPageControl>(), xcTab, Plainly(Tab), {}},
        {"tab set", Facts<TWinControl>("TTABSET"), xcTab, Plainly(Tab31), {}},
        {"tab sheet", Facts<TTabSheet>(), xcTab, Plainly(TabSheet), {}},
        {"tabbed notebook", Facts<TWinControl>("TTABBEDNOTEBOOK"), xcTab, Plainly(Tab), {}},
        {"mvc panel", Facts<TWinControl>("TMVCPANEL"), xcPanel, Walked(), Walked()},
        {"check box", Facts<TCheckBox>(), xcCheckBox, Plainly(CheckBox), {}},
        {"track bar", Facts<TTrackBar>(), xcTrackBar, Plainly(TrackBar), {}},
        {"up-down", Facts<TUpDown>(), xcSpin, Plainly(UpDown), {}},
        {"spin button", Facts<TWinControl>("TSPINBUTTON"), xcSpin, Plainly(UpDown), {}},
        {"group box", Facts<TGroupBox>(), xcPanel, Coloured(GroupBox, TChildPass::Walk), {}},
        {"radio button", Facts<TRadioButton>(), xcRadioButton, Plainly(RadioButton), {}},
        {"progress bar", Facts<TProgressBar>(), xcProgress, Plainly(Progress), {}},
        {"tnt combo box", Facts<TWinControl>("TTNTCOMBOBOX"), xcCombo, Plainly(ComBox), {}},
        // Its list has a vertical scroll bar: without xcCombo the scrolling row takes it.
        {"combo box", Facts<TComboBox>(), xcCombo, Plainly(ComBox), ScrollBars()},
        {"date picker", Facts<TDateTimePicker>(), xcEdit, Plainly(ComBox), {}},
        {"up-down date picker",
         Facts<TDateTimePicker>(nullptr, DTS_UPDOWN),
         xcEdit,
         Plainly(Edit),
         {}},
        {"rich edit", Facts<TWinControl>("TRICHEDIT"), xcScrollbar, ScrollBars(), {}},
        {"db rich edit", Facts<TWinControl>("TWWDBRICHEDIT"), xcScrollbar, ScrollBars(), {}},
        {"db memo", Facts<TWinControl>("TDXDBMEMO"), xcScrollbar, ScrollBars(), {}},
        // Never a plain button, even with xcButton on.
        {"bit button", Facts<TBitBtn>(), xcBitBtn, Plainly(BitButton), {}},
        {"speed button", Facts<TSpeedButton>(), xcSpeedButton, Plainly(SpeedButton), {}},
        {"panel", Facts<TPanel>(), xcPanel, Coloured(Box, TChildPass::Walk), {}},
        {"tree list", Facts<TWinControl>("TDXTREELIST"), xcScrollbar, ScrollBars(), {}},
        {"db tree list", Facts<TWinControl>("TDXDBTREELIST"), xcScrollbar, ScrollBars(), {}},
        {"db grid", Facts<TWinControl>("TDXDBGRID"), xcScrollbar, ScrollBars(), {}},
        {"list view", Facts<TListView>(), xcScrollbar, ScrollBars(ListView), {}},
        {"memo, an edit", Facts<TMemo>(), xcScrollbar, ScrollBars(), Plainly(Edit)},
        {"list box", Facts<TListBox>(), xcScrollbar, ScrollBars(), {}},
        {"scroll bar styles",
         Facts<TWinControl>(nullptr, WS_HSCROLL),
         xcScrollbar,
         ScrollBars(),
         {}},
        {"scrolling tag",
         Facts<TWinControl>(nullptr, 0, ScrollingTag),
         xcScrollbar,
         ScrollBars(),
         {}},
        {"button", Facts<TButton>(), xcButton, Plainly(Button), {}},
        {"edit", Facts<TEdit>(), xcEdit, Plainly(Edit), {}},
        {"frame", Facts<TFrame>(), std::nullopt, Walked(), Walked()},
        {"form", Facts<TForm>(), std::nullopt, Coloured(Box, TChildPass::Walk),
         Coloured(Box, TChildPass::Walk)},
        {"label", Facts<TLabel>(), std::nullopt, {}, {}},
        {"bare windowed control", Facts<TWinControl>(), std::nullopt, {}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ChooseForControl(c.Facts, Rules()), c.On);
        EXPECT_EQ(ChooseForControl(c.Facts, Rules(c.Gate)), c.Off);
    }
    // Every tab row also needs the skin's Tabs element.
    TSkinRules noTabs = Rules();
    noTabs.Tabs = false;
    EXPECT_EQ(ChooseForControl(Facts<TPageControl>(), noTabs), TSkinChoice{});
    EXPECT_EQ(ChooseForControl(Facts<TWinControl>("TTABSET"), noTabs), TSkinChoice{});
}

TEST_F(SkinChoice, ControlsLeftNative) {
    EXPECT_EQ(ChooseForControl(Facts<TButton>(nullptr, 0, 99), Rules()), TSkinChoice{});
    TSkinRules rules = Rules();
    rules.DisableTag = 7;
    EXPECT_EQ(ChooseForControl(Facts<TButton>(nullptr, 0, 7), rules), TSkinChoice{});
    EXPECT_EQ(ChooseForControl(Facts<TButton>(nullptr, 0, 99), rules), Plainly(Button));

    TControlFacts unplaced = Facts<TButton>();
    unplaced.HasParent = false;
    EXPECT_EQ(ChooseForControl(unplaced, Rules()), TSkinChoice{});

    for (const char* name : {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"})
        EXPECT_EQ(ChooseForControl(Facts<TComboBox>(name), Rules()), TSkinChoice{}) << name;

    // A "nil" line wins over the class table.
    ClassMap.Add("TButton=nil");
    EXPECT_EQ(ChooseForControl(Facts<TButton>(), Rules()), TSkinChoice{});
}

TEST_F(SkinChoice, ClassMapKindsAndTheirGates) {
    struct TCase {
        const char* Kind;
        std::optional<TSkinControlType> Gate; // switched off for Off
        TSkinChoice On, Off;
    };
    const TSkinChoice transparentBox{Box, SkinColour, "Transparent"};
    const TSkinChoice transparentTrack{TrackBar, Plain, "Transparent"};
    const TCase cases[] = {
        {"nil", std::nullopt, {}, {}},
        {"ComboBox", xcCombo, Plainly(ComBox), {}},
        {"edit", xcEdit, Plainly(Edit), {}},
        {"radiobutton", xcRadioButton, Plainly(RadioButton), {}},
        {"Panel", xcPanel, transparentBox, {}},
        {"trackbar", xcButton, transparentTrack, {}},
        {"button", xcButton, Plainly(Button), {}},
        {"bitbtn", xcButton, Plainly(BitButton), {}},
        {"speedbutton", xcSpeedButton, Plainly(SpeedButton), {}},
        {"tab", xcTab, Plainly(Tab), {}},
        {"progress", xcProgress, Plainly(Progress), {}},
        {"scrollbar", xcScrollbar, ScrollBars(Scrollbar, TChildPass::Walk), {}},
        {"embedscrollbar",
         xcScrollbar,
         WithChildren({}, TChildPass::Scrolling, Scrollbar, Scroll),
         {}},
        {"container", std::nullopt, WithChildren({}, TChildPass::ClassMap),
         WithChildren({}, TChildPass::ClassMap)},
        {"groupbox", xcGroupBox, Coloured(GroupBox), {}},
        {"radiogroup",
         xcGroupBox,
         WithChildren(Coloured(GroupBox), TChildPass::Each, RadioButton),
         {}},
        {"checkgroup", xcPanel, WithChildren(Coloured(GroupBox), TChildPass::Each, CheckBox), {}},
        {"checkbox", xcCheckBox, Plainly(CheckBox), {}},
        {"grid", std::nullopt, {}, {}},
    };
    TControlFacts facts = Facts<TButton>("TTHIRD");
    facts.Bordered = true;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Kind);
        ClassMap.Clear();
        ClassMap.Add(std::string("TThird=") + c.Kind);
        EXPECT_EQ(ChooseForControl(facts, Rules()), c.On);
        EXPECT_EQ(ChooseForControl(facts, Rules(c.Gate)), c.Off);
        ASSERT_TRUE(ChooseByClassMap(facts, Rules()).has_value());
    }
}

TEST_F(SkinChoice, ClassMapConditions) {
    ClassMap.Add("TThirdEdit=edit");
    TControlFacts edit = Facts<TEdit>("TTHIRDEDIT");
    edit.Bordered = false;
    EXPECT_EQ(ChooseForControl(edit, Rules()), TSkinChoice{}) << "an edit without border";

    ClassMap.Add("TThirdTab=tab");
    TSkinRules noTabs = Rules();
    noTabs.Tabs = false;
    EXPECT_EQ(ChooseForControl(Facts<TWinControl>("TTHIRDTAB"), noTabs), TSkinChoice{});

    ClassMap.Add("TThirdGroup=radiogroup");
    ClassMap.Add("TRzGroup=radiogroup");
    ClassMap.Add("TThirdChecks=checkgroup");
    EXPECT_EQ(ChooseForControl(Facts<TWinControl>("TTHIRDGROUP"), Rules(xcRadioButton)),
              Coloured(GroupBox))
        << "radio group without radio buttons";
    EXPECT_EQ(ChooseForControl(Facts<TWinControl>("TRZGROUP"), Rules()), Coloured(GroupBox))
        << "the children of a TRz group stay native";
    EXPECT_EQ(ChooseForControl(Facts<TWinControl>("TTHIRDCHECKS"), Rules(xcGroupBox)),
              WithChildren({}, TChildPass::Each, CheckBox))
        << "check group without group box";

    // The key ends at "=": a longer name does not match; the first line wins.
    ClassMap.Add("TThirdEdit=button");
    EXPECT_FALSE(ChooseByClassMap(Facts<TWinControl>("TTHIRD"), Rules()).has_value());
    edit.Bordered = true;
    EXPECT_EQ(ChooseForControl(edit, Rules()), Plainly(Edit));
}

TEST_F(SkinChoice, FactsComeWithoutWindows) {
    auto* memo = new TMemo(&Owner);
    memo->SetScrollBars(ssVertical);
    const TControlFacts facts = ControlFacts(*memo);
    EXPECT_TRUE(facts.Style & WS_VSCROLL);
    EXPECT_EQ(facts.ClassName, "TMEMO");
    EXPECT_FALSE(facts.HasParent);
    EXPECT_FALSE(memo->HandleAllocated());
    EXPECT_TRUE(IsScrolling(facts));
    EXPECT_FALSE(IsScrolling(Facts<TSpeedButton>(nullptr, 0, ScrollingTag)))
        << "a graphic control has no scroll bars to skin";
}

TEST(SkinWindowChoice, WindowClassTable) {
    struct TCase {
        const char* Class;
        LONG_PTR Style;
        TWindowChoice Choice;
    };
    const TWindowChoice walkedAndColoured{None, false, true, true};
    const TCase cases[] = {
        {"button", BS_PUSHBUTTON, {Button}},
        {"button", BS_DEFPUSHBUTTON, {Button}},
        {"button", BS_AUTOCHECKBOX, {CheckBox}},
        {"button", BS_3STATE, {CheckBox}},
        {"button", BS_AUTORADIOBUTTON, {RadioButton}},
        {"button", BS_GROUPBOX, {}},
        {"button", BS_OWNERDRAW, {}},
        {"button", BS_PUSHBUTTON | BS_BITMAP, {}},
        {"tbutton", BS_PUSHBUTTON, {Button}},
        {"tcheckbox", BS_AUTOCHECKBOX, {CheckBox}},
        {"combobox", CBS_DROPDOWNLIST, {ComBox}},
        {"combobox", CBS_SIMPLE, {}},
        {"tcombobox", CBS_DROPDOWN, {ComBox}},
        {"comboboxex32", 0, {ComBox, true}},
        {"scrollbar", SBS_VERT, {}},
        {"scrollbar", SBS_SIZEGRIP, {Sizer}},
        {"systreeview32", 0, {}},
        {"#32770", WS_CHILD, {BoxH, false, true}},
        {"#32770", WS_CHILD | WS_TABSTOP, {}},
        {"tpanel", 0, walkedAndColoured},
        {"tsilentpaintpanel", 0, {None, false, false, true}},
        {"tprogressbar", 0, {Progress}},
        {"systabcontrol32", 0, {Tab}},
        {"systabcontrol32", TCS_OWNERDRAWFIXED, {}},
        {"toolbarwindow32", 0, {}},
        {"edit", ES_AUTOHSCROLL, {Edit}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ChooseForWindow(c.Class, c.Style), c.Choice) << c.Class << " " << c.Style;
}

} // namespace
