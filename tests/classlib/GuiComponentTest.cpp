#include "classlib/gui/Button.h"
#include "classlib/gui/CheckBox.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/TypInfo.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> FreedNames;

class TTracked : public TComponent {
public:
    TTracked(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
    ~TTracked() override { FreedNames.push_back(Name()); }
};

class TfSample : public TForm {
public:
    using TForm::TForm;
};

} // namespace

TEST(GuiComponent, OwnerFreesOwnedComponentsLastCreatedFirst) {
    FreedNames.clear();
    {
        TComponent owner(nullptr);
        new TTracked(&owner, "a");
        auto b = new TTracked(&owner, "b");
        new TTracked(b, "b1");
        new TTracked(&owner, "c");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent("B"), b);
        EXPECT_EQ(owner.FindComponent("missing"), nullptr);
    }
    EXPECT_EQ(FreedNames, (std::vector<std::string>{"c", "b", "b1", "a"}));
}

TEST(GuiComponent, ComponentFreedEarlyUnlinksFromItsOwner) {
    FreedNames.clear();
    TComponent owner(nullptr);
    auto a = new TTracked(&owner, "a");
    auto b = new TTracked(&owner, "b");
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->Owner(), &owner);

    TComponent other(nullptr);
    other.InsertComponent(b); // moves it
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(b->Owner(), &other);
}

TEST(GuiComponent, ClassNameAndInheritsFromFollowTheClassChain) {
    TfSample form(nullptr);
    auto button = new TButton(&form);
    EXPECT_EQ(form.ClassName(), "TfSample");
    EXPECT_EQ(button->ClassName(), "TButton");
    EXPECT_TRUE(form.InheritsFrom("TForm"));
    EXPECT_TRUE(form.InheritsFrom("TComponent"));
    EXPECT_TRUE(button->InheritsFrom("TWinControl"));
    EXPECT_FALSE(button->InheritsFrom("TForm"));
    EXPECT_FALSE(button->InheritsFrom("tbutton"));
    EXPECT_TRUE(button->InheritsFrom<TControl>());
}

TEST(GuiProperties, ReadAndWriteByNameAsText) {
    TLabel label(nullptr);
    SetPropValue(label, "caption", "Hello");
    EXPECT_EQ(label.Caption(), "Hello");
    EXPECT_EQ(GetPropValue(label, "Caption"), "Hello");

    EXPECT_EQ(GetPropValue(label, "Transparent"), "False");
    SetPropValue(label, "Transparent", "TRUE");
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(GetPropValue(label, "Transparent"), "True");
    SetPropValue(label, "Transparent", "0");
    EXPECT_FALSE(label.Transparent());
    SetPropValue(label, "Transparent", "7");
    EXPECT_TRUE(label.Transparent());

    SetPropValue(label, "AutoSize", "False");
    SetPropValue(label, "Width", "123");
    EXPECT_EQ(label.Width(), 123);
    EXPECT_EQ(GetOrdProp(label, "Width"), 123);
    EXPECT_EQ(GetObjectProp(label, "Font"), &label.Font());
    TFont big;
    big.SetSize(20);
    SetProp(label, "Font", TPropValue(static_cast<TObject*>(&big)));
    EXPECT_EQ(label.Font().Height(), big.Height());
    SetPropValue(label, "Tag", "-5");
    EXPECT_EQ(label.Tag(), -5);
}

TEST(GuiProperties, TypedAccessAndFailures) {
    TfSample form(nullptr);
    EXPECT_TRUE(IsPublishedProp(form, "BorderStyle")); // inherited from TForm
    EXPECT_TRUE(IsPublishedProp(form, "Name"));
    EXPECT_FALSE(IsPublishedProp(form, "NoSuchThing"));
    SetOrdProp(form, "BorderStyle", bsDialog);
    EXPECT_EQ(form.BorderStyle(), bsDialog);
    SetStrProp(form, "Caption", "Title");
    EXPECT_EQ(GetStrProp(form, "Caption"), "Title");
    SetOrdProp(form, "Visible", 0);
    EXPECT_FALSE(form.Visible());

    EXPECT_EQ(GetPropValue(form, "BorderStyle"), "bsDialog");
    SetPropValue(form, "borderstyle", "BSTOOLWINDOW");
    EXPECT_EQ(form.BorderStyle(), bsToolWindow);
    SetPropValue(form, "BorderStyle", "2");
    EXPECT_EQ(GetPropValue(form, "BorderStyle"), "bsSizeable");
    EXPECT_THROW(SetPropValue(form, "BorderStyle", "bsNowhere"), EConvertError);
    TCheckBox box(nullptr);
    SetPropValue(box, "Checked", "True");
    EXPECT_EQ(GetPropValue(box, "State"), "cbChecked");

    EXPECT_THROW(GetPropValue(form, "NoSuchThing"), EPropertyError);
    EXPECT_THROW(SetPropValue(form, "NoSuchThing", "1"), EPropertyError);
    EXPECT_THROW(SetStrProp(form, "Width", "wide"), EPropertyError);
    EXPECT_THROW(SetPropValue(form, "Width", "wide"), EConvertError);
    EXPECT_THROW(GetStrProp(form, "Visible"), EPropertyError);
}
