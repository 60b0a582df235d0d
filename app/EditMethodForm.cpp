#include "app/EditMethodForm.h"
#include "app/MessageBoxes.h"
#include "classlib/gui/InputBox.h"
#include "classlib/gui/PlaceControl.h"
#include "engine/SharedRoutines.h"
#include <utility>

TfEditMethod* fEditMethod = nullptr;

namespace {

TSpinEdit* PlaceSpin(TComponent* owner, TWinControl* parent, const char* name, int left, int top) {
    auto spin = Place<TSpinEdit>(owner, parent, name, "", left, top, 48, 21);
    spin->OnKeyPress = [](TObject*, wchar_t& key) {
        if (key > 0x7F || !DigitKeyFilter(static_cast<char>(key))) key = 0; // digits, backspace
    };
    return spin;
}

// A random pass draws between its bounds: the lower one first.
void OrderBounds(TPass& pass) {
    if (pass.RandomBytesValue1 > pass.RandomBytesValue2)
        std::swap(pass.RandomBytesValue1, pass.RandomBytesValue2);
    if (pass.RandomCharacterValue1 > pass.RandomCharacterValue2)
        std::swap(pass.RandomCharacterValue1, pass.RandomCharacterValue2);
}

} // namespace

TfEditMethod::TfEditMethod(TComponent* owner) : TForm(owner) {
    SetName("fEditMethod");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(548);
    SetClientHeight(400);
    btnOK = Place<TButton>(this, this, "btnOK", "&OK", 372, 364, 80, 25);
    btnOK->SetDefault(true);
    btnCancel = Place<TButton>(this, this, "btnCancel", "&Cancel", 460, 364, 80, 25);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    lblPasses = Place<TLabel>(this, this, "lblPasses", "Passes:", 8, 148, 100, 15);
    btnAddPass = Place<TBitBtn>(this, this, "btnAddPass", "Add", 160, 166, 60, 25);
    btnEditPass = Place<TBitBtn>(this, this, "btnEditPass", "Edit", 160, 196, 60, 25);
    btnDeletePass = Place<TBitBtn>(this, this, "btnDeletePass", "Delete", 160, 226, 60, 25);
    BuildPassGroup();
    lblMethodName = Place<TLabel>(this, this, "lblMethodName", "Method Name:", 8, 8, 200, 15);
    txtMethodName = Place<TEdit>(this, this, "txtMethodName", "", 8, 26, 532, 21);
    txtMethodDescription = Place<TMemo>(this, this, "txtMethodDescription", "", 8, 74, 532, 64);
    txtMethodDescription->SetScrollBars(ssVertical);
    lblMethodDescription =
        Place<TLabel>(this, this, "lblMethodDescription", "Method Description:", 8, 56, 200, 15);
    lvPasses = Place<TListView>(this, this, "lvPasses", "", 8, 166, 144, 186);
    lvPasses->SetShowColumnHeaders(false);
    lvPasses->SetRowSelect(true);
    lvPasses->AddColumn("", 120);
    BindPassControls();
    grpPass->SetEnabled(false);
    // Not on every activation: the input box and the question activate it again.
    OnShow = [this](TObject*) { FillPasses(); };
    OnActivate = [this](TObject*) {
        if (std::exchange(FFocusPasses, false) && lvPasses->Count() > 0) lvPasses->SetFocus();
    };
}

void TfEditMethod::BuildPassGroup() {
    // Radio captions take 124 pixels; the spin edits stand after them.
    constexpr int SpinLeft = 136, AndLeft = SpinLeft + 52, SecondSpinLeft = AndLeft + 32;
    grpPass = Place<TGroupBox>(this, this, "grpPass", " Pass ", 228, 148, 312, 208);
    grpWipeWith = Place<TGroupBox>(this, grpPass, "grpWipeWith", " Wipe Width ", 8, 44, 296, 156);
    lblAND1 = Place<TLabel>(this, grpWipeWith, "lblAND1", "AND", AndLeft, 108, 28, 15);
    lblAND2 = Place<TLabel>(this, grpWipeWith, "lblAND2", "AND", AndLeft, 132, 28, 15);
    txtBytePattern = PlaceSpin(this, grpWipeWith, "txtBytePattern", SpinLeft, 18);
    txtBytePattern->SetMinValue(0);
    txtBytePattern->SetMaxValue(255);
    txtTextPattern = Place<TMemo>(this, grpWipeWith, "txtTextPattern", "", 8, 62, 280, 38);
    txtTextPattern->Font().SetName("Courier New");
    txtTextPattern->Font().SetStyle(fsBold);
    radBytePattern =
        Place<TRadioButton>(this, grpWipeWith, "radBytePattern", "Byte Pattern", 8, 20, 124, 19);
    radTextPattern =
        Place<TRadioButton>(this, grpWipeWith, "radTextPattern", "Text Pattern", 8, 42, 124, 19);
    radRandomBytes =
        Place<TRadioButton>(this, grpWipeWith, "radRandomBytes", "Random Bytes", 8, 106, 124, 19);
    txtRandomBytes1 = PlaceSpin(this, grpWipeWith, "txtRandomBytes1", SpinLeft, 104);
    txtRandomBytes2 = PlaceSpin(this, grpWipeWith, "txtRandomBytes2", SecondSpinLeft, 104);
    radRandomCharacter = Place<TRadioButton>(this, grpWipeWith, "radRandomCharacter",
                                             "Random Character", 8, 130, 124, 19);
    txtRandomCharacter1 = PlaceSpin(this, grpWipeWith, "txtRandomCharacter1", SpinLeft, 128);
    txtRandomCharacter2 = PlaceSpin(this, grpWipeWith, "txtRandomCharacter2", SecondSpinLeft, 128);
    chkCheckWipe = Place<TCheckBox>(this, grpPass, "chkCheckWipe", "&Check Wipe", 8, 20, 120, 19);
}

void TfEditMethod::BindPassControls() {
    auto write = [this](auto apply) {
        return [this, apply](TObject*) {
            if (CurrentPass && !FShowing) apply(*CurrentPass);
        };
    };
    chkCheckWipe->OnClick = write([this](TPass& p) { p.CheckWipe = chkCheckWipe->Checked(); });
    const std::pair<TRadioButton*, uint8_t> kinds[] = {{radBytePattern, wwBytePattern},
                                                       {radTextPattern, wwTextPattern},
                                                       {radRandomBytes, wwRandomBytes},
                                                       {radRandomCharacter, wwRandomCharacter}};
    for (auto [radio, kind] : kinds)
        radio->OnClick = write([radio, kind](TPass& p) {
            if (radio->Checked()) p.WipeWith = kind;
        });
    const std::pair<TSpinEdit*, uint8_t TPass::*> values[] = {
        {txtBytePattern, &TPass::BytePatternValue},
        {txtRandomBytes1, &TPass::RandomBytesValue1},
        {txtRandomBytes2, &TPass::RandomBytesValue2},
        {txtRandomCharacter1, &TPass::RandomCharacterValue1},
        {txtRandomCharacter2, &TPass::RandomCharacterValue2}};
    for (auto [spin, field] : values)
        spin->OnChange = write([spin, field](TPass& p) {
            p.*field = static_cast<uint8_t>(spin->Value()); // the low 8 bits
        });
    txtTextPattern->OnChange =
        write([this](TPass& p) { p.TextPatternValue = txtTextPattern->Lines().Text(); });
    txtMethodName->OnChange = [this](TObject*) { Method.Name = txtMethodName->Text(); };
    txtMethodDescription->OnChange = [this](TObject*) {
        Method.Description = txtMethodDescription->Lines().Text();
    };
    lvPasses->OnSelectItem = [this](TObject*, TListItem*, bool) { lvPassesClick(); };
    btnAddPass->OnClick = [this](TObject*) { btnAddPassClick(); };
    btnEditPass->OnClick = [this](TObject*) { btnEditPassClick(); };
    btnDeletePass->OnClick = [this](TObject*) { btnDeletePassClick(); };
    btnOK->OnClick = [this](TObject*) { btnOKClick(); };
}

void TfEditMethod::SetMethod(const TWipeMethod& method) {
    Method.Assign(method);
}

void TfEditMethod::GetMethod(TWipeMethod& method) const {
    method.Assign(Method);
}

void TfEditMethod::FillPasses() {
    CurrentPass = nullptr;
    txtMethodName->SetText(Method.Name);
    txtMethodDescription->Lines().SetText(Method.Description);
    lvPasses->Clear();
    for (int i = 0; i < Method.PassCount(); ++i) {
        TListItem* row = lvPasses->AddItem();
        row->SetCaption(Method.GetPass(i).Name);
        row->Data = &Method.GetPass(i);
    }
    if (lvPasses->Count() > 0) {
        lvPasses->Items(0)->SetSelected(true);
        lvPasses->Items(0)->MakeFocused();
    }
    FFocusPasses = true;
    lvPassesClick();
}

TPass* TfEditMethod::SelectedPass() const {
    TListItem* row = lvPasses->Selected();
    return row ? static_cast<TPass*>(row->Data) : nullptr;
}

void TfEditMethod::lvPassesClick() {
    CurrentPass = SelectedPass();
    for (TControl* control : std::initializer_list<TControl*>{grpPass, btnEditPass, btnDeletePass})
        control->SetEnabled(CurrentPass != nullptr);
    if (CurrentPass) ShowPass(*CurrentPass);
}

void TfEditMethod::ShowPass(const TPass& pass) {
    FShowing = true;
    chkCheckWipe->SetChecked(pass.CheckWipe);
    TRadioButton* radios[] = {radBytePattern, radTextPattern, radRandomBytes, radRandomCharacter};
    if (pass.WipeWith < 4)
        radios[pass.WipeWith]->SetChecked(true);
    else
        for (TRadioButton* radio : radios)
            radio->SetChecked(false);
    txtBytePattern->SetValue(pass.BytePatternValue);
    txtTextPattern->Lines().SetText(pass.TextPatternValue);
    txtRandomBytes1->SetValue(pass.RandomBytesValue1);
    txtRandomBytes2->SetValue(pass.RandomBytesValue2);
    txtRandomCharacter1->SetValue(pass.RandomCharacterValue1);
    txtRandomCharacter2->SetValue(pass.RandomCharacterValue2);
    FShowing = false;
}

void TfEditMethod::btnAddPassClick() {
    auto pass = Method.AddPass();
    TPass* added = pass.get();
    Method.Append(std::move(pass));
    TListItem* row = lvPasses->AddItem();
    row->SetCaption(added->Name);
    row->Data = added;
}

// No row is kept across the input box: the pass's row is looked up again afterwards.
void TfEditMethod::btnEditPassClick() {
    TPass* pass = SelectedPass();
    if (!pass) return;
    std::string name = pass->Name;
    if (!InputQuery("Edit pass name", "Pass name", name)) return;
    pass->Name = name;
    if (TListItem* row = lvPasses->FindData(pass)) row->SetCaption(name);
}

// The deleted pass is no longer shown or written to.
void TfEditMethod::btnDeletePassClick() {
    TPass* pass = SelectedPass();
    if (!pass) return;
    if (!AskYesNo("Are you sure you want to delete pass \"" + pass->Name + "\"?")) return;
    CurrentPass = nullptr;
    if (TListItem* row = lvPasses->FindData(pass)) lvPasses->Delete(row->Index());
    Method.DeletePass(pass);
    lvPassesClick();
}

void TfEditMethod::btnOKClick() {
    for (int i = 0; i < Method.PassCount(); ++i)
        OrderBounds(Method.GetPass(i));
    SetModalResult(mrOk);
}
