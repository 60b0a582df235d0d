#include "skin/SkinFactory.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Panel.h"
#include "classlib/gui/TypInfo.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinChoice.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"
#include <functional>

namespace {

// Carries out the decisions of SkinChoice.h: makes the handles and the wrappers.
class TFactory {
public:
    explicit TFactory(TSkinForm& form)
        : FForm(form), FData(*form.SkinData()), FRules(TSkinRules::Of(FData)) {}
    void AllControls(TWinControl* form);
    void Control(TControl* control, TWinControl* container);
    void ChildWindow(HWND wnd);
    void ChildWindows(HWND parent);

private:
    [[nodiscard]] bool Skinned(const TControl* control) const;
    void Children(TWinControl* container);
    void EachChild(TControl& control, const std::function<void(TControl&)>& action);
    bool ByEvent(TControl* control, TWinControl* container, const std::string& className);
    void Apply(const TSkinChoice& choice, TControl& control);
    void Attach(TSkinKind kind, TAttachInit init, TControl& control);
    void AttachHandle(TSkinKind kind, HWND wnd);

    TSkinForm& FForm;
    TSkinData& FData;
    const TSkinRules FRules;
};

bool TFactory::Skinned(const TControl* control) const {
    auto windowed = dynamic_cast<const TWinControl*>(control);
    HWND wnd = windowed ? windowed->HandleIfAllocated() : nullptr;
    if (wnd && SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1) return true;
    return FForm.Controls().FindFor(control) != nullptr;
}

void TFactory::Attach(TSkinKind kind, TAttachInit init, TControl& control) {
    auto windowed = dynamic_cast<TWinControl*>(&control);
    if (windowed) {
        try {
            windowed->HandleNeeded();
        } catch (const Exception&) {
            return; // no window, no skin
        }
    }
    TSkinControl* skinned = MakeSkinControl(kind, &control);
    if (!skinned) return;
    if (!windowed)
        skinned->InitGraphic(&FForm, &FData);
    else if (init == TAttachInit::Scroll)
        skinned->InitScroll(windowed, &FData, &FForm);
    else
        skinned->InitControl(&FForm, &FData, init == TAttachInit::SkinColour);
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

void TFactory::EachChild(TControl& control, const std::function<void(TControl&)>& action) {
    if (auto parent = dynamic_cast<TWinControl*>(&control))
        for (int i = 0; i < parent->ControlCount(); ++i)
            action(*parent->Controls(i));
}

void TFactory::Control(TControl* control, TWinControl* container) {
    if (Skinned(control)) return; // most controls of a later pass: before reading the facts
    const TControlFacts facts = ControlFacts(*control);
    if (!Eligible(facts, FRules)) return;
    if (ByEvent(control, container, facts.ClassName)) return;
    Apply(ChooseForControl(facts, FRules), *control);
}

bool TFactory::ByEvent(TControl* control, TWinControl* container, const std::string& className) {
    if (!FData.OnSkinControl) return false;
    TComponent* result = nullptr;
    FData.OnSkinControl(&FForm, &FData, container, control, className, result);
    auto skinned = dynamic_cast<TSkinControl*>(result);
    if (!skinned) return false;
    if (!FForm.Controls().FindFor(control))
        skinned->InitControl(&FForm, &FData, skinned->UseSkinColour());
    if (auto panel = dynamic_cast<TCustomPanel*>(control)) Children(panel);
    return true;
}

void TFactory::Apply(const TSkinChoice& choice, TControl& control) {
    switch (choice.Children) {
    case TChildPass::Each: // the group's buttons before the group
        EachChild(control,
                  [&](TControl& child) { Attach(choice.ChildKind, choice.ChildInit, child); });
        break;
    case TChildPass::Scrolling:
        EachChild(control, [&](TControl& child) {
            if (IsScrolling(ControlFacts(child))) Attach(choice.ChildKind, choice.ChildInit, child);
        });
        break;
    case TChildPass::ClassMap:
        EachChild(control, [&](TControl& child) {
            if (auto mapped = ChooseByClassMap(ControlFacts(child), FRules)) Apply(*mapped, child);
        });
        break;
    default: break;
    }
    if (choice.Kind != TSkinKind::None) {
        if (!choice.TrueProperty.empty())
            SetPropValue(control, std::string(choice.TrueProperty), "True");
        Attach(choice.Kind, choice.Init, control);
    }
    if (choice.Children == TChildPass::Walk)
        if (auto container = dynamic_cast<TWinControl*>(&control)) Children(container);
}

void TFactory::ChildWindows(HWND parent) {
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) ChildWindow(child);
}

void TFactory::ChildWindow(HWND wnd) {
    if (FForm.Controls().Find(wnd)) return;
    const TWindowChoice choice =
        ChooseForWindow(AsciiLowerCase(GetClassNameStr(wnd)), GetWindowLongPtrW(wnd, GWL_STYLE));
    if (choice.WalkChildren) ChildWindows(wnd);
    if (choice.Kind != TSkinKind::None)
        if (HWND target = choice.OnInnerWindow ? GetTopWindow(wnd) : wnd)
            AttachHandle(choice.Kind, target);
    if (choice.ButtonFace)
        if (TWinControl* control = FindSkinControl(wnd))
            control->SetColor(FData.Colours().ButtonFace);
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
