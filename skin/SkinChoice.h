#pragma once
// What the control factories attach, decided from facts alone: the facts of a control
// of the class library (its class chain, style, tag) or of a bare window (class name,
// style), and the skin's rules (its SkinControls gates, its Tabs element, DisableTag
// and the Skin3rd class map). Deciding makes no window; the factory makes the handles
// when it attaches. Main thread.
#include "skin/SkinControlMakers.h"
#include "skin/SkinData.h"
#include <optional>
#include <string>
#include <string_view>

class TStringList;

// A control tagged so gets skinned scroll bars whatever its class.
constexpr int ScrollingTag = 55;

// The skin's side of the decision.
struct TSkinRules {
    TSkinControlTypes Controls = 0;
    bool Tabs = false; // the skin has a "Tabs" element
    int DisableTag = 99;
    const TStringList* ClassMap = nullptr; // Skin3rd's ClassName=kind lines
    static TSkinRules Of(const TSkinData& data);
    [[nodiscard]] bool Allows(TSkinControlType gate) const {
        return (Controls & SkinKind(gate)) != 0;
    }
};

// What is known of a control before it is decided on.
struct TControlFacts {
    const TControl* Control = nullptr; // for its class chain
    std::string ClassName;             // upper case
    DWORD Style = 0;                   // of its window, or the one it will be made with
    int Tag = 0;
    bool HasParent = false;
    bool Bordered = false; // its window is larger than its client area
};
// Reads the facts; makes no window.
TControlFacts ControlFacts(TControl& control);

// How a wrapper is attached: InitControl without or with the skin's face colour, or
// InitScroll. A graphic control always gets InitGraphic.
enum class TAttachInit { Plain, SkinColour, Scroll };

// Which children the decision reaches, and how.
enum class TChildPass {
    None,
    Walk,      // the owned components, each through the whole factory, after the attach
    Each,      // every child control gets ChildKind, before the attach
    Scrolling, // every scrolling child control gets ChildKind
    ClassMap   // every child control through the class map only
};

struct TSkinChoice {
    TSkinKind Kind = TSkinKind::None;
    TAttachInit Init = TAttachInit::Plain;
    std::string_view TrueProperty = {}; // a property set to "True" before the attach
    TChildPass Children = TChildPass::None;
    TSkinKind ChildKind = TSkinKind::None;
    TAttachInit ChildInit = TAttachInit::Plain;
    bool operator==(const TSkinChoice&) const = default;
};

// A windowed control with scroll bars, a list box, a memo, or one tagged ScrollingTag.
bool IsScrolling(const TControlFacts& facts);
// Not disabled by its tag, and placed on a parent.
bool Eligible(const TControlFacts& facts, const TSkinRules& rules);
// The class map's line for the control, if there is one (its choice may be nothing).
std::optional<TSkinChoice> ChooseByClassMap(const TControlFacts& facts, const TSkinRules& rules);
// The whole decision for a control: eligibility, the class map, then the class table.
TSkinChoice ChooseForControl(const TControlFacts& facts, const TSkinRules& rules);

struct TWindowChoice {
    TSkinKind Kind = TSkinKind::None;
    bool OnInnerWindow = false; // attach to the window's first child window instead
    bool WalkChildren = false;  // its child windows first
    bool ButtonFace = false;    // the library control behind it gets the skin's face colour
    bool operator==(const TWindowChoice&) const = default;
};
// The window-class decision for a bare child window; className in lower case.
TWindowChoice ChooseForWindow(const std::string& className, LONG_PTR style);
